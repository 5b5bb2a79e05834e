// The handle of a slider: a GUI entity that, once pressed, is dragged with the
// mouse and reports every frame of the drag to its slider.
#pragma once

#include <string>

#include "entities/widgets/CGUIEntity.h"

namespace ZOLTFramework {

class CSlCurListener;

class CSlCurEntity : public CGUIEntity {
public:
    // The owner (the slider) is not owned.
    explicit CSlCurEntity(CSlCurListener* owner);
    ~CSlCurEntity() override = default;

    // Mouse dispatch; while dragging, the owner's OnCursorMoved.
    void Update(float dt) override;
    void Render() override;
    // A press while not dragging starts the drag; anything else stops it.
    void OnLeftButton(bool down) override;

    void SetSpriteName(const std::string& n) { spriteName = n; }
    // A w x h hit rectangle centred on the parent's (the slider's) absolute
    // position, or on its own without a parent.
    void SetSizeCentered(float w, float h);

private:
    CSlCurListener* owner;
    std::string spriteName;
    bool dragging = false;
};

// Draws a resource sprite by name at the entity's absolute position and
// scales, white with the entity's opacity (shared by the slider and its cursor).
void RenderNamedSprite(const CEntity& entity, const std::string& spriteName);

}  // namespace ZOLTFramework
