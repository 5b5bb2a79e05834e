// The users file: one "Player" element per player below the root "Players",
// with the player's counters as attributes, in this order: "Name",
// "SaveFile", "IsActive", "Time", "ScoreItems", "ScoreSpeed",
// "ScoreMiniGames", "ScoreNode", "CigarCount", "LastSolvedNode",
// "RelaxedMode". Scores are written as unsigned decimals of their 32-bit
// values, the cigar count signed; either form reads back. A number out of its
// range reads as the nearest end of it (the cigars at most
// FileNumbers::kMaxCount, the time at least 0); one that is no finite float
// leaves the counter at its default; each with a Warning row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/XMLDocument.h"

class Player;

namespace UsersDocument {

extern const char* const kRoot;
extern const char* const kPlayer;
// A longer "Name" is cut to this many characters at load, with a Warning row.
constexpr std::size_t kMaxName = 64;

// The "Player" element of a player.
RefPtr<XMLDocument::XMLElement> Write(const Player& player);

// A new player from a "Player" element. Null, with the reason, when "Name"
// or "SaveFile" is missing or empty. Missing counters keep the defaults of a
// new player.
std::unique_ptr<Player> Read(const XMLDocument::XMLElement& element, std::string& problem);

}  // namespace UsersDocument
