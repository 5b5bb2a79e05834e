// The global map in a real (virtual) window with the game's art: the whole
// map at half size with the new game's prompt, then the start with the map's
// tutorial over it, and the map at scale 1 after a won level with the places'
// captions, their flags and the star ring on the newest place. Started by CTest through xvfb-run; skipped when there is no
// display.
#include <gtest/gtest.h>

#include <string>

#include "entities/widgets/TextEntity.h"
#include "graphics/hgeResourceManager.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "entities/screens/OKScreen.h"
#include "platform/InputEvent.h"
#include "support/TestInput.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"

using ZOLTFramework::GlobalMapScreen;
using ZOLTFramework::LevelNode;

namespace {

class MapWindowEngine : public WindowTestEngine {
public:
    explicit MapWindowEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        UseGameFonts();
        UsePlayer(dir, "Marlowe");
    }
    Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }
};

template <class Test>
int Around(const Picture& pic, int x, int y, int half, Test test) {
    return pic.Count(x - half, y - half, x + half, y + half, test);
}

bool Light(int r, int g, int b) { return r + g + b > 600; }
bool Dark(int r, int g, int b) { return r + g + b < 200; }
// Near the colour (within 60 on each channel, lit or shaded).
auto Near(uint32_t color) {
    return [color](int r, int g, int b) {
        const int cr = int(color >> 16 & 255), cg = int(color >> 8 & 255), cb = int(color & 255);
        return std::abs(r - cr) < 60 && std::abs(g - cg) < 60 && std::abs(b - cb) < 60;
    };
}
bool Golden(int r, int g, int b) { return r > 200 && g > 160 && b < 140; }

}  // namespace

TEST(MapSnapshot, TheWholeMapWithThePromptThenTheTutorial) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    MapWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    engine.Active()->NodeScores = {{"NodeBrannoksHouse", 0}};
    // As the intro opens it.
    auto* map = engine.Manager().OpenScreen<GlobalMapScreen>(GlobalMapScreen::kMapFile);
    map->StartAnimation();
    map->SetOpacity(0.0f);
    map->Open();
    map->HideAllNodes();
    engine.RunFor(0.9f);
    ASSERT_NE(map->GetPrompt(), nullptr);
    const Picture shot = engine.Snapshot(folder.dir, "map_overview.png");

    // The prompt's light letters across the bottom middle, over the map.
    EXPECT_GT(shot.Count(300, 570, 500, 610, Light), 150) << "the prompt";
    // The whole picture fills the window: no black corner.
    for (const int corner : {0, 1, 2, 3}) {
        const int x = corner % 2 ? 760 : 0, y = corner / 2 ? 560 : 0;
        EXPECT_LT(shot.Count(x, y, x + 40, y + 40, Dark), 800) << "corner " << corner;
    }

    // A key: down to Brannok's house, its ring, and the tutorial in the middle.
    TestInput::Key(InputEvent::Press, HGEK_SPACE);
    engine.RunFor(2.8f);
    ASSERT_NE(dynamic_cast<OKScreen*>(engine.Manager().GetTopScreen()), nullptr);
    const Picture tutorial = engine.Snapshot(folder.dir, "map_tutorial.png");
    LevelNode* house = map->GetNewestNode();
    ASSERT_NE(house, nullptr);
    EXPECT_FALSE(house->IsHidden());
    // The window low in the middle with its light letters, the house clear of it.
    EXPECT_GT(tutorial.Count(200, 340, 600, 440, Light), 300) << "the tutorial's letters";
    const int hx = int(house->GetAbsoluteX()), hy = int(house->GetAbsoluteY());
    EXPECT_GT(tutorial.Count(hx - 60, hy + 60, hx + 60, hy + 84, Dark), 40) << "the caption";
}

TEST(MapSnapshot, CaptionsFlagsAndTheRingAfterAWonLevel) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    MapWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    Player* player = engine.Active();
    player->NodeScores = {{"NodeBrannoksHouse", 9000}, {"NodeTownHall", 0}};
    player->LastSolvedNode = "NodeBrannoksHouse";
    player->GameInProgress = true;
    auto* map = engine.Manager().OpenScreen<GlobalMapScreen>(GlobalMapScreen::kMapFile);
    map->SetOpacity(0.0f);
    map->Open();
    engine.RunFor(3.2f);
    ASSERT_TRUE(map->FindNodeByName("NodeBrannoksHouse")->IsFlagVisible()) << "the pan is over";
    const Picture shot = engine.Snapshot(folder.dir, "map_after_win.png");

    LevelNode* house = map->FindNodeByName("NodeBrannoksHouse");
    LevelNode* hall = map->FindNodeByName("NodeTownHall");
    ASSERT_TRUE(house && hall);
    // The town hall in the middle with its ring of golden stars.
    EXPECT_FLOAT_EQ(hall->GetAbsoluteX(), 400.0f);
    EXPECT_FLOAT_EQ(hall->GetAbsoluteY(), 300.0f);
    EXPECT_GT(shot.Count(230, 130, 570, 470, Golden), 150) << "the star ring";
    // The house's planted flag in its blue, where the record puts it.
    const int hx = int(house->GetAbsoluteX()), hy = int(house->GetAbsoluteY());
    EXPECT_GT(shot.Count(hx + 40, hy - 40, hx + 110, hy + 40, Near(house->GetFlagColor())), 80) << "the blue banner";
    // Both captions under their places: dark letters on the map.
    for (const LevelNode* node : {house, hall}) {
        const int x = int(node->GetAbsoluteX()), y = int(node->GetAbsoluteY()) + 60;
        EXPECT_GT(shot.Count(x - 60, y, x + 60, y + 24, Dark), 40) << node->GetNodeName() << " caption";
    }
}
