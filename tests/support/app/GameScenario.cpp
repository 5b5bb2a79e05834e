#include "support/app/GameScenario.h"

#include <algorithm>
#include <csignal>
#include <map>
#include <set>

#include "app/GameApp.h"
#include "engine/AudioManager.h"
#include "entities/screens/Dialog.h"
#include "engine/XMLDocument.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "platform/FrameDriver.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/ComicScreen.h"
#include "screens/FinalScreen.h"
#include "screens/HelpScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/IntroScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"
#include "screens/OptionsScreen.h"
#include "support/TestFiles.h"
#include "support/TestInput.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/runtime/DialogMessage.h"

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

void GameScenario::Tap(float x, float y) {
    TestInput::Move(x, y);
    Step();
    TestInput::Key(InputEvent::Down, HGEK_LBUTTON);
    TestInput::Key(InputEvent::Up, HGEK_LBUTTON);
    Step(2);
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
    ASSERT_TRUE(TopAs<Dialog>() && TopAs<Dialog>()->GetName() == "Q_EXIT");
    TestInput::Key(InputEvent::Press, HGEK_ENTER);
    EXPECT_LT(FrameDriver::RunFrames(60), 60) << "the game ends";
    app.reset();
}

void GameScenario::EndAndRestart(bool signal) {
    End(signal);
    if (!HasFatalFailure()) Start();
}

void GameScenario::End(bool signal) {
    if (signal) {
        std::raise(SIGTERM);
    } else {
        TestInput::Close();
        Step(2);
        ASSERT_TRUE(TopAs<Dialog>() && TopAs<Dialog>()->GetName() == "Q_EXIT") << "the close asks first";
        TestInput::Key(InputEvent::Press, HGEK_ENTER);
    }
    EXPECT_LT(FrameDriver::RunFrames(60), 60) << "the game ends";
    app.reset();
}

std::vector<std::string> GameScenario::ProblemRows() const {
    const std::string html = ReadWholeFile(Storage() + "Log.html");
    std::vector<std::string> rows;
    for (const char* mark : {"Error:</FONT>", "Warning:</FONT>"})
        for (size_t at = html.find(mark); at != std::string::npos; at = html.find(mark, at + 1))
            rows.push_back(html.substr(at, html.find('\n', html.find('\n', at) + 1) - at));
    return rows;
}

std::vector<std::string> GameScenario::ProblemRowsBut(const std::vector<std::string>& expected) const {
    std::vector<std::string> rows;
    for (const std::string& row : ProblemRows())
        if (std::none_of(expected.begin(), expected.end(),
                         [&](const std::string& text) { return row.find(text) != std::string::npos; }))
            rows.push_back(row);
    return rows;
}

void GameScenario::ExpectCleanRun(const std::vector<std::string>& expected) const {
    const std::string log = ReadWholeFile(Storage() + "Log.html");
    EXPECT_GE(CountOf(log, "EntityManager is destroyed: 0"), 1u) << "no entity outlives the game";
    EXPECT_EQ(CountOf(log, "EntityManager is destroyed: "), CountOf(log, "EntityManager is destroyed: 0"))
        << "every entity went";
    for (const std::string& row : ProblemRowsBut(expected)) ADD_FAILURE() << row;
}

void GameScenario::NewGame(bool timed) {
    auto* menu = TopAs<ZOLTFramework::CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    Wait(0.6f);
    ClickCentre(menu->FindChild<ButtonExEntity>("Play"));
    ASSERT_NE(TopAs<Dialog>(), nullptr) << "the mode question";
    Press(timed ? HGEK_ENTER : HGEK_ESCAPE);
    EXPECT_EQ(Active()->RelaxedMode, !timed);
}

void GameScenario::Continue() {
    auto* menu = TopAs<ZOLTFramework::CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    Wait(0.6f);
    ClickCentre(menu->FindChild<ButtonExEntity>("Play"));
    auto* question = TopAs<Dialog>();
    ASSERT_NE(question, nullptr) << "Q_CONTINUE";
    EXPECT_EQ(question->GetName(), "CONT");
    Press(HGEK_ENTER);
}

