// What the map file holds, read without building anything: the time and the
// cigars a level starts with, the level nodes and the banner-flight records,
// each list in file order. Reading it changes nothing (no player, no screen).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class Player;

struct GlobalMapData {
    struct LevelNode {
        std::string name;         // "Name"
        float x = 0.0f, y = 0.0f;  // "X", "Y"
        float z = 10.0f;          // "Z"
        std::string sprite;       // "Sprite"
        std::string level;        // "Level": the scene the node's level starts with
        std::string caption;      // "Caption"
        unsigned flagColor = 0;   // "FlagColor"
        std::string description;  // "Description": the name of its banner record
        // The required attributes the element lacks, in table order (empty
        // for a complete node).
        std::vector<std::string> missing;
        // How many "FlagAppearing" elements stand before this node in the
        // file: a node takes its planted flag from the records read so far.
        size_t flagsBefore = 0;
    };
    // A "FlagAppearing" element: its name and every attribute as written.
    struct FlagRecord {
        std::string name;
        std::map<std::string, std::string> attributes;
    };

    // Reads the file; loaded tells whether it could be read (else the lists are
    // empty and the values 0, with an Error row).
    static GlobalMapData Read(const std::string& path);

    // The first node whose name is not a key of the player's node scores (the
    // next one to open), or null.
    const LevelNode* FirstUnreached(const Player& player) const;

    bool loaded = false;
    // "LevelTime" and "CigarCount", each clamped to the int range; the has-
    // flags tell whether the file gave a number (else the player's values
    // stay when a level starts).
    float levelTime = 0.0f;
    int cigarCount = 0;  // truncated toward zero
    bool hasLevelTime = false;
    bool hasCigarCount = false;
    std::vector<LevelNode> nodes;
    std::vector<FlagRecord> flags;
};
