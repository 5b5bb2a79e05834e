#include "entities/widgets/TextEntity.h"

#include "engine/EngineContext.h"
#include "engine/Conversions.h"
#include "entities/core/EntityServices.h"
#include "entities/core/LayoutAttributes.h"
#include "entities/core/Listeners.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

using ZOLTFramework::CButtonListener;
namespace LayoutAttributes = ZOLTFramework::LayoutAttributes;
namespace Services = ZOLTFramework::Services;

TextEntity::TextEntity(const std::string& entityName, CButtonListener* textListener) : listener(textListener) {
    name = entityName;
    Init();
}

TextEntity::TextEntity(const XMLDocument::XMLElement& element, CButtonListener* textListener)
    : listener(textListener) {
    Init();
    x = 0.0f;
    y = 0.0f;
    OnMove();
    SetDepth(1.0f);

    for (const auto& attribute : element.GetAttributes()) {
        if (attribute) ApplyAttribute(*attribute);
    }
    for (const auto& child : element.GetChildren()) {
        if (!child) continue;
        const std::string& tag = child->GetName();
        if (tag == "border") {
            SetBox(child->GetFloatAttribute("w"), child->GetFloatAttribute("h"));
        } else if (tag == "clipping") {
            SetClipRect(child->GetFloatAttribute("x"), child->GetFloatAttribute("y"), child->GetFloatAttribute("w"),
                        child->GetFloatAttribute("h"));
        } else if (tag == "rect") {
            layoutRect = LayoutAttributes::ReadRect(*child);
        }
    }
}

void TextEntity::Init() { SetFont(FontRegistry::GetFont("Main")); }

void TextEntity::ApplyAttribute(const XMLDocument::XMLAttribute& attribute) {
    const std::string& key = attribute.GetName();
    const std::string& value = attribute.GetValue();
    if (LayoutAttributes::ApplyPlacement(*this, key, value)) return;
    if (key == "message") {
        name = value;
    } else if (key == "font") {
        // A font the registry does not hold keeps the current one.
        SetFont(FontRegistry::GetFont(value));
    } else if (key == "text_alias") {
        text = Services::Text(engine, value);
    } else if (key == "text") {
        text = value;
    } else if (key == "alignment") {
        alignment = StringToInt(value);
    } else if (key == "color") {
        color = StringToUInt(value);
    } else if (key == "tracking") {
        SetTracking(StringToFloat(value));
    } else if (key == "spacing") {
        SetSpacing(StringToFloat(value));
    }
}

void TextEntity::SetFont(hgeFont* f) {
    if (!f) return;
    font = f;
    color = f->GetColor();
}

void TextEntity::SetClipRect(float cx, float cy, float w, float h) {
    clipping = true;
    if (parent) {
        clipRect.x = parent->GetAbsoluteX() + cx;
        clipRect.y = parent->GetAbsoluteY() + cy;
    } else {
        clipRect.x = cx;
        clipRect.y = cy;
    }
    clipRect.w = w;
    clipRect.h = h;
}

void TextEntity::SetLayout(float lx, float ly, float w, float h) {
    layoutRect.Set(lx, ly, lx + w, ly + h);
    PlaceHitRect();
}

void TextEntity::PlaceHitRect() {
    SetRect(GetAbsoluteX() + layoutRect.x1, GetAbsoluteY() + layoutRect.y1, layoutRect.x2 - layoutRect.x1,
            layoutRect.y2 - layoutRect.y1);
}

void TextEntity::Update(float dt) {
    CGUIEntity::Update(dt);
    PlaceHitRect();
}

void TextEntity::OnMove() {
    CEntity::OnMove();
    PlaceHitRect();
}

void TextEntity::OnMouseOver(bool entered) {
    if (IsPausedInChain() || !listener) return;
    listener->OnButtonHover(name, entered);
}

float TextEntity::GetTextWidth() {
    if (boxWidth != -1.0f && boxHeight != -1.0f) return boxWidth;
    if (!font) return 0.0f;
    const float savedScale = font->GetScale();
    const float savedRotation = font->GetRotation();
    const DWORD savedColor = font->GetColor();
    const float savedTracking = font->GetTracking();
    font->SetScale(GetAbsoluteScale() * textScale);
    font->SetRotation(GetAbsoluteRotation());
    if (hasTracking) font->SetTracking(trackingOverride);  // measured as it is drawn
    const float width = font->GetLineWidth(text.c_str());
    font->SetTracking(savedTracking);
    font->SetRotation(savedRotation);
    font->SetScale(savedScale);
    font->SetColor(savedColor);
    return width;
}

void TextEntity::Render() {
    if (text.empty() || !font) return;

    const float savedScale = font->GetScale();
    const float savedRotation = font->GetRotation();
    const DWORD savedColor = font->GetColor();
    const float savedTracking = font->GetTracking();
    const float savedSpacing = font->GetSpacing();

    font->SetScale(GetAbsoluteScale() * textScale);
    font->SetRotation(GetAbsoluteRotation());
    if (hasTracking) font->SetTracking(trackingOverride);
    if (hasSpacing) font->SetSpacing(spacingOverride);
    font->SetColor(Services::FadeColor(color, GetAbsoluteOpacity()));

    HGE* hge = Services::Hge(engine);
    if (clipping && hge) hge->Gfx_SetClipping(int(clipRect.x), int(clipRect.y), int(clipRect.w), int(clipRect.h));

    const float ax = GetAbsoluteX();
    const float ay = GetAbsoluteY() - GetAbsoluteScaleY() * font->GetHeight() * 0.5f;
    const std::string shown = text.size() > kMaxDrawnLength ? text.substr(0, kMaxDrawnLength) : text;
    if (boxWidth == -1.0f || boxHeight == -1.0f) {
        font->Render(ax, ay, alignment, shown.c_str());
    } else {
        font->printfb(ax, ay, boxWidth * GetAbsoluteScaleX(), boxHeight * GetAbsoluteScaleY(), alignment, "%s",
                      shown.c_str());
    }

    if (clipping && hge) {
        const int w = engine ? int(engine->GetScreenWidth()) : 800;
        const int h = engine ? int(engine->GetScreenHeight()) : 600;
        hge->Gfx_SetClipping(0, 0, w, h);
    }

    font->SetRotation(savedRotation);
    font->SetScale(savedScale);
    font->SetColor(savedColor);
    if (hasTracking) font->SetTracking(savedTracking);
    if (hasSpacing) font->SetSpacing(savedSpacing);
}
