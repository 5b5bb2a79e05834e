// The screens the game starts with: three logo screens that hand over after
// three seconds or on a key, and the load screen that fills its bar, ignores
// keys until then and opens the main menu through the registered maker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/effects/PSGeneratorEntity.h"
#include "entities/screens/ScreenFactory.h"
#include "entities/screens/StartScreens.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/ResDesc.h"
#include "graphics/hgeResourceManager.h"
#include "platform/RenderStats.h"
#include "support/ScratchFolder.h"

using namespace ZOLTFramework;

namespace {

CLoadScreen* FindLoadScreen(EntityManager& manager) {
    for (CEntity* e : manager.GetDrawList())
        if (auto* load = dynamic_cast<CLoadScreen*>(e))
            if (!load->IsDead()) return load;
    return nullptr;
}

// The ready step has run: the product logo is up.
bool IsReady(const CLoadScreen* load) { return load->FindChild<CSpriteEntity>("DRLogo") != nullptr; }

// The progress bar's width after that many frames of the loading phase.
int BarAfter(int frames) { return int(float(frames) / CLoadScreen::kFramesBeforeReady * 760.0f); }

bool HasChildOfType(CEntity* parent, bool (*test)(CEntity*)) {
    for (CEntity* child : parent->GetChildren())
        if (test(child)) return true;
    return false;
}

class StartScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.Init());
        ScreenFactory::Register(ScreenFactory::kMainMenu,
                                [this](EntityManager& manager, const std::string& name) -> CEntity* {
                                    menuNames.push_back(name);
                                    return manager.OpenScreen<CScreenEntity>(name);
                                });
    }
    void TearDown() override { ScreenFactory::Register(ScreenFactory::kMainMenu, nullptr); }

    HeadlessSetting setting{"0.05"};
    TempDir dir;
    StartedEngine engine{dir};
    std::vector<std::string> menuNames;
};

TEST_F(StartScreensTest, LogosHandOverAfterThreeSecondsEach) {
    auto* first = new CFirstLogoScreen("CustomLogo");
    first->SetLayer(1.0f);
    engine.Manager().Add(first);
    EXPECT_FALSE(g_bConfirmExit);
    EXPECT_FLOAT_EQ(first->GetOpacity(), 0.2f);

    FrameDriver::RunFrames(55);  // 2.7 s
    EXPECT_NE(FindEntity(engine.Manager(), "CustomLogo"), nullptr);
    EXPECT_EQ(FindEntity(engine.Manager(), "PellicoLogo"), nullptr);
    EXPECT_FALSE(engine.GetDrawCursor());  // the logos show no cursor

    FrameDriver::RunFrames(10);  // 3.2 s
    EXPECT_NE(FindEntity(engine.Manager(), "PellicoLogo"), nullptr);

    FrameDriver::RunFrames(55);  // 6.0 s: the second logo is still up
    EXPECT_EQ(FindEntity(engine.Manager(), "OrvelLogo"), nullptr);
    FrameDriver::RunFrames(10);
    EXPECT_NE(FindEntity(engine.Manager(), "OrvelLogo"), nullptr);
    EXPECT_EQ(FindEntity(engine.Manager(), "CustomLogo"), nullptr);  // faded out and removed

    EXPECT_EQ(FindLoadScreen(engine.Manager()), nullptr);
    FrameDriver::RunFrames(65);  // about nine seconds in all
    EXPECT_NE(FindLoadScreen(engine.Manager()), nullptr);
}

