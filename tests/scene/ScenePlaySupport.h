// Steps the scene tests share: the engine over the game's resources, the
// fixture scenes, opening the panel and asking whether an object still
// stands in the scene.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/SceneTestEngine.h"

// The game's resource script, with a text-table file or extra text lines.
inline SceneTestOptions GameSceneOptions(const std::string& textFile = "", const std::string& textTable = "") {
    SceneTestOptions options;
    options.gameResources = true;
    options.textFile = textFile;
    options.textTable = textTable;
    return options;
}

// A file of the source tree ("tests/fixtures/tone.ogg").
inline std::string SourceFile(const std::string& relative) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    return std::string(source ? source : "..") + "/" + relative;
}

// A scene of tests/fixtures/scenes.
inline std::string FixtureScene(const std::string& file) { return SourceFile("tests/fixtures/scenes/" + file); }

// Runs until the panel is shown, then lets it settle.
inline void OpenPanel(SceneTestEngine& engine, LevelStandIn* level) {
    for (int i = 0; i < 400 && level->EventsNamed("ShowPanel").empty(); ++i) engine.Step();
    ASSERT_FALSE(level->EventsNamed("ShowPanel").empty());
    engine.Run(0.6f);
}

inline bool InScene(PlayField* field, SceneObject* object) {
    const auto& objects = field->GetSceneObjects();
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}
