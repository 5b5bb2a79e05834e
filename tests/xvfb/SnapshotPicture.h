// Snapshots of the virtual window as pictures to count pixels in, and what
// every window test starts with: a display check, and a temporary folder that
// serves as the storage folder with the real backend chosen.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/TempDir.h"

struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;  // 0xAARRGGBB, rows from the top

    uint32_t At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
    static int Red(uint32_t c) { return int((c >> 16) & 0xFF); }
    static int Green(uint32_t c) { return int((c >> 8) & 0xFF); }
    static int Blue(uint32_t c) { return int(c & 0xFF); }

    // Pixels of the rectangle (clipped to the picture) for which test(r, g, b) holds.
    template <class Test>
    int Count(int x1, int y1, int x2, int y2, Test test) const {
        int n = 0;
        for (int y = std::max(0, y1); y < std::min(h, y2); ++y)
            for (int x = std::max(0, x1); x < std::min(w, x2); ++x) {
                const uint32_t c = At(x, y);
                n += test(Red(c), Green(c), Blue(c)) ? 1 : 0;
            }
        return n;
    }
};

// Reads and decodes a PNG file; false when it cannot (why in *reason, when given).
bool LoadPng(const std::string& path, Picture& pic, std::string* reason = nullptr);

// True when an X display is set.
bool HasDisplay();

// A temporary folder as the storage folder (XDG_DATA_HOME), with the headless
// backend switched off.
struct WindowFolder {
    WindowFolder() : headless("DROVALIN_HEADLESS", nullptr), xdg("XDG_DATA_HOME", dir.Path().c_str()) {}
    TempDir dir;
    ScopedEnv headless;
    ScopedEnv xdg;
};
