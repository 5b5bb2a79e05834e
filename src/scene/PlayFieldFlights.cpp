#include "scene/PlayFieldFlights.h"

#include <algorithm>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/effects/PathMoveEffector.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeSprite.h"
#include "scene/Inventory.h"
#include "scene/LevelEvents.h"
#include "scene/PSLayer.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::PathMoveEffector;
namespace Services = ZOLTFramework::Services;

namespace {

const float kPulseDelay = 1.2f;
const float kQuickDelay = 0.1f;
const float kFlightVelocity = 750.0f;


}  // namespace

PlayFieldFlights::PlayFieldFlights(ZOLTFramework::CEntity& owner, PSLayer& tailLayer, PausedFieldStep* step,
                                   SceneRules& sceneRules, SceneObjectList& sceneObjects, Inventory& sceneBag,
                                   SceneRules::Events& sink, std::function<void()> onLanded)
    : field(owner), layer(tailLayer), layerToken(tailLayer.GetLifeToken()), rules(sceneRules), objects(sceneObjects),
      bag(sceneBag), events(sink), landed(std::move(onLanded)), pausedStep(step) {
    if (!pausedStep) return;
    std::weak_ptr<void> alive = field.GetLifeToken();
    pausedStep->SetStep([this, alive](float dt) {
        if (!alive.expired() && field.IsPausedInChain()) PlayOutDecoration(dt, true);
    });
    pausedStepToken = pausedStep->GetLifeToken();
}

PlayFieldFlights::~PlayFieldFlights() {
    if (pausedStep && !pausedStepToken.expired()) pausedStep->Kill();
    for (hgeParticleSystem* tail : tails) {
        // The manager may have freed the layer first.
        if (!layerToken.expired()) layer.Remove(tail);
        delete tail;
    }
}

void PlayFieldFlights::Queue(SceneObject* object, float tx, float ty, std::function<void(SceneObject*)> onArrival,
                             bool intoInventory) {
    if (!object) return;
    if (rules.Tasks().empty()) events.Send(LevelEvents::kDisableExit, "");
    float delay = kQuickDelay;
    EntityManager* manager = field.Manager();
    if (!bag.IsHovered() && manager) {
        auto* pulse = manager->Spawn<CAnimationEffector>();
        pulse->mode = 0;
        pulse->AttachTo(object);
        const float keys[][2] = {{0.0f, 1.0f}, {0.3f, 1.5f}, {0.6f, 1.0f}, {0.9f, 1.5f}, {1.2f, 1.0f}};
        for (const auto& key : keys) pulse->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
        pulse->Prepare();
        delay = kPulseDelay;
    }
    FlightRecord record;
    record.object = object;
    record.objectName = object->GetName();
    record.targetX = tx;
    record.targetY = ty;
    record.onArrival = std::move(onArrival);
    record.intoInventory = intoInventory;
    record.delay = delay;
    record.id = ++lastId;
    flights.push_back(record);
    objects.UnmarkPutOff(object->GetName());
    rules.ItemLeft();
}

void PlayFieldFlights::ArriveAtPanel(SceneObject* object, const std::string& taskName, bool glass) {
    rules.ArrivedAtPanel();
    events.Send(LevelEvents::kTaskChanged, taskName);
    HandOverTail(object);
    if (glass) events.Send(LevelEvents::kAddMagnifyingGlass, "");
    if (object) object->Kill();
    landed();
}

void PlayFieldFlights::ArriveAtCigars(int count, SceneObject* object, const std::string& taskName) {
    events.Send(LevelEvents::kAddCigars, std::to_string(count));
    rules.ArrivedAtCigars(taskName);
    HandOverTail(object);
    if (object) object->Kill();
    landed();
}

void PlayFieldFlights::SendToBag(SceneObject* object, const std::string& toolName, const std::string& taskName,
                                 std::function<void(SceneObject*)> received) {
    if (!object) return;
    bag.Open();
    bag.SetBusy();
    const Inventory::Slot slot = bag.GetNextSlotPosition();
    const float tx = (slot.x - field.GetAbsoluteX()) / SceneObject::kSceneToScreen;
    const float ty = (slot.y - field.GetAbsoluteY()) / SceneObject::kSceneToScreen;
    object->SetDepth(1000.0f);
    hgeSprite* image = object->GetDisplaySprite();
    EntityManager* manager = field.Manager();
    float scale = std::max(object->GetScaleX(), object->GetScaleY());
    if (image && manager && (image->GetWidth() > 120.0f || image->GetHeight() > 120.0f)) {
        scale = image->GetWidth() * 0.6f <= 120.0f ? 0.6f : 0.4f;
        auto* shrink = manager->Spawn<CAnimationEffector>();
        shrink->mode = 0;
        shrink->AttachTo(object);
        shrink->AddKey(CAnimationEffector::TRACK_SCALE, 1.2f, 1.0f);
        shrink->AddKey(CAnimationEffector::TRACK_SCALE, 1.5f, scale);
        shrink->Prepare();
    }
    // The item as it would arrive, for a flight that ends on the way.
    const std::string sprite = object->GetResourceName(), objectName = object->GetName();
    std::weak_ptr<void> alive = field.GetLifeToken();
    Queue(object, tx, ty, [this, alive, sprite, objectName, scale, toolName, taskName, received](SceneObject* arrived) {
        if (alive.expired()) return;
        if (arrived && received)
            received(arrived);
        else
            ReceiveInBag(sprite, objectName, scale, arrived, toolName, taskName);
    }, true);
}

