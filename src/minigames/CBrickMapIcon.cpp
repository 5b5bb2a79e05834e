#include "minigames/CBrickMapIcon.h"

#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/core/Listeners.h"
#include "graphics/hgeSprite.h"
#include "minigames/CGlowEffector.h"

namespace ZOLTFramework {

CBrickMapIcon::CBrickMapIcon(const std::string& iconName, CButtonListener* iconListener) : listener(iconListener) {
    name = iconName;
    hgeSprite* brick = Services::Sprite(engine, "Brick");
    SetRectCentered(brick ? brick->GetWidth() : 0.0f, brick ? brick->GetHeight() : 0.0f);
}

void CBrickMapIcon::Update(float dt) {
    if (active) CGUIEntity::Update(dt);
}

void CBrickMapIcon::DrawSprite(const char* spriteName) {
    hgeSprite* sprite = Services::Sprite(engine, spriteName);
    if (!sprite) return;
    sprite->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
    sprite->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(), GetAbsoluteScaleY());
}

void CBrickMapIcon::Render() {
    SetScale(pressed ? 0.9f : (hovered ? 1.1f : 1.0f));
    if (!active) {
        DrawSprite("Brick");
    } else {
        DrawSprite("BrickBack");
        DrawSprite("InterfaceHeart");
    }
}

void CBrickMapIcon::OnMouseOver(bool entered) {
    if (!active) return;
    hovered = entered;
    if (!listener) return;
    if (entered)
        listener->OnButtonOver(name);
    else
        listener->OnButtonLeave(name);
}

void CBrickMapIcon::OnLeftButton(bool down) {
    pressed = down;
    if (active && !glowing && down && listener) listener->OnButtonPress(name);
}

void CBrickMapIcon::StartGlow(bool on) {
    glowing = on;
    if (on && !glowSprite) {
        glowSprite = SpawnChild<CSpriteEntity>();
        glowSprite->SetName("Glow");
        glowSprite->SetSpriteRect("Shock", 0.0f, 0.0f, 128.0f, 128.0f);
        if (hgeSprite* look = glowSprite->GetSprite()) look->SetBlendMode(0);
        glowSprite->SetDepth(-0.1f);
        glowSprite->SetOpacity(1.0f);
        auto* glow = glowSprite->SpawnChild<CGlowEffector>();  // takes its scale range from the sprite
        glow->rotationSpeed = 0.3f;
        glow->scaleSpeed = 0.1f;
    } else if (!on && glowSprite) {
        glowSprite->Kill();
        glowSprite = nullptr;
    }
}

}  // namespace ZOLTFramework
