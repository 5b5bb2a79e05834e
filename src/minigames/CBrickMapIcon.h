// A brick-shaped icon button: it swells under the mouse, shrinks while pressed,
// shows a heart on its back side while active and can glow behind itself.
#pragma once

#include <string>

#include "entities/widgets/CGUIEntity.h"

namespace ZOLTFramework {

class CButtonListener;
class CSpriteEntity;

class CBrickMapIcon : public CGUIEntity {
public:
    CBrickMapIcon(const std::string& iconName, CButtonListener* iconListener);
    ~CBrickMapIcon() override = default;

    void Update(float dt) override;
    void Render() override;
    void OnMouseOver(bool entered) override;
    void OnLeftButton(bool down) override;

    void SetActive(bool on) { active = on; }
    bool IsActive() const { return active; }
    // The glow is the child "Glow" while it lasts.
    void StartGlow(bool on);
    bool IsGlowing() const { return glowing; }
    bool IsIconHovered() const { return hovered; }

private:
    void DrawSprite(const char* spriteName);

    CButtonListener* listener;
    CSpriteEntity* glowSprite = nullptr;
    bool hovered = false;
    bool pressed = false;
    bool active = false;
    bool glowing = false;
};

}  // namespace ZOLTFramework
