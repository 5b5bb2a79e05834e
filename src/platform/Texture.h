// One texture: its size, the CPU copy of its ARGB texels (alpha in the top
// byte) and the state of a lock. A drawing backend may keep its own copy on the
// graphics card under gpuName.
#pragma once

#include <cstdint>
#include <vector>

struct Texture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height, row by row

    bool locked = false;
    bool lockWrites = false;  // some lock since the last unlock was not read-only
    int lockLeft = 0, lockTop = 0, lockWidth = 0, lockHeight = 0;

    unsigned gpuName = 0;
};
