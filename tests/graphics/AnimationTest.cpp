#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GraphicsTestUtil.h"
#include "graphics/hgeAnimation.h"

namespace {

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        hge = gfxtest::Engine();
        tex = hge->Texture_Load(dir.WritePng("frames.png", 256, 256, {}).c_str());
        ASSERT_NE(tex, 0u);
    }
    void TearDown() override { hge->Texture_Free(tex); }

    // Top-left texel of the frame on show (the texture is 256 x 256).
    static std::pair<float, float> Origin(hgeAnimation& a) {
        hgeQuad q = gfxtest::DrawnQuad([&] { a.Render(0, 0); });
        return {std::round(q.v[0].tx * 256), std::round(q.v[0].ty * 256)};
    }
    // The frame on show when the frames are 32 wide from the left border.
    static int Frame(hgeAnimation& a) { return int(Origin(a).first) / 32; }

    // Frames shown by n updates of one frame time each.
    static std::vector<int> Run(hgeAnimation& a, int n) {
        std::vector<int> shown;
        for (int i = 0; i < n; i++) {
            a.Update(0.1f);
            shown.push_back(a.IsPlaying() ? Frame(a) : -1);
        }
        return shown;
    }

    gfxtest::TempDir dir;
    HGE* hge = nullptr;
    HTEXTURE tex = 0;
};

}  // namespace

TEST_F(AnimationTest, FramesRunOnToFurtherRowsFromTheLeftBorder) {
    hgeAnimation a(tex, 10, 10, 128, 0, 64, 32);
    EXPECT_EQ(Origin(a), std::make_pair(128.0f, 0.0f));
    a.SetFrame(1);
    EXPECT_EQ(Origin(a), std::make_pair(192.0f, 0.0f));
    a.SetFrame(2);
    EXPECT_EQ(Origin(a), std::make_pair(0.0f, 32.0f));
    a.SetFrame(5);
    EXPECT_EQ(Origin(a), std::make_pair(192.0f, 32.0f));
    a.SetFrame(6);
    EXPECT_EQ(Origin(a), std::make_pair(0.0f, 64.0f));
    // Frame numbers wrap both ways.
    a.SetFrame(12);
    EXPECT_EQ(Origin(a), std::make_pair(0.0f, 32.0f));
    a.SetFrame(-1);
    EXPECT_EQ(Origin(a), std::make_pair(192.0f, 64.0f));
}

TEST_F(AnimationTest, PlayModes) {
    hgeAnimation a(tex, 3, 10, 0, 0, 32, 32);

    // The first update after Play only starts the clock.
    a.SetMode(HGEANIM_FWD | HGEANIM_LOOP);
    a.Play();
    a.Update(5.0f);
    EXPECT_EQ(Frame(a), 0);
    EXPECT_EQ(Run(a, 4), (std::vector<int>{1, 2, 0, 1}));

    a.SetMode(HGEANIM_FWD | HGEANIM_NOLOOP);
    a.Play();
    a.Update(0);
    EXPECT_EQ(Run(a, 3), (std::vector<int>{1, 2, -1}));
    EXPECT_EQ(Frame(a), 2);

    a.SetMode(HGEANIM_REV | HGEANIM_NOLOOP);
    a.Play();
    EXPECT_EQ(Frame(a), 2);
    a.Update(0);
    EXPECT_EQ(Run(a, 3), (std::vector<int>{1, 0, -1}));

    a.SetMode(HGEANIM_REV | HGEANIM_LOOP);
    a.Play();
    a.Update(0);
    EXPECT_EQ(Run(a, 4), (std::vector<int>{1, 0, 2, 1}));

    // Ping-pong once: forward, turn at the last frame, stop below frame 0.
    a.SetMode(HGEANIM_FWD | HGEANIM_PINGPONG);
    a.Play();
    a.Update(0);
    EXPECT_EQ(Run(a, 5), (std::vector<int>{1, 2, 1, 0, -1}));

    a.SetMode(HGEANIM_FWD | HGEANIM_PINGPONG | HGEANIM_LOOP);
    a.Play();
    a.Update(0);
    EXPECT_EQ(Run(a, 6), (std::vector<int>{1, 2, 1, 0, 1, 2}));

    // Reverse ping-pong once: back, turn at frame 0, stop at the end.
    a.SetMode(HGEANIM_REV | HGEANIM_PINGPONG);
    a.Play();
    a.Update(0);
    EXPECT_EQ(Run(a, 5), (std::vector<int>{1, 0, 1, 2, -1}));
}

TEST_F(AnimationTest, DegenerateSetupsNeitherDivideByZeroNorHang) {
    // No frames, no width, a frame wider than the texture.
    hgeAnimation none(tex, 0, 10, 0, 0, 0, 0);
    EXPECT_EQ(none.GetFrames(), 1);
    none.SetFrame(3);
    EXPECT_EQ(Origin(none), std::make_pair(0.0f, 0.0f));

    // Each frame on a row of its own.
    hgeAnimation wide(tex, 4, 10, 0, 0, 300, 16);
    wide.SetFrame(3);
    EXPECT_EQ(Origin(wide), std::make_pair(0.0f, 64.0f));

    // fps of 0 or below: plays but never advances, and Update returns.
    for (float fps : {0.0f, -5.0f, NAN}) {
        hgeAnimation still(tex, 4, fps, 0, 0, 32, 32);
        still.Play();
        still.Update(0.1f);
        still.Update(1000.0f);
        EXPECT_EQ(Frame(still), 0);
        EXPECT_TRUE(still.IsPlaying());
    }

    // A very long pause is quick and lands on a valid frame.
    hgeAnimation fast(tex, 5, 1000000.0f, 0, 0, 32, 32);
    fast.Play();
    fast.Update(0);
    fast.Update(100000.0f);
    EXPECT_GE(Frame(fast), 0);
    EXPECT_LT(Frame(fast), 5);
}
