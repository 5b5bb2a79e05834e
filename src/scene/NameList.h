// Lists of names the play field keeps (task names, object names, conditions).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace NameList {

inline bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace NameList
