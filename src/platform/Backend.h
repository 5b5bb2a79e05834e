// What differs between the real window and the headless run: the window, the
// drawing and where input comes from. Everything else of the engine interface is
// shared code around one of these. Each backend carries the frame driver through
// which tests and benchmarks run its frames and see what it drew.
#pragma once

#include <string>

#include "platform/FrameDriver.h"
#include "platform/QuadBatcher.h"

class InputState;
struct Texture;

struct WindowConfig {
    int width = 800;
    int height = 600;
    bool windowed = true;
    bool hideMouse = true;
    std::string titleUtf8;
};

struct ClipRect {
    bool on = false;
    int x = 0, y = 0, w = 0, h = 0;  // in screen units (800 x 600)
};

// What the backend saw while it read its event queue.
struct BackendEvents {
    bool closeRequested = false;
    bool focusLost = false;
    bool focusGained = false;
};

class Backend : public BatchSink {
public:
    virtual ~Backend() = default;

    virtual bool IsHeadless() const = 0;
    virtual bool Initiate(const WindowConfig& config, std::string& error) = 0;
    virtual void Shutdown() = 0;

    // Reads the system's input into the state (the headless backend has none).
    virtual void PumpEvents(InputState& input, BackendEvents& events) = 0;
    // Waits for the frame rate (fps > 0 a fixed cap) and returns the time step:
    // fixedDt when it is above 0, else the time the frame really took.
    virtual float NextFrameDelta(int fps, float fixedDt) = 0;

    virtual void BeginScene() = 0;
    virtual void Clear(unsigned argb) = 0;
    virtual void SetClipping(const ClipRect& clip) = 0;
    // Ends the frame; when snapshotPath is not empty the finished picture is
    // written there as a PNG first (false when that failed).
    virtual bool EndScene(const std::string& snapshotPath) = 0;

    virtual void UploadTexture(Texture& tex) = 0;
    virtual void ReleaseTexture(Texture& tex) = 0;

    virtual void SetWindowed(bool windowed) = 0;
    virtual void SetTitle(const std::string& titleUtf8) = 0;
    virtual void SetMouseVisible(bool visible) = 0;
    virtual bool OpenUrl(const std::string& url) = 0;

    FrameDriver::Driver& Driver() { return m_driver; }

private:
    FrameDriver::Driver m_driver;
};

// The two backends; the real one is null when SDL2 + OpenGL are not built in.
Backend* CreateHeadlessBackend();
Backend* CreateGlBackend();
