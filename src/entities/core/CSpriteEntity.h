// An entity that draws one sprite at its absolute position, rotation and scales,
// tinted by its colour with the alpha multiplied by the absolute opacity.
#pragma once

#include <string>

#include "entities/core/CEntity.h"
#include "platform/hge.h"

class hgeSprite;

namespace ZOLTFramework {

class CSpriteEntity : public CEntity {
public:
    CSpriteEntity();
    ~CSpriteEntity() override;

    void Render() override;

    // Borrows the sprite (never deleted here); the colour becomes the sprite's.
    // Drawing leaves a borrowed sprite's colour as it was.
    void AttachSprite(hgeSprite* s);
    // Draws an owned copy of the sprite.
    void SetSpriteCopy(const hgeSprite& s);
    // An owned sprite over the whole image of the resource texture of that name,
    // hot spot in its middle; an empty name gives a 1 x 1 untextured sprite.
    void SetSprite(const std::string& textureName);
    // An owned sprite over a rectangle of the texture, hot spot in its middle.
    void SetSpriteRect(const std::string& textureName, float rx, float ry, float w, float h);

    hgeSprite* GetSprite() const { return sprite; }
    void SetColor(DWORD c) { color = c; }
    DWORD GetColor() const { return color; }

protected:
    void ReleaseSprite();

    hgeSprite* sprite = nullptr;
    DWORD color = 0xFFFFFFFF;
    bool ownsSprite = false;
};

}  // namespace ZOLTFramework
