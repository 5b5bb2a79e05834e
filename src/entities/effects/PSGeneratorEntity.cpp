#include "entities/effects/PSGeneratorEntity.h"

#include <cstdlib>

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/ParticleSystemEntity.h"

PSGeneratorEntity::PSGeneratorEntity(const std::vector<Point>& pts, const std::string& file, hgeSprite* spr,
                                     float cyclePeriod, const std::string& soundName)
    : psiFile(file), sprite(spr), points(pts), period(cyclePeriod), sound(soundName) {}

void PSGeneratorEntity::Update(float dt) {
    timer.Update(dt);
    for (size_t i = 0; i < children.size(); ++i) {
        ParticleSystemEntity* burst = dynamic_cast<ParticleSystemEntity*>(children[i]);
        if (burst && !burst->IsDead() && burst->IsFinished()) burst->Kill();
    }
}

void PSGeneratorEntity::Start(float cyclePeriod) {
    // Fisher-Yates driven by the runtime's rand.
    for (size_t i = points.size(); i > 1; --i) {
        const size_t j = size_t(std::rand()) % i;
        std::swap(points[i - 1], points[j]);
    }
    for (size_t i = 0; i < points.size(); ++i) {
        const Point p = points[i];
        const std::string file = psiFile;
        hgeSprite* spr = sprite;
        timer.Add(float(i) * cyclePeriod, [this, p, file, spr]() { Spawn(p.first, p.second, file, spr); }, this);
    }
    const float next = float(points.size()) * cyclePeriod;
    // A cycle of no length would re-arm itself forever within one frame.
    if (next > 0.0f) timer.Add(next, [this, cyclePeriod]() { Start(cyclePeriod); }, this);
}

void PSGeneratorEntity::Spawn(float px, float py, const std::string& file, hgeSprite* burstSprite) {
    // Without a manager a burst would never play out or go: none is made.
    if (!Manager()) return;
    ParticleSystemEntity* burst = SpawnChild<ParticleSystemEntity>();
    burst->Load(file, burstSprite);
    burst->SetDepth(10.0f);
    burst->SetPosXY(px, py);
    if (!sound.empty()) ZOLTFramework::Services::PlaySound(engine, sound);
}
