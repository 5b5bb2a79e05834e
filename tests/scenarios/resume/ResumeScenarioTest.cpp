// A level left in the middle is found as it was, in every place of the demo
// story: a new player plays each place in story order, finds about half of
// its first scene's things (at the docks the rack's game is put off with
// "Solve later", in the study a cigar is smoked), then leaves the game the
// way a player does: the level's Exit, "EXIT" in its options, yes to
// "Q_QUIT", then the window's close and yes. After a restart, "Play" and yes
// to "Q_CONTINUE" hand the saved level over at once through the map: the
// things taken are gone, the rest are there, the clock and the cigars read
// what was saved, the put-off game is offered again, and the place, once
// finished, is scored under its own node.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "entities/widgets/CButtonEntity.h"
#include "minigames/MiniGameScreen.h"
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
        const std::vector<std::string> things = ThingsToFind(field->GetScenePath());
        std::vector<std::string> taken;
        for (size_t i = 0; i < things.size() / 2; ++i) {
            SCOPED_TRACE(things[i]);
            Settle(level);
            SceneObject* object = field->FindObjectByName(things[i]);
            if (!object) continue;
            const ScreenPoint at = OpaquePointOf(object, field);
            EXPECT_TRUE(at.found) << "a point of it shows";
            if (!at.found) continue;
            Click(at.x, at.y);
            Step(8);
            Settle(level);
            if (!field->FindObjectByName(things[i])) taken.push_back(things[i]);
        }
        return taken;
    }

    // The resume route: the level's Exit, "EXIT" in its options and yes to
    // "Q_QUIT" (the level is saved, the menu opens); the window's close and
    // yes (the players are saved, the game ends); a restart.
    void LeaveAndRestart(LevelScreen* level) {
        LeaveLevelForMenu(level, true);
        if (HasFatalFailure()) return;
        timeAtQuit = Active()->Time;
        cigarsAtQuit = Active()->CigarCount;
        TestInput::Close();
        Step(2);
        ASSERT_TRUE(app->IsExitDialogOpen()) << "the close asks first";
        TestInput::Key(InputEvent::Press, HGEK_ENTER);
        EXPECT_LT(FrameDriver::RunFrames(60), 60) << "the game ends";
        app.reset();
        ExpectCleanRun();
        Start();
    }

    // "Play" and yes to "Q_CONTINUE": the map hands the saved level over at
    // once, before it ever shows.
    LevelScreen* ContinueSavedLevel() {
        Continue();
        EXPECT_EQ(Find<GlobalMapScreen>(), nullptr) << "no map on the stack";
        return WaitForLevel("_playfield.xml");
    }

    // Plays the rest of a place from its level on: every scene to its score
    // window.
    void FinishPlace(LevelScreen* level) {
        for (;;) {
            const std::string next = level->FindChild<PlayField>("PlayField")->GetNextScene();
            FindEverything(level);
            LevelCompleteScreen* window = WaitForScoreWindow();
            ASSERT_NE(window, nullptr);
            CloseScoreWindow(window, window->GetMedalToAdd() != 0);
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
        SCOPED_TRACE(screen->GetPath());
        ASSERT_TRUE(ConfirmMiniGameHelp(screen));
        if (++offered[screen->GetPath()] == 1 && screen->GetPath() == putOff) {
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
        const std::vector<std::string> taken = FindHalf(level);
        ASSERT_GE(taken.size(), 4u);
        if (i == 0) {
            ClickCentre(level->FindChild<ZOLTFramework::CButtonEntity>("CigarButton"));
            Settle(level);
            EXPECT_EQ(Active()->CigarCount, data.cigarCount - 1) << "the cigar went";
        }
        const bool rackPutOff = offered[putOff] == 1;
        PlayField* field = level->FindChild<PlayField>("PlayField");
        if (rackPutOff) {
            ASSERT_EQ(field->GetSolveLaterObjects().size(), 1u) << "the put-off game's thing";
        }
        const std::string scenePath = field->GetScenePath();
        const std::vector<std::string> left = [&] {
            std::vector<std::string> names;
            for (const std::string& thing : ThingsToFind(scenePath))
                if (field->FindObjectByName(thing)) names.push_back(thing);
            return names;
        }();

        LeaveAndRestart(level);
        if (HasFatalFailure()) return;
        const float savedTime = Active()->Time;
        const int savedCigars = Active()->CigarCount;
        EXPECT_NEAR(savedTime, timeAtQuit, 0.01f) << "the clock as saved";
        EXPECT_LT(savedTime, data.levelTime) << "the clock ran";
        EXPECT_EQ(savedCigars, cigarsAtQuit);
        EXPECT_EQ(savedCigars, i == 0 ? data.cigarCount - 1 : data.cigarCount);
        EXPECT_EQ(Active()->CurrentNode, node.name);
        EXPECT_EQ(SavedNode(Storage() + "data/Map/1.xml"), node.name) << "the node kept with the level";

        level = ContinueSavedLevel();
        ASSERT_NE(level, nullptr) << "the saved level opens at once";
        EXPECT_EQ(Active()->Time, savedTime);
        EXPECT_EQ(Active()->CigarCount, savedCigars);
        field = level->FindChild<PlayField>("PlayField");
        for (const std::string& thing : taken) EXPECT_EQ(field->FindObjectByName(thing), nullptr) << thing;
        for (const std::string& thing : left) EXPECT_NE(field->FindObjectByName(thing), nullptr) << thing;
        if (rackPutOff) {
            ASSERT_EQ(field->GetSolveLaterObjects().size(), 1u) << "the put-off game is offered again";
            const std::string lantern = field->GetSolveLaterObjects()[0]->GetName();
            ClickObject(level, lantern);
            Settle(level);
            EXPECT_EQ(offered[putOff], 2) << "the rack came back";
        }
        EXPECT_EQ(Active()->CurrentNode, node.name);

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
}

}  // namespace
