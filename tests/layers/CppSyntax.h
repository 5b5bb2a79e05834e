// The pieces of C++ syntax the layer tests' code model reads from tokens: brackets,
// statements at namespace and class scope, class heads and the types a run of
// tokens names.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace layers {
namespace syntax {

using TokenList = std::vector<std::string>;
const size_t npos = std::string::npos;

// Words that may stand before a type and say nothing of it.
extern const std::set<std::string> kSpecifiers;
// Templates that stand for what they point to, that hold elements, that map keys to elements.
extern const std::set<std::string> kPointers;
extern const std::set<std::string> kContainers;
extern const std::set<std::string> kMaps;
// The test macros whose body is a member function of their first argument, a fixture.
extern const std::set<std::string> kTestBodies;

bool Is(const TokenList& t, size_t i, const char* s);
// "::" ending at i.
bool ScopeBefore(const TokenList& t, size_t i);
// "." or "->" ending at i - 1; the receiver ends at the index returned (npos when none).
size_t ReceiverEnd(const TokenList& t, size_t i);
size_t MatchForward(const TokenList& t, size_t open, const char* o, const char* c);
size_t MatchBack(const TokenList& t, size_t close, const char* o, const char* c);
// The closing ">" of template arguments opening at open, when what lies between
// can only be a type list; npos otherwise ("a < b && c > d").
size_t TemplateClose(const TokenList& t, size_t open);
// The comma-separated parts of [begin, end) outside brackets, as ranges.
std::vector<std::pair<size_t, size_t>> SplitArguments(const TokenList& t, size_t begin, size_t end);

// A statement is the token indices from its start to its ";" or "{".
// The index past a leading "template <...>".
size_t SkipTemplate(const TokenList& t, const std::vector<size_t>& st);
bool IsAccessLabel(const TokenList& t, const std::vector<size_t>& st);
// The position in st of the "(" that opens a function's parameters, when the
// statement is a function's head: a "(" before any "=" ("operator=(" counts).
size_t FunctionParen(const TokenList& t, const std::vector<size_t>& st, size_t from);

// What a "{" at namespace or class scope opens.
enum class Brace { Namespace, Class, Function, Other };
Brace KindOf(const TokenList& t, const std::vector<size_t>& st);
// A class head's name, and its bases into bases (when given).
std::string ClassHead(const TokenList& t, const std::vector<size_t>& st, std::set<std::string>* bases);

}  // namespace syntax
}  // namespace layers
