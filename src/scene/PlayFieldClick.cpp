// A left press on the field: the hit test, the halves of a difference
// picture, the measuring tool, misclicks, and the click on one object with
// its tasks, tools, conditions, flights and scores.
#include <algorithm>
#include <cmath>
#include <set>

#include "engine/Conversions.h"
#include "scene/LevelEvents.h"
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
#include "scene/Inventory.h"
#include "scene/PanelEdge.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"
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

}  // namespace

void PlayFieldClicks::RemoveFromScene(SceneObject* object) {
    const auto it = std::find(field->sceneObjects.begin(), field->sceneObjects.end(), object);
    if (it != field->sceneObjects.end()) field->sceneObjects.erase(it);
}

SceneObject* PlayField::FindObjectAt(float sx, float sy) {
    std::vector<SceneObject*> near;
    for (SceneObject* object : sceneObjects) {
        hgeSprite* sprite = object->GetDisplaySprite();
        if (!sprite || object->IsDead()) continue;
        const float diagonal = std::hypot(sprite->GetWidth(), sprite->GetHeight());
        if (std::hypot(object->GetX() - sx, object->GetY() - sy) < diagonal) near.push_back(object);
    }
    const std::set<std::string> wantedNames = rules.WantedNames();
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
                      (sceneKind->IsSplit() && hit->GetResourceName() != "InGameDividingLine");
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
    if (sceneKind->IsSplit()) spawn(px, sceneKind->MirrorY(py));
}

void PlayFieldClicks::StartPickEffect(SceneObject* object) {
    EntityManager* manager = field->Manager();
    if (!manager || !object) return;
    const float sx = field->GetAbsoluteScaleX(), sy = field->GetAbsoluteScaleY();
    auto* effect = manager->Spawn<ParticleSystemEntity>();
    effect->Load("data/ParticleSystem/ObjectPick.psi", Services::Sprite(field->engine, "ObjectPickParticle"));
    effect->AttachTo(field);
    effect->SetPosXY(object->GetAbsoluteX() / (sx != 0.0f ? sx : 1.0f) * SceneObject::kSceneToScreen,
                     object->GetAbsoluteY() / (sy != 0.0f ? sy : 1.0f) * SceneObject::kSceneToScreen);
    effect->SetDepth(object->GetDepth() - 0.0001f);
    field->bursts.emplace_back(effect, effect->GetLifeToken());
}

void PlayField::ResetAndForward(float score, float x, float y, const std::string& caption, int kind) {
    speedTimer = 0.0f;
    ShowScorePopup(score, x, y, listener, this, caption, kind, SceneLeft());
}

float PlayField::SceneLeft() const {
    const float edge = context.panel ? context.panel->PanelRight() : GetAbsoluteX() + panelWidth;
    return std::max(0.0f, edge);
}

void PlayFieldClicks::QueueWinCheck() {
    field->playing = false;
    PlayFieldPointer(*field).DelayedCalls()->Add(1.0f, [field = field] { field->CheckWin(); }, field);
}

void PlayField::OnLeftButton(bool down) {
    if (!panelShown) return;
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    if (!down) return;

    if (measure.compass && measure.cursor && measure.line && measure.text) {
        HtmlLog::Instance()->Info("Compass clicked");
        ZOLTFramework::CEntity* parts[] = {measure.compass, measure.cursor, measure.line, measure.text};
        if (std::hypot(mx - 351.0f, my - 350.0f) < 100.0f) {
            for (ZOLTFramework::CEntity* part : parts) part->Show();
        } else if (std::hypot(mx - measure.referenceX, my - measure.referenceY) < 10.0f &&
                   measure.text->GetTextRef() == "2.0") {
            for (ZOLTFramework::CEntity* part : parts) part->Hide();
            rules.ClearCounters();
            Send(LevelEvents::kWin, "");
        }
    }

    pressSeen = true;
    const int before = rules.OpenNames();
    float sx = 0.0f, sy = 0.0f;
    sceneKind->ScenePoint(mx, my, sx, sy);
    SceneObject* hit = FindObjectAt(sx, sy);
    if (!hit && sceneKind->IsSplit()) hit = FindObjectAt(sx, sy + kHalfHeight);
    if (!hit) {
        StartObjectMissEffect(mx, my);
    } else {
        misclickTimer = 0.0f;
        if (sceneKind->IsSplit())
            PlayFieldClicks(*this).ResolveDifference(hit, sx, sy, mx, my);
        else
            OnObjectClick(hit);
    }

    const int after = rules.OpenNames();
    if (hit && after != before) misclickCount = 0;
    if (misclickTimer >= kMisclickWindow || after != before) {
        misclickCount = 0;
    } else if (++misclickCount >= 3) {
        Send(LevelEvents::kAddTime, "-60");
        misclickTimer = 0.0f;
        misclickCount = 0;
    }
    misclickTimer = 0.0f;
    if (cursor.kind == CURSOR_HELD_ITEM) OnRightButton(down);
}

