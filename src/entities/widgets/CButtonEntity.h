// A push button cut from one texture strip (up, over and down looks one under
// the other), with an optional caption from the text table. It reports press,
// release, over and leave to its listener with its name.
#pragma once

#include <string>

#include "entities/widgets/CGUIEntity.h"

class hgeSprite;

namespace ZOLTFramework {

class CButtonListener;

class CButtonEntity : public CGUIEntity {
public:
    CButtonEntity(const std::string& buttonName, CButtonListener* buttonListener);
    ~CButtonEntity() override;

    // Mouse dispatch, then the hot key.
    void Update(float dt) override;
    void Render() override;
    // Also lets go of the button.
    void Resume() override;
    void OnMouseOver(bool entered) override;
    void OnLeftButton(bool down) override;

    // Cuts the three looks, each w x h with its hot spot in the middle: up at
    // (x, y), over at (x, y + h), down at (x, y + 2h) of the resource texture.
    void SetSprite(const std::string& textureName, float sx, float sy, float w, float h);
    // The hit rectangle: w x h centred on the absolute position.
    void SetSizeCentered(float w, float h) { SetRectCentered(w, h); }
    // A text-table key; empty = no caption.
    void SetCaption(const std::string& key) { caption = key; }
    const std::string& GetCaption() const { return caption; }
    void SetHotKey(int key) { hotKey = key; }
    int GetHotKey() const { return hotKey; }
    void SetListener(CButtonListener* l) { listener = l; }

    // The look drawn now (null when that look is missing).
    hgeSprite* CurrentLook() const;

protected:
    void ReleaseSprites();

    CButtonListener* listener;
    std::string caption;
    hgeSprite* upSprite = nullptr;
    hgeSprite* overSprite = nullptr;
    hgeSprite* downSprite = nullptr;
    bool hovered = false;
    bool pressed = false;
    int hotKey = 0;
};

}  // namespace ZOLTFramework
