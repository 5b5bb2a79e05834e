// The game ended at the edges of a scene, by the window's close and yes or by
// SIGTERM, loses nothing and counts nothing twice. A new player plays the
// story straight through in relaxed mode; the game keeps each place's score,
// the cigars, the medals and the evidence. Then another new player plays it
// again and quits at every edge, restarts and continues each time:
// - a cigar still flying to the counter (the study's, by close);
// - a drawer whose game was put off, its key back in the bag (SIGTERM), and a
//   sewer searched half way with the hook in the bag (close);
// - a score window that awards a medal (the study's by SIGTERM, the docks' by
//   close) and one that leads on to the next scene (the town hall's, by close);
// - the last finds still flying to the panel (the painting by SIGTERM, the
//   warehouse by close), and the painting half done;
// Every Continue resumes what was saved without a Warning row (a state the
// game wrote always passes its check), and at the end each place's score
// (less its speed bonus, which depends on the pace of the clicks), the
// cigars, the medals and the evidence are those of the straight game.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "entities/screens/Dialog.h"
#include "minigames/MiniGameScreen.h"
#include "platform/FrameDriver.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TestInput.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

using ZOLTFramework::GlobalMapScreen;

const char* const kHouse = "NodeBrannoksHouse";
const char* const kTownHall = "NodeTownHall";
const char* const kHarbour = "NodeHarbour";
const char* const kWarehouse = "NodeWarehouse";

class QuitEdges : public GameScenario {
protected:
    // What the game keeps of a finished story.
    struct Kept {
        std::map<std::string, int> scores;  // node: its score less its speed bonus
        int cigars = 0;
        std::set<uint32_t> medals;
        std::set<std::string> evidences;
    };

    // Solves every game; the drawer's is put off the first time when asked.
    void PlayGames(bool putOffDrawer) {
        offered.clear();
        onMiniGame = [this, putOffDrawer](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
            auto* screen = dynamic_cast<MiniGameScreen*>(game);
            ASSERT_NE(screen, nullptr);
            ASSERT_TRUE(ConfirmMiniGameHelp(screen));
            if (putOffDrawer && offered[screen->GetName()]++ == 0 && screen->GetName() == "data/MiniGames/1.1.xml") {
                ASSERT_TRUE(PutOffMiniGame(screen));
                return;
            }
            ASSERT_TRUE(SolveMiniGame(screen));
            ASSERT_TRUE(PressMiniGameOk(screen));
        };
    }

    // A new player, a relaxed game, the map after the overview.
    GlobalMapScreen* NewPlayer(const std::string& name) {
        speed.clear();
        Start();
        EnterName(name);
        NewGame(false);
        return IntroAndOverview(false);
    }

    // The speed bonus of the scene just won joins its place's.
    void NoteSpeed(const std::string& node) { speed[node] += Active()->ScoreSpeed; }

    Kept WhatTheGameKept() {
        Kept kept;
        for (const auto& [node, score] : Active()->NodeScores) kept.scores[node] = score - speed[node];
        kept.cigars = Active()->CigarCount;
        kept.medals = Active()->Medals;
        kept.evidences = Active()->Evidences;
        return kept;
    }

    // Plays a scene to its score window and closes it.
    void PlayScene(const std::string& part, const std::string& node, bool medal) {
        SCOPED_TRACE(part);
        LevelScreen* level = WaitForLevel(part, 15.0f);
        ASSERT_NE(level, nullptr);
        FindEverything(level);
        LevelCompleteScreen* window = WaitForScoreWindow();
        ASSERT_NE(window, nullptr);
        NoteSpeed(node);
        CloseScoreWindow(window, medal);
    }

    // "Play" and yes: the level the game kept opens at once, without a Warning.
    LevelScreen* ContinueTo(const std::string& part) {
        Continue();
        LevelScreen* level = WaitForLevel(part);
        EXPECT_NE(level, nullptr) << part;
        EXPECT_EQ(Find<GlobalMapScreen>(), nullptr) << "no map on the stack";
        for (const std::string& row : ProblemRows()) ADD_FAILURE() << row;
        if (level) Settle(level);
        return level;
    }

