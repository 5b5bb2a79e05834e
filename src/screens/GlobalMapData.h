// What the map file holds, read without building anything: the time and the
// cigars a level starts with, the level nodes and the banner-flight records,
// each list in file order. Reading it changes nothing (no player, no screen).
#pragma once

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
    };
    // A "FlagAppearing" element: its name and every attribute as written.
    struct FlagRecord {
        std::string name;
        std::map<std::string, std::string> attributes;
    };

    // Reads the file; loaded tells whether it could be read (else the lists are
    // empty and the values 0, with an Error row). More than
    // FileNumbers::kMaxCount level nodes are cut there, with an Error row.
    static GlobalMapData Read(const std::string& path);

    // The first node whose name is not a key of the player's node scores (the
    // next one to open), or null.
    const LevelNode* FirstUnreached(const Player& player) const;

    bool loaded = false;
    // "LevelTime" and "CigarCount" (truncated toward zero), each given only
    // when the file holds it as a finite number.
    bool hasLevelTime = false;
    float levelTime = 0.0f;
    bool hasCigarCount = false;
    int cigarCount = 0;
    std::vector<LevelNode> nodes;
    std::vector<FlagRecord> flags;
};
