// The harbour painting's differences taken from either half, and the tool
// task whose click waits for a mini-game: finished, skipped and put off.
#include <gtest/gtest.h>

#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/runtime/GuiTestEngine.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/scene/SceneTestEngine.h"
#include "ScenePlaySupport.h"

namespace {

SceneTestOptions GameOptions() { return GameSceneOptions("data\\Text\\English.txt"); }

const std::string kToolMiniGame = FixtureScene("ToolMiniGame.xml");
const char* const kMiniGameFile = "data/MiniGames/5.2.xml";

// Finds the key, waits for it in the bag and takes it into the hand.
void TakeKey(SceneTestEngine& engine, LevelStandIn* level) {
    PlayField* field = level->Field();
    Inventory* bag = field->GetInventory();
    if (SceneObject* key = SceneObjectNamed(field, "fixture_key")) {
        const ScreenPoint at = OpaquePointOf(key, field);
        ASSERT_TRUE(at.found);
        engine.Click(at.x, at.y);
        for (int i = 0; i < 200 && bag->GetObjects().empty(); ++i) engine.Step();
    }
    ASSERT_EQ(bag->GetObjects().size(), 1u);
    bag->PickUp(bag->GetObjects()[0]);
    ASSERT_NE(HeldItem(field), nullptr);
}

// The key used on the lock: "MiniGame" pauses the field at once.
void UseKeyOnLock(SceneTestEngine& engine, LevelStandIn* level) {
    PlayField* field = level->Field();
    SceneObject* lock = SceneObjectNamed(field, "fixture_lock");
    ASSERT_NE(lock, nullptr);
    const ScreenPoint at = OpaquePointOf(lock, field);
    ASSERT_TRUE(at.found);
    const size_t asked = level->EventsNamed("MiniGame").size();
    engine.Click(at.x, at.y);
    ASSERT_EQ(level->EventsNamed("MiniGame").size(), asked + 1);
    EXPECT_EQ(level->EventsNamed("MiniGame").back(), std::string("MiniGame=") + kMiniGameFile);
    EXPECT_TRUE(field->IsPaused());
    ASSERT_FALSE(field->Rules().DelayedTasks().empty());
    EXPECT_TRUE(field->Rules().DelayedTasks().back().locking);
    EXPECT_EQ(field->Rules().DelayedTasks().back().sceneObject, lock);
    EXPECT_FALSE(InScene(field, lock));
    EXPECT_EQ(HeldItem(field), nullptr);
    EXPECT_EQ(field->GetInventory()->GetObjects().size(), 1u) << "the key waits in the bag";
    // Nothing moves while the mini-game runs: no flight, no replay.
    const size_t delayed = field->Rules().DelayedTasks().size();
    engine.Run(2.0f);
    EXPECT_EQ(field->Rules().DelayedTasks().size(), delayed);
    EXPECT_NE(lock->GetOpacity(), 0.0f);
    EXPECT_TRUE(level->EventsNamed("Win").empty());
}

}  // namespace

TEST(DifferencesPlay, EachDifferenceTakesBothHalvesFromEitherHalfAndTheSixthWins) {
    HtmlLogCapture log;
    SceneTestEngine engine(GameOptions());
    auto* level = new LevelStandIn("data/Scenes/Portrait.xml");
    PlayField* field = level->Field();
    OpenPanel(engine, level);
    ASSERT_NE(SceneObjectNamed(field, ""), nullptr) << "the dividing line of a difference picture";
    ASSERT_EQ(field->Rules().Pairs().size(), 6u);

    int pair = 0;
    for (const PairRecord& difference : std::vector<PairRecord>(field->Rules().Pairs())) {
        SCOPED_TRACE(difference.firstName);
        SceneObject* upper = SceneObjectNamed(field, difference.firstName);
        SceneObject* lower = SceneObjectNamed(field, difference.secondName);
        ASSERT_NE(upper, nullptr);
        ASSERT_NE(lower, nullptr);
        // By turns: the upper variant, then the lower one (its own pixels,
        // which the upper half may not have).
        const ScreenPoint at = OpaquePointOf(pair % 2 ? lower : upper);
        ASSERT_TRUE(at.found);
        if (pair % 2) {
            EXPECT_GE(at.y, 300.0f);
        }
        const size_t from = level->events.size();
        engine.Click(at.x, at.y);
        EXPECT_FALSE(InScene(field, upper));
        EXPECT_FALSE(InScene(field, lower));
        const auto clicks = EventsSince(level->events, from, "OnObjectClick");
        EXPECT_EQ(clicks.size(), 2u);
        EXPECT_EQ(EventsSince(level->events, from, "AddItemScore").size(), 2u);
        engine.Run(0.3f);
        ++pair;
    }
    EXPECT_EQ(field->Rules().Counters().at("Differences").count, 0);
    EXPECT_TRUE(level->EventsNamed("Win").empty()) << "the finds are still flying";
    for (int i = 0; i < 400 && level->EventsNamed("Win").empty(); ++i) engine.Step();
    EXPECT_EQ(level->EventsNamed("Win").size(), 1u);
    EXPECT_EQ(level->EventsNamed("TaskChanged").size(), 12u);
    EXPECT_TRUE(field->Rules().Done()) << "no find is still flying";

    EXPECT_EQ(log.Count("Error:"), 0);
}

