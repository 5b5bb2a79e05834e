#include <gtest/gtest.h>

#include <cmath>

#include "GraphicsTestUtil.h"
#include "graphics/hgeSprite.h"

namespace {

void ExpectCorner(const hgeQuad& q, int i, float x, float y) {
    EXPECT_NEAR(q.v[i].x, x, 1e-3f) << "corner " << i;
    EXPECT_NEAR(q.v[i].y, y, 1e-3f) << "corner " << i;
}

// The quad the sprite draws at the origin.
hgeQuad Drawn(hgeSprite& spr) {
    return gfxtest::DrawnQuad([&] { spr.Render(0, 0); });
}

}  // namespace

TEST(SpriteTest, CornersWithHotSpotRotationAndScale) {
    gfxtest::Engine();
    hgeSprite spr(0, 0, 0, 20, 10);
    spr.SetHotSpot(5, 2);

    hgeQuad q = gfxtest::DrawnQuad([&] { spr.Render(100, 50); });
    ExpectCorner(q, 0, 95, 48);
    ExpectCorner(q, 1, 115, 48);
    ExpectCorner(q, 2, 115, 58);
    ExpectCorner(q, 3, 95, 58);

    // Vertical scale 0 means the horizontal one.
    q = gfxtest::DrawnQuad([&] { spr.RenderEx(100, 50, 0, 2.0f); });
    ExpectCorner(q, 0, 90, 46);
    ExpectCorner(q, 2, 130, 66);

    q = gfxtest::DrawnQuad([&] { spr.RenderEx(100, 50, 0, 2.0f, 0.5f); });
    ExpectCorner(q, 0, 90, 49);
    ExpectCorner(q, 2, 130, 54);

    // A quarter turn about the hot spot: x grows downwards.
    q = gfxtest::DrawnQuad([&] { spr.RenderEx(0, 0, 1.5707963f, 1.0f); });
    ExpectCorner(q, 0, 2, -5);
    ExpectCorner(q, 1, 2, 15);
    ExpectCorner(q, 2, -8, 15);
    ExpectCorner(q, 3, -8, -5);

    hgeRect box;
    spr.GetBoundingBoxEx(0, 0, 1.5707963f, 1.0f, 1.0f, &box);
    EXPECT_NEAR(box.x1, -8, 1e-3f);
    EXPECT_NEAR(box.y1, -5, 1e-3f);
    EXPECT_NEAR(box.x2, 2, 1e-3f);
    EXPECT_NEAR(box.y2, 15, 1e-3f);

    q = gfxtest::DrawnQuad([&] { spr.RenderStretch(1, 2, 3, 4); });
    ExpectCorner(q, 0, 1, 2);
    ExpectCorner(q, 2, 3, 4);
}

