#include "entities/widgets/CLetterEntity.h"

#include <algorithm>

#include "entities/core/EntityServices.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

namespace ZOLTFramework {

CLetterEntity::CLetterEntity(unsigned char letter, const std::string& font) : character(letter), fontName(font) {}

void CLetterEntity::Render() {
    hgeFont* font = FontRegistry::GetFont(fontName);
    if (!font) return;
    const DWORD oldColor = font->GetColor();
    const float oldRotation = font->GetRotation();
    const float oldScale = font->GetScale();

    const float s = std::max(scaleX, scaleY);
    font->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
    font->SetRotation(rotation);
    font->SetScale(s);
    font->printf(GetAbsoluteX(), GetAbsoluteY() - s * 30.0f - 20.0f, HGETEXT_LEFT, "%c", character);

    font->SetRotation(oldRotation);
    font->SetScale(oldScale);
    font->SetColor(oldColor);
}

}  // namespace ZOLTFramework
