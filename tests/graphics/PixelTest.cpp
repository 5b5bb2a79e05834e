#include <gtest/gtest.h>

#include <vector>

#include "GraphicsTestUtil.h"
#include "graphics/PixelHitTest.h"
#include "graphics/TextureMask.h"
#include "graphics/hgeSprite.h"

using ZOLTFramework::TextureMask;

namespace {

class PixelTest : public ::testing::Test {
protected:
    void SetUp() override { hge = gfxtest::Engine(); }
    void TearDown() override {
        for (HTEXTURE t : textures) hge->Texture_Free(t);
    }
    HTEXTURE Texture(int w, int h, const std::vector<uint32_t>& px) {
        HTEXTURE t = hge->Texture_Load(dir.WritePng("t" + std::to_string(textures.size()) + ".png", w, h, px).c_str());
        EXPECT_NE(t, 0u);
        textures.push_back(t);
        return t;
    }
    uint32_t Pixel(HTEXTURE t, int x, int y) {
        DWORD* p = hge->Texture_Lock(t, true, x, y, 1, 1);
        EXPECT_NE(p, nullptr);
        uint32_t v = p ? *p : 0;
        hge->Texture_Unlock(t);
        return v;
    }

    gfxtest::TempDir dir;
    HGE* hge = nullptr;
    std::vector<HTEXTURE> textures;
};

}  // namespace

TEST_F(PixelTest, HitTestAtTheEdgesOfASubRectangle) {
    // 8 x 8 texture; the sprite covers (2, 3)-(6, 6): opaque except its top-left
    // texel (alpha 0) and its last column, alpha 1.
    std::vector<uint32_t> px(64, 0xFF000000);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            if (x < 2 || x >= 6 || y < 3 || y >= 6) px[y * 8 + x] = 0x00FFFFFF;  // transparent frame
    px[3 * 8 + 2] = 0x00123456;
    for (int y = 3; y < 6; y++) px[y * 8 + 5] = 0x01FFFFFF;
    HTEXTURE tex = Texture(8, 8, px);

    hgeSprite spr(tex, 2, 3, 4, 3);
    spr.SetHotSpot(1, 1);
    EXPECT_FALSE(HitTestTexturePixel(&spr, -1, -1));  // the hot spot's corner texel has alpha 0
    EXPECT_TRUE(HitTestTexturePixel(&spr, 0, 0));
    EXPECT_TRUE(HitTestTexturePixel(&spr, 2.5f, 1.9f));  // px = 3.5: the last column, alpha 1
    EXPECT_EQ(SpriteAlphaAt(&spr, 3.5f, 2.9f), 1);
    EXPECT_FALSE(HitTestTexturePixel(&spr, 3, 0));   // px = width: outside
    EXPECT_FALSE(HitTestTexturePixel(&spr, 0, 2));   // py = height: outside
    EXPECT_FALSE(HitTestTexturePixel(&spr, -1.5f, 0));
    EXPECT_EQ(SpriteAlphaAt(&spr, 0, 0), 0);
    EXPECT_EQ(SpriteAlphaAt(&spr, 1, 1), 255);
    EXPECT_EQ(SpriteAlphaAt(&spr, -0.01f, 0), -1);

    // A rectangle that runs past the texture reads nothing there.
    hgeSprite over(tex, 6, 0, 4, 4);
    EXPECT_EQ(SpriteAlphaAt(&over, 1.5f, 0), 0);
    EXPECT_EQ(SpriteAlphaAt(&over, 2.5f, 0), -1);
    hgeSprite untextured(0, 0, 0, 4, 4);
    EXPECT_FALSE(HitTestTexturePixel(&untextured, 1, 1));
    EXPECT_FALSE(HitTestTexturePixel(nullptr, 0, 0));
}

