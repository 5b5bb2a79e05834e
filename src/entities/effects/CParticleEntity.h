// An entity that owns a particle system loaded from a ".psi" file, keeps it at
// its absolute position and scale, and can fire it once after a delay.
#pragma once

#include <string>

#include "entities/core/CEntity.h"

class hgeParticleSystem;

namespace ZOLTFramework {

class CParticleEntity : public CEntity {
public:
    CParticleEntity() = default;
    ~CParticleEntity() override;

    void Update(float dt) override;
    void Render() override;
    // The system follows the absolute position (moving its live particles too
    // when the last Fire asked for it) and the absolute scale.
    void OnMove() override;
    void OnScale() override;

    // Replaces the system with one from the file, drawn with the resource
    // manager's sprite of that name.
    void SetParticleSystem(const std::string& psiFile, const std::string& spriteName);
    // Fires at the absolute position now (delay 0) or once the delay has passed.
    void Fire(float delay, bool moveParticles);

    hgeParticleSystem* GetParticleSystem() const { return system; }

protected:
    void FireNow();

    hgeParticleSystem* system = nullptr;
    float elapsed = 0.0f;
    float fireDelay = 0.0f;
    bool moveParticles = false;
};

}  // namespace ZOLTFramework
