// The load screen in a real (virtual) window: once its bar is full and the
// product logo has popped up, the snapshot shows the logo over the background
// and the blue bar. Started by CTest through xvfb-run; skipped when there is no
// display.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "entities/core/CSpriteEntity.h"
#include "entities/screens/CLoadScreen.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"

namespace {

// The window engine with the game's resources, English text and fonts.
class LoadScreenEngine : public WindowTestEngine {
public:
    explicit LoadScreenEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        UseGameFonts();
    }
};

}  // namespace

TEST(LoadScreenSnapshot, ShowsTheLogoAndTheFullBar) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    const TempDir& dir = folder.dir;

    LoadScreenEngine engine(dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    auto* load = new ZOLTFramework::CLoadScreen("");
    engine.Manager().Add(load);

    // The loading phase, then a little more than the logo's one-second pop.
    int frames = 0;
    auto ready = [load] { return load->FindChild<ZOLTFramework::CSpriteEntity>("DRLogo") != nullptr; };
    while (!ready() && frames < 2000) frames += FrameDriver::RunFrames(1);
    ASSERT_TRUE(ready());
    const auto readyAt = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - readyAt < std::chrono::milliseconds(1300)) FrameDriver::RunFrames(1);

    // Kept in the build folder for a person to look at.
    const std::string shot = FileSystem::ProgramDir() + "load_screen_snapshot.png";
    engine.GetHGE()->System_Snapshot(shot.c_str());
    FrameDriver::RunFrames(1);
    std::string reason;
    Picture pic;
    ASSERT_TRUE(LoadPng(shot, pic, &reason)) << reason;
    ASSERT_EQ(pic.w, 800);
    ASSERT_EQ(pic.h, 600);

    // The bar: blue from x 80 to 720 between y 555 and 585 (its clip), over
    // the dark ground of the picture; the caption covers its middle.
    auto isBlue = [](int r, int g, int b) { return b > r + 40 && b > 120; };
    const int barArea = 2 * (200 - 90) * (583 - 557);
    const int blue = pic.Count(90, 557, 200, 583, isBlue) + pic.Count(600, 557, 710, 583, isBlue);
    EXPECT_GT(blue, barArea * 9 / 10) << blue << " of " << barArea;
    // Nothing of it shows beyond its ends.
    EXPECT_EQ(pic.Count(730, 557, 790, 583, isBlue), 0);
    // The product logo at the centre, scaled to 0.6: its brass title.
    const int brass = pic.Count(250, 240, 550, 360, [](int r, int g, int b) { return r > 200 && g > 150 && b < 160; });
    EXPECT_GT(brass, 400);
    // The night sky of the background around it.
    const int sky = pic.Count(20, 20, 200, 120, [](int r, int g, int b) { return b > r && r < 80; });
    EXPECT_GT(sky, 180 * 100 * 9 / 10);
}
