// The story screens in a real (virtual) window with the game's art: the score
// window while a medal is awarded, a comic page with its bubble, line and a
// medal on the detective's coat, and the final picture with both kisses.
// Started by CTest through xvfb-run; skipped when there is no display.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "entities/core/CSpriteEntity.h"
#include "entities/core/SpriteExEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeResourceManager.h"
#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"
#include "screens/ComicScreen.h"
#include "screens/FinalScreen.h"
#include "screens/IntroScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"

namespace {

class StoryWindowEngine : public WindowTestEngine {
public:
    explicit StoryWindowEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        UseGameFonts();
        UsePlayer(dir, "Marlowe");
    }
};

// Pixels of the box around (x, y) for which the colour test holds.
template <class Test>
int Around(const Picture& pic, int x, int y, int half, Test test) {
    return pic.Count(x - half, y - half, x + half, y + half, test);
}

bool Warm(int r, int g, int b) { return r > 120 && r > b + 40; }
bool Red(int r, int g, int b) { return r > 120 && r > g + 50 && r > b + 30; }
bool Light(int r, int g, int b) { return r + g + b > 540; }
bool Dark(int r, int g, int b) { return r + g + b < 200; }

}  // namespace

TEST(StorySnapshot, ScoreWindowDuringAnAward) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    StoryWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    if (!std::filesystem::exists(LevelCompleteScreen::kScreenFile)) GTEST_SKIP() << "the story art is not there yet";
    PlayerManager::Instance()->GetActivePlayer()->Medals = {1};

    const uint32_t scores[6] = {12500, 3000, 5000, 8420, 20500, 48920};
    auto* screen = new LevelCompleteScreen("", scores);
    screen->SetLayer(15.0f);
    screen->SetMedalToAdd(3);
    engine.RunFor(0.6f);
    screen->OnButtonPress("Exit");  // what a click on the button sends
    engine.RunFor(3.0f);
    const Picture shot = engine.Snapshot(folder.dir, "award.png");

    // The new medal rests large at (700, 300), gold; the detective has faded
    // in left of the window; the scores show in warm gold.
    EXPECT_GT(Around(shot, 700, 300, 20, Warm), 200);
    EXPECT_GT(Around(shot, 200, 400, 40, Dark), 300) << "his charcoal coat";
    for (const char* id : LevelCompleteScreen::kScoreIds) {
        const auto* score = screen->FindChild<TextEntity>(id);
        ASSERT_NE(score, nullptr) << id;
        const int y = int(score->GetAbsoluteY()) + 8;
        EXPECT_GT(shot.Count(int(score->GetAbsoluteX()) - 80, y - 10, int(score->GetAbsoluteX()), y + 10, Warm), 15)
            << id;
    }
}

TEST(StorySnapshot, ComicPageWithBubbleTextAndAMedalOnBrannok) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    StoryWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    if (!engine.GetResourceManager()->GetSprite("ComicShade")) GTEST_SKIP() << "the comic art is not there yet";
    PlayerManager::Instance()->GetActivePlayer()->Medals = {3};
    ASSERT_TRUE(folder.dir.Write("Page.xml", R"(<page>
  <appear character="Shade" from="opacity" X="0" Y="400" no_delay="true"><sprite name="ComicShade"/></appear>
  <appear character="Brannok" from="left" string="COMIC1_2">
    <sprite name="Brannok" Z="2"/><sprite name="Head_Thinking" Z="1"/>
  </appear>
</page>)"));
    auto* page = new ComicScreen(folder.dir / "Page.xml");
    page->SetLayer(15.0f);
    engine.RunFor(1.0f);
    const Picture shot = engine.Snapshot(folder.dir, "comic.png");

    // The bubble's cream body right of the detective with dark ink letters in
    // its text box; the gold medal on his coat at (30 + 180 - 200 + 200, 350).
    EXPECT_GT(shot.Count(420, 110, 620, 200, Light), 3000) << "the bubble";
    EXPECT_GT(shot.Count(410, 105, 620, 205, Dark), 40) << "its text";
    EXPECT_GT(Around(shot, 210, 350, 10, Warm), 40) << "the medal";
    EXPECT_GT(Around(shot, 180, 450, 30, Dark), 300) << "his coat";
}

TEST(StorySnapshot, FinalPictureWithBothKisses) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    StoryWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    if (!engine.GetResourceManager()->GetSprite("Final")) GTEST_SKIP() << "the final picture is not there yet";
    auto* screen = new ZOLTFramework::FinalScreen();
    engine.RunFor(2.3f);
    ASSERT_TRUE(screen->FindChild("Kiss1") && screen->FindChild("Kiss2"));
    const Picture shot = engine.Snapshot(folder.dir, "final.png");

    EXPECT_GT(Around(shot, 429, 309, 12, Red), 40) << "the first kiss";
    EXPECT_GT(Around(shot, 365, 295, 12, Red), 40) << "the second kiss";
    EXPECT_GT(shot.Count(300, 0, 500, 60, Dark), 6000) << "the night sky";
}

TEST(StorySnapshot, IntroAfterTwentySeconds) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    // Twenty seconds of film in 200 frames.
    ScopedEnv step("DROVALIN_DT", "0.1");
    ScopedEnv noCap("DROVALIN_NOCAP", "1");
    StoryWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    auto* intro = engine.GetEntityManager()->OpenScreen<ZOLTFramework::IntroScreen>();
    intro->SetOpacity(0.0f);
    intro->Open();
    FrameDriver::RunFrames(200);
    ASSERT_EQ(engine.GetEntityManager()->GetTopScreen(), intro) << "the film runs on";
    const Picture shot = engine.Snapshot(folder.dir, "intro.png");

    // The black band over the top rows, the skip button on it with its caption.
    EXPECT_GT(shot.Count(200, 5, 800, 145, Dark), 600 * 140 * 98 / 100) << "the band";
    EXPECT_GT(Around(shot, 85, 55, 30, [](int r, int g, int b) { return !Dark(r, g, b); }), 600) << "the skip button";
    // The text has crawled up to the middle: light letters over the town.
    const int top = int(intro->GetCaption()->GetAbsoluteY());
    auto white = [](int r, int g, int b) { return r > 235 && g > 235 && b > 235; };
    EXPECT_GT(shot.Count(60, top, 740, top + 120, white), 3000) << "the opening text";
    EXPECT_LT(shot.Count(0, 160, 800, top - 20, white), 300) << "nothing of the text above it";
    // The town under the band: roofs and the river, not empty black.
    EXPECT_LT(shot.Count(0, 160, 800, 600, Dark), 800 * 440 / 3);
    EXPECT_GT(shot.Count(0, 430, 800, 480, [](int r, int, int b) { return b > r + 10; }), 8000) << "the river";
    EXPECT_GT(shot.Count(0, 540, 800, 600, Warm), 20000) << "the pier's planks";
}
