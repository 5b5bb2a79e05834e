// Found objects on their way: the pulse and the queue, the flight's start
// with its bubble tail, the arrivals at the panel, the cigars and the bag;
// the pointer above an object and the hints.
#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/effects/PathMoveEffector.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "scene/Inventory.h"
#include "scene/PSLayer.h"
#include "scene/ClueTargets.h"
#include "scene/LevelEvents.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"
#include "scene/SceneObject.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::PathMoveEffector;
namespace Services = ZOLTFramework::Services;

namespace {

const float kPulseDelay = 1.2f;
const float kQuickDelay = 0.1f;
const float kFlightVelocity = 750.0f;
const float kDefaultClueY = 150.0f;

}  // namespace

void PlayField::GetPanelTarget(const std::string& taskName, float* tx, float* ty) const {
    float screenY = kDefaultClueY;
    if (context.clues && taskName != "Dummy") {
        float clueY = 0.0f;
        if (context.clues->ClueTarget(taskName, clueY)) screenY = clueY;
    }
    *tx = (panelWidth / 2.0f - GetAbsoluteX()) / SceneObject::kSceneToScreen;
    *ty = (screenY - GetAbsoluteY()) / SceneObject::kSceneToScreen;
}

void PlayField::QueueObjectFlight(SceneObject* object, float tx, float ty, std::function<void(SceneObject*)> onArrival,
                                  bool intoInventory) {
    if (!object) return;
    if (rules.Tasks().empty()) Send(LevelEvents::kDisableExit, "");
    float delay = kQuickDelay;
    EntityManager* manager = Manager();
    if (!(inventory && inventory->IsHovered()) && manager) {
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
    record.id = ++lastFlightId;
    flights.push_back(record);
    const auto later = std::find_if(solveLaterObjects.begin(), solveLaterObjects.end(),
                                    [&](SceneObject* o) { return o->GetName() == object->GetName(); });
    if (later != solveLaterObjects.end()) solveLaterObjects.erase(later);
    rules.ItemLeft();
}

void PlayField::SendObjectToInventory(SceneObject* object, const std::string& toolName, const std::string& taskName) {
    if (!object) return;
    float tx = object->GetX(), ty = object->GetY();
    if (inventory) {
        inventory->Open();
        inventory->SetBusy();
        const Inventory::Slot slot = inventory->GetNextSlotPosition();
        tx = (slot.x - GetAbsoluteX()) / SceneObject::kSceneToScreen;
        ty = (slot.y - GetAbsoluteY()) / SceneObject::kSceneToScreen;
    }
    object->SetDepth(1000.0f);
    hgeSprite* image = object->GetDisplaySprite();
    EntityManager* manager = Manager();
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
    std::weak_ptr<void> self = GetLifeToken();
    QueueObjectFlight(object, tx, ty, [this, self, sprite, objectName, scale, toolName, taskName](SceneObject* arrived) {
        if (self.expired()) return;
        if (arrived)
            OnTaskChanged(arrived, toolName, taskName);
        else
            PlayFieldFlights(*this).ReceiveItem(sprite, objectName, scale, nullptr, toolName, taskName);
    }, true);
}

void PlayField::LandFlights() {
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
    field->particleSystems.push_back(tail);
    if (field->particleLayer) field->particleLayer->Add(tail);
}

void PlayField::AddMagnifyingGlass(SceneObject* object, std::string taskName, bool glass) {
    rules.ArrivedAtPanel();
    Send(LevelEvents::kTaskChanged, taskName);
    PlayFieldFlights(*this).HandOverTail(object);
    if (glass) Send(LevelEvents::kAddMagnifyingGlass, "");
    if (object) object->Kill();
    CheckWin();
}

void PlayField::AddCigars(int count, SceneObject* object, std::string taskName) {
    Send(LevelEvents::kAddCigars, std::to_string(count));
    rules.ArrivedAtCigars(taskName);
    PlayFieldFlights(*this).HandOverTail(object);
    if (object) object->Kill();
    CheckWin();
}

void PlayFieldFlights::ArriveFlight(unsigned id) {
    const auto it = std::find_if(field->flights.begin(), field->flights.end(), [id](const FlightRecord& r) { return r.id == id; });
    if (it == field->flights.end()) return;
    const FlightRecord record = *it;
    field->flights.erase(it);
    if (record.onArrival) record.onArrival(record.object);
}

void PlayFieldFlights::StartFlights(float dt) {
    // A flight whose object was killed or deleted, or whose path went before
    // its end, can never arrive: it ends here as arrived, without the object.
    std::vector<FlightRecord> lost;
    for (auto it = field->flights.begin(); it != field->flights.end();) {
        const bool started = it->delay < 0.0f;
        const bool gone = !it->object || it->object->IsDead() ||
                          (started && (it->pathToken.expired() || it->path->IsDead()));
        if (!gone) {
            ++it;
            continue;
        }
        lost.push_back(*it);
        it = field->flights.erase(it);
    }
    for (const FlightRecord& record : lost) {
        HtmlLog::Instance()->Info("Play field: the flight of \"" + record.objectName +
                                  "\" ended on the way; its item counts as arrived.");
        if (record.onArrival) record.onArrival(nullptr);
    }

    EntityManager* manager = field->Manager();
    std::weak_ptr<void> self = field->GetLifeToken();
    for (FlightRecord& record : field->flights) {
        if (record.delay <= 0.0f) continue;
        record.delay -= dt;
        if (record.delay > 0.0f) continue;
        // Without a path the flight ends on the next step.
        record.delay = -1.0f;
        SceneObject* object = record.object;
        if (!manager) continue;
        if (!(field->inventory && field->inventory->IsHovered())) {
            hgeSprite* bubble = Services::Sprite(field->engine, "BBuble");
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
        path->finishedCallback = [field = field, self, id] {
            if (!self.expired()) PlayFieldFlights(*field).ArriveFlight(id);
        };
        record.path = path;
        record.pathToken = path->GetLifeToken();
    }
}

void PlayFieldFlights::DropSpentParticleSystems(float dt) {
    for (hgeParticleSystem* system : field->particleSystems) system->Update(dt);
    for (auto it = field->particleSystems.begin(); it != field->particleSystems.end();) {
        if ((*it)->GetParticlesAlive() > 0) {
            ++it;
            continue;
        }
        if (field->particleLayer) field->particleLayer->Remove(*it);
        delete *it;
        it = field->particleSystems.erase(it);
    }
}

void PlayFieldFlights::PlayOutDecoration(float dt, bool paused) {
    for (auto it = field->bursts.begin(); it != field->bursts.end();) {
        ParticleSystemEntity* burst = it->first;
        if (it->second.expired() || burst->IsDead()) {
            it = field->bursts.erase(it);
            continue;
        }
        if (paused) burst->Update(dt);
        if (burst->IsFinished()) {
            burst->Kill();
            it = field->bursts.erase(it);
            continue;
        }
        ++it;
    }
    PlayFieldFlights(*field).DropSpentParticleSystems(dt);
}

void PlayField::ShowObjectPointer(SceneObject* object, float angle) {
    if (objectPointer) objectPointer->Kill();
    objectPointer = nullptr;
    EntityManager* manager = Manager();
    if (!manager || !object) return;
    auto* pointer = manager->Spawn<ZOLTFramework::CSpriteEntity>();
    pointer->SetName("ObjectPointer");
    hgeSprite* arrow = Services::Sprite(engine, "YCursor");
    if (!arrow) HtmlLog::Instance()->Error("Play field: no sprite \"YCursor\"; the pointer is not drawn.");
    pointer->AttachSprite(arrow);
    pointer->AttachTo(this);
    objectPointer = pointer;
    const float px = object->GetAbsoluteX() * SceneObject::kSceneToScreen;
    const float py = object->GetAbsoluteY() * SceneObject::kSceneToScreen;
    float ax = px + 50.0f, ay = py, bx = px + 70.0f, by = py;
    if (angle != 0.0f) {
        const float c = std::cos(angle), s = std::sin(angle);
        ax = px + 50.0f * c;
        ay = py + 50.0f * s;
        bx = px + 70.0f * c;
        by = py + 70.0f * s;
        pointer->SetRotation(angle);
    }
    pointer->SetPosXY(ax, ay);
    pointer->OnMove();
    pointer->SetDepth(object->GetDepth() + 100.01f);
    pointer->Show();
    auto* bounce = manager->Spawn<CAnimationEffector>();
    bounce->mode = CAnimationEffector::MODE_LOOP;
    bounce->AttachTo(pointer);
    bounce->AddKey(CAnimationEffector::TRACK_X, 0.0f, ax);
    bounce->AddKey(CAnimationEffector::TRACK_X, 0.3f, bx);
    bounce->AddKey(CAnimationEffector::TRACK_X, 0.6f, ax);
    bounce->AddKey(CAnimationEffector::TRACK_Y, 0.0f, ay);
    bounce->AddKey(CAnimationEffector::TRACK_Y, 0.3f, by);
    bounce->AddKey(CAnimationEffector::TRACK_Y, 0.6f, ay);
    bounce->Prepare();
}

SceneObject* PlayField::FindHintObject() {
    std::vector<std::string> names;
    for (SceneObject* object : sceneObjects) names.push_back(object->GetName());
    std::vector<SceneObject*> candidates;
    for (size_t index : rules.HintCandidates(names)) candidates.push_back(sceneObjects[index]);
    if (candidates.empty()) return nullptr;
    SceneObject* chosen = candidates.front();
    if (candidates.size() > 1) {
        HGE* hge = Services::Hge(engine);
        const int last = int(candidates.size()) - 1;
        chosen = candidates[hge ? hge->Random_Int(0, last) : 0];
        // Draw again while the draw repeats the last hint, unless every
        // candidate bears that name (the first draw stands then).
        const bool allSame = std::all_of(candidates.begin(), candidates.end(),
                                         [&](SceneObject* o) { return o->GetName() == lastHintedName; });
        while (!allSame && hge && chosen->GetName() == lastHintedName) chosen = candidates[hge->Random_Int(0, last)];
    }
    lastHintedName = chosen->GetName();
    return chosen;
}

void PlayField::ShowHintTutorial() {
    if (FindMagnifyingGlassObject()) Send(LevelEvents::kShowHint, "TUTORIAL_LIST_OF_CLUES/9830470/30409430");
}

void PlayField::ShowExtraCigarTutorial(const std::string& taskName) {
    if (taskName.empty()) {
        pointedOutObject = nullptr;
        pointedOutTask.clear();
        if (objectPointer) objectPointer->Kill();
        objectPointer = nullptr;
        return;
    }
    pointedOutTask = taskName;
    const TaskRecord task = GetTask(taskName);
    pointedOutObject = task.objectNames.empty() ? nullptr : FindObjectByName(task.objectNames.front());
    if (!pointedOutObject)
        HtmlLog::Instance()->Warning("Play field: the locking task \"" + taskName +
                                     "\" names no object in the scene; nothing is locked.");
    if (taskName == "Cigar") Send(LevelEvents::kShowExtraCigarTutorial, "");
}

unsigned PlayField::GetItemCount(const std::string& itemName) const { return rules.ItemCount(itemName); }

SceneObject* PlayField::FindMagnifyingGlassObject() const {
    for (SceneObject* object : sceneObjects)
        if (object->GetResourceName() == "MagnifyingGlass") return object;
    return nullptr;
}

hgeSprite* PlayField::GetTaskSprite(const std::string& taskName) const {
    const TaskRecord task = GetTask(taskName);
    if (task.objectNames.empty()) return nullptr;
    hgeSprite* sprite = nullptr;
    for (SceneObject* object : sceneObjects)
        if (object->GetName() == task.objectNames.front()) sprite = object->GetDisplaySprite();
    return sprite;
}
