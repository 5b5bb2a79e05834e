// Screens: fade timings, the window sound, OnOpened, focus-bound shortcuts, and
// the end of a close.
#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "support/runtime/GuiTestEngine.h"
#include "support/runtime/DrawList.h"
#include "engine/HtmlLog.h"
#include "entities/screens/CScreenEntity.h"

using ZOLTFramework::CScreenEntity;

namespace {

class RecordingScreen : public CScreenEntity {
public:
    RecordingScreen(const std::string& n, std::vector<std::string>* journal) : CScreenEntity(n), m_journal(journal) {}
    void OnOpened() override { m_journal->push_back(name + ":opened"); }
    void OnButtonPress(const std::string& message) override { m_journal->push_back(name + ":" + message); }
    using CScreenEntity::AddShortcut;
    void EnableOpenSound() { playOpenSound = true; }

private:
    std::vector<std::string>* m_journal;
};

GuiTestOptions WithAudio() {
    GuiTestOptions o;
    o.audio = true;
    return o;
}

TEST(ScreenEntityTest, FadeInPlaysTheWindowSoundOnceAndOpensOnce) {
    GuiTestEngine engine(WithAudio());
    ASSERT_TRUE(engine.HasAudioDevice());
    std::vector<std::string> journal;
    RecordingScreen* screen = new RecordingScreen("S", &journal);
    screen->EnableOpenSound();
    screen->SetOpacity(0.0f);
    screen->Open();
    engine.Manager().Add(screen);
    engine.Step();  // merged; first update in the next frame

    auto plays = [&] { return engine.GetAudioManager()->GetSoundPlayCount("OnWindow"); };
    // dt 0.1: opacity 0.2, 0.4, 0.6, 0.8 (first above 200/255), 1.0 (opened).
    for (int frame = 1; frame <= 3; ++frame) {
        engine.Step();
        EXPECT_EQ(plays(), 0) << frame;
    }
    engine.Step();
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(journal.empty());
    engine.Step();
    EXPECT_EQ(journal, std::vector<std::string>{"S:opened"});
    engine.Step(5);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(journal.size(), 1u);

    // Closing fades out in about half a second (float steps of 0.2 may leave a
    // trace above 0 for one more frame) and hides the screen, which stays alive.
    screen->Close();
    engine.Step(4);
    EXPECT_FALSE(screen->IsHidden());
    engine.Step(2);
    EXPECT_TRUE(screen->IsHidden());
    EXPECT_FALSE(InDrawList(engine.Manager(), screen));
    EXPECT_FALSE(screen->IsDead());

    // Re-opening plays the sound again.
    screen->Open();
    EXPECT_TRUE(InDrawList(engine.Manager(), screen));
    engine.Step(5);
    EXPECT_EQ(plays(), 2);
    EXPECT_EQ(CountOf(journal, "S:opened"), 2);
}

TEST(ScreenEntityTest, ScreenWithoutOpenSoundOrAlreadyOpaqueStaysSilent) {
    GuiTestEngine engine(WithAudio());
    std::vector<std::string> journal;
    RecordingScreen* silent = new RecordingScreen("Silent", &journal);
    silent->SetOpacity(0.0f);
    silent->Open();
    RecordingScreen* opaque = new RecordingScreen("Opaque", &journal);
    opaque->EnableOpenSound();
    opaque->Open();  // opacity 1: no fade, no sound, no OnOpened
    engine.Manager().Add(silent);
    engine.Manager().Add(opaque);
    engine.Step(8);
    EXPECT_EQ(engine.GetAudioManager()->GetSoundPlayCount("OnWindow"), 0);
    EXPECT_EQ(journal, std::vector<std::string>{"Silent:opened"});  // the opaque one is still opening
}

TEST(ScreenEntityTest, ShortcutsFireOnlyWithFocusInKeyOrder) {
    GuiTestEngine engine;
    std::vector<std::string> journal;
    RecordingScreen* below = new RecordingScreen("Below", &journal);
    below->AddShortcut(HGEK_ESCAPE, "NO");
    below->AddShortcut(HGEK_ENTER, "YES");
    below->AddShortcut(HGEK_ENTER, "OTHER");  // a key keeps its first message
    RecordingScreen* top = new RecordingScreen("Top", &journal);
    engine.Manager().Add(below);
    engine.Manager().Add(top);
    engine.Manager().PushScreen(below);
    engine.Manager().PushScreen(top);
    engine.Step();

    engine.KeyDown(HGEK_ENTER);
    engine.Step();
    EXPECT_TRUE(journal.empty());

    engine.KeyUp(HGEK_ENTER);
    engine.Manager().RemoveScreen(top);
    engine.Step();
    EXPECT_TRUE(below->HasFocus());
    engine.KeyDown(HGEK_ESCAPE);
    engine.KeyDown(HGEK_ENTER);
    engine.Step();
    EXPECT_EQ(journal, (std::vector<std::string>{"Below:YES", "Below:NO"}));
    engine.Step();  // held keys are no new presses
    EXPECT_EQ(journal.size(), 2u);
}

TEST(ScreenEntityTest, CloseAndDestroyKillsTheScreenLogsItAndHandsTheFocusDown) {
    GuiTestEngine engine;
    HtmlLog::Instance()->Open(engine.Dir() / "Log.html");
    HtmlLog::Instance()->WriteHeader();
    std::vector<std::string> journal;
    RecordingScreen* below = new RecordingScreen("Below", &journal);
    RecordingScreen* pause = new RecordingScreen("PauseScreen", &journal);
    engine.Manager().Add(below);
    engine.Manager().Add(pause);
    engine.Manager().PushScreen(below);
    engine.Manager().PushScreen(pause);
    engine.Step();
    pause->CloseAndDestroy();
    engine.Step(6);  // opacity 1 -> 0 in five or six frames of 0.1 s
    EXPECT_TRUE(pause->IsDead());
    engine.Step();  // the dead screen is removed; the one below gets the focus
    EXPECT_EQ(engine.Manager().GetScreenStack().size(), 1u);
    EXPECT_TRUE(below->HasFocus());

    EXPECT_NE(ReadWholeFile(engine.Dir() / "Log.html").find("PauseScreenScreen entity destroy"), std::string::npos);

    // Closed at opacity zero, a screen leaves the stack at once.
    RecordingScreen* top = new RecordingScreen("Top", &journal);
    engine.Manager().Add(top);
    engine.Manager().PushScreen(top);
    top->SetOpacity(0.0f);
    top->CloseAndDestroy();
    EXPECT_FALSE(top->IsDead());  // finished in the update, not in the call
    engine.Step(2);               // merged, then updated: the close ends at once
    EXPECT_TRUE(top->IsDead());
    EXPECT_TRUE(top->IsHidden());
    engine.Step();
    EXPECT_EQ(engine.Manager().GetScreenStack().size(), 1u);
    EXPECT_EQ(engine.Manager().GetTopScreen(), below);
    EXPECT_TRUE(below->HasFocus());
}

TEST(ScreenEntityTest, CloseDuringConstructionIsCancelledByALaterOpen) {
    GuiTestEngine engine;
    std::vector<std::string> journal;
    RecordingScreen* screen = new RecordingScreen("Pause", &journal);
    screen->SetOpacity(0.0f);
    screen->CloseAndDestroy();  // as a screen that closes itself while it is built
    screen->Open();
    engine.Manager().Add(screen);
    engine.Step(7);
    EXPECT_FALSE(screen->IsDead());
    EXPECT_FALSE(screen->IsHidden());
    EXPECT_EQ(journal, std::vector<std::string>{"Pause:opened"});
}

}  // namespace
