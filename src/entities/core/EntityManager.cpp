#include "entities/core/EntityManager.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/HtmlLog.h"
#include "entities/core/CEntity.h"

using ZOLTFramework::CEntity;

namespace {

const size_t kReserved = 2048;

template <class T>
void EraseNulls(std::vector<T*>& v) {
    v.erase(std::remove(v.begin(), v.end(), nullptr), v.end());
}

// Sort keys that keep the comparison a strict weak order even for NaN.
float SortKey(float v) { return std::isnan(v) ? 0.0f : v; }

}  // namespace

EntityManager::EntityManager() {
    m_entities.reserve(kReserved);
    m_drawList.reserve(kReserved);
    m_pending.reserve(kReserved);
}

EntityManager::~EntityManager() {
    m_destroying = true;

    for (CEntity* screen : m_screens) {
        screen->m_stackCount = 0;
        if (!screen->m_owned && !screen->registered) screen->m_tracker = nullptr;
    }
    m_screens.clear();

    // Destructors may delete or add other entities meanwhile: deleted ones
    // leave holes here (Forget), added ones wait in pending.
    for (size_t i = 0; i < m_entities.size(); ++i) {
        CEntity* e = m_entities[i];
        if (!e) continue;
        m_entities[i] = nullptr;
        Release(e);
        delete e;
    }
    m_entities.clear();

    // What remains registered is not owned here (members of other objects).
    for (CEntity* e : m_drawList) {
        if (e) Release(e);
    }
    m_drawList.clear();

    while (!m_pending.empty()) {
        std::vector<CEntity*> batch;
        batch.swap(m_pending);
        for (CEntity* e : batch) {
            if (!e) continue;
            Release(e);
            delete e;
        }
    }
}

void EntityManager::Add(CEntity* entity) {
    if (!entity) return;
    if (entity->m_owned) {
        HtmlLog::Instance()->Warning("EntityManager: entity \"" + HtmlLog::Shown(entity->name) +
                                     "\" is already added; the second Add is ignored.");
        return;
    }
    if (entity->m_tracker && entity->m_tracker != this) {
        HtmlLog::Instance()->Warning("EntityManager: entity \"" + HtmlLog::Shown(entity->name) +
                                     "\" belongs to another entity manager; Add is ignored.");
        return;
    }
    entity->m_owned = true;
    entity->m_tracker = this;
    if (entity->m_joinOrder == 0) entity->m_joinOrder = ++m_joined;
    m_pending.push_back(entity);
    entity->OnAdded();
}

void EntityManager::TakeOver(CEntity* entity) {
    if (entity && !(entity->m_owned && entity->m_tracker == this)) Add(entity);
}

void EntityManager::OpenScreen(CEntity* screen) {
    if (!screen) return;
    TakeOver(screen);
    if (screen->m_stackCount == 0) PushScreen(screen);
}

void EntityManager::Register(CEntity* entity) {
    if (!entity || entity->registered || m_destroying) return;
    if (entity->m_tracker && entity->m_tracker != this) return;
    entity->registered = true;
    entity->m_tracker = this;
    if (entity->m_joinOrder == 0) entity->m_joinOrder = ++m_joined;
    entity->m_drawIndex = static_cast<int>(m_drawList.size());
    m_drawList.push_back(entity);
    m_resort = true;
}

void EntityManager::Unregister(CEntity* entity) {
    if (!entity || !entity->registered || entity->m_tracker != this) return;
    DropFromDrawList(entity);
    if (!entity->m_owned && entity->m_stackCount == 0) entity->m_tracker = nullptr;
}

void EntityManager::PushScreen(CEntity* screen) {
    if (!screen || m_destroying) return;
    if (screen->m_tracker && screen->m_tracker != this) return;
    if (!m_screens.empty()) m_screens.back()->LostFocus();
    screen->m_tracker = this;
    ++screen->m_stackCount;
    m_screens.push_back(screen);
    screen->GotFocus();
}

void EntityManager::RemoveScreen(CEntity* screen) {
    if (!screen || m_screens.empty()) return;
    screen->LostFocus();
    if (m_screens.empty()) return;
    if (m_screens.back() == screen) {
        m_screens.pop_back();
        --screen->m_stackCount;
        if (!m_screens.empty()) m_screens.back()->GotFocus();
    } else {
        auto it = std::find(m_screens.begin(), m_screens.end(), screen);
        if (it == m_screens.end()) return;
        m_screens.erase(it);
        --screen->m_stackCount;
    }
    if (!screen->m_owned && !screen->registered && screen->m_stackCount == 0) screen->m_tracker = nullptr;
}

void EntityManager::Update(float dt) {
    RemoveDead();
    UpdateLive(dt);
    Merge();
}

