// The source tree the layer tests read, and planted trees for their self-tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace layers {

// The project's root: DROVALIN_SOURCE_DIR (set by CTest), else the parent folder.
inline std::string SourceRoot() {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    return source ? source : "..";
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

}  // namespace layers
