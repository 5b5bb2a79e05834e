#include "entities/core/SpriteExEntity.h"

#include "entities/core/EntityServices.h"
#include "graphics/hgeSprite.h"

void SpriteExEntity::Render() {
    if (!sprite || !enabled || dead || IsHiddenInChain()) return;
    DWORD saved[4];
    for (int i = 0; i < 4; ++i) saved[i] = sprite->GetColor(i);
    sprite->SetColor(ZOLTFramework::Services::FadeColor(exColor, GetAbsoluteOpacity()));
    sprite->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScale());
    for (int i = 0; i < 4; ++i) sprite->SetColor(saved[i], i);
}
