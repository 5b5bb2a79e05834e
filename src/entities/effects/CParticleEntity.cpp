#include "entities/effects/CParticleEntity.h"

#include "entities/core/EntityServices.h"
#include "graphics/hgeParticleSystem.h"

namespace ZOLTFramework {

CParticleEntity::~CParticleEntity() { delete system; }

void CParticleEntity::SetParticleSystem(const std::string& psiFile, const std::string& spriteName) {
    delete system;
    system = new hgeParticleSystem(psiFile.c_str(), Services::Sprite(engine, spriteName));
}

void CParticleEntity::FireNow() {
    if (system) system->FireAt(GetAbsoluteX(), GetAbsoluteY());
}

void CParticleEntity::Fire(float delay, bool move) {
    fireDelay = delay;
    moveParticles = move;
    elapsed = 0.0f;
    if (delay == 0.0f) FireNow();
}

void CParticleEntity::Update(float dt) {
    if (system) system->Update(dt);
    if (fireDelay != 0.0f) {
        elapsed += dt;
        if (elapsed >= fireDelay) {
            FireNow();
            fireDelay = 0.0f;
            elapsed = 0.0f;
        }
    }
}

void CParticleEntity::Render() {
    if (system) system->Render();
}

void CParticleEntity::OnMove() {
    CEntity::OnMove();
    if (system) system->MoveTo(GetAbsoluteX(), GetAbsoluteY(), moveParticles);
}

void CParticleEntity::OnScale() {
    CEntity::OnScale();
    if (system) system->SetScale(GetAbsoluteScale());
}

}  // namespace ZOLTFramework
