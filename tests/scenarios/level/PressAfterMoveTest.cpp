// Presses a player makes a frame or two after moving the pointer onto a
// picture, whatever happened just before: the press is taken where the
// picture is. In the study: the panel's cigar tapped (down and up within one
// frame), the bag's strap pressed as the bag slides shut from the pointer that
// just left it, an item in the bag pressed while the bag still slides open.
// On the map of a player who has reached every place: each node pressed at its
// middle, where a player aims, opens its place (a passed one after the
// question whether to play it again), and a node pressed right after the
// pointer jumped there from another node opens that one.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "entities/core/CSpriteEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/CButtonEntity.h"
#include "minigames/MiniGameScreen.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"
#include "support/TestInput.h"
#include "support/app/GameScenario.h"
#include "support/scene/MiniGameSolver.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

class PressAfterMove : public GameScenario {
protected:
    // The pointer onto the point, `frames` frames on, then the press (a tap:
    // down and up within one frame).
    void MoveAndPress(float x, float y, int frames, bool tap) {
        TestInput::Move(x, y);
        Step(frames);
        if (tap) {
            TestInput::Key(InputEvent::Down, HGEK_LBUTTON);
            TestInput::Key(InputEvent::Up, HGEK_LBUTTON);
            Step(2);
        } else {
            Press(HGEK_LBUTTON);
        }
    }
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

TEST_F(PressAfterMove, APressOnAPictureRightAfterAMoveIsTaken) {
    Start();
    EnterName("Quill");
    NewGame(true);
    ZOLTFramework::GlobalMapScreen* map = IntroAndOverview(false);
    ASSERT_NE(map, nullptr);
    ClickNode(map, "NodeBrannoksHouse");
    LevelScreen* study = WaitForLevel("Study.xml");
    ASSERT_NE(study, nullptr);
    Settle(study);
    PlayField* field = study->FindChild<PlayField>("PlayField");
    Inventory* bag = field->GetInventory();
    const hgeRect strap = bag->FindChild<ZOLTFramework::CButtonEntity>("CLOSED_SHIFTER")->GetRect();
    const float strapX = (strap.x1 + strap.x2) * 0.5f, strapY = (strap.y1 + strap.y2) * 0.5f;
    // The cigar the field waits for, then the key into the bag, for the row
    // that takes it out.
    ClickObject(study, "study_cigar");
    ClickObject(study, "study_key");
    // Its tutorial holds its flight until it is closed.
    ASSERT_TRUE(RunUntil([&] {
        if (bag->GetObjects().size() == 1u) return true;
        Tend(study);
        return false;
    }, 10.0f));
    Settle(study);
    Wait(1.0f);

    struct Row {
        const char* what;
        std::function<void()> before;           // what happened just before
        std::function<void(float&, float&)> at;  // where the picture is now
        int frames;                              // from the move to the press
        bool tap;
        std::function<bool()> taken;
    };
    const int cigars = Active()->CigarCount;
    const std::vector<Row> rows = {
        {"the cigar on the panel, tapped", [] {},
         [&](float& x, float& y) {
             const auto* cigar = study->FindChild<ZOLTFramework::CSpriteEntity>("Cigar");
             x = cigar->GetAbsoluteX();
             y = cigar->GetAbsoluteY();
         },
         2, true, [&] { return Active()->CigarCount == cigars - 1; }},
        {"the strap, as the bag slides shut from the pointer just gone",
         [&] {
             MoveAndPress(strapX, strapY, 2, false);
             Wait(0.5f);
             ASSERT_TRUE(bag->IsOpened());
             TestInput::Move(450.0f, 300.0f);
             Wait(0.2f);
             ASSERT_FALSE(bag->IsOpened()) << "on its way home";
         },
         [&](float& x, float& y) { x = strapX, y = strapY; }, 2, false,
         [&] {
             Wait(0.5f);
             return bag->IsOpened();
         }},
        {"the key in the bag, as the bag slides open",
         [&] {
             TestInput::Move(450.0f, 300.0f);
             Wait(1.0f);
             MoveAndPress(strapX, strapY, 2, false);
             Wait(0.08f);
             ASSERT_FALSE(bag->IsOpened()) << "still on its way";
         },
         [&](float& x, float& y) {
             x = bag->GetObjects().front()->GetAbsoluteX();
             y = bag->GetObjects().front()->GetAbsoluteY();
         },
         1, false, [&] { return HeldItem(field) != nullptr; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.before();
        if (HasFatalFailure()) return;
        float x = 0.0f, y = 0.0f;
        row.at(x, y);
        MoveAndPress(x, y, row.frames, row.tap);
        EXPECT_TRUE(row.taken()) << row.what;
    }
    LeaveLevelForMenu(study, false);

    // The map with every place reached, the last one still to play.
    const GlobalMapData data = GlobalMapData::Read(ZOLTFramework::GlobalMapScreen::kMapFile);
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
        // Back to the map for the next node, not to the place just left.
        Active()->PlayFieldPath.clear();
        Continue();
        map = WaitForMap();
        ASSERT_NE(map, nullptr);
        ZOLTFramework::LevelNode* shown = map->FindNodeByName(node.name);
        ASSERT_NE(shown, nullptr);
        map->CentreOnNode(node.name);
        Step();
        TestInput::Move(shown->GetAbsoluteX(), shown->GetAbsoluteY());
        Step(2);
        EXPECT_EQ(shown->GetColor(), ZOLTFramework::GlobalMapScreen::kHoverColor) << "the middle takes the pointer";
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
    }

    // The harbour, then straight on to the warehouse beside it: the
    // warehouse opens (the harbour, played, would ask to be played again).
    Active()->PlayFieldPath.clear();
    Active()->CurrentNode = data.nodes[2].name;
    Continue();
    map = WaitForMap();
    ASSERT_NE(map, nullptr);
    const std::string harbour = data.nodes[2].name, warehouse = data.nodes[3].name;
    map->CentreOnNode(warehouse);
    Step();
    ZOLTFramework::LevelNode* from = map->FindNodeByName(harbour);
    ZOLTFramework::LevelNode* to = map->FindNodeByName(warehouse);
    ASSERT_TRUE(from && to);
    TestInput::Move(from->GetAbsoluteX(), from->GetAbsoluteY());
    Step(2);
    ASSERT_EQ(from->GetColor(), ZOLTFramework::GlobalMapScreen::kHoverColor);
    MoveAndPress(to->GetAbsoluteX(), to->GetAbsoluteY(), 1, false);
    EXPECT_EQ(Active()->CurrentNode, warehouse) << "a node right after another";
    EXPECT_EQ(TopAs<Dialog>(), nullptr) << "no question";
    for (const std::string& row : ProblemRows()) ADD_FAILURE() << row;
}

}  // namespace
