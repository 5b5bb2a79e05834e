// The engine's own frame and render path over a real (virtual) 800 x 600
// window, its ini and log in a test folder; the game's resources and English
// text on request. Entities go first when it ends, then resources, text and
// the registry fonts while the window still lives.
#pragma once

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "support/TempDir.h"

class WindowTestEngine : public ZOLTFramework::CEngine {
public:
    explicit WindowTestEngine(const TempDir& dir);
    ~WindowTestEngine() override;

    EntityManager& Manager() { return *m_pEntityManager; }
    // The resource manager over data\Resource\main.res.
    void UseResources();
    // The English text table.
    void UseEnglishText();

    bool started = false;
};
