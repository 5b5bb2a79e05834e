// The six mini-games opened from a level: a small scene whose lock, opened
// with the key, asks for the game. The level pauses under the game, opens
// the game's help (confirmed with Enter), and gets exactly one result once
// the game has faded out: a finished game the click waited for scores 5000,
// a skip costs 300 s, a game put off marks the lock for later.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "LevelTestSupport.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "minigames/MiniGameScreen.h"
#include "minigames/Puzzle2tScreen.h"
#include "platform/FileSystem.h"
#include "scene/Inventory.h"
#include "scene/SceneObject.h"
#include "screens/CMenuScreen.h"
#include "screens/HelpScreen.h"
#include "support/scene/MiniGameSolver.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

// Notes every event and the results among them.
class RecordingLevel : public LevelScreen {
public:
    using LevelScreen::LevelScreen;
    void OnQuestion(const std::string& name, const std::string& value) override {
        events.push_back(name + "=" + value);
        if (name == "MiniGameFinished" || name == "MiniGameSkip" || name == "MiniGameSolveLater")
            results.push_back(events.back());
        LevelScreen::OnQuestion(name, value);
    }
    int Count(const std::string& event) const { return int(std::count(events.begin(), events.end(), event)); }
    std::vector<std::string> events;
    std::vector<std::string> results;
};

// The tool scene of the scene tests, its lock asking for the game.
std::string SceneFor(const std::string& game) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : "..") + "/tests/fixtures/scenes/ToolMiniGame.xml");
    std::stringstream text;
    text << in.rdbuf();
    std::string scene = text.str();
    const std::string asked = "data/MiniGames/5.2.xml";
    for (size_t at = scene.find(asked); at != std::string::npos; at = scene.find(asked, at + game.size()))
        scene.replace(at, asked.size(), game);
    return scene;
}

// The help text of each game.
std::string HelpKeyOf(const std::string& game) {
    static const std::map<std::string, std::string> keys = {
        {"data/MiniGames/15.2.xml", "HELP_MINIGAME_15_2"}, {"data/MiniGames/1.1.xml", "HELP_MINIGAME_1_1"},
        {"data/MiniGames/4.1.xml", "HELP_MINIGAME_4_1"},   {"data/MiniGames/2.2.xml", "HELP_MINIGAME_2_2"},
        {"data/MiniGames/5.2.xml", "HELP_MINIGAME_5_2"},   {"data/MiniGames/6.2.xml", "HELP_MINIGAME_6_2"}};
    const auto found = keys.find(game);
    return found == keys.end() ? std::string() : found->second;
}

class MiniGameLevel {
public:
    explicit MiniGameLevel(const std::string& gameFile) : game(gameFile) {
        level = engine.Open<RecordingLevel>(engine.Write("scene.xml", SceneFor(game)));
        player = engine.Active();
        player->Time = 1000.0f;
        engine.Hge()->Random_Seed(7);
        EXPECT_TRUE(engine.PanelIn(level));
    }

    // The key used on the lock: the game opens over the paused level, whose
    // clock stands, and asks for its help, confirmed with Enter.
    MiniGameScreen* Launch() {
        PlayField* field = level->FindChild<PlayField>("PlayField");
        EXPECT_TRUE(TakeToolIntoHand(field, "fixture_key"));
        EXPECT_TRUE(ClickSceneObject(field, "fixture_lock"));
        EXPECT_TRUE(field->IsPaused()) << "the field waits for the game";
        MiniGameScreen* screen = WaitForMiniGame();
        if (!screen) return nullptr;
        EXPECT_EQ(screen->GetName(), game);
        EXPECT_EQ(level->RunningMiniGame(), screen);
        EXPECT_EQ(screen->GetParent(), level);
        EXPECT_FLOAT_EQ(screen->GetLayer(), LevelScreen::kMiniGameLayer);
        EXPECT_TRUE(field->IsPaused());
        EXPECT_TRUE(level->FindChild<ButtonExEntity>("Exit")->IsPaused());
        EXPECT_TRUE(level->FindChild<ButtonExEntity>("BagButton")->IsPaused());
        const float time = player->Time;
        // The help the game asks for is the game's own.
        HelpScreen* help = nullptr;
        EXPECT_TRUE(engine.RunUntil([&] {
            for (ZOLTFramework::CEntity* child : level->GetChildren())
                if (auto* h = dynamic_cast<HelpScreen*>(child)) help = h;
            return help != nullptr;
        }, 2.0f));
        if (help) {
            TextEntity* text = help->FindChild<TextEntity>("Text");
            EXPECT_EQ(text ? text->GetTextRef() : "(no text)",
                      ZOLTFramework::Services::Text(level->GetEngine(), HelpKeyOf(game)));
        }
        EXPECT_TRUE(ConfirmMiniGameHelp(screen));
        EXPECT_FALSE(level->IsPanelIn());
        EXPECT_FLOAT_EQ(player->Time, time) << "the clock stands under the game";
        EXPECT_TRUE(level->results.empty());
        return screen;
    }

