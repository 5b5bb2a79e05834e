// Helpers of the graphics tests: one headless engine for the whole program, a
// temporary folder per test, and small files (textures, fonts, scripts) in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/hge.h"

namespace gfxtest {

// The engine interface, started once for the test program.
HGE* Engine();

// A fresh temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }
    // Writes the bytes; returns the full path.
    std::string Write(const std::string& name, const std::string& data) const;
    // Writes a PNG of width x height ARGB pixels, row by row; returns the path.
    std::string WritePng(const std::string& name, int width, int height, const std::vector<uint32_t>& argb) const;

private:
    std::string path;
};

// The quads that draw() hands to the engine within one scene, as recorded.
std::vector<hgeQuad> Drawn(const std::function<void()>& draw);
// The one quad that draw() hands to the engine.
hgeQuad DrawnQuad(const std::function<void()>& draw);

// The engine's text log so far (System_Log lines).
std::string ReadLog();

}  // namespace gfxtest
