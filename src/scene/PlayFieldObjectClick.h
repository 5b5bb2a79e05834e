// The click on one scene object, played out: the rules say what it takes
// (SceneRules::Click) and ask, in their order, for what it does on the scene:
// a task found with the held item ends it (the item leaves the hand; while a
// mini-game waits it goes back into the bag, and a tool's stand-ins fade with
// its target), a tool lying in the scene flies into the bag, a find flies to
// its clue on the panel or to the cigars with a pick burst, and a find scores
// (the speed bonus within 2 s of the last score, then the item's 500). It also
// replays the clicks that were held back on the way, first first.
//
// The click hangs what it makes from the field and is handed the field's
// parts it uses; the steps the field names (the flights, the bag, the
// arrivals, the score pop-up, the win check) it asks of the field.
#pragma once

#include <functional>
#include <string>

#include "scene/PlayFieldPointer.h"
#include "scene/SceneRules.h"

namespace ZOLTFramework {
class CEntity;
}

struct ClueTargets;
class Inventory;
class PlayFieldFlights;
class SceneObject;
class SceneObjectList;
class SceneObjectsLayer;

class PlayFieldObjectClick final : private SceneRules::ClickPlay {
public:
    // The field's own steps the click takes.
    struct FieldSteps {
        // The click on an object, as the field takes it (a held-back click replays so).
        std::function<void(SceneObject*)> click;
        // The object flies into the bag for the tool and task.
        std::function<void(SceneObject*, const std::string&, const std::string&)> sendToInventory;
        // The object flies to the scene point; the arrival gets it (null when
        // it went on the way).
        std::function<void(SceneObject*, float, float, std::function<void(SceneObject*)>)> queueFlight;
        // Arrivals at the panel (task, the object is the glass) and at the
        // cigars (count, task).
        std::function<void(SceneObject*, const std::string&, bool)> arriveAtPanel;
        std::function<void(int, SceneObject*, const std::string&)> arriveAtCigars;
        // The score pop-up (score, screen x and y, caption, kind); the speed
        // timer starts again.
        std::function<void(float, float, float, const std::string&, int)> score;
        // The win is checked a second from now.
        std::function<void()> queueWinCheck;
    };

    // `panelWidth`: the width of the panel's picture, whose middle the finds
    // fly to; `speedTimer`: the field's seconds since the last score.
    PlayFieldObjectClick(ZOLTFramework::CEntity& field, SceneObjectsLayer& layer, SceneRules& rules,
                         SceneObjectList& objects, PlayFieldPointer& pointer, PlayFieldFlights& flights, Inventory& bag,
                         SceneRules::Events& events, const ClueTargets* clues, float panelWidth,
                         const float& speedTimer, FieldSteps steps);

    // The click on the object (none for a null or dead one).
    void Play(SceneObject* object);
    // The clicks held back on the way that are listed now replay, first
    // first, each as the field's click.
    void ReplayDelayed();

private:
    void ToolUsed(SceneObject* object, const SceneRules::TaskPass& pass) override;
    void TasksTaken(SceneObject* object, int count) override;
    void ToolToBag(SceneObject* object, const SceneRules::TaskPass& pass, std::string& picture, float& scale) override;
    void Outcome(SceneObject* object, const SceneRules::ClickOutcome& outcome) override;

    void ShakeShopOwner(SceneObject* object);
    void StartPickEffect(SceneObject* object);
    void ScoreFind(SceneObject* object);
    // The scene point a find of the task flies to: its clue's line, or the
    // panel's default line.
    void GetPanelTarget(const std::string& taskName, float* sceneX, float* sceneY) const;

    ZOLTFramework::CEntity& field;
    SceneObjectsLayer& layer;
    SceneRules& rules;
    SceneObjectList& objects;
    PlayFieldPointer& pointer;
    PlayFieldFlights& flights;
    Inventory& bag;
    SceneRules::Events& events;
    const ClueTargets* clues;
    float panelWidth;
    const float& speedTimer;
    FieldSteps steps;
    // The cursor as the click found it.
    PlayFieldPointer::CursorState held;
};
