// Draws a list of particle systems (not owned) in list order, above the scene
// objects; the play field fills and empties it.
#pragma once

#include <functional>
#include <utility>
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

// Runs a step every frame from outside the play field: attached to nothing, so
// the pause of the field (a window over it) does not reach it. The field plays
// its particle decoration out with it while it is paused; it makes the step
// before it joins the entity manager itself, so that the step runs ahead of
// the field in every frame, and hands it to the flights, which set what it runs.
class PausedFieldStep : public ZOLTFramework::CEntity {
public:
    void SetStep(std::function<void(float)> stepFunction) { step = std::move(stepFunction); }
    void Update(float dt) override {
        if (step) step(dt);
    }

private:
    std::function<void(float)> step;
};
