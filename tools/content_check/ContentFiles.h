// Helpers for the content checks: read the bundled files from the data folder
// beside the test's working folder, read a scene element's child values,
// decode pictures, list the Czech glyphs.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"

namespace contenttest {

// The value of the element's first child of that name; empty without one.
inline std::string ChildText(const XMLDocument::XMLElement& e, const std::string& name) {
    RefPtr<XMLDocument::XMLElement> c = e.FindChild(name);
    return c ? c->GetValue() : std::string();
}

inline bool ReadAll(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The Czech letters at their Windows-1250 byte codes (small, then capital).
inline const std::vector<uint8_t>& CzechCodes() {
    static const std::vector<uint8_t> codes = {
        0xE1, 0xE8, 0xEF, 0xE9, 0xEC, 0xED, 0xF2, 0xF3, 0xF8, 0x9A, 0x9D, 0xFA, 0xF9, 0xFD, 0x9E,
        0xC1, 0xC8, 0xCF, 0xC9, 0xCC, 0xCD, 0xD2, 0xD3, 0xD8, 0x8A, 0x8D, 0xDA, 0xD9, 0xDD, 0x8E};
    return codes;
}

// The scene files of "data/Scenes", in name order.
std::vector<std::string> SceneFiles();

// A trial find-all scene of these elements, written to a temporary file and
// read back as the game reads a scene file (the file is removed again).
std::unique_ptr<XMLDocument> TrialScene(const std::string& elements);

// Size of a PNG after a full decode, and its texels (R, G, B, A bytes, rows
// from the top) when asked for; false when it does not decode.
bool DecodePng(const std::string& path, int& w, int& h, std::vector<uint8_t>* rgba = nullptr);

}  // namespace contenttest
