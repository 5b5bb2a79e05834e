// The rule that product code keeps no method only tests call: tests reach the
// game through its public operations, FindChild, what is drawn, log rows and
// saved files. This reads the C++ text (no compiler): the member functions of
// class bodies and the free functions declared in headers under src/, less
// constructors, destructors, operators and overrides, and looks for their names
// elsewhere. Names are matched as words, so a name used anywhere in product
// code counts as used, whichever class it belongs to.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace layers {

// Each function declared in a header under root/src whose name appears in no
// file of src/, bench/, fuzz/ or tools/ except at its declarations and
// definitions, and appears in tests/; as "header name"
// ("scene/PlayField.h GetScore"), sorted.
std::vector<std::string> FindTestOnlyMethods(const std::string& root);

// The lines of a list file, each split into its first word and the rest;
// "#" starts a comment, blank lines are skipped.
std::vector<std::pair<std::string, std::string>> ReadList(const std::string& path);

// The allowed keys of the allow-list, "header:Name" for each name of a
// "header:Name,Name" entry; an entry without its header gives the key as it
// stands, which CompareWithLists reports.
std::set<std::string> AllowedKeys(const std::vector<std::pair<std::string, std::string>>& list);

// What the found entries break: a new one neither allowed ("header:Name") nor
// in the baseline (by entry); a baseline or allowed entry no longer found; an
// allowed entry that names no header.
std::vector<std::string> CompareWithLists(const std::vector<std::string>& found, const std::set<std::string>& allowed,
                                          const std::set<std::string>& baseline);

}  // namespace layers
