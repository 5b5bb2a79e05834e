// Buttons, the trigger and the window: layout elements, looks, reports to the
// listener, toggling and dragging.
#include <gtest/gtest.h>

#include "support/runtime/GuiTestEngine.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "entities/widgets/TriggerEntity.h"
#include "graphics/hgeSprite.h"
#include "support/engine/RecordedQuads.h"

using ZOLTFramework::CButtonEntity;
using ZOLTFramework::CScreenEntity;
using ZOLTFramework::CWindowEntity;

namespace {

// The texture row of the look a button shows now: up 0, over h, down 2h.
float LookRow(CButtonEntity* button) {
    float tx, ty, tw, th;
    button->CurrentLook()->GetTextureRect(&tx, &ty, &tw, &th);
    return ty;
}

GuiTestOptions WithResources() {
    GuiTestOptions o;
    o.resources = true;
    o.fonts = true;
    o.textTable = "[HGESTRINGTABLE]\nOkCaption=\"Okay\"\n";
    return o;
}

const char* kOkButton =
    "<button sprite_up=\"ButtonUp\" sprite_over=\"ButtonOver\" sprite_down=\"ButtonDown\" message=\"OK\""
    " x=\"200\" y=\"100\" z=\"3\" color=\"ignored\">"
    "<rect x=\"-90\" y=\"-22\" w=\"180\" h=\"44\"/>"
    "<caption text_alias=\"OkCaption\" font=\"Main\"/>"
    "</button>";

// Built from a layout element; a press is reported once, a release not at all;
// the hit rectangle follows a move of the button.
TEST(ButtonExEntityTest, BuiltFromALayoutElementAndPressedOnce) {
    GuiTestEngine engine(WithResources());
    auto element = engine.LoadLayout(kOkButton);
    ASSERT_TRUE(element);
    JournalListener listener;
    ButtonExEntity* button = new ButtonExEntity(*element, &listener);
    engine.Manager().Add(button);

    EXPECT_EQ(button->GetName(), "OK");
    EXPECT_FLOAT_EQ(button->GetX(), 200.0f);
    EXPECT_FLOAT_EQ(button->GetY(), 100.0f);
    EXPECT_FLOAT_EQ(button->GetDepth(), 3.0f);
    EXPECT_TRUE(button->HitTest(110.0f, 78.0f));
    EXPECT_FALSE(button->HitTest(290.0f, 100.0f));
    ASSERT_NE(button->GetCaption(), nullptr);
    EXPECT_EQ(button->GetCaption()->GetTextRef(), "Okay");
    EXPECT_EQ(button->GetCaption()->GetParent(), button);

    engine.Step();
    auto drawn = DrawnBy(engine.Hge(), button);  // all three looks exist: drawn
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(Shows(drawn[0], engine.GetResourceManager()->GetSprite("ButtonUp")));
    engine.Click(200.0f, 100.0f);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"over:OK", "press:OK"}));
    drawn = DrawnBy(engine.Hge(), button);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(Shows(drawn[0], engine.GetResourceManager()->GetSprite("ButtonOver"))) << "let go, still hovered";
    engine.MoveMouse(600.0f, 500.0f);
    engine.Step();
    EXPECT_EQ(listener.events.back(), "leave:OK");

    button->SetPosXY(400.0f, 300.0f);
    EXPECT_TRUE(button->HitTest(310.0f, 278.0f));
    EXPECT_FALSE(button->HitTest(110.0f, 78.0f));
}

TEST(ButtonExEntityTest, PausedOrHiddenScreenButtonsAreNeverPressed) {
    GuiTestEngine engine(WithResources());
    auto element = engine.LoadLayout(kOkButton);
    JournalListener listener;
    CScreenEntity* screen = new CScreenEntity("Screen");
    ButtonExEntity* button = new ButtonExEntity(*element, &listener);
    button->AttachTo(screen);
    button->SetHotKey(HGEK_SPACE);
    engine.Manager().Add(screen);
    engine.Manager().Add(button);
    engine.Step();

    screen->Pause();
    engine.Click(200.0f, 100.0f);
    engine.Press(HGEK_SPACE);
    EXPECT_TRUE(listener.events.empty());
    // The hit rectangle still follows its position while paused.
    screen->SetPosXY(100.0f, 0.0f);
    engine.Step();
    EXPECT_TRUE(button->HitTest(300.0f, 100.0f));
    screen->SetPosXY(0.0f, 0.0f);

    screen->Resume();
    screen->Hide();
    engine.Click(200.0f, 100.0f);
    engine.Press(HGEK_SPACE);
    EXPECT_TRUE(listener.events.empty());

    screen->Show();
    engine.Press(HGEK_SPACE);
    EXPECT_EQ(listener.Count("press:OK"), 1);
}

TEST(ButtonExEntityTest, MissingSpritesOrListenerAreToleratedAndLostFocusRestoresTheCursor) {
    GuiTestEngine engine(WithResources());
    auto element = engine.LoadLayout(
        "<button sprite_up=\"ButtonUp\" sprite_over=\"ButtonOver\" sprite_down=\"NoSuchSprite\" message=\"B\""
        " x=\"100\" y=\"100\"><rect x=\"-50\" y=\"-50\" w=\"100\" h=\"100\"/><caption/></button>");
    ButtonExEntity* button = new ButtonExEntity(*element, nullptr);
    engine.Manager().Add(button);
    ASSERT_NE(button->GetCaption(), nullptr);
    EXPECT_TRUE(button->GetCaption()->GetTextRef().empty());
    engine.Step();
    RenderStats::SetRecording(true);
    engine.Click(100.0f, 100.0f);
    EXPECT_TRUE(RenderStats::Recorded().empty());  // no down look: not drawn

    // Losing the focus restores the cursor flag.
    engine.SetDrawCursor(true);
    auto okElement = engine.LoadLayout(kOkButton);
    ButtonExEntity* ok = new ButtonExEntity(*okElement, nullptr);
    engine.Manager().Add(ok);
    engine.SetDrawCursor(false);
    ok->LostFocus();
    EXPECT_TRUE(engine.GetDrawCursor());
}

