// A left press on the field: the hit test, the halves of a difference
// picture, the measuring tool, misclicks, and the click on one object with
// its tasks, tools, conditions, flights and scores.
#include <algorithm>
#include <cmath>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"
#include "scene/Inventory.h"
#include "scene/NameList.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "scene/ShowScorePopup.h"

using ZOLTFramework::CAnimationEffector;
namespace Services = ZOLTFramework::Services;

namespace {

const float kHalfHeight = 384.0f;
const int kOpaqueAlpha = 60;
const float kMisclickWindow = 1.2f;
const float kTakenDepth = 1500.0f;
const float kCigarScreenX = 100.0f;
const float kCigarScreenY = 370.0f;

using NameList::Contains;

void EraseFirst(std::vector<std::string>& names, const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) names.erase(it);
}

}  // namespace

int PlayField::CountOpenNames() const {
    int count = 0;
    for (const TaskRecord& task : tasks) count += int(task.objectNames.size());
    return count;
}

void PlayField::RemoveFromScene(SceneObject* object) {
    const auto it = std::find(sceneObjects.begin(), sceneObjects.end(), object);
    if (it != sceneObjects.end()) sceneObjects.erase(it);
}

SceneObject* PlayField::FindObjectAt(float sx, float sy) {
    std::vector<SceneObject*> near;
    for (SceneObject* object : sceneObjects) {
        hgeSprite* sprite = object->GetDisplaySprite();
        if (!sprite || object->IsDead()) continue;
        const float diagonal = std::hypot(sprite->GetWidth(), sprite->GetHeight());
        if (std::hypot(object->GetX() - sx, object->GetY() - sy) < diagonal) near.push_back(object);
    }
    wantedNames.clear();
    for (const TaskRecord& task : tasks) {
        wantedNames.insert(task.objectNames.begin(), task.objectNames.end());
        if (!task.toolToFind.empty()) wantedNames.insert(task.toolToFind);
    }
    std::vector<SceneObject*> hits;
    for (float r = 0.0f; r <= 3.84f; r += 2.944f) {
        for (float angle = 0.0f; angle <= 6.2831855f; angle += 0.39269909f) {
            const float px = sx + r * std::cos(angle), py = sy + r * std::sin(angle);
            for (SceneObject* object : near) {
                hgeSprite* sprite = object->GetDisplaySprite();
                const float lx = px + sprite->GetHotSpotX() - object->GetAbsoluteX();
                const float ly = py + sprite->GetHotSpotY() - object->GetAbsoluteY();
                if (SpriteAlphaAt(sprite, lx, ly) > kOpaqueAlpha) hits.push_back(object);
            }
        }
    }
    if (hits.empty()) return nullptr;
    std::stable_sort(hits.begin(), hits.end(),
                     [](SceneObject* a, SceneObject* b) { return a->GetDepth() > b->GetDepth(); });
    SceneObject* winner = nullptr;
    for (SceneObject* hit : hits) {
        const std::string& hitName = hit->GetName();
        bool passes = wantedNames.count(hitName) > 0 ||
                      (sceneKind == 1 && hit->GetResourceName() != "InGameDividingLine");
        for (const auto& mock : toolObjects) passes = passes || mock.second == hitName;
        if (passes) {
            winner = hit;
            break;
        }
    }
    if (pointedOutObject) {
        if (winner != pointedOutObject) return nullptr;
        ShowExtraCigarTutorial("");
    }
    return winner;
}

void PlayField::StartObjectMissEffect(float px, float py) {
    EntityManager* manager = Manager();
    if (!manager) return;
    const float sx = GetAbsoluteScaleX(), sy = GetAbsoluteScaleY();
    auto spawn = [&](float x, float y) {
        auto* effect = manager->Spawn<ParticleSystemEntity>();
        effect->Load("data/ParticleSystem/ObjectMiss.psi", Services::Sprite(engine, "ObjectMissParticle"));
        effect->AttachTo(this);
        effect->SetPosXY(sx != 0.0f ? x / sx : x, sy != 0.0f ? y / sy : y);
        effect->SetDepth(2000.0f);
        bursts.emplace_back(effect, effect->GetLifeToken());
    };
    spawn(px, py);
    Services::PlaySound(engine, "OnEmptyPlaceClicked");
    if (sceneKind == 1) spawn(px, py >= 300.0f ? py - 300.0f : py + 300.0f);
}