    // A place's first scene played from the map to its score window, where
    // the game ends (SIGTERM or close) and starts again.
    void PlayToTheScoreWindowAndQuit(GlobalMapScreen* map, const std::string& node, const std::string& part,
                                     bool signal) {
        ClickNode(map, node);
        LevelScreen* level = WaitForLevel(part, 15.0f);
        ASSERT_NE(level, nullptr);
        FindEverything(level);
        ASSERT_NE(WaitForScoreWindow(), nullptr);
        NoteSpeed(node);
        EndAndRestart(signal);
    }

    // Clicks the scene's things in file order until every task is taken, then
    // lets two frames go: the last finds are still on their way.
    void FindToTheLast(LevelScreen* level) {
        PlayField* field = level->FindChild<PlayField>("PlayField");
        XMLDocument scene = XMLDocument::FromFile(level->GetScenePath());
        ASSERT_TRUE(scene.IsLoaded());
        for (const auto& task : scene.GetRoot()->GetChildren()) {
            if (task->GetName() != "task") continue;
            for (const auto& item : task->GetChildren()) {
                const std::string name = item->GetStringAttribute("name");
                if (SceneObjectNamed(field, name)) ClickObject(level, name);
                if (field->Rules().AllTaken()) {
                    Step(2);
                    ASSERT_GT(field->Rules().ItemsOnTheirWay(), 0) << "the last find is on its way";
                    return;
                }
            }
        }
        FAIL() << "a task is left";
    }

    // The first half of the scene's things.
    void FindHalf(LevelScreen* level) {
        PlayField* field = level->FindChild<PlayField>("PlayField");
        std::vector<std::string> things;
        for (const TaskRecord& task : field->Rules().Tasks())
            if (task.toolToFind.empty()) things.insert(things.end(), task.objectNames.begin(), task.objectNames.end());
        for (size_t i = 0; i < things.size() / 2; ++i)
            if (SceneObjectNamed(field, things[i])) ClickObject(level, things[i]);
        Settle(level);
    }

    static std::string BagItems(LevelScreen* level) {
        std::string items;
        for (InventoryObject* item : level->FindChild<PlayField>("PlayField")->GetInventory()->GetObjects())
            items += (items.empty() ? "" : ",") + item->GetObjectName();
        return items;
    }

    std::map<std::string, int> speed;
    std::map<std::string, int> offered;
};

