// The play field's parts, each a view over one field that does one job for
// it: the clicks and their effects, the flights and the decoration, the scene
// loader, the state file writer, and the pointer (hover cursor, held item,
// measuring tool, lock). Made on the spot (PlayFieldClicks(*field).X(...)),
// they keep nothing of their own; the field stays the front the level and the
// scripts talk to. Only the field's own sources include this header.
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "scene/PlayField.h"

class PlayFieldClicks {
public:
    explicit PlayFieldClicks(PlayField& owner) : field(&owner) {}
    void RemoveFromScene(SceneObject* object);
    void StartPickEffect(SceneObject* object);
    void QueueWinCheck();
    SceneObject* FindPartner(SceneObject* object) const;
    void ResolveDifference(SceneObject* hit, float sceneX, float sceneY, float screenX, float screenY);
    // The effects of a task found with the held item (the click ends there).
    void PlayToolUsed(SceneObject* object, const SceneRules::TaskPass& pass, const PlayField::CursorState& held);
    void ShakeShopOwner(SceneObject* object);
    void SendToolToInventory(SceneObject* object, const SceneRules::TaskPass& pass);
    void PlayClickOutcome(SceneObject* object, const SceneRules::ClickOutcome& outcome);
    void ScoreFind(SceneObject* object);
    // Clicks held back on the way replay, first first.
    void ReplayDelayedTasks();

private:
    PlayField* const field;
};

class PlayFieldFlights {
public:
    explicit PlayFieldFlights(PlayField& owner) : field(&owner) {}
    void HandOverTail(SceneObject* object);
    // The path of the flight reached its end.
    void ArriveFlight(unsigned id);
    // Ends the flights that can no longer arrive, then starts those whose
    // pulse is over.
    void StartFlights(float dt);
    void DropSpentParticleSystems(float dt);
    // Steps the tails (and the bursts too when the field is paused, as the
    // manager steps them otherwise), then drops the spent ones.
    void PlayOutDecoration(float dt, bool paused);
    // The bag takes the item (its picture, object name and scale): the open
    // item back, the tool record gone, the object (when given) dies,
    // "TaskChanged" for the task.
    void ReceiveItem(const std::string& sprite, const std::string& objectName, float scale, SceneObject* object,
                     const std::string& toolName, const std::string& taskName, bool returnsOpenItem = true);

private:
    PlayField* const field;
};

class PlayFieldLoader {
public:
    explicit PlayFieldLoader(PlayField& owner) : field(&owner) {}
    void ReadHeader(const XMLDocument::XMLElement& root, const std::string& path);
    void ReadObjects(const XMLDocument::XMLElement& root, const std::string& path);
    void ReadRules(const XMLDocument::XMLElement& root, const std::string& path, const ActionTable& actions);
    void BuildMeasuringTool();
    void ShowTitleOrPanel(const std::string& titleKey);

private:
    PlayField* const field;
};

class PlayFieldStateWriter {
public:
    explicit PlayFieldStateWriter(PlayField& owner) : field(&owner) {}
    void WriteRules(XMLDocument::XMLElement& root) const;
    void WriteBag(XMLDocument::XMLElement& root) const;

private:
    PlayField* const field;
};

class PlayFieldPointer {
public:
    explicit PlayFieldPointer(PlayField& owner) : field(&owner) {}
    // The timer of the delayed calls: the shared one handed in, else the field's own.
    ZOLTFramework::GameManager::Timer* DelayedCalls();
    void UpdateMeasuringTool(float mx, float my);
    void UpdateHoverCursor(float dt);
    void PutHeldItemBack(float mx, float my);
    // A "LockingTask" value: the task's first object alone can be clicked,
    // with the pointer above it.
    void LockOnTask(const std::string& value);

private:
    PlayField* const field;
};
