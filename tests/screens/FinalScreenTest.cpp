// The final screen: kisses land with "OnKiss", fireworks start at 2 s, and a
// key leaves for exactly one main menu, with nothing of the final screen
// sounding after it and the menu's own delayed calls left alone.
#include <gtest/gtest.h>

#include <memory>

#include "StoryTestSupport.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/screens/Dialog.h"
#include "screens/CMenuScreen.h"
#include "screens/FinalScreen.h"

using ZOLTFramework::CMenuScreen;
using ZOLTFramework::FinalScreen;

namespace {

int Menus(StoryEngine& engine) {
    int n = 0;
    for (auto* screen : engine.Manager().GetScreenStack())
        if (dynamic_cast<CMenuScreen*>(screen) && !screen->IsDead()) ++n;
    return n;
}

// Fish for the menu's aquarium while the test runs.
struct FishKinds {
    FishKinds() : kept(PlayerManager::Instance()->FishKinds) {
        PlayerManager::Instance()->FishKinds = {"bubbles2_Menu"};
    }
    ~FishKinds() { PlayerManager::Instance()->FishKinds = kept; }
    std::vector<std::string> kept;
};

}  // namespace

TEST(FinalScreen, KissesLandAndFireworksStartOverTheFinalMusic) {
    StoryEngine engine(0.05f);
    ASSERT_TRUE(engine.HasSound());
    auto* screen = new FinalScreen();
    EXPECT_EQ(engine.Top(), screen);
    EXPECT_EQ(screen->GetName(), "FinalScreen");
    EXPECT_EQ(engine.GetAudioManager()->GetCurrentMusicName(), "OnFinal");
    EXPECT_TRUE(screen->FindChild("Sparkles") && !screen->FindChild("Salute")) << "the sparkles";
    float took = 0.0f;
    EXPECT_TRUE(engine.RunUntil([&] { return engine.Plays("OnKiss") == 1; }, 3.0f, &took));
    EXPECT_NEAR(took, 1.0f, 0.11f);
    EXPECT_TRUE(engine.RunUntil([&] { return engine.Plays("OnKiss") == 2; }, 3.0f, &took));
    EXPECT_NEAR(took, 1.0f, 0.11f);
    EXPECT_TRUE(screen->FindChild("Sparkles") && screen->FindChild("Salute")) << "sparkles and salute";
    EXPECT_TRUE(engine.RunUntil([&] { return engine.Plays("OnSalute") > 0; }, 1.0f));
}

TEST(FinalScreen, OneKeyOpensOneMenuAndSilencesTheFinalScreen) {
    for (float keyAt : {0.5f, 0.7f, 1.7f}) {
        SCOPED_TRACE(keyAt);
        StoryEngine engine(0.05f);
        FishKinds fish;
        auto* screen = new FinalScreen();
        std::weak_ptr<void> alive = screen->GetLifeToken();
        engine.Run(keyAt);
        const int kisses = engine.Plays("OnKiss");
        EXPECT_EQ(kisses, keyAt > 1.0f ? 1 : 0);
        engine.KeyDown(HGEK_SPACE);
        engine.Step();
        engine.KeyUp(HGEK_SPACE);
        EXPECT_EQ(Menus(engine), 1);
        EXPECT_TRUE(screen->IsClosing());
        for (const char* name : {"Sparkles", "Salute"})
            EXPECT_TRUE(!screen->FindChild(name) || screen->FindChild(name)->IsDead()) << "killed at once";
        for (const char* kiss : {"Kiss1", "Kiss2"}) EXPECT_TRUE(screen->FindChild(kiss)->IsHidden());
        engine.Press(HGEK_SPACE);
        engine.Run(3.0f);
        EXPECT_EQ(engine.Plays("OnKiss"), kisses) << "no kiss lands after the key";
        EXPECT_EQ(engine.Plays("OnSalute"), 0) << "no fireworks after the key";
        EXPECT_EQ(Menus(engine), 1);
        EXPECT_TRUE(alive.expired());
        // The menu's aquarium keeps its calls on the shared timer.
        EXPECT_EQ(PlayerManager::Instance()->GetFish().size(), 14u);
        EXPECT_FALSE(PlayerManager::Instance()->Timer->IsEmpty());
    }
}

TEST(FinalScreen, TheQuitQuestionAnsweredNoLeavesTheFinalScreenWaitingForAKey) {
    StoryEngine engine(0.05f);
    auto* screen = new FinalScreen();
    engine.Run(0.3f);
    auto* question = new Dialog("Q_EXIT", "data/Screens/DialogYesNo.xml", nullptr);
    question->SetLayer(102400.0f);
    question->SetDepth(500000.0f);
    engine.Manager().Add(question);
    engine.Step();
    engine.Press(HGEK_SPACE);
    EXPECT_EQ(Menus(engine), 0) << "a key while the question is open does nothing";
    engine.Press(HGEK_ESCAPE);  // "no"
    EXPECT_EQ(engine.Top(), screen);
    EXPECT_FALSE(screen->IsDead());
    engine.Press(HGEK_SPACE);
    EXPECT_EQ(Menus(engine), 1);
}
