// The screen of one level: the heads-up panel on the left (pocket-watch clock,
// the list of clues, Help, Pause, Exit and the evidence-case button, the cigar
// and the magnifying glass), the play field of the scene, and the windows that
// open over both: comic pages, hint windows, help, options, pause, the evidence
// case and the score window. The play field and the mini-games report to it as
// (event, value) pairs through OnQuestion; dialogs answer through OnAnswer.
//
// The panel slides between x = -200 (out) and 0 (in); the clock runs only with
// the panel fully in and nothing stopping it (help, pause, options, an open
// hint window). Events that arrive while the screen is being built are kept and
// handled, in order, once it stands.
//
// Ownership: the creator opens the screen through the entity manager
// (OpenScreen); every entity the screen makes is spawned on the manager. Windows it
// opens and may have to close again (help, options, the panel slide) are held
// by life token, so a window that died on its own is never touched.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"

class ButtonExEntity;
class EntityManager;
class hgeAnimation;
class hgeParticleSystem;
class hgeSprite;
class HelpScreen;
class PlayField;
class TextEntity;
class Hint;

namespace ZOLTFramework {
class CAnimationEffector;
class CButtonEntity;
class CSpriteEntity;
class CWindowEntity;
}  // namespace ZOLTFramework

class LevelScreen : public ZOLTFramework::CScreenEntity,
                    public ZOLTFramework::CQuestionListener,
                    public ZOLTFramework::CButtonListener {
public:
    static constexpr const char* kLayoutFile = "data/Screens/LevelScreen.xml";
    static constexpr const char* kReturnScreen = "data/GlobalMapScreen.xml";
    static constexpr const char* kFinalScene = "Final";
    static constexpr const char* kInGameOptions = "data/screens/OptionsScreenInGame.xml";
    static constexpr float kPanelOutX = -200.0f;
    static constexpr float kSlideTime = 0.5f;
    static constexpr float kCigarCooldown = 15.0f;
    static constexpr float kCriticalTime = 20.0f;
    static constexpr float kMiniGameHold = 0.2f;
    static constexpr float kMiniGameLayer = 2000.0f;

    enum LevelType { FIND_ALL = 0, FIND_DIFFERENCES = 1 };
    enum ExtraType { EXTRA_NONE = -1, EXTRA_USE_ITEMS = 2, EXTRA_MEASURE = 3 };

    // A hint window waiting to open: its text key and up to two points it
    // shows, each packed as x in the low 16 bits and y in the high 16 bits.
    struct TutorialInfo {
        std::string textKey;
        uint32_t firstPoint = 0;
        uint32_t secondPoint = 0;
    };
    struct ItemsLeft {
        int count = 0;
        std::string singularKey;
        std::string pluralKey;
    };

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

    // ---- clock, cigars, glass, panel, clues
    void RunClock(float dt);
    static std::string FormatTime(float seconds);
    void ShowTimePenalty(float change);
    void AddCigar(bool withTutorial);
    void UseCigar();
    void UpdateCigarButton();
    void UpdateCigarSmoulder(float dt);
    ZOLTFramework::CEntity* CreateCigarSmoke();
    void FlyHintToObject();
    void ShowMagnifyingGlass(bool withTutorial);
    void StartMagnifyingGlassBurst();
    void SlidePanelOut();
    void SlidePanelIn();
    void SyncPanelButtons();
    void BuildClueList();
    void UpdateClueEntries(const std::string& taskName);
    void UpdateClueEntry(const ItemsLeft& item, TextEntity* text);
    void StrikeOutClue(TextEntity* text);
    void UpdateCluesText();
    void UpdateHelpText();

    // ---- windows and the end of the level
    void ShowNextTutorial();
    void ShowHintScreen();
    void ShowHelp();
    void ShowBagTutorial();
    void ShowLevelComplete();
    void RecordNodeScore();
    bool EndsPlace() const;
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

    // ---- state, for the game flow and tests
    // Children by name: the play field "PlayField" and the panel "Panel"; on
    // the panel the buttons named by their messages "Exit", "Help", "Pause" and
    // "BagButton", once given the glass "MagnifyingGlass" and the cigar button
    // "CigarButton" (its picture "Cigar" and its count "CigarCounter").
    bool IsPanelIn() const;
    bool IsClockRunning() const;
    bool IsClockStopped() const { return clockStopped; }
    TextEntity* GetTimeText() const { return timeText; }
    HelpScreen* GetHelpScreen() const;
    float GetCigarCooldown() const { return cigarCooldown; }
    float GetPanelHold() const { return panelHold; }
    const std::map<std::string, ItemsLeft>& GetItemsLeft() const { return itemsLeft; }
    const std::map<std::string, TextEntity*>& GetClueMap() const { return clueMap; }
    const std::list<std::string>& GetComicQueue() const { return comicQueue; }
    const std::list<TutorialInfo>& GetHintQueue() const { return hintQueue; }
    const std::string& GetHelpKey() const { return helpKey; }
    const std::string& GetReturnScreen() const { return returnScreen; }
    const std::string& GetRequestedMiniGame() const { return requestedMiniGame; }
    const std::string& GetCurrentMiniGame() const { return currentMiniGame; }
    const std::string& GetLastEvent() const { return lastEvent; }
    int GetLevelType() const { return levelType; }
    int GetExtraType() const { return extraType; }
    bool IsSceneFinished() const { return sceneFinished; }
    bool IsScoreScreenAllowed() const { return scoreScreenAllowed; }
    float GetMedalProbability() const { return medalProbability; }
    int GetMedalToAdd() const { return medalToAdd; }
    bool IsExitEnabled() const { return exitEnabled; }
    bool IsHintWindowOpen() const { return hintWindowOpen; }
    hgeSprite* GetSilhouette() const { return silhouetteSprite; }
    ZOLTFramework::CScreenEntity* GetRunningMiniGame() const { return runningMiniGame; }

private:
    // Construction steps.
    void ReadSceneRoot();
    void BuildPanel();
    void BuildPlayField();
    void LoadLayout();
    void PlaceTools();
    void StartMusic();
    void ReplayEarlyEvents();

    void HandleQuestion(const std::string& name, const std::string& value);
    void HandleMiniGameResult(const std::string& name, const std::string& value);
    void ExitToMenu();
    // Puts off a running mini-game and writes the state file.
    void SaveProgress();
    void ExitToGlobalMap(const std::string& value);
    void LoseLevel();
    void OpenOptions();
    void OpenBag();
    void OpenPause();
    void BuildExtraCigarWindow();
    void CloseHelpWindow();

    // The running panel slide, while it lives.
    ZOLTFramework::CAnimationEffector* LiveSlide() const;
    void KillSlide();
    ZOLTFramework::CAnimationEffector* StartSlide(float fromX, float toX);
    // A text of the table, empty without one.
    std::string Text(const std::string& key) const;
    // Pauses or resumes an entity that may be missing.
    static void PauseEntity(ZOLTFramework::CEntity* entity);
    static void ResumeEntity(ZOLTFramework::CEntity* entity);

    std::string currentMiniGame;
    hgeSprite* silhouetteSprite = nullptr;
    std::string silhouetteName;
    int levelType = FIND_ALL;
    int extraType = EXTRA_NONE;
    ZOLTFramework::CWindowEntity* panel = nullptr;
    ZOLTFramework::CAnimationEffector* panelSlide = nullptr;
    std::weak_ptr<void> panelSlideToken;
    ButtonExEntity* exitButton = nullptr;
    ButtonExEntity* helpButton = nullptr;
    ButtonExEntity* pauseButton = nullptr;
    ButtonExEntity* bagButton = nullptr;
    ZOLTFramework::CSpriteEntity* magnifyingGlass = nullptr;
    ZOLTFramework::CButtonEntity* cigarButton = nullptr;
    ZOLTFramework::CSpriteEntity* cigarSprite = nullptr;
    hgeAnimation* cigarSmoulder = nullptr;  // owned copy
    hgeAnimation* clockAnimation = nullptr;  // owned copy
    ZOLTFramework::CEntity* cigarSmoke = nullptr;
    TextEntity* cigarCounter = nullptr;
    std::string returnScreen;
    hgeParticleSystem* burst = nullptr;  // owned
    PlayField* playField = nullptr;
    std::list<std::string> comicQueue;
    std::list<TutorialInfo> hintQueue;
    Hint* hint = nullptr;
    std::map<std::string, ItemsLeft> itemsLeft;
    std::map<std::string, TextEntity*> clueMap;
    TextEntity* cluesLeftText = nullptr;
    TextEntity* timeText = nullptr;
    float cigarCooldown = 0.0f;
    bool creatingMiniGame = false;  // while LaunchMiniGame makes the screen
    ZOLTFramework::CScreenEntity* runningMiniGame = nullptr;
    float panelHold = 0.0f;
    ZOLTFramework::CEntity* readyWindow = nullptr;
    bool sceneFinished = false;
    std::string requestedMiniGame;
    std::string lastEvent;
    ZOLTFramework::CEntity* bagTutorialMarker = nullptr;
    HelpScreen* helpScreen = nullptr;
    std::weak_ptr<void> helpScreenToken;
    bool showLevelComplete = false;
    std::string helpKey;
    bool scoreScreenAllowed = true;
    float medalProbability = 0.0f;
    int medalToAdd = 0;
    bool exitEnabled = true;
    bool tutorialShown = false;
    bool clockStopped = false;
    std::vector<std::function<void()>> panelInActions;

    // Beyond the list above: the sound behaviour of the windows over the level.
    bool hintWindowOpen = false;  // from the hint window's opening to "TutorialShown"
    // A mini-game result holds the panel out for a moment; when the hold ends
    // with the level in focus the panel comes back in.
    bool panelInAfterHold = false;
    bool constructing = true;
    std::vector<std::pair<std::string, std::string>> earlyEvents;
    ZOLTFramework::CEntity* optionsWindow = nullptr;
    std::weak_ptr<void> optionsToken;
    std::string scenePath;
};
