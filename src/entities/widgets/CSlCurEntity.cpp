#include "entities/widgets/CSlCurEntity.h"

#include "entities/core/EntityServices.h"
#include "entities/core/Listeners.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

CSlCurEntity::CSlCurEntity(CSlCurListener* cursorOwner) : owner(cursorOwner) {}

void CSlCurEntity::Update(float dt) {
    CGUIEntity::Update(dt);
    if (dragging && owner) owner->OnCursorMoved();
}

void CSlCurEntity::Render() { RenderNamedSprite(*this, spriteName); }

void CSlCurEntity::OnLeftButton(bool down) { dragging = down && !dragging; }

void CSlCurEntity::SetSizeCentered(float w, float h) {
    const CEntity* anchor = parent ? parent : this;
    SetRect(anchor->GetAbsoluteX() - w * 0.5f, anchor->GetAbsoluteY() - h * 0.5f, w, h);
}

void RenderNamedSprite(const CEntity& entity, const std::string& spriteName) {
    if (spriteName.empty()) return;
    hgeSprite* sprite = Services::Sprite(entity.GetEngine(), spriteName);
    if (!sprite) return;
    sprite->SetColor(Services::FadeColor(0xFFFFFFFF, entity.GetAbsoluteOpacity()));
    sprite->RenderEx(entity.GetAbsoluteX(), entity.GetAbsoluteY(), 0.0f, entity.GetAbsoluteScaleX(),
                     entity.GetAbsoluteScaleY());
}

}  // namespace ZOLTFramework