void PlayField::StartPickEffect(SceneObject* object) {
    EntityManager* manager = Manager();
    if (!manager || !object) return;
    const float sx = GetAbsoluteScaleX(), sy = GetAbsoluteScaleY();
    auto* effect = manager->Spawn<ParticleSystemEntity>();
    effect->Load("data/ParticleSystem/ObjectPick.psi", Services::Sprite(engine, "ObjectPickParticle"));
    effect->AttachTo(this);
    effect->SetPosXY(object->GetAbsoluteX() / (sx != 0.0f ? sx : 1.0f) * SceneObject::kSceneToScreen,
                     object->GetAbsoluteY() / (sy != 0.0f ? sy : 1.0f) * SceneObject::kSceneToScreen);
    effect->SetDepth(object->GetDepth() - 0.0001f);
    bursts.emplace_back(effect, effect->GetLifeToken());
}

void PlayField::ResetAndForward(float score, float x, float y, const std::string& caption, int kind) {
    speedTimer = 0.0f;
    ShowScorePopup(score, x, y, listener, this, caption, kind);
}

void PlayField::QueueWinCheck() {
    playing = false;
    PlayerManager::Instance()->Timer->Add(1.0f, [this] { CheckWin(); }, this);
}

void PlayField::OnLeftButton(bool down) {
    if (!panelShown) return;
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    if (!down) return;

    if (measureCompass && measureCursor && measureLine && measureText) {
        HtmlLog::Instance()->Info("Compass clicked");
        ZOLTFramework::CEntity* parts[] = {measureCompass, measureCursor, measureLine, measureText};
        if (std::hypot(mx - 351.0f, my - 350.0f) < 100.0f) {
            for (ZOLTFramework::CEntity* part : parts) part->Show();
        } else if (std::hypot(mx - measureReferenceX, my - measureReferenceY) < 10.0f &&
                   measureText->GetTextRef() == "2.0") {
            for (ZOLTFramework::CEntity* part : parts) part->Hide();
            counters.clear();
            Send("Win", "");
        }
    }

    pressSeen = true;
    const int before = CountOpenNames();
    float sx = mx * kScreenToScene, sy = my * kScreenToScene;
    if (sceneKind == 1 && sy >= kHalfHeight) sy -= kHalfHeight;
    SceneObject* hit = FindObjectAt(sx, sy);
    if (!hit && sceneKind == 1) hit = FindObjectAt(sx, sy + kHalfHeight);
    if (!hit) {
        StartObjectMissEffect(mx, my);
    } else {
        misclickTimer = 0.0f;
        if (sceneKind == 1)
            ResolveDifference(hit, sx, sy, mx, my);
        else
            OnObjectClick(hit);
    }

    const int after = CountOpenNames();
    if (hit && after != before) misclickCount = 0;
    if (misclickTimer >= kMisclickWindow || after != before) {
        misclickCount = 0;
    } else if (++misclickCount >= 3) {
        Send("AddTime", "-60");
        misclickTimer = 0.0f;
        misclickCount = 0;
    }
    misclickTimer = 0.0f;
    if (cursor.kind == CURSOR_HELD_ITEM) OnRightButton(down);
}

SceneObject* PlayField::FindPartner(SceneObject* object) const {
    std::string partner;
    for (const PairRecord& pair : pairs) {
        if (pair.firstName == object->GetName()) partner = pair.secondName;
        if (pair.secondName == object->GetName()) partner = pair.firstName;
    }
    return partner.empty() ? nullptr : FindObjectByName(partner);
}

