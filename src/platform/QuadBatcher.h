// Collects quads into runs that one draw call can draw: a run goes on while the
// texture, the blend mode and the mask stay the same (a clipping change ends it
// through Flush). Counts the quads and draw calls of the frame.
#pragma once

#include <vector>

#include "platform/hge.h"

struct BatchKey {
    HTEXTURE tex = 0;
    int blend = BLEND_DEFAULT;  // colour add and alpha blend bits only; z-write draws the same
    HTEXTURE mask = 0;          // second stage texture when the mask mode is on

    bool operator==(const BatchKey& o) const { return tex == o.tex && blend == o.blend && mask == o.mask; }
    bool operator!=(const BatchKey& o) const { return !(*this == o); }
};

class BatchSink {
public:
    virtual void DrawBatch(const BatchKey& key, const hgeQuad* quads, int count) = 0;

protected:
    ~BatchSink() = default;
};

class QuadBatcher {
public:
    static const int kMaxQuads = 4096;

    explicit QuadBatcher(BatchSink& sink) : m_sink(sink) { m_quads.reserve(kMaxQuads); }

    static BatchKey KeyOf(const hgeQuad& q);

    void Add(const hgeQuad& quad);
    void Flush();
    // True when a quad waiting in the run uses the texture (before it changes).
    bool Uses(HTEXTURE tex) const;

    void ResetFrameCounts() { m_frameQuads = m_frameDrawCalls = 0; }
    int FrameQuads() const { return m_frameQuads; }
    int FrameDrawCalls() const { return m_frameDrawCalls; }

private:
    BatchSink& m_sink;
    BatchKey m_key;
    std::vector<hgeQuad> m_quads;
    int m_frameQuads = 0;
    int m_frameDrawCalls = 0;
};