TEST_F(StartScreensTest, AKeySkipsOneLogoOnly) {
    engine.Manager().Add(new CFirstLogoScreen("CustomLogo"));
    FrameDriver::RunFrames(5);
    PressKey(HGEK_SPACE);
    FrameDriver::RunFrames(2);
    auto* first = static_cast<CScreenEntity*>(FindEntity(engine.Manager(), "CustomLogo"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsClosing());
    ASSERT_NE(FindEntity(engine.Manager(), "PellicoLogo"), nullptr);

    // The same press does not reach the next logo: it stays its three seconds.
    FrameDriver::RunFrames(40);
    EXPECT_EQ(FindEntity(engine.Manager(), "OrvelLogo"), nullptr);
    PressKey(HGEK_ENTER);
    FrameDriver::RunFrames(2);
    EXPECT_NE(FindEntity(engine.Manager(), "OrvelLogo"), nullptr);
}

TEST_F(StartScreensTest, KeyWhileFadingOutDoesNotSkipTwice) {
    engine.Manager().Add(new CFirstLogoScreen("CustomLogo"));
    FrameDriver::RunFrames(3);
    PressKey(HGEK_SPACE);
    FrameDriver::RunFrames(2);
    // The first logo is fading out; a second key goes to the new logo only.
    PressKey(HGEK_SPACE);
    FrameDriver::RunFrames(2);
    EXPECT_NE(FindEntity(engine.Manager(), "OrvelLogo"), nullptr);
    int orvel = 0;
    for (CEntity* e : engine.Manager().GetDrawList()) orvel += e->GetName() == "OrvelLogo";
    EXPECT_EQ(orvel, 1);
    EXPECT_EQ(FindLoadScreen(engine.Manager()), nullptr);
}

TEST_F(StartScreensTest, LoadScreenIgnoresKeysUntilItsBarIsDone) {
    g_bConfirmExit = true;
    auto* load = new CLoadScreen("");
    engine.Manager().Add(load);
    EXPECT_FALSE(g_bConfirmExit);
    EXPECT_TRUE(engine.GetDrawCursor());
    TextEntity* caption = load->FindChild<TextEntity>("Press any key");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->GetTextRef(), "Loading...");
    ResDesc* lastToCache = engine.GetResourceManager()->FindRes(RES_TEXTURE, "FishTexture");
    ASSERT_NE(lastToCache, nullptr);
    EXPECT_EQ(lastToCache->handle, 0u);

    FrameDriver::RunFrames(1);  // joins the manager
    for (int frame = 1; frame < CLoadScreen::kFramesBeforeReady; ++frame) {
        EXPECT_EQ(load->GetProgressWidth(), BarAfter(frame));
        if (frame % 20 == 0) PressKey(HGEK_SPACE);
        if (frame % 30 == 0) PressKey(HGEK_LBUTTON);
        FrameDriver::RunFrames(1);
    }
    EXPECT_TRUE(menuNames.empty());
    EXPECT_EQ(load->GetProgressWidth(), 760);
    EXPECT_FALSE(IsReady(load));
    EXPECT_NE(lastToCache->handle, 0u) << "the layout's pictures are loaded while the bar fills";

    FrameDriver::RunFrames(1);
    EXPECT_TRUE(IsReady(load));
    EXPECT_EQ(caption->GetTextRef(), "Press any key to continue");
    EXPECT_TRUE(menuNames.empty());

    // Stars sparkle from a second after the ready step.
    auto isStars = [](CEntity* e) { return dynamic_cast<PSGeneratorEntity*>(e) != nullptr; };
    FrameDriver::RunFrames(15);
    EXPECT_FALSE(HasChildOfType(load, isStars));
    FrameDriver::RunFrames(10);
    EXPECT_TRUE(HasChildOfType(load, isStars));

    PressKey(HGEK_LBUTTON);
    FrameDriver::RunFrames(1);
    ASSERT_EQ(menuNames, std::vector<std::string>{"MenuScreen"});
    EXPECT_TRUE(load->IsDead());
    CEntity* menu = FindEntity(engine.Manager(), "MenuScreen");
    FrameDriver::RunFrames(1);
    menu = FindEntity(engine.Manager(), "MenuScreen");
    ASSERT_NE(menu, nullptr);
    EXPECT_FLOAT_EQ(menu->GetDepth(), -1.0f);
    EXPECT_EQ(FindLoadScreen(engine.Manager()), nullptr);
}

