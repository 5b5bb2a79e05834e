// "Play" in the main menu as a player meets it: a new game asks the play mode,
// runs the intro film (layers drifting, the text crawling, swimmers, bubbles)
// and a key or the skip button ends it on the map's new-game overview; a saved
// game asks to continue and opens the map, or starts anew when declined, and
// a film left alone opens the map after exactly its 70 s of focused time.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ScreensTestEngine.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/ScreenFactory.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeAnimation.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"
#include "screens/IntroScreen.h"
#include "support/engine/HtmlLogCapture.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CMenuScreen;
using ZOLTFramework::CScreenEntity;
using ZOLTFramework::GlobalMapScreen;
using ZOLTFramework::IntroScreen;
using ZOLTFramework::ScreenFactory;

namespace {

class IntroFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScreenFactory::Register(ScreenFactory::kIntro, [](EntityManager& manager, const std::string&) -> CEntity* {
            return manager.OpenScreen<IntroScreen>();
        });
        ScreenFactory::Register(ScreenFactory::kGlobalMap, [](EntityManager& manager, const std::string& file) -> CEntity* {
            return manager.OpenScreen<GlobalMapScreen>(file);
        });
    }
    void TearDown() override {
        ScreenFactory::Register(ScreenFactory::kGlobalMap, nullptr);
        ScreenFactory::Register(ScreenFactory::kIntro, nullptr);
    }
    static Player* AddActive(const std::string& name) {
        PlayerManager* players = PlayerManager::Instance();
        players->AddPlayer(name);
        players->SetActivePlayer(name);
        return players->GetActivePlayer();
    }
    CMenuScreen* OpenMenu() {
        auto* menu = engine.Manager().OpenScreen<CMenuScreen>("MenuScreen");
        engine.Step(15);
        return menu;
    }
    Dialog* TopDialog() { return dynamic_cast<Dialog*>(engine.Top()); }
    // Clicks "Play" and expects the question asked.
    void Play(CMenuScreen* menu, const std::string& question) {
        engine.ClickEntity(menu->FindChild<ButtonExEntity>("Play"));
        ASSERT_NE(TopDialog(), nullptr);
        EXPECT_EQ(TopDialog()->GetName(), question);
    }
    GlobalMapScreen* MapOnTop() { return dynamic_cast<GlobalMapScreen*>(engine.Top()); }
    // The new-game overview: the whole map at half size, the prompt, no place shown.
    static void ExpectOverview(GlobalMapScreen* map) {
        ASSERT_NE(map, nullptr);
        EXPECT_EQ(map->GetScaleX(), 0.5f);
        ASSERT_NE(map->GetPrompt(), nullptr);
        EXPECT_EQ(map->GetPrompt()->GetTextRef(), "Click to continue");
        for (ZOLTFramework::LevelNode* node : map->GetNodes()) EXPECT_TRUE(node->IsHidden());
    }
    size_t SwimmersOf(const IntroScreen* intro) {
        const auto fish = PlayerManager::Instance()->GetFish();
        return size_t(std::count_if(fish.begin(), fish.end(),
                                    [intro](CEntity* f) { return f->GetParent() == intro->FindChild("IntroLife"); }));
    }

    ScreensTestEngine engine{0.05f};
    HtmlLogCapture log;
};

