#include "entities/widgets/CGUIEntity.h"

#include <algorithm>

#include "engine/EngineContext.h"

namespace ZOLTFramework {

namespace {

std::vector<CGUIEntity*>& GuiRegistry() {
    static std::vector<CGUIEntity*> registry;
    return registry;
}

}  // namespace


CGUIEntity::CGUIEntity() {
    rect.Set(0, 0, 0, 0);
    GuiRegistry().push_back(this);
}

CGUIEntity::~CGUIEntity() {
    std::vector<CGUIEntity*>& registry = GuiRegistry();
    auto it = std::find(registry.begin(), registry.end(), this);
    if (it != registry.end()) registry.erase(it);
}

void CGUIEntity::Update(float dt) { ProcessMouse(); }

void CGUIEntity::Pause() {
    DropHoverBelow(this);
    CEntity::Pause();
}

void CGUIEntity::DropHover() { LoseHover(); }

void CGUIEntity::DropHoverBelow(CEntity* root) {
    if (!root) return;
    if (CGUIEntity* gui = dynamic_cast<CGUIEntity*>(root)) gui->DropHover();
    // By index: a handler may change the children.
    const std::vector<CEntity*>& kids = root->GetChildren();
    for (size_t i = 0; i < kids.size(); ++i) DropHoverBelow(kids[i]);
}

void CGUIEntity::OnMove() {
    CEntity::OnMove();
    const float w = rect.x2 - rect.x1;
    const float h = rect.y2 - rect.y1;
    SetRect(GetAbsoluteX() - w * 0.5f, GetAbsoluteY() - h * 0.5f, w, h);
}

bool CGUIEntity::HitTest(float px, float py) {
    return px >= rect.x1 && px < rect.x2 && py >= rect.y1 && py < rect.y2;
}

void CGUIEntity::SetRect(float rx, float ry, float w, float h) { rect.Set(rx, ry, rx + w, ry + h); }

void CGUIEntity::SetRectCentered(float w, float h) {
    SetRect(GetAbsoluteX() - w * 0.5f, GetAbsoluteY() - h * 0.5f, w, h);
}

bool CGUIEntity::IsMouseEligible() const {
    return enabled && !dead && !IsPausedInChain() && !IsHiddenInChain();
}

bool CGUIEntity::IsCovered(float mx, float my) {
    const float myLayer = GetLayer();
    const float myDepth = GetAbsDepth();
    for (CGUIEntity* other : GuiRegistry()) {
        if (other == this) continue;
        if (!other->HitTest(mx, my)) continue;
        if (other->IsPausedInChain()) continue;
        if (!other->enabled || other->dead) continue;
        if (other->IsHiddenInChain()) continue;
        const float otherLayer = other->GetLayer();
        if (myLayer < otherLayer) return true;
        if (myLayer == otherLayer && myDepth < other->GetAbsDepth()) return true;
    }
    return false;
}

void CGUIEntity::LoseHover() {
    if (hover) {
        hover = false;
        OnMouseOver(false);
    }
}

void CGUIEntity::DeliverReleases() {
    HGE* hge = engine ? engine->GetHGE() : nullptr;
    if (!hge) return;
    if (leftDown && hge->Input_KeyUp(HGEK_LBUTTON)) {
        leftDown = false;
        OnLeftButton(false);
    }
    if (rightDown && hge->Input_KeyUp(HGEK_RBUTTON)) {
        rightDown = false;
        OnRightButton(false);
    }
}

void CGUIEntity::ProcessMouse() {
    if (!engine) return;
    const float mx = engine->GetMouseX();
    const float my = engine->GetMouseY();

    if (!IsMouseEligible() || !HitTest(mx, my)) {
        LoseHover();
        DeliverReleases();
        return;
    }
    if (IsCovered(mx, my)) {
        // A held button's release waits until the entity is uncovered or the
        // mouse has left it.
        LoseHover();
        return;
    }
    if (!hover) {
        hover = true;
        OnMouseOver(true);
    }
    HGE* hge = engine->GetHGE();
    if (hge) {
        if (hge->Input_KeyDown(HGEK_LBUTTON)) {
            leftDown = true;
            OnLeftButton(true);
        }
        if (hge->Input_KeyDown(HGEK_RBUTTON)) {
            rightDown = true;
            OnRightButton(true);
        }
    }
    DeliverReleases();
}

}  // namespace ZOLTFramework
