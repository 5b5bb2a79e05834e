#include "IncludeDirection.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace fs = std::filesystem;

namespace layers {

namespace {

const std::map<std::string, int>& SourceRanks() {
    static const std::map<std::string, int> ranks = {
        {"platform", 0},        {"graphics", 1},         {"engine", 2},
        {"entities/core", 3},   {"entities/effects", 4}, {"entities/widgets", 5},
        {"entities/screens", 6}, {"runtime", 7},         {"profiles", 8},
        {"scene", 9},           {"minigames", 10},       {"screens", 11},
        {"app", 12},
    };
    return ranks;
}

int Rank(const char* layer) { return SourceRanks().at(layer); }

// "scene/PlayField.h" -> "scene"; "entities/core/CEntity.h" -> "entities/core".
std::string LayerOf(const std::string& path) {
    size_t slash = path.find('/');
    if (slash == std::string::npos) return std::string();
    if (path.compare(0, slash, "entities") == 0) {
        slash = path.find('/', slash + 1);
        if (slash == std::string::npos) return std::string();
    }
    return path.substr(0, slash);
}

class Checker {
public:
    explicit Checker(const fs::path& root) : m_root(root) {}

    void Scan(const char* top, std::vector<std::string>& found) {
        const fs::path folder = m_root / top;
        if (!fs::is_directory(folder)) return;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
            const std::string relative = fs::relative(entry.path(), m_root).generic_string();
            const int own = RankOfFile(relative);
            if (own < 0) continue;
            for (const auto& [number, header, target] : Includes(relative))
                if (target > own)
                    found.push_back(relative + ":" + std::to_string(number) + ": includes " + header);
        }
    }

private:
    struct Include {
        int line;
        std::string header;
        int rank;
    };

    // A file's own rank, from "src/..." or "tests/...".
    static int RankOfFile(const std::string& relative) {
        if (relative.rfind("src/", 0) == 0) return RankOfSource(relative.substr(4));
        if (relative.rfind("tests/", 0) == 0) return RankOfTest(relative);
        return -1;
    }

    // The project includes of a file below the root, each with the rank it reaches.
    std::vector<Include> Includes(const std::string& relative) {
        static const std::regex includeLine(R"re(^\s*#\s*include\s*([<"])([^">]+)[">])re");
        std::vector<Include> result;
        std::ifstream in(m_root / relative);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, includeLine)) continue;
            const std::string header = match[2];
            int target;
            if (match[1] == "\"" && (header.rfind("./", 0) == 0 || header.find("..") != std::string::npos)) {
                // Relative to the including file: "../screens/X.h" from src/scene is screens.
                const std::string resolved =
                    (fs::path(relative).parent_path() / header).lexically_normal().generic_string();
                target = resolved.rfind("tests/support/", 0) == 0 ? HelperRank(resolved.substr(6))
                                                                   : RankOfFile(resolved);
            } else {
                target = header.rfind("support/", 0) == 0 ? HelperRank(header) : RankOfSource(header);
            }
            if (target >= 0) result.push_back({number, header, target});
        }
        return result;
    }

    // What including a test helper header ("support/...") reaches: the highest
    // layer it includes itself, or its folder's layer when it is not there.
    int HelperRank(const std::string& header) {
        const auto known = m_helpers.find(header);
        if (known != m_helpers.end()) return known->second;
        const std::string relative = "tests/" + header;
        if (!fs::is_regular_file(m_root / relative)) return RankOfTest(relative);
        int& rank = m_helpers[header];
        rank = Rank("platform");
        for (const Include& include : Includes(relative)) rank = std::max(rank, include.rank);
        return rank;
    }

    fs::path m_root;
    std::map<std::string, int> m_helpers;
};

}  // namespace

int RankOfSource(const std::string& relativePath) {
    const auto it = SourceRanks().find(LayerOf(relativePath));
    return it == SourceRanks().end() ? -1 : it->second;
}

int RankOfTest(const std::string& relativePath) {
    // "tests/<folder>/...": unit folders mirror the source folders.
    const std::string inside = relativePath.substr(relativePath.find('/') + 1);
    const std::string folder = inside.substr(0, inside.find('/'));
    if (folder == "support") {
        // support/scene holds the helpers of every game test and links the whole game;
        // support/<layer>/ the helpers of that layer; the base helpers need only the platform.
        const std::string layer = LayerOf(inside.substr(8));
        if (layer == "scene") return Rank("screens");
        const int rank = RankOfSource(inside.substr(8));
        return rank >= 0 ? rank : Rank("platform");
    }
    if (folder == "layers") return Rank("platform");
    const int rank = RankOfSource(inside);
    if (rank >= 0) {
        // Entity tests run on the runtime's headless test engine.
        return folder == "entities" ? Rank("runtime") : rank;
    }
    return Rank("app");
}

std::vector<std::string> FindUpwardIncludes(const std::string& root) {
    std::vector<std::string> found;
    Checker checker{fs::path(root)};
    checker.Scan("src", found);
    checker.Scan("tests", found);
    return found;
}

}  // namespace layers
