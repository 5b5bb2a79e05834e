// A player's profile document: the collections of one player.
//
//   <profile>
//       <global_map> <node name=".." score=".."/> ... </global_map>
//       <play_field path=".." node=".." Time=".." ...>  (only with a scene in progress;
//                                                      see LevelProgress)
//       <evidences> <evidence name=".."/> ... </evidences>
//       <last_evidences>, <temp_evidences>, <temp_last_evidences> alike
//       <medals> <medal id=".."/> ... </medals>
//       <ending> <page path=".."/> ... </ending>     (only while the story's end is due)
//   </profile>
//
// A reader that does not know a section passes it by: a profile without
// "ending" (written before) loads with no end due.
#pragma once

#include "engine/XMLDocument.h"

class Player;

namespace ProfileDocument {

// The name of the root element.
extern const char* const kRoot;

// Builds the sections of the player's profile below the root (empty sections
// included).
void Write(const Player& player, XMLDocument::XMLElement& root);

// Reads the sections found below the root into the player's collections and
// PlayFieldPath; the values "play_field" carries replace those of the users
// file. Sections are found by name, in any order; a later section of
// a name replaces an earlier one. Section children are read whatever their
// names; a child without its "name" (or "id") attribute is skipped. The first
// score of a node name stays. A score or id out of its range reads as the
// nearest end of it; a score that is no finite number as 0, a medal id so is
// skipped; each with a Warning row.
void Read(const XMLDocument::XMLElement& root, Player& player);

}  // namespace ProfileDocument