TEST_F(PixelTest, MaskCutsOutAndRestores) {
    // Target 4 x 4 of opaque red; mask 2 x 2: opaque white, opaque green-ish, a
    // transparent one and an opaque white.
    HTEXTURE target = Texture(4, 4, std::vector<uint32_t>(16, 0xFFFF0000));
    HTEXTURE maskTex = Texture(2, 2, {0xFFFFFFFF, 0xFF00FF00, 0x00FFFFFF, 0xFFFFFFFF});
    hgeSprite targetSpr(target, 0, 0, 4, 4);
    hgeSprite maskSpr(maskTex, 0, 0, 2, 2);

    TextureMask tm(&targetSpr, 0, 0);
    EXPECT_EQ(tm.GetMask(), nullptr);
    tm.SetOffset(1, 1);  // no mask yet: only stored
    EXPECT_EQ(Pixel(target, 0, 0), 0xFFFF0000u);
    tm.SetMask(&maskSpr);
    EXPECT_EQ(Pixel(target, 1, 1), 0xFFFF0000u);  // white keeps the saved pixel
    EXPECT_EQ(Pixel(target, 2, 1), 0xFF000000u);  // green tints red to black
    EXPECT_EQ(GETA(Pixel(target, 1, 2)), 0u);     // transparent mask pixel
    EXPECT_EQ(Pixel(target, 2, 2), 0xFFFF0000u);
    EXPECT_EQ(GETA(Pixel(target, 0, 0)), 0u);     // outside the mask
    EXPECT_EQ(GETA(Pixel(target, 3, 3)), 0u);

    // Moving the mask back and forth never loses the picture.
    tm.MoveBy(1, 1);
    tm.MoveBy(-2, -2);
    EXPECT_EQ(Pixel(target, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(target, 1, 0), 0xFF000000u);
    float ox, oy;
    tm.GetOffset(&ox, &oy);
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);

    // The mask's hot spot sits on the offset.
    maskSpr.SetHotSpot(1, 1);
    tm.SetOffset(3, 3);
    EXPECT_EQ(Pixel(target, 2, 2), 0xFFFF0000u);
    EXPECT_EQ(GETA(Pixel(target, 0, 0)), 0u);
}

TEST_F(PixelTest, MaskModesAndOutsidePixels) {
    HTEXTURE target = Texture(2, 1, {0xFF204060, 0xFF204060});
    HTEXTURE maskTex = Texture(1, 1, {0xFFFF0000});
    hgeSprite targetSpr(target, 0, 0, 2, 1);
    hgeSprite maskSpr(maskTex, 0, 0, 1, 1);

    // Mode 1: alpha from the grey level (255 + 0 + 0) / 3 = 85; outside kept.
    TextureMask tm(&targetSpr, 1, 1);
    tm.SetMask(&maskSpr);
    EXPECT_EQ(Pixel(target, 0, 0), 0x55204060u);
    EXPECT_EQ(Pixel(target, 1, 0), 0xFF204060u);

    // Same mode again: nothing happens (the texture stays as it is).
    hge->Texture_Lock(target, false, 0, 0, 1, 1)[0] = 0x11111111;
    hge->Texture_Unlock(target);
    tm.SetMode(1);
    EXPECT_EQ(Pixel(target, 0, 0), 0x11111111u);
    tm.SetMode(0);
    EXPECT_EQ(Pixel(target, 0, 0), 0xFF200000u);  // saved pixel AND red mask
}

TEST_F(PixelTest, MaskSnapshotStaysWithinItsRectangle) {
    HTEXTURE target = Texture(4, 4, std::vector<uint32_t>(16, 0xFF0000FF));
    HTEXTURE maskTex = Texture(1, 1, {0xFFFFFFFF});
    hgeSprite targetSpr(target, 0, 0, 2, 2);
    hgeSprite maskSpr(maskTex, 0, 0, 1, 1);
    TextureMask tm(&targetSpr, 0, 0);
    // The sprite grows after the snapshot: only the snapshot's rectangle is rewritten.
    targetSpr.SetTextureRect(0, 0, 4, 4);
    tm.SetMask(&maskSpr);
    EXPECT_EQ(Pixel(target, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(GETA(Pixel(target, 1, 1)), 0u);
    EXPECT_EQ(Pixel(target, 3, 3), 0xFF0000FFu);

    // A rectangle past the texture is cut to it: (2, 2)-(4, 4) is rewritten.
    hgeSprite past(target, 2, 2, 8, 8);
    TextureMask cut(&past, 0, 0);
    cut.SetMask(&maskSpr);
    EXPECT_EQ(Pixel(target, 2, 2), 0xFF0000FFu);
    EXPECT_EQ(GETA(Pixel(target, 3, 3)), 0u);
    // One wholly outside, or without a texture, has nothing to rewrite.
    hgeSprite outside(target, 10, 10, 2, 2);
    TextureMask none(&outside, 0, 0);
    none.SetMask(&maskSpr);
    EXPECT_EQ(Pixel(target, 2, 2), 0xFF0000FFu);
    EXPECT_EQ(GETA(Pixel(target, 3, 3)), 0u);
    hgeSprite bare(0, 0, 0, 2, 2);
    TextureMask noTexture(&bare, 0, 0);
    noTexture.SetMask(&maskSpr);
    EXPECT_GT(TextureMask::ReadTimeStampCounter(), 0u);
}
