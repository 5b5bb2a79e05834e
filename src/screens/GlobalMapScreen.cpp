#include "screens/GlobalMapScreen.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/PlayFieldLoader.h"
#include "screens/CMenuScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelScreen.h"

namespace ZOLTFramework {

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

float GlobalMapScreen::overviewZoomSpeed = GlobalMapScreen::kOverviewZoomSpeed;

void SavePlayers() { PlayerManager::Instance()->Save(); }

GlobalMapScreen::GlobalMapScreen(const std::string& mapFile) : CScreenEntity(mapFile) {
    EntityManager* manager = Manager();
    if (manager) {
        scrollCursor = manager->Spawn<CSpriteEntity>();
        scrollCursor->SetName("GlobalMapScrollCursor");
        scrollCursor->SetDepth(kCursorDepth);
        scrollCursor->Hide();
        scrollCursorAlive = scrollCursor->GetLifeToken();
    }
    overviewZoomSpeed = kOverviewZoomSpeed;
    picture = SpawnChild<CSpriteEntity>();
    picture->SetName("GlobalMap_TopLeft");
    if (hgeSprite* map = Services::Sprite(engine, "GlobalMap_TopLeft")) {
        picture->SetSpriteCopy(*map);
        picture->GetSprite()->SetHotSpot(400.0f, 300.0f);
    } else {
        HtmlLog::Instance()->Error("Global map: no sprite \"GlobalMap_TopLeft\"; the map picture is not drawn");
    }
    picture->SetPosXY(-800.0f, -600.0f);

    ReadMap(mapFile);
    StartNewestNode();

    SetDepth(0.0f);
    if (manager) manager->OpenScreen(this);
    AddShortcut(HGEK_ESCAPE, "Exit");

    const bool handedOver = HandOverToSceneInProgress();
    if (Player* player = Active()) {
        // A resumed level keeps its state file named until it is replaced,
        // won or lost.
        if (!handedOver) player->PlayFieldPath.clear();
        player->LastSolvedNode.clear();
    }
    if (!handedOver && Active() && WantsOverview(*Active())) {
        MakePrompt();
        SetMapScale(0.5f);
        SetPosXY(600.0f, 450.0f);
        // Nodes stand at their scale-1 places: they show once the view is down.
        HideAllNodes();
    }
}

GlobalMapScreen::~GlobalMapScreen() {
    KillOrphans();
    if (Player* player = Active()) player->GameInProgress = true;
    HtmlLog::Instance()->Info("Global map destructor finished");
}

void GlobalMapScreen::KillOrphans() {
    if (!scrollCursorAlive.expired() && scrollCursor) scrollCursor->Kill();
    if (!promptAlive.expired() && prompt) prompt->Kill();
    prompt = nullptr;
}

bool GlobalMapScreen::WantsOverview(const Player& player) {
    return player.NodeScores.size() == 1 && player.NodeScores.begin()->first == kStartNode &&
           player.NodeScores.begin()->second == 0 && !player.GameInProgress;
}

// ---- the map file

bool GlobalMapScreen::NodeIsSound(const GlobalMapData::LevelNode& data) const {
    std::string fault;
    if (!data.missing.empty()) {
        fault = "lacks";
        for (const std::string& attribute : data.missing) fault += " \"" + attribute + "\"";
    } else if (!Services::Sprite(engine, data.sprite)) {
        fault = "names the unknown sprite \"" + data.sprite + "\"";
    } else {
        bool found = false;
        Services::Text(engine, data.caption, &found);
        if (!found) fault = "names the caption \"" + data.caption + "\", which the text table lacks";
    }
    if (fault.empty()) return true;
    HtmlLog::Instance()->Error("Global map: the node \"" + HtmlLog::Shown(data.name) + "\" of \"" + HtmlLog::Shown(GetName()) + "\" " + fault +
                               "; it is left out");
    return false;
}

void GlobalMapScreen::ReadMap(const std::string& mapFile) {
    const GlobalMapData data = GlobalMapData::Read(mapFile);
    levelTime = data.levelTime;
    cigarCount = data.cigarCount;
    hasLevelTime = data.hasLevelTime;
    hasCigarCount = data.hasCigarCount;
    if (data.loaded && (!hasLevelTime || !hasCigarCount))
        HtmlLog::Instance()->Warning("Global map: \"" + HtmlLog::Shown(mapFile) +
                                     "\" lacks \"LevelTime\" or \"CigarCount\"; a level keeps the player's values");
    Player* player = Active();
    size_t flagsRead = 0;
    for (const GlobalMapData::LevelNode& node : data.nodes) {
        while (flagsRead < node.flagsBefore && flagsRead < data.flags.size()) LoadNodeAnimations(data.flags[flagsRead++]);
        const bool reached = player && player->NodeScores.count(node.name);
        if (!reached) {
            if (!node.name.empty()) unreached.push_back(node.name);
            continue;
        }
        if (!NodeIsSound(node)) continue;
        auto* levelNode = SpawnChild<LevelNode>(node);
        levelNode->SetPosXY(node.x - 1200.0f, node.y - 900.0f);
        const NodeAnimationRecord& record = records[node.description];
        levelNode->SetLevelInfo(record.staffStaying, record.bannerStaying, record.stayingDx, record.stayingDy);
        nodes.push_back(levelNode);
    }
    while (flagsRead < data.flags.size()) LoadNodeAnimations(data.flags[flagsRead++]);
}

void GlobalMapScreen::LoadNodeAnimations(const GlobalMapData::FlagRecord& flag) {
    records[flag.name] = NodeAnimationRecord::FromAttributes(flag.attributes);
}

void GlobalMapScreen::StartNewestNode() {
    LevelNode* newest = GetNewestNode();
    Player* player = Active();
    if (!newest || !player) return;
    const auto score = player->NodeScores.find(newest->GetNodeName());
    if (score != player->NodeScores.end() && score->second != 0) return;
    newest->SetFlagVisible(false);
    if (player->LastSolvedNode.empty()) {
        if (nodes.size() > 1) newest->ShowStar(true);
        return;
    }
    LevelNode* solved = FindNodeByName(player->LastSolvedNode);
    if (!solved) {
        HtmlLog::Instance()->Warning("Global map: the last solved node \"" + HtmlLog::Shown(player->LastSolvedNode) +
                                     "\" is not on the map; no flag flies");
        newest->ShowStar(true);
        return;
    }
    CentreOnNode(solved->GetNodeName());
    solved->SetFlagVisible(false);
    PlaceBanner(solved);
    auto* pan = SpawnChild<CAnimationEffector>();
    pan->SetName("GlobalMapPan");
    const float toX = 400.0f - newest->GetX();
    const float toY = 300.0f - newest->GetY();
    for (const float at : {0.0f, kPanStart}) {
        pan->AddKey(CAnimationEffector::TRACK_X, at, x);
        pan->AddKey(CAnimationEffector::TRACK_Y, at, y);
    }
    pan->AddKey(CAnimationEffector::TRACK_X, kPanEnd, toX);
    pan->AddKey(CAnimationEffector::TRACK_Y, kPanEnd, toY);
    pan->Prepare();
    panning = true;
    timer.Add(
        kPanEnd,
        [this, solved] {
            panning = false;
            ShowStarOnNewest();
            solved->SetFlagVisible(true);
        },
        this);
}

bool GlobalMapScreen::HandOverToSceneInProgress() {
    Player* player = Active();
    EntityManager* manager = Manager();
    if (!player || player->PlayFieldPath.empty() || !manager) return false;
    std::string scene = player->PlayFieldPath;
    const std::string fault = StateFileFault(scene);
    if (!fault.empty()) {
        // Never an empty level whose clock runs: the node's own scene starts
        // afresh with the player's time and cigars.
        const LevelNode* node = FindNodeByName(player->CurrentNode);
        HtmlLog::Instance()->Warning("Global map: the saved level \"" + HtmlLog::Shown(scene) + "\" " + fault + "; " +
                                     (node ? "the scene of \"" + HtmlLog::Shown(node->GetNodeName()) +
                                                 "\" starts afresh with the map's time and cigars"
                                           : std::string("the map opens")));
        player->PlayFieldPath.clear();
        if (!node) return false;
        scene = node->GetLevel();
        // As a click on the node starts it: what the scene gives (its cigar,
        // its time) is counted once.
        GiveLevelStart(*player);
    }
    HtmlLog::Instance()->Info(std::string("Global map: ") + (fault.empty() ? "resuming " : "starting ") + HtmlLog::Shown(scene));
    auto* level = manager->OpenScreen<LevelScreen>(scene, GetName());
    level->SetOpacity(0.0f);
    CloseAndDestroy();
    level->SetLayer(2.0f);
    level->SetOpacity(0.2f);
    level->Open();
    Kill();
    return true;
}

std::string GlobalMapScreen::StateFileFault(const std::string& path) {
    XMLDocument state("scene");
    if (!state.Load(path)) return "cannot be read (" + HtmlLog::Shown(state.GetLastError()) + ")";
    if (state.GetRoot()->GetName() != "scene") return "is not a scene";
    std::set<int> units;
    for (const auto& child : state.GetRoot()->GetChildren()) {
        if (!child || child->GetName() != "unit") continue;
        if (const auto id = child->FindChild("id")) units.insert(StringToInt(id->GetValue()));
    }
    for (const auto& child : state.GetRoot()->GetChildren()) {
        if (!child || child->GetName() != "object") continue;
        const auto name = child->FindChild("name");
        const auto id = child->FindChild("id");
        const std::string objectName = name ? name->GetValue() : std::string();
        // An object without its picture could never be clicked.
        if (!id || !units.count(StringToInt(id->GetValue())))
            return "has the object \"" + HtmlLog::Shown(objectName) + "\" of the unit \"" +
                   HtmlLog::Shown(id ? id->GetValue() : std::string()) + "\", which the file does not have";
    }
    // A task with nothing to find, or whose object is not in the scene, could
    // never be done (the game's own "Dummy" task names none).
    const std::vector<StuckTask> stuck = PlayFieldLoader(*state.GetRoot(), path).StuckTasks();
    if (!stuck.empty())
        return "has the task \"" + HtmlLog::Shown(stuck.front().task) + "\" " +
               (stuck.front().noItem ? std::string("with no object to find")
                                     : "with the object \"" + HtmlLog::Shown(stuck.front().item) +
                                           "\", which the scene does not have");
    // A state with no task at all is what the game writes when a lone "Dummy"
    // task is left: the level resumed from it is won as it opens.
    return std::string();
}

void GlobalMapScreen::MakePrompt() {
    EntityManager* manager = Manager();
    if (!manager) return;
    prompt = manager->Spawn<TextEntity>("", nullptr);
    bool found = false;
    prompt->SetText(Services::Text(engine, "CLICK_TO_CONTINUE", &found));
    if (!found) HtmlLog::Instance()->Error("Global map: the text table lacks \"CLICK_TO_CONTINUE\"");
    prompt->SetFont(FontRegistry::GetFont("Default14"));
    prompt->SetLayer(100.0f);
    prompt->SetDepth(150.0f);
    prompt->SetPosXY(400.0f, 720.0f);
    promptAlive = prompt->GetLifeToken();
}

void GlobalMapScreen::StartAnimation() {
    TextEntity* text = GetPrompt();
    if (!text) return;
    auto* slide = text->SpawnChild<CAnimationEffector>();
    slide->AddKey(CAnimationEffector::TRACK_Y, 0.0f, text->GetY());
    slide->AddKey(CAnimationEffector::TRACK_Y, 0.6f, 580.0f);
    const float pulse[][2] = {{0.0f, 1.0f}, {1.0f, 1.0f}, {1.3f, 1.3f}, {1.6f, 1.0f}, {1.9f, 1.3f}, {2.2f, 1.0f}};
    for (const auto& key : pulse) slide->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
    slide->Prepare();
}

TextEntity* GlobalMapScreen::GetPrompt() const { return promptAlive.expired() ? nullptr : prompt; }

CSpriteEntity* GlobalMapScreen::GetScrollCursor() const {
    return scrollCursorAlive.expired() ? nullptr : scrollCursor;
}

// ---- nodes

void GlobalMapScreen::HideAllNodes() {
    for (LevelNode* node : nodes) node->Hide();
}

void GlobalMapScreen::ShowAllNodes() {
    for (LevelNode* node : nodes) node->Show();
}

LevelNode* GlobalMapScreen::FindNodeByName(const std::string& nodeName) const {
    for (LevelNode* node : nodes)
        if (node->GetNodeName() == nodeName) return node;
    return nullptr;
}

void GlobalMapScreen::CentreOnNode(const std::string& nodeName) {
    if (LevelNode* node = FindNodeByName(nodeName)) SetPosXY(400.0f - node->GetX(), 300.0f - node->GetY());
}

void GlobalMapScreen::ShowStarOnNewest() {
    if (LevelNode* newest = GetNewestNode()) newest->ShowStar(true);
}

std::string GlobalMapScreen::PopNextNodeName() {
    if (unreached.empty()) return std::string();
    const std::string next = unreached.front();
    unreached.erase(unreached.begin());
    return next;
}

LevelNode* GlobalMapScreen::PickHovered(const std::vector<LevelNode*>& underMouse) {
    std::vector<LevelNode*> sorted = underMouse;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const LevelNode* a, const LevelNode* b) { return a->GetDepth() > b->GetDepth(); });
    return sorted.empty() ? nullptr : sorted.back();
}

