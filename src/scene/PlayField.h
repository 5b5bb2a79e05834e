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
// manager, attached to it. Scripts own neither the field nor its objects.
// The scene's resource group is purged when the field dies (groups of 10 and
// more only: 0 would free every resource, 1 and 2 are start-up groups).
#pragma once

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "entities/core/Listeners.h"
#include "entities/widgets/CGUIEntity.h"
#include "scene/SceneRecords.h"

class hgeAnimation;
class hgeParticleSystem;
class hgeSprite;
class Inventory;
class PSLayer;
class SceneObject;
class SceneObjectsLayer;
class TextEntity;

namespace ZOLTFramework {
class CSpriteEntity;
}

class PlayField : public ZOLTFramework::CGUIEntity {
public:
    enum ECursorType { CURSOR_PLAIN = 0, CURSOR_MAGNIFYING_GLASS = 1, CURSOR_HELD_ITEM = 2 };

    struct CursorState {
        ECursorType kind = CURSOR_PLAIN;
        ZOLTFramework::CSpriteEntity* entity = nullptr;        // the held item at the mouse
        ZOLTFramework::CSpriteEntity* mirrorEntity = nullptr;  // its twin in the other half
        std::string spriteName;
        std::string itemName;
    };

    static constexpr float kLensScale = 1.664f;
    static constexpr float kScreenToScene = 1.28f;
    // Resource groups below this are shared and never purged with a scene.
    static constexpr int kFirstSceneGroup = 10;

    // Builds the field, adds it to the entity manager and loads the scene. The
    // listener may be null (a field made by a script).
    PlayField(const std::string& scenePath, ZOLTFramework::CQuestionListener* listener);
    ~PlayField() override;

    void Update(float dt) override;
    void Render() override;
    void GotFocus() override;
    void LostFocus() override;
    // Children follow; the hit rectangle stays right of the panel.
    void OnMove() override;

    // ---- scene file
    void LoadScene(const std::string& path);

    // ---- cursor, panel, lens
    void SetCursor(ECursorType kind, const std::string& spriteName, const std::string& itemName);
    // Sends "ShowPanel", enables input and fires the conditions without a
    // condition; the cursors become opaque.
    void ShowPanel();
    void AddDividingLine();
    // True when the mouse is over an opaque texel (alpha above 0x3C) of an
    // object named by a tool task.
    bool CheckHoverObject() const;
    SceneObject* FindObjectByName(const std::string& objectName) const;
    // Marks the object as put off for later with its particle effect.
    void StartSolveLaterEffect(SceneObject* object);
    // The first scene object is fully faded in; a scene without objects (all
    // taken) counts as shown.
    bool IsFullyShown() const;

    // ---- rules
    // An object of a task was taken with a tool into the bag.
    void OnTaskChanged(SceneObject* object, std::string toolName, std::string taskName);
    // Sends the "OnWin" actions and "Win" when every task is done.
    void CheckWin();
    void CheckFinished();
    bool AreTasksDone() const;
    unsigned CountObjectsToFind() const;
    TaskRecord GetTask(const std::string& taskName) const;
    void RemoveDelayedTask(const std::string& taskName);
    std::vector<TaskRecord> GetTasksMatching(const std::string& objectName) const;
    std::vector<ConditionRecord> GetConditionsFor(const std::string& taskName) const;

    // ---- saved state
    // Writes the scene as it stands to the active player's state file and makes
    // it the player's scene in progress; a finished scene writes nothing.
    void SaveState();
    static std::string StateFilePath(const std::string& saveFile);
    // Puts the delayed tasks into play.
    void ProcessDelayedTasks();

    // ---- script
    // Registers the script class "PlayField" (again after the script state
    // was reopened); true.
    static bool RegisterLua();

