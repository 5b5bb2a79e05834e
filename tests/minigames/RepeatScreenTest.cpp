#include <gtest/gtest.h>

#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "MiniGameTestSupport.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/RepeatScreen.h"
#include "support/engine/RecordedQuads.h"

using ZOLTFramework::CButtonEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

std::string PlaqueGame(MiniGameTestEngine& engine, const std::string& rowLength = "2") {
    std::string buttons;
    for (int i = 0; i < 3; ++i) {
        const std::string x = std::to_string(250 + 150 * i);
        buttons += "<button message=\"" + std::to_string(i) + "\" x=\"" + x +
                   "\" y=\"450\" sprite_up=\"SmallButtonUp\" sprite_over=\"SmallButtonOver\" sprite_down=\"SmallButtonDown\">"
                   "<rect x=\"-40\" y=\"-20\" w=\"80\" h=\"40\"/></button>";
    }
    return engine.File("5.2.xml", "<MiniGame CellNumber=\"3\" VariantNumber=\"3\" RowLength=\"" + rowLength +
                                      "\" OffsetX=\"100\" OffsetY=\"100\" CellWidth=\"60\" CellHeight=\"70\" res_group=\"5\">" +
                                      buttons +
                                      "<sprite texture=\"coin_cool_Study\" x=\"40\" y=\"40\"/>"
                                      "<ShowOnFinish texture=\"watch_Study\" x=\"400\" y=\"300\"/>"
                                      "<PaletteElement id=\"0\" sprite_name=\"coin_cool_Study\"/>"
                                      "<PaletteElement id=\"1\" sprite_name=\"coin_warm_Study\"/>"
                                      "<PaletteElement id=\"2\" sprite_name=\"ace_Study\"/>"
                                      "</MiniGame>");
}

// The symbols the screen draws in its cells now.
size_t Drawn(MiniGameTestEngine& engine, RepeatScreen* screen) { return DrawnBy(engine.Hge(), screen).size(); }

void Enter(MiniGameTestEngine& engine, RepeatScreen* screen, int count) {
    for (int i = 0; i < count; ++i) {
        // Clicks the palette button of the symbol.
        const int symbol = screen->GetSequence()[size_t(i)];
        engine.Click(250.0f + 150.0f * float(symbol), 450.0f);
    }
}

}  // namespace

// The timeline of a sequence: 3.0 s of the first symbol (presses ignored), a
// correct press, 1.0 s of waiting, 2.0 s of two symbols; a wrong press starts
// a new sequence; the whole sequence wins, the finish picture fades in for a
// second, and only then the Ok button slides in.
TEST(RepeatScreen, TimelineWrongPressAndWin) {
    MiniGameTestEngine engine(0.1f);
    MiniGameJournal level;
    const std::string path = PlaqueGame(engine);
    auto* screen = dynamic_cast<RepeatScreen*>(OpenMiniGame(path, &level));
    ASSERT_NE(screen, nullptr);
    EXPECT_FLOAT_EQ(screen->GetOpacity(), 0.2f);
    EXPECT_EQ(screen->GetSequence().size(), 3u);
    EXPECT_EQ(Drawn(engine, screen), 1u);
    EXPECT_FLOAT_EQ(screen->GetShowTime(), 3.0f);
    // Without a background the widgets hang on the screen.
    EXPECT_EQ(screen->FindChild<CSpriteEntity>("FinishPicture")->GetParent(), screen);
    EXPECT_FLOAT_EQ(screen->CellX(3), 160.0f);
    EXPECT_FLOAT_EQ(screen->CellY(3), 170.0f);

    const std::vector<int> first = screen->GetSequence();
    screen->OnButtonPress(std::to_string(first[0]));
    EXPECT_EQ(screen->GetWaitTime(), 0.0f);  // shown: the palette is locked, no symbol taken
    ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() == 0.0f; }, 33));

    Enter(engine, screen, 1);
    // The click's down and up frames: two tenths of the second's wait are gone.
    EXPECT_NEAR(screen->GetWaitTime(), 0.8f, 1e-4f);
    engine.Step(7);
    EXPECT_EQ(screen->GetShowTime(), 0.0f);
    engine.Step();
    EXPECT_FLOAT_EQ(screen->GetShowTime(), 2.0f);
    EXPECT_EQ(Drawn(engine, screen), 2u);
    ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() == 0.0f; }, 22));

    // A wrong first symbol: a new sequence, one symbol shown for 3.0 s.
    screen->OnButtonPress(std::to_string((first[0] + 1) % 3));
    EXPECT_EQ(Drawn(engine, screen), 1u);
    EXPECT_FLOAT_EQ(screen->GetShowTime(), 3.0f);
    ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() == 0.0f; }, 33));

    for (int shown = 1; shown <= 3; ++shown) {
        Enter(engine, screen, shown);
        if (shown == 3) break;
        ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() > 0.0f; }, 12));
        ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() == 0.0f; }, 22));
    }
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden()) << "won";
    EXPECT_FALSE(screen->IsOkShown());
    engine.Step(5);
    EXPECT_FALSE(screen->IsOkShown());
    ASSERT_TRUE(engine.StepUntil([&] { return screen->IsOkShown(); }, 8));
    EXPECT_FLOAT_EQ(screen->FindChild<CSpriteEntity>("FinishPicture")->GetOpacity(), 1.0f);
    engine.Step(20);
    ASSERT_TRUE(engine.ClickOk(screen));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
}

// After Skip the palette still counts; a new sequence's show holds the end
// back: "SolveLater" during a show reports once the show has run out. A row
// length of 0 reads as 1.
TEST(RepeatScreen, SkipAndSolveLaterDuringAShow) {
    MiniGameTestEngine engine(0.1f);
    MiniGameJournal level;
    const std::string path = PlaqueGame(engine, "0");
    auto* screen = dynamic_cast<RepeatScreen*>(OpenMiniGame(path, &level));
    EXPECT_FLOAT_EQ(screen->CellY(1), 170.0f);
    ASSERT_TRUE(engine.FadeIn(screen));
    screen->OnButtonPress("Skip");
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden()) << "skipping";
    EXPECT_FLOAT_EQ(screen->GetShowTime(), 0.0f);
    ASSERT_TRUE(engine.StepUntil([&] { return screen->IsOkShown(); }, 15));
    engine.Step(5);  // the Ok button slides in
    ASSERT_TRUE(engine.ClickOk(screen));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameSkip=" + path});

    MiniGameJournal other;
    auto* later = dynamic_cast<RepeatScreen*>(OpenMiniGame(path, &other));
    ASSERT_TRUE(engine.FadeIn(later));
    later->OnButtonPress("SolveLater");
    engine.Step(10);
    EXPECT_FLOAT_EQ(later->GetOpacity(), 0.0f);
    EXPECT_TRUE(other.Results().empty());  // the show is still running
    ASSERT_TRUE(engine.StepUntil([&] { return later->HasReported(); }, 30));
    EXPECT_EQ(other.Results(), std::vector<std::string>{"MiniGameSolveLater=" + path});
}
