// A level left in the middle is found as it was, in every place of the demo
// story: a new player plays each place in story order, finds about half of
// its first scene's things (at the docks the rack's game is put off with
// "Solve later", in the study a cigar is smoked), then leaves the game with
// the level open: the level's Exit, "EXIT" in its options and yes to
// "Q_QUIT", then the window's close and yes; or the window's close and yes
// over the level; or SIGTERM. After a restart, "Play" and yes to
// "Q_CONTINUE" hand the saved level over at once through the map: the things
// taken are gone, the rest are there, the clock and the cigars read what was
// saved, the put-off game is offered again. The resumed level is played on a
// little (at the docks the rack's game is left running) and quit once more,
// and is found as it was again; the place, once finished, is scored under its
// own node. The follow-on scenes (the docks' dark sewer with its flashlight,
// the town hall's crime place won by the measuring tool) are left half way,
// quit and found as they were in the same way. A state file that cannot be
// resumed starts the node's scene afresh instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/CButtonEntity.h"
#include "minigames/MiniGameScreen.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TestFiles.h"
#include "support/TestInput.h"
#include "support/app/GameScenario.h"
#include "support/engine/RecordedQuads.h"
#include "support/scene/MiniGameSolver.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

using ZOLTFramework::GlobalMapScreen;

// The things a scene's tasks ask the player to find (not the tool tasks'
// targets), in file order.
std::vector<std::string> ThingsToFind(const std::string& scene) {
    std::vector<std::string> things;
    XMLDocument doc = XMLDocument::FromFile(scene);
    if (!doc.IsLoaded()) return things;
    for (const auto& task : doc.GetRoot()->GetChildren()) {
        if (task->GetName() != "task" || task->HasAttribute("tool_to_find")) continue;
        for (const auto& item : task->GetChildren()) things.push_back(item->GetStringAttribute("name"));
    }
    return things;
}

// The state file with its first task's first object renamed to one the scene lacks.
std::string WithUnknownObject(const std::string& state) {
    const size_t task = state.find("<task ");
    const size_t item = task == std::string::npos ? task : state.find("name=\"", state.find('>', task));
    if (item == std::string::npos) return state;
    const size_t name = item + 6;
    return state.substr(0, name) + "no_such_thing" + state.substr(state.find('"', name));
}

// The things that glitter for a game put off: the field's solve-later objects
// less those the scene file makes glitter from the start (a tool's target).
std::vector<SceneObject*> PutOffThings(const PlayField* field, const std::string& scene) {
    std::vector<std::string> fromStart;
    XMLDocument doc = XMLDocument::FromFile(scene);
    if (doc.IsLoaded())
        for (const auto& e : doc.GetRoot()->GetChildren())
            if (e->GetName() == "solve_later_object") fromStart.push_back(e->GetStringAttribute("name"));
    std::vector<SceneObject*> things;
    for (SceneObject* object : SolveLaterObjects(field))
        if (std::find(fromStart.begin(), fromStart.end(), object->GetName()) == fromStart.end())
            things.push_back(object);
    return things;
}

// The profile document's "play_field" element's node, or "-" without one.
std::string SavedNode(const std::string& profileFile) {
    XMLDocument profile("profile");
    if (!profile.Load(profileFile)) return "(no profile)";
    for (const auto& section : profile.GetRoot()->GetChildren())
        if (section->GetName() == "play_field") return section->GetStringAttribute("node");
    return "-";
}

class ResumeScenario : public GameScenario {
protected:
    // One click on each of the first half of the scene's things that are
    // there, the game a click opens played by the plan; returns those taken
    // (a thing whose game was put off stays).
    std::vector<std::string> FindHalf(LevelScreen* level) {
        PlayField* field = level->FindChild<PlayField>("PlayField");
        const std::vector<std::string> things = ThingsToFind(level->GetScenePath());
        std::vector<std::string> taken;
        for (size_t i = 0; i < things.size() / 2; ++i) {
            SCOPED_TRACE(things[i]);
            Settle(level);
            SceneObject* object = SceneObjectNamed(field, things[i]);
            if (!object) continue;
            const ScreenPoint at = OpaquePointOf(object, field);
            EXPECT_TRUE(at.found) << "a point of it shows";
            if (!at.found) continue;
            Click(at.x, at.y);
            Step(8);
            Settle(level);
            if (!SceneObjectNamed(field, things[i])) taken.push_back(things[i]);
        }
        return taken;
    }

