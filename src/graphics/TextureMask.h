// Rewrites a sprite's texture through a movable mask sprite: the picture shows
// only where the mask lets it through (mode 0: cut-out by the mask's alpha, the
// mask's colour tinting it) or takes the mask's brightness as its alpha (mode 1).
// The target's pixels are kept as they were at construction, so moving the mask
// back and forth never loses the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/hge.h"

class hgeSprite;

namespace ZOLTFramework {

class TextureMask {
public:
    // Snapshot of the target's texture rectangle (cut to the texture). A
    // rectangle that cannot be read leaves an empty snapshot: Apply then does
    // nothing.
    TextureMask(hgeSprite* target, int mode, int outsideMode);
    virtual ~TextureMask();
    TextureMask(const TextureMask&) = delete;
    TextureMask& operator=(const TextureMask&) = delete;

    // Sets the mask sprite (not owned) and applies it.
    void SetMask(hgeSprite* mask);
    hgeSprite* GetMask() const { return mask; }

    void GetOffset(float* x, float* y) const { *x = offsetX; *y = offsetY; }
    int GetMode() const { return mode; }
    // Where the mask's hot spot lies, in pixels from the top-left corner of the
    // target's texture rectangle. Re-applies the mask when one is set.
    void SetOffset(float x, float y);
    void MoveBy(float dx, float dy) { SetOffset(offsetX + dx, offsetY + dy); }
    void SetMode(int newMode);

    // Rewrites the target texture from the snapshot and the mask.
    void Apply();

    static uint64_t ReadTimeStampCounter();

private:
    HGE* hge;
    hgeSprite* target;
    hgeSprite* mask = nullptr;
    float offsetX = 0, offsetY = 0;
    std::vector<DWORD> savedPixels;
    int savedX = 0, savedY = 0, savedW = 0, savedH = 0;  // the snapshot's rectangle
    int mode;
    int outsideMode;
};

}  // namespace ZOLTFramework
