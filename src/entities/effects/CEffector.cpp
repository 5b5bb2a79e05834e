#include "entities/effects/CEffector.h"

#include "engine/EngineContext.h"
#include "platform/hge.h"

namespace ZOLTFramework {

CEffector::CEffector() {
    updatable = true;
    enabled = false;
    UpdateRegistration();
}

HGE* CEffector::GetHGE() const { return engine ? engine->GetHGE() : nullptr; }

float CEffector::RandomFloat(float min, float max) const {
    HGE* hge = GetHGE();
    if (!hge) return (min + max) * 0.5f;
    return hge->Random_Float(min, max);
}

}  // namespace ZOLTFramework
