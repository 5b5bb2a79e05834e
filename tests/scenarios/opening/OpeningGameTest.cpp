// A scene that opens with the letter game, reached after the place's won
// scenes: the scene after the study (the painting) marked so as its
// "res_file", in the data folder beside this program (links to the bundled
// files, that scene's file a marked copy). Played straight, the game opens
// once, on the way from the study. Ended (SIGTERM) on the study's score
// window, Continue opens the painting afresh, its game first; quit inside the
// painting after the game, Continue resumes the state without the game, and
// the painting scores as it did straight. No Error or Warning row.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "minigames/MiniGameScreen.h"
#include "profiles/Player.h"
#include "scene/PlayField.h"
#include "screens/LevelScreen.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

const char* const kLetterGame = "data/MiniGames/15.2.xml";

class OpeningGame : public GameScenario {
protected:
    OpeningGame() {
        // Every game is solved; the openings are counted.
        onMiniGame = [this](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
            auto* screen = dynamic_cast<MiniGameScreen*>(game);
            ASSERT_NE(screen, nullptr);
            ++opened[screen->GetName()];
            ASSERT_TRUE(ConfirmMiniGameHelp(screen) && SolveMiniGame(screen) && PressMiniGameOk(screen));
        };
        const XMLDocument study = XMLDocument::FromFile("data/Scenes/Study.xml");
        next = study.IsLoaded() ? study.GetRoot()->GetStringAttribute("SceneToLoadOnFinish") : std::string();
        next = next.substr(next.find_last_of("\\/") + 1);
        const XMLDocument scene = XMLDocument::FromFile("data/Scenes/" + next);
        EXPECT_TRUE(scene.IsLoaded() &&
                    scene.GetRoot()->GetStringAttribute("res_file") == "data\\Scenes\\Crime_place_nostatue")
            << next << " opens with the letter game";
    }

    // A new player, a relaxed game, the study played to its score window.
    void StudyWon(const std::string& name) {
        opened.clear();
        Start();
        EnterName(name);
        NewGame(false);
        ZOLTFramework::GlobalMapScreen* map = IntroAndOverview(false);
        ASSERT_NE(map, nullptr);
        ClickNode(map, "NodeBrannoksHouse");
        LevelScreen* study = WaitForLevel("Study.xml", 15.0f);
        ASSERT_NE(study, nullptr);
        FindEverything(study);
        window = WaitForScoreWindow();
        ASSERT_NE(window, nullptr);
    }

    LevelScreen* Settled(const std::string& part) {
        LevelScreen* level = WaitForLevel(part, 15.0f);
        if (level) Settle(level);
        return level;
    }

    // Items, games and the node less the speed bonus, at the score window.
    std::array<int, 3> Won(LevelScreen* level) {
        FindEverything(level);
        EXPECT_NE(WaitForScoreWindow(), nullptr);
        const Player* p = Active();
        return {p->ScoreItems, p->ScoreMiniGames, p->ScoreNode - p->ScoreSpeed};
    }

    std::string next;  // the scene after the study, "Portrait.xml"
    std::map<std::string, int> opened;
    LevelCompleteScreen* window = nullptr;
};

TEST_F(OpeningGame, APlacesNextSceneOpensItsGameOnceFreshAndNeverOnResume) {
    ASSERT_NO_FATAL_FAILURE(StudyWon("Straight"));
    const int study = Active()->ScoreNode;
    CloseScoreWindow(window, true);
    LevelScreen* painting = Settled(next);
    ASSERT_NE(painting, nullptr);
    EXPECT_EQ(opened[kLetterGame], 1) << "the game opens on the way from the study";
    const std::array<int, 3> straight = Won(painting);
    EXPECT_EQ(opened[kLetterGame], 1) << "once";
    EXPECT_GT(straight[0], 0);
    End(false);
    ExpectCleanRun();

    std::filesystem::remove_all(Storage());
    ASSERT_NO_FATAL_FAILURE(StudyWon("Quitter"));
    EXPECT_EQ(Active()->ScoreNode, study);
    EndAndRestart(true);
    Continue();
    painting = Settled(next);
    ASSERT_NE(painting, nullptr);
    EXPECT_EQ(opened[kLetterGame], 1) << "Continue after the study's score window opens the game";

    const std::string first = painting->FindChild<PlayField>("PlayField")->Rules().Tasks().at(0).objectNames.at(0);
    ClickObject(painting, first);
    Settle(painting);
    EndAndRestart(false);
    Continue();
    painting = Settled("_playfield.xml");
    ASSERT_NE(painting, nullptr);
    EXPECT_EQ(SceneObjectNamed(painting->FindChild<PlayField>("PlayField"), first), nullptr) << "the find was kept";
    EXPECT_EQ(Won(painting), straight) << "the scores of the straight play, less the speed bonus";
    EXPECT_EQ(opened[kLetterGame], 1) << "a resumed state opens no game";
    End(false);
    ExpectCleanRun();
}

}  // namespace
