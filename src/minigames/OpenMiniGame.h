// Opens the mini-game screen that a mini-game file asks for, chosen by the
// file name after the last "/": "2.2.xml" the two-part puzzle, "5.2.xml" and
// "11.1.xml" the repeat game, "6.2.xml" the memory game, any other the puzzle.
// The entity manager owns the screen and has it on top of the screen stack;
// it is put on the given layer (2000 over a level). Null, with an Error row,
// without a manager, when the file cannot be read (missing, not XML) or, for
// a puzzle, when its piece scene gives nothing to play: none is named or
// readable, no object of it has a declared picture, or (the two-part puzzle)
// every declared picture is decor.
#pragma once

#include <string>

#include "entities/core/Listeners.h"

class MiniGameScreen;

MiniGameScreen* OpenMiniGame(const std::string& path, ZOLTFramework::CQuestionListener* level, float layer = 2000.0f);
