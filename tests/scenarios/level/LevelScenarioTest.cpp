// The whole game headless, played like a person: a new player starts a timed
// game through the intro and the map's overview, plays the study to its end
// (its game of pairs put off, then skipped), leaves the harbour painting half done for the
// menu, quits, comes back to it through the map and finishes it: the flag
// flies onto Brannok's house and the town hall opens. Esc leaves the map;
// after a restart "Play" continues on the map. Then what the game kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/GameApp.h"
#include "engine/StringManager.h"
#include "engine/XMLDocument.h"
#include "minigames/MiniGameScreen.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "screens/CMenuScreen.h"
#include "screens/ComicScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"

using ZOLTFramework::CMenuScreen;

namespace {

class LevelScenario : public GameScenario {
protected:
    // The items of the level's bag as "object:tool", in slot order.
    static std::string BagItems(LevelScreen* level) {
        std::string items;
        for (InventoryObject* item : level->FindChild<PlayField>("PlayField")->GetInventory()->GetObjects())
            items += (items.empty() ? "" : ",") + item->GetObjectName() + ":" + item->GetToolName();
        return items;
    }
    void ScoreWindow(bool medal) {
        LevelCompleteScreen* window = WaitForScoreWindow();
        CloseScoreWindow(window, medal);
    }
};

TEST_F(LevelScenario, StudyPaintingResumedAndBackToTheMap) {
    Start();
    EnterName("Marlowe");

    // Play, timed: the intro (a key ends it), the overview and its tutorial;
    // the start node opens the study with the map's time and cigars.
    NewGame(true);
    ZOLTFramework::GlobalMapScreen* map = IntroAndOverview(false);
    ASSERT_NE(map, nullptr);
    ClickNode(map, "NodeBrannoksHouse");
    LevelScreen* study = WaitForLevel("Study.xml");
    ASSERT_NE(study, nullptr);
    EXPECT_EQ(study->GetName(), "data/Scenes/Study.xml");
    EXPECT_EQ(Active()->CurrentNode, "NodeBrannoksHouse");
    EXPECT_FLOAT_EQ(Active()->Time, 1200.0f);
    EXPECT_EQ(Active()->CigarCount, 3);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ComicScreen>() != nullptr; }, 10.0f));
    // The window that points at the cigar comes after the page and the
    // case's tutorial (which waits for the panel), and stays.
    const std::string caseTold = app->GetStringManager()->GetString("TUTORIAL_BAG");
    ZOLTFramework::CEntity* cigarWindow = nullptr;
    ASSERT_TRUE(RunUntil([&] {
        cigarWindow = study->FindChild("ExtraCigarWindow");
        if (cigarWindow && !cigarWindow->IsHidden()) return true;
        Tend(study);
        return false;
    }, 20.0f));
    EXPECT_EQ(std::count(hintsShown.begin(), hintsShown.end(), caseTold), 1) << "the case's tutorial came first";
    EXPECT_EQ(Top(), study);
    Settle(study);
    EXPECT_FALSE(cigarWindow->IsHidden()) << "nothing comes over it";
    EXPECT_EQ(Active()->TempEvidences.size(), 2u);

    // Every object clicked; the key goes into the bag and onto the drawer,
    // whose game of pairs is put off (the key comes back to the bag, the
    // drawer waits) and skipped when the key opens it again.
    int drawerGames = 0;
    onMiniGame = [&](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
        auto* screen = dynamic_cast<MiniGameScreen*>(game);
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->GetName(), "data/MiniGames/1.1.xml");
        ASSERT_TRUE(ConfirmMiniGameHelp(screen));
        if (drawerGames++ == 0) {
            ASSERT_TRUE(PutOffMiniGame(screen));
            return;
        }
        ASSERT_TRUE(SkipMiniGame(screen));
        ASSERT_TRUE(PressMiniGameOk(screen));
    };
    // The cigar on the shelf is pointed out first, and nothing else is taken
    // until it is.
    for (const char* name : {"study_cigar", "watch", "spectacles", "scissors", "quill", "ace_of_spades", "horseshoe", "teacup",
                             "envelope", "glove", "pipe", "chess_knight", "coin_1", "coin_2", "coin_3"})
        ClickObject(study, name);
    ClickObject(study, "study_key");
    UseTool(study, "study_key", "desk_drawer");
    Settle(study);
    EXPECT_EQ(drawerGames, 1);
    EXPECT_NE(SceneObjectNamed(study->FindChild<PlayField>("PlayField"), "desk_drawer"), nullptr) << "the drawer waits";
    // Long after every flight has landed, the bag holds the one key, named
    // as the drawer's tool; quit and Continue bring the bag back the same.
    Wait(6.0f);
    EXPECT_EQ(BagItems(study), "study_key:study_key");
    LeaveLevelForMenu(study, false);
    Quit();
    Start();
    Continue();
    study = WaitForLevel("_playfield.xml");
    ASSERT_NE(study, nullptr);
    Settle(study);
    EXPECT_EQ(BagItems(study), "study_key:study_key");
    const float timeBeforeDrawer = Active()->Time;
    UseTool(study, "study_key", "desk_drawer");
    Wait(6.0f);
    EXPECT_EQ(BagItems(study), "study_key:study_key") << "the skipped game gives the key back once";
    EXPECT_GT(Active()->ScoreItems, 0);
    EXPECT_LT(Active()->Time, 1200.0f) << "the clock ran";

    // The score window and the medal; then the painting opens.
    ScoreWindow(true);
    EXPECT_EQ(drawerGames, 2);
    EXPECT_EQ(Active()->Medals.count(1), 1u);
    EXPECT_LT(Active()->Time, timeBeforeDrawer - 299.0f) << "the skipped game cost 300 s";
    const int32_t scoreAfterStudy = Active()->ScoreNode;
    EXPECT_GT(scoreAfterStudy, 0);
    LevelScreen* painting = WaitForLevel("Portrait");
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    PlayField* field = painting->FindChild<PlayField>("PlayField");
    ASSERT_EQ(field->Rules().Pairs().size(), 6u);
    ClickObject(painting, "diff_sail_red_upper");
    ClickObject(painting, "diff_window_lit_lower");
    Wait(0.5f);
    const int32_t itemsBefore = Active()->ScoreItems;
    EXPECT_GT(itemsBefore, 0);

    // Esc, "EXIT", yes: the painting is saved and the menu opens.
    LeaveLevelForMenu(painting, false);
    const std::string saved = Active()->PlayFieldPath;
    EXPECT_NE(saved.find("_playfield.xml"), std::string::npos);
    const float timeLeft = Active()->Time;
    Quit();

    // Restart, Play, continue: the map hands the painting over at once, as
    // it was left.
    Start();
    Continue();
    painting = WaitForLevel("_playfield.xml");
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    field = painting->FindChild<PlayField>("PlayField");
    EXPECT_EQ(SceneObjectNamed(field, "diff_sail_red_upper"), nullptr);
    EXPECT_EQ(SceneObjectNamed(field, "diff_sail_blue_lower"), nullptr);
    EXPECT_EQ(SceneObjectNamed(field, "diff_window_dark_upper"), nullptr);
    EXPECT_EQ(field->Rules().Pairs().size(), 6u);
    EXPECT_NEAR(Active()->Time, timeLeft, 5.0f);
    EXPECT_EQ(Active()->ScoreItems, itemsBefore);
    EXPECT_EQ(Active()->CurrentNode, "NodeBrannoksHouse");

    // Finished: the score window; back on the map the flag flies onto the
    // house, the view pans to the town hall, which opens. Esc, yes, the menu.
    for (const char* name : {"diff_gull_perched_upper", "diff_flag_three_lower", "diff_chimney_plain_upper",
                             "diff_boat_one_lower"})
        ClickObject(painting, name);
    ScoreWindow(false);
    PlayRestOfPlace("data/Scenes/Portrait.xml");
    map = WatchBannerFlight("NodeBrannoksHouse", "NodeTownHall");
    ASSERT_NE(map, nullptr);
    EXPECT_GT(Active()->NodeScores["NodeBrannoksHouse"], 0);
    EXPECT_EQ(Active()->NodeScores["NodeTownHall"], 0) << "the town hall opens";
    MapToMenu(map);
    Quit();

    // Restart, Play: the question, yes, and the map at scale 1.
    Start();
    Continue();
    map = WaitForMap();
    ASSERT_NE(map, nullptr);
    EXPECT_FLOAT_EQ(map->GetAbsoluteScaleX(), 1.0f);
    EXPECT_EQ(map->GetPrompt(), nullptr);
    EXPECT_EQ(map->GetNodes().size(), 2u);
    MapToMenu(map);
    Quit();

    XMLDocument profile("profile");
    ASSERT_TRUE(profile.Load(Storage() + "data/Map/1.xml"));
    const std::string text = profile.ToText();
    EXPECT_EQ(text.find("play_field"), std::string::npos) << text;
    EXPECT_NE(text.find("<medal"), std::string::npos) << text;
    for (const std::string& row : ProblemRows()) ADD_FAILURE() << row;
}

}  // namespace
