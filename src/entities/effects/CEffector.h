// The base of the effectors: entities that change another entity over time.
// An effector is attached as a child of the entity it acts on (its target),
// updated every frame by the entity manager and never drawn: it stays out of
// the draw list (disabled) and dies with its target.
#pragma once

#include "entities/core/CEntity.h"

class HGE;

namespace ZOLTFramework {

class CEffector : public CEntity {
public:
    CEffector();
    ~CEffector() override = default;

    // The entity acted on: the parent, or null when detached.
    CEntity* GetTarget() const { return parent; }

protected:
    // The engine interface for random numbers; null when there is no engine.
    HGE* GetHGE() const;
    // A random float in [min, max] from the engine interface; without one the
    // middle of the range.
    float RandomFloat(float min, float max) const;
};

}  // namespace ZOLTFramework
