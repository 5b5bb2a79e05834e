#include "CppSyntax.h"

#include "CppTokens.h"

namespace layers {
namespace syntax {

const std::set<std::string> kSpecifiers = {"const",  "constexpr", "static",   "volatile", "mutable",
                                           "struct", "class",     "typename", "register", "thread_local",
                                           "inline", "virtual",   "explicit", "friend",   "extern",
                                           "enum"};
const std::set<std::string> kPointers = {"unique_ptr", "shared_ptr", "weak_ptr", "optional", "reference_wrapper"};
const std::set<std::string> kContainers = {"vector", "list",  "deque",          "array",            "set",
                                           "unordered_set", "multiset", "queue", "stack", "priority_queue",
                                           "initializer_list", "span"};
const std::set<std::string> kMaps = {"map", "unordered_map", "multimap"};
const std::set<std::string> kTestBodies = {"TEST_F", "TEST_P", "TYPED_TEST", "TYPED_TEST_P"};

bool Is(const TokenList& t, size_t i, const char* s) { return i < t.size() && t[i] == s; }
// "::" ending at i.
bool ScopeBefore(const TokenList& t, size_t i) { return i >= 2 && t[i - 1] == ":" && t[i - 2] == ":"; }
// "." or "->" ending at i - 1; the receiver ends at the index returned (npos when none).
size_t ReceiverEnd(const TokenList& t, size_t i) {
    if (i >= 2 && t[i - 1] == ".") return i - 2;
    if (i >= 3 && t[i - 1] == ">" && t[i - 2] == "-") return i - 3;
    return npos;
}

size_t MatchForward(const TokenList& t, size_t open, const char* o, const char* c) {
    int depth = 0;
    for (size_t i = open; i < t.size(); ++i) {
        if (t[i] == o) ++depth;
        if (t[i] == c && --depth == 0) return i;
    }
    return npos;
}

size_t MatchBack(const TokenList& t, size_t close, const char* o, const char* c) {
    int depth = 0;
    for (size_t i = close + 1; i-- > 0;) {
        if (t[i] == c) ++depth;
        if (t[i] == o && --depth == 0) return i;
    }
    return npos;
}

// The closing ">" of template arguments opening at i, when what lies between
// can only be a type list; npos otherwise ("a < b && c > d").
size_t TemplateClose(const TokenList& t, size_t open) {
    int depth = 0;
    for (size_t i = open; i < t.size(); ++i) {
        const std::string& x = t[i];
        if (x == "<") ++depth;
        else if (x == ">") {
            if (--depth == 0) return i;
        } else if (!(IsIdentifier(x) || x == ":" || x == "*" || x == "&" || x == "," || x == "(" || x == ")")) {
            return npos;
        } else if (x == "&" && Is(t, i + 1, "&")) {
            return npos;
        }
    }
    return npos;
}

std::vector<std::pair<size_t, size_t>> SplitArguments(const TokenList& t, size_t begin, size_t end) {
    std::vector<std::pair<size_t, size_t>> parts;
    int depth = 0;
    size_t start = begin;
    for (size_t i = begin; i < end; ++i) {
        if (t[i] == "<" || t[i] == "(" || t[i] == "[") ++depth;
        if (t[i] == ">" || t[i] == ")" || t[i] == "]") --depth;
        if (t[i] == "," && depth == 0) {
            parts.emplace_back(start, i);
            start = i + 1;
        }
    }
    parts.emplace_back(start, end);
    return parts;
}

size_t SkipTemplate(const TokenList& t, const std::vector<size_t>& st) {
    size_t k = 0;
    while (k < st.size() && t[st[k]] == "template") {
        int angles = 0;
        for (++k; k < st.size(); ++k) {
            if (t[st[k]] == "<") ++angles;
            if (t[st[k]] == ">" && --angles == 0) break;
        }
        ++k;
    }
    return k;
}

bool IsAccessLabel(const TokenList& t, const std::vector<size_t>& st) {
    return st.size() == 1 && (t[st[0]] == "public" || t[st[0]] == "private" || t[st[0]] == "protected");
}

// The position in st of the "(" that opens a function's parameters, when the
// statement is a function's head: a "(" before any "=".
size_t FunctionParen(const TokenList& t, const std::vector<size_t>& st, size_t from) {
    for (size_t k = from; k < st.size(); ++k) {
        if (t[st[k]] == "operator") {
            // "operator==(", "operator()(": the parameters open after the operator's own signs.
            k += k + 2 < st.size() && t[st[k + 1]] == "(" && t[st[k + 2]] == ")" ? 3 : 1;
            while (k < st.size() && t[st[k]] != "(") ++k;
            return k < st.size() ? k : npos;
        }
        if (t[st[k]] == "=") return npos;
        if (t[st[k]] == "(") return k > from ? k : npos;
    }
    return npos;
}

Brace KindOf(const TokenList& t, const std::vector<size_t>& st) {
    const size_t k = SkipTemplate(t, st);
    if (k >= st.size()) return Brace::Other;
    const std::string& first = t[st[k]];
    if (first == "namespace") return Brace::Namespace;
    if (first == "extern" && st.size() == k + 1) return Brace::Namespace;  // extern "C" { ... }
    if (first == "enum") return Brace::Other;
    if (first == "class" || first == "struct" || first == "union") {
        bool plain = true;
        for (size_t j = k; j < st.size(); ++j)
            if (t[st[j]] == "(" || t[st[j]] == "=") plain = false;
        if (plain) return Brace::Class;
    }
    return FunctionParen(t, st, k) != npos ? Brace::Function : Brace::Other;
}

// A class head's name, and its bases into bases.
std::string ClassHead(const TokenList& t, const std::vector<size_t>& st, std::set<std::string>* bases) {
    const size_t k = SkipTemplate(t, st) + 1;
    size_t colon = st.size();
    for (size_t j = k; j < st.size(); ++j) {
        if (t[st[j]] == ":" && !(j + 1 < st.size() && t[st[j + 1]] == ":") && !(j > 0 && t[st[j - 1]] == ":")) {
            colon = j;
            break;
        }
    }
    std::string name;
    for (size_t j = k; j < colon; ++j) {
        const std::string& x = t[st[j]];
        if (x == "<") break;
        if (IsIdentifier(x) && !IsKeyword(x)) name = x;  // the last word: "class EXPORT Name"
    }
    if (colon < st.size() && bases) {
        const size_t begin = st[colon] + 1, end = st.back() + 1;
        for (const auto& [b, e] : SplitArguments(t, begin, end)) {
            std::string base;
            for (size_t j = b; j < e; ++j) {
                if (t[j] == "<") break;
                if (IsIdentifier(t[j]) && !IsKeyword(t[j])) base = t[j];
            }
            if (!base.empty()) bases->insert(base);
        }
    }
    return name;
}

}  // namespace syntax
}  // namespace layers
