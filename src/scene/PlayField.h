// One scene of a level while it is played: the scene objects and their lens
// layer, the particle layer, the bag, the cursors, and the rules of the scene
// (tasks, conditions, counters, tools) read from the scene file. It is the
// GUI entity over the picture and tells its listener (the level) what happens
// as (event, value) pairs.
//
// Units: scene objects live in the 1024 x 768 picture and draw times 0.78125;
// the mouse times 1.28 is a scene point. The field stands at (0, 0); its hit
// rectangle is (absolute x + W, absolute y, 800, 600), W the width of the
// panel sprite "InGamePanel".
//
// Ownership: the field adds itself to the entity manager in its constructor
// (never Add it again); its layers, bag and objects are entities of the
// manager, attached to it (without a manager the field loads nothing, and its
// layers and bag are parts it owns). Scripts own neither the field nor its
// objects.
// The scene's resource group is held in LiveGroups while the field lives (a
// comic page or mini-game on it keeps it) and released there when the field
// dies: purged unless another live holder (a second field) still uses it.
//
// Parts: the field is the front the level and the scripts talk to, and plays
// the click on an object out across its parts, each of which owns its own
// state and is handed only what it uses: the rules of the scene (SceneRules,
// plain data the field asks) and its objects (SceneObjectList); the pointer
// (PlayFieldPointer: cursors, lens, flashlight, measuring tool, a tutorial's
// lock); the flights of found objects and their decoration
// (PlayFieldFlights); the reading of a press (PlayFieldClicks). The loader
// (PlayFieldLoader) builds the scene from its file, and the state writer
// (PlayFieldStateWriter) writes it back for a resume. The players, the shared
// timer, the clue targets and the panel's edge come from the SceneContext the
// maker hands in.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"
#include "entities/core/Listeners.h"
#include "entities/widgets/CGUIEntity.h"
#include "profiles/SharedTimer.h"
#include "scene/ListenerEvents.h"
#include "scene/PlayFieldClicks.h"
#include "scene/PlayFieldFlights.h"
#include "scene/PlayFieldLoader.h"
#include "scene/PlayFieldPointer.h"
#include "scene/SceneContext.h"
#include "scene/SceneKind.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"
#include "scene/SceneRules.h"

class Player;
class hgeParticleSystem;
class hgeSprite;
class Inventory;
class PSLayer;
class SceneObjectsLayer;

class PlayField : public ZOLTFramework::CGUIEntity, public SceneObjectKeeper {
public:
    using ECursorType = PlayFieldPointer::ECursorType;
    using CursorState = PlayFieldPointer::CursorState;
    static constexpr ECursorType CURSOR_PLAIN = PlayFieldPointer::CURSOR_PLAIN;
    static constexpr ECursorType CURSOR_MAGNIFYING_GLASS = PlayFieldPointer::CURSOR_MAGNIFYING_GLASS;
    static constexpr ECursorType CURSOR_HELD_ITEM = PlayFieldPointer::CURSOR_HELD_ITEM;

    static constexpr float kLensScale = PlayFieldPointer::kLensScale;
    // The depth of the flashlight's dark in a dark scene: over everything
    // else of the field.
    static constexpr float kDarkDepth = PlayFieldPointer::kDarkDepth;
    static constexpr float kScreenToScene = SceneObject::kScreenToScene;

    // Builds the field, adds it to the entity manager and loads the scene. The
    // listener may be null (a field made by a script); the context gives the
    // player whose state the field saves, the timer and the clue targets. A
    // field made by a script has none: it saves nothing and runs its delayed
    // calls on a timer of its own.
    PlayField(const std::string& scenePath, ZOLTFramework::CQuestionListener* listener,
              const SceneContext& context = SceneContext());
    ~PlayField() override;

    // Steps: mouse dispatch (the clicks of the frame); unless paused, the
    // timers, the flashlight and the measuring tool, the hover cursor, the
    // flights that start, the replay of held-back clicks, the decoration
    // (below), the lens and the held item; always the bag's own step. While
    // the field is paused its decoration still plays out, stepped from an
    // entity outside it: the tails handed to the particle layer and the pick
    // and miss bursts run on and go once spent; the game itself stays still.
    void Update(float dt) override;
    void Render() override;
    void GotFocus() override;
    void LostFocus() override;
    void OnLeftButton(bool down) override;
    // A press puts a held item back or a taken glass away, or takes the glass.
    void OnRightButton(bool down) override;
    void OnMouseOver(bool entered) override;
    // Children follow; the hit rectangle stays right of the panel.
    void OnMove() override;

