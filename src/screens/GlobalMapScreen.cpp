#include "screens/GlobalMapScreen.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/OKScreen.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelScreen.h"

namespace ZOLTFramework {

namespace {

const float kPi = 3.14159265f;
const char* const kYesNoFile = "data/Screens/DialogYesNo.xml";
const char* const kTutorialFile = "data/Screens/DialogTutorial.xml";
const float kQuestionLayer = 102400.0f;
const float kQuestionDepth = 90000.0f;

// How fast the overview zooms in by itself; every new map starts it again.
float overviewZoomSpeed = 0.75f;

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

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
    overviewZoomSpeed = 0.75f;
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
        player->PlayFieldPath.clear();
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
    HtmlLog::Instance()->Error("Global map: the node \"" + data.name + "\" of \"" + GetName() + "\" " + fault +
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
        HtmlLog::Instance()->Warning("Global map: \"" + mapFile +
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
        HtmlLog::Instance()->Warning("Global map: the last solved node \"" + player->LastSolvedNode +
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
    HtmlLog::Instance()->Info("Global map: resuming " + player->PlayFieldPath);
    auto* level = manager->OpenScreen<LevelScreen>(player->PlayFieldPath, GetName());
    level->SetOpacity(0.0f);
    CloseAndDestroy();
    level->SetLayer(2.0f);
    level->SetOpacity(0.2f);
    level->Open();
    Kill();
    return true;
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

void GlobalMapScreen::StartLevel() {
    if (!hovered) return;
    Services::PlaySound(engine, "OnFlyingIn");
    chosen = hovered;
    if (Player* player = Active()) {
        player->CurrentNode = chosen->GetNodeName();
        if (hasLevelTime) player->Time = levelTime;
        if (hasCigarCount) player->CigarCount = cigarCount;
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

// ---- the frame

void GlobalMapScreen::Update(float dt) {
    timer.Update(dt);
    CScreenEntity::Update(dt);
    if (dead) return;
    const float mx = engine ? engine->GetMouseX() : 0.0f;
    const float my = engine ? engine->GetMouseY() : 0.0f;
    if (GetAbsoluteScale() == 1.0f && !lostFocus && !GetPrompt()) EdgeScroll(dt, mx, my);
    UpdateHover(mx, my);
    OverviewZoom(dt);
    ClickNode();
    LeaveOverview();
    if (GetAbsoluteOpacity() <= 0.2f && levelPending) {
        HandOverToLevel();
        return;
    }
    const float opacityNow = std::min(1.0f, std::max(0.0f, GetAbsoluteOpacity()));
    for (LevelNode* node : nodes) node->SetOpacity(opacityNow);
    FlightStep(dt);
    if (GetAbsoluteScale() != 1.0f) picture->SetPosXY(-800.0f * GetAbsoluteScaleX(), -600.0f * GetAbsoluteScaleY());
    UpdateScrollCursor(mx, my);
}

void GlobalMapScreen::EdgeScroll(float dt, float mx, float my) {
    if (!clicksAllowed) return;
    arrowShown = false;
    const float s = GetAbsoluteScale();
    const float m = kEdge * s;
    bool left = false, top = false, right = false, bottom = false;
    if (!panning) {
        left = mx <= m;
        top = my <= m;
        right = mx >= 800.0f - m;
        bottom = my >= 600.0f - m;
    }
    const bool edge = left || top || right || bottom;
    arrowShown = edge;
    arrowAngle = top ? 1.5f * kPi : bottom ? 0.5f * kPi : left ? kPi : 0.0f;
    SetEngineCursor(!arrowShown);

    if (left) scrollHeading = kPi;
    if (right) scrollHeading = 0.0f;
    if (top) scrollHeading = left ? scrollHeading + kPi / 4 : right ? scrollHeading - kPi / 4 : 1.5f * kPi;
    if (bottom) scrollHeading = left ? scrollHeading - kPi / 4 : right ? scrollHeading + kPi / 4 : 0.5f * kPi;

    float nx = x - std::cos(scrollHeading) * scrollSpeed * dt;
    float ny = y - std::sin(scrollHeading) * scrollSpeed * dt;

    HGE* hge = Services::Hge(engine);
    const bool mouseIn = hge && hge->Input_IsMouseOver();
    if (edge && mouseIn && s == 1.0f) {
        scrollDelay -= dt;
        if (scrollDelay <= 0.0f) scrollSpeed += kScrollAcceleration * dt;
    } else {
        scrollSpeed -= kScrollDeceleration * dt;
    }
    scrollSpeed = std::min(kScrollMaxSpeed, std::max(0.0f, scrollSpeed));
    scrollDelay = std::min(kScrollDelay, std::max(0.0f, scrollDelay));

    nx = std::min(1200.0f * s, std::max(400.0f * s, nx));
    ny = std::min(900.0f * s, std::max(300.0f * s, ny));
    SetPosXY(nx, ny);
    if (!edge) scrollDelay = kScrollDelay;
}

void GlobalMapScreen::UpdateHover(float mx, float my) {
    std::vector<LevelNode*> under;
    if (GetAbsoluteScale() == 1.0f)
        for (LevelNode* node : nodes)
            if (!node->IsHidden() && node->HitTest(mx, my)) under.push_back(node);
    if (!under.empty() && !lostFocus && !GetPrompt()) {
        if (!hovered) Hover(PickHovered(under));
    } else {
        EndHover();
    }
}

void GlobalMapScreen::Hover(LevelNode* node) {
    if (!node) return;
    Services::PlaySound(engine, "MouseOver");
    if (hovered && hovered != node) EndHover();
    hoveredColor = node->GetColor();
    hoveredBlend = node->GetSprite() ? node->GetSprite()->GetBlendMode() : 0;
    node->SetColor(kHoverColor);
    if (node->GetSprite()) node->GetSprite()->SetBlendMode(kHoverBlend);
    hovered = node;
}

void GlobalMapScreen::EndHover() {
    if (!hovered) return;
    hovered->SetColor(hoveredColor);
    if (hovered->GetSprite()) hovered->GetSprite()->SetBlendMode(hoveredBlend);
    hovered = nullptr;
}

void GlobalMapScreen::OverviewZoom(float dt) {
    if (GetAbsoluteScale() == 1.0f || lostFocus || GetPrompt() || scaleRate != 0.0f || moveSpeed != 0.0f) return;
    const float s = GetAbsoluteScale() + overviewZoomSpeed * dt;
    SetMapScale(s);
    if (chosen) return;
    if (s > 0.8f) overviewZoomSpeed = std::min(1.0f, std::max(0.15f, overviewZoomSpeed - 0.75f * dt));
    if (s < 1.0f) return;
    SetMapScale(1.0f);
    if (!tutorialPending) return;
    if (LevelNode* newest = GetNewestNode()) newest->Show();
    nodesRevealed = true;
    OpenTutorialWhenReady();
}

void GlobalMapScreen::ClickNode() {
    HGE* hge = Services::Hge(engine);
    if (!hge || !hge->Input_KeyDown(HGEK_LBUTTON)) return;
    if (!hovered || levelPending || lostFocus || GetPrompt() || GetAbsoluteOpacity() != 1.0f || !clicksAllowed ||
        !HasFocus() || panning)
        return;
    if (!hovered->IsFlagVisible()) {
        shortcuts.clear();
        StartLevel();
        return;
    }
    EntityManager* manager = Manager();
    if (!manager) return;
    auto* question = manager->OpenScreen<Dialog>("START_LEVEL", kYesNoFile, this);
    question->SetLayer(kQuestionLayer);
    question->SetDepth(kQuestionDepth);
    question->SetText("Q_ALREADY_PASSED");
    questionNode = hovered;
}

void GlobalMapScreen::LeaveOverview() {
    HGE* hge = Services::Hge(engine);
    TextEntity* text = GetPrompt();
    if (!hge || !text || hge->Input_GetKey() == 0 || !HasFocus()) return;
    text->Kill();
    prompt = nullptr;
    tutorialPending = true;
    targetX = 1200.0f;
    targetY = 300.0f;
    targetScale = 1.0f;
    moveSpeed = std::hypot(targetX - x, targetY - y) / kFlightTime;
    scaleRate = (1.0f - GetAbsoluteScale()) / kFlightTime;
    timer.Add(
        kNodesRevealTime,
        [this] {
            ShowAllNodes();
            ShowStarOnNewest();
            nodesRevealed = true;
            OpenTutorialWhenReady();
        },
        this);
}

// The tutorial waits for both the end of the flight (scale 1) and the nodes'
// reveal: opened earlier it would take the focus and hold the map's timer,
// and with it the reveal.
void GlobalMapScreen::OpenTutorialWhenReady() {
    if (!tutorialPending || !nodesRevealed || scaleRate != 0.0f || GetAbsoluteScale() != 1.0f) return;
    tutorialPending = false;
    EntityManager* manager = Manager();
    if (!manager) return;
    auto* tutorial = manager->OpenScreen<OKScreen>("FirstTutorial", kTutorialFile, this);
    tutorial->SetText("TUTORIAL_GLOBALMAP");
    tutorial->SetLayer(15.0f);
}

void GlobalMapScreen::FlightStep(float dt) {
    if (moveSpeed > 0.0f) {
        const float dx = targetX - x;
        const float dy = targetY - y;
        const float distance = std::hypot(dx, dy);
        const float step = moveSpeed * dt;
        if (step >= distance) {
            SetPosXY(targetX, targetY);
            moveSpeed = 0.0f;
        } else {
            SetPosXY(x + dx / distance * step, y + dy / distance * step);
        }
    }
    if (scaleRate > 0.0f) {
        const float increment = scaleRate * dt;
        const float current = GetAbsoluteScale();
        bool reached = false;
        if (std::fabs(targetScale - current) <= increment) {
            SetMapScale(targetScale);
            scaleRate = 0.0f;
            reached = true;
        } else {
            SetMapScale(current + increment);
        }
        HideAllNodes();
        if (reached && tutorialPending && targetScale == 1.0f) {
            if (LevelNode* newest = GetNewestNode()) newest->Show();
            OpenTutorialWhenReady();
        }
    }
}

void GlobalMapScreen::UpdateScrollCursor(float mx, float my) {
    CSpriteEntity* cursor = GetScrollCursor();
    if (!cursor) return;
    if (!arrowShown) {
        cursor->Hide();
        return;
    }
    cursor->SetPosXY(mx, my);
    if (HasFocus()) cursor->Show();
    const char* sprite = arrowAngle == 0.0f            ? "CurRight"
                         : arrowAngle == 0.5f * kPi ? "CurDown"
                         : arrowAngle == kPi        ? "CurLeft"
                                                    : "CurUp";
    hgeSprite* look = Services::Sprite(engine, sprite);
    if (look != cursor->GetSprite()) cursor->AttachSprite(look);
}

void GlobalMapScreen::Render() {
    // The picture, the nodes and the flight are entities of their own, each
    // drawn at the map's opacity.
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
