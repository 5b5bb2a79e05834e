// Draws quad runs with OpenGL 2.1 and one small shader: texture times vertex
// colour (or texture plus vertex colour for the colour-add bit), alpha blend or
// alpha add, and the mask stage (alpha times the mask's alpha, one mask texel per
// texel of the first texture, transparent outside the mask). Works in screen
// units (800 x 600) mapped onto a viewport that keeps the aspect ratio.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/GlFunctions.h"
#include "platform/ScreenFit.h"

class TextureStore;

class GlRenderer {
public:
    // Needs a current context. False and a reason when the shader cannot be made.
    bool Create(int screenW, int screenH, std::string& error);
    void Destroy();

    // The drawable's size in pixels; the screen is centred in it, scaled evenly.
    void SetDrawableSize(int w, int h);
    void BeginFrame();
    void Clear(unsigned argb);
    void SetClipping(const ClipRect& clip);
    void Draw(const BatchKey& key, const hgeQuad* quads, int count, const Texture* tex, const Texture* mask);

    void Upload(Texture& tex);
    void Release(Texture& tex);

    // The screen area of the drawn frame as ARGB rows, top to bottom.
    bool ReadScreen(int& w, int& h, std::vector<uint32_t>& argb);

    const ScreenFit& Fit() const { return m_fit; }

private:
    struct Vertex {
        float x, y;
        uint32_t col;
        float u, v;
        float mu, mv;
    };

    void ApplyScissor();

    GlFunctions gl;
    unsigned m_program = 0;
    int m_uUseTex = -1, m_uColorAdd = -1, m_uUseMask = -1, m_uTex = -1, m_uMask = -1, m_uScreen = -1;
    int m_screenW = 800, m_screenH = 600;
    int m_drawW = 800, m_drawH = 600;
    ScreenFit m_fit;
    ClipRect m_clip;
    std::vector<Vertex> m_vertices;
};