ZOLTFramework::GlobalMapScreen* GameScenario::IntroAndOverview(bool skipButton) {
    using ZOLTFramework::GlobalMapScreen;
    ZOLTFramework::IntroScreen* intro = nullptr;
    EXPECT_TRUE(RunUntil([&] { return (intro = TopAs<ZOLTFramework::IntroScreen>()) != nullptr; }, 5.0f));
    if (!intro) return nullptr;
    Wait(1.0f);
    EXPECT_LT(intro->GetCaption()->GetY(), 590.0f) << "the film runs: its text crawls up";
    if (skipButton)
        ClickCentre(intro->FindChild<ZOLTFramework::CButtonEntity>("Skip"));
    else
        Press(HGEK_SPACE);
    EXPECT_TRUE(intro->IsClosing()) << "the film hands over";
    // The overview: the whole map at half size under its prompt.
    GlobalMapScreen* map = WaitForMap();
    if (!map) return nullptr;
    EXPECT_NE(map->GetPrompt(), nullptr) << "CLICK_TO_CONTINUE";
    EXPECT_FLOAT_EQ(map->GetAbsoluteScaleX(), 0.5f);
    EXPECT_FLOAT_EQ(map->GetX(), 600.0f) << "the whole picture in view";
    EXPECT_FLOAT_EQ(map->GetY(), 450.0f);
    Wait(0.5f);
    Press(HGEK_SPACE);
    EXPECT_EQ(map->GetPrompt(), nullptr);
    // The flight down, then the tutorial, closed with Enter.
    EXPECT_TRUE(RunUntil([&] { return Top() && Top()->GetName() == "FirstTutorial"; }, 5.0f)) << "the tutorial";
    EXPECT_FLOAT_EQ(map->GetAbsoluteScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(map->GetX(), 1200.0f) << "flown down to the start area";
    EXPECT_FLOAT_EQ(map->GetY(), 300.0f);
    Wait(0.6f);
    Press(HGEK_ENTER);
    EXPECT_TRUE(RunUntil([&] { return Top() == map; }, 2.0f));
    TestInput::Move(400.0f, 300.0f);
    Wait(0.2f);
    return map;
}

ZOLTFramework::GlobalMapScreen* GameScenario::WaitForMap(float maxSeconds) {
    ZOLTFramework::GlobalMapScreen* map = nullptr;
    EXPECT_TRUE(RunUntil([&] {
        map = TopAs<ZOLTFramework::GlobalMapScreen>();
        return map && !map->IsClosing() && map->GetAbsoluteOpacity() >= 1.0f;
    }, maxSeconds)) << "the map opens";
    return map;
}

void GameScenario::ClickNode(ZOLTFramework::GlobalMapScreen* map, const std::string& nodeName) {
    SCOPED_TRACE(nodeName);
    ASSERT_NE(map, nullptr);
    ZOLTFramework::LevelNode* node = map->FindNodeByName(nodeName);
    ASSERT_NE(node, nullptr) << "the node shows";
    // The opaque point of its picture nearest its middle, inside the window
    // and away from the scrolling edges.
    const float cx = node->GetAbsoluteX(), cy = node->GetAbsoluteY();
    float best = 1e9f, bx = 0.0f, by = 0.0f;
    for (float dy = -50.0f; dy <= 50.0f; dy += 2.0f)
        for (float dx = -60.0f; dx <= 60.0f; dx += 2.0f) {
            const float x = cx + dx, y = cy + dy, d = dx * dx + dy * dy;
            const float edge = ZOLTFramework::GlobalMapScreen::kEdge + 5.0f;
            if (d >= best || x < edge || y < edge || x > 800.0f - edge || y > 600.0f - edge) continue;
            if (node->HitTest(x, y)) best = d, bx = x, by = y;
        }
    ASSERT_LT(best, 1e9f) << "a point of the node shows";
    TestInput::Move(bx, by);
    Step(2);
    EXPECT_EQ(node->GetColor(), ZOLTFramework::GlobalMapScreen::kHoverColor) << "hovered";
    Press(HGEK_LBUTTON);
    if (TopAs<Dialog>() && Top()->GetName() == "START_LEVEL") {
        // A place played before: yes to "Q_ALREADY_PASSED".
        Wait(0.6f);
        Press(HGEK_ENTER);
    }
    EXPECT_TRUE(Active()->CurrentNode == nodeName && map->GetAbsoluteScaleX() > 1.0f) << "the level starts";
}

ZOLTFramework::GlobalMapScreen* GameScenario::WatchBannerFlight(const std::string& solved, const std::string& opened) {
    using ZOLTFramework::GlobalMapScreen;
    // The map is built when the level leaves; its flight starts then.
    GlobalMapScreen* map = nullptr;
    EXPECT_TRUE(RunUntil([&] { return (map = Find<GlobalMapScreen>()) != nullptr; }, 15.0f)) << "back on the map";
    if (!map) return nullptr;
    TestInput::Move(400.0f, 300.0f);
    EXPECT_TRUE(Active()->LastSolvedNode.empty()) << "the map took the solved node";
    ZOLTFramework::LevelNode* from = map->FindNodeByName(solved);
    ZOLTFramework::LevelNode* to = map->FindNodeByName(opened);
    EXPECT_NE(from, nullptr);
    EXPECT_NE(to, nullptr);
    if (!from || !to) return map;
    EXPECT_EQ(map->GetNewestNode(), to);
    EXPECT_FALSE(from->IsFlagVisible()) << "the flag is on its way";
    // At first the solved node is centred.
    EXPECT_NEAR(from->GetAbsoluteX(), 400.0f, 1.0f);
    EXPECT_NEAR(from->GetAbsoluteY(), 300.0f, 1.0f);
    const int stuckBefore = app->GetAudioManager()->GetSoundPlayCount("FlagStuck");
    std::vector<int> shown(3, 0);
    std::vector<ZOLTFramework::CEntity*> banner;  // the flight's frames, in order
    for (ZOLTFramework::CEntity* child : map->GetChildren())
        if (child->GetName() == "GlobalMapBannerFrame") banner.push_back(child);
    EXPECT_EQ(banner.size(), 3u);
    const int frames = int(2.4f * kFramesPerSecond);
    for (int i = 0; i < frames; ++i) {
        for (size_t f = 0; f < banner.size() && f < 3; ++f) shown[f] += banner[f]->IsHidden() ? 0 : 1;
        Step();
    }
    for (int f = 0; f < 3; ++f) {
        EXPECT_GE(shown[size_t(f)], 8) << "banner frame " << f + 1;
        EXPECT_LE(shown[size_t(f)], 12) << "banner frame " << f + 1;
    }
    EXPECT_EQ(app->GetAudioManager()->GetSoundPlayCount("FlagStuck"), stuckBefore + 1);
    const ZOLTFramework::CEntity* stuck = from->FindChild("GlobalMapStuckFlag");
    EXPECT_TRUE(stuck && !stuck->IsHidden()) << "the flag stands";
    // The view panned to the opened node, which has its ring; the solved
    // node's planted flag stands again.
    EXPECT_NEAR(to->GetAbsoluteX(), 400.0f, 1.0f);
    EXPECT_NEAR(to->GetAbsoluteY(), 300.0f, 1.0f);
    EXPECT_NE(to->FindChild("StarCircle"), nullptr);
    EXPECT_TRUE(from->IsFlagVisible()) << "the pan is over";
    EXPECT_EQ(Top(), map);
    return map;
}

void GameScenario::PlayEveryPlace(ZOLTFramework::GlobalMapScreen* map, const GlobalMapData& data,
                                  const std::function<void(size_t, const GlobalMapData::LevelNode&)>& play) {
    ASSERT_FALSE(data.nodes.empty());
    for (size_t i = 0; i < data.nodes.size(); ++i) {
        const GlobalMapData::LevelNode& node = data.nodes[i];
        SCOPED_TRACE(node.name);
        ClickNode(map, node.name);
        play(i, node);
        if (HasFatalFailure() || i + 1 == data.nodes.size()) return;
        EXPECT_GT(Active()->NodeScores[node.name], 0) << "the place is scored";
        map = WatchBannerFlight(node.name, data.nodes[i + 1].name);
        ASSERT_NE(map, nullptr);
    }
}

std::vector<std::string> GameScenario::ScenesAfter(const std::string& sceneFile) {
    std::vector<std::string> scenes;
    std::string scene = sceneFile;
    for (int i = 0; i < 8; ++i) {
        std::replace(scene.begin(), scene.end(), '\\', '/');
        const XMLDocument doc = XMLDocument::FromFile(scene);
        if (!doc.IsLoaded()) break;
        scene = doc.GetRoot()->GetStringAttribute("SceneToLoadOnFinish");
        if (scene.empty() || scene == LevelEvents::kFinalScene) break;
        scenes.push_back(scene);
    }
    return scenes;
}

void GameScenario::PlayRestOfPlace(const std::string& sceneFile, const std::function<void()>& scored) {
    for (std::string scene : ScenesAfter(sceneFile)) {
        std::replace(scene.begin(), scene.end(), '\\', '/');
        SCOPED_TRACE(scene);
        const XMLDocument doc = XMLDocument::FromFile(scene);
        ASSERT_TRUE(doc.IsLoaded());
        LevelScreen* level = WaitForLevel(scene.substr(scene.rfind('/') + 1), 15.0f);
        ASSERT_NE(level, nullptr);
        FindEverything(level);
        LevelCompleteScreen* window = WaitForScoreWindow();
        ASSERT_NE(window, nullptr);
        if (scored) scored();
        const uint32_t medal = uint32_t(doc.GetRoot()->GetIntAttribute("MedalToAdd"));
        CloseScoreWindow(window, medal != 0 && !Active()->Medals.count(medal));
    }
}

void GameScenario::MapToMenu(ZOLTFramework::GlobalMapScreen* map) {
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(Top(), map);
    Press(HGEK_ESCAPE);
    ASSERT_NE(TopAs<Dialog>(), nullptr) << "Q_QUIT";
    Wait(0.6f);
    Press(HGEK_ENTER);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::CMenuScreen>() != nullptr; }, 5.0f));
}

