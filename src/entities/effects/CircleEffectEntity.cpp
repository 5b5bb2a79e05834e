#include "entities/effects/CircleEffectEntity.h"

#include <algorithm>
#include <cmath>

using ZOLTFramework::CEntity;

void CircleEffectEntity::AddEntity(CEntity* member) {
    if (!member) return;
    members.push_back(member);
    Layout();
}

// Pointer comparison only: a member that is no longer a child may be gone.
bool CircleEffectEntity::IsChild(const CEntity* e) const {
    return std::find(children.begin(), children.end(), e) != children.end();
}

void CircleEffectEntity::Layout() {
    // Only members that are still children are touched (a member may be
    // attached after it is added, or gone since).
    std::vector<CEntity*> ring;
    for (CEntity* m : members) {
        if (IsChild(m)) ring.push_back(m);
    }
    if (ring.empty()) return;
    const float step = 6.2831855f / float(ring.size());
    const float r = GetAbsoluteScale() * radius;
    float a = 0.0f;
    for (CEntity* m : ring) {
        m->x = std::cos(a) * r;
        m->y = std::sin(a) * r;
        m->OnMove();
        a += step;
    }
}
