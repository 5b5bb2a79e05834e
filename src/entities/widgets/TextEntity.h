// The text widget: one string drawn with a font of the font registry at the
// entity's absolute position, scale, rotation and opacity, as free lines or
// word-wrapped in a box, optionally clipped to a screen rectangle. It reports
// hover to its listener when it has a hit rectangle. Screens build it in code or
// from a layout XML element.
//
// The text is drawn literally (a "%" is a plain character), at most 1023
// characters of it. The shared font is left exactly as it was found.
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "entities/widgets/CGUIEntity.h"
#include "graphics/hgeRect.h"
#include "platform/hge.h"

class hgeFont;

namespace ZOLTFramework {
class CButtonListener;
}

class TextEntity : public ZOLTFramework::CGUIEntity {
public:
    // A screen rectangle by its corner and size.
    struct ClipRect {
        float x = 0, y = 0, w = 0, h = 0;
    };

    // Longest text drawn (the font's text buffer holds one more byte).
    static constexpr size_t kMaxDrawnLength = 1023;

    TextEntity(const std::string& entityName, ZOLTFramework::CButtonListener* textListener);
    // From a layout element: attributes in document order ("message", "x", "y",
    // "z", "font", "text_alias", "text", "alignment", "color", "tracking",
    // "spacing"), then the children "border", "clipping" and "rect".
    TextEntity(const XMLDocument::XMLElement& element, ZOLTFramework::CButtonListener* textListener);
    ~TextEntity() override = default;

    // Mouse dispatch, then the hit rectangle follows the absolute position.
    void Update(float dt) override;
    void Render() override;
    // Children first, then the hit rectangle follows at once (not only at the
    // next Update), so other entities never test against a stale one.
    void OnMove() override;
    void OnMouseOver(bool entered) override;

    void SetText(const std::string& t) { text = t; }
    const std::string& GetTextRef() const { return text; }
    // Also takes the font's current colour. A null font is ignored.
    void SetFont(hgeFont* f);
    hgeFont* GetFont() const { return font; }
    void SetColor(DWORD c) { color = c; }
    DWORD GetColor() const { return color; }
    void SetAlignment(int a) { alignment = a; }
    int GetAlignment() const { return alignment; }
    // The wrapping box; -1 for either value means no box.
    void SetBox(float w, float h) {
        boxWidth = w;
        boxHeight = h;
    }
    float GetBoxWidth() const { return boxWidth; }
    float GetBoxHeight() const { return boxHeight; }
    void SetTracking(float t) {
        trackingOverride = t;
        hasTracking = true;
    }
    void SetSpacing(float s) {
        spacingOverride = s;
        hasSpacing = true;
    }
    void SetTextScale(float s) { textScale = s; }
    float GetTextScale() const { return textScale; }
    // Relative to the parent's absolute position (screen coordinates without a
    // parent); switches clipping on.
    void SetClipRect(float cx, float cy, float w, float h);
    void DisableClipping() { clipping = false; }
    // Hit rectangle relative to the absolute position.
    void SetLayout(float lx, float ly, float w, float h);
    void SetListener(ZOLTFramework::CButtonListener* l) { listener = l; }
    // The box width when there is a box, else the drawn width of the first line.
    float GetTextWidth();

private:
    void Init();
    void ApplyAttribute(const XMLDocument::XMLAttribute& attribute);
    void PlaceHitRect();

    hgeFont* font = nullptr;
    ZOLTFramework::CButtonListener* listener = nullptr;
    std::string text;
    int alignment = 2;
    float boxWidth = -1.0f;
    float boxHeight = -1.0f;
    DWORD color = 0xFFFFFFFF;
    ClipRect clipRect;
    bool clipping = false;
    float trackingOverride = 0.0f;
    bool hasTracking = false;
    float spacingOverride = 0.0f;
    bool hasSpacing = false;
    // The hit rectangle relative to the absolute position.
    hgeRect layoutRect;
    float textScale = 1.0f;
};
