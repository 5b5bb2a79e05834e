#include "TestOnlyMethods.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace layers {

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWord(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The words and punctuation of a C++ file, without comments, literals and
// preprocessor lines ("::" and "->" stay two characters).
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    const size_t n = text.size();
    bool lineStart = true;
    for (size_t i = 0; i < n;) {
        const char c = text[i];
        if (c == '\n') {
            lineStart = true;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#' && lineStart) {
            while (i < n && text[i] != '\n') i += text[i] == '\\' ? 2 : 1;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? n : end + 2;
        } else if (c == 'R' && i + 1 < n && text[i + 1] == '"') {
            const size_t open = text.find('(', i);
            const std::string close = ")" + text.substr(i + 2, open - i - 2) + "\"";
            const size_t end = open == std::string::npos ? std::string::npos : text.find(close, open);
            i = end == std::string::npos ? n : end + close.size();
            lineStart = false;
        } else if (c == '"' || c == '\'') {
            for (++i; i < n && text[i] != c && text[i] != '\n'; ++i)
                if (text[i] == '\\') ++i;
            ++i;
            lineStart = false;
        } else if (IsWordStart(c)) {
            const size_t start = i;
            while (i < n && IsWord(text[i])) ++i;
            tokens.push_back(text.substr(start, i - start));
            lineStart = false;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            while (i < n && (IsWord(text[i]) || text[i] == '.' || text[i] == '\'')) ++i;
            lineStart = false;
        } else {
            tokens.push_back(std::string(1, c));
            ++i;
            lineStart = false;
        }
    }
    return tokens;
}

bool IsIdentifier(const std::string& token) { return !token.empty() && IsWordStart(token[0]); }

bool IsKeyword(const std::string& word) {
    static const std::unordered_set<std::string> keywords = {
        "alignas", "alignof", "auto", "bool", "case", "catch", "char", "class", "const", "constexpr",
        "decltype", "default", "delete", "double", "enum", "explicit", "extern", "final", "float",
        "for", "friend", "if", "inline", "int", "long", "namespace", "new", "noexcept", "operator",
        "override", "private", "protected", "public", "return", "short", "signed", "sizeof", "static",
        "static_assert", "struct", "switch", "template", "this", "throw", "typedef", "typename",
        "union", "unsigned", "using", "virtual", "void", "volatile", "while"};
    return keywords.count(word) > 0;
}

// A macro such as TEST or DECLARE_X: all capitals.
bool IsMacroName(const std::string& word) {
    for (char c : word)
        if (std::islower(static_cast<unsigned char>(c))) return false;
    return true;
}

struct Declaration {
    size_t token;    // the name's token
    bool candidate;  // not a constructor, destructor, operator or override
};

// The function declarations and definitions of a file at namespace and class
// scope (function bodies are skipped).
class DeclarationScan {
public:
    explicit DeclarationScan(const std::vector<std::string>& tokens) : m_t(tokens) {
        std::vector<std::string> classes;  // "" for a namespace
        for (size_t i = 0; i < m_t.size(); ++i) {
            const std::string& t = m_t[i];
            if (t == "(") ++m_parens;
            if (t == ")") --m_parens;
            if (t == ";" && m_parens == 0) {
                Finish(classes);
            } else if (t == "{" && m_parens == 0) {
                const std::string kind = Kind();
                if (kind == "namespace") {
                    classes.push_back("");
                } else if (kind == "class") {
                    classes.push_back(ClassName());
                } else {
                    Finish(classes);
                    i = Matching(i);
                }
                m_statement.clear();
            } else if (t == "}" && m_parens == 0) {
                if (!classes.empty()) classes.pop_back();
                m_statement.clear();
            } else if (t == ":" && m_statement.size() == 1 &&
                       (m_t[m_statement[0]] == "public" || m_t[m_statement[0]] == "private" ||
                        m_t[m_statement[0]] == "protected")) {
                m_statement.clear();
            } else {
                m_statement.push_back(i);
            }
        }
    }

    const std::vector<Declaration>& Found() const { return m_found; }

private:
    const std::string& At(size_t k) const { return m_t[m_statement[k]]; }

    // The index past a leading "template <...>".
    size_t SkipTemplate() const {
        size_t k = 0;
        while (k < m_statement.size() && At(k) == "template") {
            int angles = 0;
            for (++k; k < m_statement.size(); ++k) {
                if (At(k) == "<") ++angles;
                if (At(k) == ">" && --angles == 0) break;
            }
            ++k;
        }
        return k;
    }

    std::string Kind() const {
        const size_t k = SkipTemplate();
        if (k >= m_statement.size()) return "";
        const std::string& first = At(k);
        if (first == "namespace" || first == "extern") return "namespace";
        if (first == "class" || first == "struct" || first == "union") {
            for (size_t j = k; j < m_statement.size(); ++j)
                if (At(j) == "(" || At(j) == "=") return "";  // a function returning a struct
            return "class";
        }
        return "";
    }

    std::string ClassName() const {
        std::string name;
        for (size_t k = SkipTemplate() + 1; k < m_statement.size() && At(k) != ":"; ++k)
            if (IsIdentifier(At(k)) && At(k) != "final" && !IsMacroName(At(k))) name = At(k);
        return name;
    }

    size_t Matching(size_t open) const {
        int depth = 0;
        for (size_t i = open; i < m_t.size(); ++i) {
            if (m_t[i] == "{") ++depth;
            if (m_t[i] == "}" && --depth == 0) return i;
        }
        return m_t.size();
    }

