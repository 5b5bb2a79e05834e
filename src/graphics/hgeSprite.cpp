#include "graphics/hgeSprite.h"

#include <cmath>
#include <utility>

namespace {

// Coordinates (the vertex members u and v) of an upright rectangle, corners
// in the quad's order.
void SetRectCoords(hgeQuad& q, float hgeVertex::*u, float hgeVertex::*v, float u1, float v1, float u2, float v2) {
    const float us[4] = {u1, u2, u2, u1}, vs[4] = {v1, v1, v2, v2};
    for (int i = 0; i < 4; i++) {
        q.v[i].*u = us[i];
        q.v[i].*v = vs[i];
    }
}

// Mirrors the texture left to right, or top to bottom.
void MirrorX(hgeQuad& q) {
    std::swap(q.v[0].tx, q.v[1].tx);
    std::swap(q.v[3].tx, q.v[2].tx);
}
void MirrorY(hgeQuad& q) {
    std::swap(q.v[0].ty, q.v[3].ty);
    std::swap(q.v[1].ty, q.v[2].ty);
}

}  // namespace

hgeSprite::hgeSprite(HTEXTURE tex, float x, float y, float w, float h) : hge(hgeCreate(HGE_VERSION)) {
    tx = x;
    ty = y;
    width = w;
    height = h;
    ReadTextureSize(tex, &tex_width, &tex_height);

    quad.tex = tex;
    quad.blend = BLEND_DEFAULT;
    for (int i = 0; i < 4; i++) {
        quad.v[i].z = 0.5f;
        quad.v[i].col = 0xFFFFFFFF;
    }
    SetQuadTexCoords(x, y, x + w, y + h);
}

hgeSprite::hgeSprite(const hgeSprite& spr) : hge(hgeCreate(HGE_VERSION)) {
    HGE* own = hge;
    *this = spr;
    hge = own;
}

hgeSprite& hgeSprite::operator=(const hgeSprite& spr) {
    if (this == &spr) return *this;
    quad = spr.quad;
    tx = spr.tx;
    ty = spr.ty;
    width = spr.width;
    height = spr.height;
    tex_width = spr.tex_width;
    tex_height = spr.tex_height;
    hotX = spr.hotX;
    hotY = spr.hotY;
    bXFlip = spr.bXFlip;
    bYFlip = spr.bYFlip;
    bHSFlip = spr.bHSFlip;
    maskOriginX = spr.maskOriginX;
    maskOriginY = spr.maskOriginY;
    maskPosX = spr.maskPosX;
    maskPosY = spr.maskPosY;
    return *this;
}

hgeSprite::~hgeSprite() { hge->Release(); }

void hgeSprite::ReadTextureSize(HTEXTURE tex, float* w, float* h) const {
    *w = *h = 1.0f;
    if (!tex) return;
    int tw = hge->Texture_GetWidth(tex);
    int th = hge->Texture_GetHeight(tex);
    // A handle the engine does not know reports 0: keep the coordinates finite.
    if (tw > 0) *w = (float)tw;
    if (th > 0) *h = (float)th;
}

void hgeSprite::SetQuadTexCoords(float x1, float y1, float x2, float y2) {
    SetRectCoords(quad, &hgeVertex::tx, &hgeVertex::ty, x1 / tex_width, y1 / tex_height, x2 / tex_width,
                  y2 / tex_height);
    if (bXFlip) MirrorX(quad);
    if (bYFlip) MirrorY(quad);
}

void hgeSprite::UpdateMaskOffset() {
    if (!quad.tex2) return;
    quad.tx2Offset = maskPosX - maskOriginX;
    quad.ty2Offset = maskPosY - maskOriginY;
    quad.tx2Div = 1.0f;
    quad.ty2Div = 1.0f;
}

void hgeSprite::Render(float x, float y) {
    const float x1 = x - hotX, y1 = y - hotY;
    RenderStretch(x1, y1, x1 + width, y1 + height);
}

