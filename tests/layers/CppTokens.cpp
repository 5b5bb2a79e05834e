#include "CppTokens.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <unordered_set>

namespace layers {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWord(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

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
        "alignas", "alignof", "auto", "bool", "break", "case", "catch", "char", "class", "const",
        "constexpr", "const_cast", "continue", "decltype", "default", "delete", "do", "double",
        "dynamic_cast", "else", "enum", "explicit", "extern", "false", "final", "float", "for", "friend",
        "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "nullptr",
        "operator", "override", "private", "protected", "public", "register", "reinterpret_cast",
        "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
        "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid",
        "typename", "union", "unsigned", "using", "virtual", "void", "volatile", "while"};
    return keywords.count(word) > 0;
}

bool IsMacroName(const std::string& word) {
    for (char c : word)
        if (std::islower(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace layers
