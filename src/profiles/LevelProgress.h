// What a level in progress has changed of the player since its place began,
// kept with whatever names the level for Continue: the scores of the scene so
// far, the node's score of the place's scenes won before it, the clock, the
// cigars and, in a state file, the evidences the place has put into the bag.
//
// The users file holds these values too, but a save writes it last (the state
// file first, then the profile documents): were the values only there, a save
// cut between two files would pair a level with the scores of another moment,
// losing finds or counting them twice. So the profile's "play_field" element
// carries them for the level it names, and a state file carries them for the
// scene it holds; Continue takes them from the one that names the level.
//
//   profile:    <play_field path=".." node=".." Time=".." CigarCount=".."
//                           ScoreItems=".." ScoreSpeed=".." ScoreMiniGames=".." ScoreNode=".."/>
//   state file: <scene ...the scene root's own attributes...>
//                   ...
//                   <level_progress Time=".." CigarCount=".." ScoreItems=".." ScoreSpeed=".."
//                                   ScoreMiniGames=".." ScoreNode="..">
//                       <temp_evidence name=".."/> ...       (the place's evidences)
//                       <temp_last_evidence name=".."/> ...  (those not yet seen in the bag)
//                   </level_progress>
//               </scene>
//
// Numbers are decimal; Time is seconds left, ScoreNode the node's score before
// this scene. A file without them (written before they were kept) leaves the
// player's values as the users file gave them.
#pragma once

#include <string>

#include "engine/XMLDocument.h"

class Player;

namespace LevelProgress {

// The element of a state file (a child of its root) that holds the values.
extern const char* const kStateElement;

// Adds the six values to the element as attributes.
void WriteValues(const Player& player, XMLDocument::XMLElement& element);

// Each of the six attributes the element has replaces the player's value,
// held to its range (a Warning row for one out of it or no number; see
// FileNumbers::Saved). True when the element had any of them.
bool ReadValues(const XMLDocument::XMLElement& element, Player& player, const std::string& who);

// The state file's progress element, written anew below its root: the values
// and the place's evidences.
void WriteState(const Player& player, XMLDocument::XMLElement& stateRoot);

// The values and the place's evidences from the state file's progress
// element. False, and the player as it was, when the state has none.
bool ReadState(const XMLDocument::XMLElement& stateRoot, Player& player, const std::string& who);

}  // namespace LevelProgress
