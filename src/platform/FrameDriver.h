// Drives the frame loop from code and sees what it drew, for tests and
// benchmarks. Every backend (the window and the headless one) owns a Driver:
// the engine interface attaches its frame loop to the driver of the backend it
// creates, plays the input script through it and tells it what each frame
// drew. The driver attached last is the live one; the free functions here and
// in RenderStats.h act on it and do nothing (zeros, empty results) without one.
#pragma once

#include <string>
#include <vector>

#include "platform/InputEvent.h"
#include "platform/InputScript.h"
#include "platform/RenderStats.h"

struct ClipRect;

// What the driver runs: the engine interface's frame loop.
class FrameLoop {
public:
    // Frames run since the interface was created.
    virtual int FramesRun() const = 0;
    // One pass of the loop (frame and render callbacks); false when the run
    // ends (the frame callback asked to quit, a close request was granted).
    virtual bool RunFrame() = 0;

protected:
    ~FrameLoop() = default;
};

namespace FrameDriver {

class Driver {
public:
    Driver() = default;
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    ~Driver();

    // ---- Test and benchmark side.
    // The event is applied at the start of the next frame (after earlier ones).
    void Inject(const InputEvent& ev);
    // Input script text whose frame 1 is the next frame to run. Returns the
    // number of lines skipped as malformed.
    int QueueScript(const std::string& text);
    // Runs up to n frames. Returns the frames run: fewer when the run ended.
    int RunFrames(int n);

    RenderStats::Frame LastFrame() const { return m_lastFrame; }
    int FramesRun() const { return m_loop ? m_loop->FramesRun() : 0; }
    void SetRecording(bool on) { m_recording = on; }
    const std::vector<RenderStats::RecordedQuad>& Recorded() const { return m_recorded; }
    void ClearRecorded() { m_recorded.clear(); }
    int SnapshotsRequested() const { return m_snapshotsRequested; }
    const std::string& LastSnapshotPath() const { return m_lastSnapshotPath; }

    // ---- Engine side.
    // Attaches the frame loop (null detaches it); an attached driver is live.
    void Attach(FrameLoop* loop);
    // Events by frame number: the input script of the run and what was injected.
    InputScript& Script() { return m_script; }
    bool Recording() const { return m_recording; }
    void Record(const hgeQuad& quad, const ClipRect& clip);
    void FrameDrawn(const RenderStats::Frame& frame) { m_lastFrame = frame; }
    void SnapshotRequested() { ++m_snapshotsRequested; }
    void SnapshotWritten(const std::string& path) { m_lastSnapshotPath = path; }

private:
    FrameLoop* m_loop = nullptr;
    InputScript m_script;
    RenderStats::Frame m_lastFrame;
    bool m_recording = false;
    std::vector<RenderStats::RecordedQuad> m_recorded;
    int m_snapshotsRequested = 0;
    std::string m_lastSnapshotPath;
};

// The driver of the live engine interface, null when none exists.
Driver* Live();

// The same calls on the live driver.
void Inject(const InputEvent& ev);
int QueueScript(const std::string& text);
int RunFrames(int n);

}  // namespace FrameDriver
