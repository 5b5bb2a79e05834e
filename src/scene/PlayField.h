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
// Parts: the field is the front the level and the scripts talk to; its work
// is done by its parts, each of which owns its own state and is handed only
// what it uses: the rules of the scene (SceneRules, plain data the field asks)
// and its objects (SceneObjectList); the pointer (PlayFieldPointer: cursors,
// lens, flashlight, measuring tool, a tutorial's lock); the flights of found
// objects and their decoration (PlayFieldFlights); the reading of a press
// (PlayFieldClicks); the click on one object, whose steps the rules order
// (SceneRules::Click) and PlayFieldObjectClick plays out, taking the field's
// own steps for its flights, arrivals and scores. The loader
// (PlayFieldLoader) builds the scene from its file, and the state writer
// (PlayFieldStateWriter) writes it back for a resume. The level's panel and
// windows read the field through a PlayFieldView. The players, the shared
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
#include "scene/PlayFieldObjectClick.h"
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
    // The layer the tails of arrived finds fade out on (a PSLayer).
    static constexpr const char* kParticleLayerName = "ParticleLayer";

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
    // A scene object of the field is being deleted: every list lets it go.
    void ForgetObject(SceneObject* object) override;

    // ---- what the level and the scripts ask
    // The cursor of the field (the scripts' "SetCursor"; the bag hands an
    // item to the hand, and takes it back, this way).
    void SetCursor(ECursorType kind, const std::string& spriteName, const std::string& itemName);
    // The first scene object is fully faded in; a scene without objects (all
    // taken) counts as shown.
    bool IsFullyShown() const { return objects.FullyShown(); }
    // The clickable object under the scene point (a ring of samples around
    // it, opaque texels only, topmost first), or null.
    SceneObject* FindObjectAt(float sceneX, float sceneY) { return clicks->FindObjectAt(sceneX, sceneY); }
    // The thing a hint points at: never the one picked last time when there is
    // another (a random pick).
    SceneObject* FindHintObject();
    // The clue list's tutorial, while the glass is still to be found.
    void ShowHintTutorial();
    SceneObject* FindMagnifyingGlassObject() const { return objects.FindByResource("MagnifyingGlass"); }
    // The picture of the task's first thing as the scene shows it, or null.
    hgeSprite* GetTaskSprite(const std::string& taskName) const;
    unsigned CountObjectsToFind() const { return rules.CountToFind(objects.Names()); }
    // After "MiniGameFinished" (skipped false) or "MiniGameSkip" (true).
    void UpdateDelayedTasks(const std::string& miniGameFile, bool skipped);
    // After "MiniGameSolveLater".
    void RefreshDelayedTasks(const std::string& miniGameFile);
    // Sends the "OnWin" actions and "Win" when every task is done.
    void CheckWin();
    // A scene without tasks is checked for the win.
    void CheckFinished();
    // The game is ending: everything on its way arrives now, in the order it
    // left, so that a find keeps its count, cigars reach the count and an item
    // its place in the bag.
    void LandFlights() { flights->Land(); }
    // Writes the scene as it stands, with the player's values of the level
    // (LevelProgress), to the active player's state file and makes it the
    // player's scene in progress; a finished scene writes nothing. False (with
    // an Error row saying what Continue will open) when the state could not be
    // written: the player then names what it named before.
    bool SaveState();
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
    // Not while a win check waits.
    bool IsPlaying() const { return playing; }
    void PauseInventory();
    Inventory* GetInventory() const { return bag; }
    const std::vector<SceneObject*>& GetSceneObjects() const { return objects.All(); }
    const std::string& GetNextScene() const { return heading.nextScene; }
    void SetKeepResources(int value) { keepResources = value; }

