#include "graphics/TextureMask.h"

#include <algorithm>
#include <chrono>

#include "graphics/hgeSprite.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace ZOLTFramework {

namespace {

// The sprite's texture rectangle as whole texels, cut to the texture. False
// when nothing of it lies on the texture.
bool IntegerRect(HGE* hge, const hgeSprite* spr, int* x, int* y, int* w, int* h) {
    HTEXTURE tex = spr->GetTexture();
    if (!tex) return false;
    float fx, fy, fw, fh;
    spr->GetTextureRect(&fx, &fy, &fw, &fh);
    int texW = hge->Texture_GetWidth(tex), texH = hge->Texture_GetHeight(tex);
    // Held well inside int range before the casts.
    auto toInt = [](float v) { return (int)std::max(-1.0e8f, std::min(v, 1.0e8f)); };
    *x = toInt(fx);
    *y = toInt(fy);
    *w = std::min(toInt(fw), texW - *x);
    *h = std::min(toInt(fh), texH - *y);
    return *x >= 0 && *y >= 0 && *w > 0 && *h > 0;
}

}  // namespace

TextureMask::TextureMask(hgeSprite* tgt, int m, int outside)
    : hge(hgeCreate(HGE_VERSION)), target(tgt), mode(m), outsideMode(outside) {
    if (!target || !IntegerRect(hge, target, &savedX, &savedY, &savedW, &savedH)) {
        savedW = savedH = 0;
        return;
    }
    HTEXTURE tex = target->GetTexture();
    DWORD* pixels = hge->Texture_Lock(tex, true, savedX, savedY, savedW, savedH);
    if (!pixels) {
        savedW = savedH = 0;
        return;
    }
    int pitch = hge->Texture_GetWidth(tex);
    savedPixels.resize((size_t)savedW * savedH);
    for (int y = 0; y < savedH; y++)
        std::copy(pixels + (size_t)y * pitch, pixels + (size_t)y * pitch + savedW,
                  savedPixels.begin() + (size_t)y * savedW);
    hge->Texture_Unlock(tex);
}

TextureMask::~TextureMask() { hge->Release(); }

void TextureMask::SetMask(hgeSprite* m) {
    mask = m;
    if (mask) Apply();
}

void TextureMask::SetOffset(float x, float y) {
    if (x == offsetX && y == offsetY) return;
    offsetX = x;
    offsetY = y;
    if (mask) Apply();
}

void TextureMask::SetMode(int newMode) {
    if (newMode == mode) return;
    mode = newMode;
    if (mask) Apply();
}

void TextureMask::Apply() {
    if (!mask || savedPixels.empty()) return;

    int mx, my, mw, mh;
    if (!IntegerRect(hge, mask, &mx, &my, &mw, &mh)) return;
    const float relX = offsetX - mask->GetHotSpotX();
    const float relY = offsetY - mask->GetHotSpotY();

    HTEXTURE maskTex = mask->GetTexture();
    HTEXTURE targetTex = target->GetTexture();
    DWORD* maskPixels = hge->Texture_Lock(maskTex, true, mx, my, mw, mh);
    if (!maskPixels) return;
    // The snapshot's rectangle, not the sprite's current one: the sprite may have
    // been given a larger rectangle since.
    DWORD* targetPixels = hge->Texture_Lock(targetTex, false, savedX, savedY, savedW, savedH);
    if (!targetPixels) {
        hge->Texture_Unlock(maskTex);
        return;
    }
    const int maskPitch = hge->Texture_GetWidth(maskTex);
    const int targetPitch = hge->Texture_GetWidth(targetTex);

    for (int x = 0; x < savedW; x++) {
        for (int y = 0; y < savedH; y++) {
            DWORD& p = targetPixels[(size_t)y * targetPitch + x];
            const DWORD s = savedPixels[(size_t)y * savedW + x];
            const bool inside = relX <= x && x <= relX + mw - 1 && relY <= y && y <= relY + mh - 1;
            if (!inside) {
                if (outsideMode == 0) p &= 0x00FFFFFF;
                continue;
            }
            int col = (int)(x - relX), row = (int)(y - relY);
            col = std::min(std::max(col, 0), mw - 1);
            row = std::min(std::max(row, 0), mh - 1);
            const DWORD m = maskPixels[(size_t)row * maskPitch + col];
            if (mode == 0 && GETA(m) != 0) {
                p = s & m;
            } else if (mode == 1 && (m & 0x00FFFFFF) != 0) {
                p = SETA(p, (GETR(m) + GETG(m) + GETB(m)) / 3);
            } else {
                p &= 0x00FFFFFF;
            }
        }
    }

    hge->Texture_Unlock(targetTex);
    hge->Texture_Unlock(maskTex);
}

uint64_t TextureMask::ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return (uint64_t)std::chrono::steady_clock::now().time_since_epoch().count();
#endif
}

}  // namespace ZOLTFramework
