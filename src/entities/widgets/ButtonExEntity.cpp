#include "entities/widgets/ButtonExEntity.h"

#include <algorithm>

#include "engine/EngineContext.h"
#include "engine/Conversions.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/core/LayoutAttributes.h"
#include "entities/core/Listeners.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeSprite.h"

using ZOLTFramework::CButtonListener;
namespace LayoutAttributes = ZOLTFramework::LayoutAttributes;
namespace Services = ZOLTFramework::Services;

ButtonExEntity::ButtonExEntity(const XMLDocument::XMLElement& element, CButtonListener* buttonListener)
    : listener(buttonListener) {
    x = 0.0f;
    y = 0.0f;
    OnMove();
    SetDepth(1.0f);

    for (const auto& attribute : element.GetAttributes()) {
        if (!attribute) continue;
        const std::string& key = attribute->GetName();
        const std::string& value = attribute->GetValue();
        if (key == "sprite_up") {
            upSprite = Services::Sprite(engine, value);
        } else if (key == "sprite_over") {
            overSprite = Services::Sprite(engine, value);
        } else if (key == "sprite_down") {
            downSprite = Services::Sprite(engine, value);
        } else if (key == "message") {
            name = value;
        } else {
            LayoutAttributes::ApplyPlacement(*this, key, value);
        }
    }

    for (const auto& child : element.GetChildren()) {
        if (!child) continue;
        if (child->GetName() == "rect") {
            hitRect = LayoutAttributes::ReadRect(*child);
            PlaceHitRect();
        } else if (child->GetName() == "caption") {
            captionText = SpawnChild<TextEntity>(*child, nullptr);
        }
    }

    savedCursorFlag = engine ? engine->GetDrawCursor() : false;
}

TextEntity* ButtonExEntity::GetCaption() const {
    if (!captionText) return nullptr;
    // Pointer comparison first: a caption that left the button may be gone.
    const bool child = std::find(children.begin(), children.end(), captionText) != children.end();
    return child ? captionText : nullptr;
}

void ButtonExEntity::GetHitRect(float* x1, float* y1, float* x2, float* y2) const {
    *x1 = hitRect.x1;
    *y1 = hitRect.y1;
    *x2 = hitRect.x2;
    *y2 = hitRect.y2;
}

void ButtonExEntity::PlaceHitRect() {
    SetRect(GetAbsoluteX() + hitRect.x1, GetAbsoluteY() + hitRect.y1, hitRect.x2 - hitRect.x1, hitRect.y2 - hitRect.y1);
}

void ButtonExEntity::Update(float dt) {
    PlaceHitRect();
    if (IsPausedInChain()) return;
    CGUIEntity::Update(dt);
    HGE* hge = Services::Hge(engine);
    if (hotKey != 0 && hge && IsMouseEligible() && hge->Input_KeyDown(hotKey)) OnLeftButton(true);
}

void ButtonExEntity::Pause() {
    DropHoverBelow(this);
    paused = true;
}

void ButtonExEntity::DropHover() {
    hover = false;
    if (!hovered) return;
    hovered = false;
    if (listener) listener->OnButtonHover(name, false);
}

void ButtonExEntity::Resume() {
    paused = false;
    pressed = false;
}

void ButtonExEntity::LostFocus() {
    if (engine) engine->SetDrawCursor(savedCursorFlag);
}

void ButtonExEntity::OnMove() {
    CEntity::OnMove();
    PlaceHitRect();
}

void ButtonExEntity::OnMouseOver(bool entered) {
    if (IsPausedInChain()) return;
    hovered = entered;
    if (listener) listener->OnButtonHover(name, entered);
}

void ButtonExEntity::OnLeftButton(bool down) {
    if (IsPausedInChain()) return;
    pressed = down;
    if (!down) return;
    if (listener) listener->OnButtonPress(name);
    pressed = false;
}

void ButtonExEntity::Render() {
    if (!upSprite || !overSprite || !downSprite) return;
    hgeSprite* look = pressed ? downSprite : (hovered ? overSprite : upSprite);
    look->SetColor(Services::FadeColor(look->GetColor() | 0xFF000000u, GetAbsoluteOpacity()));
    look->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(), GetAbsoluteScaleY());
}
