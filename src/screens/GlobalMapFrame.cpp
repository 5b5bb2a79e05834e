// The map's frame: its own timer, the fades, edge scrolling, the hover and
// clicks on nodes, the overview's zoom and flight, the hand-over to a level
// and the scroll cursor, in that order.
#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/OKScreen.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeSprite.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"

namespace ZOLTFramework {

namespace {

const float kPi = 3.14159265f;

}  // namespace

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
    OpenTutorialWhenReady();
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
        // A node stays hovered while the mouse is on it; one that jumped
        // straight onto another node (within one frame) hovers that one.
        if (!hovered || std::find(under.begin(), under.end(), hovered) == under.end()) Hover(PickHovered(under));
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

// The tutorial waits for the end of the flight (scale 1), the nodes' reveal
// and the newest node's ring shrunk in: opened earlier it would take the
// focus and hold the map's timer, and with it the reveal, or freeze the ring's
// stars at four times their size.
void GlobalMapScreen::OpenTutorialWhenReady() {
    if (!tutorialPending || !nodesRevealed || scaleRate != 0.0f || GetAbsoluteScale() != 1.0f) return;
    if (LevelNode* newest = GetNewestNode(); newest && newest->IsStarRingEntering()) return;
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

}  // namespace ZOLTFramework
