// The main menu's sea with its rocks and the load screen's picture, read as
// the game reads them (the resource script on the headless engine): sizes, the
// places the screens rely on (the wreck's dark portholes under the lit glass,
// water above the sand, the bar's brass frame around its dark track, a dark
// sky), and painted surfaces with hardly a flat 16 x 16 block: grain, light and
// shade everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ContentPicture.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "support/HeadlessEngine.h"

namespace {

using contenttest::Texels;

bool IsBrass(int r, int g, int b) { return r > 150 && r < 215 && g > 100 && g < 170 && b < 100; }

class MenuArt : public contenttest::ResourceTest {
protected:
    Texels Read(const char* texture) { return Texels::Of(hge, rm->GetTexture(texture)); }
};

TEST_F(MenuArt, TheSeaAndItsRocksKeepTheirLayoutAndArePainted) {
    const Texels sea = Read("MenuBackground");
    ASSERT_EQ(sea.w, 800);
    ASSERT_EQ(sea.h, 600);
    EXPECT_TRUE(std::all_of(sea.px.begin(), sea.px.end(), [](DWORD c) { return (c >> 24) >= 250; })) << "opaque";
    EXPECT_LT(sea.FlatShare(), 0.05) << "grain everywhere";
    EXPECT_LT(sea.UnshadedShare(), 0.05) << "light and shade everywhere";
    // The portholes stay dark glass ringed with brass: the game lays the lit
    // glass over them.
    for (const auto& hole : {std::make_pair(91, 30), std::make_pair(177, 60)}) {
        const int dark = sea.Count(hole.first - 6, hole.second - 6, hole.first + 6, hole.second + 6,
                                   [](int r, int g, int b) { return r + g + b < 120; });
        EXPECT_GT(dark, 12 * 12 * 8 / 10) << hole.first;
        const int rim = sea.Count(hole.first - 16, hole.second - 16, hole.first + 16, hole.second + 16,
                                  [](int r, int, int b) { return r > b + 40 && r > 80; });
        EXPECT_GT(rim, 150) << hole.first;
    }
    // Blue open water where the fish swim and the buttons stand, sand below.
    EXPECT_GT(sea.Count(300, 150, 800, 460, [](int r, int, int b) { return b > r + 40; }), 500 * 310 * 98 / 100);
    EXPECT_GT(sea.Count(0, 530, 800, 600, [](int r, int, int b) { return r > b + 25; }), 800 * 70 * 85 / 100);

    const Texels rocks = Read("MenuRocks");
    ASSERT_EQ(rocks.w, 800);
    ASSERT_EQ(rocks.h, 140);
    int clearTop = 0, solidBase = 0;
    for (int x = 0; x < 800; ++x) clearTop += rocks.A(x, 2) < 16;
    for (const int x : {60, 170, 560, 690}) solidBase += rocks.A(x, 130) >= 250;
    EXPECT_GT(clearTop, 800 * 95 / 100) << "clear water above the rocks";
    EXPECT_EQ(solidBase, 4) << "the four rocks where they stood";
}

TEST_F(MenuArt, TheLoadScreenKeepsTheBarsFrameAndIsPainted) {
    hgeSprite* sprite = rm->GetSprite("LoadBackground");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->GetWidth(), 800.0f);
    EXPECT_EQ(sprite->GetHeight(), 600.0f);
    const Texels load = Read("LoadBackgroundTexture");
    ASSERT_EQ(load.w, 800);
    ASSERT_EQ(load.h, 600);
    EXPECT_TRUE(std::all_of(load.px.begin(), load.px.end(), [](DWORD c) { return (c >> 24) >= 250; })) << "opaque";
    EXPECT_LT(load.FlatShare(), 0.05) << "grain everywhere";
    EXPECT_LT(load.UnshadedShare(), 0.05) << "light and shade everywhere";
    // Brass above and below the track (the bar fills 80 to 720, 555 to 585),
    // at both of its ends, and the empty track itself dark.
    EXPECT_GT(load.Count(80, 548, 720, 553, IsBrass), 640 * 5 * 7 / 10);
    EXPECT_GT(load.Count(80, 587, 720, 592, IsBrass), 640 * 5 * 7 / 10);
    EXPECT_GT(load.Count(73, 560, 79, 580, IsBrass) + load.Count(721, 560, 727, 580, IsBrass), 2 * 6 * 20 * 6 / 10);
    EXPECT_EQ(load.Count(82, 558, 718, 583, [](int r, int g, int b) { return r + g + b >= 120; }), 0);
    // A dark night sky over the town.
    EXPECT_GT(load.Count(0, 0, 540, 200, [](int r, int, int b) { return b > r && r < 80; }), 540 * 200 * 9 / 10);
}

}  // namespace
