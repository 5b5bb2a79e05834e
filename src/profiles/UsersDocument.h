// The users file: one "Player" element per player below the root "Players",
// with the player's counters as attributes, in this order: "Name",
// "SaveFile", "IsActive", "Time", "ScoreItems", "ScoreSpeed",
// "ScoreMiniGames", "ScoreNode", "CigarCount", "LastSolvedNode",
// "RelaxedMode". Scores and cigars are written as unsigned decimals of their
// 32-bit values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/XMLDocument.h"

class Player;

namespace UsersDocument {

extern const char* const kRoot;
extern const char* const kPlayer;

// The "Player" element of a player.
RefPtr<XMLDocument::XMLElement> Write(const Player& player);

// A new player from a "Player" element. Null, with the reason, when "Name"
// or "SaveFile" is missing or empty. Missing counters keep the defaults of a
// new player.
std::unique_ptr<Player> Read(const XMLDocument::XMLElement& element, std::string& problem);

// "CigarCount" as written: read through a float and truncated toward zero.
// A count outside 0 to INT32_MAX (a negative count written unsigned, or a
// hand edit) reads as 0, as does text that is no number.
int32_t CigarsFromText(const std::string& text);

}  // namespace UsersDocument
