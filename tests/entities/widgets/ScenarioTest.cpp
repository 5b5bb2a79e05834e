// A whole screen, headless: built from an XML layout with the game's resources
// and fonts, opened with its fade, driven by an input script. Its listener must
// hear exactly the hovers and presses of the buttons the player could reach:
// nothing under the covering window, nothing once the screen is closed.
#include <gtest/gtest.h>

#include "support/runtime/GuiTestEngine.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/TextEntity.h"

using ZOLTFramework::CButtonListener;
using ZOLTFramework::CScreenEntity;
using ZOLTFramework::CWindowEntity;

namespace {

const char* kLayout = R"(<screen>
    <text message="Title" text="Drovalin" font="Main" x="400" y="60"/>
    <button sprite_up="ButtonUp" sprite_over="ButtonOver" sprite_down="ButtonDown" message="Play" x="400" y="200">
        <rect x="-90" y="-22" w="180" h="44"/>
        <caption text="Play" font="Main"/>
    </button>
    <button sprite_up="ButtonUp" sprite_over="ButtonOver" sprite_down="ButtonDown" message="Options" x="400" y="280">
        <rect x="-90" y="-22" w="180" h="44"/>
        <caption text_alias="OptionsCaption" font="Main"/>
    </button>
    <button sprite_up="SmallButtonUp" sprite_over="SmallButtonOver" sprite_down="SmallButtonDown" message="Covered" x="400" y="450">
        <rect x="-60" y="-18" w="120" h="36"/>
    </button>
    <window sprite="SmallWindow" x="400" y="450" z="5" w="300" h="180"/>
</screen>)";

// A screen that builds its widgets from a layout file and listens to them.
class LayoutScreen : public CScreenEntity, public CButtonListener {
public:
    LayoutScreen(const std::string& layoutFile, EntityManager& manager) : CScreenEntity("LayoutScreen") {
        playOpenSound = true;
        AddShortcut(HGEK_ESCAPE, "Back");
        XMLDocument doc("screen");
        if (!doc.Load(layoutFile)) return;
        for (const auto& element : doc.GetRoot()->GetChildren()) {
            ZOLTFramework::CEntity* widget = nullptr;
            if (element->GetName() == "button") {
                widget = new ButtonExEntity(*element, this);
            } else if (element->GetName() == "text") {
                widget = new TextEntity(*element, this);
            } else if (element->GetName() == "window") {
                CWindowEntity* window = new CWindowEntity();
                window->SetSpriteName(element->GetStringAttribute("sprite"));
                window->SetPosXY(element->GetFloatAttribute("x"), element->GetFloatAttribute("y"));
                window->SetDepth(element->GetFloatAttribute("z"));
                // Windows of the game have no hit rectangle; this one covers what lies under it.
                window->SetSizeCentered(element->GetFloatAttribute("w"), element->GetFloatAttribute("h"));
                widget = window;
            }
            if (!widget) continue;
            widget->AttachTo(this);
            manager.Add(widget);
        }
    }

    void OnButtonPress(const std::string& message) override { messages.push_back("press:" + message); }
    void OnButtonRelease(const std::string& message) override { messages.push_back("release:" + message); }
    void OnButtonOver(const std::string& message) override {
        messages.push_back("over:" + message);
        ZOLTFramework::Services::PlaySound(engine, "MouseOver");
    }
    void OnButtonLeave(const std::string& message) override { messages.push_back("leave:" + message); }

    std::vector<std::string> messages;
};

TEST(ScenarioTest, ScreenFromLayoutAnswersScriptedMouseAndKeys) {
    GuiTestOptions options;
    options.dt = 0.05f;
    options.resources = true;
    options.audio = true;
    options.fonts = true;
    options.textTable = "[HGESTRINGTABLE]\nOptionsCaption=\"Options\"\n";
    GuiTestEngine engine(options);
    ASSERT_TRUE(engine.Dir().Write("Screens/Demo.xml", kLayout));

    LayoutScreen* screen = new LayoutScreen(engine.Dir() / "Screens/Demo.xml", engine.Manager());
    ASSERT_EQ(screen->GetChildren().size(), 5u);
    screen->SetOpacity(0.0f);
    screen->Open();
    engine.Manager().Add(screen);
    engine.Manager().PushScreen(screen);

    // Frame numbers count from the next frame; the fade-in takes ten frames.
    const int skipped = FrameDriver::QueueScript(
        "12 move 400 200\n"   // over Play
        "14 press 1\n"        // press Play
        "17 move 400 280\n"   // leave Play, over Options
        "19 press 1\n"        // press Options
        "22 move 400 450\n"   // over the window that covers the Covered button
        "24 press 1\n"
        "27 move 320 530\n"   // still the window, outside the Covered button
        "29 press 27\n"       // the screen's shortcut
        "31 move 400 60\n");  // the title has no hit rectangle: nothing
    ASSERT_EQ(skipped, 0);
    RenderStats::SetRecording(true);
    engine.Step(34);
    RenderStats::SetRecording(false);

    EXPECT_EQ(screen->messages, (std::vector<std::string>{"over:Play", "press:Play", "leave:Play", "over:Options",
                                                         "press:Options", "leave:Options", "press:Back"}));
    EXPECT_EQ(engine.GetAudioManager()->GetSoundPlayCount("OnWindow"), 1);
    EXPECT_EQ(engine.GetAudioManager()->GetSoundPlayCount("MouseOver"), 2);

    // Everything was drawn: title, three buttons, two captions, the window.
    bool sawWindow = false;
    for (const auto& q : RenderStats::Recorded()) {
        if (q.frame > 0 && q.quad.tex == engine.GetResourceManager()->GetTexture("SmallWindowTexture")) sawWindow = true;
    }
    EXPECT_TRUE(sawWindow);
    RenderStats::ClearRecorded();

    // Closed and hidden, the screen's buttons are out of reach.
    screen->Close();
    engine.Step(12);
    EXPECT_TRUE(screen->IsHidden());
    screen->messages.clear();
    FrameDriver::QueueScript("1 move 400 200\n2 press 1\n4 move 400 280\n5 press 1\n");
    engine.Step(7);
    EXPECT_TRUE(screen->messages.empty());

    // Re-opened, they work again (the mouse rests on Options).
    screen->Open();
    engine.Step(12);
    EXPECT_EQ(screen->messages, std::vector<std::string>{"over:Options"});
    screen->messages.clear();
    engine.Click(400.0f, 200.0f);
    EXPECT_EQ(screen->messages, (std::vector<std::string>{"over:Play", "press:Play", "leave:Options"}));
}

}  // namespace
