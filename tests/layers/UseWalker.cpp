#include "UseWalker.h"

#include "CppSyntax.h"
#include "CppTokens.h"

namespace layers {

namespace {

using namespace syntax;

class UseWalker {
public:
    UseWalker(const CodeModel& model, const std::vector<std::string>& tokens, const std::function<void(const FunctionUse&)>& sink)
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
                    const size_t close = TemplateClose(t, p);
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

}  // namespace

void WalkUses(const CodeModel& model, const SourceText& file, const std::function<void(const FunctionUse&)>& sink) {
    UseWalker(model, file.tokens, sink).Run();
}

}  // namespace layers
