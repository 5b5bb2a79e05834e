// The menu aquarium: fish that swim across the menu screens. The entity
// manager owns the fish; the player manager only remembers which are swimming,
// and schedules their ends and their successors on the shared timer.
#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "entities/core/CAnimEntity.h"
#include "entities/effects/CAnimationEffector.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "profiles/PlayerManager.h"

#include <set>

namespace {

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CAnimEntity;
using ZOLTFramework::CEngine;
using ZOLTFramework::CEntity;

// The two ends of a swim, outside the 800 pixel wide screen.
const float kLeftEnd = -200.0f;
const float kRightEnd = 1000.0f;
const float kMinScale = 0.7f;
const float kMaxScale = 1.0f;
const float kMinDepth = 0.1f;
const float kMaxDepth = 1.2f;
// Pause before a gone fish's successor, and the y band of every successor.
const float kMaxRespawnDelay = 2.5f;
const float kRespawnTop = 0.0f;
const float kRespawnBottom = 600.0f;

// The engine's random numbers; without an engine interface the lower end.
int RandomInt(CEngine* engine, int min, int max) {
    HGE* hge = engine ? engine->GetHGE() : nullptr;
    return hge ? hge->Random_Int(min, max) : min;
}

float RandomFloat(CEngine* engine, float min, float max) {
    HGE* hge = engine ? engine->GetHGE() : nullptr;
    return hge ? hge->Random_Float(min, max) : min;
}

}  // namespace

void PlayerManager::PruneFish() {
    for (auto it = m_fish.begin(); it != m_fish.end();) {
        if (it->second.expired() || it->first->IsDead())
            it = m_fish.erase(it);
        else
            ++it;
    }
}

std::vector<ZOLTFramework::CEntity*> PlayerManager::GetFish() {
    PruneFish();
    std::vector<CEntity*> fish;
    for (const auto& entry : m_fish) fish.push_back(entry.first);
    return fish;
}

void PlayerManager::ScheduleFish(float delay, bool randomStart, CEntity* parent, float yMin, float yMax,
                                 float timeMin, float timeMax, bool respawn) {
    Timer->Add(
        delay,
        [=]() { SpawnFishCallback(randomStart, parent, yMin, yMax, timeMin, timeMax, respawn); },
        parent);
}

void PlayerManager::SpawnFishCallback(bool randomStart, CEntity* parent, float yMin, float yMax, float timeMin,
                                      float timeMax, bool respawn) {
    if (FishKinds.empty()) return;
    if (parent && parent->IsDead()) return;
    CEngine* engine = ZOLTFramework::g_pEngine;
    EntityManager* manager = engine ? engine->GetEntityManager() : nullptr;
    if (!manager) return;
    PruneFish();

    const std::string& kind =
        FishKinds[static_cast<size_t>(RandomInt(engine, 0, static_cast<int>(FishKinds.size()) - 1))];
    hgeResourceManager* resources = engine->GetResourceManager();
    hgeAnimation* animation = resources ? resources->GetAnimation(kind.c_str()) : nullptr;
    if (!animation) {
        // One line per missing kind, however often it is drawn.
        static std::set<std::string> reported;
        if (reported.insert(kind).second)
            HtmlLog::Instance()->Warning("Aquarium: no animation \"" + kind + "\"; such fish stay away.");
        return;
    }

    CAnimEntity* fish = parent ? parent->SpawnChild<CAnimEntity>() : manager->Spawn<CAnimEntity>();
    fish->SetAnimation(*animation);
    fish->SetEnabled(true);
    fish->GetAnimation()->Play();

    const float scale = RandomFloat(engine, kMinScale, kMaxScale);
    fish->SetScaleX(scale);
    fish->SetScaleY(scale);
    fish->SetDepth(RandomFloat(engine, kMinDepth, kMaxDepth));
    const float swimTime = RandomFloat(engine, timeMin, timeMax);

    float startX = kLeftEnd;
    float endX = kRightEnd;
    if (RandomInt(engine, 0, 1) == 1) {
        std::swap(startX, endX);
        fish->GetAnimation()->SetFlip(true, false);
    }
    if (randomStart) startX = RandomFloat(engine, kLeftEnd, kRightEnd);

    m_fish[fish] = fish->GetLifeToken();

    CAnimationEffector* swim = fish->SpawnChild<CAnimationEffector>();
    swim->AddKey(CAnimationEffector::TRACK_X, 0.0f, startX);
    swim->AddKey(CAnimationEffector::TRACK_Y, 0.0f, RandomFloat(engine, yMin, yMax));
    swim->AddKey(CAnimationEffector::TRACK_X, swimTime, endX);
    swim->AddKey(CAnimationEffector::TRACK_Y, swimTime, RandomFloat(engine, yMin, yMax));
    swim->Prepare();

    Timer->Add(
        swimTime, [=]() { FishGoneCallback(fish, respawn, timeMin, timeMax); }, fish);
}

void PlayerManager::FishGoneCallback(CEntity* fish, bool respawn, float timeMin, float timeMax) {
    PruneFish();
    auto it = m_fish.find(fish);
    if (it == m_fish.end()) return;
    if (respawn) {
        const float delay = RandomFloat(ZOLTFramework::g_pEngine, 0.0f, kMaxRespawnDelay);
        ScheduleFish(delay, false, fish->GetParent(), kRespawnTop, kRespawnBottom, timeMin, timeMax, true);
    }
    m_fish.erase(it);
    fish->Kill();
}

void PlayerManager::KillEntities() {
    PruneFish();
    for (const auto& entry : m_fish) entry.first->Kill();
    m_fish.clear();
}
