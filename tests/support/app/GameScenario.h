// The real game in-process and headless, driven like a player: a fixture for
// the scenario tests. It starts the application in an empty storage folder
// (fixed seed, 1/300 s frames), steps frames, clicks and types, and plays
// levels: every object of a scene is found by clicks at opaque points of the
// live play field's objects, taken in the order of the scene file's tasks
// (tools picked up, carried from the bag and used last), comic pages are
// clicked through, hint windows closed, and every mini-game the level opens is
// handed to the test's plan.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "entities/core/EntityManager.h"
#include "platform/InputEvent.h"
#include "platform/hge.h"
#include "screens/GlobalMapData.h"
#include "support/TempDir.h"

namespace ZOLTFramework {
class CEntity;
class CGUIEntity;
class CScreenEntity;
class GameApp;
class GlobalMapScreen;
class LevelNode;
}  // namespace ZOLTFramework
class LevelCompleteScreen;
class LevelScreen;
class Player;

class GameScenario : public ::testing::Test {
protected:
    static constexpr int kFramesPerSecond = 300;

    GameScenario();
    ~GameScenario() override;

    std::string Storage() const { return home / "Orvelworks/Drovalin/"; }
    EntityManager& Manager();
    ZOLTFramework::CEntity* Top();
    template <class T>
    T* TopAs() {
        return dynamic_cast<T*>(Top());
    }
    template <class T>
    T* Find() {
        for (ZOLTFramework::CEntity* screen : Manager().GetScreenStack())
            if (auto* found = dynamic_cast<T*>(screen)) return found;
        return nullptr;
    }
    Player* Active();

    // ---- frames and input
    // Runs frames until the condition holds, at most the given game time.
    bool RunUntil(const std::function<bool()>& done, float maxSeconds = 10.0f);
    void Step(int frames = 1);
    void Wait(float seconds) { Step(int(seconds * kFramesPerSecond + 0.5f)); }
    void Press(int key);
    void Type(const std::string& text);
    void Click(float x, float y);
    // A click whose press and release fall inside one frame (a touchpad tap).
    void Tap(float x, float y);
    void ClickCentre(const ZOLTFramework::CGUIEntity* entity);

    // ---- the application
    // Starts the game and presses keys through the logos until the main menu.
    void Start();
    // The name entry that opens by itself for the first player.
    void EnterName(const std::string& name);
    // Quits from the main menu: "Exit" and yes; the application is gone after.
    void Quit();
    // Ends the game where it stands, by the window's close and yes or by
    // SIGTERM; the application is gone after.
    void End(bool signal);
    // End, then Start again (through the logos to the main menu).
    void EndAndRestart(bool signal);
    // The Error and Warning rows of "Log.html", every run of the folder.
    std::vector<std::string> ProblemRows() const;
    // The Error and Warning rows that hold none of the texts (rows a test
    // caused on purpose).
    std::vector<std::string> ProblemRowsBut(const std::vector<std::string>& expected) const;
    // The runs so far left no entity behind and wrote no Error or Warning row
    // but those holding one of the expected texts.
    void ExpectCleanRun(const std::vector<std::string>& expected = {}) const;

