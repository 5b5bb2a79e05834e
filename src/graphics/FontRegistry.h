// The program-wide font registry: registry-build fonts loaded by name. The
// registry owns its fonts; the engine clears it at shut-down, while the platform
// interface is still alive.
#pragma once

#include <map>
#include <string>

class hgeFont;

class FontMap {
public:
    FontMap() = default;
    ~FontMap();
    FontMap(const FontMap&) = delete;
    FontMap& operator=(const FontMap&) = delete;

    // Builds a registry font from the file and stores it under the name, deleting
    // the font that held the name before. A file that cannot be loaded still
    // leaves an (empty) font there. Returns the stored font.
    hgeFont* LoadFont(const std::string& name, const std::string& filename);
    hgeFont* GetFont(const std::string& name) const;
    void Clear();

private:
    std::map<std::string, hgeFont*> fonts;
};

class FontRegistry {
public:
    static FontMap& Instance();
    static hgeFont* GetFont(const std::string& name) { return Instance().GetFont(name); }
    static void Clear() { Instance().Clear(); }
};
