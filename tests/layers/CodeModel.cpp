#include "CodeModel.h"

#include "CppTokens.h"

namespace layers {

namespace {

using TokenList = std::vector<std::string>;
const size_t npos = std::string::npos;

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
size_t TemplateClose(const TokenList& t, size_t open, size_t limit) {
    int depth = 0;
    for (size_t i = open; i < t.size() && i < limit; ++i) {
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

enum class Brace { Namespace, Class, Function, Other };

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

}  // namespace

void TypeRef::Merge(const TypeRef& other) {
    names.insert(other.names.begin(), other.names.end());
    pointees.insert(other.pointees.begin(), other.pointees.end());
    elements.insert(other.elements.begin(), other.elements.end());
    elementPointees.insert(other.elementPointees.begin(), other.elementPointees.end());
}

TypeRef TypeRef::Element() const {
    if (elements.empty() && elementPointees.empty()) return *this;  // an array or a pointer: T* a[4]; a[i]
    TypeRef element;
    element.names = elements;
    element.pointees = elementPointees;
    return element;
}

bool TypeRef::Empty() const { return names.empty() && pointees.empty() && elements.empty() && elementPointees.empty(); }

TypeRef TypeOfTokens(const TokenList& t, size_t b, size_t e) {
    TypeRef type;
    while (b < e && kSpecifiers.count(t[b])) ++b;
    while (e > b && (t[e - 1] == "*" || t[e - 1] == "&" || t[e - 1] == "const" || t[e - 1] == "volatile")) --e;
    if (b >= e) return type;
    size_t open = npos;
    for (size_t i = b; i < e; ++i)
        if (t[i] == "<") {
            open = i;
            break;
        }
    if (open == npos) {
        if (IsIdentifier(t[e - 1]) && !IsKeyword(t[e - 1])) type.names.insert(t[e - 1]);
        return type;
    }
    const size_t close = MatchForward(t, open, "<", ">");
    if (close == npos || close != e - 1 || open == b) return type;  // "map<A, B>::iterator" is no class of ours
    const std::string& head = t[open - 1];
    const auto args = SplitArguments(t, open + 1, close);
    if (kPointers.count(head)) return TypeOfTokens(t, args[0].first, args[0].second);
    const auto asElement = [&](const std::pair<size_t, size_t>& arg) {
        const TypeRef element = TypeOfTokens(t, arg.first, arg.second);
        type.elements = element.names;
        type.elementPointees = element.pointees;
        return type;
    };
    if (kContainers.count(head)) return asElement(args[0]);
    if (kMaps.count(head) && args.size() > 1) return asElement(args[1]);
    // Another template: its own class, or what it wraps (RefPtr<T>) when the class has not the member.
    if (IsIdentifier(head)) type.names.insert(head);
    type.pointees = TypeOfTokens(t, args[0].first, args[0].second).names;
    return type;
}

// Pass one: the declarations at namespace and class scope; bodies are skipped.
class ModelReader {
public:
    ModelReader(CodeModel& model, const SourceText& file)
        : m(model), t(file.tokens), m_header(file.path.rfind("src/", 0) == 0 && file.path.size() > 2 &&
                                              file.path.compare(file.path.size() - 2, 2, ".h") == 0
                                          ? file.path.substr(4)
                                          : std::string()) {}

    void Run() {
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

private:
    void Finish(const std::vector<size_t>& st, const std::string& cls, bool inClass) {
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

    void Function(const std::vector<size_t>& st, size_t k, size_t p, const std::string& cls) {
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

    void Alias(const std::string& name, size_t b, size_t e) {
        const TypeRef type = TypeOfTokens(t, b, e);
        if (type.names.size() == 1 && *type.names.begin() != name) m.m_aliases[name] = *type.names.begin();
    }

    CodeModel& m;
    const TokenList& t;
    const std::string m_header;  // below src/, for a header under src/
    TypeRef m_lastType;
};

// Pass two: every use of a candidate's name, with its class when the text tells it.
class UseWalker {
public:
    UseWalker(const CodeModel& model, const TokenList& tokens, const std::function<void(const FunctionUse&)>& sink)
        : m(model), t(tokens), m_sink(sink) {}

    void Run() {
        m_frames.push_back({Frame::Namespace, "", {}, false});
        for (size_t i = 0; i < t.size(); ++i) {
            if (m_skipTo != npos) {
                if (i <= m_skipTo) continue;
                m_skipTo = npos;
            }
            if (m_frames.back().kind == Frame::Body)
                BodyToken(i);
            else
                StatementToken(i);
        }
    }

private:
    struct Frame {
        enum Kind { Namespace, Class, Body } kind;
        std::string cls;  // the class whose members are in scope
        std::map<std::string, TypeRef> locals;
        bool initializer;  // a brace inside a statement that goes on after it
    };

    void ResetStatement() {
        m_statement.clear();
        m_parens = 0;
        m_assigned = false;
        m_headName = false;
        m_headClass.clear();
        m_headLocals.clear();
    }

    std::string Context() const { return m_headClass.empty() ? m_frames.back().cls : m_headClass; }

    void StatementToken(size_t i) {
        const std::string& x = t[i];
        if (x == "(") ++m_parens;
        if (x == ")") --m_parens;
        if (m_parens == 0 && x == ";") return ResetStatement();
        if (m_parens == 0 && x == "{") {
            const Brace kind = KindOf(t, m_statement);
            if (kind == Brace::Namespace) {
                m_frames.push_back({Frame::Namespace, "", {}, false});
                ResetStatement();
            } else if (kind == Brace::Class) {
                m_frames.push_back({Frame::Class, ClassHead(t, m_statement, nullptr), {}, false});
                ResetStatement();
            } else {
                const size_t k = SkipTemplate(t, m_statement);
                if (k < m_statement.size() && t[m_statement[k]] == "enum") {
                    const size_t close = MatchForward(t, i, "{", "}");
                    m_skipTo = close == npos ? t.size() : close;
                    return;
                }
                m_frames.push_back({Frame::Body, Context(), m_headLocals, kind != Brace::Function});
            }
            return;
        }
        if (m_parens == 0 && x == "}") {
            if (m_frames.size() > 1) m_frames.pop_back();
            return ResetStatement();
        }
        if (m_parens == 0 && x == ":" && IsAccessLabel(t, m_statement)) return ResetStatement();
        m_statement.push_back(i);
        if (m_parens == 0 && x == "=" && !m_headName) m_assigned = true;
        if (!IsIdentifier(x)) return;
        if (x == "operator" && m_parens == 0 && !m_assigned) {
            m_headName = true;  // an operator: its signs are no assignment
            if (ScopeBefore(t, i) && i >= 3) m_headClass = t[i - 3];
            return;
        }
        if (m_parens == 0 && !m_assigned && !m_headName && Is(t, i + 1, "(")) {
            // The name of the function this statement declares or defines.
            m_headName = true;
            if (ScopeBefore(t, i) && i >= 3) m_headClass = t[i - 3];
            if (i >= 4 && t[i - 1] == "~" && ScopeBefore(t, i - 1)) m_headClass = t[i - 4];  // C::~C()
            if (kTestBodies.count(x) && i + 2 < t.size()) m_headClass = t[i + 2];
            return;
        }
        if (m_parens > 0 && (t[i - 1] == "(" || t[i - 1] == ",")) Declaration(i, m_headLocals);
        if (!m_declared.count(i)) Classify(i, Context());
    }

    void BodyToken(size_t i) {
        const std::string& x = t[i];
        if (x == "{") {
            m_frames.push_back({Frame::Body, m_frames.back().cls, {}, false});
            return;
        }
        if (x == "}") {
            const bool initializer = m_frames.back().initializer;
            if (m_frames.size() > 1) m_frames.pop_back();
            if (m_frames.back().kind != Frame::Body && !initializer) ResetStatement();
            return;
        }
        if (!IsIdentifier(x)) return;
        const std::string& before = t[i - 1];
        if (before == ";" || before == "{" || before == "}" || before == "(" || before == ",")
            Declaration(i, m_frames.back().locals);
        if (!m_declared.count(i)) Classify(i, m_frames.back().cls);
    }

    // A declaration starting at i ("const Foo* x =", "auto* y = new Bar(", a
    // parameter "std::vector<Foo*>& list)"): its name's type goes into scope.
    void Declaration(size_t i, std::map<std::string, TypeRef>& scope) {
        size_t p = i;
        while (p < t.size() && kSpecifiers.count(t[p]) && t[p] != "enum") ++p;
        const bool isAuto = Is(t, p, "auto");
        const size_t typeBegin = p;
        if (isAuto) {
            ++p;
        } else {
            if (p >= t.size() || !IsIdentifier(t[p]) || IsKeyword(t[p])) return;
            for (;;) {
                ++p;
                if (Is(t, p, "<")) {
                    const size_t close = TemplateClose(t, p, t.size());
                    if (close == npos) return;
                    p = close + 1;
                }
                if (!(Is(t, p, ":") && Is(t, p + 1, ":") && p + 2 < t.size() && IsIdentifier(t[p + 2]))) break;
                p += 2;
            }
        }
        const size_t typeEnd = p;
        while (Is(t, p, "const") || Is(t, p, "*") || Is(t, p, "&") || Is(t, p, "volatile")) ++p;
        if (p >= t.size() || !IsIdentifier(t[p]) || IsKeyword(t[p])) return;
        const size_t name = p;
        const std::string& follow = p + 1 < t.size() ? t[p + 1] : std::string();
        static const std::set<std::string> follows = {"=", ";", ",", ")", "{", "(", "[", ":"};
        if (!follows.count(follow) || (follow == ":" && Is(t, p + 2, ":"))) return;
        TypeRef type;
        if (!isAuto) {
            // Only a class of ours counts: "a && b)" and "x * y;" declare nothing.
            type = TypeOfTokens(t, typeBegin, typeEnd);
            if (!NamesAClass(type)) return;
        } else if (follow == "=") {
            type = ExprType(ExpressionEnd(name + 2) - 1, Context());
        } else if (follow == ":") {
            type = ExprType(ExpressionEnd(name + 2) - 1, Context()).Element();
        }
        m_declared.insert(name);
        scope[t[name]] = type;
    }

    bool NamesAClass(const TypeRef& type) const {
        for (const std::set<std::string>* names : {&type.names, &type.pointees, &type.elements, &type.elementPointees})
            for (const std::string& name : *names)
                if (m.IsClass(name)) return true;
        return false;
    }

    // The end of an expression starting at i: the first ";" "," ")" or "}" outside brackets.
    size_t ExpressionEnd(size_t i) const {
        int depth = 0;
        for (; i < t.size(); ++i) {
            const std::string& x = t[i];
            if (x == "(" || x == "[" || x == "{") ++depth;
            if ((x == ")" || x == "]" || x == "}") && depth-- == 0) return i;
            if (depth == 0 && (x == ";" || x == ",")) return i;
        }
        return t.size();
    }

    const TypeRef* Variable(const std::string& name) const {
        for (size_t f = m_frames.size(); f-- > 0;) {
            const auto it = m_frames[f].locals.find(name);
            if (it != m_frames[f].locals.end()) return &it->second;
        }
        const auto head = m_headLocals.find(name);
        return head != m_headLocals.end() ? &head->second : nullptr;
    }

    // The classes declaring name for a receiver: found through its own class,
    // else through what it wraps.
    std::set<std::string> Owners(const TypeRef& receiver, const std::string& name) const {
        std::set<std::string> owners;
        for (const std::set<std::string>* names : {&receiver.names, &receiver.pointees}) {
            for (const std::string& cls : *names) {
                const std::set<std::string> found = m.OwnersOf(cls, name);
                owners.insert(found.begin(), found.end());
            }
            if (!owners.empty()) break;
        }
        return owners;
    }

    TypeRef MemberType(const TypeRef& receiver, const std::string& name) const {
        if (name == "front" || name == "back" || name == "at" || name == "top") return receiver.Element();
        TypeRef type;
        for (const std::string& owner : Owners(receiver, name))
            if (const MemberInfo* member = m.FindMember(owner, name)) type.Merge(member->type);
        if (type.Empty() && name == "get") {
            type.names = receiver.pointees;
            type.names.insert(receiver.names.begin(), receiver.names.end());
        }
        return type;
    }

    TypeRef ClassType(const std::string& cls) const {
        TypeRef type;
        if (!cls.empty()) type.names.insert(cls);
        return type;
    }

    // The type of what the member named at k is taken from: the expression
    // before "." or "->", through its class's operator-> for "->".
    TypeRef ReceiverType(size_t k, const std::string& cls, int depth) const {
        const TypeRef receiver = ExprType(ReceiverEnd(t, k), cls, depth + 1);
        if (t[k - 1] != ">") return receiver;
        TypeRef pointed;
        for (const std::string& owner : Owners(receiver, "operator->"))
            if (const MemberInfo* arrow = m.FindMember(owner, "operator->")) pointed.Merge(arrow->type);
        return NamesAClass(pointed) ? pointed : receiver;  // T* of a template: what it wraps, as read
    }

    // The type of the expression whose last token is at k.
    TypeRef ExprType(size_t k, const std::string& cls, int depth = 0) const {
        if (k >= t.size() || depth > 40) return {};
        const std::string& x = t[k];
        if (x == ")") {
            const size_t open = MatchBack(t, k, "(", ")");
            if (open == npos || open == 0) return {};
            const size_t f = open - 1;
            if (t[f] == ">") {
                const size_t angle = MatchBack(t, f, "<", ">");
                if (angle == npos || angle == 0) return {};
                // Casts, FindChild<T>, Spawn<T>, make_unique<T>; a container or a
                // wrapper made in place (std::vector<T>(n), RefPtr<T>(p)) by its name.
                const std::string& function = t[angle - 1];
                if (kContainers.count(function) || m.IsClass(function)) return TypeOfTokens(t, angle - 1, f + 1);
                return TypeOfTokens(t, angle + 1, f);
            }
            if (!IsIdentifier(t[f]) || IsKeyword(t[f])) return ExprType(k - 1, cls, depth + 1);
            const std::string& name = t[f];
            if (ReceiverEnd(t, f) != npos) return MemberType(ReceiverType(f, cls, depth), name);
            if (ScopeBefore(t, f)) {
                if (f >= 3 && m.IsClass(t[f - 3])) return MemberType(ClassType(m.Unaliased(t[f - 3])), name);
                const MemberInfo* function = m.FindFunction(name);
                return function ? function->type : TypeRef();
            }
            if (m.IsClass(name)) return ClassType(m.Unaliased(name));
            if (!cls.empty()) {
                TypeRef member = MemberType(ClassType(cls), name);
                if (!member.Empty()) return member;
            }
            const MemberInfo* function = m.FindFunction(name);
            return function ? function->type : TypeRef();
        }
        if (x == "]") {
            const size_t open = MatchBack(t, k, "[", "]");
            if (open == npos || open == 0) return {};
            return ExprType(open - 1, cls, depth + 1).Element();
        }
        if (x == "this") return ClassType(cls);
        if (!IsIdentifier(x)) return {};
        if (ReceiverEnd(t, k) != npos) return MemberType(ReceiverType(k, cls, depth), x);
        if (ScopeBefore(t, k)) {
            if (k >= 3 && m.IsClass(t[k - 3])) return MemberType(ClassType(m.Unaliased(t[k - 3])), x);
            const TypeRef* global = m.FindGlobal(x);
            return global ? *global : TypeRef();
        }
        if (const TypeRef* local = Variable(x)) return *local;
        if (!cls.empty()) {
            TypeRef member = MemberType(ClassType(cls), x);
            if (!member.Empty()) return member;
        }
        if (const TypeRef* global = m.FindGlobal(x)) return *global;
        if (m.IsClass(x)) return ClassType(m.Unaliased(x));
        return {};
    }

    void Report(const std::set<std::string>& owners, const std::string& name) const {
        if (owners.empty()) return m_sink({"", name, false});
        for (const std::string& owner : owners) m_sink({owner, name, true});
    }

    void ReportFree(const std::string& name) const {
        if (m.FindFunction(name)) return m_sink({"", name, true});
        m_sink({"", name, false});
    }

    void Classify(size_t k, const std::string& cls) const {
        const std::string& name = t[k];
        if (!m.IsCandidateName(name)) return;
        if (ReceiverEnd(t, k) != npos) return Report(Owners(ReceiverType(k, cls, 0), name), name);
        if (ScopeBefore(t, k)) {
            if (k >= 3 && IsIdentifier(t[k - 3]) && m.IsClass(t[k - 3]))
                return Report(m.OwnersOf(m.Unaliased(t[k - 3]), name), name);
            return ReportFree(name);
        }
        if (!cls.empty()) {
            const std::set<std::string> owners = m.OwnersOf(cls, name);
            if (!owners.empty()) return Report(owners, name);
        }
        if (m.FindFunction(name)) return m_sink({"", name, true});
        if (Is(t, k + 1, "(")) m_sink({"", name, false});
    }

    const CodeModel& m;
    const TokenList& t;
    const std::function<void(const FunctionUse&)>& m_sink;
    std::vector<Frame> m_frames;
    std::vector<size_t> m_statement;
    int m_parens = 0;
    bool m_assigned = false;
    bool m_headName = false;
    std::string m_headClass;
    std::map<std::string, TypeRef> m_headLocals;
    std::set<size_t> m_declared;
    size_t m_skipTo = npos;
};

void CodeModel::Read(const SourceText& file) { ModelReader(*this, file).Run(); }

void CodeModel::ForEachUse(const SourceText& file, const std::function<void(const FunctionUse&)>& sink) const {
    UseWalker(*this, file.tokens, sink).Run();
}

std::map<std::pair<std::string, std::string>, std::set<std::string>> CodeModel::Candidates() const {
    std::map<std::pair<std::string, std::string>, std::set<std::string>> found;
    for (const auto& [cls, info] : m_classes)
        for (const auto& [name, member] : info.members)
            if (!member.candidates.empty()) found[{cls, name}] = member.candidates;
    for (const auto& [name, function] : m_functions)
        if (!function.candidates.empty()) found[{"", name}] = function.candidates;
    return found;
}

std::string CodeModel::Unaliased(const std::string& name) const {
    std::string current = name;
    for (int step = 0; step < 8; ++step) {
        const auto it = m_aliases.find(current);
        if (it == m_aliases.end()) break;
        current = it->second;
    }
    return current;
}

std::set<std::string> CodeModel::OwnersOf(const std::string& cls, const std::string& name) const {
    std::set<std::string> found, seen;
    std::vector<std::string> pending{Unaliased(cls)};
    while (!pending.empty()) {
        const std::string current = pending.back();
        pending.pop_back();
        if (!seen.insert(current).second) continue;
        const auto it = m_classes.find(current);
        if (it == m_classes.end()) continue;
        if (it->second.members.count(name)) {
            found.insert(current);
            continue;
        }
        for (const std::string& base : it->second.bases) pending.push_back(Unaliased(base));
    }
    return found;
}

const MemberInfo* CodeModel::FindMember(const std::string& cls, const std::string& name) const {
    const auto it = m_classes.find(cls);
    if (it == m_classes.end()) return nullptr;
    const auto member = it->second.members.find(name);
    return member == it->second.members.end() ? nullptr : &member->second;
}

const MemberInfo* CodeModel::FindFunction(const std::string& name) const {
    const auto it = m_functions.find(name);
    return it == m_functions.end() ? nullptr : &it->second;
}

const TypeRef* CodeModel::FindGlobal(const std::string& name) const {
    const auto it = m_globals.find(name);
    return it == m_globals.end() ? nullptr : &it->second;
}

}  // namespace layers