void GameScenario::FinalScreenToMenu() {
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::FinalScreen>() != nullptr; }, 10.0f));
    Wait(2.0f);
    Press(HGEK_SPACE);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::CMenuScreen>() != nullptr; }, 10.0f));
}

LevelScreen* GameScenario::WaitForLevel(const std::string& part, float maxSeconds) {
    LevelScreen* level = nullptr;
    RunUntil([&] {
        level = Find<LevelScreen>();
        return level && level->GetName().find(part) != std::string::npos && !level->IsClosing();
    }, maxSeconds);
    return level && level->GetName().find(part) != std::string::npos ? level : nullptr;
}

bool GameScenario::Tend(LevelScreen* level) {
    // A mini-game plays its own help window first: the plan sees both.
    if (ZOLTFramework::CScreenEntity* game = level ? level->RunningMiniGame() : nullptr) {
        if (!onMiniGame) {
            ADD_FAILURE() << "no plan for the mini-game " << game->GetName();
            return false;
        }
        onMiniGame(level, game);
        return true;
    }
    if (auto* comic = TopAs<ComicScreen>()) {
        if (comic != lastComic || lastComicAlive.expired()) {
            comicsShown.push_back(comic->GetName());
            comicClicks.push_back(0);
        }
        lastComic = comic;
        lastComicAlive = comic->GetLifeToken();
        // A reader's pause first, longer than a page's closing exits: the page
        // then waits for the click, and the click that ends it must not reach
        // what lies under it.
        RunUntil([&] { return lastComicAlive.expired() || TopAs<ComicScreen>() != comic; }, 2.5f);
        if (!lastComicAlive.expired() && TopAs<ComicScreen>() == comic) {
            Tap(400.0f, 300.0f);
            ++comicClicks.back();
        }
        return true;
    }
    HelpScreen* help = level ? level->Windows().GetHelpScreen() : nullptr;
    if (help && Top() == help && !help->IsClosing()) {
        Wait(0.6f);
        Press(HGEK_ENTER);
        return true;
    }
    if (Top() && Top()->GetName() == "HintScreen") {
        if (auto* text = Top()->FindChild<TextEntity>("Text")) hintsShown.push_back(text->GetTextRef());
        Press(HGEK_ENTER);
        return true;
    }
    return false;
}

