// Where each action of a scene's task conditions stands, and whether the game
// acts on it there. The loader takes a condition's first "IgnoreAdding" and
// first "IgnoreHinting". The rest stand where their condition fires:
//   - an opening condition (no finished task) sends its actions to the level
//     as the panel opens; the field also acts on "LockingTask";
//   - an "OnWin" condition sends its actions to the level with the win;
//   - a finished task's condition: the field acts on "AddCigars",
//     "EnableHinting" and "MiniGame" and forwards the rest to the level;
//   - the task of a tool lying in the scene runs its conditions as the tool
//     is picked up: the tool flies into the bag, so cigars cannot fly to the
//     counter, and no click waits for a mini-game: neither is given (the game
//     drops both with a Warning row; the task counts down with the pick-up);
//   - a tool task's own condition gives only the mini-game its held-back
//     click waits for (its first action, for a task neither "And" nor "Or")
//     and "EnableHinting";
//   - a condition that names a task the scene lacks, or a task neither
//     "And" nor "Or" that needs no tool, never fires.
// What the level acts on is its table of events (LevelScreen::HandlesEvent).
// Tools are matched as the game matches them: a task's "tool_to_find"
// containing the object's name.
#pragma once

#include <string>
#include <vector>

#include "engine/XMLDocument.h"

namespace contenttest {

enum class Stand { Load, Opening, OnWin, FinishedTask, ToolPickUp, ToolTask, Never };

// A row of the table of stands, as printed.
struct StandRow {
    Stand stand;
    const char* where;
    const char* handled;
};
const std::vector<StandRow>& Stands();

struct SceneAction {
    std::string when;  // the condition's finished tasks, "-" for none
    std::string type, value;
    Stand stand = Stand::Never;
    std::string actor;    // "load", "field" or "level"; empty when nothing acts on it
    std::string problem;  // why nothing acts on it; empty when something does
};

// Every action of the scene's task conditions, in file order.
std::vector<SceneAction> ReadSceneActions(const XMLDocument::XMLElement& root);

const char* StandName(Stand stand);

}  // namespace contenttest
