// The heads-up panel on the left of a level: the pocket-watch clock and the
// time, the list of clues, the buttons (Exit, Help, Pause, the evidence case),
// the cigars and the magnifying glass, and the slide of the panel between
// x = -200 (out) and 0 (in), which the windows over the level wait for. A
// plain helper the level owns, given what it needs at construction (the
// entity its widgets hang from and their listeners, the level's status, the
// hint queue its tools add to, the level's hand on the scene) and a view of
// the play field once that is built; the entities it makes are spawned on the
// manager under the host.
//
// Entities by name: the window "Panel"; on it the buttons named by their
// messages "Exit", "Help", "Pause" and "BagButton", the texts "text_time" and
// "text_clues_left", one text per clue named by its task, the box the bag lies
// in "BagRecess", once given the glass "MagnifyingGlass" and the cigar button
// "CigarButton" (its picture "Cigar" and its count "CigarCounter").
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scene/ClueTargets.h"
#include "scene/PanelEdge.h"
#include "scene/PlayFieldView.h"
#include "screens/LevelParts.h"

class ButtonExEntity;
class EntityManager;
class TextEntity;
class Hint;
class hgeAnimation;
class hgeParticleSystem;
class hgeSprite;

namespace ZOLTFramework {
class CAnimationEffector;
class CButtonEntity;
class CEntity;
class CSpriteEntity;
class CWindowEntity;
}  // namespace ZOLTFramework

class LevelPanel : public ClueTargets, public PanelEdge, public PanelSlide {
public:
    static constexpr float kPanelOutX = -200.0f;
    static constexpr float kSlideTime = 0.5f;
    static constexpr float kCigarCooldown = 15.0f;
    static constexpr float kCriticalTime = 20.0f;
    // The top of the panel's open lower-left corner, where the bag lies.
    static constexpr float kRecessY = 436.0f;

    struct ItemsLeft {
        int count = 0;
        std::string singularKey;
        std::string pluralKey;
    };

    LevelPanel(const LevelHost& host, const LevelStatus& status, HintQueue& hints, SceneRequests& scene);
    virtual ~LevelPanel();
    LevelPanel(const LevelPanel&) = delete;
    LevelPanel& operator=(const LevelPanel&) = delete;

    // ---- building
    void Build();
    // The scene the panel shows: its kind, its counters, its tasks' pictures.
    void AttachField(PlayFieldView view);
    void LoadLayout(const char* layoutFile);
    // The clue counters of the scene, as the field counts them.
    void ReadCounters();
    // The glass for a scene without one to find, the player's cigars otherwise,
    // and the flying hint.
    void PlaceTools();
    void StartClockAnimation();

    // The clues changed since the last frame are shown as they stand; the
    // burst, the clock, the cigar. Every frame.
    void Update(float dt, bool clockRunning);
    void Render();

    // ---- clock
    // Runs the clock by dt (back for a negative dt); when it runs out the
    // time-out window opens over the host.
    void RunClock(float dt);
    // The clock has run out: the time-out window ("Lose", "TIME_OUT") over
    // the host, its sound, the panel paused, the scene out of focus.
    void TimeOut();
    static std::string FormatTime(float seconds);
    void ShowTimePenalty(float change);

    // ---- cigars and glass
    void AddCigar(bool withTutorial);
    void UseCigar();
    void UpdateCigarButton();
    void UpdateCigarSmoulder(float dt);
    ZOLTFramework::CEntity* CreateCigarSmoke();
    void FlyHintToObject();
    void ShowMagnifyingGlass(bool withTutorial);
    void StartMagnifyingGlassBurst();

    // ---- slide and buttons
    bool IsIn() const override;
    void SlidePanelOut() override;
    void SlidePanelIn() override;
    void KillSlide() override;
    bool IsSliding() const;
    // Pauses the buttons while the panel is out, resumes them once it is in
    // and runs what waited for it.
    void SyncPanelButtons();
    void WhenIn(std::function<void()> action);
    // Something waits for the panel to stand fully in (the case's tutorial).
    bool HasActionsWhenIn() const { return !panelInActions.empty(); }
    void Pause() override;
    void Resume() override;
    ZOLTFramework::CWindowEntity* Window() const { return panel; }
    ButtonExEntity* BagButton() const { return bagButton; }
    ButtonExEntity* ExitButton() const { return exitButton; }

    // ---- the evidence case
    // An item went into the case: the button shows and its caption blinks;
    // the first time, the case's tutorial follows once the panel is in.
    void ShowBagTutorial();
    // The case is opened: the caption stops blinking.
    void StopBagBlinking();
    // Seconds until the lit cigar has burnt down and the next may be used.
    float GetCigarCooldown() const { return cigarCooldown; }

    // ---- clues
    void BuildClueList();
    // "TaskChanged": the task's count is read again and the list rebuilt, once
    // in the frame however many tasks changed.
    void OnTaskChanged(const std::string& taskName);
    void UpdateClueEntries(const std::string& taskName);
    void UpdateClueEntry(const ItemsLeft& item, TextEntity* text);
    void StrikeOutClue(TextEntity* text);
    void UpdateCluesText();
    // Where a found object of the task flies: its clue's line.
    bool ClueTarget(const std::string& taskName, float& screenY) const override;
    // The panel's right edge where it stands in its slide.
    float PanelRight() const override;
    void ShowSilhouette(const std::string& taskName);
    void HideSilhouette(const std::string& taskName);

private:
    ZOLTFramework::CAnimationEffector* StartSlide(float fromX, float toX);
    EntityManager* Manager() const;
    std::string Text(const std::string& key) const;
    void RenderSilhouette();
    // Reads the changed tasks' counts from the rules and rebuilds the list.
    void RefreshClues();

    LevelHost host;
    const LevelStatus& status;
    HintQueue& hints;
    SceneRequests& scene;
    PlayFieldView field;
    ZOLTFramework::CWindowEntity* panel = nullptr;
    float panelWidth = 0.0f;  // of its picture
    ZOLTFramework::CAnimationEffector* panelSlide = nullptr;
    std::weak_ptr<void> panelSlideToken;
    ButtonExEntity* exitButton = nullptr;
    ButtonExEntity* helpButton = nullptr;
    ButtonExEntity* pauseButton = nullptr;
    ButtonExEntity* bagButton = nullptr;
    TextEntity* timeText = nullptr;
    TextEntity* cluesLeftText = nullptr;
    ZOLTFramework::CSpriteEntity* magnifyingGlass = nullptr;
    ZOLTFramework::CButtonEntity* cigarButton = nullptr;
    ZOLTFramework::CSpriteEntity* cigarSprite = nullptr;
    TextEntity* cigarCounter = nullptr;
    ZOLTFramework::CEntity* cigarSmoke = nullptr;
    hgeAnimation* cigarSmoulder = nullptr;   // owned copy
    hgeAnimation* clockAnimation = nullptr;  // owned copy
    hgeParticleSystem* burst = nullptr;      // owned
    float cigarCooldown = 0.0f;
    Hint* hint = nullptr;
    std::map<std::string, ItemsLeft> itemsLeft;
    std::map<std::string, TextEntity*> clueMap;
    const hgeSprite* silhouetteSprite = nullptr;  // the scene's: drawn as a copy
    std::string silhouetteName;
    std::vector<std::function<void()>> panelInActions;
    std::vector<std::string> changedTasks;  // since the list was last built
    ZOLTFramework::CEntity* bagMarker = nullptr;  // the blinking on the case's caption
};
