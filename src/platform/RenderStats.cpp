#include "platform/RenderStats.h"

#include "platform/FrameDriver.h"

namespace RenderStats {

using FrameDriver::Live;

Frame LastFrame() { return Live() ? Live()->LastFrame() : Frame(); }

int FramesRun() { return Live() ? Live()->FramesRun() : 0; }

void SetRecording(bool on) {
    if (Live()) Live()->SetRecording(on);
}

const std::vector<RecordedQuad>& Recorded() {
    static const std::vector<RecordedQuad> none;
    return Live() ? Live()->Recorded() : none;
}

void ClearRecorded() {
    if (Live()) Live()->ClearRecorded();
}

int SnapshotsRequested() { return Live() ? Live()->SnapshotsRequested() : 0; }

std::string LastSnapshotPath() { return Live() ? Live()->LastSnapshotPath() : std::string(); }

}  // namespace RenderStats
