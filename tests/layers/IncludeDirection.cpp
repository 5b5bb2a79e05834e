#include "IncludeDirection.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace fs = std::filesystem;

namespace layers {

namespace {

const std::map<std::string, int>& SourceRanks() {
    static const std::map<std::string, int> ranks = {
        {"platform", 0}, {"graphics", 1}, {"engine", 2},  {"entities", 3}, {"runtime", 4},
        {"profiles", 5}, {"scene", 5},    {"minigames", 5}, {"screens", 5}, {"app", 6},
    };
    return ranks;
}

std::string FirstFolder(const std::string& path) {
    const size_t slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void Scan(const fs::path& folder, const fs::path& root, bool tests, std::vector<std::string>& found) {
    if (!fs::is_directory(folder)) return;
    static const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string relative = fs::relative(entry.path(), root).generic_string();
        const int own = tests ? RankOfTest(relative) : RankOfSource(relative.substr(4));
        if (own < 0) continue;
        std::ifstream in(entry.path());
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            std::smatch match;
            if (!std::regex_search(line, match, includeLine)) continue;
            const std::string header = match[1];
            // Test helpers in support/<layer>/ belong to that layer; the base ones serve all.
            const bool helper = header.rfind("support/", 0) == 0;
            const int target = RankOfSource(helper ? header.substr(8) : header);
            if (target > own)
                found.push_back(relative + ":" + std::to_string(number) + ": includes " + header);
        }
    }
}

}  // namespace

int RankOfSource(const std::string& relativePath) {
    const auto it = SourceRanks().find(FirstFolder(relativePath));
    return it == SourceRanks().end() ? -1 : it->second;
}

int RankOfTest(const std::string& relativePath) {
    // "tests/<folder>/...": unit folders mirror the source folders.
    const std::string inside = relativePath.substr(relativePath.find('/') + 1);
    const std::string folder = FirstFolder(inside);
    if (folder == "support") {
        // support/<layer>/ holds helpers of that layer; the base helpers need only the platform.
        const int rank = RankOfSource(inside.substr(8));
        return rank >= 0 ? rank : SourceRanks().at("platform");
    }
    if (folder == "layers") return SourceRanks().at("platform");
    const int rank = RankOfSource(inside);
    if (rank >= 0) {
        // Entity tests run on the runtime's headless test engine.
        return folder == "entities" ? SourceRanks().at("runtime") : rank;
    }
    return SourceRanks().at("app");
}

std::vector<std::string> FindUpwardIncludes(const std::string& root) {
    std::vector<std::string> found;
    Scan(fs::path(root) / "src", root, false, found);
    Scan(fs::path(root) / "tests", root, true, found);
    return found;
}

}  // namespace layers
