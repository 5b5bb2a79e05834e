#include "entities/CAMovEffector.h"

#include <cmath>

namespace ZOLTFramework {

void CAMovEffector::SetMotion(float newHeading, float newSpeed)
{
    heading = newHeading;
    speed = newSpeed;
}

void CAMovEffector::Update(float dt)
{
    CEntity* target = GetTarget();
    if (!target || speed == 0.0f)
        return;
    // The unit vector (1, 0) turned by -heading: screen Y grows downwards.
    const float dirX = std::cos(-heading);
    const float dirY = std::sin(-heading);
    target->SetPosXY(target->x + dirX * speed * dt, target->y + dirY * speed * dt);
}

}  // namespace ZOLTFramework
