#include "platform/QuadBatcher.h"

BatchKey QuadBatcher::KeyOf(const hgeQuad& q) {
    BatchKey k;
    k.tex = q.tex;
    k.blend = q.blend & (BLEND_COLORADD | BLEND_ALPHABLEND);
    k.mask = (q.tex2 && q.stage2Mode == 2) ? q.tex2 : 0;
    return k;
}

void QuadBatcher::Add(const hgeQuad& quad) {
    const BatchKey key = KeyOf(quad);
    if (!m_quads.empty() && (key != m_key || int(m_quads.size()) >= kMaxQuads)) Flush();
    m_key = key;
    m_quads.push_back(quad);
    ++m_frameQuads;
}

void QuadBatcher::Flush() {
    if (m_quads.empty()) return;
    m_sink.DrawBatch(m_key, m_quads.data(), int(m_quads.size()));
    ++m_frameDrawCalls;
    m_quads.clear();
}

bool QuadBatcher::Uses(HTEXTURE tex) const {
    return !m_quads.empty() && tex != 0 && (m_key.tex == tex || m_key.mask == tex);
}
