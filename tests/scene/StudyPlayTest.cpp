// The study played to the end by clicking each object at an opaque pixel:
// scores by the speed rule, flights and "TaskChanged" on arrival, misclicks,
// the key into the bag and onto the drawer, whose game of pairs finished
// first leaves every clue open; the last clue found ends the level with one
// "Win" after the "OnWin" actions. Sparkles play out and go, under a window
// (the field paused) too.
#include <gtest/gtest.h>

#include "entities/effects/ParticleSystemEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "graphics/hgeResourceManager.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PSLayer.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/scene/SceneTestEngine.h"
#include "ScenePlaySupport.h"

namespace {

const char* const kStudy = "data/Scenes/Study.xml";

}  // namespace

TEST(StudyPlay, EveryFindScoresFliesAndTheKeyOpensTheDrawerUntilOneWin) {
    HtmlLogCapture log;
    SceneTestEngine engine(GameSceneOptions("data\\Text\\English.txt"));
    auto* level = new LevelStandIn(kStudy);
    PlayField* field = level->Field();
    OpenPanel(engine, level);
    auto sparkles = [&] {
        const auto drawn = engine.Manager().GetDrawList();
        return std::count_if(drawn.begin(), drawn.end(), [](ZOLTFramework::CEntity* e) {
            return dynamic_cast<ParticleSystemEntity*>(e) != nullptr;
        });
    };
    // The drawer's mark (to come back to) goes when the drawer opens.
    const auto sparklesAtStart = sparkles() - long(SolveLaterObjects(field).size());

    // Three presses on the bare study, 0.1 s apart: one minute off, once.
    const ScreenPoint bare{700.0f, 20.0f, true};
    ASSERT_EQ(field->FindObjectAt(bare.x * 1.28f, bare.y * 1.28f), nullptr);
    for (int i = 0; i < 4; ++i) engine.Click(bare.x, bare.y);
    EXPECT_EQ(level->EventsNamed("AddTime"), (std::vector<std::string>{"AddTime=-60"}));
    engine.Run(1.3f);
    for (int i = 0; i < 3; ++i) engine.Click(bare.x, bare.y);
    EXPECT_EQ(level->EventsNamed("AddTime").size(), 1u) << "a pause of 1.2 s starts the count again";
    engine.Click(bare.x, bare.y);
    EXPECT_EQ(level->EventsNamed("AddTime").size(), 2u);

    // The extra cigar first: the field takes nothing else while it waits.
    SceneObject* cigar = SceneObjectNamed(field, "study_cigar");
    ASSERT_NE(cigar, nullptr);
    const ScreenPoint cigarAt = OpaquePointOf(cigar, field);
    ASSERT_TRUE(cigarAt.found);
    engine.Click(cigarAt.x, cigarAt.y);
    EXPECT_EQ(level->EventsNamed("AddMagnifyingGlass").size(), 1u) << "the glass and its tutorial follow";
    engine.Run(2.5f);

    // Waits between finds walk the speed rule: none, 1000, 500, none, ...
    const float waits[] = {0.4f, 1.2f, 2.5f};
    int finds = 0;
    // The speed timer runs while the field runs and restarts with each score.
    float scoredAt = -100.0f, pausedFor = 0.0f;
    std::vector<std::string> arrivals;
    auto waitForArrivals = [&] {
        for (int i = 0; i < 400 && level->EventsNamed("TaskChanged").size() < arrivals.size(); ++i) engine.Step();
        std::vector<std::string> got = level->EventsNamed("TaskChanged");
        std::sort(got.begin(), got.end());
        std::vector<std::string> expected = arrivals;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected);
    };
    auto find = [&](const std::string& objectName, const std::string& taskName) {
        SCOPED_TRACE(objectName);
        SceneObject* object = SceneObjectNamed(field, objectName);
        ASSERT_NE(object, nullptr);
        const ScreenPoint at = OpaquePointOf(object, field);
        ASSERT_TRUE(at.found);
        const float t = level->Clock() - scoredAt - pausedFor;
        const size_t from = level->events.size();
        engine.Click(at.x, at.y);
        scoredAt = level->Clock();
        pausedFor = 0.0f;
        EXPECT_FALSE(InScene(field, object)) << "taken";
        std::vector<std::string> expected{"OnObjectClick=" + objectName};
        if (objectName == "study_key") expected.push_back("ShowHint=TUTORIAL_INVENTORY/0x02120073");
        // The last find's flight closes the exit.
        if (field->Rules().Tasks().empty()) expected.push_back("DisableExit=");
        if (t > 0.0f && t <= 1.0f) expected.push_back("AddSpeedScore=1000");
        if (t > 1.0f && t <= 2.0f) expected.push_back("AddSpeedScore=500");
        expected.push_back("AddItemScore=500");
        std::vector<std::string> got;
        for (size_t i = from; i < level->events.size(); ++i)
            if (level->events[i].compare(0, 12, "TaskChanged=") != 0) got.push_back(level->events[i]);
        EXPECT_EQ(got, expected);
        EXPECT_EQ(std::count(level->events.begin() + long(from), level->events.end(), "TaskChanged=" + taskName), 0)
            << "on arrival only";
        arrivals.push_back("TaskChanged=" + taskName);
        engine.Run(waits[finds++ % 3]);
    };

    // The key flies into the bag's first slot.
    find("study_key", "Key");
    waitForArrivals();
    Inventory* bag = field->GetInventory();
    ASSERT_EQ(bag->GetObjects().size(), 1u);
    InventoryObject* key = bag->GetObjects()[0];
    EXPECT_EQ(key->GetObjectName(), "study_key");
    EXPECT_EQ(key->GetToolName(), "study_key");
    EXPECT_EQ(key->GetX(), 45.0f);
    EXPECT_EQ(key->GetY(), 45.0f);
    EXPECT_EQ(field->Rules().Counters().at("Key").count, 0);
    EXPECT_TRUE(field->Rules().ToolRecords().empty()) << "the flying item's record left on arrival";

    // Taken from the opened bag and used on the drawer, whose game of pairs
    // holds the click back; the game finished before any clue is found
    // closes the drawer's task alone.
    const size_t openTasks = field->Rules().Tasks().size();
    bag->Open();
    engine.Run(0.5f);
    hgeSprite* keyPicture = engine.GetResourceManager()->GetSprite(key->GetResourceName().c_str());
    engine.Click(key->GetAbsoluteX(), key->GetAbsoluteY());
    ASSERT_NE(HeldItem(field), nullptr);
    EXPECT_TRUE(SameLook(HeldItem(field)->GetSprite(), keyPicture)) << "the key in hand";
    SceneObject* drawer = SceneObjectNamed(field, "desk_drawer");
    const ScreenPoint drawerAt = OpaquePointOf(drawer, field);
    ASSERT_TRUE(drawerAt.found);
    engine.Click(drawerAt.x, drawerAt.y);
    EXPECT_EQ(level->EventsNamed("MiniGame"), (std::vector<std::string>{"MiniGame=data/MiniGames/1.1.xml"}));
    EXPECT_FALSE(InScene(field, drawer));
    EXPECT_EQ(HeldItem(field), nullptr);
    level->ReportMiniGame("MiniGameFinished", "data/MiniGames/1.1.xml");
    scoredAt = level->Clock();
    EXPECT_EQ(level->EventsNamed("AddMinigameScore"), (std::vector<std::string>{"AddMinigameScore=5000"}));
    engine.Run(0.5f);
    EXPECT_LT(drawer->GetOpacity(), 0.8f) << "the drawer fades";
    engine.Run(1.0f);
    ASSERT_EQ(bag->GetObjects().size(), 1u) << "the key went back into the bag while the game ran";
    EXPECT_EQ(bag->GetObjects()[0]->GetObjectName(), "study_key");
    EXPECT_EQ(bag->GetObjects()[0]->GetResourceName(), "study_key");
    EXPECT_EQ(field->Rules().Tasks().size(), openTasks - 1) << "the clues stay open";
    EXPECT_TRUE(field->IsPlaying());
    EXPECT_TRUE(level->EventsNamed("Win").empty());

    // Every clue found ends the search.
    const std::vector<std::pair<std::string, std::string>> rest = {
        {"watch", "Watch"},   {"spectacles", "Spectacles"},   {"scissors", "Scissors"}, {"quill", "Quill"},
        {"ace_of_spades", "AceOfSpades"}, {"horseshoe", "Horseshoe"}, {"teacup", "Teacup"},
        {"envelope", "Envelope"}, {"glove", "Glove"}, {"pipe", "Pipe"}, {"chess_knight", "ChessKnight"},
        {"coin_1", "Coins"},  {"coin_2", "Coins"}, {"coin_3", "Coins"}};
    for (const auto& item : rest) {
        EXPECT_TRUE(level->EventsNamed("Win").empty());
        find(item.first, item.second);
        if (item.first != "watch") continue;
        // A window opens over the field as the watch arrives: its tail and
        // its pick burst still play out and go.
        waitForArrivals();
        const PSLayer* tails = field->FindChild<PSLayer>(PlayField::kParticleLayerName);
        ASSERT_FALSE(tails->GetSystems().empty());
        field->Pause();
        engine.Run(3.0f);
        pausedFor += 3.0f;
        EXPECT_TRUE(tails->GetSystems().empty());
        EXPECT_EQ(sparkles(), sparklesAtStart);
        field->Resume();
    }
    waitForArrivals();
    for (int i = 0; i < 100 && level->EventsNamed("Win").empty(); ++i) engine.Step();
    const auto speed = level->EventsNamed("AddSpeedScore");
    EXPECT_GE(std::count(speed.begin(), speed.end(), "AddSpeedScore=1000"), 4);
    EXPECT_GE(std::count(speed.begin(), speed.end(), "AddSpeedScore=500"), 4);
    EXPECT_TRUE(field->Rules().Tasks().empty());
    EXPECT_TRUE(field->Rules().Done()) << "no find is still flying";
    const auto win = std::find(level->events.begin(), level->events.end(), "Win=");
    ASSERT_NE(win, level->events.end());
    EXPECT_EQ(*(win - 1), "AddCigars=1") << "the OnWin actions first";
    field->CheckWin();
    engine.Run(1.5f);
    EXPECT_EQ(level->EventsNamed("Win").size(), 1u);
    EXPECT_EQ(sparkles(), sparklesAtStart) << "spent bursts do not pile up";
    EXPECT_EQ(log.Count("Error:"), 0);
}
