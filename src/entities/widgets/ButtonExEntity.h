// A button read from a screen's layout XML element: three borrowed resource
// sprites, an explicit hit rectangle relative to its position, and an optional
// caption text widget as its child. A press is reported once to the listener
// with the button's name (the element's "message"); a release reports nothing.
// While the button or an ancestor is paused it ignores mouse and hot key.
#pragma once

#include "engine/XMLDocument.h"
#include "entities/widgets/CGUIEntity.h"
#include "graphics/hgeRect.h"

class hgeSprite;
class TextEntity;

namespace ZOLTFramework {
class CButtonListener;
}

class ButtonExEntity : public ZOLTFramework::CGUIEntity {
public:
    // Attributes "sprite_up", "sprite_over", "sprite_down", "message", "x", "y",
    // "z"; children "rect" (x, y, w, h) and "caption" (a text element).
    ButtonExEntity(const XMLDocument::XMLElement& element, ZOLTFramework::CButtonListener* buttonListener);
    ~ButtonExEntity() override = default;

    void Update(float dt) override;
    // Drawn only when all three looks exist.
    void Render() override;
    void Pause() override;
    void Resume() override;
    // Puts the engine's draw-cursor flag back as it was when the button was made.
    void LostFocus() override;
    // Children first, then the hit rectangle follows at once (not only at the
    // next Update), so other entities never test against a stale one.
    void OnMove() override;
    void OnMouseOver(bool entered) override;
    // Also while paused: the listener hears the leave.
    void DropHover() override;
    void OnLeftButton(bool down) override;

    // The caption widget while it is still this button's child, else null.
    TextEntity* GetCaption() const;
    void SetHotKey(int key) { hotKey = key; }
    int GetHotKey() const { return hotKey; }
    void SetListener(ZOLTFramework::CButtonListener* l) { listener = l; }

    void GetHitRect(float* x1, float* y1, float* x2, float* y2) const;

private:
    void PlaceHitRect();

    ZOLTFramework::CButtonListener* listener;
    TextEntity* captionText = nullptr;
    hgeSprite* upSprite = nullptr;
    hgeSprite* overSprite = nullptr;
    hgeSprite* downSprite = nullptr;
    bool hovered = false;
    bool pressed = false;
    int hotKey = 0;
    // Relative to the absolute position.
    hgeRect hitRect;
    bool savedCursorFlag = false;
};
