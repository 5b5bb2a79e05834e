#include "support/app/GameScenario.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "platform/FrameDriver.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"
#include "screens/ComicScreen.h"
#include "screens/HelpScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TestInput.h"
#include "support/scene/ScenePlayHelpers.h"

using ZOLTFramework::CEntity;

GameScenario::GameScenario() = default;
GameScenario::~GameScenario() = default;

EntityManager& GameScenario::Manager() { return *app->GetEntityManager(); }

CEntity* GameScenario::Top() { return Manager().GetTopScreen(); }

Player* GameScenario::Active() { return PlayerManager::Instance()->GetActivePlayer(); }

bool GameScenario::RunUntil(const std::function<bool()>& done, float maxSeconds) {
    const int frames = int(maxSeconds * kFramesPerSecond);
    for (int i = 0; i < frames; ++i) {
        if (done()) return true;
        if (FrameDriver::RunFrames(1) == 0) return done();
    }
    return done();
}

void GameScenario::Step(int frames) { FrameDriver::RunFrames(frames); }

void GameScenario::Press(int key) {
    TestInput::Key(InputEvent::Press, key);
    Step(2);
}

void GameScenario::Type(const std::string& text) {
    TestInput::Text(text);
    Step(int(text.size()) + 1);
}

void GameScenario::Click(float x, float y) {
    TestInput::Move(x, y);
    Step();
    Press(HGEK_LBUTTON);
}

void GameScenario::ClickCentre(const ZOLTFramework::CGUIEntity* entity) {
    ASSERT_NE(entity, nullptr);
    const hgeRect& r = entity->GetRect();
    Click((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
}

void GameScenario::Start() {
    app = std::make_unique<ZOLTFramework::GameApp>();
    ASSERT_TRUE(app->Init());
    int frame = 0;
    ASSERT_TRUE(RunUntil([&] {
        if (++frame % 30 == 0) TestInput::Key(InputEvent::Press, HGEK_SPACE);
        return Find<ZOLTFramework::CMenuScreen>() != nullptr;
    }, 30.0f));
}

void GameScenario::EnterName(const std::string& name) {
    ASSERT_TRUE(RunUntil([&] { return TopAs<CPNameScreen>() != nullptr; }, 10.0f));
    Type(name);
    Press(HGEK_ENTER);
    ASSERT_NE(TopAs<ZOLTFramework::CMenuScreen>(), nullptr);
}

void GameScenario::Quit() {
    auto* menu = TopAs<ZOLTFramework::CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    Wait(0.6f);
    ClickCentre(menu->FindChild<ButtonExEntity>("Exit"));
    ASSERT_TRUE(app->IsExitDialogOpen());
    TestInput::Key(InputEvent::Press, HGEK_ENTER);
    EXPECT_LT(FrameDriver::RunFrames(60), 60) << "the game ends";
    app.reset();
}

ZOLTFramework::GlobalMapScreen* GameScenario::WaitForMap(float maxSeconds) {
    ZOLTFramework::GlobalMapScreen* map = nullptr;
    RunUntil([&] {
        map = TopAs<ZOLTFramework::GlobalMapScreen>();
        return map && map->GetAbsoluteOpacity() >= 1.0f;
    }, maxSeconds);
    return map && map->GetAbsoluteOpacity() >= 1.0f ? map : nullptr;
}

void GameScenario::LeaveOverview(ZOLTFramework::GlobalMapScreen* map) {
    ASSERT_NE(map, nullptr);
    ASSERT_NE(map->GetPrompt(), nullptr) << "the overview's prompt";
    Press(HGEK_SPACE);
    ASSERT_TRUE(RunUntil([&] { return Top() && Top()->GetName() == "FirstTutorial"; }, 5.0f)) << "the tutorial";
    EXPECT_EQ(map->GetScaleX(), 1.0f);
    Wait(0.6f);
    Press(HGEK_ENTER);
    ASSERT_TRUE(RunUntil([&] { return Top() == map; }, 5.0f)) << "the tutorial closes";
}

void GameScenario::ClickNode(ZOLTFramework::GlobalMapScreen* map, const std::string& nodeName) {
    SCOPED_TRACE(nodeName);
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(RunUntil([&] { return !map->IsPanning(); }, 5.0f));
    ZOLTFramework::LevelNode* node = map->FindNodeByName(nodeName);
    ASSERT_NE(node, nullptr) << "the place is on the map";
    // The view moves toward the edge the mouse rests at, then coasts to a stop.
    for (int tries = 0; tries < 8; ++tries) {
        const float nx = node->GetAbsoluteX(), ny = node->GetAbsoluteY();
        const bool inside = nx > 150.0f && nx < 650.0f && ny > 120.0f && ny < 480.0f;
        if (inside) break;
        TestInput::Move(nx < 150.0f ? 5.0f : nx > 650.0f ? 795.0f : 400.0f,
                        ny < 120.0f ? 5.0f : ny > 480.0f ? 595.0f : 300.0f);
        Wait(0.8f);
        TestInput::Move(400.0f, 300.0f);
        ASSERT_TRUE(RunUntil([&] { return map->GetScrollSpeed() == 0.0f; }, 5.0f));
    }
    // An opaque point of the place's picture, nearest its middle.
    const float cx = node->GetAbsoluteX(), cy = node->GetAbsoluteY();
    float px = cx, py = cy;
    for (float r = 0.0f; r <= 60.0f && !node->HitTest(px, py); r += 2.0f)
        for (float a = 0.0f; a < 6.283f; a += 0.2f) {
            px = cx + r * std::cos(a);
            py = cy + r * std::sin(a);
            if (node->HitTest(px, py)) break;
        }
    ASSERT_TRUE(node->HitTest(px, py)) << "the place's picture shows";
    Click(px, py);
    if (TopAs<Dialog>() && Top()->GetName() == "START_LEVEL") {
        Wait(0.6f);
        Press(HGEK_ENTER);
    }
    EXPECT_NE(map->GetChosenNode(), nullptr) << "the click starts the place";
}

void GameScenario::LeaveMapForMenu(ZOLTFramework::GlobalMapScreen* map) {
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(RunUntil([&] { return !map->IsPanning() && Top() == map; }, 5.0f));
    Press(HGEK_ESCAPE);
    ASSERT_NE(TopAs<Dialog>(), nullptr) << "Q_QUIT";
    Wait(0.6f);
    Press(HGEK_ENTER);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::CMenuScreen>() != nullptr; }, 5.0f)) << "the menu";
}

