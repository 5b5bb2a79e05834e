// File and text checks for the tests of this folder, beside the shared ones
// of support/TestFiles.h.
#pragma once

#include <string>

#include <unistd.h>

#include "support/TestFiles.h"

inline bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

inline bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
