// The headless game for the tests that read the fuzz targets' kept inputs
// through the real objects: the game's resources, fonts and English texts, one
// active player, a log capture, and helpers to run and close what they open.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "entities/core/EntityManager.h"
#include "minigames/MiniGameScreen.h"
#include "profiles/PlayerManager.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/scene/SceneTestEngine.h"

// The line that splits a scene target's input into the scene and the table.
inline const char* const kSplit = "\n%%next-file%%\n";

inline SceneTestOptions GameOptions() {
    SceneTestOptions options = SceneTestOptions::WithDt(0.1f);
    options.gameResources = true;
    options.textFile = "data\\Text\\English.txt";
    return options;
}

class GameReaderRegressionTest : public ::testing::Test {
protected:
    void SetUp() override {
        PlayerManager* players = PlayerManager::Instance();
        players->SetSavePath(engine.Dir().Path());
        players->SetUsersFile("data\\users.xml");
        players->Load();
        players->AddPlayer("Fuzz");
        players->SetActivePlayer("Fuzz");
    }
    void TearDown() override {
        PlayerManager::Instance()->RemovePlayer("Fuzz");
    }
    Player& Active() { return *PlayerManager::Instance()->GetActivePlayer(); }

    // Frames until the entity is gone; false when it is still there after the time.
    bool RunUntilGone(const std::weak_ptr<void>& alive, float seconds) {
        for (float t = 0.0f; t < seconds && !alive.expired(); t += engine.Dt()) engine.Step();
        return alive.expired();
    }
    void CloseAll() {
        const std::vector<ZOLTFramework::CEntity*> screens = engine.Manager().GetScreenStack();
        for (auto* screen : screens) {
            screen->Kill();
            engine.Manager().RemoveScreen(screen);
        }
        engine.Step(2);
    }
    // Writes a mini-game target's input into the test folder as the game file
    // of that name and, after the split line, the piece scene that the file
    // names as "%%scene%%"; returns the game file's path.
    std::string WriteMiniGame(const std::string& gameName, const std::string& input) {
        const size_t split = input.find(kSplit);
        std::string game = input.substr(0, split);
        engine.Dir().Write("pieces.xml", split == std::string::npos ? "" : input.substr(split + std::string(kSplit).size()));
        const std::string scene = engine.Dir() / "pieces.xml";
        for (size_t at = game.find("%%scene%%"); at != std::string::npos; at = game.find("%%scene%%", at + scene.size()))
            game.replace(at, 9, scene);
        engine.Dir().Write(gameName, game);
        return engine.Dir() / gameName;
    }
    // Skips the game, presses "Ok" and runs until it has reported; then it goes.
    void SkipToTheResult(MiniGameScreen* screen) {
        ASSERT_NE(screen, nullptr);
        screen->OnButtonPress("Skip");
        for (int i = 0; i < 100 && !screen->IsOkShown(); ++i) engine.Step();
        screen->OnButtonPress("Ok");
        for (int i = 0; i < 100 && !screen->HasReported(); ++i) engine.Step();
        EXPECT_TRUE(screen->HasReported());
        screen->Kill();
        CloseAll();
    }

    HtmlLogCapture log;
    SceneTestEngine engine{GameOptions()};
};