    // ---- scene file
    // Reads the scene file and builds the scene from it; the constructor calls
    // it once.
    void LoadScene(const std::string& path);

    // The line between the halves of a difference picture, at scene y 367.
    void AddDividingLine();

    // ---- cursor, panel, lens
    void SetCursor(ECursorType kind, const std::string& spriteName, const std::string& itemName);
    // Sends "ShowPanel", enables input and fires the conditions without a
    // condition; the cursors become opaque.
    void ShowPanel();
    // True when the mouse is over an opaque texel (alpha above 0x3C) of an
    // object named by a tool task.
    bool CheckHoverObject() const { return pointer->CheckHoverObject(); }
    SceneObject* FindObjectByName(const std::string& objectName) const { return objects.Find(objectName); }
    // Marks the object as put off for later with its particle effect.
    void StartSolveLaterEffect(SceneObject* object);
    // The first scene object is fully faded in; a scene without objects (all
    // taken) counts as shown.
    bool IsFullyShown() const { return objects.FullyShown(); }

    // A scene object of the field is being deleted: every list lets it go.
    void ForgetObject(SceneObject* object) override;

    // ---- clicks
    // The clickable object under the scene point (a ring of samples around
    // it, opaque texels only, topmost first), or null.
    SceneObject* FindObjectAt(float sceneX, float sceneY) { return clicks->FindObjectAt(sceneX, sceneY); }
    // The click on one object: tasks, tools, conditions, flights and scores.
    void OnObjectClick(SceneObject* object);
    // Particles and sound at the screen point (and its mirror in a split picture).
    void StartObjectMissEffect(float screenX, float screenY);
    // Speed timer to 0, then the score pop-up under the field, kept in the
    // part of the screen the scene shows in.
    void ResetAndForward(float score, float x, float y, const std::string& caption, int kind);
    // The screen x right of which the scene shows: the panel's right edge as
    // it stands in its slide (never left of the screen).
    float SceneLeft() const;

    // ---- flights
    // Queues the flight to the scene point: the object pulses 1.2 s first
    // (0.1 s without a pulse while the mouse is over the bag); one more open
    // item. The arrival runs once: with the object when it gets there, with
    // null when the object or its path went on the way.
    void QueueObjectFlight(SceneObject* object, float targetX, float targetY,
                           std::function<void(SceneObject*)> onArrival, bool intoInventory);
    // Opens the bag and flies the object into its next slot; on arrival the
    // bag takes it (OnTaskChanged with the tool and task names).
    void SendObjectToInventory(SceneObject* object, const std::string& toolName, const std::string& taskName);
    // Arrival at the panel: the open item back, "TaskChanged", the tail handed
    // to the particle layer, the object dies, the win check. `glass`: the
    // object is the magnifying glass ("AddMagnifyingGlass" follows).
    void AddMagnifyingGlass(SceneObject* object, std::string taskName, bool glass);
    // Arrival of an object that grants cigars.
    void AddCigars(int count, SceneObject* object, std::string taskName);
    // The scene point a found object of the task flies to.
    void GetPanelTarget(const std::string& taskName, float* sceneX, float* sceneY) const;
    // The game is ending: everything on its way arrives now, in the order it
    // left, so that a find keeps its count, cigars reach the count and an item
    // its place in the bag.
    void LandFlights() { flights->Land(); }
    const std::list<FlightRecord>& GetFlights() const { return flights->Records(); }
    const std::list<hgeParticleSystem*>& GetParticleSystems() const { return flights->Tails(); }

    // ---- hints and tutorials
    void ShowObjectPointer(SceneObject* object, float angle) { pointer->PointAt(object, angle); }
    SceneObject* FindHintObject();
    void ShowHintTutorial();
    // A task name locks the clicks on its first object; "" ends the lock.
    void ShowExtraCigarTutorial(const std::string& taskName);
    unsigned GetItemCount(const std::string& name) const { return rules.ItemCount(name); }
    SceneObject* FindMagnifyingGlassObject() const { return objects.FindByResource("MagnifyingGlass"); }
    hgeSprite* GetTaskSprite(const std::string& taskName) const;

    // ---- delayed tasks (a click that waits for a mini-game)
    // After "MiniGameFinished" (skipped false) or "MiniGameSkip" (true).
    void UpdateDelayedTasks(const std::string& miniGameFile, bool skipped);
    // After "MiniGameSolveLater".
    void RefreshDelayedTasks(const std::string& miniGameFile);
    void ProcessDelayedTasks();

