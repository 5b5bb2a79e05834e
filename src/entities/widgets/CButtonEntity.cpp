#include "entities/widgets/CButtonEntity.h"

#include <cmath>

#include "engine/EngineContext.h"
#include "entities/core/EntityServices.h"
#include "entities/core/Listeners.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

CButtonEntity::CButtonEntity(const std::string& buttonName, CButtonListener* buttonListener)
    : listener(buttonListener) {
    name = buttonName;
}

CButtonEntity::~CButtonEntity() { ReleaseSprites(); }

void CButtonEntity::ReleaseSprites() {
    delete upSprite;
    delete overSprite;
    delete downSprite;
    upSprite = overSprite = downSprite = nullptr;
}

void CButtonEntity::SetSprite(const std::string& textureName, float sx, float sy, float w, float h) {
    ReleaseSprites();
    const HTEXTURE tex = Services::Texture(engine, textureName);
    hgeSprite** looks[3] = {&upSprite, &overSprite, &downSprite};
    for (int i = 0; i < 3; ++i) {
        *looks[i] = new hgeSprite(tex, sx, sy + float(i) * h, w, h);
        (*looks[i])->SetHotSpot(w * 0.5f, h * 0.5f);
    }
}

void CButtonEntity::Update(float dt) {
    CGUIEntity::Update(dt);
    HGE* hge = Services::Hge(engine);
    if (hotKey != 0 && hge && IsMouseEligible() && hge->Input_GetKey() == hotKey) OnLeftButton(true);
}

void CButtonEntity::Resume() {
    CGUIEntity::Resume();
    pressed = false;
}

void CButtonEntity::OnMouseOver(bool entered) {
    hovered = entered;
    if (listener) listener->OnButtonHover(name, entered);
}

void CButtonEntity::OnLeftButton(bool down) {
    pressed = down;
    if (!listener) return;
    if (down) {
        listener->OnButtonPress(name);
    } else {
        listener->OnButtonRelease(name);
    }
}

hgeSprite* CButtonEntity::CurrentLook() const {
    if (!pressed && !hovered) return upSprite;
    if (pressed && downSprite) return downSprite;
    if (hovered) return overSprite;
    return nullptr;
}

void CButtonEntity::Render() {
    const float opacity = GetAbsoluteOpacity();
    const DWORD tint = Services::FadeColor(0xFFFFFFFF, opacity);
    if (hgeSprite* look = CurrentLook()) {
        look->SetColor(tint);
        look->RenderEx(GetAbsoluteX(), GetAbsoluteY(), 0.0f, GetAbsoluteScaleX(), GetAbsoluteScaleY());
    }
    if (caption.empty()) return;
    hgeFont* font = Services::ResourceFont(engine, "Main");
    if (!font) return;
    const std::string text = Services::Text(engine, caption);
    font->SetColor(tint);
    if (!text.empty()) {
        const float ty = std::trunc(GetAbsoluteY() - font->GetHeight() * 0.5f);
        font->Render(GetAbsoluteX(), ty, HGETEXT_CENTER, text.c_str());
    }
    font->SetColor(0xFFFFFFFF);
}

}  // namespace ZOLTFramework