class ButtonEntityTest : public ::testing::Test {
protected:
    ButtonEntityTest() : engine(WithResources()) {}
    GuiTestEngine engine;
    JournalListener listener;
};

TEST_F(ButtonEntityTest, ReportsAndLooks) {
    CButtonEntity* button = new CButtonEntity("Play", &listener);
    button->SetSprite("Button", 0.0f, 0.0f, 180.0f, 44.0f);
    button->SetPosXY(400.0f, 300.0f);
    button->SetSizeCentered(180.0f, 44.0f);
    engine.Manager().Add(button);
    engine.Step();
    EXPECT_FLOAT_EQ(LookRow(button), 0.0f);
    engine.MoveMouse(400.0f, 300.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_FLOAT_EQ(LookRow(button), 88.0f);
    EXPECT_FLOAT_EQ(button->CurrentLook()->GetHotSpotX(), 90.0f);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    EXPECT_FLOAT_EQ(LookRow(button), 44.0f);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"over:Play", "press:Play", "release:Play"}));

    // Resume lets go of a held button.
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    button->Pause();
    button->Resume();
    EXPECT_NE(LookRow(button), 88.0f);  // not the down look
}

TEST_F(ButtonEntityTest, MissingLooksDrawNothingAndAHotKeyPresses) {
    CButtonEntity* button = new CButtonEntity("Bare", nullptr);
    button->SetPosXY(100.0f, 100.0f);
    button->SetSizeCentered(50.0f, 50.0f);
    engine.Manager().Add(button);
    engine.Step();
    EXPECT_EQ(button->CurrentLook(), nullptr);  // no sprites at all
    engine.Click(100.0f, 100.0f);               // no listener: nothing to report, no crash
    button->SetSprite("Button", 0.0f, 0.0f, 50.0f, 50.0f);
    EXPECT_FLOAT_EQ(LookRow(button), 50.0f) << "looks given late: the over one, still hovered";

    // A hot key presses its button.
    CButtonEntity* hot = new CButtonEntity("Hot", &listener);
    hot->SetHotKey(HGEK_H);
    engine.Manager().Add(hot);
    engine.Step();
    engine.Press(HGEK_H);
    EXPECT_EQ(listener.Count("press:Hot"), 1);
}

class TriggerJournal : public TriggerListener {
public:
    void OnTriggerChanged(const std::string& n, bool on) override { changes.push_back(n + (on ? ":on" : ":off")); }
    std::vector<std::string> changes;
};

TEST_F(ButtonEntityTest, TriggerTogglesOnEachClick) {
    TriggerJournal triggerJournal;
    TriggerEntity* trigger = new TriggerEntity("Music", &listener, &triggerJournal);
    trigger->SetPosXY(100.0f, 100.0f);
    trigger->SetSprite("Button", 0.0f, 0.0f, 40.0f, 40.0f);
    trigger->SetSizeCentered(40.0f, 40.0f);
    engine.Manager().Add(trigger);
    engine.Step();

    engine.Click(100.0f, 100.0f);
    EXPECT_TRUE(trigger->IsOn());
    float tx, ty, tw, th;
    trigger->CurrentLook()->GetTextureRect(&tx, &ty, &tw, &th);
    EXPECT_FLOAT_EQ(ty, 80.0f);  // stays in its pressed look while on
    engine.Click(100.0f, 100.0f);
    EXPECT_FALSE(trigger->IsOn());
    EXPECT_EQ(triggerJournal.changes, (std::vector<std::string>{"Music:on", "Music:off"}));
    EXPECT_EQ(listener.Count("press:Music"), 1);
    EXPECT_EQ(listener.Count("release:Music"), 1);

    trigger->SetState(false);  // the current state: nothing to report
    EXPECT_EQ(triggerJournal.changes.size(), 2u);
    trigger->SetState(true);
    EXPECT_EQ(triggerJournal.changes.back(), "Music:on");
}

TEST_F(ButtonEntityTest, WindowDragsInsideTheScreenOnly) {
    CWindowEntity* window = new CWindowEntity();
    window->SetSpriteName("SmallWindow");
    window->SetPosXY(100.0f, 100.0f);
    window->SetSizeCentered(100.0f, 100.0f);
    engine.Manager().Add(window);
    engine.Step();

    engine.MoveMouse(120.0f, 110.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    engine.MoveMouse(220.0f, 160.0f);
    engine.Step();
    EXPECT_FLOAT_EQ(window->GetX(), 200.0f);
    EXPECT_FLOAT_EQ(window->GetY(), 150.0f);
    // A new position at x = 0 is refused: the window stays where it was.
    engine.MoveMouse(20.0f, 160.0f);
    engine.Step();
    EXPECT_FLOAT_EQ(window->GetX(), 200.0f);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    engine.MoveMouse(300.0f, 200.0f);  // released: the window stays
    engine.Step();
    EXPECT_FLOAT_EQ(window->GetX(), 200.0f);

    RenderStats::SetRecording(true);
    engine.Step();
    ASSERT_EQ(RenderStats::Recorded().size(), 1u);
    EXPECT_EQ(RenderStats::Recorded()[0].quad.v[0].col, 0xFFFFFFFFu);
}

}  // namespace
