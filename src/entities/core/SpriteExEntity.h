// A sprite entity with a tint of its own, drawn at one uniform scale. It puts
// the sprite's colour back after drawing, so a sprite shared through the
// resource manager keeps its colour for its other users.
#pragma once

#include "entities/core/CSpriteEntity.h"

class SpriteExEntity : public ZOLTFramework::CSpriteEntity {
public:
    SpriteExEntity() = default;
    ~SpriteExEntity() override = default;

    void Render() override;

    void SetColor(DWORD c) { exColor = c; }
    DWORD GetColor() const { return exColor; }
    hgeSprite* GetSprite() const { return sprite; }

private:
    DWORD exColor = 0xFFFFFFFF;
};