void GlobalMapScreen::SetMapScale(float s) {
    SetScale(s);
    picture->SetPosXY(-800.0f * s, -600.0f * s);
}

void GlobalMapScreen::SetEngineCursor(bool on) {
    if (engine) engine->SetDrawCursor(on);
}

// ---- starting a level

void GlobalMapScreen::CreateLevelScreen(const std::string& scene, int nodeScore) {
    pendingScene = scene;
    pendingScore = nodeScore;
    levelPending = true;
    LevelScreen::SetActivePlayerScoreNode(nodeScore);
    chosen = GetNewestNode();
}

void GlobalMapScreen::GiveLevelStart(Player& player) const {
    if (hasLevelTime) player.Time = levelTime;
    if (hasCigarCount) player.CigarCount = cigarCount;
}

void GlobalMapScreen::StartLevel() {
    if (!hovered) return;
    Services::PlaySound(engine, "OnFlyingIn");
    // No Esc question while the view zooms into the level (also after "yes"
    // to a solved node's question).
    shortcuts.clear();
    chosen = hovered;
    if (Player* player = Active()) {
        player->CurrentNode = chosen->GetNodeName();
        GiveLevelStart(*player);
        if (player->NodeScores[chosen->GetNodeName()] == 0) clicksAllowed = false;
    }
    targetX = 400.0f - 3.0f * chosen->GetX();
    targetY = 300.0f - 3.0f * chosen->GetY();
    targetScale = 3.0f;
    moveSpeed = std::hypot(targetX - x, targetY - y) / kFlightTime;
    scaleRate = (targetScale - GetAbsoluteScale()) / kFlightTime;
    const std::string scene = chosen->GetLevel();
    timer.Add(0.3f, [this] { Close(); }, this);
    timer.Add(kFlightTime, [this, scene] { CreateLevelScreen(scene, 0); }, this);
}