    enum class QuitBy { MenuThenClose, Close, Signal };

    // Ends the game with the level open (MenuThenClose: the level's Exit,
    // "EXIT" in its options and yes to "Q_QUIT", then the window's close from
    // the menu), then restarts.
    void QuitAndRestart(LevelScreen* level, QuitBy way) {
        // What flies lands first, so that the clock and the cigars compare as
        // they stand (a quit lands them itself: the quit scenario's part).
        PlayField* field = level->FindChild<PlayField>("PlayField");
        ASSERT_TRUE(RunUntil([&] { return field->Rules().ItemsOnTheirWay() == 0; }, 5.0f));
        if (way == QuitBy::MenuThenClose) LeaveLevelForMenu(level, true);
        if (HasFatalFailure()) return;
        timeAtQuit = Active()->Time;
        cigarsAtQuit = Active()->CigarCount;
        EndAndRestart(way == QuitBy::Signal);
    }

    // A new player's timed game, the study opened from the map and settled.
    LevelScreen* NewGameInTheStudy() {
        Start();
        EnterName("Marlowe");
        NewGame(true);
        ClickNode(IntroAndOverview(false), GlobalMapScreen::kStartNode);
        LevelScreen* level = WaitForLevel("Study.xml", 15.0f);
        if (level) Settle(level);
        return level;
    }

    // "Play" and yes to "Q_CONTINUE": the map hands the saved level over at
    // once, before it ever shows.
    LevelScreen* ContinueSavedLevel() {
        Continue();
        EXPECT_EQ(Find<GlobalMapScreen>(), nullptr) << "no map on the stack";
        return WaitForLevel("_playfield.xml");
    }

