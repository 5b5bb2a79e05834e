// A settings file in the private-profile text format: "[SECTION]" headers and
// "Key=Value" lines. Section and key names match without regard to case. Every
// read goes to the file, every write rewrites it in place of the old one, and
// lines the format does not know (comments, blank lines, stray text) are kept.
#pragma once

#include <string>

class IniFile {
public:
    void SetPath(const std::string& path) { m_path = path; }

    // True and the value when the key exists (surrounding blanks and one pair of
    // double quotes taken off).
    bool Get(const std::string& section, const std::string& key, std::string& value) const;
    // Writes the key (adding the section when missing). False when the file
    // cannot be written or no path is set.
    bool Set(const std::string& section, const std::string& key, const std::string& value);

    int GetInt(const std::string& section, const std::string& key, int def) const;
    float GetFloat(const std::string& section, const std::string& key, float def) const;
    bool SetInt(const std::string& section, const std::string& key, int value);
    bool SetFloat(const std::string& section, const std::string& key, float value);

private:
    std::string m_path;
};
