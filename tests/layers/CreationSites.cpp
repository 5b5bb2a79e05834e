#include "CreationSites.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace layers {

namespace {

// The owning calls themselves live here.
const char* const kOwningCallFiles[] = {"entities/core/EntityManager.h", "entities/core/EntityManager.cpp",
                                        "entities/core/CEntity.h", "entities/core/CEntity.cpp"};

std::string LastName(std::string name) {
    const size_t angle = name.find('<');
    if (angle != std::string::npos) name.erase(angle);
    const size_t colon = name.rfind("::");
    if (colon != std::string::npos) name.erase(0, colon + 2);
    return name;
}

std::string StripComment(const std::string& line) {
    const size_t slashes = line.find("//");
    return slashes == std::string::npos ? line : line.substr(0, slashes);
}

std::string WithoutSpaces(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }), text.end());
    return text;
}

template <class F>
void ForEachSourceFile(const fs::path& src, F f) {
    if (!fs::is_directory(src)) return;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        f(fs::relative(entry.path(), src).generic_string(), text.str());
    }
}

}  // namespace

std::vector<std::string> FindEntityClasses(const std::string& root) {
    // name -> its bases (last name components).
    std::vector<std::pair<std::string, std::vector<std::string>>> classes;
    const std::regex classHead(R"((?:class|struct)\s+(\w+)\s*(?:final\s*)?:\s*([^{;]*)\{)");
    const std::regex alias(R"(using\s+(\w+)\s*=\s*([\w:]+))");
    const std::regex base(R"((?:public|protected|private)?\s*([\w:]+(?:<[^>]*>)?))");
    ForEachSourceFile(fs::path(root) / "src", [&](const std::string& path, const std::string& text) {
        if (path.size() < 2 || path.substr(path.size() - 2) != ".h") return;
        for (std::sregex_iterator it(text.begin(), text.end(), classHead), end; it != end; ++it) {
            std::vector<std::string> bases;
            std::stringstream list((*it)[2].str());
            std::string item;
            while (std::getline(list, item, ',')) {
                std::smatch m;
                if (std::regex_search(item, m, base)) bases.push_back(LastName(m[1].str()));
            }
            classes.push_back({(*it)[1].str(), bases});
        }
        for (std::sregex_iterator it(text.begin(), text.end(), alias), end; it != end; ++it)
            classes.push_back({(*it)[1].str(), {LastName((*it)[2].str())}});
    });
    std::set<std::string> entities{"CEntity"};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& c : classes) {
            if (entities.count(c.first)) continue;
            for (const std::string& b : c.second) {
                if (entities.count(b)) {
                    entities.insert(c.first);
                    grew = true;
                    break;
                }
            }
        }
    }
    return {entities.begin(), entities.end()};
}

std::vector<std::string> FindCreationSites(const std::string& root) {
    const std::vector<std::string> classList = FindEntityClasses(root);
    const std::set<std::string> entities(classList.begin(), classList.end());
    const std::regex made(R"(\bnew\s+([\w:]+))");
    const std::regex handed(R"((\w*[Mm]anager\w*\s*(?:\(\s*\))?)\s*(->|\.)\s*(Add|PushScreen|OpenScreen)\s*\(([^()]*)\))");
    std::vector<std::string> sites;
    ForEachSourceFile(fs::path(root) / "src", [&](const std::string& path, const std::string& text) {
        for (const char* own : kOwningCallFiles)
            if (path == own) return;
        std::stringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            line = StripComment(line);
            for (std::sregex_iterator it(line.begin(), line.end(), made), end; it != end; ++it) {
                const std::string name = LastName((*it)[1].str());
                if (entities.count(name)) sites.push_back(path + ":new " + name);
            }
            for (std::sregex_iterator it(line.begin(), line.end(), handed), end; it != end; ++it)
                sites.push_back(path + ":manager" + (*it)[2].str() + (*it)[3].str() + "(" +
                                WithoutSpaces((*it)[4].str()) + ")");
        }
    });
    std::sort(sites.begin(), sites.end());
    return sites;
}

}  // namespace layers
