// The whole demo story, headless, played like a new player from an empty
// storage folder: a name, "Play", a timed game, then every place of the map in
// story order, the panel's glass and cigar seen in each scene, every object of
// every scene found by clicks, the comic pages read with one tap a line, each
// score window read when its count-up is over, the medals, the final screen,
// the menu and the quit question. Then what the game kept, on disk as soon as
// the final screen shows: a score for every place, the last one too, the three
// medals, no level in progress, and a log without an Error or Warning row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "app/GameApp.h"
#include "engine/StringManager.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeResourceManager.h"
#include "minigames/MiniGameScreen.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/PlayField.h"
#include "screens/FinalScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TestFiles.h"
#include "support/app/GameScenario.h"
#include "support/engine/RecordedQuads.h"
#include "support/scene/MiniGameSolver.h"

namespace {

// The score pop-ups still flying in the entity's subtree.
int LiveScorePopups(const ZOLTFramework::CEntity& entity) {
    int live = 0;
    for (const ZOLTFramework::CEntity* child : entity.GetChildren())
        live += (child->GetName() == "ScorePopup" && !child->IsDead()) + LiveScorePopups(*child);
    return live;
}

class StoryScenario : public GameScenario {
protected:
    // The score window of the scene just won: the scores played, counted up.
    void CheckScoreWindow(LevelCompleteScreen* window, bool lastScene, const std::string& scene) {
        ASSERT_NE(window, nullptr);
        // The numbers the rows show, counted up (no time row: no time bonus).
        LevelCompleteScreen::Scores s{};
        for (int i = 0; i < LevelCompleteScreen::kScoreCount; ++i)
            if (const auto* row = window->FindChild<TextEntity>(LevelCompleteScreen::kScoreIds[i]))
                s[size_t(i)] = uint32_t(std::strtoul(row->GetTextRef().c_str(), nullptr, 10));
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
        // The play, for comparing two builds: the scores of each scene won.
        std::printf("[ play ] %s: items %u speed %u games %u time %u level %u total %u\n", scene.c_str(), s[0],
                    s[1], s[2], s[3], s[4], s[5]);
    }

    // The panel's glass (unless the scene hides one to find), while the
    // player has cigars the cigar picture under their count, and the recess
    // the bag lies in (no scene shows beside the bag): each is there and
    // drawn, seen, where it stands on the panel.
    void CheckPanelTools(LevelScreen* level) {
        Settle(level);
        if (level->IsClosing() || level->IsSceneFinished()) return;
        PlayField* field = level->FindChild<PlayField>("PlayField");
        const auto drawn = RecordQuads([&] { Step(1); });
        auto seen = [&](const char* name, const char* sprite) {
            SCOPED_TRACE(name);
            const auto* picture = level->FindChild<ZOLTFramework::CSpriteEntity>(name);
            ASSERT_NE(picture, nullptr) << "on the panel";
            hgeSprite* look = app->GetResourceManager()->GetSprite(sprite);
            ASSERT_NE(look, nullptr);
            const float x = picture->GetAbsoluteX(), y = picture->GetAbsoluteY();
            EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const RenderStats::RecordedQuad& q) {
                const hgeVertex* v = q.quad.v;
                return Shows(q, look) && (v[0].col >> 24) >= 0xF0 && std::abs(v[0].x + look->GetHotSpotX() - x) < 1.0f &&
                       std::abs(v[0].y + look->GetHotSpotY() - y) < 1.0f;
            })) << "drawn whole at (" << x << ", " << y << ")";
        };
        if (!field->FindMagnifyingGlassObject()) seen("MagnifyingGlass", "InGameMagnifyingGlass");
        if (Active()->CigarCount > 0) seen("Cigar", "InGameCigar");
        seen("BagRecess", "InGamePanelRecess");
    }

    // Plays one scene of a place to its score window and closes it.
    void PlayScene(const std::string& part, int medal) {
        SCOPED_TRACE(part);
        LevelScreen* level = WaitForLevel(part, 15.0f);
        ASSERT_NE(level, nullptr) << "the level opens";
        finishedByClick = 0;
        const std::string next = level->FindChild<PlayField>("PlayField")->GetNextScene();
        const bool lastScene = next.empty() || next == "Final";
        CheckPanelTools(level);
        FindEverything(level);
        LevelCompleteScreen* window = WaitForScoreWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(LiveScorePopups(*level), 0) << "no score stands frozen under the score window";
        CheckScoreWindow(window, lastScene, part);
        std::set<uint32_t> medals = Active()->Medals;
        CloseScoreWindow(window, medal != 0);
        if (medal) medals.insert(uint32_t(medal));
        EXPECT_EQ(Active()->Medals, medals) << "the window awards this medal only";
    }

    int finishedByClick = 0;
};