void PlayFieldFlights::ReceiveInBag(const std::string& sprite, const std::string& objectName, float scale,
                                    SceneObject* object, const std::string& toolName, const std::string& taskName,
                                    bool returnsOpenItem) {
    const bool changed = rules.ArrivedInBag(sprite, objectName, toolName, taskName, returnsOpenItem);
    if (!sprite.empty()) bag.AddObject(sprite, objectName, toolName, scale);
    if (object) object->Kill();
    bag.ClearBusy();
    bag.Close();
    if (changed) events.Send(LevelEvents::kTaskChanged, taskName);
}

void PlayFieldFlights::Land() {
    while (!flights.empty()) {
        const FlightRecord record = flights.front();
        flights.pop_front();
        SceneObject* object = record.object && !record.object->IsDead() ? record.object : nullptr;
        if (record.onArrival) record.onArrival(object);
    }
}

void PlayFieldFlights::HandOverTail(SceneObject* object) {
    hgeParticleSystem* tail = object ? object->ReleaseParticleSystem() : nullptr;
    if (!tail) return;
    tail->Stop(false);
    tails.push_back(tail);
    layer.Add(tail);
}

void PlayFieldFlights::Burst(const char* file, const char* sprite, float x, float y, float depth) {
    EntityManager* manager = field.Manager();
    if (!manager) return;
    auto* effect = manager->Spawn<ParticleSystemEntity>();
    effect->Load(file, Services::Sprite(field.GetEngine(), sprite));
    effect->AttachTo(&field);
    effect->SetPosXY(x, y);
    effect->SetDepth(depth);
    bursts.emplace_back(effect, effect->GetLifeToken());
}

void PlayFieldFlights::Forget(SceneObject* object) {
    for (FlightRecord& flight : flights)
        if (flight.object == object) flight.object = nullptr;
}

void PlayFieldFlights::Arrive(unsigned id) {
    const auto it = std::find_if(flights.begin(), flights.end(), [id](const FlightRecord& r) { return r.id == id; });
    if (it == flights.end()) return;
    const FlightRecord record = *it;
    flights.erase(it);
    if (record.onArrival) record.onArrival(record.object);
}

void PlayFieldFlights::Start(float dt) {
    // A flight whose object was killed or deleted, or whose path went before
    // its end, can never arrive: it ends here as arrived, without the object.
    std::vector<FlightRecord> lost;
    for (auto it = flights.begin(); it != flights.end();) {
        const bool started = it->delay < 0.0f;
        const bool gone = !it->object || it->object->IsDead() ||
                          (started && (it->pathToken.expired() || it->path->IsDead()));
        if (!gone) {
            ++it;
            continue;
        }
        lost.push_back(*it);
        it = flights.erase(it);
    }
    for (const FlightRecord& record : lost) {
        HtmlLog::Instance()->Info("Play field: the flight of \"" + HtmlLog::Shown(record.objectName) +
                                  "\" ended on the way; its item counts as arrived.");
        if (record.onArrival) record.onArrival(nullptr);
    }

    EntityManager* manager = field.Manager();
    std::weak_ptr<void> alive = field.GetLifeToken();
    const bool quick = bag.IsHovered();
    for (FlightRecord& record : flights) {
        if (record.delay <= 0.0f) continue;
        record.delay -= dt;
        if (record.delay > 0.0f) continue;
        // Without a path the flight ends on the next step.
        record.delay = -1.0f;
        SceneObject* object = record.object;
        if (!manager) continue;
        if (!quick) {
            hgeSprite* bubble = Services::Sprite(field.GetEngine(), "BBuble");
            if (bubble) bubble->SetBlendMode(BLEND_COLORMUL | BLEND_ALPHAADD | BLEND_NOZWRITE);
            auto* tail = new hgeParticleSystem("data/ParticleSystem/ObjectMoveTail.psi", bubble);
            if (tail->IsLoaded()) {
                object->SetParticleSystem(tail);
                tail->FireAt(object->GetAbsoluteX() * SceneObject::kSceneToScreen,
                             object->GetAbsoluteY() * SceneObject::kSceneToScreen);
            } else {
                delete tail;
            }
        }
        const float x0 = object->GetX(), y0 = object->GetY();
        const float tx = record.targetX, ty = record.targetY;
        auto* path = manager->Spawn<PathMoveEffector>(1, false, false, 64, 0.0f, 0.0f, 4);
        path->SetVelocity(kFlightVelocity);
        path->AddPoint(x0, y0);
        path->AddPoint(x0 + 200.0f, y0 < ty ? y0 + 50.0f : y0 - 50.0f);
        path->AddPoint(tx + (x0 - tx) / 3.0f, 2.0f * ty - y0);
        path->AddPoint(tx, ty);
        path->AttachTo(object);
        const unsigned id = record.id;
        path->finishedCallback = [this, alive, id] {
            if (!alive.expired()) Arrive(id);
        };
        record.path = path;
        record.pathToken = path->GetLifeToken();
    }
}

void PlayFieldFlights::PlayOutDecoration(float dt, bool paused) {
    for (auto it = bursts.begin(); it != bursts.end();) {
        ParticleSystemEntity* burst = it->first;
        if (it->second.expired() || burst->IsDead()) {
            it = bursts.erase(it);
            continue;
        }
        if (paused) burst->Update(dt);
        if (burst->IsFinished()) {
            burst->Kill();
            it = bursts.erase(it);
            continue;
        }
        ++it;
    }
    for (hgeParticleSystem* tail : tails) tail->Update(dt);
    for (auto it = tails.begin(); it != tails.end();) {
        if ((*it)->GetParticlesAlive() > 0) {
            ++it;
            continue;
        }
        layer.Remove(*it);
        delete *it;
        it = tails.erase(it);
    }
}
