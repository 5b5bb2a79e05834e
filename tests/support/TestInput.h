// Input for tests that drive frames from code: each call hands one event to the
// frame driver, applied at the start of the next frame.
#pragma once

#include <string>

#include "platform/InputEvent.h"

namespace TestInput {

// The mouse to (x, y), in 800 x 600 units.
void Move(float x, float y);
// A key or mouse button event: Down, Up or Press (down in the next frame, up in
// the one after).
void Key(InputEvent::Kind kind, int key);
// Typed characters, one a frame.
void Text(const std::string& text);
// A request to close the window.
void Close();

}  // namespace TestInput