void GameScenario::Settle(LevelScreen* level) {
    std::weak_ptr<void> alive = level->GetLifeToken();
    ASSERT_TRUE(RunUntil([&] {
        if (alive.expired() || level->IsClosing() || level->IsSceneFinished()) return true;
        // The panel slides in when the field takes input.
        if (Top() == level && level->IsPanelIn() && level->Windows().IsQuiet() &&
            level->FindChild<PlayField>("PlayField")->IsPlaying() && !level->RunningMiniGame() &&
            !level->FindChild<PlayField>("PlayField")->IsPaused())
            return true;
        Tend(level);
        return false;
    }, 60.0f)) << "the level settles";
}

void GameScenario::ClickObject(LevelScreen* level, const std::string& objectName) {
    SCOPED_TRACE(objectName);
    std::weak_ptr<void> alive = level->GetLifeToken();
    PlayField* field = level->FindChild<PlayField>("PlayField");
    // A window that opens just then (a tutorial) takes the click: a player
    // closes it and clicks again.
    for (int tries = 0; tries < 3 && !alive.expired() && SceneObjectNamed(field, objectName); ++tries) {
        Settle(level);
        if (alive.expired() || level->IsClosing()) return;
        SceneObject* object = SceneObjectNamed(field, objectName);
        if (!object) break;
        const ScreenPoint at = OpaquePointOf(object, field);
        ASSERT_TRUE(at.found) << "a point of it shows";
        Click(at.x, at.y);
    }
    if (!alive.expired()) {
        EXPECT_EQ(SceneObjectNamed(field, objectName), nullptr) << "taken";
    }
    Step(8);
}

