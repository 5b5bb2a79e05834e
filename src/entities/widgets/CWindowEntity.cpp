#include "entities/widgets/CWindowEntity.h"

#include "engine/EngineContext.h"
#include "entities/core/EntityServices.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

void CWindowEntity::OnLeftButton(bool down) {
    dragging = down;
    if (!engine) return;
    grabX = engine->GetMouseX() - GetAbsoluteX();
    grabY = engine->GetMouseY() - GetAbsoluteY();
}

void CWindowEntity::Update(float dt) {
    CGUIEntity::Update(dt);
    if (!dragging || !engine) return;
    const float nx = engine->GetMouseX() - grabX;
    const float ny = engine->GetMouseY() - grabY;
    if (nx > 0.0f && nx < engine->GetScreenWidth() && ny > 0.0f && ny < engine->GetScreenHeight()) SetPosXY(nx, ny);
}

void CWindowEntity::Render() {
    if (spriteName.empty()) return;
    hgeSprite* sprite = Services::Sprite(engine, spriteName);
    if (!sprite) return;
    sprite->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
    sprite->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(), GetAbsoluteScaleY());
}

}  // namespace ZOLTFramework
