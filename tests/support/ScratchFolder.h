// A fresh folder under /tmp for one test, removed with everything in it, and
// small file helpers.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <ftw.h>
#include <unistd.h>

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

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& data) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << data;
}

inline size_t CountOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}
