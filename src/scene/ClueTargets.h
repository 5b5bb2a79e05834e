// Where a found object flies on the clue list: the level that shows the clues
// answers for the field.
#pragma once

#include <string>

struct ClueTargets {
    // The screen line of the task's clue; false when the task shows none.
    virtual bool ClueTarget(const std::string& task, float& screenY) const = 0;

protected:
    ~ClueTargets() = default;
};