LevelScreen* GameScenario::WaitForLevel(const std::string& part, float maxSeconds) {
    LevelScreen* level = nullptr;
    RunUntil([&] {
        level = Find<LevelScreen>();
        return level && level->GetName().find(part) != std::string::npos && !level->IsClosing();
    }, maxSeconds);
    return level && level->GetName().find(part) != std::string::npos ? level : nullptr;
}

void GameScenario::Settle(LevelScreen* level) {
    std::weak_ptr<void> alive = level->GetLifeToken();
    ASSERT_TRUE(RunUntil([&] {
        // Won: the score window is the level's next step.
        if (alive.expired() || level->IsClosing() || TopAs<LevelCompleteScreen>()) return true;
        if (Top() == level && level->IsPanelIn() && level->GetComicQueue().empty() && level->GetHintQueue().empty() &&
            !level->IsHintWindowOpen() && level->GetPlayField()->IsPlaying() && !level->GetRunningMiniGame() &&
            level->GetRequestedMiniGame().empty())
            return true;
        // A mini-game plays its own help window first: the plan sees both.
        if (auto* game = level->GetRunningMiniGame()) {
            if (!onMiniGame) {
                ADD_FAILURE() << "no plan for the mini-game " << game->GetName();
                return true;
            }
            onMiniGame(level, game);
        } else if (TopAs<ComicScreen>()) {
            Click(400.0f, 300.0f);
        } else if (HelpScreen* help = level->GetHelpScreen(); help && Top() == help && !help->IsClosing()) {
            Wait(0.6f);
            Press(HGEK_ENTER);
        } else if (Top() && Top()->GetName() == "HintScreen") {
            Press(HGEK_ENTER);
        }
        return false;
    }, 60.0f)) << "the level settles";
}