    // Ok: nothing reaches the level while the game fades out; then exactly one
    // result, and the level plays on with the panel back in.
    void CloseWithOk(MiniGameScreen* screen, const std::string& result) {
        const int score = player->ScoreMiniGames;
        float time = player->Time;
        EXPECT_TRUE(PressMiniGameOk(screen, [&] {
            EXPECT_TRUE(level->results.empty());
            EXPECT_EQ(player->ScoreMiniGames, score);
            time = player->Time;
        }));
        EXPECT_FLOAT_EQ(screen->GetAbsoluteOpacity(), 0.0f);
        ExpectOneResult(result);
        EXPECT_EQ(engine.Top(), static_cast<ZOLTFramework::CEntity*>(level));
        EXPECT_NEAR(player->Time, result == "MiniGameSkip" ? time - 300.0f : time, 0.01f);
        engine.Run(0.9f);
        EXPECT_EQ(player->ScoreMiniGames, result == "MiniGameFinished" ? score + 5000 : score);
        EXPECT_TRUE(level->IsPanelIn());
        engine.Run(0.6f);
        EXPECT_EQ(level->results.size(), 1u) << "one result, once";
        EXPECT_EQ(level->Count("Win="), 1) << "the waiting click was the last task";
    }

    void ExpectOneResult(const std::string& result) {
        EXPECT_EQ(level->results, std::vector<std::string>{result + "=" + game});
        EXPECT_EQ(level->RunningMiniGame(), nullptr);
        EXPECT_FALSE(level->FindChild<PlayField>("PlayField")->IsPaused());
    }

    LevelEngine engine;
    std::string game;
    RecordingLevel* level = nullptr;
    Player* player = nullptr;
};

void SolveFromLevel(const std::string& game, const MiniGameSolveOptions& options = MiniGameSolveOptions()) {
    SCOPED_TRACE(game);
    MiniGameLevel run(game);
    MiniGameScreen* screen = run.Launch();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(SolveMiniGame(screen, options));
    run.CloseWithOk(screen, "MiniGameFinished");
}

void SkipFromLevel(const std::string& game) {
    SCOPED_TRACE(game);
    MiniGameLevel run(game);
    MiniGameScreen* screen = run.Launch();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(SkipMiniGame(screen));
    run.CloseWithOk(screen, "MiniGameSkip");
}

}  // namespace

// The put-off locks the saved state names.
int SolveLaterInState(const Player* player) {
    std::string text;
    FileSystem::ReadFile(player->PlayFieldPath, text);
    int count = 0;
    for (size_t at = 0; (at = text.find("<solve_later_object name=\"fixture_lock\"", at)) != std::string::npos; ++at)
        ++count;
    return count;
}

TEST(LevelMiniGames, TheLetterIsSolvedWithDragsAndRightClicksAndSkipped) {
    SolveFromLevel("data/MiniGames/15.2.xml");
    SkipFromLevel("data/MiniGames/15.2.xml");
}

// The crime scene asks for the letter as it first gains focus, while it still
// fades in: the game opens all the same, and is played over the level.
TEST(LevelMiniGames, TheOpeningLetterComesWhileTheLevelFadesIn) {
    LevelEngine engine;
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    auto* level = engine.Open<RecordingLevel>(std::string(source ? source : "..") +
                                              "/tests/fixtures/scenes/AutoMiniGame.xml");
    MiniGameScreen* screen = WaitForMiniGame(1.0f);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(level->FindChild<PlayField>("PlayField")->IsFullyShown());
    EXPECT_EQ(screen->GetName(), "data/MiniGames/15.2.xml");
    ASSERT_TRUE(PlayMiniGameThrough(screen));
    EXPECT_EQ(level->results, std::vector<std::string>{"MiniGameFinished=data/MiniGames/15.2.xml"});
    EXPECT_FLOAT_EQ(level->GetAbsoluteOpacity(), 1.0f);
    engine.Run(1.0f);
    EXPECT_TRUE(level->IsPanelIn());
    EXPECT_EQ(engine.Active()->ScoreMiniGames, 0) << "no click waited for it";
}