TEST_F(StoryScenario, ANewPlayerPlaysTheWholeStoryToTheFinalScreen) {
    Start();
    EnterName("Marlowe");
    NewGame(true);
    ZOLTFramework::GlobalMapScreen* map = IntroAndOverview(true);
    ASSERT_NE(map, nullptr);

    // The mini-games: the rack is put off once and solved when it comes back,
    // the plaques are skipped, every other game is solved.
    const std::string putOff = "data/MiniGames/2.2.xml", skipped = "data/MiniGames/5.2.xml";
    std::map<std::string, int> offered;
    onMiniGame = [&](LevelScreen* level, ZOLTFramework::CScreenEntity* game) {
        auto* screen = dynamic_cast<MiniGameScreen*>(game);
        ASSERT_NE(screen, nullptr);
        const std::string file = screen->GetName();
        SCOPED_TRACE(file);
        const bool clickWaits = !level->FindChild<PlayField>("PlayField")->Rules().DelayedTasks().empty();
        ASSERT_TRUE(ConfirmMiniGameHelp(screen));
        if (file == putOff && offered[file]++ == 0) {
            ASSERT_TRUE(PutOffMiniGame(screen));
            return;
        }
        if (file == skipped) {
            const float time = Active()->Time;
            ASSERT_TRUE(SkipMiniGame(screen));
            ASSERT_TRUE(PressMiniGameOk(screen));
            EXPECT_NEAR(Active()->Time, time - 300.0f, 1.0f) << "a skipped game costs 300 s";
            return;
        }
        ASSERT_TRUE(SolveMiniGame(screen));
        ASSERT_TRUE(PressMiniGameOk(screen));
        if (clickWaits) ++finishedByClick;
    };

    const GlobalMapData data = GlobalMapData::Read("data/GlobalMapScreen.xml");
    PlayEveryPlace(map, data, [&](size_t, const GlobalMapData::LevelNode& node) {
        EXPECT_EQ(Active()->CurrentNode, node.name);
        EXPECT_FLOAT_EQ(Active()->Time, data.levelTime);
        EXPECT_EQ(Active()->CigarCount, data.cigarCount);
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
    });
    if (HasFatalFailure()) return;
    EXPECT_EQ(offered[putOff], 2) << "the put-off game came back";
    EXPECT_EQ(comicsShown, (std::vector<std::string>{"data\\Comics\\Comic1.xml", "data\\Comics\\Comic3.xml",
                                                    "data\\Comics\\ComicSewer.xml", "data\\Comics\\Comic2.xml"}));
    // Each page read with one tap a line (press and release in one frame):
    // the line shown goes and the next comes; a page that waited on would
    // have taken more.
    ASSERT_EQ(comicClicks.size(), comicsShown.size());
    for (size_t i = 0; i < comicsShown.size(); ++i) {
        const XMLDocument page = XMLDocument::FromFile(comicsShown[i]);
        ASSERT_TRUE(page.IsLoaded()) << comicsShown[i];
        int lines = 0;
        for (const auto& step : page.GetRoot()->GetChildren())
            lines += (step->GetName() == "appear" || step->GetName() == "replic") && step->HasAttribute("string");
        EXPECT_GT(lines, 1) << comicsShown[i];
        EXPECT_EQ(comicClicks[i], lines) << comicsShown[i];
    }
    // Each thing a new player must know is told on screen when first needed:
    // the evidence bag, the glass on the right button, the inventory with the
    // study's key, the gaff of the docks.
    for (const char* key : {"TUTORIAL_BAG", "TUTORIAL_MAGNIFYING_GLASS", "TUTORIAL_MAGNIFYING_GLASS_SILHOUETTE",
                            "TUTORIAL_INVENTORY", "DOCKS_HOOK_HINT"}) {
        const char* text = app->GetStringManager()->GetString(key);
        ASSERT_NE(text, nullptr) << key;
        EXPECT_EQ(std::count(hintsShown.begin(), hintsShown.end(), std::string(text)), 1) << key;
    }

    // What the game kept: on disk once the final screen shows, and after quit.
    auto checkProfile = [&](const char* when) {
        SCOPED_TRACE(when);
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
        ASSERT_EQ(scores.size(), data.nodes.size()) << "every place was reached";
        for (const auto& node : data.nodes) EXPECT_GT(scores[node.name], 0) << node.name;
    };
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::FinalScreen>() != nullptr; }, 10.0f));
    checkProfile("the final screen");

    // The final screen, a key, the menu, quit.
    FinalScreenToMenu();
    Quit();
    checkProfile("after quit");
    // The play, for comparing two builds: what the profile kept (node scores,
    // the evidence bag, medals).
    std::printf("[ play ] profile:\n%s\n", ReadWholeFile(Storage() + "data/Map/1.xml").c_str());
    ExpectCleanRun();
}

}  // namespace
