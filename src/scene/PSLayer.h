// Draws a list of particle systems (not owned) in list order, above the scene
// objects; the play field fills and empties it.
#pragma once

#include <vector>

#include "entities/core/CEntity.h"

class hgeParticleSystem;

class PSLayer : public ZOLTFramework::CEntity {
public:
    PSLayer() = default;
    void Render() override;

    void Add(hgeParticleSystem* system) { systems.push_back(system); }
    // Removes the first occurrence; nothing when the system is not listed.
    void Remove(hgeParticleSystem* system);
    const std::vector<hgeParticleSystem*>& GetSystems() const { return systems; }

private:
    std::vector<hgeParticleSystem*> systems;
};
