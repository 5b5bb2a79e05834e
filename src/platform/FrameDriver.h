// Drives the frame loop from code, for tests: events go in as an input script
// would give them, and frames run one by one without System_Start. Acts on the
// live engine interface (after System_Initiate); does nothing without one.
#pragma once

#include <string>

#include "platform/InputEvent.h"

namespace FrameDriver {

// The event is applied at the start of the next frame (after earlier ones).
void Inject(const InputEvent& ev);
// Input script text whose frame 1 is the next frame to run. Returns the number
// of lines skipped as malformed.
int QueueScript(const std::string& text);
// Runs up to n frames (frame and render callbacks). Returns the frames run:
// fewer when the frame callback asked to quit or a close request was granted.
int RunFrames(int n);

}  // namespace FrameDriver
