// What the maker of a play field hands it: the player whose state the field
// saves and reads, the shared timer its delayed calls run on, and the clue
// targets of the panel. None is owned; any may be null (a field without a
// player saves nothing, one without a timer runs its delayed calls at once,
// one without clue targets flies found objects to the panel's default line).
#pragma once

class Player;
class SharedTimer;
struct ClueTargets;

struct SceneContext {
    Player* player = nullptr;
    SharedTimer* timer = nullptr;
    const ClueTargets* clues = nullptr;
};
