// Reads a scene document into a play field: the root's heading and kind, the
// scene objects (entities hung from the field, faded in, in file order, each
// published to scripts as "PlayField_" + name), the rules (tasks, conditions
// with their actions resolved through the action table, pairs), the objects
// put off for later and the tools that start in the bag. What a file leaves
// out is reported with an Error row naming the file, the element and the
// attribute or child, and a default is used.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"

namespace ZOLTFramework {
class CEntity;
}

class ActionTable;
class Inventory;
class SceneKind;
class SceneObject;
class SceneObjectList;
class SceneObjectsLayer;
class SceneRules;
class SharedTimer;

// What a scene file's root says besides its objects and rules.
struct SceneHeading {
    int resourceGroup = -1;  // "res_group"; below LiveGroups::kFirstSceneGroup a shared group
    std::string nextScene;   // "SceneToLoadOnFinish": the scene the level goes on with ("" for none)
    // The sewer door: a dark scene lit by the flashlight.
    bool dark = false;
    // The crime place played afresh (not resumed from a state): its mini-game
    // opens when the field first gets the focus.
    bool opensMiniGame = false;
};

// A task that can never count down: a click counts an item only on an object
// placed in the scene (an object naming no unit is not placed). The game's
// own "Dummy" task of its states lists no item and is none.
struct StuckTask {
    std::string task;
    bool noItem = false;  // the task lists no item at all
    std::string item;     // else its item that names no placed object
};

class PlayFieldLoader {
public:
    PlayFieldLoader(const XMLDocument::XMLElement& sceneRoot, const std::string& scenePath)
        : root(sceneRoot), path(scenePath) {}

    // `resumedPath`: the state file the player's scene in progress was read
    // from ("" for none). The starting cigars and elapsed time are read and
    // take no effect.
    SceneHeading ReadHeading(const std::string& resumedPath) const;
    // The kind the root's "type" names (SceneKind::Of).
    std::unique_ptr<SceneKind> ReadKind() const;
    // The objects, on `layer` and `clock`, appended to `objects`; an object
    // naming no unit is skipped. `measuringUnit` runs for each unit drawn as
    // the measuring tool.
    void BuildObjects(ZOLTFramework::CEntity& field, SceneObjectsLayer& layer, SharedTimer& clock,
                      SceneObjectList& objects, const std::function<void()>& measuringUnit) const;
    // Tasks, conditions and pairs, in file order; a stuck task gets a Warning
    // row and is kept, as the file has it.
    void ReadRules(const ActionTable& actions, SceneRules& rules) const;
    // The tasks that can never count down, in file order.
    std::vector<StuckTask> StuckTasks() const;
    // Each "solve_later_object": its object put off with `putOff`; a name that
    // names no object is skipped (Warning row).
    void PutOff(const SceneObjectList& objects, const std::function<void(SceneObject*)>& putOff) const;
    // Each "tool" goes into the bag.
    void FillBag(Inventory& bag) const;

private:
    const XMLDocument::XMLElement& root;
    const std::string path;
};
