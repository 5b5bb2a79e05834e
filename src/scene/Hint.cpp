#include "scene/Hint.h"

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/PathMoveEffector.h"
#include "graphics/hgeParticleSystem.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::PathMoveEffector;

namespace {

PathMoveEffector* NewMover(EntityManager* manager) {
    auto* effector = manager->Spawn<PathMoveEffector>(1, false, false, 64, 0.0f, 0.0f, 4);
    effector->SetVelocity(Hint::kVelocity);
    effector->SetName("Mover");
    return effector;
}

}  // namespace

Hint::Hint() {
    Load("data/ParticleSystem/Smoke.psi", ZOLTFramework::Services::Sprite(engine, "SmokeParticle"));
    if (system) savedEmission = system->info.nEmission;
    if (EntityManager* manager = Manager())
        manager->Add(this);
    else
        HtmlLog::Instance()->Error("Hint: no entity manager; the smoke is not shown.");
}

void Hint::ScreenPoint(CEntity* target, float* tx, float* ty) {
    *tx = 0.78125f * target->GetAbsoluteX();
    *ty = 0.78125f * target->GetAbsoluteY();
}

void Hint::KillMover() {
    if (mover && !moverToken.expired()) mover->Kill();
    mover = nullptr;
    moverToken.reset();
}

void Hint::StopCircling() {
    if (system) {
        system->info.nEmission = savedEmission;
        system->info.fParticleLifeMin /= 10.0f;
        system->info.fParticleLifeMax /= 10.0f;
    }
    flying = false;
}

void Hint::FlyTo(CEntity* target) {
    emissionBudget = 0.0f;
    if (flying) StopCircling();
    if (!target) return;
    Show();
    if (system) {
        system->Stop(false);
        system->FireAt(kStartX, kStartY);
    }
    SetPosXY(kStartX, kStartY);
    OnMove();
    KillMover();
    EntityManager* manager = Manager();
    if (!manager) return;

    float tx = 0.0f, ty = 0.0f;
    ScreenPoint(target, &tx, &ty);
    targetToken = target->GetLifeToken();
    PathMoveEffector* path = NewMover(manager);
    path->AddPoint(kStartX, kStartY);
    path->AddPoint(200.0f, kStartY);
    path->AddPoint(tx - 100.0f, ty);
    path->AddPoint(tx, ty + 60.0f);
    path->AttachTo(this);
    std::weak_ptr<void> self = GetLifeToken();
    std::weak_ptr<void> aim = targetToken;
    path->finishedCallback = [this, self, aim, target] {
        if (self.expired()) return;
        if (aim.expired()) {
            KillMover();
            return;
        }
        CircleAround(target);
    };
    mover = path;
    moverToken = path->GetLifeToken();
}

void Hint::CircleAround(CEntity* target) {
    if (!target) return;
    flying = true;
    if (system) {
        system->info.fParticleLifeMin *= 10.0f;
        system->info.fParticleLifeMax *= 10.0f;
    }
    KillMover();
    EntityManager* manager = Manager();
    if (!manager) return;
    float tx = 0.0f, ty = 0.0f;
    ScreenPoint(target, &tx, &ty);
    PathMoveEffector* path = NewMover(manager);
    const float points[][2] = {{tx, ty + 60.0f},        {tx + 40.0f, ty + 90.0f}, {tx + 120.0f, ty},
                               {tx, ty - 100.0f},       {tx - 100.0f, ty},        {tx, ty + 100.0f},
                               {tx + 100.0f, ty},       {tx + 20.0f, ty - 50.0f}, {tx, ty - 40.0f}};
    for (const auto& point : points) path->AddPoint(point[0], point[1]);
    path->AttachTo(this);
    path->finishedCallback = [] {};
    mover = path;
    moverToken = path->GetLifeToken();
}

void Hint::Update(float dt) {
    ParticleSystemEntity::Update(dt);
    // A target that died takes the flight and the circling with it.
    if (mover && targetToken.expired()) {
        KillMover();
        if (system) system->Stop(false);
        if (flying) StopCircling();
        return;
    }
    if (!flying || !system) return;
    emissionBudget += dt * kEmissionFall;
    if (emissionBudget > 1.0f) {
        const int whole = int(emissionBudget);
        system->info.nEmission -= whole;
        emissionBudget -= float(whole);
    }
    if (system->info.nEmission <= 0) {
        system->Stop(false);
        StopCircling();
    }
}