    void Finish(const std::vector<std::string>& classes) {
        const size_t start = SkipTemplate();
        size_t p = start;
        while (p < m_statement.size() && At(p) != "(" && At(p) != "=") ++p;
        if (p >= m_statement.size() || At(p) != "(" || p == start) return m_statement.clear();
        const std::string& first = At(start);
        if (first == "using" || first == "typedef" || first == "friend") return m_statement.clear();
        const std::string& name = At(p - 1);
        if (!IsIdentifier(name) || IsKeyword(name) || IsMacroName(name)) return m_statement.clear();
        bool candidate = true;
        if (p >= start + 2 && (At(p - 2) == "~" || At(p - 2) == "operator")) candidate = false;
        if (!classes.empty() && name == classes.back()) candidate = false;
        if (p >= start + 4 && At(p - 2) == ":" && At(p - 4) == name) candidate = false;
        for (size_t k = p; k < m_statement.size(); ++k)
            if (At(k) == "override" || At(k) == "final") candidate = false;
        m_found.push_back({m_statement[p - 1], candidate});
        m_statement.clear();
    }

    const std::vector<std::string>& m_t;
    std::vector<size_t> m_statement;
    int m_parens = 0;
    std::vector<Declaration> m_found;
};

struct SourceFile {
    std::string path;  // below its top folder
    std::vector<std::string> tokens;
    std::vector<Declaration> declarations;
};

std::vector<SourceFile> ReadFolder(const fs::path& folder) {
    std::vector<SourceFile> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        SourceFile file{fs::relative(entry.path(), folder).generic_string(), Tokens(ReadText(entry.path())), {}};
        file.declarations = DeclarationScan(file.tokens).Found();
        files.push_back(std::move(file));
    }
    return files;
}

// Every word of the files that is not a declaration or definition.
void CollectUses(const std::vector<SourceFile>& files, std::unordered_set<std::string>& uses) {
    for (const SourceFile& file : files) {
        std::unordered_set<size_t> declared;
        for (const Declaration& d : file.declarations) declared.insert(d.token);
        for (size_t i = 0; i < file.tokens.size(); ++i)
            if (IsIdentifier(file.tokens[i]) && !declared.count(i)) uses.insert(file.tokens[i]);
    }
}

}  // namespace

std::vector<std::string> FindTestOnlyMethods(const std::string& root) {
    const std::vector<SourceFile> src = ReadFolder(fs::path(root) / "src");
    std::unordered_map<std::string, std::set<std::string>> declaredIn;  // name -> headers
    for (const SourceFile& file : src) {
        if (fs::path(file.path).extension() != ".h") continue;
        for (const Declaration& d : file.declarations)
            if (d.candidate) declaredIn[file.tokens[d.token]].insert(file.path);
    }
    std::unordered_set<std::string> product;
    CollectUses(src, product);
    for (const char* folder : {"bench", "fuzz", "tools"}) CollectUses(ReadFolder(fs::path(root) / folder), product);
    std::unordered_set<std::string> tests;
    CollectUses(ReadFolder(fs::path(root) / "tests"), tests);

    std::set<std::string> found;
    for (const auto& [name, headers] : declaredIn) {
        if (product.count(name) || !tests.count(name)) continue;
        for (const std::string& header : headers) found.insert(header + " " + name);
    }
    return {found.begin(), found.end()};
}

std::vector<std::pair<std::string, std::string>> ReadList(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string key, value;
        if (!(words >> key)) continue;
        std::getline(words >> std::ws, value);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
        entries.emplace_back(key, value);
    }
    return entries;
}

std::set<std::string> AllowedKeys(const std::vector<std::pair<std::string, std::string>>& list) {
    std::set<std::string> keys;
    for (const auto& entry : list) {
        const std::string& key = entry.first;
        const size_t colon = key.find(':');
        if (colon == std::string::npos) {
            keys.insert(key);
            continue;
        }
        std::istringstream names(key.substr(colon + 1));
        for (std::string name; std::getline(names, name, ',');) keys.insert(key.substr(0, colon + 1) + name);
    }
    return keys;
}

std::vector<std::string> CompareWithLists(const std::vector<std::string>& found, const std::set<std::string>& allowed,
                                          const std::set<std::string>& baseline) {
    std::vector<std::string> complaints;
    std::set<std::string> foundKeys;
    for (const std::string& entry : found) {
        const size_t space = entry.find(' ');
        const std::string key = entry.substr(0, space) + ":" + entry.substr(space + 1);
        foundKeys.insert(key);
        if (!allowed.count(key) && !baseline.count(entry))
            complaints.push_back("src/" + entry + ": only tests call it; test through the public operations instead");
    }
    for (const std::string& key : allowed) {
        if (key.find(':') == std::string::npos)
            complaints.push_back(key + ": name the header it is declared in (header:Name) in test_only_allowed.txt");
        else if (!foundKeys.count(key))
            complaints.push_back(key + ": no longer called only by tests; take it off test_only_allowed.txt");
    }
    for (const std::string& entry : baseline) {
        const size_t space = entry.find(' ');
        if (!foundKeys.count(entry.substr(0, space) + ":" + entry.substr(space + 1)))
            complaints.push_back(entry + ": no longer called only by tests; take it off test_only_baseline.txt");
    }
    return complaints;
}

}  // namespace layers
