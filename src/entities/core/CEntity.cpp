#include "entities/core/CEntity.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"

namespace ZOLTFramework {

CEntity::CEntity() : engine(EngineContext::Current()) {}

CEntity::~CEntity() {
    m_lifeToken.reset();
    Detach();
    std::vector<CEntity*> parts;
    std::vector<CEntity*> own;
    own.swap(children);
    for (CEntity* child : own) {
        if (child->parent != this) continue;
        child->parent = nullptr;
        if (child->m_ownedByParent) parts.push_back(child);
    }
    if (m_tracker) m_tracker->Forget(this);
    for (CEntity* part : parts) delete part;
}

void CEntity::TakeChild(CEntity* child) {
    child->AttachTo(this);
    if (EntityManager* manager = Manager())
        manager->Add(child);
    else
        child->m_ownedByParent = true;
}

EntityManager* CEntity::Manager() const { return engine ? engine->GetEntityManager() : nullptr; }

void CEntity::Hide() {
    hidden = true;
    UpdateRegistration();
}

void CEntity::Show() {
    hidden = false;
    UpdateRegistration();
}

void CEntity::Pause() { paused = true; }

void CEntity::Resume() { paused = false; }

// Children are walked by index: a handler that detaches a child must not
// leave an iterator dangling.
void CEntity::OnMove() {
    for (size_t i = 0; i < children.size(); ++i) children[i]->OnMove();
}

void CEntity::OnScale() {
    for (size_t i = 0; i < children.size(); ++i) children[i]->OnScale();
}

void CEntity::SetX(float value) {
    x = value;
    OnMove();
}

void CEntity::SetY(float value) {
    y = value;
    OnMove();
}

void CEntity::SetPosXY(float px, float py) {
    x = px;
    y = py;
    OnMove();
}

void CEntity::SetScaleX(float value) {
    scaleX = value;
    OnScale();
}

void CEntity::SetScaleY(float value) {
    scaleY = value;
    OnScale();
}

void CEntity::SetScale(float s) {
    scaleX = s;
    scaleY = s;
    OnScale();
}

void CEntity::SetOpacity(float value) { opacity = std::min(1.0f, std::max(0.0f, value)); }

void CEntity::SetEnabled(bool value) {
    enabled = value;
    UpdateRegistration();
}

bool CEntity::SetUpdatable(bool value) {
    updatable = value;
    return updatable;
}

void CEntity::SetDepth(float value) {
    depth = value;
    if (EntityManager* manager = Manager()) manager->RequestResort();
}

void CEntity::SetLayer(float value) {
    layer = value;
    if (EntityManager* manager = Manager()) manager->RequestResort();
}

void CEntity::SetAbsoluteX(float ax) {
    x = parent ? ax - parent->GetAbsoluteX() : ax;
    OnMove();
}

void CEntity::SetAbsoluteY(float ay) {
    y = parent ? ay - parent->GetAbsoluteY() : ay;
    OnMove();
}

void CEntity::SetAbsolutePosition(float ax, float ay) {
    if (parent) {
        x = ax - parent->GetAbsoluteX();
        y = ay - parent->GetAbsoluteY();
    } else {
        x = ax;
        y = ay;
    }
    OnMove();
}

float CEntity::GetAbsoluteX() const {
    if (!parent) return x;
    const float r = parent->GetAbsoluteRotation();
    return x * std::cos(r) - y * std::sin(r) + parent->GetAbsoluteX();
}

float CEntity::GetAbsoluteY() const {
    if (!parent) return y;
    const float r = parent->GetAbsoluteRotation();
    return x * std::sin(r) + y * std::cos(r) + parent->GetAbsoluteY();
}

float CEntity::GetAbsoluteRotation() const { return parent ? rotation + parent->GetAbsoluteRotation() : rotation; }

float CEntity::GetAbsoluteOpacity() const { return parent ? opacity * parent->GetAbsoluteOpacity() : opacity; }

float CEntity::GetAbsoluteScaleX() const { return parent ? scaleX * parent->GetAbsoluteScaleX() : scaleX; }

float CEntity::GetAbsoluteScaleY() const { return parent ? scaleY * parent->GetAbsoluteScaleY() : scaleY; }

float CEntity::GetAbsoluteScale() const {
    const float sx = GetAbsoluteScaleX();
    const float sy = GetAbsoluteScaleY();
    return sy > sx ? sy : sx;
}

float CEntity::GetAbsDepth() const { return parent ? depth + parent->GetAbsDepth() : depth; }

float CEntity::GetLayer() const {
    const CEntity* e = this;
    while (e->layer == 0.0f && e->parent) e = e->parent;
    return e->layer;
}

bool CEntity::IsPausedInChain() const {
    for (const CEntity* e = this; e; e = e->parent) {
        if (e->paused) return true;
    }
    return false;
}

bool CEntity::IsHiddenInChain() const {
    for (const CEntity* e = this; e; e = e->parent) {
        if (e->hidden) return true;
    }
    return false;
}

void CEntity::AttachTo(CEntity* p) {
    if (!p) return;
    for (const CEntity* e = p; e; e = e->parent) {
        if (e == this) {
            HtmlLog::Instance()->Warning("Entity \"" + HtmlLog::Shown(name) + "\" cannot be attached to \"" + HtmlLog::Shown(p->name) +
                                         "\": it is the entity itself or one of its descendants.");
            return;
        }
    }
    Detach();
    parent = p;
    p->children.push_back(this);
    UpdateRegistration();
    OnAttached();
}

void CEntity::Detach() {
    if (!parent) return;
    std::vector<CEntity*>& siblings = parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end()) siblings.erase(it);
    parent = nullptr;
}

void CEntity::Kill() {
    dead = true;
    for (size_t i = 0; i < children.size(); ++i) children[i]->Kill();
}

void CEntity::UpdateRegistration() {
    const bool active = enabled && !dead && !hidden && !(parent && parent->IsHiddenInChain());
    if (!active) {
        if (registered && m_tracker) m_tracker->Unregister(this);
    } else if (!registered) {
        if (EntityManager* manager = Manager()) manager->Register(this);
    }
    for (size_t i = 0; i < children.size(); ++i) children[i]->UpdateRegistration();
}

std::weak_ptr<void> CEntity::GetLifeToken() {
    if (!m_lifeToken) m_lifeToken = std::make_shared<char>(0);
    return m_lifeToken;
}

}  // namespace ZOLTFramework
