#include "ContentFiles.h"

#include <stb_image.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace contenttest {

std::vector<std::string> SceneFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("data/Scenes"))
        if (entry.path().extension() == ".xml") files.push_back(entry.path().generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

std::unique_ptr<XMLDocument> TrialScene(const std::string& elements) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("trial_scene_" + std::to_string(getpid()) + ".xml")).string();
    {
        std::ofstream out(path);
        out << "<scene type=\"FindAll\">\n  " << elements << "\n</scene>\n";
    }
    auto doc = std::make_unique<XMLDocument>("scene");
    doc->Load(path);
    std::filesystem::remove(path);
    return doc;
}

bool DecodePng(const std::string& path, int& w, int& h, std::vector<uint8_t>* rgba) {
    std::string bytes;
    if (!ReadAll(path, bytes)) return false;
    int n = 0;
    unsigned char* px = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()),
                                              &w, &h, &n, 4);
    if (!px) return false;
    if (rgba) rgba->assign(px, px + size_t(w) * size_t(h) * 4);
    stbi_image_free(px);
    return w > 0 && h > 0;
}

}  // namespace contenttest