void GlobalMapScreen::HandOverToLevel() {
    EntityManager* manager = Manager();
    levelPending = false;
    if (!manager) return;
    auto* level = manager->OpenScreen<LevelScreen>(pendingScene, kMapFile);
    // A new level starts its scores afresh; the node score is the map's.
    LevelScreen::SetActivePlayerScoreNode(pendingScore);
    level->SetLayer(2.0f);
    level->SetOpacity(0.0f);
    level->Open();
    Kill();
}

// ---- focus, buttons and answers

void GlobalMapScreen::GotFocus() {
    CScreenEntity::GotFocus();
    for (LevelNode* node : nodes) node->Resume();
    lostFocus = false;
    if (IsHiddenInChain()) Open();
    Resume();
}

void GlobalMapScreen::LostFocus() {
    CScreenEntity::LostFocus();
    if (!chosen) SetEngineCursor(true);
    if (CSpriteEntity* cursor = GetScrollCursor()) cursor->Hide();
    lostFocus = true;
    HtmlLog::Instance()->Info("Global map lost focus");
    if (!(closing && destroyOnClose)) Pause();
}

void GlobalMapScreen::OnButtonPress(const std::string& message) {
    Services::PlaySound(engine, "OnButtonPress");
    if (message != "Exit") return;
    EntityManager* manager = Manager();
    if (!manager) return;
    auto* question = manager->OpenScreen<Dialog>("EXIT_TO_MENU", kYesNoFile, this);
    question->SetLayer(kQuestionLayer);
    question->SetDepth(kQuestionDepth);
    question->SetText("Q_QUIT");
}

void GlobalMapScreen::OnButtonOver(const std::string&) { Services::PlaySound(engine, "MouseOver"); }

void GlobalMapScreen::OnAnswer(const std::string& question, bool yes) {
    if (!yes) return;
    if (question == "EXIT_TO_MENU") {
        if (TextEntity* text = GetPrompt()) text->Kill();
        prompt = nullptr;
        PlayerManager* players = PlayerManager::Instance();
        players->Timer->Clear();
        timer.Clear();
        players->KillEntities();
        if (EntityManager* manager = Manager()) manager->OpenScreen<CMenuScreen>("MenuScreen");
        CloseAndDestroy();
        Resume();
    } else if (question == "START_LEVEL") {
        if (!questionNode) return;
        hovered = questionNode;
        StartLevel();
    }
}

}  // namespace ZOLTFramework
