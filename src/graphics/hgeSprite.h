// The one textured rectangle: pictures, button faces, font letters and particles
// are all drawn through it. The sprite never owns its texture.
//
// Second texture stage (the magnifying-glass lens): SetMaskTexture lays a mask
// texture over the sprite. The engine keeps one mask texel the size of one texel
// of the sprite and never stretches the mask with the sprite. The mask's origin
// (the texel of the mask rectangle given by SetMaskOrigin, e.g. the lens centre
// 37, 37) is placed on the mask position, measured in the sprite's own texels
// from the top-left corner of its texture rectangle. Every render call fills the
// quad's offsets with (mask position - mask origin): the point where the top-left
// texel of the mask rectangle lies; the vertices' tx2/ty2 hold that rectangle in
// the mask texture's 0..1 coordinates.
#pragma once

#include "graphics/hgeRect.h"
#include "platform/hge.h"

class hgeSprite {
public:
    hgeSprite(HTEXTURE tex, float x, float y, float w, float h);
    hgeSprite(const hgeSprite& spr);
    hgeSprite& operator=(const hgeSprite& spr);
    virtual ~hgeSprite();

    void Render(float x, float y);
    // A vertical scale of 0 means the same as the horizontal one.
    void RenderEx(float x, float y, float rot, float hscale = 1.0f, float vscale = 0.0f);
    void RenderStretch(float x1, float y1, float x2, float y2);
    void Render4V(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);

    void SetTexture(HTEXTURE tex);
    void SetTextureRect(float x, float y, float w, float h, bool adjSize = true);
    void SetColor(DWORD col, int i = -1);
    void SetZ(float z, int i = -1);
    void SetBlendMode(int blend) { quad.blend = blend; }
    void SetHotSpot(float x, float y) { hotX = x; hotY = y; }
    // Mirrors the texture coordinates; with bHotSpot the hot spot mirrors too.
    void SetFlip(bool bX, bool bY, bool bHotSpot = false);

    // Second texture stage; see the note at the top of this file.
    void SetMaskTexture(HTEXTURE tex, float x, float y, float w, float h);
    void SetMaskOrigin(float x, float y) { maskOriginX = x; maskOriginY = y; }
    void GetMaskOrigin(float* x, float* y) const { *x = maskOriginX; *y = maskOriginY; }
    void SetMaskPos(float x, float y) { maskPosX = x; maskPosY = y; }
    void GetMaskPos(float* x, float* y) const { *x = maskPosX; *y = maskPosY; }

    HTEXTURE GetTexture() const { return quad.tex; }
    void GetTextureRect(float* x, float* y, float* w, float* h) const { *x = tx; *y = ty; *w = width; *h = height; }
    DWORD GetColor(int i = 0) const { return quad.v[i & 3].col; }
    int GetBlendMode() const { return quad.blend; }
    void GetHotSpot(float* x, float* y) const { *x = hotX; *y = hotY; }
    float GetHotSpotX() const { return hotX; }
    float GetHotSpotY() const { return hotY; }
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }

    hgeRect* GetBoundingBoxEx(float x, float y, float rot, float hscale, float vscale, hgeRect* rect) const;

protected:
    // Texture coordinates of a rectangle in texels, then the current flips.
    void SetQuadTexCoords(float x1, float y1, float x2, float y2);
    void UpdateMaskOffset();
    void ReadTextureSize(HTEXTURE tex, float* w, float* h) const;
    void CornersEx(float x, float y, float rot, float hscale, float vscale, float* xs, float* ys) const;

    HGE* hge;
    hgeQuad quad;
    float tx, ty, width, height;
    float tex_width, tex_height;
    float hotX = 0, hotY = 0;
    bool bXFlip = false, bYFlip = false, bHSFlip = false;
    float maskOriginX = 0, maskOriginY = 0;
    float maskPosX = 0, maskPosY = 0;
};
