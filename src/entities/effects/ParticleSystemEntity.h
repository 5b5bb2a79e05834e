// A particle burst: the system starts on the entity's first update (live
// particles kept) and then runs while the entity is visible and enabled.
#pragma once

#include <string>

#include "entities/core/CEntity.h"

class hgeParticleSystem;
class hgeSprite;

class ParticleSystemEntity : public ZOLTFramework::CEntity {
public:
    ParticleSystemEntity() = default;
    ~ParticleSystemEntity() override;

    void Update(float dt) override;
    void Render() override;
    // Replaces the system with one from the ".psi" file drawn with the sprite.
    virtual void Load(const std::string& psiFile, hgeSprite* sprite);

    hgeParticleSystem* GetParticleSystem() const { return system; }
    // Fired, updated at least once since, stopped, and no particle alive.
    bool IsFinished() const;

protected:
    hgeParticleSystem* system = nullptr;
    bool started = false;

private:
    bool ranSinceFire = false;
};
