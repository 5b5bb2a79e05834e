// Scenes with special names: the measuring tool, the flashlight and the
// mini-game that opens the scene; and the hint's and counters' edge cases.
#include <gtest/gtest.h>

#include <map>

#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/TextEntity.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "support/runtime/GuiTestEngine.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/SceneTestEngine.h"
#include "ScenePlaySupport.h"

TEST(SpecialScenes, MeasuringToolFlashlightAndTheOpeningMiniGame) {
    SceneTestEngine engine(GameSceneOptions());
    {
        auto* level = new LevelStandIn(FixtureScene("MeasuringTool.xml"));
        PlayField* field = level->Field();
        engine.Run(0.6f);
        TextEntity* reading = field->FindChild<TextEntity>("MeasureText");
        ASSERT_NE(reading, nullptr);
        const std::pair<float, const char*> readings[] = {{600.0f, "2.5"}, {549.0f, "1.9"}, {350.0f, "0.0"}};
        for (const auto& r : readings) {
            engine.MoveMouse(351.0f, r.first);
            engine.Step();
            EXPECT_EQ(reading->GetTextRef(), r.second) << r.first;
        }
        engine.Click(351.0f, 360.0f);
        EXPECT_FALSE(reading->IsHidden()) << "a press near the compass shows the tool";
        engine.MoveMouse(351.0f, 550.0f);
        engine.Step();  // the reading follows the mouse
        EXPECT_EQ(reading->GetTextRef(), "2.0");
        engine.Click(351.0f, 550.0f);
        EXPECT_EQ(level->EventsNamed("Win"), (std::vector<std::string>{"Win="}));
        EXPECT_TRUE(reading->IsHidden());
        EXPECT_TRUE(field->Rules().Counters().empty());
        level->Kill();
        engine.Step();
    }
    {
        auto* level = new LevelStandIn(FixtureScene("Flashlight.xml"));
        engine.Run(0.2f);
        auto* light = level->Field()->FindChild<ZOLTFramework::CSpriteEntity>("Flashlight");
        ASSERT_NE(light, nullptr);
        engine.MoveMouse(420.0f, 260.0f);
        engine.Step();
        EXPECT_EQ(light->GetX(), 420.0f);
        EXPECT_EQ(light->GetY(), 260.0f);
        level->Kill();
        engine.Step();
    }
    {
        auto* level = new LevelStandIn(FixtureScene("AutoMiniGame.xml"));
        engine.Run(0.2f);
        level->Field()->GotFocus();
        level->Field()->GotFocus();
        EXPECT_EQ(level->EventsNamed("MiniGame"), (std::vector<std::string>{"MiniGame=data/MiniGames/15.2.xml"}));
    }
}

TEST(SpecialScenes, HintChoiceCountsAndTaskSprites) {
    SceneTestEngine engine(GameSceneOptions());
    auto* level = new LevelStandIn(FixtureScene("ToolMiniGame.xml"));
    PlayField* field = level->Field();
    engine.Run(0.6f);
    // The lock is found with a tool and never hinted; the key is the only one.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(field->FindHintObject(), field->FindObjectByName("fixture_key"));
    EXPECT_EQ(field->GetItemCount("Key"), 1u);
    EXPECT_EQ(field->GetItemCount("Nothing"), 0u);
    EXPECT_EQ(field->Rules().Counters().count("Nothing"), 0u) << "an absent name inserts nothing";
    EXPECT_EQ(field->GetTaskSprite("Key"), field->FindObjectByName("fixture_key")->GetDisplaySprite());
    EXPECT_EQ(field->GetTaskSprite("Nothing"), nullptr);
    field->ShowExtraCigarTutorial("Nothing");
    EXPECT_EQ(field->FindChild<ZOLTFramework::CEntity>("ObjectPointer"), nullptr) << "an unknown task sets no pointer";
    field->ShowExtraCigarTutorial("");
    field->ShowHintTutorial();

    EXPECT_TRUE(level->EventsNamed("ShowHint").empty()) << "no glass in the scene";
}
