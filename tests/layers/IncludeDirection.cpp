#include "IncludeDirection.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "CppTokens.h"

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

// The C and C++ files the scan reads.
bool IsSourceFile(const fs::path& path) {
    static const std::set<std::string> extensions = {".h",  ".hh",  ".hpp", ".hxx", ".inl", ".ipp", ".tcc",
                                                     ".inc", ".c",  ".cc",  ".cpp", ".cxx"};
    return extensions.count(path.extension().string()) > 0;
}

// The lines after joining those that end in a backslash with the next, as the
// compiler does before anything else.
struct LogicalLine {
    int number;     // its first physical line
    bool continued; // joined from more than one physical line
    std::string text;
};

std::vector<LogicalLine> JoinLines(const std::string& text) {
    std::vector<LogicalLine> lines;
    std::istringstream in(text);
    std::string physical;
    bool open = false;
    for (int number = 1; std::getline(in, physical); ++number) {
        if (!physical.empty() && physical.back() == '\r') physical.pop_back();
        if (!open) lines.push_back({number, false, std::string()});
        else lines.back().continued = true;
        open = !physical.empty() && physical.back() == '\\';
        if (open) physical.pop_back();
        lines.back().text += physical;
    }
    return lines;
}

// Whether the word that ends with the R at r is a raw string's prefix (R, u8R, uR, UR, LR).
bool IsRawPrefix(const std::string& text, size_t r) {
    size_t start = r;
    while (start > 0 && IsWord(text[start - 1])) --start;
    const std::string prefix = text.substr(start, r - start);
    return prefix.empty() || prefix == "u8" || prefix == "u" || prefix == "U" || prefix == "L";
}

// The text with every comment turned into blanks (line breaks kept), so that
// what stays at a line's start is what the preprocessor sees there. String and
// character literals are passed over whole; a raw string, which may span lines,
// is blanked too.
std::string BlankComments(const std::string& text) {
    std::string out = text;
    const size_t n = text.size();
    auto blank = [&](size_t from, size_t to) {
        for (size_t k = from; k < to && k < n; ++k)
            if (out[k] != '\n') out[k] = ' ';
    };
    for (size_t i = 0; i < n;) {
        const char c = text[i];
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            const size_t end = std::min(text.find('\n', i), n);
            blank(i, end);
            i = end;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const size_t close = text.find("*/", i + 2);
            const size_t end = close == std::string::npos ? n : close + 2;
            blank(i, end);
            i = end;
        } else if (c == 'R' && i + 1 < n && text[i + 1] == '"' && IsRawPrefix(text, i)) {
            const size_t open = text.find('(', i + 2);
            if (open == std::string::npos) break;
            const std::string close = ")" + text.substr(i + 2, open - i - 2) + "\"";
            const size_t closeAt = text.find(close, open);
            const size_t end = closeAt == std::string::npos ? n : closeAt + close.size();
            blank(i, end);  // its lines are text, not directives
            i = end;
        } else if ((c == '"' || c == '\'') && !(c == '\'' && i > 0 && IsWord(text[i - 1]))) {
            for (++i; i < n && text[i] != c && text[i] != '\n'; ++i)
                if (text[i] == '\\') ++i;
            ++i;
        } else {
            ++i;
        }
    }
    return out;
}

