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
    EntityManager* manager = RunningManager();
    m_own = manager == nullptr;
    // Without a manager this handle is the timer's owner until one runs.
    m_timer = manager ? manager->Spawn<GameTimer>() : new GameTimer();
    m_token = m_timer->GetLifeToken();
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
