#include <gtest/gtest.h>

#include "platform/ScreenFit.h"

TEST(ScreenFit, SameSizeIsOneToOne) {
    const ScreenFit f = ScreenFit::Compute(800, 600, 800, 600);
    EXPECT_FLOAT_EQ(f.scale, 1);
    EXPECT_EQ(f.left, 0);
    EXPECT_EQ(f.top, 0);
    EXPECT_EQ(f.width, 800);
    EXPECT_EQ(f.height, 600);
}

TEST(ScreenFit, WideScreenGetsBarsLeftAndRightAndMouseKeepsScreenUnits) {
    const ScreenFit f = ScreenFit::Compute(800, 600, 1920, 1080);
    EXPECT_FLOAT_EQ(f.scale, 1.8f);
    EXPECT_EQ(f.left, 240);
    EXPECT_EQ(f.top, 0);
    EXPECT_EQ(f.width, 1440);
    float x = 0, y = 0;
    f.ToScreen(240 + 1.8f * 400, 1.8f * 300, x, y);
    EXPECT_NEAR(x, 400, 1e-3);
    EXPECT_NEAR(y, 300, 1e-3);
    f.ToScreen(100, 10, x, y);
    EXPECT_LT(x, 0) << "on the bar left of the screen";
    float px = 0, py = 0;
    f.ToDrawable(800, 600, px, py);
    EXPECT_NEAR(px, 1680, 1e-3);
    EXPECT_NEAR(py, 1080, 1e-3);
}

TEST(ScreenFit, ClipRectanglesScaleWithTheWindow) {
    const ScreenFit f = ScreenFit::Compute(800, 600, 1024, 768);
    int x, y, w, h;
    f.RectToDrawable(100, 50, 200, 300, x, y, w, h);
    EXPECT_EQ(x, 128);
    EXPECT_EQ(y, 64);
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 384);
    const ScreenFit tall = ScreenFit::Compute(800, 600, 800, 1000);
    EXPECT_EQ(tall.top, 200);
    tall.RectToDrawable(0, 0, 800, 600, x, y, w, h);
    EXPECT_EQ(y, 200);
    EXPECT_EQ(h, 600);
}

TEST(ScreenFit, DegenerateSizesStaySane) {
    const ScreenFit f = ScreenFit::Compute(800, 600, 0, 0);
    EXPECT_GT(f.scale, 0);
    EXPECT_GE(f.width, 0);
}