void PlayField::ResolveDifference(SceneObject* a, float sx, float sy, float mx, float my) {
    if (SceneObject* partner = FindPartner(a)) {
        OnObjectClick(a);
        OnObjectClick(partner);
        return;
    }
    SceneObject* b = FindObjectAt(sx, sy + kHalfHeight);
    const bool aWanted = wantedNames.count(a->GetName()) > 0;
    SceneObject* chosen = a;
    if (!b) {
        // Nothing in the lower half: the upper object alone decides.
        chosen = a;
    } else if (a->GetDepth() < b->GetDepth()) {
        const bool bWanted = wantedNames.count(b->GetName()) > 0;
        chosen = bWanted ? b : (aWanted ? a : b);
    } else {
        chosen = aWanted ? a : b;
    }
    SceneObject* partner = FindPartner(chosen);
    if (wantedNames.count(chosen->GetName()))
        OnObjectClick(chosen);
    else
        StartObjectMissEffect(mx, my);
    if (partner) OnObjectClick(partner);
}

bool PlayField::RunTaskConditions(const TaskRecord& task, bool andPass, int* cigars, std::string* cigarTask) {
    for (size_t q = 0; q < conditions.size();) {
        if (!Contains(conditions[q].conditions, task.name)) {
            ++q;
            continue;
        }
        if (conditions[q].conditions.size() > 1) {
            EraseFirst(conditions[q].conditions, task.name);
            ++q;
            continue;
        }
        // Events without a meaning here (a comic page, a hint...) go to the
        // level unchanged once the condition has run.
        std::vector<ActionRecord> forwarded;
        for (size_t k = 0; k < conditions[q].actions.size();) {
            const ActionRecord action = conditions[q].actions[k];
            if (action.event == "AddCigars") {
                *cigars = StringToInt(action.value);
                *cigarTask = task.name;
            } else if (action.event == "EnableHinting") {
                ignoreHinting.erase(action.value);
            } else if (action.event == "MiniGame") {
                if (!andPass) {
                    conditions[q].actions.erase(conditions[q].actions.begin() + long(k));
                    currentMiniGame = action.value;
                    Send("MiniGame", action.value);
                    continue;
                }
                if (action.value != currentMiniGame) {
                    // The tasks already taken by this click come back until
                    // the mini-game has been played.
                    for (const DelayedTaskRecord& delayed : delayedTasks) {
                        const bool open = std::any_of(tasks.begin(), tasks.end(), [&](const TaskRecord& t) {
                            return t.name == delayed.name;
                        });
                        if (!open && !delayed.name.empty()) tasks.push_back(delayed);
                    }
                    currentMiniGame = action.value;
                    Send("MiniGame", action.value);
                    return false;
                }
                conditions[q].actions.erase(conditions[q].actions.begin() + long(k));
                RemoveDelayedTask(task.name);
                if (!delayedTasks.empty()) delayedTasks.pop_back();
                const bool named = std::any_of(conditions.begin(), conditions.end(), [&](const ConditionRecord& c) {
                    return c.conditions.size() > 1 && Contains(c.conditions, task.name);
                });
                if (!named)
                    tasks.erase(std::remove_if(tasks.begin(), tasks.end(),
                                               [&](const TaskRecord& t) { return t.name == task.name; }),
                                tasks.end());
                continue;
            } else {
                forwarded.push_back(action);
            }
            ++k;
        }
        conditions.erase(conditions.begin() + long(q));
        q = 0;
        for (const ActionRecord& action : forwarded) Send(action.event, action.value);
    }
    RemoveDelayedTask(task.name);
    return true;
}

