// Scenes with special names: the measuring tool, the flashlight and the
// mini-game that opens the scene; and the hint's and counters' edge cases.
#include <gtest/gtest.h>

#include <map>

#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/TextEntity.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "support/scene/ScenePlayHelpers.h"
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
    for (int i = 0; i < 3; ++i) EXPECT_EQ(field->FindHintObject(), SceneObjectNamed(field, "fixture_key"));
    EXPECT_EQ(field->Rules().ItemCount("Key"), 1u);
    EXPECT_EQ(field->Rules().ItemCount("Nothing"), 0u);
    EXPECT_EQ(field->Rules().Counters().count("Nothing"), 0u) << "an absent name inserts nothing";
    EXPECT_EQ(field->GetTaskSprite("Key"), SceneObjectNamed(field, "fixture_key")->GetDisplaySprite());
    EXPECT_EQ(field->GetTaskSprite("Nothing"), nullptr);
    field->ShowHintTutorial();
    // A scene locked on a task it lacks sets no pointer.
    auto* unknown = new LevelStandIn(engine.WriteScene("unknown.xml", R"(<scene res_file="x" res_group="91">
  <task_condition><action type="LockingTask" name="Nothing^1.57"/></task_condition></scene>)"));
    engine.Step();
    EXPECT_EQ(unknown->EventsNamed("LockingTask"), (std::vector<std::string>{"LockingTask=Nothing^1.57"}));
    EXPECT_EQ(unknown->Field()->FindChild<ZOLTFramework::CEntity>("ObjectPointer"), nullptr)
        << "an unknown task sets no pointer";

    EXPECT_TRUE(level->EventsNamed("ShowHint").empty()) << "no glass in the scene";
}
