// The reset of the active player when a new game starts from the main menu.
#pragma once

class Player;

namespace NewGame {

// The map node every new game starts from.
constexpr const char* kStartNode = "NodeBrannoksHouse";

// Resets the player's progress for a new game: the time, the map-seen flag,
// the four scores, the scene in progress, the global-map record (which then
// holds only the start node, at score 0), the evidence lists, the medals, the
// last solved node and a story's end still due. The cigars and the temporary evidence lists stay.
void ResetPlayer(Player& player, bool relaxed);

}  // namespace NewGame
