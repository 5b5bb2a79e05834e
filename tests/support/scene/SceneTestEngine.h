// A headless engine for scene tests: the GUI test engine with fonts, a text
// table, an audio manager that counts plays, and either the game's resource
// script or a fixture script over small generated pictures in the test folder:
//   "InGamePanel" (180 x 600), "PlayCursor" and "DiffCursor" (32 x 32, two
//   frames), "MagnifyingGlassTool" (128 x 128, hot spot in the middle), the
//   game's "MagnifyingGlassMask", "Inventory" (210 x 170, hot spot (100, 85)),
//   "InGameDividingLine", "SolveLaterObjectParticle", and the units
//   "Square" (64 x 64 opaque), "Backdrop" (512 x 384, a gradient with a
//   16-texel checker), "Disc" (64 x 64, an opaque disc of radius 24 in
//   clear corners, hot spot in the middle), "Key" (32 x 16) and the animation
//   "box_Fixture" (4 frames of 16 x 16 at 8 frames a second), all in group 10.
#pragma once

#include <string>

#include "support/runtime/GuiTestEngine.h"

// Writes the fixture pictures and their resource script into the folder
// (ending in "/"); returns the script's path.
std::string WriteSceneFixtureArt(const std::string& dir);

struct SceneTestOptions {
    float dt = 0.05f;
    bool gameResources = false;  // data\Resource\main.res instead of the fixture script
    std::string textTable;       // extra text-table lines (KEY="text")
    std::string textFile;        // a text-table file instead (e.g. "data\\Text\\English.txt")

    static SceneTestOptions WithDt(float step) {
        SceneTestOptions options;
        options.dt = step;
        return options;
    }
};

class SceneTestEngine : public GuiTestEngine {
public:
    explicit SceneTestEngine(const SceneTestOptions& options = SceneTestOptions());
    ~SceneTestEngine() override;

    // Writes a scene file into the test folder and returns its path.
    std::string WriteScene(const std::string& name, const std::string& xml) const;
    // Runs frames until the time has passed (at least one frame).
    void Run(float seconds);
    float Dt() const { return m_dtValue; }

private:
    float m_dtValue;
};