TEST(LevelMiniGames, ThePairsAndTheDifferencesAreSolved) {
    SolveFromLevel("data/MiniGames/1.1.xml");
    SolveFromLevel("data/MiniGames/4.1.xml");
}

// Put off with Skip pressed in the fade-out: no skip, no score, the lock
// marked; opened again, one tool dropped wrong first scores 500, the others
// 1000.
TEST(LevelMiniGames, TheRackIsPutOffThenSolvedWithOneWrongDrop) {
    MiniGameLevel run("data/MiniGames/2.2.xml");
    MiniGameScreen* first = run.Launch();
    ASSERT_NE(first, nullptr);
    const float time = run.player->Time;
    ASSERT_TRUE(PutOffMiniGame(first, true));
    run.ExpectOneResult("MiniGameSolveLater");
    EXPECT_EQ(run.engine.Top(), static_cast<ZOLTFramework::CEntity*>(run.level));
    EXPECT_FLOAT_EQ(run.player->Time, time);
    EXPECT_EQ(run.level->RunningMiniGame(), nullptr);
    PlayField* field = run.level->FindChild<PlayField>("PlayField");
    field->SaveState();
    EXPECT_EQ(SolveLaterInState(run.player), 1);
    run.engine.Run(1.5f);
    EXPECT_EQ(run.level->results.size(), 1u);
    EXPECT_EQ(run.level->Count("Win="), 0);
    EXPECT_TRUE(run.level->IsPanelIn());
    EXPECT_FALSE(run.level->FindChild<ButtonExEntity>("Exit")->IsPaused());

    run.level->results.clear();
    auto* rack = dynamic_cast<Puzzle2tScreen*>(run.Launch());
    ASSERT_NE(rack, nullptr);
    EXPECT_NE(rack, first);
    const int things = int(rack->GetPlayablePieces().size());
    const int items = run.player->ScoreItems;
    run.level->events.clear();
    MiniGameSolveOptions mistake;
    mistake.mistakeFirst = true;
    ASSERT_TRUE(SolveMiniGame(rack, mistake));
    EXPECT_EQ(run.level->Count("AddItemScore=500"), 1);
    EXPECT_EQ(run.level->Count("AddItemScore=1000"), things - 1);
    EXPECT_EQ(run.player->ScoreItems, items + 500 + 1000 * (things - 1));
    run.CloseWithOk(rack, "MiniGameFinished");
}

TEST(LevelMiniGames, TheRepeatGameIsSolvedAfterOneWrongPress) {
    MiniGameSolveOptions mistake;
    mistake.mistakeFirst = true;
    SolveFromLevel("data/MiniGames/5.2.xml", mistake);
}

TEST(LevelMiniGames, TheBottlesAreSolvedAndSkipped) {
    SolveFromLevel("data/MiniGames/6.2.xml");
    SkipFromLevel("data/MiniGames/6.2.xml");
}

// Leaving for the menu while a game runs puts it off: the level hears
// "MiniGameSolveLater" once, the game goes with the level, the menu opens.
TEST(LevelMiniGames, LeavingForTheMenuPutsTheRunningGameOff) {
    MiniGameLevel run("data/MiniGames/6.2.xml");
    MiniGameScreen* screen = run.Launch();
    ASSERT_NE(screen, nullptr);
    const std::weak_ptr<void> alive = screen->GetLifeToken();
    run.level->OnQuestion("EXIT_TO_MENU", "");
    run.ExpectOneResult("MiniGameSolveLater");
    EXPECT_EQ(SolveLaterInState(run.player), 1);
    EXPECT_FALSE(run.player->PlayFieldPath.empty()) << "the scene is kept to resume";
    run.engine.Run(2.0f);
    EXPECT_TRUE(alive.expired());
    EXPECT_NE(run.engine.TopAs<ZOLTFramework::CMenuScreen>(), nullptr);
}