    // A follow-on scene left half way: about half of its things, a quit, a
    // restart and "Continue"; the resumed level has the same open tasks (the
    // measuring tool's among them), next scene, node, clock and cigars, and a
    // dark scene's flashlight is still drawn at the pointer. Null on failure.
    LevelScreen* ResumeFollowOnScene(LevelScreen* level, QuitBy way, bool dark) {
        using ZOLTFramework::CSpriteEntity;
        const auto openTasks = [](PlayField* f) {
            std::vector<std::string> names;
            for (const TaskRecord& task : f->Rules().Tasks()) names.push_back(task.name + ":" + task.toolToFind);
            return names;
        };
        const std::string node = Active()->CurrentNode;
        const std::vector<std::string> taken = FindHalf(level);
        EXPECT_GE(taken.size(), 3u);
        PlayField* field = level->FindChild<PlayField>("PlayField");
        EXPECT_EQ(field->FindChild<CSpriteEntity>("Flashlight") != nullptr, dark);
        const std::string next = field->GetNextScene();
        const std::vector<std::string> tasks = openTasks(field);
        std::vector<std::string> left;
        for (const std::string& thing : ThingsToFind(level->GetScenePath()))
            if (SceneObjectNamed(field, thing)) left.push_back(thing);
        QuitAndRestart(level, way);
        if (HasFatalFailure()) return nullptr;
        EXPECT_EQ(SavedNode(Storage() + "data/Map/1.xml"), node) << "the node kept with the level";
        level = ContinueSavedLevel();
        if (!level) return nullptr;
        EXPECT_NEAR(Active()->Time, timeAtQuit, 0.02f) << "the clock as saved (a close takes a few frames to ask)";
        EXPECT_EQ(Active()->CigarCount, cigarsAtQuit);
        EXPECT_EQ(Active()->CurrentNode, node);
        field = level->FindChild<PlayField>("PlayField");
        for (const std::string& thing : taken) EXPECT_EQ(SceneObjectNamed(field, thing), nullptr) << thing;
        for (const std::string& thing : left) EXPECT_NE(SceneObjectNamed(field, thing), nullptr) << thing;
        EXPECT_EQ(openTasks(field), tasks);
        EXPECT_EQ(field->GetNextScene(), next);
        Settle(level);
        auto* light = field->FindChild<CSpriteEntity>("Flashlight");
        EXPECT_EQ(light != nullptr, dark) << "the flashlight";
        if (light) {
            TestInput::Move(420.0f, 260.0f);
            Step(2);
            const auto drawn = RecordQuads([&] { Step(1); });
            EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const RenderStats::RecordedQuad& q) {
                const hgeVertex* v = q.quad.v;
                return q.quad.tex == light->GetSprite()->GetTexture() && q.clipped &&
                       std::abs(v[0].x + v[2].x - 840.0f) < 2.0f && std::abs(v[0].y + v[2].y - 520.0f) < 2.0f;
            })) << "the dark is drawn, clipped to the scene, about its pool of light at the pointer";
        }
        return level;
    }

    // Plays the rest of a place from its level on: every scene to its score
    // window; the docks' sewer and the town hall's crime place are left half
    // way and resumed first (one by the window's close, one by SIGTERM).
    void FinishPlace(LevelScreen* level) {
        for (;;) {
            const bool sewer = level->GetScenePath().find("Sewer.xml") != std::string::npos;
            if (sewer || level->GetScenePath().find("CrimePlace.xml") != std::string::npos) {
                level = ResumeFollowOnScene(level, sewer ? QuitBy::Close : QuitBy::Signal, sewer);
                ASSERT_NE(level, nullptr) << "the follow-on scene resumed";
            }
            const std::string next = level->FindChild<PlayField>("PlayField")->GetNextScene();
            FindEverything(level);
            LevelCompleteScreen* window = WaitForScoreWindow();
            ASSERT_NE(window, nullptr);
            CloseScoreWindow(window, false);  // a medal's flight ends within its key loop
            if (next.empty() || next == "Final") return;
            std::string part = next.substr(next.find_last_of("/\\") + 1);
            level = WaitForLevel(part, 15.0f);
            ASSERT_NE(level, nullptr) << part;
        }
    }

    // The player's clock and cigars as the game was quit.
    float timeAtQuit = 0.0f;
    int cigarsAtQuit = 0;
};

