// The engine's own frame and render path over a real (virtual) 800 x 600
// window, its ini and log in a test folder; the game's resources and English
// text on request. Entities go first when it ends, then resources, text and
// the registry fonts while the window still lives.
#pragma once

#include <string>

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "SnapshotPicture.h"
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
    // The game's registry fonts, set up as the game sets them up.
    void UseGameFonts();
    // A player of that name, active, saved in the folder; removed again with
    // the engine.
    void UsePlayer(const TempDir& dir, const std::string& name);

    // Real frames for that many seconds of the engine's own clock.
    void RunFor(float seconds);
    // The window as a picture, also copied to "snapshots/" beside the build
    // for a person to look at.
    Picture Snapshot(const TempDir& dir, const std::string& name);

    bool started = false;

private:
    std::string playerName;
};
