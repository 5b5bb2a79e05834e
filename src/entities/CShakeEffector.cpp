#include "entities/CShakeEffector.h"

#include <algorithm>
#include <cmath>

#include "entities/EffectorMath.h"

namespace ZOLTFramework {

void CShakeEffector::SetParams(float newAmplitudeX, float newAmplitudeY, float newSpeed)
{
    CEntity* target = GetTarget();
    if (!target)
        return;
    initialAmplitudeX = amplitudeX = newAmplitudeX;
    initialAmplitudeY = amplitudeY = newAmplitudeY;
    initialSpeed = shakeSpeed = newSpeed;
    x = target->x;
    y = target->y;
    OnMove();
}

void CShakeEffector::Pause()
{
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

void CShakeEffector::Update(float dt)
{
    CEntity* target = GetTarget();
    if (!target)
        return;

    if (decays) {
        const float d = decayRate / 10.0f * dt;
        amplitudeX = std::max(0.0f, amplitudeX - d);
        amplitudeY = std::max(0.0f, amplitudeY - d);
        shakeSpeed = std::max(0.0f, shakeSpeed - decayRate * dt);
        if ((amplitudeX == 0.0f && amplitudeY == 0.0f) || shakeSpeed == 0.0f)
            Pause();
    }

    if (!hasPoint) {
        pointX = x + RandomFloat(-amplitudeX, amplitudeX);
        pointY = y + RandomFloat(-amplitudeY, amplitudeY);
        hasPoint = true;
        return;
    }

    float px = target->x;
    float py = target->y;
    const float dx = pointX - px;
    const float dy = pointY - py;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 1.0f) {
        px = pointX;
        py = pointY;
        hasPoint = false;
    } else {
        const float a0 = std::atan2(dy, dx);
        const float norm = InvSqrt(dx * dx + dy * dy);
        const float qx = px + dx * norm * shakeSpeed * dt;
        const float qy = py + dy * norm * shakeSpeed * dt;
        const float a1 = std::atan2(pointY - qy, pointX - qx);
        if (a0 - 0.1f <= a1 && a1 <= a0 + 0.1f) {
            px = qx;
            py = qy;
        } else {
            // The step went past the point.
            px = pointX;
            py = pointY;
            hasPoint = false;
        }
    }
    target->x = px;
    target->y = py;
    target->OnMove();
}

}  // namespace ZOLTFramework
