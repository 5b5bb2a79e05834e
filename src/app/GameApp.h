// The game's application object: the one engine the program creates. It fixes
// the window, version and resource script, chooses the per-user storage folder
// before anything is written, loads the game's fixed assets (language text,
// players, fonts, music, event sounds), opens the first logo screen, turns the
// window's close button into a yes/no question while a screen asks for it,
// takes a screenshot on the grave-accent key and saves the players at the end.
#pragma once

#include <string>

#include "runtime/CEngine.h"
#include "entities/core/Listeners.h"

namespace ZOLTFramework {

class GameApp : public CEngine, public CQuestionListener {
public:
    // The maker's and the game's folders below the per-user data folder.
    static constexpr const char* kMaker = "Orvelworks";
    static constexpr const char* kGame = "Drovalin";
    // The question id of the quit question.
    static constexpr const char* kExitQuestion = "Q_EXIT";

    GameApp();
    // Saves the players when they were loaded, then the engine shuts down.
    ~GameApp() override;

    // The engine's start-up, then the game's. False when the engine could not
    // start; nothing of the game's start-up runs then.
    bool Init();

    // The grave-accent key takes one snapshot per press. A SIGTERM or SIGINT
    // saves and quits at once, as "yes" to the quit question does.
    bool OnFrame(float dt) override;
    bool OnRender() override;
    // Reached only while g_bConfirmExit is set: opens the quit question (once;
    // a second request while it is shown is ignored). The window never closes
    // from here.
    bool OnExit() override;
    // The quit question's answer: yes ends the main loop; either way the window
    // mode and the players are saved.
    void OnAnswer(const std::string& question, bool yes) override;

    bool IsExitDialogOpen() const { return exitDialogOpen; }


private:
    void LoadFonts();
    void LoadAudio();
    void RegisterScreens();
    // Writes the window mode and saves the players; quit ends the main loop.
    void SaveAndQuit(bool quit);

    bool exitDialogOpen = false;
};

}  // namespace ZOLTFramework
