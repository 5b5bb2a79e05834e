// The game ended at the edges of a scene, by the window's close and yes or by
// SIGTERM, killed part-way through a save, or with a save file it cannot
// write, loses nothing and counts nothing twice. A new player plays the story
// straight through in relaxed mode; the game keeps each place's score, the
// cigars, the medals and the evidence. Then another new player plays it again
// and quits at every edge, restarts and continues each time:
// - a cigar still flying to the counter (the study's, by close);
// - a drawer whose game was put off, its key back in the bag (SIGTERM), the
//   game killed with the new state on disk and neither the profile nor the
//   users file written: the state brings its scores, cigars and bag along;
// - the drawer's game taking the study's last task, the game ended (SIGTERM)
//   before the scene's win check: the study is won;
// - the painting half done and its state unwritable (a full disk): Continue
//   starts the painting anew, the won study kept; then its last differences
//   still flying to the panel (SIGTERM);
// - the town hall's score window closed, the crime place opened and half
//   searched, its state unwritable (SIGTERM): the save after the score window
//   named it, and Continue starts it anew with the town hall's score;
// - the docks' score window that awards a medal (close), the game killed
//   after the profile, before the users file: the profile names the sewer
//   with the docks' score and medal; the sewer half searched, quit with the
//   save cut after the state (the profile before names the sewer from its
//   start), again cut after the profile (the state resumes with the hook in
//   the bag and its scores), and once more with the state's rename failing
//   (the state before resumes, with the scores that go with it); then played
//   to its score window, where the game is killed before any save (the
//   state is still there to resume);
// - the warehouse's last finds still flying to the panel (close);
// - after the story's last find: its last flights, its closing comic page
//   (SIGTERM, and again as that page shows on Continue, by close) and its
//   score window (close), the warehouse played again for each: Continue
//   shows the page still due, then the final screen.
// Every Continue opens what was saved without an unexpected Warning row (a
// state the game wrote always passes its check), and at the end each place's
// score (less its speed bonus, which depends on the pace of the clicks), the
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
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "screens/GlobalMapData.h"
#include "screens/ComicScreen.h"
#include "screens/FinalScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TestFiles.h"
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
// The page the warehouse closes the story with.
const char* const kClosingPage = "data\\Comics\\Comic2.xml";

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
        for (const std::string& row : ProblemRowsBut(kFailedWrites)) ADD_FAILURE() << row;
        if (level) Settle(level);
        return level;
    }

    // From now on the game's save files (its .xml files: the state, the
    // profile, the users file) reach the disk only up to `files` of them, as
    // if the game were killed right after the last.
    static void CutSavesAfter(int files) {
        FileSystem::SetWriteHook([files, done = 0](FileSystem::WriteStep step, const std::string& target) mutable {
            if (target.size() < 4 || target.compare(target.size() - 4, 4, ".xml") != 0) return true;
            if (done >= files) return false;
            done += step == FileSystem::WriteStep::Done ? 1 : 0;
            return true;
        });
    }

    // The game ends (SIGTERM or close) and is killed once `files` of its save
    // files are on disk; then it starts again.
    void EndCutAndRestart(bool signal, int files) {
        CutSavesAfter(files);
        End(signal);
        FileSystem::SetWriteHook({});
        Start();
    }

    // The game killed where it stands: nothing more reaches the disk.
    void KillAndRestart() {
        CutSavesAfter(0);
        app.reset();
        FileSystem::SetWriteHook({});
        Start();
    }

    // The game ends (SIGTERM or close) with one step of its state file's
    // write failing (a full disk, a rename refused); it starts again. Returns
    // the Error row of the level's save.
    std::string EndFailingStateAndRestart(bool signal, FileSystem::WriteStep failing) {
        FileSystem::SetWriteHook([failing](FileSystem::WriteStep step, const std::string& target) {
            return !(step == failing && target.find("_playfield.xml") != std::string::npos);
        });
        const size_t rows = ProblemRows().size();
        End(signal);
        FileSystem::SetWriteHook({});
        std::vector<std::string> added = ProblemRows();
        added.erase(added.begin(), added.begin() + std::min(rows, added.size()));
        Start();
        EXPECT_EQ(added.size(), 2u) << "the file's row and the level's";
        return added.empty() ? std::string() : added.back();
    }

    // The key from the bag onto the drawer, whose game is solved: the game's
    // result takes the scene's last task, and the game ends (SIGTERM) at once,
    // before the scene's own win check. It starts again.
    void OpenDrawerAndQuit(LevelScreen* level) {
        PlayField* field = level->FindChild<PlayField>("PlayField");
        Settle(level);
        InventoryObject* key = nullptr;
        for (InventoryObject* item : field->GetInventory()->GetObjects())
            if (item->GetObjectName() == "study_key") key = item;
        ASSERT_NE(key, nullptr);
        field->GetInventory()->Open();
        Wait(0.5f);
        Click(key->GetAbsoluteX(), key->GetAbsoluteY());
        const ScreenPoint at = OpaquePointOf(SceneObjectNamed(field, "desk_drawer"), field);
        ASSERT_TRUE(at.found);
        Click(at.x, at.y);
        ASSERT_TRUE(RunUntil([&] { return level->RunningMiniGame() != nullptr; }, 3.0f)) << "the drawer's game";
        auto* game = dynamic_cast<MiniGameScreen*>(level->RunningMiniGame());
        ASSERT_TRUE(game && ConfirmMiniGameHelp(game) && SolveMiniGame(game) && PressMiniGameOk(game));
        ASSERT_TRUE(field->Rules().AllTaken());
        ASSERT_FALSE(level->IsSceneFinished()) << "the win check is still to come";
        NoteSpeed(kHouse);
        EndAndRestart(true);
    }

    // The rows a failed write gives on purpose: the file layer's and the level's.
    const std::vector<std::string> kFailedWrites = {"Cannot write XML document", "could not be written to"};

    // A place's first scene played from the map to its score window, where
    // the game ends (SIGTERM or close), killed once `files` of its save files
    // are on disk, and starts again. Returns the node's score the window gave.
    int PlayToTheScoreWindowAndQuit(GlobalMapScreen* map, const std::string& node, const std::string& part,
                                    bool signal, int files) {
        ClickNode(map, node);
        LevelScreen* level = WaitForLevel(part, 15.0f);
        EXPECT_NE(level, nullptr);
        if (!level) return 0;
        FindEverything(level);
        EXPECT_NE(WaitForScoreWindow(), nullptr);
        NoteSpeed(node);
        const int score = Active()->ScoreNode;
        EndCutAndRestart(signal, files);
        return score;
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

    // "Play", yes: the story's end, due since a quit after its last find. The
    // comic pages (tapped through) that were left, then the final screen, a
    // key and the menu; no map and no level on the way.
    void ContinueToTheEnd(const std::vector<std::string>& pages) {
        EXPECT_TRUE(Active()->EndingPending);
        const size_t shown = comicsShown.size();
        Continue();
        ASSERT_TRUE(RunUntil([&] {
            EXPECT_EQ(Find<GlobalMapScreen>(), nullptr) << "no map";
            EXPECT_EQ(Find<LevelScreen>(), nullptr) << "no level";
            Tend(nullptr);
            return TopAs<ZOLTFramework::FinalScreen>() != nullptr;
        }, 60.0f)) << "the final screen";
        EXPECT_EQ(std::vector<std::string>(comicsShown.begin() + long(shown), comicsShown.end()), pages);
        EXPECT_FALSE(Active()->EndingPending);
        FinalScreenToMenu();
    }

    // The warehouse played again from the map.
    LevelScreen* PlayWarehouseAgain(GlobalMapScreen*& map) {
        Continue();
        map = WaitForMap();
        if (!map) return nullptr;
        ClickNode(map, kWarehouse);
        LevelScreen* level = WaitForLevel("Warehouse.xml", 15.0f);
        if (level) Settle(level);
        return level;
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
    // is back in the bag, the drawer waits (SIGTERM, the game killed with the
    // state written and the profile not).
    for (const char* name : {"watch", "spectacles", "scissors", "quill", "ace_of_spades", "horseshoe", "teacup",
                             "envelope", "glove", "pipe", "chess_knight", "coin_1", "coin_2", "coin_3", "study_key"})
        ClickObject(level, name);
    UseTool(level, "study_key", "desk_drawer");
    Settle(level);
    const int items = Active()->ScoreItems;
    const std::set<std::string> bag = Active()->TempEvidences;
    EndCutAndRestart(true, 1);
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(BagItems(level), "study_key");
    EXPECT_EQ(SolveLaterObjects(level->FindChild<PlayField>("PlayField")).size(), 1u) << "the drawer waits";
    EXPECT_EQ(Active()->ScoreItems, items) << "the finds come with the state";
    EXPECT_EQ(Active()->TempEvidences, bag);

    // The drawer's game takes the last task and the game ends before the win
    // check: Continue opens the painting, the study's medal kept.
    OpenDrawerAndQuit(level);
    level = ContinueTo("Portrait.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->Medals, (std::set<uint32_t>{1}));
    const int study = Active()->ScoreNode;
    EXPECT_GT(study, 0);

    // The painting half done, its state unwritable (close): Continue starts
    // the painting anew, after the won study.
    const size_t differences = level->FindChild<PlayField>("PlayField")->CountObjectsToFind();
    FindHalf(level);
    const std::string row = EndFailingStateAndRestart(false, FileSystem::WriteStep::WriteRest);
    EXPECT_NE(row.find("Continue starts \"data\\Scenes\\Portrait.xml\" anew"), std::string::npos) << row;
    level = ContinueTo("Portrait.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->FindChild<PlayField>("PlayField")->CountObjectsToFind(), differences);
    EXPECT_EQ(Active()->ScoreNode, study);
    EXPECT_EQ(Active()->ScoreItems, 0);

    // Its last differences in flight (SIGTERM).
    FindToTheLast(level);
    NoteSpeed(kHouse);
    EndAndRestart(true);
    Continue();
    PlayRestOfPlace("data/Scenes/Portrait.xml", [&] { NoteSpeed(kHouse); });
    map = WatchBannerFlight(kHouse, kTownHall);
    ASSERT_NE(map, nullptr);

    // The town hall's score window closed: the crime place opens, and the
    // save on the way names it; its state unwritable (SIGTERM): Continue starts
    // the crime place anew, after the won town hall.
    ClickNode(map, kTownHall);
    PlayScene("TownHall.xml", kTownHall, false);
    level = WaitForLevel("CrimePlace.xml", 15.0f);
    ASSERT_NE(level, nullptr);
    Settle(level);
    const int townHall = Active()->ScoreNode;
    EXPECT_GT(townHall, 0);
    FindHalf(level);
    const std::string crimeRow = EndFailingStateAndRestart(true, FileSystem::WriteStep::WriteRest);
    EXPECT_NE(crimeRow.find("Continue starts \"data\\Scenes\\CrimePlace.xml\" anew"), std::string::npos) << crimeRow;
    ASSERT_NE(ContinueTo("CrimePlace.xml"), nullptr);
    EXPECT_EQ(Active()->ScoreNode, townHall);
    EXPECT_EQ(Active()->ScoreItems, 0);
    PlayScene("CrimePlace.xml", kTownHall, false);
    PlayRestOfPlace("data/Scenes/CrimePlace.xml", [&] { NoteSpeed(kTownHall); });
    map = WatchBannerFlight(kTownHall, kHarbour);
    ASSERT_NE(map, nullptr);

    // The docks' score window with its medal (close), the game killed after
    // the profile, before the users file: the profile names the sewer, with
    // the docks' score and medal.
    const int docks = PlayToTheScoreWindowAndQuit(map, kHarbour, "Docks.xml", false, 1);
    ASSERT_FALSE(HasFatalFailure());
    level = ContinueTo("Sewer.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->Medals, (std::set<uint32_t>{1, 2}));
    EXPECT_EQ(Active()->ScoreNode, docks) << "from the profile";
    EXPECT_EQ(Active()->ScoreItems, 0);

    // The sewer half searched (close), killed after the state: the profile
    // before names the sewer from its start.
    const size_t sewerThings = level->FindChild<PlayField>("PlayField")->CountObjectsToFind();
    FindHalf(level);
    EndCutAndRestart(false, 1);
    level = ContinueTo("Sewer.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->FindChild<PlayField>("PlayField")->CountObjectsToFind(), sewerThings);
    EXPECT_EQ(Active()->ScoreNode, docks);
    EXPECT_EQ(Active()->ScoreItems, 0);

    // Half searched again (SIGTERM), killed after the state and the profile:
    // the state with the hook in the bag.
    FindHalf(level);
    const int sewerItems = Active()->ScoreItems;
    EndCutAndRestart(true, 2);
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(BagItems(level), "boat_hook");
    EXPECT_EQ(Active()->ScoreItems, sewerItems);

    // Two things more, and the state's rename refused (close): the state
    // before resumes, the two things back in it.
    PlayField* field = level->FindChild<PlayField>("PlayField");
    std::vector<std::string> two;
    for (const TaskRecord& task : field->Rules().Tasks())
        for (const std::string& name : task.objectNames)
            if (two.size() < 2 && task.toolToFind.empty() && SceneObjectNamed(field, name)) two.push_back(name);
    ASSERT_EQ(two.size(), 2u);
    for (const std::string& name : two) ClickObject(level, name);
    Settle(level);
    EXPECT_GT(Active()->ScoreItems, sewerItems);
    const std::string refused = EndFailingStateAndRestart(false, FileSystem::WriteStep::Rename);
    EXPECT_NE(refused.find("Continue goes on from the state saved before"), std::string::npos) << refused;
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->ScoreItems, sewerItems);
    for (const std::string& name : two)
        EXPECT_NE(SceneObjectNamed(level->FindChild<PlayField>("PlayField"), name), nullptr) << name;

    // Played to its score window, where the game is killed before any save:
    // the state it was resumed from is still there to resume.
    FindEverything(level);
    ASSERT_NE(WaitForScoreWindow(), nullptr);
    KillAndRestart();
    level = ContinueTo("_playfield.xml");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(Active()->ScoreItems, sewerItems);
    FindEverything(level);
    ASSERT_NE(WaitForScoreWindow(), nullptr);
    NoteSpeed(kHarbour);
    CloseScoreWindow(Find<LevelCompleteScreen>(), false);
    PlayRestOfPlace("data/Scenes/Sewer.xml", [&] { NoteSpeed(kHarbour); });
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

    // The story's end follows: Continue shows the closing comic page, then
    // the final screen, whose opening saves the end as seen.
    ContinueToTheEnd({kClosingPage});
    EXPECT_EQ(CountOf(ReadWholeFile(Storage() + "data/Map/1.xml"), "<ending"), 0u) << "the end is no longer due";

    // The warehouse again, quit as its closing page shows (SIGTERM) and once
    // more as that page shows on Continue (close): the page comes back.
    level = PlayWarehouseAgain(map);
    ASSERT_NE(level, nullptr);
    FindToTheLast(level);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ComicScreen>() != nullptr; }, 10.0f)) << "the closing page";
    EndAndRestart(true);
    Continue();
    ASSERT_TRUE(RunUntil([&] { return TopAs<ComicScreen>() != nullptr; }, 5.0f)) << "the closing page again";
    EXPECT_EQ(Find<LevelScreen>(), nullptr);
    EndAndRestart(false);
    ContinueToTheEnd({kClosingPage});

    // And quit under its score window (close): Continue opens the final screen.
    level = PlayWarehouseAgain(map);
    ASSERT_NE(level, nullptr);
    FindEverything(level);
    ASSERT_NE(WaitForScoreWindow(), nullptr);
    EndAndRestart(false);
    ContinueToTheEnd({});
    EXPECT_EQ(Active()->Medals, straight.medals);
    ExpectCleanRun(kFailedWrites);
}

}  // namespace