TEST_F(ResumeScenario, EveryPlaceLeftHalfWayIsFoundAsItWasAfterARestart) {
    Start();
    EnterName("Marlowe");
    NewGame(true);
    GlobalMapScreen* map = IntroAndOverview(false);
    ASSERT_NE(map, nullptr);

    // The rack of the docks is put off the first time; every game is solved
    // otherwise.
    const std::string putOff = "data/MiniGames/2.2.xml";
    std::map<std::string, int> offered;
    onMiniGame = [&](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
        auto* screen = dynamic_cast<MiniGameScreen*>(game);
        ASSERT_NE(screen, nullptr);
        SCOPED_TRACE(screen->GetName());
        ASSERT_TRUE(ConfirmMiniGameHelp(screen));
        if (++offered[screen->GetName()] == 1 && screen->GetName() == putOff) {
            ASSERT_TRUE(PutOffMiniGame(screen));
            return;
        }
        ASSERT_TRUE(SolveMiniGame(screen));
        ASSERT_TRUE(PressMiniGameOk(screen));
    };

    const GlobalMapData data = GlobalMapData::Read("data/GlobalMapScreen.xml");
    PlayEveryPlace(map, data, [&](size_t i, const GlobalMapData::LevelNode& node) {
        LevelScreen* level = WaitForLevel(node.level.substr(node.level.rfind('/') + 1), 15.0f);
        ASSERT_NE(level, nullptr);
        Settle(level);

        // About half of the first scene; a cigar in the study.
        std::vector<std::string> taken = FindHalf(level);
        ASSERT_GE(taken.size(), 4u);
        if (i == 0) {
            ClickCentre(level->FindChild<ZOLTFramework::CButtonEntity>("CigarButton"));
            Settle(level);
            EXPECT_EQ(Active()->CigarCount, data.cigarCount - 1) << "the cigar went";
        }
        const bool rackPutOff = offered[putOff] == 1;
        if (rackPutOff) {
            ASSERT_EQ(PutOffThings(level->FindChild<PlayField>("PlayField"), node.level).size(), 1u)
                << "the put-off game's thing";
        }
        // Quit once from the fresh level, once more from the resumed one.
        const QuitBy ways[][4] = {{QuitBy::MenuThenClose, QuitBy::Close, QuitBy::Signal, QuitBy::Close},
                                  {QuitBy::Signal, QuitBy::Signal, QuitBy::Signal, QuitBy::Close}};
        for (const auto& way : ways) {
            SCOPED_TRACE(&way == &ways[0] ? "fresh level" : "resumed level");
            PlayField* field = level->FindChild<PlayField>("PlayField");
            std::vector<std::string> left;
            for (const std::string& thing : ThingsToFind(level->GetScenePath()))
                if (SceneObjectNamed(field, thing)) left.push_back(thing);

            QuitAndRestart(level, way[i]);
            if (HasFatalFailure()) return;
            const float savedTime = Active()->Time;
            const int savedCigars = Active()->CigarCount;
            EXPECT_NEAR(savedTime, timeAtQuit, 0.02f) << "the clock as saved (a close takes a few frames to ask)";
            EXPECT_LT(savedTime, data.levelTime) << "the clock ran";
            EXPECT_EQ(savedCigars, cigarsAtQuit);
            EXPECT_EQ(Active()->CurrentNode, node.name);
            EXPECT_EQ(SavedNode(Storage() + "data/Map/1.xml"), node.name) << "the node kept with the level";

            level = ContinueSavedLevel();
            ASSERT_NE(level, nullptr) << "the saved level opens at once";
            EXPECT_EQ(Active()->Time, savedTime);
            EXPECT_EQ(Active()->CigarCount, savedCigars);
            field = level->FindChild<PlayField>("PlayField");
            for (const std::string& thing : taken) EXPECT_EQ(SceneObjectNamed(field, thing), nullptr) << thing;
            for (const std::string& thing : left) EXPECT_NE(SceneObjectNamed(field, thing), nullptr) << thing;
            if (rackPutOff) {
                ASSERT_EQ(PutOffThings(field, node.level).size(), 1u) << "the put-off game is offered again";
            }
            EXPECT_EQ(Active()->CurrentNode, node.name);
            if (&way != &ways[0]) break;
            // On in the resumed level: the rack is opened and left running
            // (put off by the quit); elsewhere two more things are taken.
            Settle(level);
            if (rackPutOff) {
                const ScreenPoint at = OpaquePointOf(PutOffThings(field, node.level)[0], field);
                ASSERT_TRUE(at.found);
                Click(at.x, at.y);
                ASSERT_TRUE(RunUntil([&] { return level->RunningMiniGame() != nullptr; }, 2.0f)) << "the rack runs";
                continue;
            }
            for (size_t k = 0; k < 2 && k < left.size(); ++k) {
                ClickObject(level, left[k]);
                Settle(level);
                taken.push_back(left[k]);
            }
        }
        if (rackPutOff) {
            PlayField* field = level->FindChild<PlayField>("PlayField");
            ClickObject(level, PutOffThings(field, node.level)[0]->GetName());
            Settle(level);
            EXPECT_EQ(offered[putOff], 2) << "the rack came back";
        }

        // The rest of the place; back on the map it is scored under its node.
        FinishPlace(level);
    });
    if (HasFatalFailure()) return;
    EXPECT_EQ(offered[putOff], 2);
    EXPECT_EQ(offered["data/MiniGames/15.2.xml"], 1) << "the town hall's opening game only once";

    FinalScreenToMenu();
    Quit();
    ExpectCleanRun();
    EXPECT_EQ(SavedNode(Storage() + "data/Map/1.xml"), "-") << "no level in progress";
    EXPECT_FALSE(std::filesystem::exists(Storage() + "data/Map/1.xml_playfield.xml")) << "no state file left";
}