private:
    // ---- the scene file
    // Reads the scene file and builds the scene from it; the constructor calls
    // it once.
    void LoadScene(const std::string& path);
    // The pointer and the clicks, on the scene's kind.
    void MakeParts();
    // The line between the halves of a difference picture, at scene y 367.
    void AddDividingLine();
    // Sends "ShowPanel", enables input and fires the conditions without a
    // condition; the cursors become opaque.
    void ShowPanel();

    // ---- objects and clicks
    SceneObject* FindObjectByName(const std::string& objectName) const { return objects.Find(objectName); }
    // True when the mouse is over an opaque texel (alpha above 0x3C) of an
    // object named by a tool task.
    bool CheckHoverObject() const { return pointer->CheckHoverObject(); }
    // Marks the object as put off for later with its particle effect.
    void StartSolveLaterEffect(SceneObject* object);
    // The click on one object: tasks, tools, conditions, flights and scores.
    void OnObjectClick(SceneObject* object);
    // Particles and sound at the screen point (and its mirror in a split picture).
    void StartObjectMissEffect(float screenX, float screenY);
    // Speed timer to 0, then the score pop-up under the field, kept in the
    // part of the screen the scene shows in.
    void ResetAndForward(float score, float x, float y, const std::string& caption, int kind);

    // ---- flights
    // Queues the flight to the scene point: the object pulses 1.2 s first
    // (0.1 s without a pulse while the mouse is over the bag); one more open
    // item. The arrival runs once: with the object when it gets there, with
    // null when the object or its path went on the way.
    void QueueObjectFlight(SceneObject* object, float targetX, float targetY,
                           std::function<void(SceneObject*)> onArrival, bool intoInventory);
    // Opens the bag and flies the object into its next slot (one more open
    // item until it lands); on arrival the bag takes it for the tool and task
    // (OnTaskChanged), and a flight that ends on the way still puts
    // the item in, with the picture, name and scale it left with. A tool
    // picked up and an item put down go this way.
    void SendObjectToInventory(SceneObject* object, const std::string& toolName, const std::string& taskName);
    // Arrival at the panel: the open item back, "TaskChanged", the tail handed
    // to the particle layer, the object dies, the win check. `glass`: the
    // object is the magnifying glass ("AddMagnifyingGlass" follows).
    void AddMagnifyingGlass(SceneObject* object, std::string taskName, bool glass);
    // Arrival of an object that grants cigars.
    void AddCigars(int count, SceneObject* object, std::string taskName);
    // An object of a task was taken with a tool into the bag.
    void OnTaskChanged(SceneObject* object, std::string toolName, std::string taskName);

    // ---- hints and tutorials
    void ShowObjectPointer(SceneObject* object, float angle) { pointer->PointAt(object, angle); }
    // A task name locks the clicks on its first object; "" ends the lock.
    void ShowExtraCigarTutorial(const std::string& taskName);
    unsigned GetItemCount(const std::string& taskName) const { return rules.ItemCount(taskName); }

    // ---- the rules (their work is the rules' own)
    // The open task of that name (an empty record when none is open).
    TaskRecord GetTask(const std::string& taskName) const { return rules.Task(taskName); }
    // The conditions that name the task among their finished tasks.
    std::vector<ConditionRecord> GetConditionsFor(const std::string& taskName) const {
        return rules.ConditionsFor(taskName);
    }
    // The open tasks that name the object.
    std::vector<TaskRecord> GetTasksMatching(const std::string& objectName) const {
        return rules.TasksMatching(objectName);
    }
    // Forgets the first waiting click of the task.
    void RemoveDelayedTask(const std::string& taskName) { rules.RemoveDelayedTask(taskName); }
    bool AreTasksDone() const { return rules.Done(); }
    // The clicks that waited for a mini-game that was put off are listed as
    // put off, their objects sparkling.
    void ProcessDelayedTasks();
    // The win is checked a second from now; input waits for it.
    void QueueWinCheck();

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
    // Made by the constructor once what each uses stands; the pointer, the
    // clicks and the object click once the scene's kind is known.
    std::optional<PlayFieldFlights> flights;
    std::optional<PlayFieldPointer> pointer;
    std::optional<PlayFieldClicks> clicks;
    std::optional<PlayFieldObjectClick> objectClick;
    float panelWidth = 0.0f;
    float speedTimer = 10.0f;  // since the last score
    bool panelShown = false;   // input enabled
    bool playing = true;
};
