// The pause screen: twice on the stack while it runs; one key ends it with one
// ("SetPaused", false) to its owner and no stack entry left; covered by another
// screen it ends itself, answers once and leaves every entry; the mouse never
// reaches what lies under it.
#include <gtest/gtest.h>

#include <memory>

#include "DialogTestSupport.h"
#include "entities/widgets/CGUIEntity.h"
#include "entities/screens/CPauseScreen.h"
#include "entities/core/CSpriteEntity.h"
#include "support/engine/HtmlLogCapture.h"

using ZOLTFramework::CPauseScreen;
using ZOLTFramework::CSpriteEntity;

namespace {

// The level's way: a pause screen on layer 50000, added and opened.
CPauseScreen* StartPause(GuiTestEngine& engine, AnswerJournal* owner) {
    CPauseScreen* pause = new CPauseScreen(owner);
    pause->SetLayer(50000.0f);
    engine.Manager().Add(pause);
    pause->Open();
    return pause;
}

void Settle(GuiTestEngine& engine) { engine.Step(12); }

// A level screen on the stack, and the owner that hears the answers.
class PauseScreenTest : public ::testing::Test {
protected:
    GuiTestEngine engine{DialogOptions()};
    StubScreen* level = PushStub(engine, "Level", 10.0f);
    AnswerJournal owner;
};

TEST_F(PauseScreenTest, StandsTwiceFadesInAndOneKeyAnswersOnceLeavingNoStackEntry) {
    LoadDialogFonts();
    HtmlLogCapture log;
    CPauseScreen* pause = StartPause(engine, &owner);
    std::weak_ptr<void> alive = pause->GetLifeToken();
    EXPECT_EQ(StackCount(engine, pause), 2);
    EXPECT_TRUE(pause->HasFocus());
    EXPECT_FALSE(pause->IsClosing()) << "Open cancels the close of the second push";
    EXPECT_FALSE(level->HasFocus());
    EXPECT_FLOAT_EQ(pause->GetOpacity(), 0.0f);
    engine.Step(6);
    EXPECT_FLOAT_EQ(pause->GetOpacity(), 1.0f);
    CSpriteEntity* shade = pause->FindChild<CSpriteEntity>("Shade");
    ASSERT_NE(shade, nullptr);
    EXPECT_EQ(shade->GetColor(), 0x99000000u);
    EXPECT_FLOAT_EQ(shade->GetAbsoluteScaleX(), 800.0f);
    EXPECT_TRUE(owner.answers.empty());

    engine.Press(HGEK_P);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"SetPaused:no"});
    EXPECT_EQ(StackCount(engine, pause), 1) << "RemoveScreen took one entry";
    engine.Press(HGEK_SPACE);  // during the fade-out
    engine.Click(10, 10);
    Settle(engine);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"SetPaused:no"});
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(engine.Manager().GetScreenStack(), std::vector<ZOLTFramework::CEntity*>{level});
    EXPECT_TRUE(level->HasFocus());
    EXPECT_EQ(log.Count("PauseScreenScreen entity destroy"), 1);
}

TEST_F(PauseScreenTest, AMouseButtonEndsItTooAndNoOwnerOrFontIsFine) {
    StartPause(engine, &owner);
    engine.Step(2);
    engine.Click(400, 300);
    Settle(engine);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"SetPaused:no"});
    EXPECT_EQ(engine.Manager().GetScreenStack().size(), 1u);

    // No owner and no font are fine.
    StartPause(engine, nullptr);  // no "Default" font loaded either
    engine.Step(6);
    engine.Press(HGEK_ENTER);
    Settle(engine);
    EXPECT_EQ(engine.Manager().GetScreenStack().size(), 1u);
}

TEST_F(PauseScreenTest, CoveredItEndsAnswersOnceAndLeavesEveryEntry) {
    CPauseScreen* pause = StartPause(engine, &owner);
    std::weak_ptr<void> alive = pause->GetLifeToken();
    engine.Step(6);

    StubScreen* question = PushStub(engine, "Question", 102400.0f);  // the quit question, say
    EXPECT_FALSE(pause->HasFocus()) << "covered";
    EXPECT_TRUE(pause->IsClosing());
    engine.Press(HGEK_P);  // a key while covered does not answer early
    EXPECT_TRUE(owner.answers.empty());
    Settle(engine);
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(owner.answers, std::vector<std::string>{"SetPaused:no"}) << "the level does not stay frozen";
    EXPECT_EQ(engine.Manager().GetScreenStack(), (std::vector<ZOLTFramework::CEntity*>{level, question}));

    engine.Manager().RemoveScreen(question);  // answered "no"
    EXPECT_EQ(engine.Manager().GetTopScreen(), level);
    EXPECT_TRUE(level->HasFocus());
    engine.Press(HGEK_P);
    Settle(engine);
    EXPECT_EQ(owner.answers.size(), 1u);
}

TEST_F(PauseScreenTest, UncoveredDuringItsFadeAKeyStillAnswersOnlyOnce) {
    CPauseScreen* pause = StartPause(engine, &owner);
    engine.Step(6);
    StubScreen* cover = PushStub(engine, "Cover", 60000.0f);
    engine.Step();
    engine.Manager().RemoveScreen(cover);
    EXPECT_TRUE(pause->HasFocus()) << "uncovered";
    engine.Press(HGEK_P);
    Settle(engine);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"SetPaused:no"});
    EXPECT_EQ(engine.Manager().GetScreenStack().size(), 1u);
}

TEST_F(PauseScreenTest, NothingUnderItGetsTheMouse) {
    std::vector<std::string> journal;
    ProbeEntity* probe = new ProbeEntity("Probe", &journal);
    probe->SetLayer(100.0f);
    probe->SetRect(300, 200, 200, 200);
    engine.Manager().Add(probe);
    StartPause(engine, &owner);
    engine.Step(6);
    engine.MoveMouse(400, 300);
    engine.Step(2);
    engine.Click(400, 300);
    EXPECT_TRUE(journal.empty());
}

}  // namespace