    // ---- accessors
    bool IsPlaying() const { return playing; }
    bool IsPanelShown() const { return panelShown; }
    void PauseInventory();
    Inventory* GetInventory() const { return inventory; }
    SceneObjectsLayer* GetObjectsLayer() const { return objectsLayer; }
    PSLayer* GetParticleLayer() const { return particleLayer; }
    const std::vector<SceneObject*>& GetSceneObjects() const { return sceneObjects; }
    std::map<std::string, CounterRecord>& GetCounters() { return counters; }
    const std::map<std::string, CounterRecord>& GetCountersAtStart() const { return countersAtStart; }
    const std::vector<TaskRecord>& GetTasks() const { return tasks; }
    const std::vector<ConditionRecord>& GetConditions() const { return conditions; }
    const std::vector<PairRecord>& GetPairs() const { return pairs; }
    std::vector<ToolRecord>& GetToolRecords() { return toolRecords; }
    std::vector<DelayedTaskRecord>& GetDelayedTasks() { return delayedTasks; }
    const std::vector<SceneObject*>& GetSolveLaterObjects() const { return solveLaterObjects; }
    const std::set<std::string>& GetIgnoreAdding() const { return ignoreAdding; }
    const std::set<std::string>& GetIgnoreHinting() const { return ignoreHinting; }
    const std::set<std::string>& GetToolTargets() const { return toolTargets; }
    const CursorState& GetCursor() const { return cursor; }
    const std::string& GetScenePath() const { return scenePath; }
    const std::string& GetNextScene() const { return nextScene; }
    int GetSceneKind() const { return sceneKind; }
    int GetResourceGroup() const { return resourceGroup; }
    int GetOpenItems() const { return openItems; }
    void SetOpenItems(int value) { openItems = value; }
    bool IsOpeningMiniGame() const { return openingMiniGame; }
    hgeAnimation* GetPlayCursor() const { return playCursor; }
    hgeAnimation* GetHoverCursor() const { return hoverCursor; }
    ZOLTFramework::CQuestionListener* GetListener() const { return listener; }
    void SetKeepResources(int value) { keepResources = value; }

    // Scene play (clicks, flights, tools and scores) is built on this class:
    // OnLeftButton, OnRightButton and OnMouseOver keep the GUI entity's empty
    // handling until then, and the members below are its state.

protected:
    // Sends (event, value) to the listener, when there is one.
    void Send(const std::string& event, const std::string& value);

    // ---- loading steps
    void BuildMeasuringTool();
    void ShowTitleOrPanel(const std::string& titleKey);

    int keepResources = 0;
    int sceneKind = 0;  // 1: find the differences
    CursorState cursor;
    CursorState savedCursor;
    std::vector<SceneObject*> sceneObjects;  // file order; entities of the manager
    std::vector<PairRecord> pairs;
    std::vector<TaskRecord> tasks;
    std::vector<ConditionRecord> conditions;
    std::vector<ToolRecord> toolRecords;  // items flying into the bag
    std::map<std::string, CounterRecord> counters;
    std::map<std::string, CounterRecord> countersAtStart;
    Inventory* inventory = nullptr;
    std::set<std::string> ignoreAdding;
    std::set<std::string> ignoreHinting;
    std::list<FlightRecord> flights;
    std::list<hgeParticleSystem*> particleSystems;  // owned
    std::vector<DelayedTaskRecord> delayedTasks;
    std::vector<DelayedTaskRecord> solveLaterTasks;
    SceneObjectsLayer* objectsLayer = nullptr;
    PSLayer* particleLayer = nullptr;
    float misclickTimer = 0.0f;
    int misclickCount = 0;
    bool pressSeen = false;
    hgeAnimation* playCursor = nullptr;   // "PlayCursor"
    hgeAnimation* hoverCursor = nullptr;  // "DiffCursor"
    ZOLTFramework::CEntity* objectPointer = nullptr;
    ZOLTFramework::CSpriteEntity* flashlight = nullptr;
    std::set<std::string> toolTargets;               // objects of tasks found with a tool
    std::map<std::string, std::string> toolObjects;  // object to its mock stand-in
    std::string scenePath;
    std::string nextScene;
    SceneObject* pointedOutObject = nullptr;
    std::string pointedOutTask;
    int openItems = 0;
    float speedTimer = 10.0f;
    std::vector<SceneObject*> solveLaterObjects;
    ZOLTFramework::CQuestionListener* listener = nullptr;
    ZOLTFramework::CSpriteEntity* measureCompass = nullptr;
    ZOLTFramework::CSpriteEntity* measureCursor = nullptr;
    ZOLTFramework::CSpriteEntity* measureLine = nullptr;
    TextEntity* measureText = nullptr;
    float measureReferenceX = 351.0f;
    float measureReferenceY = 550.0f;
    int focusCount = 0;
    bool openingMiniGame = false;
    bool cursorReplaced = false;
    bool panelShown = false;  // input enabled
    int resourceGroup = -1;
    bool playing = true;
    std::set<std::string> wantedNames;
    bool mouseOutside = false;
    std::string lastHintedName;
    float panelWidth = 0.0f;
};
