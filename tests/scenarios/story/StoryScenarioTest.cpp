// The whole demo story, headless, played like a new player from an empty
// storage folder: a name, "Play", a timed game, then every place of the map in
// story order, every object of every scene found by clicks, the comic pages
// clicked through, each score window read when its count-up is over, the
// medals, the final screen, the menu and the quit question. Then what the game
// kept: a score for every place but the last, the three medals, no level in
// progress, and a log without an Error or Warning row.
#include <gtest/gtest.h>

#include <map>
#include <algorithm>
#include <set>
#include <string>

#include "engine/XMLDocument.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/PlayField.h"
#include "screens/CMenuScreen.h"
#include "screens/FinalScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/IntroScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TestFiles.h"
#include "minigames/MiniGameScreen.h"
#include "screens/GlobalMapScreen.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"

namespace {

using ZOLTFramework::CMenuScreen;

class StoryScenario : public GameScenario {
protected:
    // The rows of the log that are errors or warnings.
    std::vector<std::string> ProblemRows() {
        const std::string html = ReadWholeFile(Storage() + "Log.html");
        std::vector<std::string> rows;
        for (const char* mark : {"Error:</FONT>", "Warning:</FONT>"})
            for (size_t at = html.find(mark); at != std::string::npos; at = html.find(mark, at + 1))
                rows.push_back(html.substr(at, html.find('\n', html.find('\n', at) + 1) - at));
        return rows;
    }

    // "Play" for a player who has no game yet: the mode question, timed.
    void NewTimedGame() {
        auto* menu = TopAs<CMenuScreen>();
        ASSERT_NE(menu, nullptr);
        Wait(0.6f);
        ClickCentre(menu->FindChild<ButtonExEntity>("Play"));
        ASSERT_NE(TopAs<Dialog>(), nullptr) << "the mode question";
        Press(HGEK_ENTER);
        EXPECT_FALSE(Active()->RelaxedMode);
        // The intro, skipped with its button.
        ZOLTFramework::IntroScreen* intro = nullptr;
        ASSERT_TRUE(RunUntil([&] { return (intro = TopAs<ZOLTFramework::IntroScreen>()) != nullptr; }, 5.0f));
        Wait(1.0f);
        EXPECT_GT(intro->GetFilmTime(), 0.5f) << "the film runs";
        ClickCentre(intro->GetSkipButton());
        EXPECT_TRUE(intro->HasHandedOver());
        // The map's overview, its flight down to the start and its tutorial.
        LeaveOverview(WaitForMap());
    }

    // The score window of the scene just won: the scores played, counted up.
    void CheckScoreWindow(LevelCompleteScreen* window, bool lastScene) {
        ASSERT_NE(window, nullptr);
        const LevelCompleteScreen::Scores& s = window->GetScores();
        const Player* player = Active();
        EXPECT_EQ(int(s[LevelCompleteScreen::kItems]), player->ScoreItems);
        EXPECT_GT(s[LevelCompleteScreen::kItems], 0u);
        EXPECT_EQ(s[LevelCompleteScreen::kItems] % 500, 0u);
        EXPECT_EQ(int(s[LevelCompleteScreen::kSpeed]), player->ScoreSpeed);
        EXPECT_EQ(int(s[LevelCompleteScreen::kMiniGame]), player->ScoreMiniGames);
        EXPECT_EQ(int(s[LevelCompleteScreen::kMiniGame]), 5000 * finishedByClick)
            << "5000 for every finished game a click waited for";
        const uint32_t timeBonus = lastScene ? uint32_t(player->Time) * 10 : 0u;
        EXPECT_EQ(s[LevelCompleteScreen::kTime], timeBonus) << "the time bonus of a place's last scene";
        EXPECT_EQ(s[LevelCompleteScreen::kLevel], s[LevelCompleteScreen::kItems] + s[LevelCompleteScreen::kSpeed] +
                                                      s[LevelCompleteScreen::kMiniGame]);
        uint32_t total = 0;
        for (const auto& [node, score] : player->NodeScores) total += uint32_t(score);
        EXPECT_EQ(s[LevelCompleteScreen::kGameTotal], total);
        // Every row shows its number, counted up.
        for (const LevelCompleteScreen::Row& row : window->GetRows())
            if (row.score) {
                EXPECT_EQ(row.score->GetTextRef(), row.finalText);
            }
    }