TEST(SpriteTest, TextureCoordinatesAndFlips) {
    gfxtest::TempDir dir;
    HGE* hge = gfxtest::Engine();
    HTEXTURE tex = hge->Texture_Load(dir.WritePng("t.png", 64, 32, {}).c_str());
    ASSERT_NE(tex, 0u);

    hgeSprite spr(tex, 16, 8, 16, 8);
    hgeQuad q = Drawn(spr);
    EXPECT_FLOAT_EQ(q.v[0].tx, 0.25f);
    EXPECT_FLOAT_EQ(q.v[0].ty, 0.25f);
    EXPECT_FLOAT_EQ(q.v[2].tx, 0.5f);
    EXPECT_FLOAT_EQ(q.v[2].ty, 0.5f);

    spr.SetHotSpot(4, 2);
    spr.SetFlip(true, false);
    q = Drawn(spr);
    EXPECT_FLOAT_EQ(q.v[0].tx, 0.5f);
    EXPECT_FLOAT_EQ(q.v[1].tx, 0.25f);
    EXPECT_FLOAT_EQ(q.v[0].ty, 0.25f);
    EXPECT_EQ(spr.GetHotSpotX(), 4);  // the hot spot stays without the third flag

    // A new rectangle keeps the flip.
    spr.SetTextureRect(0, 0, 32, 16);
    q = Drawn(spr);
    EXPECT_FLOAT_EQ(q.v[0].tx, 0.5f);
    EXPECT_FLOAT_EQ(q.v[1].tx, 0.0f);
    EXPECT_EQ(spr.GetWidth(), 32);

    spr.SetFlip(true, true);
    q = Drawn(spr);
    EXPECT_FLOAT_EQ(q.v[0].ty, 0.5f);
    EXPECT_FLOAT_EQ(q.v[3].ty, 0.0f);
    spr.SetFlip(false, false);
    q = Drawn(spr);
    EXPECT_FLOAT_EQ(q.v[0].tx, 0.0f);
    EXPECT_FLOAT_EQ(q.v[0].ty, 0.0f);
    EXPECT_FLOAT_EQ(q.v[2].tx, 0.5f);

    // Hot-spot flip mirrors it, and taking the flip off restores it.
    spr.SetFlip(true, false, true);
    EXPECT_EQ(spr.GetHotSpotX(), 28);
    spr.SetFlip(false, false, false);
    EXPECT_EQ(spr.GetHotSpotX(), 4);

    // Without a texture the coordinates are the texels themselves.
    hgeSprite bare(0, 3, 4, 5, 6);
    EXPECT_FLOAT_EQ(Drawn(bare).v[2].tx, 8);
    EXPECT_FLOAT_EQ(Drawn(bare).v[2].ty, 10);
    // Giving it a texture keeps the rectangle in texels.
    bare.SetTexture(tex);
    EXPECT_FLOAT_EQ(Drawn(bare).v[2].tx, 8.0f / 64);
    EXPECT_FLOAT_EQ(Drawn(bare).v[2].ty, 10.0f / 32);

    hgeSprite copy(spr);
    EXPECT_EQ(copy.GetTexture(), tex);
    EXPECT_FLOAT_EQ(Drawn(copy).v[2].tx, q.v[2].tx);
    hge->Texture_Free(tex);
}

TEST(SpriteTest, ColourZAndMaskStage) {
    gfxtest::TempDir dir;
    HGE* hge = gfxtest::Engine();
    HTEXTURE mask = hge->Texture_Load(dir.WritePng("mask.png", 74, 74, {}).c_str());
    ASSERT_NE(mask, 0u);

    hgeSprite spr(0, 0, 0, 200, 100);
    spr.SetColor(0x11223344);
    spr.SetColor(0xFF000000, 2);
    spr.SetZ(0.25f);
    EXPECT_EQ(spr.GetColor(0), 0x11223344u);
    EXPECT_EQ(spr.GetColor(2), 0xFF000000u);
    EXPECT_FLOAT_EQ(Drawn(spr).v[3].z, 0.25f);

    spr.SetMaskTexture(mask, 0, 0, 74, 74);
    spr.SetMaskOrigin(37, 37);
    spr.SetMaskPos(120, 40);

    hgeQuad q = gfxtest::DrawnQuad([&] { spr.RenderEx(300, 300, 0.7f, 2.5f); });
    EXPECT_EQ(q.tex2, mask);
    EXPECT_EQ(q.stage2Mode, 2);
    EXPECT_FLOAT_EQ(q.v[2].tx2, 1.0f);

    // Whatever the placement, the offset is the mask rectangle's top-left in
    // the sprite's own texels: the mask centre sits on the mask position.
    EXPECT_FLOAT_EQ(q.tx2Offset, 83);
    EXPECT_FLOAT_EQ(q.ty2Offset, 3);
    q = Drawn(spr);
    EXPECT_FLOAT_EQ(q.tx2Offset, 83);
    EXPECT_FLOAT_EQ(q.tx2Div, 1.0f);
    hge->Texture_Free(mask);
}
