// What the level's panel and windows see of a play field: what they show
// (the clue counters, the scene's kind, how many things are left to find,
// whether the glass is still to be found, the picture of a task, the scene
// that follows) and whether the field is live, read only. Nothing of the
// field's input or of what changes it: the level does that. A view made
// before the level has a field sees none (HasField), and is asked nothing
// else then.
#pragma once

#include <map>
#include <string>

#include "scene/SceneRecords.h"

class hgeSprite;
class PlayField;
class SceneKind;

class PlayFieldView {
public:
    PlayFieldView() = default;
    explicit PlayFieldView(const PlayField& seen) : field(&seen) {}

    bool HasField() const { return field != nullptr; }
    // The counters of the "And" tasks by task name, as the rules keep them.
    const std::map<std::string, CounterRecord>& Counters() const;
    const SceneKind& Kind() const;
    // The things the tasks still ask for (the second of a pair not).
    unsigned CountObjectsToFind() const;
    // The magnifying glass lies in the scene, to be found first.
    bool HasGlassToFind() const;
    // The picture of the task's first thing as the scene shows it, or null.
    const hgeSprite* TaskSprite(const std::string& taskName) const;
    // The depth above everything the field draws, its dark included.
    float TopDepth() const;
    // The field takes input now: enabled, alive, not paused itself.
    bool IsLive() const;
    // The scene the level goes on with, "" when it ends the place.
    const std::string& NextScene() const;

private:
    const PlayField* field = nullptr;
};
