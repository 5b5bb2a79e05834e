// The pictures as the game holds them, for the content checks: a fixture with
// the bundled resource script loaded on the headless engine, and the texels of
// a whole texture, a sprite's rectangle or one frame of an animation, copied
// once through the engine's lock (0xAARRGGBB, rows from the top).
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/hgeResourceManager.h"
#include "platform/hge.h"
#include "support/HeadlessEngine.h"

class hgeAnimation;
class hgeSprite;

namespace contenttest {

// The sprite or animation is w x h with its hot spot at (hotX, hotY).
template <class Picture>
void ExpectFrame(const Picture* picture, float w, float h, float hotX, float hotY) {
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), w);
    EXPECT_EQ(picture->GetHeight(), h);
    EXPECT_EQ(picture->GetHotSpotX(), hotX);
    EXPECT_EQ(picture->GetHotSpotY(), hotY);
}

// The headless engine with "data\Resource\main.res" read as the game reads it;
// the resources go before the engine.
class ResourceTest : public HeadlessEngineTest {
protected:
    void SetUp() override {
        HeadlessEngineTest::SetUp();
        rm = std::make_unique<hgeResourceManager>("data\\Resource\\main.res");
    }
    void TearDown() override {
        rm.reset();
        HeadlessEngineTest::TearDown();
    }

    std::unique_ptr<hgeResourceManager> rm;
};

struct Texels {
    int w = 0, h = 0;
    std::vector<DWORD> px;

    // Empty (w = h = 0) when the texture is missing or cannot be locked.
    static Texels Of(HGE* hge, HTEXTURE tex);
    static Texels Of(HGE* hge, const hgeSprite& sprite);
    // Frame n of an animation, stepped to as the animation itself steps.
    static Texels Of(HGE* hge, const hgeAnimation& animation, int frame);

    bool Ok() const { return w > 0 && h > 0; }
    int W() const { return w; }
    int H() const { return h; }
    DWORD At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
    int A(int x, int y) const { return int(At(x, y) >> 24); }
    int R(int x, int y) const { return int(At(x, y) >> 16) & 255; }
    int G(int x, int y) const { return int(At(x, y) >> 8) & 255; }
    int B(int x, int y) const { return int(At(x, y)) & 255; }
    float Luma(int x, int y) const { return 0.299f * R(x, y) + 0.587f * G(x, y) + 0.114f * B(x, y); }
    bool Opaque(int x, int y) const { return A(x, y) >= 250; }
    bool Clear(int x, int y) const { return A(x, y) < 16; }

    // Texels of the rectangle (clipped to the picture) for which test(r, g, b) holds.
    template <class Test>
    int Count(int x1, int y1, int x2, int y2, Test test) const {
        int n = 0;
        for (int y = std::max(0, y1); y < std::min(h, y2); ++y)
            for (int x = std::max(0, x1); x < std::min(w, x2); ++x) n += test(R(x, y), G(x, y), B(x, y)) ? 1 : 0;
        return n;
    }
    // Texels with at least this alpha.
    int CountAlpha(int minAlpha) const;

    // Share of the fully opaque 16 x 16 blocks that are flat: every channel
    // spans fewer than 4 levels over the block's texels, an unpainted surface
    // with neither grain nor light and shade. 0 when no block is opaque.
    double FlatShare() const;
    // Share of the fully opaque 16 x 16 blocks without light and shade: the
    // means of their 4 x 4 cells (grain averaged out) span fewer than 4 levels
    // in every channel. Grain over flat paint counts as flat here.
    double UnshadedShare() const;
};

}  // namespace contenttest
