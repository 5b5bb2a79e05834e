// The users file: one "Player" element per player below the root "Players",
// with the player's counters as attributes, in this order: "Name",
// "SaveFile", "IsActive", "Time", "ScoreItems", "ScoreSpeed",
// "ScoreMiniGames", "ScoreNode", "CigarCount", "LastSolvedNode",
// "RelaxedMode". Scores and cigars are written as unsigned decimals of their
// 32-bit values; the cigar count is written signed.
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

// "CigarCount": a whole number signed or as the unsigned decimal of its 32-bit
// value (older files wrote negative counts so); other text through a float,
// truncated toward zero ("-3.9" is -3). Beyond the 32-bit range, or no number: 0.
int32_t CigarsFromText(const std::string& text);
// "Time": text that is no finite float (beyond the float range too) reads as 0.
float TimeFromText(const std::string& text);

}  // namespace UsersDocument
