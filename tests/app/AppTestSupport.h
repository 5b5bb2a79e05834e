// Helpers of the application tests: an engine started by the real engine
// start-up in a temporary storage folder (headless, fixed time step), and
// lookups of the entities a frame left behind.
#pragma once

#include <string>

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "entities/core/CEntity.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "support/TempDir.h"
#include "support/TestInput.h"

// Environment every in-process start-up of these tests uses: the headless
// backend with a fixed step (set before the engine interface is created).
struct HeadlessSetting {
    explicit HeadlessSetting(const char* dt = "0.05") : headless("DROVALIN_HEADLESS", "1"), step("DROVALIN_DT", dt) {}
    ScopedEnv headless;
    ScopedEnv step;
};

// The framework engine with the game's resource script, started with
// CEngine::Init in a temporary storage folder.
class StartedEngine : public ZOLTFramework::CEngine {
public:
    explicit StartedEngine(const TempDir& dir, bool resources = true) {
        m_storageFolder = dir.Path();
        if (resources) m_resourceScript = "data\\Resource\\main.res";
    }
    ~StartedEngine() override { HtmlLog::Instance()->Open(""); }
    EntityManager& Manager() { return *m_pEntityManager; }
};

// The first live entity of that name: in the draw list or on the screen stack.
inline ZOLTFramework::CEntity* FindEntity(EntityManager& manager, const std::string& name) {
    for (ZOLTFramework::CEntity* e : manager.GetDrawList())
        if (e->GetName() == name && !e->IsDead()) return e;
    for (ZOLTFramework::CEntity* e : manager.GetScreenStack())
        if (e->GetName() == name && !e->IsDead()) return e;
    return nullptr;
}

inline int CountOnStack(EntityManager& manager, const std::string& name) {
    int n = 0;
    for (ZOLTFramework::CEntity* e : manager.GetScreenStack()) n += e->GetName() == name;
    return n;
}

inline void InjectKey(InputEvent::Kind kind, int key) { TestInput::Key(kind, key); }

// Down in the next frame, up in the one after.
inline void PressKey(int key) { InjectKey(InputEvent::Press, key); }

inline void RequestClose() { TestInput::Close(); }