void GameScenario::UseTool(LevelScreen* level, const std::string& tool, const std::string& target) {
    SCOPED_TRACE(tool + " on " + target);
    PlayField* field = level->FindChild<PlayField>("PlayField");
    Inventory* bag = field->GetInventory();
    InventoryObject* item = nullptr;
    // A tutorial that the pick-up opens pauses the flight until it is closed.
    ASSERT_TRUE(RunUntil([&] {
        for (InventoryObject* candidate : bag->GetObjects())
            if (candidate->GetObjectName() == tool) item = candidate;
        if (!item) Tend(level);
        return item != nullptr;
    }, 10.0f)) << "the tool is in the bag";
    Settle(level);
    // The strap at the bag's right edge, pressed as a player does: the
    // pointer onto it, the press two frames on.
    const hgeRect& strap = bag->FindChild<ZOLTFramework::CButtonEntity>("CLOSED_SHIFTER")->GetRect();
    TestInput::Move((strap.x1 + strap.x2) * 0.5f, (strap.y1 + strap.y2) * 0.5f);
    Step(2);
    Press(HGEK_LBUTTON);
    Wait(0.5f);
    ASSERT_TRUE(bag->IsOpened()) << "the strap opens the bag";
    Click(item->GetAbsoluteX(), item->GetAbsoluteY());
    ASSERT_NE(HeldItem(field), nullptr);
    ClickObject(level, target);
}

void GameScenario::FindEverything(LevelScreen* level) {
    std::weak_ptr<void> alive = level->GetLifeToken();
    PlayField* field = level->FindChild<PlayField>("PlayField");
    // The scene file says what to look for and which tool opens what.
    XMLDocument scene = XMLDocument::FromFile(level->GetScenePath());
    ASSERT_TRUE(scene.IsLoaded()) << level->GetScenePath();
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
        if (SceneObjectNamed(field, name)) ClickObject(level, name);
    }
    for (const auto& [tool, target] : tools) {
        if (alive.expired() || level->IsClosing()) return;
        if (tool == "compass_Crime_place_measure") {
            Measure(level);
            return;
        }
        if (SceneObjectNamed(field, tool)) ClickObject(level, tool);
        UseTool(level, tool, target);
    }
    // A game put off leaves its task open: its object (or the tool, back in
    // the bag) is used again when the game comes back.
    for (int round = 0; round < 3; ++round) {
        Settle(level);
        if (alive.expired() || level->IsClosing() || level->IsSceneFinished() || field->Rules().Tasks().empty()) return;
        const TaskRecord task = field->Rules().Tasks().front();
        for (const std::string& name : task.objectNames) {
            if (alive.expired() || level->IsClosing() || level->IsSceneFinished()) return;
            if (!task.toolToFind.empty())
                UseTool(level, task.toolToFind, name);
            else if (SceneObjectNamed(field, name))
                ClickObject(level, name);
        }
    }
}

