#include "entities/effects/ParticleSystemEntity.h"

#include "graphics/hgeParticleSystem.h"

ParticleSystemEntity::~ParticleSystemEntity() { delete system; }

void ParticleSystemEntity::Load(const std::string& psiFile, hgeSprite* sprite) {
    delete system;
    system = new hgeParticleSystem(psiFile.c_str(), sprite);
    ranSinceFire = false;
}

void ParticleSystemEntity::Update(float dt) {
    if (!system) return;
    if (!started) {
        started = true;
        system->Stop(false);
        system->Fire();
        ranSinceFire = false;
        return;
    }
    if (enabled && !dead && !IsHiddenInChain()) {
        system->Update(dt);
        ranSinceFire = true;
    }
}

void ParticleSystemEntity::Render() {
    if (!system) return;
    const float scale = GetAbsoluteScale();
    system->MoveTo(GetAbsoluteX() * scale, GetAbsoluteY() * scale, false);
    if (system->GetParticlesAlive() > 0) system->Render();
}

bool ParticleSystemEntity::IsFinished() const {
    return system && started && ranSinceFire && system->GetAge() == -2.0f && system->GetParticlesAlive() == 0;
}
