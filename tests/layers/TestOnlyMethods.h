// The rule that product code keeps no function only tests call: tests reach the
// game through its public operations, FindChild, what is drawn, log rows and
// saved files. This reads the C++ text (no compiler, see CodeModel.h): the
// functions declared in headers under src/ (member functions of class bodies and
// free functions; less constructors, destructors, operators and overrides), and
// every use of their names in every function body and initializer of src/,
// bench/, fuzz/, tools/ (product) and tests/, each use with the class it belongs
// to where the text says it. A function is test-only when tests use it and the
// product does not: no product use resolves to it and no product use of its name
// is left without a class (such a use counts for every function of that name, so
// a function the scan cannot tell apart is never reported wrongly, and may hide).
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace layers {

// Each function declared in a header under root/src that only tests use, as
// "header Class::Name" ("scene/PlayField.h PlayField::GetScore") or "header Name"
// for a free function, sorted.
std::vector<std::string> FindTestOnlyMethods(const std::string& root);

// The lines of a list file, each split into its first word and the rest;
// "#" starts a comment, blank lines are skipped.
std::vector<std::pair<std::string, std::string>> ReadList(const std::string& path);

// The allowed keys of the allow-list, "header:Name" for each name of a
// "header:Class::Name,Name" entry; an entry without its header gives the key as it
// stands, which CompareWithLists reports.
std::set<std::string> AllowedKeys(const std::vector<std::pair<std::string, std::string>>& list);

// What the found entries break: a new one neither allowed ("header:Name") nor
// in the baseline (by entry); a baseline or allowed entry no longer found; an
// allowed entry that names no header.
std::vector<std::string> CompareWithLists(const std::vector<std::string>& found, const std::set<std::string>& allowed,
                                          const std::set<std::string>& baseline);

}  // namespace layers