void GameScenario::Measure(LevelScreen* level) {
    PlayField* field = level->FindChild<PlayField>("PlayField");
    // The read-out: the text the field shows in front of everything (depth 99999).
    std::function<std::string(const CEntity*)> readOut = [&](const CEntity* e) -> std::string {
        for (const CEntity* child : e->GetChildren()) {
            auto* text = dynamic_cast<const TextEntity*>(child);
            if (text && text->GetDepth() >= 99999.0f) return text->IsHidden() ? "(hidden)" : text->GetTextRef();
            const std::string inside = readOut(child);
            if (!inside.empty()) return inside;
        }
        return "";
    };
    ASSERT_EQ(readOut(field), "(hidden)") << "the dividers wait on their mark";
    Settle(level);
    if (level->IsClosing() || level->IsSceneFinished()) return;
    Click(351.0f, 350.0f);
    TestInput::Move(351.0f, 450.0f);
    Step(2);
    EXPECT_EQ(readOut(field), "1.0") << "the dividers are taken up; half way to the print";
    EXPECT_FALSE(level->IsSceneFinished());
    TestInput::Move(351.0f, 550.0f);
    Step(2);
    EXPECT_EQ(readOut(field), "2.0") << "the thief's print";
    Press(HGEK_LBUTTON);
    EXPECT_TRUE(RunUntil([&] { return level->IsSceneFinished(); }, 2.0f)) << "the reading wins the level";
}

void GameScenario::LeaveLevelForMenu(LevelScreen* level, bool exitButton) {
    Settle(level);
    if (exitButton) {
        ASSERT_TRUE(RunUntil([&] { return level->FindChild<PlayField>("PlayField")->IsFullyShown(); }, 2.0f));
        ClickCentre(level->FindChild<ButtonExEntity>("Exit"));
    } else {
        Press(HGEK_ESCAPE);
    }
    auto* options = TopAs<OptionsScreen>();
    ASSERT_NE(options, nullptr) << "the in-game options";
    Wait(0.6f);
    ClickCentre(options->FindChild<ButtonExEntity>("EXIT"));
    ASSERT_NE(TopAs<Dialog>(), nullptr) << "Q_QUIT";
    EXPECT_TRUE(ShowsMessage(TopAs<Dialog>(), "Q_QUIT"));
    Press(HGEK_ENTER);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::CMenuScreen>() != nullptr && !Find<LevelScreen>(); },
                         10.0f));
    Wait(0.6f);
}

LevelCompleteScreen* GameScenario::WaitForScoreWindow(float maxSeconds) {
    LevelCompleteScreen* window = nullptr;
    bool countedUp = false;
    std::map<std::string, std::string> lastShown;
    EXPECT_TRUE(RunUntil([&] {
        window = TopAs<LevelCompleteScreen>();
        if (!window) {
            Tend(Find<LevelScreen>());
            return false;
        }
        if (window->IsClosing()) return false;
        // A row on its way shows a smaller number than the one that follows.
        for (const char* id : LevelCompleteScreen::kScoreIds) {
            const auto* row = window->FindChild<TextEntity>(id);
            std::string& last = lastShown[id];
            if (!row) continue;
            if (!last.empty() && last != "0" && row->GetTextRef() != last) countedUp = true;
            last = row->GetTextRef();
        }
        return !window->FindChild<ZOLTFramework::CButtonEntity>("Exit")->IsPaused();
    }, maxSeconds)) << "the score window counts up";
    // The button comes free as the last row appears; its count takes this long.
    Wait(LevelCompleteScreen::kCountTime);
    EXPECT_TRUE(countedUp) << "a number counted up";
    return window;
}

void GameScenario::CloseScoreWindow(LevelCompleteScreen* window, bool medal) {
    ASSERT_NE(window, nullptr);
    std::weak_ptr<void> alive = window->GetLifeToken();
    Wait(0.2f);
    ClickCentre(window->FindChild<ZOLTFramework::CButtonEntity>("Exit"));
    if (medal) Wait(4.5f);
    ASSERT_TRUE(RunUntil([&] {
        if (alive.expired()) return true;
        TestInput::Key(InputEvent::Press, HGEK_SPACE);
        Step(2);
        return false;
    }, 10.0f)) << "the score window closes";
}
