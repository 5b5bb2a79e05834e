#include "entities/effects/CAMovEffector.h"

#include "graphics/hgeVector.h"

namespace ZOLTFramework {

void CAMovEffector::SetMotion(float newHeading, float newSpeed) {
    heading = newHeading;
    speed = newSpeed;
}

void CAMovEffector::Update(float dt) {
    CEntity* target = GetTarget();
    if (!target || speed == 0.0f) return;
    // The unit vector (1, 0) turned by -heading: screen Y grows downwards.
    hgeVector direction(1.0f, 0.0f);
    direction.Rotate(-heading);
    target->x += direction.x * speed * dt;
    target->y += direction.y * speed * dt;
    target->OnMove();
}

}  // namespace ZOLTFramework
