// The action table ("data/Database/Actions.xml"): groups with a "type", each
// entry a "name" with an optional "path". A condition's action (type, name)
// is replaced by the entry's path, or by the name when the entry has none.
#pragma once

#include <map>
#include <string>

class ActionTable {
public:
    // Reads the file; a missing or unreadable file leaves the table empty.
    // Groups or entries without their required attribute are skipped with an
    // Error row.
    void Load(const std::string& path);
    // The text for (type, name), or the name itself when there is no entry.
    std::string Resolve(const std::string& type, const std::string& name) const;

private:
    std::map<std::string, std::map<std::string, std::string>> entries;
};
