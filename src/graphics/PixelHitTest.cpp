#include "graphics/PixelHitTest.h"

#include "graphics/hgeSprite.h"
#include "platform/hge.h"

int SpriteAlphaAt(const hgeSprite* sprite, float px, float py) {
    if (!sprite) return -1;
    if (!(px >= 0.0f && py >= 0.0f && px < sprite->GetWidth() && py < sprite->GetHeight())) return -1;
    HTEXTURE tex = sprite->GetTexture();
    if (!tex) return -1;

    float tx, ty, w, h;
    sprite->GetTextureRect(&tx, &ty, &w, &h);
    float fx = tx + px, fy = ty + py;

    HGE* hge = hgeCreate(HGE_VERSION);
    int result = -1;
    int texW = hge->Texture_GetWidth(tex), texH = hge->Texture_GetHeight(tex);
    if (fx >= 0.0f && fy >= 0.0f && fx < (float)texW && fy < (float)texH) {
        DWORD* texel = hge->Texture_Lock(tex, true, (int)fx, (int)fy, 1, 1);
        if (texel) {
            result = (int)GETA(*texel);
            hge->Texture_Unlock(tex);
        }
    }
    hge->Release();
    return result;
}

bool HitTestTexturePixel(const hgeSprite* sprite, float x, float y) {
    if (!sprite) return false;
    return SpriteAlphaAt(sprite, x + sprite->GetHotSpotX(), y + sprite->GetHotSpotY()) > 0;
}