    // ---- rules
    // The open task of that name (an empty record when none is open).
    TaskRecord GetTask(const std::string& taskName) const { return rules.Task(taskName); }
    // The conditions that name the task among their finished tasks.
    std::vector<ConditionRecord> GetConditionsFor(const std::string& taskName) const {
        return rules.ConditionsFor(taskName);
    }
    // Forgets the first waiting click of the task.
    void RemoveDelayedTask(const std::string& taskName) { rules.RemoveDelayedTask(taskName); }
    // An object of a task was taken with a tool into the bag.
    void OnTaskChanged(SceneObject* object, std::string toolName, std::string taskName);
    // Sends the "OnWin" actions and "Win" when every task is done.
    void CheckWin();
    void CheckFinished();
    bool AreTasksDone() const { return rules.Done(); }
    unsigned CountObjectsToFind() const { return rules.CountToFind(objects.Names()); }
    std::vector<TaskRecord> GetTasksMatching(const std::string& objectName) const {
        return rules.TasksMatching(objectName);
    }

    // ---- saved state
    // Writes the scene as it stands, with the player's values of the level
    // (LevelProgress), to the active player's state file and makes it the
    // player's scene in progress; a finished scene writes nothing. False (with
    // an Error row saying what Continue will open) when the state could not be
    // written: the player then names what it named before.
    bool SaveState();
    static std::string StateFilePath(const std::string& saveFile);
    // The player's level in progress is over (won, lost or left): it is named
    // no more; the next save of the players removes its state file.
    static void ForgetStateFile(Player& player);

    // ---- script
    // Registers the script class "PlayField" (again after the script state
    // was reopened); true.
    static bool RegisterLua();

    // ---- accessors
    // The rules as they stand (tasks, counters, conditions...), for reading.
    const SceneRules& Rules() const { return rules; }
    // The kind of the scene, as its file says.
    const SceneKind& Kind() const { return *sceneKind; }
    // The root of the scene document the field was built from (read once; the
    // saved state is written from it).
    const XMLDocument::XMLElement& SceneRoot() const { return *sceneDocument.GetRoot(); }
    bool IsPlaying() const { return playing; }
    void PauseInventory();
    Inventory* GetInventory() const { return bag; }
    PSLayer* GetParticleLayer() const { return &flights->TailLayer(); }
    const std::vector<SceneObject*>& GetSceneObjects() const { return objects.All(); }
    const CursorState& GetCursor() const { return pointer->Cursor(); }
    const std::string& GetNextScene() const { return heading.nextScene; }
    void SetKeepResources(int value) { keepResources = value; }

private:
    // The pointer and the clicks, on the scene's kind.
    void MakeParts();
    SharedTimer& Clock() { return context.timer ? *context.timer : ownTimer; }
    void ShowTitleOrPanel(const std::string& titleKey);
    // The parts of a click on one object: a task found with the held item (the
    // click ends there), a tool into the bag, and the outcome of the rest.
    void PlayToolUsed(SceneObject* object, const SceneRules::TaskPass& pass, const CursorState& held);
    void ShakeShopOwner(SceneObject* object);
    void SendToolToInventory(SceneObject* object, const SceneRules::TaskPass& pass);
    void PlayClickOutcome(SceneObject* object, const SceneRules::ClickOutcome& outcome);
    void StartPickEffect(SceneObject* object);
    void ScoreFind(SceneObject* object);
    // The win is checked a second from now; input waits for it.
    void QueueWinCheck();
    // The scene's title goes (the scene is won).
    void DropTitle();
    static constexpr const char* kTitleName = "SceneTitle";
    // Clicks held back on the way replay, first first.
    void ReplayDelayedTasks();

    SceneContext context;
    ListenerEvents events;
    SharedTimer ownTimer;  // used only without a shared timer
    std::string scenePath;
    SceneHeading heading;
    int keepResources = 0;
    XMLDocument sceneDocument{"scene"};
    std::unique_ptr<SceneKind> sceneKind;
    SceneRules rules;
    SceneObjectList objects;
    SceneObjectsLayer* objectsLayer = nullptr;  // a part of the field
    Inventory* bag = nullptr;                   // a part of the field
    // Made by the constructor once what each uses stands; the pointer and the
    // clicks once the scene's kind is known.
    std::optional<PlayFieldFlights> flights;
    std::optional<PlayFieldPointer> pointer;
    std::optional<PlayFieldClicks> clicks;
    float panelWidth = 0.0f;
    float speedTimer = 10.0f;  // since the last score
    bool panelShown = false;   // input enabled
    bool playing = true;
};
