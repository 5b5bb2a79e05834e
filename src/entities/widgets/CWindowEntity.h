// A panel drawn from a named resource sprite that can be dragged with the left
// mouse button. Its hit rectangle is empty until SetSizeCentered gives it one.
#pragma once

#include <string>

#include "entities/widgets/CGUIEntity.h"

namespace ZOLTFramework {

class CWindowEntity : public CGUIEntity {
public:
    CWindowEntity() = default;
    ~CWindowEntity() override = default;

    // Mouse dispatch, then the drag: the window follows the mouse while the new
    // position lies strictly inside the screen.
    void Update(float dt) override;
    void Render() override;
    void OnLeftButton(bool down) override;

    void SetSpriteName(const std::string& n) { spriteName = n; }
    void SetSizeCentered(float w, float h) { SetRectCentered(w, h); }

private:
    float grabX = 0.0f;
    float grabY = 0.0f;
    std::string spriteName;
    bool dragging = false;
};

}  // namespace ZOLTFramework
