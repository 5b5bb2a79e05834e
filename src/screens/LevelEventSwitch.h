// The events a level hears (scene/LevelEvents.h), each turned into the
// level's operation that answers it: one table from the event's name to its
// handler. An unknown name does nothing.
#pragma once

#include <string>

class LevelScreen;

class LevelEventSwitch {
public:
    static void Dispatch(LevelScreen& level, const std::string& name, const std::string& value);
};