SceneObject* PlayFieldClicks::FindPartner(SceneObject* object) const {
    std::string partner;
    for (const PairRecord& pair : field->rules.Pairs()) {
        if (pair.firstName == object->GetName()) partner = pair.secondName;
        if (pair.secondName == object->GetName()) partner = pair.firstName;
    }
    return partner.empty() ? nullptr : field->FindObjectByName(partner);
}

void PlayFieldClicks::ResolveDifference(SceneObject* a, float sx, float sy, float mx, float my) {
    if (SceneObject* partner = PlayFieldClicks(*field).FindPartner(a)) {
        field->OnObjectClick(a);
        field->OnObjectClick(partner);
        return;
    }
    SceneObject* b = field->FindObjectAt(sx, sy + kHalfHeight);
    const std::set<std::string> wantedNames = field->rules.WantedNames();
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
    SceneObject* partner = PlayFieldClicks(*field).FindPartner(chosen);
    if (wantedNames.count(chosen->GetName()))
        field->OnObjectClick(chosen);
    else
        field->StartObjectMissEffect(mx, my);
    if (partner) field->OnObjectClick(partner);
}

void PlayField::OnObjectClick(SceneObject* object) {
    if (!object || object->IsDead()) return;
    const std::string objectName = object->GetName();
    Send(LevelEvents::kOnObjectClick, objectName);

    const CursorState held = cursor;
    const std::string* heldItem = cursor.kind == CURSOR_HELD_ITEM ? &cursor.itemName : nullptr;
    const SceneRules::TaskPass pass = rules.TakeTasks(object, objectName, heldItem);
    if (pass.toolUsed) {
        // The held item leaves the hand before the level hears of the game.
        PlayFieldClicks(*this).PlayToolUsed(object, pass, held);
        if (!pass.miniGame.empty()) Send(LevelEvents::kMiniGame, pass.miniGame);
        return;
    }
    for (int i = 0; i < pass.tasksTaken; ++i) PlayFieldClicks(*this).ShakeShopOwner(object);

    std::string resource;
    float bagScale = 1.0f;
    if (pass.isTool) {
        hgeSprite* image = object->GetDisplaySprite();
        const bool large = image && (image->GetWidth() > 150.0f || image->GetHeight() > 150.0f);
        resource = object->GetResourceName();
        bagScale = large ? 0.6f : 1.0f;
        PlayFieldClicks(*this).SendToolToInventory(object, pass);
    }
    const SceneRules::ClickOutcome outcome = rules.FinishClick(pass, objectName, resource, bagScale, *this);
    if (outcome.droppedCigars >= 0)
        HtmlLog::Instance()->Warning("Play field: the task \"" + outcome.droppedCigarTask + "\" of the tool \"" +
                                     objectName + "\" grants " + std::to_string(outcome.droppedCigars) +
                                     " cigars, but a tool flies into the bag: none are given.");
    if (!outcome.stop) PlayFieldClicks(*this).PlayClickOutcome(object, outcome);
}