    // Plays one scene of a place to its score window and closes it.
    void PlayScene(const std::string& part, int medal) {
        SCOPED_TRACE(part);
        LevelScreen* level = WaitForLevel(part, 15.0f);
        ASSERT_NE(level, nullptr) << "the level opens";
        finishedByClick = 0;
        const bool lastScene = level->GetPlayField()->GetNextScene().empty();
        FindEverything(level);
        LevelCompleteScreen* window = WaitForScoreWindow();
        ASSERT_NE(window, nullptr);
        CheckScoreWindow(window, lastScene);
        EXPECT_EQ(window->GetMedalToAdd(), medal);
        CloseScoreWindow(window, medal != 0);
        if (medal) {
            EXPECT_EQ(Active()->Medals.count(uint32_t(medal)), 1u);
        }
    }

    int finishedByClick = 0;
};

TEST_F(StoryScenario, ANewPlayerPlaysTheWholeStoryToTheFinalScreen) {
    // Every mini-game is played through; one a click waited for scores 5000.
    onMiniGame = [&](LevelScreen* level, ZOLTFramework::CScreenEntity* game) {
        auto* screen = dynamic_cast<MiniGameScreen*>(game);
        ASSERT_NE(screen, nullptr) << game->GetName();
        const bool opening = level->GetPlayField()->IsOpeningMiniGame();
        ASSERT_TRUE(PlayMiniGameThrough(screen)) << game->GetName();
        if (!opening) ++finishedByClick;
    };
    Start();
    EnterName("Marlowe");
    NewTimedGame();

    const GlobalMapData map = GlobalMapData::Read("data/GlobalMapScreen.xml");
    ASSERT_EQ(map.nodes.size(), 4u);
    for (size_t i = 0; i < map.nodes.size(); ++i) {
        const GlobalMapData::LevelNode& node = map.nodes[i];
        SCOPED_TRACE(node.name);
        // On the map (after a won place, once its flag has flown in and the
        // view has panned to the place it opened): a click on the place.
        ClickNode(WaitForMap(), node.name);
        LevelScreen* level = WaitForLevel(node.level.substr(node.level.rfind('/') + 1), 15.0f);
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(Active()->CurrentNode, node.name);
        if (!level->GetPlayField()->IsOpeningMiniGame()) {
            EXPECT_FLOAT_EQ(Active()->Time, map.levelTime);
        }
        // The place's scenes, one after the other.
        std::string scene = node.level;
        while (!scene.empty() && scene != "Final") {
            XMLDocument doc = XMLDocument::FromFile(scene);
            ASSERT_TRUE(doc.IsLoaded()) << scene;
            PlayScene(scene.substr(scene.rfind('/') + 1), doc.GetRoot()->GetIntAttribute("MedalToAdd"));
            if (HasFatalFailure()) return;
            scene = doc.GetRoot()->GetStringAttribute("SceneToLoadOnFinish");
            std::replace(scene.begin(), scene.end(), '\\', '/');
        }
        if (i + 1 < map.nodes.size()) {
            EXPECT_GT(Active()->NodeScores[node.name], 0) << "the place is scored";
        }
    }

    // The final screen, a key, the menu, quit.
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::FinalScreen>() != nullptr; }, 10.0f));
    Wait(2.0f);
    Press(HGEK_SPACE);
    ASSERT_TRUE(RunUntil([&] { return TopAs<CMenuScreen>() != nullptr; }, 10.0f));
    Quit();

    // What the game kept.
    XMLDocument profile("profile");
    ASSERT_TRUE(profile.Load(Storage() + "data/Map/1.xml"));
    std::map<std::string, int> scores;
    std::set<int> medals;
    for (const auto& section : profile.GetRoot()->GetChildren()) {
        EXPECT_NE(section->GetName(), "play_field") << "no level in progress";
        for (const auto& item : section->GetChildren()) {
            if (section->GetName() == "global_map")
                scores[item->GetStringAttribute("name")] = item->GetIntAttribute("score");
            if (section->GetName() == "medals") medals.insert(item->GetIntAttribute("id"));
        }
    }
    EXPECT_EQ(medals, (std::set<int>{1, 2, 3}));
    ASSERT_EQ(scores.size(), map.nodes.size()) << "every place was reached";
    for (size_t i = 0; i + 1 < map.nodes.size(); ++i) EXPECT_GT(scores[map.nodes[i].name], 0) << map.nodes[i].name;
    for (const std::string& row : ProblemRows())
        if (row.find("no global map yet") == std::string::npos && row.find("no mini-games yet") == std::string::npos)
            ADD_FAILURE() << row;
}

}  // namespace
