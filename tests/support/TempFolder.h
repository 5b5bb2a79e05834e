// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "drovalin-XXXXXX").string();
        if (char* made = mkdtemp(&pattern[0])) m_path = made;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The full name of a file in the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }

    // Writes a file in the folder and returns its full name.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = File(name);
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string m_path;
};
