// The yes/no and OK dialogs: built from their layout files, answered by keys and
// buttons exactly once, then closed and off the screen stack; paused while
// covered; safe with a missing layout or no owner; the message drawn literally.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "DialogTestSupport.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/core/CCountBase.h"
#include "entities/core/EntityServices.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/OKScreen.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeSprite.h"
#include "platform/FrameDriver.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::CWindowEntity;

namespace {

const char* kYesNo = "data/Screens/DialogYesNo.xml";
const char* kOk = "data/Screens/DialogOk.xml";

// Opens a dialog the way the game does: text, layer, depth, then the manager.
template <class T>
T* OpenDialog(GuiTestEngine& engine, const std::string& id, const std::string& layout,
              ZOLTFramework::CQuestionListener* owner) {
    T* dialog = new T(id, layout, owner);
    dialog->SetText("Q_QUIT");
    dialog->SetLayer(102400.0f);
    dialog->SetDepth(500000.0f);
    engine.Manager().Add(dialog);
    return dialog;
}

// A second's worth of frames: any fade-out has ended and the dead are gone.
void Settle(GuiTestEngine& engine) { engine.Step(12); }

TEST(DialogScenario, YesNoOverAScreenAnsweredByEnterAndByEscape) {
    GuiTestOptions options = DialogOptions();
    options.audio = true;
    GuiTestEngine engine(options);
    LoadDialogFonts();
    StubScreen* level = PushStub(engine, "Level", 10.0f);
    engine.Step();
    AnswerJournal owner;

    Dialog* first = OpenDialog<Dialog>(engine, "Q_EXIT", kYesNo, &owner);
    std::weak_ptr<void> firstAlive = first->GetLifeToken();
    EXPECT_EQ(engine.Manager().GetTopScreen(), first);
    EXPECT_FALSE(level->HasFocus());
    // Enter answers; the closing dialog has no focus for the keys after it.
    ASSERT_EQ(FrameDriver::QueueScript("2 press 13\n4 press 13\n6 press 27\n"), 0);
    engine.Step(3);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"Q_EXIT:yes"});
    engine.Step(12);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"Q_EXIT:yes"});
    EXPECT_TRUE(firstAlive.expired()) << "closed and destroyed";
    EXPECT_EQ(engine.Manager().GetTopScreen(), level);
    EXPECT_TRUE(level->HasFocus());
    EXPECT_EQ(engine.GetAudioManager()->GetSoundPlayCount("OnButtonPress"), 1);

    Dialog* second = OpenDialog<Dialog>(engine, "Q_EXIT", kYesNo, &owner);
    std::weak_ptr<void> secondAlive = second->GetLifeToken();
    ASSERT_EQ(FrameDriver::QueueScript("2 press 27\n4 press 27\n5 press 13\n"), 0);
    engine.Step(18);
    EXPECT_EQ(owner.answers, (std::vector<std::string>{"Q_EXIT:yes", "Q_EXIT:no"}));
    EXPECT_TRUE(secondAlive.expired());
    EXPECT_EQ(engine.Manager().GetScreenStack(), std::vector<ZOLTFramework::CEntity*>{level});
    EXPECT_TRUE(level->HasFocus());
}

