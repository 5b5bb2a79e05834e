// The medals of the game, read from the medals file: one child element of the
// root per medal, in file order, with its id, the name of its picture and its
// place ("x", "y") and depth offset ("z") on the screens that pin it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MedalInfo {
    uint32_t id = 0;
    std::string sprite;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

namespace MedalList {

constexpr const char* kFile = "data/Medals.xml";

// The medals of the file; empty, with one Warning row naming the reader, when
// the file cannot be read.
std::vector<MedalInfo> Load(const std::string& file, const std::string& reader);

// Whether the medals file names the medal: a medal it does not name (an id a
// scene file or a hand-edited state asks for) is a Warning row naming the
// reader, and a caller keeps no such medal.
bool Knows(int64_t id, const std::string& file, const std::string& reader);

}  // namespace MedalList
