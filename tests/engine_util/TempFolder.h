// A fresh folder under /tmp for one test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <ftw.h>
#include <unistd.h>

class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/drovalin_util_XXXXXX";
        if (mkdtemp(name)) m_path = std::string(name) + "/";
    }
    ~TempFolder() {
        if (!m_path.empty())
            nftw(m_path.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
                 FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing "/".
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

inline void WriteAll(const std::string& path, const std::string& data) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << data;
}

inline bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

inline std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}

inline bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