void GameScenario::ClickObject(LevelScreen* level, const std::string& objectName) {
    SCOPED_TRACE(objectName);
    std::weak_ptr<void> alive = level->GetLifeToken();
    PlayField* field = level->GetPlayField();
    // A window that opens just then (a tutorial) takes the click: a player
    // closes it and clicks again.
    for (int tries = 0; tries < 3 && !alive.expired() && field->FindObjectByName(objectName); ++tries) {
        Settle(level);
        if (alive.expired() || level->IsClosing()) return;
        SceneObject* object = field->FindObjectByName(objectName);
        if (!object) break;
        const ScreenPoint at = OpaquePointOf(object, field);
        ASSERT_TRUE(at.found) << "a point of it shows";
        Click(at.x, at.y);
    }
    if (!alive.expired()) {
        EXPECT_EQ(field->FindObjectByName(objectName), nullptr) << "taken";
    }
    Step(8);
}

void GameScenario::UseTool(LevelScreen* level, const std::string& tool, const std::string& target) {
    SCOPED_TRACE(tool + " on " + target);
    PlayField* field = level->GetPlayField();
    Inventory* bag = field->GetInventory();
    InventoryObject* item = nullptr;
    ASSERT_TRUE(RunUntil([&] {
        for (InventoryObject* candidate : bag->GetObjects())
            if (candidate->GetObjectName() == tool) item = candidate;
        return item != nullptr;
    }, 5.0f)) << "the tool is in the bag";
    Settle(level);
    bag->Open();
    Wait(0.1f);
    Click(item->GetAbsoluteX(), item->GetAbsoluteY());
    ASSERT_EQ(field->GetCursor().kind, PlayField::CURSOR_HELD_ITEM);
    ClickObject(level, target);
}

void GameScenario::FindEverything(LevelScreen* level) {
    std::weak_ptr<void> alive = level->GetLifeToken();
    PlayField* field = level->GetPlayField();
    // The scene file says what to look for and which tool opens what.
    XMLDocument scene = XMLDocument::FromFile(field->GetScenePath());
    ASSERT_TRUE(scene.IsLoaded()) << field->GetScenePath();
    std::vector<std::string> finds;
    std::vector<std::pair<std::string, std::string>> tools;  // tool, target
    for (const auto& task : scene.GetRoot()->GetChildren()) {
        if (task->GetName() != "task") continue;
        for (const auto& item : task->GetChildren()) {
            const std::string name = item->GetStringAttribute("name");
            if (task->HasAttribute("tool_to_find"))
                tools.emplace_back(task->GetStringAttribute("tool_to_find"), name);
            else
                finds.push_back(name);
        }
    }
    for (const std::string& name : finds) {
        if (alive.expired() || level->IsClosing()) return;
        // A difference's partner goes with it; a tool picked up earlier is gone.
        if (field->FindObjectByName(name)) ClickObject(level, name);
    }
    for (const auto& [tool, target] : tools) {
        if (alive.expired() || level->IsClosing()) return;
        if (field->FindObjectByName(tool)) ClickObject(level, tool);
        UseTool(level, tool, target);
    }
    if (!alive.expired()) Settle(level);
}

LevelCompleteScreen* GameScenario::WaitForScoreWindow(float maxSeconds) {
    LevelCompleteScreen* window = nullptr;
    bool countedUp = false;
    EXPECT_TRUE(RunUntil([&] {
        if (TopAs<ComicScreen>()) Click(400.0f, 300.0f);
        window = TopAs<LevelCompleteScreen>();
        if (!window || window->IsClosing()) return false;
        // Done when every row shows its final number; a row on its way shows
        // a smaller one.
        bool done = true;
        for (const LevelCompleteScreen::Row& row : window->GetRows()) {
            if (!row.score) continue;
            const std::string& shown = row.score->GetTextRef();
            if (shown != row.finalText) done = false;
            if (!shown.empty() && shown != row.finalText && shown != "0") countedUp = true;
        }
        return done;
    }, maxSeconds)) << "the score window counts up";
    EXPECT_TRUE(countedUp) << "a number counted up";
    return window;
}

void GameScenario::CloseScoreWindow(LevelCompleteScreen* window, bool medal) {
    ASSERT_NE(window, nullptr);
    std::weak_ptr<void> alive = window->GetLifeToken();
    Wait(0.2f);
    ClickCentre(window->GetExitButton());
    if (medal) Wait(4.5f);
    ASSERT_TRUE(RunUntil([&] {
        if (alive.expired()) return true;
        TestInput::Key(InputEvent::Press, HGEK_SPACE);
        Step(2);
        return false;
    }, 10.0f)) << "the score window closes";
}
