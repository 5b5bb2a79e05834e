#include "platform/GlBackend.h"

#include <algorithm>

#include "platform/GlxDrawable.h"
#include "platform/ImageCodec.h"
#include "platform/InputState.h"
#include "platform/SdlKeys.h"
#include "platform/TextEncoding.h"
#include "platform/Texture.h"

Backend* CreateGlBackend() { return new GlBackend(); }

GlBackend::~GlBackend() { Shutdown(); }

bool GlBackend::Initiate(const WindowConfig& config, std::string& error) {
    m_config = config;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    if (!config.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    m_window = SDL_CreateWindow(config.titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, config.width,
                                config.height, flags);
    if (!m_window) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    m_context = SDL_GL_CreateContext(m_window);
    if (!m_context) {
        error = SDL_GetError();
        Shutdown();
        return false;
    }
    SDL_GL_MakeCurrent(m_window, m_context);
    if (!m_renderer.Create(config.width, config.height, error)) {
        Shutdown();
        return false;
    }
    UpdateViewport();
    SDL_GL_SetSwapInterval(0);  // the frame cap paces the loop, not the display
    m_swapInterval = 0;
    SDL_ShowCursor(config.hideMouse ? SDL_DISABLE : SDL_ENABLE);
    SDL_StartTextInput();
    m_lastFrame = SDL_GetPerformanceCounter();
    return true;
}

void GlBackend::Shutdown() {
    if (m_context) {
        m_renderer.Destroy();
        SDL_GL_DeleteContext(m_context);
        m_context = nullptr;
    }
    if (m_window) {
        SDL_StopTextInput();
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    m_swapInterval = -2;
}

void GlBackend::DrawableSize(int& w, int& h) const {
    SDL_GL_GetDrawableSize(m_window, &w, &h);
    QueryGlxDrawableSize(w, h);
}

float GlBackend::PixelsPerWindowUnit() const {
    int ww = 1, wh = 1, dw = 1, dh = 1;
    SDL_GetWindowSize(m_window, &ww, &wh);
    SDL_GL_GetDrawableSize(m_window, &dw, &dh);
    return ww > 0 && dw > 0 ? float(dw) / float(ww) : 1.0f;
}

void GlBackend::UpdateViewport() {
    int w = 0, h = 0;
    DrawableSize(w, h);
    m_renderer.SetDrawableSize(w, h);
}

void GlBackend::ToScreen(int wx, int wy, float& x, float& y) const {
    // Window units to drawable pixels, then to screen units.
    const float ratio = PixelsPerWindowUnit();
    m_renderer.Fit().ToScreen(float(wx) * ratio, float(wy) * ratio, x, y);
}

void GlBackend::PumpEvents(InputState& input, BackendEvents& events) {
    if (!m_window) return;
    SDL_Event e;
    float x = 0, y = 0;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT: events.closeRequested = true; break;
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE: events.closeRequested = true; break;
                    case SDL_WINDOWEVENT_FOCUS_LOST: events.focusLost = true; break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED: events.focusGained = true; break;
                    case SDL_WINDOWEVENT_ENTER: input.SetMouseOver(true); break;
                    case SDL_WINDOWEVENT_LEAVE: input.SetMouseOver(false); break;
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                    case SDL_WINDOWEVENT_RESIZED: UpdateViewport(); break;
                    default: break;
                }
                break;
            case SDL_KEYDOWN:
                input.KeyDown(EngineKeyFromSdl(e.key.keysym.sym), e.key.repeat != 0);
                break;
            case SDL_KEYUP: input.KeyUp(EngineKeyFromSdl(e.key.keysym.sym)); break;
            case SDL_TEXTINPUT:
                for (char c : TypedToCp1250(e.text.text)) input.TypeChar((unsigned char)c);
                break;
            case SDL_MOUSEMOTION:
                ToScreen(e.motion.x, e.motion.y, x, y);
                input.MoveMouse(x, y);
                break;
            case SDL_MOUSEBUTTONDOWN:
                ToScreen(e.button.x, e.button.y, x, y);
                input.MoveMouse(x, y);
                input.KeyDown(EngineButtonFromSdl(e.button.button));
                break;
            case SDL_MOUSEBUTTONUP:
                ToScreen(e.button.x, e.button.y, x, y);
                input.MoveMouse(x, y);
                input.KeyUp(EngineButtonFromSdl(e.button.button));
                break;
            case SDL_MOUSEWHEEL:
                input.Wheel(e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
                break;
            default: break;
        }
    }
}

float GlBackend::NextFrameDelta(int fps, float fixedDt) {
    const int interval = fps == HGEFPS_VSYNC ? 1 : 0;
    if (interval != m_swapInterval) {
        SDL_GL_SetSwapInterval(interval);
        m_swapInterval = interval;
    }
    const Uint64 freq = SDL_GetPerformanceFrequency();
    Uint64 now = SDL_GetPerformanceCounter();
    if (fps > 0) {
        const Uint64 target = m_lastFrame + freq / Uint64(fps);
        while (now < target) {
            const Uint64 ms = (target - now) * 1000 / freq;
            if (ms > 1) SDL_Delay(Uint32(ms - 1));
            now = SDL_GetPerformanceCounter();
        }
    }
    float dt = float(double(now - m_lastFrame) / double(freq));
    m_lastFrame = now;
    // Paced like any frame, but the game advances by the fixed step.
    if (fixedDt > 0.0f) return fixedDt;
    // A stalled frame (window dragged, debugger) must not throw the game ahead.
    return std::min(dt, 0.1f);
}

void GlBackend::BeginScene() { m_renderer.BeginFrame(); }

bool GlBackend::EndScene(const std::string& snapshotPath) {
    bool ok = true;
    if (!snapshotPath.empty()) {
        int w = 0, h = 0;
        std::vector<uint32_t> pixels;
        ok = m_renderer.ReadScreen(w, h, pixels) && ImageCodec::WritePng(snapshotPath, w, h, pixels);
    }
    if (m_window) SDL_GL_SwapWindow(m_window);
    return ok;
}

void GlBackend::DrawBatch(const BatchKey& key, const hgeQuad* quads, int count) {
    // Handles reaching here name live textures (the engine checked them).
    const Texture* tex = reinterpret_cast<const Texture*>(key.tex);
    const Texture* mask = reinterpret_cast<const Texture*>(key.mask);
    m_renderer.Draw(key, quads, count, tex, mask);
}

void GlBackend::UploadTexture(Texture& tex) {
    if (m_context) m_renderer.Upload(tex);
}

void GlBackend::ReleaseTexture(Texture& tex) {
    if (m_context) m_renderer.Release(tex);
}

void GlBackend::SetWindowed(bool windowed) {
    if (!m_window) return;
    SDL_SetWindowFullscreen(m_window, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (windowed) {
        SDL_SetWindowSize(m_window, m_config.width, m_config.height);
        SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    UpdateViewport();
}

void GlBackend::SetTitle(const std::string& titleUtf8) {
    if (m_window) SDL_SetWindowTitle(m_window, titleUtf8.c_str());
}

void GlBackend::SetMouseVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

bool GlBackend::OpenUrl(const std::string& url) { return SDL_OpenURL(url.c_str()) == 0; }