TEST(DialogScenario, ButtonsOfTheLayoutAnswerOnceWhenClicked) {
    GuiTestEngine engine(DialogOptions());
    AnswerJournal owner;
    Dialog* dialog = OpenDialog<Dialog>(engine, "DL", kYesNo, &owner);
    engine.Step();

    // The window stands in the middle, the buttons 100 to either side below it.
    CWindowEntity* window = dialog->FindChild<CWindowEntity>("Window");
    ASSERT_NE(window, nullptr);
    hgeSprite* picture = ZOLTFramework::Services::Sprite(&engine, "DialogWindow");
    ASSERT_NE(picture, nullptr) << "the window's sprite is declared in main.res";
    const auto windowDrawn = DrawnBy(engine.Hge(), window);
    ASSERT_EQ(windowDrawn.size(), 1u);
    EXPECT_TRUE(Shows(windowDrawn[0], picture));
    EXPECT_FLOAT_EQ(window->GetAbsoluteX(), 400.0f);
    EXPECT_FLOAT_EQ(window->GetAbsoluteY(), 300.0f);
    ButtonExEntity* ok = dialog->FindChild<ButtonExEntity>("YES");
    ASSERT_NE(ok, nullptr);
    ButtonExEntity* cancel = dialog->FindChild<ButtonExEntity>("NO");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->GetParent(), window);
    for (ButtonExEntity* button : {ok, cancel}) {  // drawn only with all three looks
        const auto drawn = DrawnBy(engine.Hge(), button);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_TRUE(Shows(drawn[0], ZOLTFramework::Services::Sprite(&engine, "SmallButtonUp")));
    }
    EXPECT_FLOAT_EQ(dialog->GetTextOffsetX(), 190.0f);

    engine.Click(500, 370);  // "No"
    engine.Click(300, 370);  // "Yes" of the closing dialog: nothing
    Settle(engine);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"DL:no"});
    EXPECT_TRUE(engine.Manager().GetScreenStack().empty());
}

TEST(DialogTest, OtherMessagesCloseWithoutAnAnswerAndNoOwnerIsAllowed) {
    GuiTestEngine engine(DialogOptions());
    const int liveBefore = ZOLTFramework::CCountBase::GetLiveCount();
    AnswerJournal owner;
    Dialog* dialog = OpenDialog<Dialog>(engine, "Q", kYesNo, &owner);
    engine.Step();
    dialog->OnButtonPress("MAYBE");
    EXPECT_TRUE(dialog->IsClosing());
    std::weak_ptr<void> alive = dialog->GetLifeToken();
    EXPECT_TRUE(engine.Manager().GetScreenStack().empty());
    dialog->OnButtonPress("YES");  // finished: ignored
    Settle(engine);
    EXPECT_TRUE(owner.answers.empty());
    EXPECT_TRUE(alive.expired());  // destroyed once closed

    // No owner is allowed.
    dialog = OpenDialog<Dialog>(engine, "Q", kYesNo, nullptr);
    EXPECT_EQ(dialog->GetListener(), nullptr);
    engine.Step();
    engine.Press(HGEK_ENTER);
    Settle(engine);
    EXPECT_TRUE(engine.Manager().GetScreenStack().empty());
    EXPECT_EQ(ZOLTFramework::CCountBase::GetLiveCount(), liveBefore);
}

TEST(DialogTest, CoveredDialogIsPausedAndDeaf) {
    GuiTestEngine engine(DialogOptions());
    AnswerJournal owner;
    Dialog* dialog = OpenDialog<Dialog>(engine, "Q", kYesNo, &owner);
    engine.Step();
    StubScreen* cover = PushStub(engine, "Cover", 200000.0f);
    engine.Step();
    EXPECT_TRUE(dialog->FindChild<CWindowEntity>("Window")->IsPaused());
    engine.Press(HGEK_ENTER);
    engine.Click(300, 370);
    EXPECT_TRUE(owner.answers.empty()) << "no shortcut, no button while covered";

    engine.Manager().RemoveScreen(cover);
    EXPECT_TRUE(dialog->HasFocus());
    EXPECT_FALSE(dialog->FindChild<CWindowEntity>("Window")->IsPaused());
    engine.Click(300, 370);
    EXPECT_EQ(owner.answers, std::vector<std::string>{"Q:yes"});
}

TEST(DialogTest, OkScreenAnswersYesWhateverIsPressed) {
    GuiTestEngine engine(DialogOptions());
    AnswerJournal owner;
    OpenDialog<OKScreen>(engine, "Lose", kOk, &owner);
    engine.Step();
    engine.Press(HGEK_ENTER);
    Settle(engine);
    OpenDialog<OKScreen>(engine, "Lose", kOk, &owner);
    engine.Step();
    engine.Click(400, 370);  // the OK button
    Settle(engine);
    // With the yes/no layout: the cancel button and Escape say yes as well.
    OpenDialog<OKScreen>(engine, "Tip", kYesNo, &owner);
    engine.Step();
    engine.Click(500, 370);
    Settle(engine);
    OpenDialog<OKScreen>(engine, "Tip", kYesNo, &owner);
    engine.Step();
    engine.Press(HGEK_ESCAPE);
    Settle(engine);
    EXPECT_EQ(owner.answers, (std::vector<std::string>{"Lose:yes", "Lose:yes", "Tip:yes", "Tip:yes"}));
    EXPECT_TRUE(engine.Manager().GetScreenStack().empty());
}

