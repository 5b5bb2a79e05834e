#include "game_frames/ScaleScene.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <utility>
#include <vector>

#include "engine/XMLDocument.h"

namespace {

const char* const kStudy = "data/Scenes/Study.xml";
using Element = XMLDocument::XMLElement;

std::string ChildText(const Element& element, const char* name) {
    RefPtr<Element> child = element.FindChild(name);
    return child ? child->GetValue() : std::string();
}

}  // namespace

std::string WriteScaleScene(const std::string& folder, int objects) {
    XMLDocument study = XMLDocument::FromFile(kStudy);
    if (!study.IsLoaded()) {
        std::fprintf(stderr, "scaling run: %s cannot be read (%s)\n", kStudy, study.GetLastError().c_str());
        return "";
    }
    const Element& root = *study.GetRoot();
    // The background is the study's lowest object; every other unit is a picture to scatter.
    std::string background;
    float lowest = std::numeric_limits<float>::max();
    std::vector<RefPtr<Element>> units;
    std::vector<std::pair<std::string, std::string>> texts;
    for (const auto& child : root.GetChildren()) {
        if (child->GetName() == "unit") units.push_back(child);
        if (child->GetName() == "object") {
            const float z = float(std::atof(ChildText(*child, "z").c_str()));
            if (z < lowest) {
                lowest = z;
                background = ChildText(*child, "id");
            }
        }
        if (child->GetName() == "task" && child->GetStringAttribute("type") == "And")
            texts.push_back({child->GetStringAttribute("text_singular"), child->GetStringAttribute("text_plural")});
    }
    std::vector<std::string> pictures;
    for (const auto& unit : units)
        if (ChildText(*unit, "id") != background) pictures.push_back(ChildText(*unit, "id"));
    if (background.empty() || pictures.empty() || texts.empty()) {
        std::fprintf(stderr, "scaling run: %s has no background, pictures or tasks to reuse\n", kStudy);
        return "";
    }

    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<scene res_file=\""
        << XMLDocument::Escape(root.GetStringAttribute("res_file")) << "\" res_group=\""
        << root.GetStringAttribute("res_group") << "\" type=\"FindAll\" SceneName=\""
        << XMLDocument::Escape(root.GetStringAttribute("SceneName")) << "\">\n";
    for (const auto& unit : units) out << XMLDocument::ElementText(*unit, "  ") << "\n";
    out << "  <object><id>" << background << "</id><name>background</name><x>0</x><y>0</y><z>1</z></object>\n";
    // Hot spots are at the pictures' centres and none is over 200 units
    // across: centres 100 units inside the 1024 x 768 picture keep them whole.
    unsigned seed = 20240611u;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(range));
    };
    for (int i = 0; i < objects; ++i) {
        const int x = 100 + next(825), y = 100 + next(569);
        out << "  <object><id>" << pictures[size_t(i) % pictures.size()] << "</id><name>thing_" << i << "</name><x>"
            << x << "</x><y>" << y << "</y><z>" << 10 + i % 30 << "</z></object>\n";
    }
    for (int i = 0; i < objects; ++i) {
        const auto& text = texts[size_t(i) % texts.size()];
        out << "  <task name=\"Thing" << i << "\" type=\"And\" text_singular=\"" << XMLDocument::Escape(text.first)
            << "\" text_plural=\"" << XMLDocument::Escape(text.second) << "\"><item name=\"thing_" << i
            << "\"/></task>\n";
    }
    out << "</scene>\n";

    const std::string slash = folder.empty() || folder.back() == '/' ? "" : "/";
    const std::string path = folder + slash + "Scale" + std::to_string(objects) + ".xml";
    std::ofstream file(path);
    file << out.str();
    if (!file.flush()) {
        std::fprintf(stderr, "scaling run: %s cannot be written\n", path.c_str());
        return "";
    }
    return path;
}
