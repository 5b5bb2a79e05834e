#include "ModelReader.h"

#include "CppSyntax.h"
#include "CppTokens.h"

namespace layers {

using namespace syntax;

ModelReader::ModelReader(CodeModel& model, const SourceText& file)
    : m(model), t(file.tokens), m_header(file.path.rfind("src/", 0) == 0 && file.path.size() > 2 &&
                                          file.path.compare(file.path.size() - 2, 2, ".h") == 0
                                      ? file.path.substr(4)
                                      : std::string()) {}

void ModelReader::Run() {
    std::vector<std::string> classes{""};  // "" for a namespace
    std::vector<bool> isClass{false};
    std::vector<size_t> st;
    int parens = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const std::string& x = t[i];
        if (x == "(") ++parens;
        if (x == ")") --parens;
        if (parens == 0 && x == ";") {
            Finish(st, isClass.back() ? classes.back() : std::string(), isClass.back());
            st.clear();
        } else if (parens == 0 && x == "{") {
            const Brace kind = KindOf(t, st);
            if (kind == Brace::Namespace || kind == Brace::Class) {
                std::set<std::string> bases;
                const std::string name = kind == Brace::Class ? ClassHead(t, st, &bases) : std::string();
                if (kind == Brace::Class && !name.empty()) m.m_classes[name].bases.insert(bases.begin(), bases.end());
                classes.push_back(name);
                isClass.push_back(kind == Brace::Class);
                st.clear();
            } else {
                if (kind == Brace::Function) {
                    Finish(st, isClass.back() ? classes.back() : std::string(), isClass.back());
                    st.clear();
                }
                const size_t close = MatchForward(t, i, "{", "}");
                i = close == npos ? t.size() : close;
            }
        } else if (parens == 0 && x == "}") {
            if (classes.size() > 1) {
                classes.pop_back();
                isClass.pop_back();
            }
            st.clear();
        } else if (parens == 0 && x == ":" && IsAccessLabel(t, st)) {
            st.clear();
        } else {
            st.push_back(i);
        }
    }
}

void ModelReader::Finish(const std::vector<size_t>& st, const std::string& cls, bool inClass) {
    if (inClass && cls.empty()) return;  // an unnamed struct
    const size_t k = SkipTemplate(t, st);
    if (k >= st.size()) return;
    const std::string& first = t[st[k]];
    if (first == "using") {
        if (st.size() > k + 3 && t[st[k + 2]] == "=") Alias(t[st[k + 1]], st[k + 3], st.back() + 1);
        return;
    }
    if (first == "typedef") {
        if (st.size() > k + 2) Alias(t[st.back()], st[k + 1], st.back());
        return;
    }
    if (first == "friend" || first == "static_assert") return;
    const size_t p = FunctionParen(t, st, k);
    if ((first == "class" || first == "struct" || first == "union" || first == "enum") && p == npos) return;
    if (p != npos) return Function(st, k, p, cls);
    for (const auto& [b, e] : SplitArguments(t, st[k], st.back() + 1)) {
        // "Type name = ...", "Type name[4]", "Type name : 3", or ", name" after the first.
        size_t end = e;
        for (size_t j = b; j < e; ++j)
            if (t[j] == "=" || t[j] == "[" || t[j] == "{" || (t[j] == ":" && !Is(t, j + 1, ":") && !ScopeBefore(t, j + 1))) {
                end = j;
                break;
            }
        if (end == b || !IsIdentifier(t[end - 1]) || IsKeyword(t[end - 1])) continue;
        const TypeRef type = b == st[k] ? TypeOfTokens(t, b, end - 1) : m_lastType;
        if (b == st[k]) m_lastType = type;
        (cls.empty() ? m.m_globals[t[end - 1]] : m.m_classes[cls].members[t[end - 1]].type).Merge(type);
    }
}

void ModelReader::Function(const std::vector<size_t>& st, size_t k, size_t p, const std::string& cls) {
    if (!cls.empty() && p >= k + 3 && t[st[p - 3]] == "operator" && t[st[p - 2]] == "-" && t[st[p - 1]] == ">") {
        // What "->" on the class reaches (a smart pointer's operator->).
        MemberInfo& arrow = m.m_classes[cls].members["operator->"];
        arrow.function = true;
        arrow.type.Merge(TypeOfTokens(t, st[k], st[p - 3]));
        return;
    }
    const std::string& name = t[st[p - 1]];
    if (!IsIdentifier(name) || IsKeyword(name) || IsMacroName(name)) return;
    if (p >= k + 3 && t[st[p - 2]] == ":" && t[st[p - 3]] == ":") return;  // defined out of its class
    bool candidate = !m_header.empty() && name != cls && !(p > k && t[st[p - 2]] == "~");
    for (size_t j = p; j < st.size(); ++j)
        if (t[st[j]] == "override" || t[st[j]] == "final") candidate = false;
    MemberInfo& info = cls.empty() ? m.m_functions[name] : m.m_classes[cls].members[name];
    info.function = true;
    info.type.Merge(TypeOfTokens(t, st[k], st[p - 1]));
    if (candidate) {
        info.candidates.insert(m_header);
        m.m_candidateNames.insert(name);
    }
}

void ModelReader::Alias(const std::string& name, size_t b, size_t e) {
    const TypeRef type = TypeOfTokens(t, b, e);
    if (type.names.size() == 1 && *type.names.begin() != name) m.m_aliases[name] = *type.names.begin();
}

}  // namespace layers
