#include "entities/core/CSpriteEntity.h"

#include "entities/core/EntityServices.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

CSpriteEntity::CSpriteEntity() { updatable = false; }

CSpriteEntity::~CSpriteEntity() { ReleaseSprite(); }

void CSpriteEntity::ReleaseSprite() {
    if (ownsSprite) delete sprite;
    sprite = nullptr;
    ownsSprite = false;
}

void CSpriteEntity::AttachSprite(hgeSprite* s) {
    ReleaseSprite();
    sprite = s;
    color = s ? s->GetColor() : 0xFFFFFFFF;
    ownsSprite = false;
}

void CSpriteEntity::SetSpriteCopy(const hgeSprite& s) {
    hgeSprite* copy = new hgeSprite(s);
    ReleaseSprite();
    sprite = copy;
    color = copy->GetColor();
    ownsSprite = true;
}

void CSpriteEntity::SetSprite(const std::string& textureName) {
    ReleaseSprite();
    if (!textureName.empty()) {
        HTEXTURE tex = Services::Texture(engine, textureName);
        HGE* hge = Services::Hge(engine);
        float w = 0.0f, h = 0.0f;
        if (tex && hge) {
            w = float(hge->Texture_GetWidth(tex, true));
            h = float(hge->Texture_GetHeight(tex, true));
        }
        sprite = new hgeSprite(tex, 0.0f, 0.0f, w, h);
        sprite->SetHotSpot(w * 0.5f, h * 0.5f);
    } else {
        sprite = new hgeSprite(0, 0.0f, 0.0f, 1.0f, 1.0f);
    }
    color = 0xFFFFFFFF;
    ownsSprite = true;
}

void CSpriteEntity::SetSpriteRect(const std::string& textureName, float rx, float ry, float w, float h) {
    ReleaseSprite();
    HTEXTURE tex = textureName.empty() ? 0 : Services::Texture(engine, textureName);
    sprite = new hgeSprite(tex, rx, ry, w, h);
    sprite->SetHotSpot(w * 0.5f, h * 0.5f);
    color = 0xFFFFFFFF;
    ownsSprite = true;
}

void CSpriteEntity::Render() {
    if (!sprite) return;
    // A borrowed sprite is shared through the resource manager: it keeps the
    // colour it had, or the next entity to borrow it would take this one's
    // fade (the last frame of a level fading out) as its own colour.
    DWORD saved[4] = {};
    if (!ownsSprite)
        for (int i = 0; i < 4; ++i) saved[i] = sprite->GetColor(i);
    sprite->SetColor(Services::FadeColor(color, GetAbsoluteOpacity()));
    sprite->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(),
                     GetAbsoluteScaleY());
    if (!ownsSprite)
        for (int i = 0; i < 4; ++i) sprite->SetColor(saved[i], i);
}

}  // namespace ZOLTFramework