    // ---- a new game and the map
    // "Play" for a player without a game: the mode question answered yes
    // (timed) or no (relaxed).
    void NewGame(bool timed);
    // "Play" for a player with a game: yes to "Q_CONTINUE".
    void Continue();
    // The intro, ended by a key or by its skip button; the map's overview
    // (asserted: the prompt, half size), a key, the flight down, and the
    // tutorial, asserted open and closed with Enter. Returns the map at scale
    // 1 with the focus.
    ZOLTFramework::GlobalMapScreen* IntroAndOverview(bool skipButton);
    // The map on top of the screen stack, faded in, not closing.
    ZOLTFramework::GlobalMapScreen* WaitForMap(float maxSeconds = 10.0f);
    // Clicks an opaque point of the node's picture (and, for a place played
    // before, answers yes to playing it again); the map starts its level.
    void ClickNode(ZOLTFramework::GlobalMapScreen* map, const std::string& nodeName);
    // Back on the map after a won place: the flag flies onto the solved node
    // (each of the three frames shows about 10 frames), sticks with
    // "FlagStuck", the view pans from the solved node to the opened one,
    // which gets its ring of stars, and the player's last solved node is
    // cleared. Returns the map, ready for clicks.
    ZOLTFramework::GlobalMapScreen* WatchBannerFlight(const std::string& solved, const std::string& opened);
    // Every place of the map file, in story order: clicks its node on
    // the map and hands it to `play`; back on the map the place is scored and
    // the banner flies on to the next node. Returns after the last place (or a
    // fatal failure).
    void PlayEveryPlace(ZOLTFramework::GlobalMapScreen* map, const GlobalMapData& data,
                        const std::function<void(size_t, const GlobalMapData::LevelNode&)>& play);
    // The scenes that follow the scene file in its place, as the files chain
    // them ("SceneToLoadOnFinish"), up to the map or the final screen.
    static std::vector<std::string> ScenesAfter(const std::string& sceneFile);
    // Plays each scene that follows the scene file in its place to its score
    // window and closes it (with the medal its file may give); `scored` runs
    // as each score window shows.
    void PlayRestOfPlace(const std::string& sceneFile, const std::function<void()>& scored = {});
    // Esc on the map and yes: the main menu.
    void MapToMenu(ZOLTFramework::GlobalMapScreen* map);
    // The final screen after the last place, a key: the main menu.
    void FinalScreenToMenu();

    // ---- levels
    // What the test does with a mini-game screen the level opened: it must
    // end with the screen's result reported (solved, skipped or put off).
    std::function<void(LevelScreen*, ZOLTFramework::CScreenEntity*)> onMiniGame;
    // The comic pages clicked through, in order, and the clicks each took
    // (taps, one after a reader's pause whenever the page waits).
    std::vector<std::string> comicsShown;
    std::vector<int> comicClicks;
    // The texts of the hint windows closed, in order.
    std::vector<std::string> hintsShown;

    // The level (not closing) whose scene path contains the text.
    LevelScreen* WaitForLevel(const std::string& part, float maxSeconds = 10.0f);
    // One thing a player does for the level's windows: a running mini-game
    // goes to the plan, a comic page is tapped on, a help or hint window is
    // closed. False when there was nothing to do.
    bool Tend(LevelScreen* level);
    // Tends the level until it has the focus with its panel in (or it is won).
    void Settle(LevelScreen* level);
    // Clicks an object of the live play field at an opaque point nothing covers.
    void ClickObject(LevelScreen* level, const std::string& objectName);
    // Opens the bag by its strap, takes the tool from it and uses it on its target.
    void UseTool(LevelScreen* level, const std::string& tool, const std::string& target);
    // Finds everything the scene's tasks ask for, until the score window opens
    // or the level leaves. Objects of tool tasks come last, in file order; a
    // task whose game was put off is taken up again; a scene with the measuring
    // tool is won with it at the end.
    void FindEverything(LevelScreen* level);
    // The measuring tool as a player uses it: a press on the dividers (screen
    // (351, 350)) takes it up, the read-out follows the pointer (the distance in
    // hundreds of pixels), and a press on the print at (351, 550), which reads
    // 2.0, wins the level.
    void Measure(LevelScreen* level);
    // The level's options (Esc, or its Exit button once the scene has faded
    // in), "EXIT" and yes to "Q_QUIT": the level is saved, the menu opens.
    void LeaveLevelForMenu(LevelScreen* level, bool exitButton);
    // The score window, once its count-up is over.
    LevelCompleteScreen* WaitForScoreWindow(float maxSeconds = 20.0f);
    // "Exit" on the score window; with a medal, waits for its flight and
    // closes the window with a key.
    void CloseScoreWindow(LevelCompleteScreen* window, bool medal);

    ScopedEnv headlessEnv{"DROVALIN_HEADLESS", "1"};
    ScopedEnv stepEnv{"DROVALIN_DT", "0.0033333333"};
    ScopedEnv seedEnv{"DROVALIN_SEED", "1234"};
    TempDir home;
    ScopedEnv dataHome{"XDG_DATA_HOME", home.Path().c_str()};
    std::unique_ptr<ZOLTFramework::GameApp> app;

private:
    const void* lastComic = nullptr;
    std::weak_ptr<void> lastComicAlive;
};
