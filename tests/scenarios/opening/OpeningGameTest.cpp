// A scene that opens with the letter game, reached after the place's won
// scenes: the scene after the study (the painting) given the opening-game
// mark as its "res_file", in the data folder beside this program (links to
// the bundled files, that scene's file a marked copy). A new player plays the
// study and the painting straight through: the game opens once, on the way
// from the study. Another new player ends the game (SIGTERM)
// on the study's score window: Continue opens the painting and its game, as a
// fresh start does; a quit inside the painting after the game, then Continue
// resumes the state without the game. The painting's scores are those of the
// straight play, and the log has no Error or Warning row.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "minigames/MiniGameScreen.h"
#include "profiles/Player.h"
#include "scene/PlayField.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

namespace fs = std::filesystem;

const char* const kLetterGame = "data/MiniGames/15.2.xml";
const char* const kHouse = "NodeBrannoksHouse";

class OpeningGame : public GameScenario {
protected:
    // The program runs beside a data/ whose scene after the study carries the mark.
    OpeningGame() {
        const XMLDocument study = XMLDocument::FromFile("data/Scenes/Study.xml");
        EXPECT_TRUE(study.IsLoaded());
        if (study.IsLoaded()) next = study.GetRoot()->GetStringAttribute("SceneToLoadOnFinish");
        next = next.substr(next.find_last_of("\\/") + 1);
        const XMLDocument scene = XMLDocument::FromFile("data/Scenes/" + next);
        EXPECT_TRUE(scene.IsLoaded() &&
                    scene.GetRoot()->GetStringAttribute("res_file") == "data\\Scenes\\Crime_place_nostatue")
            << next << " opens with the letter game";
    }

    // Every game is solved; the letter game's openings are counted.
    void CountGames() {
        onMiniGame = [this](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
            auto* screen = dynamic_cast<MiniGameScreen*>(game);
            ASSERT_NE(screen, nullptr);
            ++opened[screen->GetName()];
            ASSERT_TRUE(ConfirmMiniGameHelp(screen));
            ASSERT_TRUE(SolveMiniGame(screen));
            ASSERT_TRUE(PressMiniGameOk(screen));
        };
    }

    // A new player, a relaxed game, the study played to its score window.
    LevelCompleteScreen* StudyWon(const std::string& name) {
        opened.clear();
        Start();
        EnterName(name);
        NewGame(false);
        ZOLTFramework::GlobalMapScreen* map = IntroAndOverview(false);
        EXPECT_NE(map, nullptr);
        if (!map) return nullptr;
        ClickNode(map, kHouse);
        LevelScreen* study = WaitForLevel("Study.xml", 15.0f);
        EXPECT_NE(study, nullptr);
        if (!study) return nullptr;
        FindEverything(study);
        return WaitForScoreWindow();
    }

    // The painting's scores at its score window.
    struct Scores {
        int items = 0, games = 0, node = 0;
        bool operator==(const Scores& o) const { return items == o.items && games == o.games && node == o.node; }
    };
    Scores PaintingWon(LevelScreen* painting) {
        FindEverything(painting);
        LevelCompleteScreen* window = WaitForScoreWindow();
        EXPECT_NE(window, nullptr);
        const Player* player = Active();
        return {player->ScoreItems, player->ScoreMiniGames, player->ScoreNode - player->ScoreSpeed};
    }

    std::string next;  // the scene after the study, "Portrait.xml"
    std::map<std::string, int> opened;
};

TEST_F(OpeningGame, APlacesNextSceneOpensItsGameOnceFreshAndNeverOnResume) {
    CountGames();

    // Straight: the score window's Exit, the painting and its game.
    LevelCompleteScreen* window = StudyWon("Straight");
    ASSERT_NE(window, nullptr);
    const int study = Active()->ScoreNode;
    CloseScoreWindow(window, true);
    LevelScreen* painting = WaitForLevel(next, 15.0f);
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    EXPECT_EQ(opened[kLetterGame], 1) << "the game opens on the way from the study";
    const Scores straight = PaintingWon(painting);
    EXPECT_EQ(opened[kLetterGame], 1) << "once";
    EXPECT_GT(straight.items, 0);
    End(false);
    ExpectCleanRun();

    // The game ends on the study's score window: Continue opens the painting
    // afresh, its game first.
    fs::remove_all(Storage());
    window = StudyWon("Quitter");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Active()->ScoreNode, study);
    EndAndRestart(true);
    Continue();
    painting = WaitForLevel(next, 15.0f);
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    EXPECT_EQ(opened[kLetterGame], 1) << "Continue after the study's score window opens the game";

    // A quit inside the painting after its game: Continue resumes its state,
    // and the game does not open again.
    PlayField* field = painting->FindChild<PlayField>("PlayField");
    ASSERT_GT(field->Rules().Tasks().size(), 0u);
    const std::string first = field->Rules().Tasks().front().objectNames.front();
    ClickObject(painting, first);
    Settle(painting);
    EndAndRestart(false);
    Continue();
    painting = WaitForLevel("_playfield.xml", 15.0f);
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    EXPECT_EQ(SceneObjectNamed(painting->FindChild<PlayField>("PlayField"), first), nullptr) << "the find was kept";
    EXPECT_EQ(opened[kLetterGame], 1) << "a resumed state opens no game";
    EXPECT_EQ(PaintingWon(painting), straight) << "the scores of the straight play, less the speed bonus";
    EXPECT_EQ(opened[kLetterGame], 1);
    End(false);
    ExpectCleanRun();
}

}  // namespace
