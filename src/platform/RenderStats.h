// What the engine drew, for tests and benchmarks: quads and draw calls of the
// last finished frame, and optionally every quad submitted (any backend; meant
// for headless runs). Kept by the backend's frame driver (FrameDriver.h); the
// calls act on the live one and give zeros or empty results when there is none.
#pragma once

#include <string>
#include <vector>

#include "platform/hge.h"

namespace RenderStats {

struct Frame {
    int quads = 0;      // quads submitted between Gfx_BeginScene and Gfx_EndScene
    int drawCalls = 0;  // runs of equal texture, blend, mask and clipping
};

struct RecordedQuad {
    int frame = 0;       // frame number (from 1) in which it was submitted
    hgeQuad quad;        // as submitted: texture, blend, vertices, mask stage
    bool clipped = false;
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
};

Frame LastFrame();
// Frames run by the frame loop since the interface was created.
int FramesRun();

void SetRecording(bool on);
const std::vector<RecordedQuad>& Recorded();
void ClearRecorded();

// Snapshots requested, and the file of the last one written ("" when none).
int SnapshotsRequested();
std::string LastSnapshotPath();

}  // namespace RenderStats
