#include "entities/effects/CBubble.h"

#include <cstdlib>

namespace ZOLTFramework {

void CBubble::Update(float dt) {
    CEntity* target = GetTarget();
    if (!target) return;

    CAMovEffector::Update(dt);

    if (speed == 0.0f) {
        // A new bubble: choose its first course (straight up, give or take 0.1).
        heading = RandomFloat(1.4707963f, 1.6707964f);
        speed = kSpeed;
        return;
    }

    if (std::rand() % 500 == 1) {
        heading = RandomFloat(1.3707963f, 1.7707964f);
        speed = kSpeed;
    }

    // The effector sits at local (0, 0): its absolute Y is the target's.
    if (GetAbsoluteY() < kDeathY) target->Kill();
}

}  // namespace ZOLTFramework
