// The game's application object: the one engine the program creates. It fixes
// the window, version and resource script, chooses the per-user storage folder
// before anything is written, loads the language text and the players, opens
// the first logo screen and, once that screen's first frame is shown, loads the
// fonts, music and event sounds (nothing needs them before the load screen);
// it turns the window's close button into a yes/no question while a screen
// asks for it, takes a screenshot on the grave-accent key and, at the end,
// saves the open level's state and then the players.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

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

    // The storage folder: the per-user data folder (its missing levels made)
    // with the sub-folder "Orvelworks/Drovalin/" below it when a file can be
    // written there. When the data folder itself cannot be had, the working
    // folder is the candidate ("", names stay relative). When the candidate is
    // not writable the player is told and the result is "".
    static std::string ChooseStorageFolder(const std::string& subFolder);
    // The path with a trailing separator; every missing level of it is made,
    // from the first down (failures, such as a level that exists, are ignored).
    static std::string CreateFolderPath(const std::string& path);
    // True when a file can be created, written and deleted in the folder (which
    // ends with a separator, or is "" for the working folder); the test file
    // "writetest.dat" never remains.
    static bool TestWritable(const std::string& folder);

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
    // After the first frame is shown: the fonts, the music, the volumes and the
    // event sounds, in this order.
    void OnFrameShown() override;
    // Reached only while g_bConfirmExit is set: opens the quit question (once;
    // a second request while it is shown is ignored). The window never closes
    // from here.
    bool OnExit() override;
    // The quit question's answer: yes ends the main loop; either way the window
    // mode and the players are saved.
    void OnAnswer(const std::string& question, bool yes) override;

    // The fonts, music, volumes and sounds are loaded.
    bool IsStartUpFinished() const { return startUpFinished; }
    // The start-up's steps so far with their seconds, in the order they ran.
    // When the first frame was on screen (before the steps that follow it).
    std::chrono::steady_clock::time_point GetFirstFrameShownAt() const { return firstFrameShownAt; }
    // The same as one line: "engine 12.3 ms, text 0.4 ms, ...".
    std::string DescribeStartUpTimes() const;

private:
    void LoadFonts();
    void LoadMusic();
    void SetVolumes();
    void LoadSounds();
    // Runs one start-up step and notes its time.
    template <class Step>
    void TimeStep(const char* name, Step step);
    void RegisterScreens();
    // Writes the window mode and saves the players; quit ends the main loop,
    // and an open level first writes its state file.
    void SaveAndQuit(bool quit);

    bool exitDialogOpen = false;
    bool startUpFinished = false;
    std::chrono::steady_clock::time_point firstFrameShownAt;
    std::vector<std::pair<std::string, double>> startUpTimes;
};

}  // namespace ZOLTFramework