void PlayField::OnObjectClick(SceneObject* object) {
    if (!object || object->IsDead()) return;
    const std::string objectName = object->GetName();
    Send("OnObjectClick", objectName);

    // Task pass.
    std::vector<TaskRecord> andList, orList;
    bool andTouched = false;
    for (size_t i = 0; i < tasks.size();) {
        if (!Contains(tasks[i].objectNames, objectName)) {
            ++i;
            continue;
        }
        const TaskRecord task = tasks[i];
        if (!task.toolToFind.empty() &&
            !(cursor.kind == CURSOR_HELD_ITEM && task.toolToFind.find(cursor.itemName) != std::string::npos)) {
            ++i;
            continue;
        }
        bool heldBack = false;
        if (task.type == "And") {
            andList.push_back(task);
            andTouched = true;
        } else if (task.type == "Or") {
            orList.push_back(task);
        } else if (!task.toolToFind.empty()) {
            for (const ConditionRecord& condition : GetConditionsFor(task.name)) {
                if (condition.actions.empty() || condition.actions.front().event != "MiniGame") continue;
                // The held item goes back into the bag while the mini-game
                // runs. It leaves the hand first: the level's pause for the
                // game must not put it down a second time, nameless.
                const std::string heldSprite = cursor.spriteName, heldItem = cursor.itemName;
                if (cursor.entity) cursor.entity->Kill();
                cursor.entity = nullptr;
                SetCursor(CURSOR_PLAIN, "", "");
                currentMiniGame = condition.actions.front().value;
                Send("MiniGame", condition.actions.front().value);
                DelayedTaskRecord waiting;
                static_cast<TaskRecord&>(waiting) = task;
                waiting.sceneObject = object;
                waiting.locking = true;
                delayedTasks.push_back(waiting);
                heldBack = true;
                if (EntityManager* manager = Manager()) {
                    auto* item = manager->Spawn<SceneObject>(heldSprite, false, 0.0f, 0.0f, false, heldItem,
                                                             objectsLayer);
                    item->RemoveLensSprites();
                    item->SetDepth(100.0f);
                    item->AttachTo(this);
                    const int open = openItems;
                    OnTaskChanged(item, task.toolSprite, task.name);
                    openItems = open;
                }
                break;
            }
            if (!heldBack) QueueWinCheck();
        }
        if (objectName == "a45_Chinese_shop_owners_1" && cursor.itemName == "a1_Chinese_shop_owners_1") {
            object->SetOpacity(0.1f);
            if (SceneObject* shaken = FindObjectByName("a11_Chinese_shop_owners_1")) {
                if (EntityManager* manager = Manager()) {
                    HGE* hge = Services::Hge(engine);
                    auto* shake = manager->Spawn<CAnimationEffector>();
                    shake->AttachTo(shaken);
                    const float x0 = shaken->GetX(), y0 = shaken->GetY();
                    for (float t = 0.0f; t < 0.2f; t += 0.025f) {
                        shake->AddKey(CAnimationEffector::TRACK_X, t, x0 + (hge ? hge->Random_Float(-2.0f, 2.0f) : 0.0f));
                        shake->AddKey(CAnimationEffector::TRACK_Y, t, y0 + (hge ? hge->Random_Float(-2.0f, 2.0f) : 0.0f));
                    }
                    shake->AddKey(CAnimationEffector::TRACK_X, 0.2f, x0);
                    shake->AddKey(CAnimationEffector::TRACK_Y, 0.2f, y0);
                    shake->Prepare();
                }
            }
        }
        if (delayedTasks.empty() || !delayedTasks.back().locking) {
            DelayedTaskRecord taken;
            static_cast<TaskRecord&>(taken) = task;
            taken.sceneObject = object;
            delayedTasks.push_back(taken);
            EraseFirst(tasks[i].objectNames, objectName);
        }
        bool restart = false;
        if (tasks[i].objectNames.empty()) {
            tasks.erase(tasks.begin() + long(i));
            restart = true;
        }
        if (!task.toolToFind.empty()) {
            const auto mock = toolObjects.find(objectName);
            if (mock != toolObjects.end())
                if (SceneObject* stand = FindObjectByName(mock->second)) {
                    RemoveFromScene(stand);
                    stand->StartFadeOut(1.0f);
                }
            RemoveFromScene(object);
            const bool locked = !delayedTasks.empty() && delayedTasks.back().locking;
            if (!locked) RemoveDelayedTask(task.name);
            if (!heldBack) {
                Services::PlaySound(engine, "OnToolUsed");
                object->StartFadeOut(1.0f);
            }
            if (cursor.entity) cursor.entity->Kill();
            cursor.entity = nullptr;
            SetCursor(CURSOR_PLAIN, "", "");
            for (const ConditionRecord& condition : GetConditionsFor(task.name))
                for (const ActionRecord& action : condition.actions)
                    if (action.event == "EnableHinting") ignoreHinting.erase(action.value);
            return;
        }
        i = restart ? 0 : i + 1;
    }

    // A tool lying in the scene.
    const TaskRecord* toolTask = nullptr;
    for (const TaskRecord& task : tasks)
        if (!task.toolToFind.empty() && task.toolToFind.find(objectName) != std::string::npos) {
            toolTask = &task;
            break;
        }
    const bool toolFlag = toolTask != nullptr;
    int cigars = -1;
    std::string cigarTask;
    if (toolFlag) {
        hgeSprite* image = object->GetDisplaySprite();
        const bool large = image && (image->GetWidth() > 150.0f || image->GetHeight() > 150.0f);
        const std::string toolName = toolTask->toolSprite;
        toolRecords.push_back({object->GetResourceName(), objectName, toolName, large ? 0.6f : 1.0f});
        const std::string taskName = andList.empty() ? std::string() : andList.front().name;
        if (!andList.empty()) RemoveDelayedTask(taskName);
        SendObjectToInventory(object, toolName, taskName);
        RemoveFromScene(object);
        StartPickEffect(object);
        if (inventory) inventory->AddReturning();
    } else {
        for (const TaskRecord& task : orList)
            if (!RunTaskConditions(task, false, &cigars, &cigarTask)) return;
        for (const TaskRecord& task : andList) {
            if (task.objectNames.size() != 1) continue;
            if (!RunTaskConditions(task, true, &cigars, &cigarTask)) return;
        }
    }

    // The panel.
    if (toolFlag) {
        if (!andList.empty()) {
            const auto counter = counters.find(andList.front().name);
            if (counter != counters.end()) --counter->second.count;
        }
    } else if (andTouched && !ignoreAdding.count(andList.front().name)) {
        const std::string taskName = andList.front().name;
        RemoveDelayedTask(taskName);
        RemoveFromScene(object);
        if (cigars < 0) {
            // A find that also grants cigars flies to the cigars alone, and
            // its counter goes down when it arrives there.
            object->SetDepth(object->GetDepth() + kTakenDepth);
            StartPickEffect(object);
            const auto counter = counters.find(taskName);
            if (counter != counters.end()) --counter->second.count;
            float tx = 0.0f, ty = 0.0f;
            GetPanelTarget(taskName, &tx, &ty);
            std::weak_ptr<void> self = GetLifeToken();
            const bool glass = object->GetResourceName() == "MagnifyingGlass";
            QueueObjectFlight(object, tx, ty, [this, self, taskName, glass](SceneObject* arrived) {
                if (!self.expired()) AddMagnifyingGlass(arrived, taskName, glass);
            }, false);
        } else if (cigarTask != taskName) {
            // The cigars arrive for another task: this find counts now.
            const auto counter = counters.find(taskName);
            if (counter != counters.end()) --counter->second.count;
        }
    }

    if (cigars >= 0) {
        object->SetDepth(object->GetDepth() + kTakenDepth);
        StartPickEffect(object);
        const float tx = (kCigarScreenX - GetAbsoluteX()) / SceneObject::kSceneToScreen;
        const float ty = (kCigarScreenY - GetAbsoluteY()) / SceneObject::kSceneToScreen;
        std::weak_ptr<void> self = GetLifeToken();
        QueueObjectFlight(object, tx, ty, [this, self, cigars, cigarTask](SceneObject* arrived) {
            if (!self.expired()) AddCigars(cigars, arrived, cigarTask);
        }, false);
        RemoveFromScene(object);
    } else if (!toolFlag && !andTouched) {
        return;
    }

    const float px = object->GetX() * SceneObject::kSceneToScreen;
    const float py = object->GetY() * SceneObject::kSceneToScreen;
    const float t = speedTimer;
    if (t > 0.0f && t <= 1.0f)
        ResetAndForward(1000.0f, px, py, Services::Text(engine, "SPEED_BONUS"), SCORE_SPEED);
    else if (t > 1.0f && t <= 2.0f)
        ResetAndForward(500.0f, px, py, Services::Text(engine, "SPEED_BONUS"), SCORE_SPEED);
    ResetAndForward(500.0f, px, py - 20.0f, "", SCORE_ITEM);
    Services::PlaySound(engine, "OnObjectClick");
}
