// Turns its target steadily and breathes its scale between the target's
// scale at attachment and one and a half times that.
#pragma once

#include "entities/effects/CEffector.h"

namespace ZOLTFramework {

class CGlowEffector : public CEffector {
public:
    CGlowEffector() = default;
    ~CGlowEffector() override = default;

    void Update(float dt) override;
    void OnAttached() override;

    float rotationSpeed = 0.0f;  // radians per second
    float scaleSpeed = 0.0f;     // per second
    int direction = 1;
    float maxScale = 1.5f;
    float minScale = 1.0f;
};

}  // namespace ZOLTFramework
