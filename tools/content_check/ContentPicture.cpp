#include "ContentPicture.h"

#include <algorithm>

#include "graphics/hgeAnimation.h"
#include "graphics/hgeSprite.h"

namespace contenttest {

namespace {

// The rectangle (x, y, w, h) of a texture, copied row by row; empty when it
// does not lie inside the texture.
Texels Cut(HGE* hge, HTEXTURE tex, int x0, int y0, int w, int h) {
    Texels t;
    if (!tex || w <= 0 || h <= 0 || x0 < 0 || y0 < 0) return t;
    const int pitch = hge->Texture_GetWidth(tex), rows = hge->Texture_GetHeight(tex);
    if (x0 + w > pitch || y0 + h > rows) return t;
    const DWORD* p = hge->Texture_Lock(tex, true);
    if (!p) return t;
    t.w = w;
    t.h = h;
    t.px.reserve(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const DWORD* row = p + size_t(y0 + y) * size_t(pitch) + size_t(x0);
        t.px.insert(t.px.end(), row, row + w);
    }
    hge->Texture_Unlock(tex);
    return t;
}

}  // namespace

Texels Texels::Of(HGE* hge, HTEXTURE tex) {
    return tex ? Cut(hge, tex, 0, 0, hge->Texture_GetWidth(tex), hge->Texture_GetHeight(tex)) : Texels();
}

Texels Texels::Of(HGE* hge, const hgeSprite& sprite) {
    float x, y, w, h;
    sprite.GetTextureRect(&x, &y, &w, &h);
    return Cut(hge, sprite.GetTexture(), int(x), int(y), int(w), int(h));
}

Texels Texels::Of(HGE* hge, const hgeAnimation& animation, int frame) {
    float x, y, w, h;
    animation.GetTextureRect(&x, &y, &w, &h);
    const HTEXTURE tex = animation.GetTexture();
    const int fw = int(w), fh = int(h), x0 = int(x), y0 = int(y);
    if (!tex || fw < 1) return Texels();
    // Along the first frame's row, then row after row from the texture's left border.
    const int pitch = hge->Texture_GetWidth(tex);
    const int firstRow = std::max(1, (pitch - x0) / fw), columns = std::max(1, pitch / fw);
    if (frame < firstRow) return Cut(hge, tex, x0 + frame * fw, y0, fw, fh);
    frame -= firstRow;
    return Cut(hge, tex, frame % columns * fw, y0 + (1 + frame / columns) * fh, fw, fh);
}

int Texels::CountAlpha(int minAlpha) const {
    return int(std::count_if(px.begin(), px.end(), [minAlpha](DWORD c) { return int(c >> 24) >= minAlpha; }));
}

double Texels::FlatShare() const {
    int flat = 0, total = 0;
    for (int by = 0; by + 16 <= h; by += 16)
        for (int bx = 0; bx + 16 <= w; bx += 16) {
            int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
            bool opaque = true;
            for (int y = by; y < by + 16 && opaque; ++y)
                for (int x = bx; x < bx + 16; ++x) {
                    if (!Opaque(x, y)) {
                        opaque = false;
                        break;
                    }
                    const int c[3] = {R(x, y), G(x, y), B(x, y)};
                    for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], c[i]), hi[i] = std::max(hi[i], c[i]);
                }
            if (!opaque) continue;
            ++total;
            flat += hi[0] - lo[0] < 4 && hi[1] - lo[1] < 4 && hi[2] - lo[2] < 4;
        }
    return total ? double(flat) / total : 0.0;
}

double Texels::UnshadedShare() const {
    int flat = 0, total = 0;
    for (int by = 0; by + 16 <= h; by += 16)
        for (int bx = 0; bx + 16 <= w; bx += 16) {
            bool opaque = true;
            for (int y = by; y < by + 16 && opaque; ++y)
                for (int x = bx; x < bx + 16 && opaque; ++x) opaque = Opaque(x, y);
            if (!opaque) continue;
            ++total;
            // Sums over the block's sixteen 4 x 4 cells: the grain averages out.
            int lo[3] = {255 * 16, 255 * 16, 255 * 16}, hi[3] = {0, 0, 0};
            for (int cy = by; cy < by + 16; cy += 4)
                for (int cx = bx; cx < bx + 16; cx += 4) {
                    int sum[3] = {0, 0, 0};
                    for (int y = cy; y < cy + 4; ++y)
                        for (int x = cx; x < cx + 4; ++x) sum[0] += R(x, y), sum[1] += G(x, y), sum[2] += B(x, y);
                    for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], sum[i]), hi[i] = std::max(hi[i], sum[i]);
                }
            flat += hi[0] - lo[0] < 4 * 16 && hi[1] - lo[1] < 4 * 16 && hi[2] - lo[2] < 4 * 16;
        }
    return total ? double(flat) / total : 0.0;
}

}  // namespace contenttest
