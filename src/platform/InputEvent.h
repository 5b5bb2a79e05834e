// One input event as the input script and the test driver give it.
#pragma once

#include <string>

struct InputEvent {
    enum Kind { Move, Down, Up, Press, Char, Close, Snapshot };
    Kind kind = Move;
    float x = 0, y = 0;  // Move: position in 800 x 600 units
    int key = 0;         // Down, Up, Press: engine key code
    std::string text;    // Char: the typed characters (Windows-1250 bytes)
};
