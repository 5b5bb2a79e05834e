// A fresh folder under /tmp for one test, removed with everything in it, and
// small file helpers (support/TestFiles.h).
#pragma once

#include <cstdlib>
#include <string>

#include <ftw.h>
#include <unistd.h>

#include "support/TestFiles.h"

class ScratchFolder {
public:
    ScratchFolder() {
        char name[] = "/tmp/drovalin_core_XXXXXX";
        if (mkdtemp(name)) m_path = std::string(name) + "/";
    }
    ~ScratchFolder() {
        if (!m_path.empty())
            nftw(m_path.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
                 FTW_DEPTH | FTW_PHYS);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder with a trailing "/".
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};
