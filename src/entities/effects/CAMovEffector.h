// Straight-line motion of the target with a heading and a speed.
#pragma once

#include "entities/effects/CEffector.h"

namespace ZOLTFramework {

class CAMovEffector : public CEffector {
public:
    CAMovEffector() = default;
    ~CAMovEffector() override = default;

    // Heading in radians (0 right, pi/2 up the screen), speed in pixels per second.
    void SetMotion(float newHeading, float newSpeed);
    float GetSpeed() const { return speed; }

    // Moves the target by speed * dt along the heading; a speed of 0 leaves it
    // alone (no OnMove either).
    void Update(float dt) override;

protected:
    float heading = 0.0f;
    float speed = 0.0f;
};

}  // namespace ZOLTFramework