TEST(DialogTest, MissingOrBadLayoutStillAnswersByKeys) {
    GuiTestEngine engine(DialogOptions());
    LoadDialogFonts();
    HtmlLogCapture log;
    AnswerJournal owner;

    Dialog* missing = OpenDialog<Dialog>(engine, "A", "data/Screens/NoSuchDialog.xml", &owner);
    EXPECT_EQ(missing->FindChild<CWindowEntity>("Window"), nullptr);
    EXPECT_EQ(missing->FindChild<ButtonExEntity>("YES"), nullptr);
    EXPECT_EQ(log.CountRows("Error", "Dialog A"), 1);
    engine.Step(3);  // renders without a window
    engine.Press(HGEK_ESCAPE);
    Settle(engine);

    // Buttons before any window, and no window at all.
    const std::string bad = engine.Dir() / "bad.xml";
    engine.Dir().Write("bad.xml",
                       "<Dialog text_width=\"100\"><button_ok message=\"YES\" sprite_up=\"ButtonUp\"/>"
                       "<unknown/></Dialog>");
    Dialog* windowless = OpenDialog<Dialog>(engine, "B", bad, &owner);
    EXPECT_EQ(windowless->FindChild<ButtonExEntity>("YES"), nullptr) << "a button needs the window to live under";
    EXPECT_EQ(log.CountRows("Error", "Dialog B"), 1);
    engine.Step(2);
    engine.Press(HGEK_ENTER);
    Settle(engine);

    // Not even XML.
    engine.Dir().Write("junk.xml", "<Dialog><window");
    OpenDialog<Dialog>(engine, "C", engine.Dir() / "junk.xml", &owner);
    engine.Step();
    engine.Press(HGEK_ENTER);
    Settle(engine);

    EXPECT_EQ(owner.answers, (std::vector<std::string>{"A:no", "B:yes", "C:yes"}));
    EXPECT_TRUE(engine.Manager().GetScreenStack().empty());
}

TEST(DialogTest, MessageIsDrawnLiterallyInTheTextBox) {
    GuiTestEngine engine(DialogOptions());
    LoadDialogFonts();
    hgeFont* font = FontRegistry::GetFont("Default14");
    ASSERT_NE(font, nullptr);
    font->SetColor(0xFF123456);
    Dialog* dialog = OpenDialog<Dialog>(engine, "Q", kYesNo, nullptr);
    dialog->SetText("PERCENT");
    engine.Step();

    const auto quads = RecordQuads([&] { engine.Step(); });
    int glyphs = 0;
    float left = 1e9f, top = 1e9f;
    for (const auto& q : quads) {
        if (q.quad.tex != TextureOf(font)) continue;
        ++glyphs;
        left = std::min(left, q.quad.v[0].x);
        top = std::min(top, q.quad.v[0].y);
    }
    // "100% %s %d %n" character for character: no directive was taken.
    EXPECT_EQ(glyphs, 13);
    // The box starts 190 left of and 95 above the window's centre, 380 wide.
    EXPECT_GE(left, 400.0f - 190.0f);
    EXPECT_GE(top, 300.0f - 95.0f - 1.0f);
    EXPECT_LT(top, 300.0f);
    EXPECT_EQ(font->GetColor(), 0xFF123456u) << "the shared font keeps its colour";

    // A key the text table lacks draws nothing.
    dialog->SetText("NO_SUCH_KEY");
    const auto untranslated = RecordQuads([&] { engine.Step(); });
    for (const auto& q : untranslated) EXPECT_NE(q.quad.tex, TextureOf(font));
}

}  // namespace
