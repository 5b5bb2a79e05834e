// The hint smoke of a level: a particle trail that, when the player spends a
// hint, starts at the bottom left of the screen (100, 370), flies to a scene
// object and circles it while its emission dies away (230 particles per second
// less every second). The level owns it for the whole level.
//
// The target is not owned: the smoke keeps the target's life token, and a
// target that dies while the smoke flies or circles ends both untouched.
#pragma once

#include <memory>

#include "entities/effects/ParticleSystemEntity.h"

namespace ZOLTFramework {
class PathMoveEffector;
}

class Hint : public ParticleSystemEntity {
public:
    static constexpr float kStartX = 100.0f;
    static constexpr float kStartY = 370.0f;
    static constexpr float kVelocity = 700.0f;
    static constexpr float kEmissionFall = 230.0f;  // particles per second, per second

    // Loads "data/ParticleSystem/Smoke.psi" with "SmokeParticle" and adds
    // itself to the entity manager.
    Hint();
    ~Hint() override = default;

    void Update(float dt) override;

    void FlyTo(ZOLTFramework::CEntity* target);
    void CircleAround(ZOLTFramework::CEntity* target);

    // The flight and the circling move the smoke through its child "Mover".

private:
    // Ends the circling: emission back, short trails again.
    void StopCircling();
    void KillMover();
    // The target's screen point (its absolute position times 0.78125).
    static void ScreenPoint(ZOLTFramework::CEntity* target, float* tx, float* ty);

    bool flying = false;
    float emissionBudget = 0.0f;
    int savedEmission = 0;
    ZOLTFramework::PathMoveEffector* mover = nullptr;
    std::weak_ptr<void> moverToken;
    std::weak_ptr<void> targetToken;
};
