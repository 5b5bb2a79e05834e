// The screen of one level: the heads-up panel on the left (LevelPanel: clock,
// clues, buttons, cigars, glass), the play field of the scene "PlayField", and
// the windows that open over both (LevelWindows). The play field and the
// mini-games report to it as (event, value) pairs through OnQuestion, which
// its table of events (LevelScreenSwitch.cpp) turns into the level's
// operations; dialogs answer through
// OnAnswer.
//
// The clock runs only with the panel fully in and nothing stopping it (help,
// pause, options, an open hint window). Events that arrive while the screen is
// being built are kept and handled, in order, once it stands.
//
// Ownership: the creator opens the screen through the entity manager
// (OpenScreen); every entity the screen makes is spawned on the manager. Windows it
// opens and may have to close again (help, options, the panel slide) are held
// by life token, so a window that died on its own is never touched.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"
#include "scene/LevelEvents.h"
#include "screens/LevelParts.h"
#include "screens/LevelSettings.h"

class LevelPanel;
class LevelWindows;
class PlayField;

class LevelScreen : public ZOLTFramework::CScreenEntity,
                    public ZOLTFramework::CQuestionListener,
                    public ZOLTFramework::CButtonListener,
                    private LevelStatus,
                    private SceneRequests {
public:
    static constexpr const char* kLayoutFile = "data/Screens/LevelScreen.xml";
    static constexpr const char* kReturnScreen = "data/GlobalMapScreen.xml";
    static constexpr float kMiniGameHold = 0.2f;
    static constexpr float kMiniGameLayer = 2000.0f;

    // A hint window waiting in the queue: its text key and the points its
    // arrows show.
    using TutorialInfo = LevelEvents::TutorialInfo;

    LevelScreen(const std::string& scenePath, const std::string& returnScreen);
    ~LevelScreen() override;

    void Update(float dt) override;
    void Render() override;
    void GotFocus() override;
    void LostFocus() override;

    // ---- events, answers and buttons
    void OnQuestion(const std::string& name, const std::string& value) override;
    void OnAnswer(const std::string& name, bool yes) override;
    void OnButtonPress(const std::string& name) override;
    void OnButtonRelease(const std::string&) override {}
    void OnButtonOver(const std::string& name) override;
    void OnButtonLeave(const std::string& name) override;

    // ---- the windows over the level (LevelWindows does the work)
    // The help window of the level or of its running mini-game.
    void ShowHelp();
    // The score window after "Win", with the node's score recorded.
    void ShowLevelComplete();
    // The first queued comic page.
    void ShowNextTutorial();
    // The help key for the level's kind of scene.
    void UpdateHelpText();

    // ---- the parts
    LevelPanel& Panel() { return *panel; }
    LevelWindows& Windows() { return *windows; }
    HintQueue& Hints() { return hints; }
    PlayField* Field() const { return playField; }
    bool IsPanelIn() const;
    bool IsClockRunning() const;
    // The events' operations.
    void StopClock(bool stopped) override { clockStopped = stopped; }
    void ResumeAfterOptions();
    void SetExitEnabled(bool enabled) { exitEnabled = enabled; }
    // Slides the panel out and keeps it out for the seconds given.
    void HoldPanelOut(float seconds);
    void RequestMiniGame(const std::string& path);
    void HandleMiniGameResult(const std::string& name, const std::string& value);
    void FinishScene();
    void ExitToMenu();
    void ExitToGlobalMap(const std::string& value);
    // Leaves for the global map after the level's own steps; nextScene: the
    // scene that follows (the map opens its level at once), or empty.
    void OpenMapOrNextLevel(const std::string& nextScene);

    // The game is ending with this level open: its state file is written (a
    // running mini-game counts as put off) before the players are saved, so
    // that Continue finds the level as it was. A level that is leaving, won
    // or out of time writes none and names none.
    void SaveOnQuit();

    // The game flow sets the node's score when it builds a level.
    static void SetActivePlayerScoreNode(int value);

    // Opens the requested mini-game over the level (layer 2000, a child of
    // the level, kept as the running mini-game) and pauses the bag and exit
    // buttons. Its result arrives through OnQuestion after its fade-out.
    void LaunchMiniGame();
    // The help key of a requested mini-game path.
    static std::string MiniGameHelpKeyFor(const std::string& path);

    const std::string& GetScenePath() const { return scenePath; }
    const std::string& GetReturnScreen() const { return returnScreen; }
    // The name of the last event the level heard.
    const std::string& LastEvent() const override { return lastEvent; }
    // True when the level acts on an event of that name (a scene's action that
    // reaches it, say). The actions the play field acts on itself are not
    // among them: where they stand decides (the content checker's table).
    static bool HandlesEvent(const std::string& name);
    bool IsSceneFinished() const { return sceneFinished; }
    // The mini-game screen over the level, or null.
    ZOLTFramework::CScreenEntity* RunningMiniGame() const override { return runningMiniGame; }

private:
    // What the panel and the windows have the scene do.
    void TimeOutScene() override;
    void LeaveScene() override;
    SceneObject* PickHintObject() override;
    void ShowClueListTutorial() override;

    // Turns an event into the level's operation that answers it; an event no
    // one handles is a Warning row, once a name.
    void Dispatch(const std::string& name, const std::string& value);
    void BuildPlayField();
    void StartMusic();
    void ReplayEarlyEvents();
    // What the frame opens or leaves for before the scene takes its input;
    // true if it did.
    bool OpenWaitingStep();
    // A resumed level, once its scene shows: with no time left (a timed
    // game) it ends as a level lost on time; with no task left (the game
    // writes none for a lone "Dummy") it is won. True if it ended.
    bool EndResumedLevel();
    // The panel's hold and slide, then the waiting step: run first in the
    // frame, before the play field and the panel take the mouse.
    void StartFrame(float dt);
    void UpdatePanelHold(float dt);
    // A level resumed from a state file takes the player's values of the
    // level saved in it (LevelProgress); one written before it kept them
    // leaves those of the players file.
    void TakeSavedProgress();
    // Puts off a running mini-game and writes the state file; when it cannot
    // be written, the player's values go back to those that go with what the
    // player names on disk (the state saved before, the scene after the
    // place's won scenes, or the map).
    void SaveProgress();
    // The player's scores, time, cigars and the place's evidences as what the
    // player names on disk has them.
    void KeepPlayerValues();
    // The game ends on a won scene: what its score window records and awards
    // is kept, and Continue goes on with the place's next scene, if any.
    void KeepWonScene();
    // The won scene leads on to the next in its place: Continue is to open
    // that scene from its start with the node's score of the scenes won, the
    // won scene's item, speed and mini-game scores zeroed (they are in the
    // node's score). A scene a place starts with is never named (it would
    // open as resumed, without its opening game): Continue then opens the map.
    void NameNextScene(const std::string& next);
    void LoseLevel();

    std::string scenePath;
    std::string returnScreen;
    LevelSettings settings;
    HintQueue hints;
    std::unique_ptr<LevelPanel> panel;
    std::unique_ptr<LevelWindows> windows;
    PlayField* playField = nullptr;
    std::string helpKey;
    std::string lastEvent;
    std::string requestedMiniGame;
    bool creatingMiniGame = false;  // while LaunchMiniGame makes the screen
    ZOLTFramework::CScreenEntity* runningMiniGame = nullptr;
    float panelHold = 0.0f;
    // A mini-game result holds the panel out for a moment; when the hold ends
    // with the level in focus the panel comes back in.
    bool panelInAfterHold = false;
    bool sceneFinished = false;
    bool showLevelComplete = false;
    bool exitEnabled = true;
    bool clockStopped = false;
    bool constructing = true;
    bool windowOpened = false;  // by StartFrame, this frame: Update rests
    // Built from the player's scene in progress, not yet looked at by
    // EndResumedLevel.
    bool resumeUnchecked = false;
    std::vector<std::pair<std::string, std::string>> earlyEvents;
    std::set<std::string> unhandledEvents;  // warned of once
    // What the player had when the level's state on disk was written (or
    // when the level was built, as what the player names had it).
    struct KeptValues {
        int32_t scoreItems = 0, scoreSpeed = 0, scoreMiniGames = 0, scoreNode = 0;
        float time = 0.0f;
        int32_t cigars = 0;
        std::set<std::string> tempEvidences, tempLastEvidences;
    } kept;
};
