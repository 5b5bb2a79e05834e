#include "entities/effects/CShakeEffector.h"

#include <algorithm>

#include "graphics/hgeVector.h"

namespace ZOLTFramework {

void CShakeEffector::SetParams(float newAmplitudeX, float newAmplitudeY, float newSpeed) {
    CEntity* target = GetTarget();
    if (!target) return;
    initialAmplitudeX = amplitudeX = newAmplitudeX;
    initialAmplitudeY = amplitudeY = newAmplitudeY;
    initialSpeed = shakeSpeed = newSpeed;
    x = target->x;
    y = target->y;
    OnMove();
}

void CShakeEffector::Pause() {
    CEntity::Pause();
    hasPoint = false;
    if (CEntity* target = GetTarget()) {
        target->x = x;
        target->y = y;
        target->OnMove();
    }
    amplitudeX = initialAmplitudeX;
    amplitudeY = initialAmplitudeY;
    shakeSpeed = initialSpeed;
}

void CShakeEffector::Update(float dt) {
    CEntity* target = GetTarget();
    if (!target) return;

    if (decays) {
        const float d = decayRate / 10.0f * dt;
        amplitudeX = std::max(0.0f, amplitudeX - d);
        amplitudeY = std::max(0.0f, amplitudeY - d);
        shakeSpeed = std::max(0.0f, shakeSpeed - decayRate * dt);
        if ((amplitudeX == 0.0f && amplitudeY == 0.0f) || shakeSpeed == 0.0f) Pause();
    }

    if (!hasPoint) {
        pointX = x + RandomFloat(-amplitudeX, amplitudeX);
        pointY = y + RandomFloat(-amplitudeY, amplitudeY);
        hasPoint = true;
        return;
    }

    hgeVector p(target->x, target->y);
    const hgeVector point(pointX, pointY);
    hgeVector d = point - p;
    if (d.Length() <= 1.0f) {
        p = point;
        hasPoint = false;
    } else {
        const float a0 = d.Angle();
        d.Normalize();
        const hgeVector q = p + d * (shakeSpeed * dt);
        const float a1 = (point - q).Angle();
        if (a0 - 0.1f <= a1 && a1 <= a0 + 0.1f) {
            p = q;
        } else {
            // The step went past the point.
            p = point;
            hasPoint = false;
        }
    }
    target->x = p.x;
    target->y = p.y;
    target->OnMove();
}

}  // namespace ZOLTFramework