// A resumed level whose state cannot be written (a full disk) while the users
// file can: the players keep the scores, time and cigars of the state before,
// so Continue counts nothing twice, and the Error row says so.
TEST_F(ResumeScenario, AStateThatCannotBeWrittenKeepsTheOneBeforeWithItsScores) {
    LevelScreen* level = NewGameInTheStudy();
    ASSERT_NE(level, nullptr);
    FindHalf(level);
    QuitAndRestart(level, QuitBy::Close);
    level = ContinueSavedLevel();
    ASSERT_NE(level, nullptr);
    Settle(level);
    const int items = Active()->ScoreItems, cigars = Active()->CigarCount;
    const float time = Active()->Time;
    EXPECT_GT(items, 0);
    FindHalf(level);
    EXPECT_GT(Active()->ScoreItems, items);

    FileSystem::SetWriteHook(
        [](FileSystem::WriteStep, const std::string& target) { return target.find("_playfield.xml") == std::string::npos; });
    QuitAndRestart(level, QuitBy::Signal);
    FileSystem::SetWriteHook({});
    EXPECT_EQ(Active()->ScoreItems, items) << "the scores the state on disk goes with";
    EXPECT_EQ(Active()->CigarCount, cigars);
    EXPECT_FLOAT_EQ(Active()->Time, time);
    const std::vector<std::string> rows = ProblemRows();
    ASSERT_EQ(rows.size(), 2u) << "the file's and the level's";
    EXPECT_NE(rows[1].find("Continue goes on from the state saved before"), std::string::npos) << rows[1];

    // Played to its end from that state, the study scores each find once.
    level = ContinueSavedLevel();
    ASSERT_NE(level, nullptr);
    const size_t finds = ThingsToFind("data/Scenes/Study.xml").size();
    onMiniGame = [&](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
        auto* screen = dynamic_cast<MiniGameScreen*>(game);
        ASSERT_TRUE(screen && ConfirmMiniGameHelp(screen) && SolveMiniGame(screen) && PressMiniGameOk(screen));
    };
    FindEverything(level);
    ASSERT_NE(WaitForScoreWindow(), nullptr);
    EXPECT_EQ(Active()->ScoreItems, int(500 * finds)) << "each find once";
}