TEST(MiniGamePlay, AClickWaitsForTheMiniGameFinishedSkippedOrPutOff) {
    for (const std::string result : {"MiniGameFinished", "MiniGameSkip"}) {
        SCOPED_TRACE(result);
        SceneTestEngine engine(GameOptions());
        auto* level = new LevelStandIn(kToolMiniGame);
        PlayField* field = level->Field();
        OpenPanel(engine, level);
        TakeKey(engine, level);
        UseKeyOnLock(engine, level);
        SceneObject* lock = level->Field()->Rules().DelayedTasks().back().sceneObject;
        const size_t clicks = level->EventsNamed("OnObjectClick").size();
        level->ReportMiniGame(result, kMiniGameFile);
        EXPECT_FALSE(field->IsPaused());
        EXPECT_TRUE(field->Rules().DelayedTasks().empty());
        EXPECT_EQ(level->EventsNamed("OnObjectClick").size(), clicks + 1) << "the waiting click replays";
        EXPECT_EQ(level->EventsNamed("AddMinigameScore").size(), result == "MiniGameFinished" ? 1u : 0u);
        if (result == "MiniGameFinished") {
            EXPECT_EQ(level->EventsNamed("AddMinigameScore")[0], "AddMinigameScore=5000");
        }
        EXPECT_TRUE(field->Rules().Conditions().empty()) << "the mini-game is offered once";
        EXPECT_TRUE(level->EventsNamed("Win").empty());
        engine.Run(0.9f);
        EXPECT_TRUE(level->EventsNamed("Win").empty());
        EXPECT_TRUE(lock->IsDead() || lock->GetOpacity() < 0.2f) << "the lock fades";
        engine.Run(0.3f);
        EXPECT_EQ(level->EventsNamed("Win").size(), 1u) << "a second after the result";
        engine.Run(1.5f);
        EXPECT_EQ(level->EventsNamed("Win").size(), 1u);
    }

    // Put off: the lock can be clicked again and shows the solve-later
    // effect once, however often it is put off.
    SceneTestEngine engine(GameOptions());
    auto* level = new LevelStandIn(kToolMiniGame);
    PlayField* field = level->Field();
    OpenPanel(engine, level);
    TakeKey(engine, level);

    // Right press while holding the key: it flies back into the bag.
    engine.MoveMouse(500.0f, 200.0f);
    engine.Press(HGEK_RBUTTON);
    EXPECT_EQ(HeldItem(field), nullptr);
    const size_t changes = level->EventsNamed("TaskChanged").size();
    for (int i = 0; i < 200 && field->GetInventory()->GetObjects().empty(); ++i) engine.Step();
    ASSERT_EQ(field->GetInventory()->GetObjects().size(), 1u);
    EXPECT_EQ(field->GetInventory()->GetObjects()[0]->GetObjectName(), "fixture_key");
    EXPECT_EQ(level->EventsNamed("TaskChanged").size(), changes) << "a put-back is no task change";
    EXPECT_EQ(field->Rules().ItemsOnTheirWay(), 0);
    // Right press with nothing held: the glass, then plain again.
    engine.Press(HGEK_RBUTTON);
    EXPECT_FLOAT_EQ(field->GetScaleX(), 1.664f);
    engine.Press(HGEK_RBUTTON);
    EXPECT_FLOAT_EQ(field->GetScaleX(), 1.0f);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TakeKey(engine, level);
        UseKeyOnLock(engine, level);
        SceneObject* lock = field->Rules().DelayedTasks().back().sceneObject;
        level->ReportMiniGame("MiniGameSolveLater", kMiniGameFile);
        EXPECT_TRUE(field->Rules().DelayedTasks().empty());
        EXPECT_TRUE(InScene(field, lock)) << "clickable again";
        EXPECT_EQ(SolveLaterObjects(field).size(), 1u);
        EXPECT_EQ(level->EventsNamed("AddMinigameScore").size(), 0u);
        engine.Run(1.5f);
        EXPECT_TRUE(level->EventsNamed("Win").empty());
        EXPECT_FALSE(lock->IsDead());
    }
}
