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
#include "scene/NameList.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::PathMoveEffector;
namespace Services = ZOLTFramework::Services;

namespace {

const float kPulseDelay = 1.2f;
const float kQuickDelay = 0.1f;
const float kFlightVelocity = 750.0f;
const float kDefaultClueY = 150.0f;

using NameList::Contains;

}  // namespace

void PlayField::GetPanelTarget(const std::string& taskName, float* tx, float* ty) const {
    float screenY = kDefaultClueY;
    if (clueMap && taskName != "Dummy") {
        const auto clue = clueMap->find(taskName);
        if (clue != clueMap->end() && clue->second) screenY = clue->second->GetAbsoluteY() + 6.0f;
    }
    *tx = (panelWidth / 2.0f - GetAbsoluteX()) / SceneObject::kSceneToScreen;
    *ty = (screenY - GetAbsoluteY()) / SceneObject::kSceneToScreen;
}

void PlayField::QueueObjectFlight(SceneObject* object, float tx, float ty, std::function<void(SceneObject*)> onArrival,
                                  bool intoInventory) {
    if (!object) return;
    if (tasks.empty()) Send("DisableExit", "");
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
    ++openItems;
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
            ReceiveItem(sprite, objectName, scale, nullptr, toolName, taskName);
    }, true);
}

void PlayField::HandOverTail(SceneObject* object) {
    hgeParticleSystem* tail = object ? object->ReleaseParticleSystem() : nullptr;
    if (!tail) return;
    tail->Stop(false);
    particleSystems.push_back(tail);
    if (particleLayer) particleLayer->Add(tail);
}

void PlayField::AddMagnifyingGlass(SceneObject* object, std::string taskName, bool glass) {
    if (openItems > 0) --openItems;
    Send("TaskChanged", taskName);
    HandOverTail(object);
    if (glass) Send("AddMagnifyingGlass", "");
    if (object) object->Kill();
    CheckWin();
}

void PlayField::AddCigars(int count, SceneObject* object, std::string taskName) {
    Send("AddCigars", std::to_string(count));
    const auto counter = counters.find(taskName);
    if (counter != counters.end()) --counter->second.count;
    // Every flight returns its own open item.
    if (openItems > 0) --openItems;
    HandOverTail(object);
    if (object) object->Kill();
    CheckWin();
}

void PlayField::ArriveFlight(unsigned id) {
    const auto it = std::find_if(flights.begin(), flights.end(), [id](const FlightRecord& r) { return r.id == id; });
    if (it == flights.end()) return;
    const FlightRecord record = *it;
    flights.erase(it);
    if (record.onArrival) record.onArrival(record.object);
}

void PlayField::StartFlights(float dt) {
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
        HtmlLog::Instance()->Info("Play field: the flight of \"" + record.objectName +
                                  "\" ended on the way; its item counts as arrived.");
        if (record.onArrival) record.onArrival(nullptr);
    }

    EntityManager* manager = Manager();
    std::weak_ptr<void> self = GetLifeToken();
    for (FlightRecord& record : flights) {
        if (record.delay <= 0.0f) continue;
        record.delay -= dt;
        if (record.delay > 0.0f) continue;
        // Without a path the flight ends on the next step.
        record.delay = -1.0f;
        SceneObject* object = record.object;
        if (!manager) continue;
        if (!(inventory && inventory->IsHovered())) {
            hgeSprite* bubble = Services::Sprite(engine, "BBuble");
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
        path->finishedCallback = [this, self, id] {
            if (!self.expired()) ArriveFlight(id);
        };
        record.path = path;
        record.pathToken = path->GetLifeToken();
    }
}

void PlayField::DropSpentParticleSystems(float dt) {
    for (hgeParticleSystem* system : particleSystems) system->Update(dt);
    for (auto it = particleSystems.begin(); it != particleSystems.end();) {
        if ((*it)->GetParticlesAlive() > 0) {
            ++it;
            continue;
        }
        if (particleLayer) particleLayer->Remove(*it);
        delete *it;
        it = particleSystems.erase(it);
    }
}

void PlayField::PlayOutDecoration(float dt, bool paused) {
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
    DropSpentParticleSystems(dt);
}

void PlayField::ShowObjectPointer(SceneObject* object, float angle) {
    if (objectPointer) objectPointer->Kill();
    objectPointer = nullptr;
    EntityManager* manager = Manager();
    if (!manager || !object) return;
    auto* pointer = manager->Spawn<ZOLTFramework::CSpriteEntity>();
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
    std::set<std::string> foundWithTool;
    for (const TaskRecord& task : tasks)
        if (!task.toolToFind.empty()) foundWithTool.insert(task.objectNames.begin(), task.objectNames.end());
    std::vector<SceneObject*> candidates;
    for (SceneObject* object : sceneObjects) {
        for (const TaskRecord& task : tasks) {
            if (!Contains(task.objectNames, object->GetName())) continue;
            if (!foundWithTool.count(object->GetName()) && !ignoreAdding.count(task.name) &&
                !ignoreHinting.count(task.name))
                candidates.push_back(object);
        }
    }
    if (candidates.empty() && !ignoreHinting.empty()) {
        for (const std::string& taskName : ignoreHinting) {
            const TaskRecord task = GetTask(taskName);
            for (const std::string& objectName : task.objectNames)
                for (SceneObject* object : sceneObjects)
                    if (object->GetName() == objectName) candidates.push_back(object);
        }
    }
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
    if (FindMagnifyingGlassObject()) Send("ShowHint", "TUTORIAL_LIST_OF_CLUES/9830470/30409430");
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
    if (taskName == "Cigar") Send("ShowExtraCigarTutorial", "");
}

unsigned PlayField::GetItemCount(const std::string& itemName) const {
    int count = 0;
    const auto counter = counters.find(itemName);
    if (counter != counters.end()) count = counter->second.count;
    for (const DelayedTaskRecord& delayed : delayedTasks)
        if (delayed.name == itemName && delayed.sceneObject) ++count;
    return count < 0 ? 0u : unsigned(count);
}

SceneObject* PlayField::FindMagnifyingGlassObject() const {
    for (SceneObject* object : sceneObjects)
        if (object->GetResourceName() == "MagnifyingGlass") return object;
    return nullptr;
}

hgeSprite* PlayField::GetTaskSprite(const std::string& taskName) const {
    const auto task = std::find_if(tasks.begin(), tasks.end(), [&](const TaskRecord& t) { return t.name == taskName; });
    if (task == tasks.end() || task->objectNames.empty()) return nullptr;
    hgeSprite* sprite = nullptr;
    for (SceneObject* object : sceneObjects)
        if (object->GetName() == task->objectNames.front()) sprite = object->GetDisplaySprite();
    return sprite;
}
