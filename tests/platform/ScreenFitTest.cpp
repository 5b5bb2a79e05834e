#include <gtest/gtest.h>

#include "platform/ScreenFit.h"

// The screen fitted into windows of every shape: one to one, bars left and
// right or above and below, the mouse kept in screen units, clip rectangles
// scaled with the window, and sane numbers for a window of no size.
TEST(ScreenFit, FitsTheScreenIntoAnyWindow) {
    const ScreenFit same = ScreenFit::Compute(800, 600, 800, 600);
    EXPECT_FLOAT_EQ(same.scale, 1);
    EXPECT_EQ(same.left, 0);
    EXPECT_EQ(same.top, 0);
    EXPECT_EQ(same.width, 800);
    EXPECT_EQ(same.height, 600);

    const ScreenFit wide = ScreenFit::Compute(800, 600, 1920, 1080);
    EXPECT_FLOAT_EQ(wide.scale, 1.8f);
    EXPECT_EQ(wide.left, 240);
    EXPECT_EQ(wide.top, 0);
    EXPECT_EQ(wide.width, 1440);
    float sx = 0, sy = 0;
    wide.ToScreen(240 + 1.8f * 400, 1.8f * 300, sx, sy);
    EXPECT_NEAR(sx, 400, 1e-3);
    EXPECT_NEAR(sy, 300, 1e-3);
    wide.ToScreen(100, 10, sx, sy);
    EXPECT_LT(sx, 0) << "on the bar left of the screen";
    int x, y, w, h;
    wide.RectToDrawable(0, 0, 800, 600, x, y, w, h);
    EXPECT_EQ(x + w, 1680);
    EXPECT_EQ(y + h, 1080);

    const ScreenFit larger = ScreenFit::Compute(800, 600, 1024, 768);
    larger.RectToDrawable(100, 50, 200, 300, x, y, w, h);
    EXPECT_EQ(x, 128);
    EXPECT_EQ(y, 64);
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 384);
    const ScreenFit tall = ScreenFit::Compute(800, 600, 800, 1000);
    EXPECT_EQ(tall.top, 200);
    tall.RectToDrawable(0, 0, 800, 600, x, y, w, h);
    EXPECT_EQ(y, 200);
    EXPECT_EQ(h, 600);

    const ScreenFit none = ScreenFit::Compute(800, 600, 0, 0);
    EXPECT_GT(none.scale, 0);
    EXPECT_GE(none.width, 0);
}
