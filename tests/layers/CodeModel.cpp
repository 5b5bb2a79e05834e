#include "CodeModel.h"

#include "CppSyntax.h"
#include "CppTokens.h"
#include "ModelReader.h"
#include "UseWalker.h"

namespace layers {

using namespace syntax;

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

TypeRef TypeOfTokens(const std::vector<std::string>& t, size_t b, size_t e) {
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


void CodeModel::Read(const SourceText& file) { ModelReader(*this, file).Run(); }

void CodeModel::ForEachUse(const SourceText& file, const std::function<void(const FunctionUse&)>& sink) const {
    WalkUses(*this, file, sink);
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
