// The quads drawn while a piece of a test runs (one frame of the engine, say),
// as RenderStats records them.
#pragma once

#include <vector>

#include "graphics/hgeSprite.h"
#include "platform/RenderStats.h"

template <class Draw>
std::vector<RenderStats::RecordedQuad> RecordQuads(Draw draw) {
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(true);
    draw();
    RenderStats::SetRecording(false);
    return RenderStats::Recorded();
}

// The quads one entity draws itself (its own Render, not its children's), in a
// scene of their own.
template <class Entity>
std::vector<RenderStats::RecordedQuad> DrawnBy(HGE* hge, Entity* entity) {
    return RecordQuads([&] {
        hge->Gfx_BeginScene();
        entity->Render();
        hge->Gfx_EndScene();
    });
}

// The quad a sprite draws at the origin, in a scene of its own.
inline hgeQuad LookOf(hgeSprite* sprite) {
    HGE* hge = hgeCreate(HGE_VERSION);
    std::vector<RenderStats::RecordedQuad> drawn = RecordQuads([&] {
        hge->Gfx_BeginScene();
        sprite->Render(0, 0);
        hge->Gfx_EndScene();
    });
    hge->Release();
    return drawn.empty() ? hgeQuad() : drawn[0].quad;
}

// Whether a quad shows the sprite's picture: the texture and texture
// coordinates the sprite itself draws with.
inline bool Shows(const RenderStats::RecordedQuad& drawn, hgeSprite* sprite) {
    const hgeQuad &q = drawn.quad, look = LookOf(sprite);
    return q.tex == look.tex && q.v[0].tx == look.v[0].tx && q.v[0].ty == look.v[0].ty && q.v[2].tx == look.v[2].tx &&
           q.v[2].ty == look.v[2].ty;
}

// Whether two sprites show the same part of the same texture.
inline bool SameLook(hgeSprite* a, hgeSprite* b) { return Shows({0, LookOf(a)}, b); }
