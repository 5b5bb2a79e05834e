// What the test-only scan knows of the C++ text without a compiler: the classes
// (their bases, fields and member functions with the types they name), the free
// functions and variables at namespace scope, and, in every function body and
// initializer, the uses of functions with the class they belong to.
//
// A use belongs to a class when the text says which:
//  - qualified: C::Name (a call, &C::Name, a base's Name called from an override);
//  - on a receiver whose type it reads: x.Name, x->Name, where x is a local, a
//    parameter, a field of the enclosing class, a variable at namespace scope,
//    this, or a chain of such (a.b->c().Name) through the declared types of
//    fields and the return types of functions; a local declared auto takes the
//    type of new T, T(...), F<T>(...) (casts, FindChild, Spawn, make_unique), or
//    of such a chain; smart pointers stand for what they point to, and an element
//    of a container (v[i], v.front(), for (auto* x : v)) for its element type;
//  - unqualified inside a member function or class body: the enclosing class and
//    its bases, else a free function of that name.
// The function found is the first declaration of the name walking from the
// receiver's class up through its bases. Anything else is a use of the name with
// no class: the receiver's type is not written where it can be read (a template
// parameter, a structured binding, an iterator, a function with no declared
// return type here), or the name is not declared in the class it reads for it.
// Macro bodies are not read (preprocessor lines are skipped).
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace layers {

// A type as the text writes it: the class names it may hold (several where
// names collide), what a template wraps, and for a container its element's.
struct TypeRef {
    std::set<std::string> names;
    std::set<std::string> pointees;  // what a template such as RefPtr<T> wraps
    std::set<std::string> elements;
    std::set<std::string> elementPointees;
    void Merge(const TypeRef& other);
    TypeRef Element() const;
    bool Empty() const;
};

struct MemberInfo {
    TypeRef type;                     // a field's type, a function's return type
    bool function = false;
    std::set<std::string> candidates;  // headers under src/ declaring it as a function of interest
};

struct ClassInfo {
    std::set<std::string> bases;
    std::map<std::string, MemberInfo> members;
};

struct SourceText {
    std::string path;  // below the project's root, e.g. "src/scene/PlayField.h"
    std::vector<std::string> tokens;
};

// A use of a function: resolved to its class ("" for a free function), or only
// its name when the scan cannot tell the class.
struct FunctionUse {
    std::string owner;
    std::string name;
    bool resolved;
};

class CodeModel {
public:
    // Reads the declarations of a file: classes, members, free functions and
    // variables at namespace scope. A function declared in a header under src/
    // (not a constructor, destructor, operator or override) is a candidate.
    void Read(const SourceText& file);

    // Every use of a candidate's name in the file, with its class when known.
    void ForEachUse(const SourceText& file, const std::function<void(const FunctionUse&)>& sink) const;

    // The candidates: class ("" for a free function) and name -> the headers declaring it.
    std::map<std::pair<std::string, std::string>, std::set<std::string>> Candidates() const;

    // The declarations of name found from the class up through its bases
    // (nearest first on each path); empty when none declares it.
    std::set<std::string> OwnersOf(const std::string& cls, const std::string& name) const;
    const MemberInfo* FindMember(const std::string& cls, const std::string& name) const;
    bool IsCandidateName(const std::string& name) const { return m_candidateNames.count(name) > 0; }
    bool IsClass(const std::string& name) const { return m_classes.count(Unaliased(name)) > 0; }
    std::string Unaliased(const std::string& name) const;
    const MemberInfo* FindFunction(const std::string& name) const;
    const TypeRef* FindGlobal(const std::string& name) const;

private:
    friend class ModelReader;
    std::map<std::string, ClassInfo> m_classes;     // by the class's own name
    std::map<std::string, MemberInfo> m_functions;  // free functions by name
    std::map<std::string, TypeRef> m_globals;       // variables at namespace scope
    std::map<std::string, std::string> m_aliases;   // using A = B; typedef B A;
    std::set<std::string> m_candidateNames;
};

// The type a range of tokens names ("const std::vector<Foo*>&" names elements Foo).
TypeRef TypeOfTokens(const std::vector<std::string>& t, size_t begin, size_t end);

}  // namespace layers