void hgeSprite::CornersEx(float x, float y, float rot, float hscale, float vscale, float* xs, float* ys) const {
    if (vscale == 0.0f) vscale = hscale;
    float x1 = -hotX * hscale, y1 = -hotY * vscale;
    float x2 = (width - hotX) * hscale, y2 = (height - hotY) * vscale;
    const float cx[4] = {x1, x2, x2, x1};
    const float cy[4] = {y1, y1, y2, y2};
    if (rot != 0.0f) {
        float c = std::cos(rot), s = std::sin(rot);
        for (int i = 0; i < 4; i++) {
            xs[i] = cx[i] * c - cy[i] * s + x;
            ys[i] = cx[i] * s + cy[i] * c + y;
        }
    } else {
        for (int i = 0; i < 4; i++) {
            xs[i] = cx[i] + x;
            ys[i] = cy[i] + y;
        }
    }
}

void hgeSprite::RenderEx(float x, float y, float rot, float hscale, float vscale) {
    float xs[4], ys[4];
    CornersEx(x, y, rot, hscale, vscale, xs, ys);
    // The mask offset is in the sprite's own texels, so it turns and scales
    // with the sprite by itself.
    Render4V(xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], xs[3], ys[3]);
}

void hgeSprite::RenderStretch(float x1, float y1, float x2, float y2) { Render4V(x1, y1, x2, y1, x2, y2, x1, y2); }

void hgeSprite::Render4V(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    quad.v[0].x = x0;
    quad.v[0].y = y0;
    quad.v[1].x = x1;
    quad.v[1].y = y1;
    quad.v[2].x = x2;
    quad.v[2].y = y2;
    quad.v[3].x = x3;
    quad.v[3].y = y3;
    UpdateMaskOffset();
    hge->Gfx_RenderQuad(&quad);
}

hgeRect* hgeSprite::GetBoundingBoxEx(float x, float y, float rot, float hscale, float vscale, hgeRect* rect) const {
    float xs[4], ys[4];
    CornersEx(x, y, rot, hscale, vscale, xs, ys);
    rect->Clear();
    for (int i = 0; i < 4; i++) rect->Encapsulate(xs[i], ys[i]);
    return rect;
}

void hgeSprite::SetFlip(bool bX, bool bY, bool bHotSpot) {
    // Take a mirrored hot spot back before the flags change, then mirror anew.
    if (bHSFlip && bXFlip) hotX = width - hotX;
    if (bHSFlip && bYFlip) hotY = height - hotY;
    bHSFlip = bHotSpot;

    if (bX != bXFlip) {
        MirrorX(quad);
        bXFlip = bX;
    }
    if (bY != bYFlip) {
        MirrorY(quad);
        bYFlip = bY;
    }

    if (bHSFlip && bXFlip) hotX = width - hotX;
    if (bHSFlip && bYFlip) hotY = height - hotY;
}

void hgeSprite::SetTexture(HTEXTURE tex) {
    float tw, th;
    ReadTextureSize(tex, &tw, &th);
    quad.tex = tex;
    if (tw != tex_width || th != tex_height) {
        // Keep the rectangle in texels: rescale the coordinates to the new size.
        for (int i = 0; i < 4; i++) {
            quad.v[i].tx = quad.v[i].tx * tex_width / tw;
            quad.v[i].ty = quad.v[i].ty * tex_height / th;
        }
        tex_width = tw;
        tex_height = th;
    }
}

void hgeSprite::SetTextureRect(float x, float y, float w, float h, bool adjSize) {
    tx = x;
    ty = y;
    if (adjSize) {
        width = w;
        height = h;
    }
    SetQuadTexCoords(x, y, x + w, y + h);
}

void hgeSprite::SetColor(DWORD col, int i) {
    if (i >= 0 && i < 4) {
        quad.v[i].col = col;
    } else if (i == -1) {
        for (auto& v : quad.v) v.col = col;
    }
}

void hgeSprite::SetZ(float z, int i) {
    if (i >= 0 && i < 4) {
        quad.v[i].z = z;
    } else if (i == -1) {
        for (auto& v : quad.v) v.z = z;
    }
}

void hgeSprite::SetMaskTexture(HTEXTURE tex, float x, float y, float w, float h) {
    quad.tex2 = tex;
    quad.stage2Mode = 2;
    float mw, mh;
    ReadTextureSize(tex, &mw, &mh);
    SetRectCoords(quad, &hgeVertex::tx2, &hgeVertex::ty2, x / mw, y / mh, (x + w) / mw, (y + h) / mh);
    maskOriginX = maskOriginY = 0.0f;
    maskPosX = maskPosY = 0.0f;
}