void PlayFieldClicks::PlayToolUsed(SceneObject* object, const SceneRules::TaskPass& pass,
                                   const PlayField::CursorState& held) {
    const TaskRecord& task = pass.toolTask;
    if (pass.heldBack) {
        // The held item goes back into the bag, with its tool name, while the
        // mini-game runs. It leaves the hand first, so that nothing puts it
        // down a second time.
        if (field->cursor.entity) field->cursor.entity->Kill();
        field->cursor.entity = nullptr;
        field->SetCursor(PlayField::CURSOR_PLAIN, "", "");
        if (EntityManager* manager = field->Manager()) {
            auto* item = manager->Spawn<SceneObject>(held.spriteName, false, 0.0f, 0.0f, false, held.itemName,
                                                     field->objectsLayer);
            item->RemoveLensSprites();
            item->SetDepth(100.0f);
            item->AttachTo(field);
            PlayFieldFlights(*field).ReceiveItem(item->GetResourceName(), item->GetName(), std::max(item->GetScaleX(), item->GetScaleY()), item,
                        task.toolSprite, task.name, false);
        }
    }
    if (pass.winCheck) PlayFieldClicks(*field).QueueWinCheck();
    for (int i = 0; i < pass.tasksTaken; ++i) PlayFieldClicks(*field).ShakeShopOwner(object);
    const auto mock = field->toolObjects.find(object->GetName());
    if (mock != field->toolObjects.end())
        if (SceneObject* stand = field->FindObjectByName(mock->second)) {
            PlayFieldClicks(*field).RemoveFromScene(stand);
            stand->StartFadeOut(1.0f);
        }
    PlayFieldClicks(*field).RemoveFromScene(object);
    if (!pass.heldBack) {
        Services::PlaySound(field->engine, "OnToolUsed");
        object->StartFadeOut(1.0f);
    }
    if (field->cursor.entity) field->cursor.entity->Kill();
    field->cursor.entity = nullptr;
    field->SetCursor(PlayField::CURSOR_PLAIN, "", "");
}

void PlayFieldClicks::ShakeShopOwner(SceneObject* object) {
    if (object->GetName() != "a45_Chinese_shop_owners_1" || field->cursor.itemName != "a1_Chinese_shop_owners_1") return;
    object->SetOpacity(0.1f);
    SceneObject* shaken = field->FindObjectByName("a11_Chinese_shop_owners_1");
    EntityManager* manager = field->Manager();
    if (!shaken || !manager) return;
    HGE* hge = Services::Hge(field->engine);
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

void PlayFieldClicks::SendToolToInventory(SceneObject* object, const SceneRules::TaskPass& pass) {
    field->SendObjectToInventory(object, pass.toolName, pass.bagTaskName);
    PlayFieldClicks(*field).RemoveFromScene(object);
    PlayFieldClicks(*field).StartPickEffect(object);
    if (field->inventory) field->inventory->AddReturning();
}

void PlayFieldClicks::PlayClickOutcome(SceneObject* object, const SceneRules::ClickOutcome& outcome) {
    if (outcome.leavesScene) PlayFieldClicks(*field).RemoveFromScene(object);
    std::weak_ptr<void> self = field->GetLifeToken();
    if (outcome.toPanel) {
        object->SetDepth(object->GetDepth() + kTakenDepth);
        PlayFieldClicks(*field).StartPickEffect(object);
        float tx = 0.0f, ty = 0.0f;
        field->GetPanelTarget(outcome.panelTask, &tx, &ty);
        const std::string taskName = outcome.panelTask;
        const bool glass = object->GetResourceName() == "MagnifyingGlass";
        field->QueueObjectFlight(object, tx, ty, [field = field, self, taskName, glass](SceneObject* arrived) {
            if (!self.expired()) field->AddMagnifyingGlass(arrived, taskName, glass);
        }, false);
    }
    if (outcome.cigars >= 0) {
        object->SetDepth(object->GetDepth() + kTakenDepth);
        PlayFieldClicks(*field).StartPickEffect(object);
        const float tx = (kCigarScreenX - field->GetAbsoluteX()) / SceneObject::kSceneToScreen;
        const float ty = (kCigarScreenY - field->GetAbsoluteY()) / SceneObject::kSceneToScreen;
        const int cigars = outcome.cigars;
        const std::string cigarTask = outcome.cigarTask;
        field->QueueObjectFlight(object, tx, ty, [field = field, self, cigars, cigarTask](SceneObject* arrived) {
            if (!self.expired()) field->AddCigars(cigars, arrived, cigarTask);
        }, false);
    }
    if (outcome.scores) PlayFieldClicks(*field).ScoreFind(object);
}

void PlayFieldClicks::ScoreFind(SceneObject* object) {
    const float px = object->GetX() * SceneObject::kSceneToScreen;
    const float py = object->GetY() * SceneObject::kSceneToScreen;
    const float t = field->speedTimer;
    if (t > 0.0f && t <= 1.0f)
        field->ResetAndForward(1000.0f, px, py, Services::Text(field->engine, "SPEED_BONUS"), SCORE_SPEED);
    else if (t > 1.0f && t <= 2.0f)
        field->ResetAndForward(500.0f, px, py, Services::Text(field->engine, "SPEED_BONUS"), SCORE_SPEED);
    field->ResetAndForward(500.0f, px, py - 20.0f, "", SCORE_ITEM);
    Services::PlaySound(field->engine, "OnObjectClick");
}
