// The inputs a fuzz target once stopped on, kept in fuzz/regressions/<target>/.
#pragma once

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

inline std::string RegressionFolder(const std::string& target) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    return std::string(source ? source : "..") + "/fuzz/regressions/" + target + "/";
}

// Full paths of the kept inputs of a fuzz target, in name order.
inline std::vector<std::string> Regressions(const std::string& target) {
    std::vector<std::string> paths;
    const std::string folder = RegressionFolder(target);
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (struct dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.') paths.push_back(folder + entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}
