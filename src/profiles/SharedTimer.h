// The handle of the one shared delayed-call timer of the player manager.
//
// The timer is an entity: the entity manager of the running engine updates it
// every frame and deletes it at shut-down, which comes before the player
// manager goes at process exit. The handle therefore never deletes a timer the
// entity manager holds; it watches the timer's life token and, when the timer
// is gone, makes a new one on first use. Without an entity manager (before the
// engine started, or after a failed start) it keeps a timer of its own that
// nothing updates, so that scheduling is always safe; that timer is handed to
// the entity manager once there is one.
#pragma once

#include <memory>

#include "entities/core/GameTimer.h"

class SharedTimer {
public:
    SharedTimer() = default;
    SharedTimer(const SharedTimer&) = delete;
    SharedTimer& operator=(const SharedTimer&) = delete;
    // Deletes only a timer it keeps itself; a timer of the entity manager is
    // killed (the manager deletes it) so that no call bound to the timer's
    // users runs any more.
    ~SharedTimer();

    // The live timer, made on demand; never null.
    ZOLTFramework::GameManager::Timer* Get();
    ZOLTFramework::GameManager::Timer* operator->() { return Get(); }

    // True while a timer exists that the entity manager updates.
    bool IsRunning() const;

private:
    using GameTimer = ZOLTFramework::GameManager::Timer;

    void Make();
    void DropOwn();

    GameTimer* m_timer = nullptr;
    std::weak_ptr<void> m_token;
    bool m_own = false;  // made without an entity manager: deleted here
};
