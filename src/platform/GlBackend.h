// The real backend: an SDL2 window with an OpenGL 2.1 context. The screen keeps
// its 800 x 600 units whatever the window's size (full screen scales it evenly
// and centres it), and the mouse is reported in those units. The size comes
// from the drawable itself after every mode change and resize event, not from
// what SDL asked for: without a window manager a full-screen window keeps its
// size.
#pragma once

#include <SDL.h>

#include "platform/Backend.h"
#include "platform/GlRenderer.h"

class GlBackend : public Backend {
public:
    ~GlBackend() override;

    bool IsHeadless() const override { return false; }
    bool Initiate(const WindowConfig& config, std::string& error) override;
    void Shutdown() override;
    void PumpEvents(InputState& input, BackendEvents& events) override;
    float NextFrameDelta(int fps, float fixedDt) override;
    void BeginScene() override;
    void Clear(unsigned argb) override { m_renderer.Clear(argb); }
    void SetClipping(const ClipRect& clip) override { m_renderer.SetClipping(clip); }
    bool EndScene(const std::string& snapshotPath) override;
    void DrawBatch(const BatchKey& key, const hgeQuad* quads, int count) override;
    void UploadTexture(Texture& tex) override;
    void ReleaseTexture(Texture& tex) override;
    void SetWindowed(bool windowed) override;
    void SetTitle(const std::string& titleUtf8) override;
    void SetMouseVisible(bool visible) override;
    bool OpenUrl(const std::string& url) override;

private:
    // Window coordinates to screen units and back.
    void ToScreen(int wx, int wy, float& x, float& y) const;
    void UpdateViewport();
    // The drawable's size in pixels as the window really has it.
    void DrawableSize(int& w, int& h) const;
    // Drawable pixels per window unit (above 1 on high-density displays).
    float PixelsPerWindowUnit() const;

    SDL_Window* m_window = nullptr;
    SDL_GLContext m_context = nullptr;
    GlRenderer m_renderer;
    WindowConfig m_config;
    int m_swapInterval = -2;
    Uint64 m_lastFrame = 0;
};
