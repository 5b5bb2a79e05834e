#include "minigames/CGlowEffector.h"

#include <algorithm>

namespace ZOLTFramework {

void CGlowEffector::OnAttached() {
    CEntity* target = GetTarget();
    if (!target) return;
    minScale = std::max(target->GetScaleX(), target->GetScaleY());
    maxScale = 1.5f * minScale;
}

void CGlowEffector::Update(float dt) {
    CEntity* target = GetTarget();
    if (!target) return;
    const float s = std::max(target->GetScaleX(), target->GetScaleY());
    if (s > maxScale) direction = -1;
    if (s < minScale) direction = 1;
    target->SetScale(s + float(direction) * scaleSpeed * dt);
    target->SetRotation(target->GetRotation() + rotationSpeed * dt);
}

}  // namespace ZOLTFramework
