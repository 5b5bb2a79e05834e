// A scratch folder for targets whose readers take a file name: created once per
// run (in memory when /dev/shm exists), removed at exit. The HTML log is turned
// off, so rows cost nothing.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"

inline const std::string& FuzzFolder() {
    // Never destroyed: the clean-up at exit still needs the name.
    static const std::string& folder = *new std::string([] {
        std::string pattern = FileSystem::DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp";
        pattern += "/drovalin-fuzz-XXXXXX";
        const char* made = mkdtemp(&pattern[0]);
        const std::string path = made ? std::string(made) + "/" : std::string("/tmp/");
        if (made) std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(FuzzFolder(), ec);
        });
        HtmlLog::Instance()->Open("");
        return path;
    }());
    return folder;
}

// Writes the bytes to a file of that name in the scratch folder; returns its path.
inline std::string FuzzFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = FuzzFolder() + name;
    FileSystem::WriteFileAtomic(path, std::string(reinterpret_cast<const char*>(data), size));
    return path;
}