TEST_F(QuitEdges, NothingIsLostOrCountedTwiceAtTheEdgesOfAScene) {
    // The story played straight through.
    PlayGames(false);
    GlobalMapScreen* map = NewPlayer("Straight");
    ASSERT_NE(map, nullptr);
    const GlobalMapData data = GlobalMapData::Read("data/GlobalMapScreen.xml");
    PlayEveryPlace(map, data, [&](size_t, const GlobalMapData::LevelNode& node) {
        for (std::string scene = node.level; !scene.empty() && scene != "Final";) {
            XMLDocument doc = XMLDocument::FromFile(scene);
            PlayScene(scene.substr(scene.find_last_of("/\\") + 1), node.name, doc.GetRoot()->HasAttribute("MedalToAdd"));
            if (HasFatalFailure()) return;
            scene = doc.GetRoot()->GetStringAttribute("SceneToLoadOnFinish");
        }
    });
    ASSERT_FALSE(HasFatalFailure());
    FinalScreenToMenu();
    const Kept straight = WhatTheGameKept();
    ASSERT_EQ(straight.scores.size(), 4u);
    ASSERT_EQ(straight.medals, (std::set<uint32_t>{1, 2, 3}));
    Quit();

    // The same story, quit at every edge. A new storage folder, a new player.
    std::filesystem::remove_all(Storage());
    PlayGames(true);
    map = NewPlayer("Quitter");
    ASSERT_NE(map, nullptr);

    // The study: its cigar in flight (close).
    ClickNode(map, kHouse);
    LevelScreen* level = WaitForLevel("Study.xml", 15.0f);
    ASSERT_NE(level, nullptr);
    Settle(level);
    const int cigars = Active()->CigarCount;
    ClickObject(level, "study_cigar");
    ASSERT_GT(level->FindChild<PlayField>("PlayField")->Rules().ItemsOnTheirWay(), 0);
    EndAndRestart(false);
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->CigarCount, cigars + 1) << "the cigar that flew reached the count";

    // Every thing, then the key on the drawer, whose game is put off: the key
    // is back in the bag, the drawer waits (SIGTERM).
    for (const char* name : {"watch", "spectacles", "scissors", "quill", "ace_of_spades", "horseshoe", "teacup",
                             "envelope", "glove", "pipe", "chess_knight", "coin_1", "coin_2", "coin_3", "study_key"})
        ClickObject(level, name);
    UseTool(level, "study_key", "desk_drawer");
    Settle(level);
    EndAndRestart(true);
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(BagItems(level), "study_key");
    EXPECT_EQ(SolveLaterObjects(level->FindChild<PlayField>("PlayField")).size(), 1u) << "the drawer waits";

    // The drawer opened; the score window with the study's medal (SIGTERM):
    // Continue opens the painting, the medal kept.
    UseTool(level, "study_key", "desk_drawer");
    ASSERT_NE(WaitForScoreWindow(), nullptr);
    NoteSpeed(kHouse);
    EndAndRestart(true);
    level = ContinueTo("Portrait.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->Medals, (std::set<uint32_t>{1}));

    // The painting half done (close), then its last differences in flight (SIGTERM).
    FindHalf(level);
    EndAndRestart(false);
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    FindToTheLast(level);
    NoteSpeed(kHouse);
    EndAndRestart(true);
    Continue();
    map = WatchBannerFlight(kHouse, kTownHall);
    ASSERT_NE(map, nullptr);

    // The town hall's score window leads on to the crime place (close).
    PlayToTheScoreWindowAndQuit(map, kTownHall, "TownHall.xml", false);
    ASSERT_NE(ContinueTo("CrimePlace.xml"), nullptr);
    PlayScene("CrimePlace.xml", kTownHall, false);
    map = WatchBannerFlight(kTownHall, kHarbour);
    ASSERT_NE(map, nullptr);

    // The docks' score window with its medal (close); the sewer half searched
    // with the hook in the bag (close).
    PlayToTheScoreWindowAndQuit(map, kHarbour, "Docks.xml", false);
    level = ContinueTo("Sewer.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->Medals, (std::set<uint32_t>{1, 2}));
    FindHalf(level);
    EndAndRestart(false);
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(BagItems(level), "boat_hook");
    FindEverything(level);
    ASSERT_NE(WaitForScoreWindow(), nullptr);
    NoteSpeed(kHarbour);
    CloseScoreWindow(Find<LevelCompleteScreen>(), false);
    map = WatchBannerFlight(kHarbour, kWarehouse);
    ASSERT_NE(map, nullptr);

    // The warehouse's last finds in flight (close): the story is done.
    ClickNode(map, kWarehouse);
    level = WaitForLevel("Warehouse.xml", 15.0f);
    ASSERT_NE(level, nullptr);
    Settle(level);
    FindToTheLast(level);
    NoteSpeed(kWarehouse);
    EndAndRestart(false);

    const Kept quitter = WhatTheGameKept();
    EXPECT_EQ(quitter.scores, straight.scores);
    EXPECT_EQ(quitter.cigars, straight.cigars);
    EXPECT_EQ(quitter.medals, straight.medals);
    EXPECT_EQ(quitter.evidences, straight.evidences);
    EXPECT_TRUE(Active()->PlayFieldPath.empty()) << "no level in progress";
    EXPECT_FALSE(std::filesystem::exists(Storage() + "data/Map/1.xml_playfield.xml")) << "no state file left";
    ExpectCleanRun();
}

}  // namespace
