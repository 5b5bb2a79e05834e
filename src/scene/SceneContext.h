// What the maker of a play field hands it: the player whose state the field
// saves and reads, the shared timer its delayed calls run on, the clue
// targets of the panel and the panel's edge. None is owned; any may be null (a
// field without a player saves nothing, one without a timer runs its delayed
// calls on a timer of its own, one without clue targets flies found objects to
// the panel's default line, one without a panel edge takes the panel as
// standing in).
#pragma once

class Player;
class SharedTimer;
struct ClueTargets;
struct PanelEdge;

struct SceneContext {
    Player* player = nullptr;
    SharedTimer* timer = nullptr;
    const ClueTargets* clues = nullptr;
    const PanelEdge* panel = nullptr;
};
