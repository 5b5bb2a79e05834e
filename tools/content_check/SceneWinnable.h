// Whether the player can win a scene as the game plays it. Each fault found
// is one that leaves the level open for ever:
//   - a task that can never count down, as the loader warns of it
//     (PlayFieldLoader::StuckTasks): no item, or an item that names no object
//     placed in the scene;
//   - a tool task whose tool the player can never hold. A tool is held only
//     from the bag, and reaches it either from a "tool" element (held by its
//     "obj_name") or as a placed object the click takes up as a tool: its
//     name is within some task's "tool_to_find", and the click reaches it
//     (its name is listed by a task or is a whole "tool_to_find", or the
//     picture is split). A hint naming a tool makes nothing findable;
//   - tool tasks that use up more copies of a tool than the scene holds. A
//     tool task takes a target with a held item its "tool_to_find" contains,
//     and the item leaves the hand for good, once a target; but a task whose
//     click waits for its mini-game (neither "And" nor "Or", its condition's
//     first action after the load "MiniGame") sends the tool back into the
//     bag and is done whole by the game;
//   - an object a task lists, or a tool lying in the scene, drawn (its
//     picture's rectangle around the hot spot at its x and y) beyond the
//     1024 x 768 picture, or without a picture.
// A scene holding the measuring tool's unit is won by the measure: a task
// waiting for that tool needs no copy of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"

namespace contenttest {

// A picture's size and hot spot, in scene units.
struct Frame {
    float w = 0, h = 0, hotX = 0, hotY = 0;
};
// The frame of a unit's sprite (or animation); false when there is none.
using FrameOf = std::function<bool(const std::string& resource, bool animation, Frame& frame)>;

struct WinFault {
    std::string where;    // "task \"Box\"" or "object \"coin\""
    std::string problem;  // what is wrong, in words
};

// The scene file's faults, in the order of the list above; none for a scene
// the player can win.
std::vector<WinFault> WinFaults(const XMLDocument::XMLElement& root, const std::string& file, const FrameOf& frameOf);

}  // namespace contenttest