bool ClimbsWithDots(const std::string& header) {
    size_t start = 0;
    for (;;) {
        const size_t end = header.find_first_of("/\\", start);
        if (header.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

class Checker {
public:
    explicit Checker(const fs::path& root) : m_root(root) {}

    void Scan(const char* top, std::vector<std::string>& found) {
        const fs::path folder = m_root / top;
        if (!fs::is_directory(folder)) return;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string relative = entry.path().lexically_relative(m_root).generic_string();
            if (entry.is_symlink()) found.push_back(relative + ": " + kLinkFault);
            if (!entry.is_regular_file() || !IsSourceFile(entry.path())) continue;
            const int own = RankOfFile(relative);
            if (own < 0) continue;
            std::string text;
            if (!ReadText(relative, text)) {
                found.push_back(relative + ": cannot be read");
                continue;
            }
            for (const IncludeDirective& include : ReadIncludeDirectives(text)) {
                const std::string where = relative + ":" + std::to_string(include.line) + ": includes " + include.header;
                if (!include.fault.empty()) {
                    found.push_back(where + ": " + include.fault);
                    continue;
                }
                const std::string link = LinkOnTheWay(relative, include);
                if (!link.empty())
                    found.push_back(where + ": resolves through the symbolic link " + link);
                else if (Target(relative, include) > own)
                    found.push_back(where);
            }
        }
    }

    // Why a symbolic link under src/ or tests/ is refused: the build's include
    // folders link each file of a source folder, so a link there passes on
    // whatever it points to under its folder's name.
    static constexpr const char* kLinkFault =
        "a symbolic link (a header reached through it would count as its folder's; put the file itself there)";

private:
    // The first symbolic link below the root on the way to a file a read include
    // may name (src/<header>, tests/<header>, or beside the including file for
    // "./"), as a path from the root; empty when there is none.
    std::string LinkOnTheWay(const std::string& relative, const IncludeDirective& include) const {
        std::vector<fs::path> candidates = {fs::path("src") / include.header, fs::path("tests") / include.header};
        if (include.quoted) candidates.push_back((fs::path(relative).parent_path() / include.header).lexically_normal());
        for (const fs::path& candidate : candidates) {
            fs::path walked;
            for (const fs::path& part : candidate) {
                walked /= part;
                std::error_code error;
                if (fs::is_symlink(m_root / walked, error)) return walked.generic_string();
                if (!fs::exists(m_root / walked, error)) break;
            }
        }
        return std::string();
    }

    // A file's own rank, from "src/..." or "tests/...".
    static int RankOfFile(const std::string& relative) {
        if (relative.rfind("src/", 0) == 0) return RankOfSource(relative.substr(4));
        if (relative.rfind("tests/", 0) == 0) return RankOfTest(relative);
        return -1;
    }

    bool ReadText(const std::string& relative, std::string& text) const {
        std::ifstream in(m_root / relative, std::ios::binary);
        if (!in) return false;
        std::stringstream content;
        content << in.rdbuf();
        text = content.str();
        return !in.bad();
    }

    // The rank a read include reaches, or -1 for a header of no layer (the
    // standard library, a package, a file beside the including one).
    int Target(const std::string& relative, const IncludeDirective& include) {
        const std::string& header = include.header;
        if (include.quoted && header.rfind("./", 0) == 0) {
            // Beside the including file: "./X.h" from src/scene is scene.
            const std::string resolved =
                (fs::path(relative).parent_path() / header).lexically_normal().generic_string();
            return resolved.rfind("tests/support/", 0) == 0 ? HelperRank(resolved.substr(6)) : RankOfFile(resolved);
        }
        return header.rfind("support/", 0) == 0 ? HelperRank(header) : RankOfSource(header);
    }

    // What including a test helper header ("support/...") reaches: the highest
    // layer it includes itself, or its folder's layer when it is not there.
    int HelperRank(const std::string& header) {
        const auto known = m_helpers.find(header);
        if (known != m_helpers.end()) return known->second;
        const std::string relative = "tests/" + header;
        std::string text;
        if (!fs::is_regular_file(m_root / relative) || !ReadText(relative, text)) return RankOfTest(relative);
        int& rank = m_helpers[header];
        rank = Rank("platform");
        for (const IncludeDirective& include : ReadIncludeDirectives(text))
            if (include.fault.empty()) rank = std::max(rank, Target(relative, include));
        return m_helpers[header];
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

std::vector<IncludeDirective> ReadIncludeDirectives(const std::string& text) {
    // One line, nothing but blanks around: #include "name" or #include <name>,
    // with a comment after it at most.
    static const std::regex plain(R"re(^\s*#\s*(include|include_next|import)\s*(<([^>]*)>|"([^"]*)")\s*(//.*|/\*.*)?$)re");
    std::vector<LogicalLine> lines = JoinLines(text);
    std::string joined;
    for (const LogicalLine& line : lines) joined += line.text + "\n";
    std::istringstream blanked(BlankComments(joined));

    std::vector<IncludeDirective> found;
    std::string code;
    for (const LogicalLine& line : lines) {
        std::getline(blanked, code);
        // A directive: "#" (or its digraph "%:", or its trigraph) first on the line, then its name.
        size_t p = code.find_first_not_of(" \t\f\v");
        if (p == std::string::npos) continue;
        if (code.compare(p, 1, "#") == 0) p += 1;
        else if (code.compare(p, 2, "%:") == 0) p += 2;
        else if (code.compare(p, 3, "?" "?=") == 0) p += 3;
        else continue;
        p = code.find_first_not_of(" \t\f\v", p);
        if (p == std::string::npos) continue;
        size_t end = p;
        while (end < code.size() && IsWord(code[end])) ++end;
        const std::string name = code.substr(p, end - p);
        if (name != "include" && name != "include_next" && name != "import") continue;

        IncludeDirective include{line.number, Trimmed(line.text.substr(line.text.find(name) + name.size())), false, ""};
        std::smatch match;
        if (!line.continued && std::regex_match(line.text, match, plain)) {
            include.quoted = match[4].matched;
            include.header = include.quoted ? match[4].str() : match[3].str();
            if (!include.header.empty() && include.header[0] == '/')
                include.fault = "an absolute path (name the header from its layer's folder)";
            else if (ClimbsWithDots(include.header))
                include.fault = "a name that climbs with \"..\" (name the header from its layer's folder)";
        } else {
            const size_t next = code.find_first_not_of(" \t\f\v", end);
            if (next != std::string::npos && IsWordStart(code[next]))
                include.fault = "an include built from a macro (the scan cannot tell the header)";
            else
                include.fault = "an include this scan cannot read (write it on one line: #include \"layer/Name.h\")";
        }
        found.push_back(include);
    }
    return found;
}

std::vector<std::string> FindForbiddenIncludes(const std::string& root) {
    std::vector<std::string> found;
    Checker checker{fs::path(root)};
    checker.Scan("src", found);
    checker.Scan("tests", found);
    return found;
}

}  // namespace layers
