// The quads drawn while a piece of a test runs (one frame of the engine, say),
// as RenderStats records them.
#pragma once

#include <vector>

#include "platform/RenderStats.h"

template <class Draw>
std::vector<RenderStats::RecordedQuad> RecordQuads(Draw draw) {
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(true);
    draw();
    RenderStats::SetRecording(false);
    return RenderStats::Recorded();
}