TEST_F(IntroFlowTest, ANewGameRunsTheFilmAndTheSkipButtonOpensTheMapOverview) {
    Player* ann = AddActive("Ann");
    ann->NodeScores["NodeHarbour"] = 4000;
    CMenuScreen* menu = OpenMenu();
    // Never on a map yet: straight to the mode question; yes is timed.
    Play(menu, "MODE");
    engine.Press(HGEK_ENTER);
    auto* intro = dynamic_cast<IntroScreen*>(engine.Top());
    ASSERT_NE(intro, nullptr);
    EXPECT_FALSE(ann->RelaxedMode);
    EXPECT_EQ(ann->NodeScores.size(), 1u);
    EXPECT_EQ(ann->NodeScores.count("NodeBrannoksHouse"), 1u);
    EXPECT_TRUE(menu->IsClosing());
    EXPECT_TRUE(engine.Named(IntroScreen::kMapFile).empty()) << "the key that answered is not a skip";

    // The film at 21 s: the layers drift at their own speeds, the text
    // crawls 700 px in 45 s, fifteen swimmers and one more every 2 s, five
    // bubble columns on the river. (Effectors run a frame behind the film's clock.)
    engine.Step(int(21.0f / 0.05f) - 2);
    const float t = (600.0f - intro->GetCaption()->GetY()) * 45.0f / 700.0f;
    auto layer = [intro](int i) {
        return intro->FindChild<ZOLTFramework::CSpriteEntity>("GlobalMapFrame" + std::to_string(i));
    };
    EXPECT_NEAR(t, 21.0f, 0.11f);
    EXPECT_EQ(intro->GetOpacity(), 1.0f);
    EXPECT_EQ(layer(1)->GetX(), 400.0f);
    EXPECT_NEAR(layer(2)->GetX(), 525.0f - 250.0f * t / 70.0f, 1.0f);
    EXPECT_NEAR(layer(3)->GetX(), 650.0f - 500.0f * t / 70.0f, 1.0f);
    EXPECT_NEAR(layer(4)->GetX(), 1024.0f - 1248.0f * t / 70.0f, 1.0f);
    EXPECT_FALSE(intro->GetCaption()->GetTextRef().empty());
    EXPECT_EQ(SwimmersOf(intro), 15u + 11u);
    std::vector<ZOLTFramework::CAnimEntity*> columns;
    for (CEntity* child : layer(3)->GetChildren())
        if (auto* column = dynamic_cast<ZOLTFramework::CAnimEntity*>(child)) columns.push_back(column);
    ASSERT_EQ(columns.size(), 5u);
    for (ZOLTFramework::CAnimEntity* column : columns) ASSERT_NE(column->GetAnimation(), nullptr);
    // Each column bursts within 1 to 6 s and rests on its empty last frame.
    std::set<ZOLTFramework::CAnimEntity*> burst;
    for (int frame = 0; frame < 140; ++frame) {
        for (ZOLTFramework::CAnimEntity* column : columns)
            if (column->GetAnimation()->IsPlaying()) burst.insert(column);
        engine.Step();
    }
    EXPECT_EQ(burst.size(), 5u);
    const CEntity* band = intro->FindChild("IntroBand");
    EXPECT_GT(band->GetAbsDepth(), intro->GetCaption()->GetAbsDepth());
    EXPECT_GT(intro->FindChild<ZOLTFramework::CButtonEntity>("Skip")->GetAbsDepth(), band->GetAbsDepth());

    // The skip button: the map opens at half size and fades in while the
    // film fades out; a second click does nothing more.
    const auto introAlive = intro->GetLifeToken();
    engine.ClickEntity(intro->FindChild<ZOLTFramework::CButtonEntity>("Skip"));
    GlobalMapScreen* map = MapOnTop();
    ExpectOverview(map);
    EXPECT_TRUE(intro->IsClosing());
    EXPECT_EQ(engine.Named(IntroScreen::kMapFile).size(), 1u);
    engine.Step(12);
    EXPECT_TRUE(introAlive.expired());
    EXPECT_TRUE(PlayerManager::Instance()->GetFish().empty()) << "the swimmers went with the film";
    EXPECT_EQ(map->GetOpacity(), 1.0f);
    EXPECT_EQ(engine.Named(IntroScreen::kMapFile).size(), 1u) << "one map for one skip";

    // A key leaves the overview: the flight down to the start, then the
    // map's tutorial once the start's ring has shrunk in.
    engine.Press(HGEK_SPACE);
    engine.Step(50);
    EXPECT_EQ(map->GetScaleX(), 1.0f);
    ASSERT_NE(engine.Top(), nullptr);
    EXPECT_EQ(engine.Top()->GetName(), "FirstTutorial");
    EXPECT_EQ(log.CountRows("Error", ""), 0) << log.Text();
}

TEST_F(IntroFlowTest, ASavedGameContinuesOnTheMapOrStartsAnewAndTheFilmEndsByItself) {
    Player* ann = AddActive("Ann");
    ann->GameInProgress = true;
    ann->NodeScores["NodeTownHall"] = 0;
    CMenuScreen* menu = OpenMenu();

    // Continue: the map, whole size, no prompt, the progress kept.
    Play(menu, "CONT");
    engine.Press(HGEK_ENTER);
    GlobalMapScreen* map = MapOnTop();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetScaleX(), 1.0f);
    EXPECT_EQ(map->GetPrompt(), nullptr);
    EXPECT_EQ(ann->NodeScores.count("NodeTownHall"), 1u);
    EXPECT_TRUE(engine.Named("IntroScreen").empty());
    engine.Step(12);

    // Esc and yes: back in the menu; "Play" asks again, and no starts anew
    // with the mode question (no is relaxed); the film, with nobody touching
    // anything, ends after exactly 70 s of focused time.
    engine.Press(HGEK_ESCAPE);
    ASSERT_NE(TopDialog(), nullptr);
    EXPECT_EQ(TopDialog()->GetName(), "EXIT_TO_MENU");
    engine.Press(HGEK_ENTER);
    menu = dynamic_cast<CMenuScreen*>(engine.Top());
    ASSERT_NE(menu, nullptr);
    engine.Step(15);
    Play(menu, "CONT");
    engine.Press(HGEK_ESCAPE);
    ASSERT_NE(TopDialog(), nullptr);
    EXPECT_EQ(TopDialog()->GetName(), "MODE");
    engine.Press(HGEK_ESCAPE);
    EXPECT_TRUE(ann->RelaxedMode);
    EXPECT_FALSE(ann->GameInProgress);
    EXPECT_EQ(ann->NodeScores.count("NodeTownHall"), 0u);
    auto* intro = dynamic_cast<IntroScreen*>(engine.Top());
    ASSERT_NE(intro, nullptr);
    // A window above the film for 2 s stops its clock.
    auto* above = engine.Manager().OpenScreen<CScreenEntity>("Above");
    engine.Step(40);
    above->Kill();
    engine.Manager().RemoveScreen(above);
    engine.Step(int(69.9f / 0.05f));
    EXPECT_EQ(engine.Top(), intro);
    EXPECT_LT(intro->GetCaption()->GetY(), -99.0f) << "the text left after 45 s";
    engine.Step(4);
    ExpectOverview(MapOnTop());
}

}  // namespace
