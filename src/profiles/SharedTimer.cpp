#include "profiles/SharedTimer.h"

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"

namespace {

EntityManager* RunningManager() {
    using ZOLTFramework::g_pEngine;
    return g_pEngine ? g_pEngine->GetEntityManager() : nullptr;
}

}  // namespace

SharedTimer::~SharedTimer() {
    if (m_own) {
        DropOwn();
    } else if (IsRunning()) {
        m_timer->Kill();
    }
    m_timer = nullptr;
}

bool SharedTimer::IsRunning() const { return m_timer && !m_own && !m_token.expired() && !m_timer->IsDead(); }

void SharedTimer::DropOwn() {
    delete m_timer;
    m_timer = nullptr;
    m_token.reset();
    m_own = false;
}

void SharedTimer::Make() {
    m_timer = new GameTimer();
    m_token = m_timer->GetLifeToken();
    EntityManager* manager = RunningManager();
    m_own = manager == nullptr;
    if (manager) manager->Add(m_timer);
}

ZOLTFramework::GameManager::Timer* SharedTimer::Get() {
    if (m_own) {
        // A timer made before the engine ran: the running engine's entity
        // manager takes it over, pending calls and all.
        EntityManager* manager = RunningManager();
        if (!manager) return m_timer;
        if (m_timer->GetEngine() == ZOLTFramework::g_pEngine) {
            manager->Add(m_timer);
            m_own = false;
            return m_timer;
        }
        DropOwn();
    }
    if (!m_timer || m_token.expired() || m_timer->IsDead()) Make();
    return m_timer;
}
