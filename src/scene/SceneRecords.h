// The rules of a scene as plain records read from the scene file: tasks, the
// delayed tasks that wait for a mini-game, task conditions with their actions,
// tools, pairs of a find-the-differences picture, units (the graphics objects
// refer to) and per-task counters. All are copied by value; none looks into
// an entity.
#pragma once

#include <string>
#include <vector>

class SceneObject;

// The task a scene may hold to keep itself open (the game's states keep it):
// it names no object and shows no clue.
constexpr const char* kDummyTask = "Dummy";

// One "task": what the player must find.
struct TaskRecord {
    std::string name;          // "name"
    std::string textSingular;  // "text_singular": text key of the label for one object
    std::string textPlural;    // "text_plural": label for several objects
    std::string type;          // "type": "And", "Or" or another value
    std::string toolToFind;    // "tool_to_find": held item that must be used on the objects
    std::string toolSprite;    // "tool_sprite"
    std::vector<std::string> objectNames;  // the objects still to be found, in file order
};

// A task that comes into play later, with the scene object it puts into play.
struct DelayedTaskRecord : TaskRecord {
    // The object the click was on, as an identity only (the rules never look
    // into it); not owned; null once processed.
    SceneObject* sceneObject = nullptr;
    // Set on an entry whose tool task started a mini-game; while the last
    // delayed task is locking, a task change raises no "TaskChanged".
    bool locking = false;
};

// One (event, value) pair of a condition; the value is resolved through the
// action table.
struct ActionRecord {
    std::string event;  // "type"
    std::string value;  // "name", or the action table's text for (type, name)
};

// One "task_condition": the actions sent when its tasks are finished ("OnWin":
// when the scene is won; no condition: when the panel opens).
struct ConditionRecord {
    std::vector<std::string> conditions;  // "finished_task" names
    std::vector<ActionRecord> actions;
};

// An item in, or flying into, the bag ("tool" elements use the same four values).
struct ToolRecord {
    std::string spriteName;  // "spr_name"
    std::string objectName;  // "obj_name"
    std::string toolName;    // "tool_name"
    float scale = 1.0f;      // "scale"
};

// The twin objects of one difference.
struct PairRecord {
    std::string firstName;   // "name1"
    std::string secondName;  // "name2"
};

// A graphic that objects refer to by its "id".
struct UnitRecord {
    std::string resourceName;  // "sprite" or "animation"
    bool isAnimation = false;
    float pause = 0.0f;        // "delay"
    float startDelay = 0.0f;   // "start_delay"
    bool restOnLastFrame = false;  // "last_frame_on_delay" present
};

// Progress of an "And" task: how many of its objects are still to be found.
struct CounterRecord {
    int count = 0;
    std::string textSingular;
    std::string textPlural;
};
