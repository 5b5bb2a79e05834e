#include "platform/IniFile.h"

#include <strings.h>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/FileSystem.h"

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) { return ::strcasecmp(a.c_str(), b.c_str()) == 0; }

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = nl + 1;
    }
    return lines;
}

// "[NAME]" gives true and the trimmed name.
bool SectionHeader(const std::string& line, std::string& name) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

// "Key=Value" gives true, the trimmed key and the raw value after "=".
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') return false;
    const size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = t.substr(eq + 1);
    return !key.empty();
}

std::string CleanValue(const std::string& raw) {
    std::string v = Trim(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

bool IniFile::Get(const std::string& section, const std::string& key, std::string& value) const {
    if (m_path.empty()) return false;
    std::string text;
    if (!FileSystem::ReadFile(m_path, text)) return false;
    bool inSection = false;
    for (const std::string& line : SplitLines(text)) {
        std::string name, k, v;
        if (SectionHeader(line, name))
            inSection = SameName(name, section);
        else if (inSection && KeyLine(line, k, v) && SameName(k, key)) {
            value = CleanValue(v);
            return true;
        }
    }
    return false;
}

bool IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
    if (m_path.empty() || section.empty() || key.empty()) return false;
    std::string text;
    FileSystem::ReadFile(m_path, text);  // a missing file starts empty
    std::vector<std::string> lines = SplitLines(text);

    const std::string newLine = key + "=" + value;
    int sectionStart = -1;
    int lastInSection = -1;  // last non-blank line of the section
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string name, k, v;
        if (SectionHeader(lines[i], name)) {
            if (sectionStart >= 0) break;  // the section ended without the key
            if (SameName(name, section)) {
                sectionStart = int(i);
                lastInSection = int(i);
            }
        } else if (sectionStart >= 0) {
            if (KeyLine(lines[i], k, v) && SameName(k, key)) {
                lines[i] = newLine;
                done = true;
            } else if (!Trim(lines[i]).empty()) {
                lastInSection = int(i);
            }
        }
    }
    if (!done) {
        if (sectionStart >= 0) {
            lines.insert(lines.begin() + lastInSection + 1, newLine);
        } else {
            if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back("");
            lines.push_back("[" + section + "]");
            lines.push_back(newLine);
        }
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return FileSystem::WriteFileAtomic(m_path, out);
}

int IniFile::GetInt(const std::string& section, const std::string& key, int def) const {
    std::string v;
    if (!Get(section, key, v) || v.empty()) return def;
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(v.c_str(), &end, 10);
    // A number an int cannot hold is as good as none.
    if (end == v.c_str() || errno == ERANGE || n > INT_MAX || n < INT_MIN) return def;
    return int(n);
}

float IniFile::GetFloat(const std::string& section, const std::string& key, float def) const {
    std::string v;
    if (!Get(section, key, v) || v.empty()) return def;
    char* end = nullptr;
    const double d = std::strtod(v.c_str(), &end);
    // Beyond the float range (or not a number) the conversion has no value.
    if (end == v.c_str() || !(d >= -FLT_MAX && d <= FLT_MAX)) return def;
    return float(d);
}

bool IniFile::SetInt(const std::string& section, const std::string& key, int value) {
    return Set(section, key, std::to_string(value));
}

bool IniFile::SetFloat(const std::string& section, const std::string& key, float value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%f", double(value));
    return Set(section, key, buf);
}