void EntityManager::RemoveDead() {
    for (size_t i = 0; i < m_entities.size(); ++i) {
        CEntity* e = m_entities[i];
        if (!e || e->IsAlive()) continue;
        m_entities[i] = nullptr;
        m_entityHoles = true;
        DropScreen(e);
        Release(e);
        delete e;
    }
    CompactEntities();
}

void EntityManager::UpdateLive(float dt) {
    // New entities wait in pending, so the vector does not grow during the
    // walk; entities deleted meanwhile leave holes.
    const size_t count = m_entities.size();
    for (size_t i = 0; i < count; ++i) {
        CEntity* e = m_entities[i];
        if (!e || !e->updatable || e->dead || e->IsPausedInChain()) continue;
        e->Update(dt);
    }
    CompactEntities();
}

void EntityManager::Merge() {
    for (size_t i = 0; i < m_pending.size(); ++i) {
        CEntity* e = m_pending[i];
        if (!e) continue;
        m_pending[i] = nullptr;
        m_entities.push_back(e);
        e->UpdateRegistration();
    }
    m_pending.clear();
    m_pendingHoles = false;
}

void EntityManager::Render() {
    if (m_resort) {
        m_resort = false;
        SortDrawList();
    }
    for (size_t i = 0; i < m_drawList.size(); ++i) {
        CEntity* e = m_drawList[i];
        if (e && e->IsAlive()) e->Render();
    }
    CompactDrawList();
}

bool EntityManager::DrawOrderLess(const CEntity* a, const CEntity* b) {
    if (a->m_drawLayer != b->m_drawLayer) return a->m_drawLayer < b->m_drawLayer;
    if (a->m_drawDepth != b->m_drawDepth) return a->m_drawDepth < b->m_drawDepth;
    return a->m_joinOrder < b->m_joinOrder;
}

void EntityManager::SortDrawList() {
    CompactDrawList();
    // The keys walk the parent chain: take them once per entity, then sort by them.
    for (CEntity* e : m_drawList) {
        e->m_drawLayer = SortKey(e->GetLayer());
        e->m_drawDepth = SortKey(e->GetAbsDepth());
    }
    std::sort(m_drawList.begin(), m_drawList.end(), &EntityManager::DrawOrderLess);
    for (size_t i = 0; i < m_drawList.size(); ++i) m_drawList[i]->m_drawIndex = static_cast<int>(i);
}

void EntityManager::Forget(CEntity* entity) {
    if (!entity || entity->m_tracker != this) return;
    if (entity->m_owned) {
        auto it = std::find(m_entities.begin(), m_entities.end(), entity);
        if (it != m_entities.end()) {
            *it = nullptr;
            m_entityHoles = true;
        } else {
            auto pit = std::find(m_pending.begin(), m_pending.end(), entity);
            if (pit != m_pending.end()) {
                *pit = nullptr;
                m_pendingHoles = true;
            }
        }
    }
    DropScreen(entity);
    Release(entity);
}

void EntityManager::DropScreen(CEntity* screen) {
    if (screen->m_stackCount == 0) return;
    const bool wasTop = !m_screens.empty() && m_screens.back() == screen;
    m_screens.erase(std::remove(m_screens.begin(), m_screens.end(), screen), m_screens.end());
    screen->m_stackCount = 0;
    if (wasTop && !m_screens.empty()) m_screens.back()->GotFocus();
}

void EntityManager::DropFromDrawList(CEntity* entity) {
    const int index = entity->m_drawIndex;
    if (index >= 0 && static_cast<size_t>(index) < m_drawList.size() && m_drawList[index] == entity) {
        m_drawList[index] = nullptr;
    } else {
        auto it = std::find(m_drawList.begin(), m_drawList.end(), entity);
        if (it != m_drawList.end()) *it = nullptr;
    }
    m_drawHoles = true;
    entity->registered = false;
    entity->m_drawIndex = -1;
}

void EntityManager::Release(CEntity* entity) {
    if (entity->registered) DropFromDrawList(entity);
    entity->registered = false;
    entity->m_drawIndex = -1;
    entity->m_owned = false;
    entity->m_stackCount = 0;
    entity->m_tracker = nullptr;
}

void EntityManager::CompactEntities() {
    if (!m_entityHoles) return;
    EraseNulls(m_entities);
    m_entityHoles = false;
}

void EntityManager::CompactDrawList() {
    if (!m_drawHoles) return;
    EraseNulls(m_drawList);
    for (size_t i = 0; i < m_drawList.size(); ++i) m_drawList[i]->m_drawIndex = static_cast<int>(i);
    m_drawHoles = false;
}

std::vector<CEntity*> EntityManager::GetDrawList() const {
    std::vector<CEntity*> list;
    list.reserve(m_drawList.size());
    for (CEntity* e : m_drawList) {
        if (e) list.push_back(e);
    }
    return list;
}
