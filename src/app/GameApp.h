// The game's application object: the one engine the program creates. It fixes
// the window title, version and resource script, chooses the per-user storage
// folder, and takes a screenshot on the grave-accent key.
#pragma once

#include "engine/CEngine.h"

namespace ZOLTFramework {

class GameApp : public CEngine {
public:
    GameApp();
    ~GameApp() override;

    // Start-up of the engine and then of the game.
    bool Init();

    bool OnFrame(float dt) override;
    bool OnRender() override;
};

}  // namespace ZOLTFramework