// Hostile or damaged saves, one row each, from the state of a study left at
// its start. A state file that is missing, garbage, cut, emptied, whose task
// names an object the scene lacks or nothing at all, or whose object names a
// unit it lacks, never opens as a level that cannot be won: a Warning row names
// the file and the node's own scene starts as a click on the node starts it,
// with the map's time and cigars (the cigar it gives counts once). A resumed
// timed level with no time left (0, or -5 held to 0) ends lost on time: quit on
// that window, Continue finds the map; answered, the map opens. A "Dummy" task
// names no object and is resumed. A state with no task (as the game writes for
// a lone "Dummy") is resumed and won at once;
// its medal, 99999999999 by hand, is no medal of the list and is not kept, at
// a quit as the level opens or under the score window, with a Warning row.
TEST_F(ResumeScenario, HostileSavesNeverResumeALevelThatCannotBeWonOrCountTwice) {
    LevelScreen* level = NewGameInTheStudy();
    ASSERT_NE(level, nullptr);
    const GlobalMapData map = GlobalMapData::Read("data/GlobalMapScreen.xml");
    const std::vector<std::string> things = ThingsToFind("data/Scenes/Study.xml");
    // The scene the study's file names to follow it, written as a profile keeps it.
    const XMLDocument study = XMLDocument::FromFile("data/Scenes/Study.xml");
    ASSERT_TRUE(study.IsLoaded());
    const std::string studysNext = study.GetRoot()->GetStringAttribute("SceneToLoadOnFinish");
    ASSERT_EQ(studysNext.rfind("data\\Scenes\\", 0), 0u) << "the study is followed by a scene: " << studysNext;
    ClickObject(level, "study_cigar");
    ASSERT_TRUE(RunUntil([&] {
        Tend(level);
        return Active()->CigarCount == map.cigarCount + 1;
    }, 10.0f)) << "the study's cigar is in the count";
    QuitAndRestart(level, QuitBy::Close);
    app.reset();
    const std::string stateFile = Storage() + "data/Map/1.xml_playfield.xml";
    const std::string usersFile = Storage() + "data/users.xml";
    const std::string profileFile = Storage() + "data/Map/1.xml";
    const std::string saved = ReadWholeFile(stateFile), users = ReadWholeFile(usersFile),
                      profile = ReadWholeFile(profileFile);
    ASSERT_NE(saved.find("<task "), std::string::npos) << stateFile;
    const auto edited = [&](const std::function<void(XMLDocument::XMLElement&)>& edit) {
        XMLDocument state = XMLDocument::FromFile(stateFile);
        edit(*state.GetRoot());
        return state.ToText();
    };
    const auto drop = [](XMLDocument::XMLElement& root, const std::function<bool(XMLDocument::XMLElement&)>& which) {
        auto& children = root.GetChildren();
        children.erase(std::remove_if(children.begin(), children.end(), [&](const auto& c) { return which(*c); }),
                       children.end());
    };
    std::string noTask = edited(
        [&](XMLDocument::XMLElement& root) { drop(root, [](XMLDocument::XMLElement& c) { return c.GetName() == "task"; }); });
    const size_t medal = noTask.find(" MedalToAdd=\"1\"");
    ASSERT_NE(medal, std::string::npos);
    noTask.replace(medal, 15, " MedalToAdd=\"99999999999\"");
    enum Outcome { Afresh, Resumed, LostAndQuit, LostAndAnswered, WonQuitOnOpening, WonQuitUnderScoreWindow };
    const struct {
        const char* what;
        std::string state;  // the file's bytes; "-" removes it
        std::string time;   // the saved "Time"; empty: as saved
        Outcome outcome;
    } rows[] = {
        {"missing", "-", "", Afresh},
        {"garbage", std::string("\x89\0\xff<sc\x01\x02ene\n", 12), "", Afresh},
        {"cut in half", saved.substr(0, saved.size() / 2), "", Afresh},
        {"empty", "", "", Afresh},
        {"an object the scene lacks", WithUnknownObject(saved), "", Afresh},
        {"an object of a missing unit", edited([&](XMLDocument::XMLElement& root) {
             drop(root, [](XMLDocument::XMLElement& c) {
                 const auto sprite = c.FindChild("sprite");
                 return c.GetName() == "unit" && sprite && sprite->GetValue() == "watch_Study";
             });
         }), "", Afresh},
        {"a task with no object", edited([&](XMLDocument::XMLElement& root) {
             for (const auto& c : root.GetChildren())
                 if (c->GetName() == "task" && c->GetStringAttribute("name") == "Watch") c->GetChildren().clear();
         }), "", Afresh},
        {"a \"Dummy\" task, which names no object", edited([&](XMLDocument::XMLElement& root) {
             root.CreateChild("task")->AddAttribute("name", "Dummy");
         }), "", Resumed},
        {"no time left", saved, "0", LostAndQuit},
        {"time held to 0", saved, "-5", LostAndAnswered},
        {"no task, a medal out of range, quit as it opens", noTask, "", WonQuitOnOpening},
        {"no task, a medal out of range, quit under the score window", noTask, "", WonQuitUnderScoreWindow},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // Each row from the same saves.
        WriteWholeFile(profileFile, profile);
        // The clock as the users file and the state's progress give it.
        std::string usersText = users, stateText = row.state;
        const auto setTime = [&](std::string& text, size_t from) {
            const size_t at = text.find(" Time=\"", from);
            ASSERT_NE(at, std::string::npos);
            text.replace(at + 7, text.find('"', at + 7) - (at + 7), row.time);
        };
        if (!row.time.empty()) {
            setTime(usersText, 0);
            setTime(stateText, stateText.find("<level_progress"));
        }
        WriteWholeFile(usersFile, usersText);
        if (row.state == "-")
            std::remove(stateFile.c_str());
        else
            WriteWholeFile(stateFile, stateText);
        // The log keeps a few runs: each row reads its own.
        std::remove((Storage() + "Log.html").c_str());
        Start();
        Continue();
        EXPECT_EQ(Find<GlobalMapScreen>(), nullptr) << "no map on the stack";
        if (row.outcome == Afresh) {
            level = WaitForLevel("data/Scenes/Study.xml");
            ASSERT_NE(level, nullptr) << "the node's own scene";
            const std::vector<std::string> logged = ProblemRows();
            ASSERT_EQ(logged.size(), 1u) << "one Warning row";
            EXPECT_TRUE(logged.back().find("Warning") == 0 && logged.back().find("1.xml_playfield.xml") != std::string::npos &&
                        logged.back().find("starts afresh with the map's time and cigars") != std::string::npos)
                << logged.back();
            Settle(level);
            EXPECT_NEAR(Active()->Time, map.levelTime, 0.05f) << "the map's clock";
            EXPECT_EQ(Active()->CigarCount, map.cigarCount) << "the map's cigars";
            PlayField* field = level->FindChild<PlayField>("PlayField");
            for (const std::string& thing : things) EXPECT_NE(SceneObjectNamed(field, thing), nullptr) << thing;
            EXPECT_FALSE(field->Rules().Tasks().empty()) << "clues to find";
        } else if (row.outcome == Resumed) {
            level = WaitForLevel("_playfield.xml");
            ASSERT_NE(level, nullptr) << "resumed";
            Settle(level);
            EXPECT_TRUE(ProblemRows().empty()) << "a state the game may write";
            EXPECT_FALSE(level->IsSceneFinished());
        } else if (row.outcome == LostAndQuit || row.outcome == LostAndAnswered) {
            ASSERT_NE(WaitForLevel("_playfield.xml"), nullptr) << "resumed";
            ASSERT_TRUE(RunUntil([&] { return Top() && Top()->GetName() == "Lose"; }, 5.0f)) << "lost on time";
            EXPECT_EQ(ProblemRows().size(), row.time == "0" ? 0u : 2u) << "a time held to 0: a Warning from each file";
            if (row.outcome == LostAndQuit) {
                // Quit on the window: nothing is kept to resume.
                std::raise(SIGTERM);
                EXPECT_LT(FrameDriver::RunFrames(60), 60);
                app.reset();
                EXPECT_FALSE(std::filesystem::exists(stateFile)) << "the lost level's state went";
                Start();
                EXPECT_TRUE(Active()->PlayFieldPath.empty());
                Continue();
            } else {
                Wait(0.6f);
                Press(HGEK_ENTER);
            }
            ASSERT_NE(WaitForMap(), nullptr) << "the map, not the level";
            EXPECT_TRUE(RunUntil([&] { return !Find<LevelScreen>(); }, 2.0f)) << "the level went";
            EXPECT_EQ(Active()->NodeScores[GlobalMapScreen::kStartNode], 0) << "not won";
        } else {
            level = WaitForLevel("_playfield.xml");
            ASSERT_NE(level, nullptr) << "resumed";
            if (row.outcome == WonQuitUnderScoreWindow) {
                ASSERT_TRUE(RunUntil([&] { return TopAs<LevelCompleteScreen>() != nullptr; }, 5.0f)) << "won at once";
                Wait(0.5f);
            }
            std::raise(SIGTERM);
            EXPECT_LT(FrameDriver::RunFrames(60), 60);
            app.reset();
            Start();
            const std::vector<std::string> logged = ProblemRows();
            EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                                    [](const std::string& r) {
                                        return r.find("Warning") == 0 &&
                                               r.find("the medal 2147483647 is not in the medals file") != std::string::npos;
                                    }),
                      1)
                << "one Warning row";
            EXPECT_TRUE(Active()->Medals.empty()) << "no such medal is kept";
            EXPECT_EQ(Active()->PlayFieldPath, studysNext) << "won: Continue goes on with the scene after the study";
        }
        std::raise(SIGTERM);
        EXPECT_LT(FrameDriver::RunFrames(60), 60) << "the game ends";
        app.reset();
    }
}

}  // namespace