TEST_F(StartScreensTest, KeyInTheFrameOfTheReadyStepOpensTheMenu) {
    auto* load = new CLoadScreen("");
    engine.Manager().Add(load);
    FrameDriver::RunFrames(CLoadScreen::kFramesBeforeReady - 1);
    EXPECT_EQ(load->GetProgressWidth(), BarAfter(CLoadScreen::kFramesBeforeReady - 1));
    FrameDriver::RunFrames(1);
    EXPECT_FALSE(IsReady(load));
    PressKey(HGEK_ESCAPE);
    FrameDriver::RunFrames(1);
    EXPECT_TRUE(IsReady(load));
    EXPECT_EQ(menuNames.size(), 1u);
}

TEST_F(StartScreensTest, LoadScreenStaysWithoutAMenuMaker) {
    ScreenFactory::Register(ScreenFactory::kMainMenu, nullptr);
    auto* load = new CLoadScreen("");
    engine.Manager().Add(load);
    FrameDriver::RunFrames(CLoadScreen::kFramesBeforeReady + 1);
    PressKey(HGEK_SPACE);
    FrameDriver::RunFrames(2);
    EXPECT_FALSE(load->IsDead());
    EXPECT_NE(ReadWholeFile(dir / "Log.html").find("No screen maker is registered for MainMenu"), std::string::npos);
}

TEST_F(StartScreensTest, LoadScreenDrawsItsBarClippedToTheProgress) {
    RenderStats::SetRecording(true);
    RenderStats::ClearRecorded();
    auto* load = new CLoadScreen("");
    engine.Manager().Add(load);
    FrameDriver::RunFrames(62);
    RenderStats::SetRecording(false);
    const int frame = RenderStats::FramesRun();
    int bars = 0;
    for (const auto& q : RenderStats::Recorded()) {
        if (q.frame != frame || q.quad.tex != 0 || !q.clipped) continue;
        ++bars;
        EXPECT_EQ(q.clipX, 80);
        EXPECT_EQ(q.clipY, 555);
        EXPECT_EQ(q.clipH, 30);
        EXPECT_EQ(q.clipW, load->GetProgressWidth());
        EXPECT_EQ(q.quad.v[0].col, 0xC8335BB0u);
        EXPECT_EQ(q.quad.v[3].col, 0xC862B6DBu);
        EXPECT_FLOAT_EQ(q.quad.v[2].x, 720.0f);
    }
    EXPECT_EQ(bars, 1);
    EXPECT_EQ(load->GetProgressWidth(), BarAfter(62));
    RenderStats::ClearRecorded();
}

// Without a resource manager the screens draw only what needs no resource.
TEST(StartScreensWithoutResources, RunTheWholeRowWithoutACrash) {
    HeadlessSetting setting{"0.05"};
    TempDir dir;
    StartedEngine engine(dir, false);
    ASSERT_TRUE(engine.Init());
    EXPECT_EQ(engine.GetResourceManager(), nullptr);
    engine.Manager().Add(new CFirstLogoScreen("CustomLogo"));
    FrameDriver::RunFrames(3);
    EXPECT_EQ(RenderStats::LastFrame().quads, 1);  // the white fill alone
    for (int i = 0; i < 3; ++i) {
        PressKey(HGEK_SPACE);
        FrameDriver::RunFrames(4);
    }
    FrameDriver::RunFrames(20);
    CLoadScreen* load = FindLoadScreen(engine.Manager());
    ASSERT_NE(load, nullptr);
    FrameDriver::RunFrames(CLoadScreen::kFramesBeforeReady + 40);
    EXPECT_TRUE(IsReady(load));
    EXPECT_GE(RenderStats::LastFrame().quads, 1);  // the bar
}

}  // namespace
