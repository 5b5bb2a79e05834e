// The map as a player who has reached every place meets it: each node clicked
// at its middle, where a player aims, takes the click and opens its place, a
// passed one after the question whether to play it again. The places are left
// for the menu at once and the map is opened again for the next.
#include <gtest/gtest.h>

#include <string>

#include "entities/screens/Dialog.h"
#include "minigames/MiniGameScreen.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"
#include "support/TestInput.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"

namespace {

using ZOLTFramework::GlobalMapScreen;

class MapNodeClicks : public GameScenario {
protected:
    // A look into the place: the windows it opens with are tended until it
    // has stood with its panel in and no window open for 3 s.
    void LookIn(LevelScreen* level) {
        float calm = 0.0f;
        EXPECT_TRUE(RunUntil([&] {
            const bool settled = Top() == level && level->IsPanelIn() && level->Windows().IsQuiet();
            if (!settled) Tend(level);
            calm = settled ? calm + 1.0f / kFramesPerSecond : 0.0f;
            return calm > 3.0f;
        }, 60.0f)) << "the place settles";
    }
};

TEST_F(MapNodeClicks, AClickOnTheMiddleOfEveryNodeOpensItsPlace) {
    Start();
    EnterName("Vane");
    NewGame(true);
    ASSERT_NE(IntroAndOverview(false), nullptr);
    MapToMenu(TopAs<GlobalMapScreen>());
    // Three places passed, the warehouse reached and still to play.
    const GlobalMapData data = GlobalMapData::Read(GlobalMapScreen::kMapFile);
    ASSERT_EQ(data.nodes.size(), 4u);
    for (const GlobalMapData::LevelNode& node : data.nodes) Active()->NodeScores[node.name] = 5000;
    Active()->NodeScores[data.nodes.back().name] = 0;
    // A game a place opens with is put off: the place is only looked into.
    onMiniGame = [](LevelScreen*, ZOLTFramework::CScreenEntity* game) {
        auto* screen = dynamic_cast<MiniGameScreen*>(game);
        ASSERT_NE(screen, nullptr);
        ASSERT_TRUE(ConfirmMiniGameHelp(screen));
        ASSERT_TRUE(PutOffMiniGame(screen));
    };

    for (const GlobalMapData::LevelNode& node : data.nodes) {
        SCOPED_TRACE(node.name);
        Continue();
        GlobalMapScreen* map = WaitForMap();
        ASSERT_NE(map, nullptr);
        ASSERT_EQ(map->GetNodes().size(), 4u);
        ZOLTFramework::LevelNode* shown = map->FindNodeByName(node.name);
        ASSERT_NE(shown, nullptr);
        map->CentreOnNode(node.name);
        Step();
        TestInput::Move(shown->GetAbsoluteX(), shown->GetAbsoluteY());
        Step(2);
        EXPECT_EQ(shown->GetColor(), GlobalMapScreen::kHoverColor) << "the middle takes the pointer";
        Press(HGEK_LBUTTON);
        if (&node != &data.nodes.back()) {
            auto* question = TopAs<Dialog>();
            ASSERT_NE(question, nullptr) << "Q_ALREADY_PASSED";
            EXPECT_EQ(question->GetName(), "START_LEVEL");
            Wait(0.6f);
            Press(HGEK_ENTER);
        }
        EXPECT_EQ(Active()->CurrentNode, node.name);
        Step();
        EXPECT_GT(map->GetAbsoluteScaleX(), 1.0f) << "the view flies into the place";
        LevelScreen* level = WaitForLevel(node.level);
        ASSERT_NE(level, nullptr) << node.level << " opens";
        LookIn(level);
        LeaveLevelForMenu(level, false);
        // Back to the map for the next node, not to the place just left.
        Active()->PlayFieldPath.clear();
    }
    Quit();
    for (const std::string& row : ProblemRows()) ADD_FAILURE() << row;
}

}  // namespace
