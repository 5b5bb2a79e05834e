#include "scene/PlayFieldObjectClick.h"

#include <algorithm>
#include <utility>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "graphics/hgeSprite.h"
#include "scene/ClueTargets.h"
#include "scene/Inventory.h"
#include "scene/PlayFieldClicks.h"
#include "scene/PlayFieldFlights.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"
#include "scene/SceneObjectsLayer.h"
#include "scene/ShowScorePopup.h"

using ZOLTFramework::CAnimationEffector;
namespace Services = ZOLTFramework::Services;

namespace {

const float kTakenDepth = 1500.0f;
const float kCigarScreenX = 100.0f;
const float kCigarScreenY = 370.0f;
const float kDefaultClueY = 150.0f;


}  // namespace

PlayFieldObjectClick::PlayFieldObjectClick(ZOLTFramework::CEntity& owner, SceneObjectsLayer& objectsLayer,
                                           SceneRules& sceneRules, SceneObjectList& sceneObjects,
                                           PlayFieldPointer& fieldPointer, PlayFieldFlights& fieldFlights,
                                           Inventory& sceneBag, SceneRules::Events& sink,
                                           const ClueTargets* clueTargets, float panelPictureWidth,
                                           const float& sinceLastScore, FieldSteps fieldSteps)
    : field(owner), layer(objectsLayer), rules(sceneRules), objects(sceneObjects), pointer(fieldPointer),
      flights(fieldFlights), bag(sceneBag), events(sink), clues(clueTargets), panelWidth(panelPictureWidth),
      speedTimer(sinceLastScore), steps(std::move(fieldSteps)) {}

void PlayFieldObjectClick::Play(SceneObject* object) {
    if (!object || object->IsDead()) return;
    const std::string objectName = object->GetName();
    // A click played from inside another (a replay) keeps the outer one's cursor.
    const PlayFieldPointer::CursorState outer = std::exchange(held, pointer.Cursor());
    const std::string* heldItem = held.kind == PlayFieldPointer::CURSOR_HELD_ITEM ? &held.itemName : nullptr;
    rules.Click(object, objectName, heldItem, events, *this);
    held = outer;
}

void PlayFieldObjectClick::ReplayDelayed() {
    if (!rules.DelayedTasks().empty())
        HtmlLog::Instance()->Info("Number of delayed tasks: " + std::to_string(rules.DelayedTasks().size()));
    // Only the records present now are replayed, first first.
    for (SceneObject* object : rules.ClicksToReplay()) {
        if (!rules.ClaimReplay(object)) continue;
        steps.click(object);
        if (!rules.AnyReplayLeft()) break;
    }
}

void PlayFieldObjectClick::ToolUsed(SceneObject* object, const SceneRules::TaskPass& pass) {
    const TaskRecord& task = pass.toolTask;
    if (pass.heldBack) {
        // The held item goes back into the bag, with its tool name, while the
        // mini-game runs. It leaves the hand first, so that nothing puts it
        // down a second time.
        pointer.DropHeldItem();
        pointer.SetCursor(PlayFieldPointer::CURSOR_PLAIN, "", "");
        if (EntityManager* manager = field.Manager()) {
            auto* item = manager->Spawn<SceneObject>(held.spriteName, false, 0.0f, 0.0f, false, held.itemName, &layer);
            item->RemoveLensSprites();
            item->SetDepth(100.0f);
            item->AttachTo(&field);
            flights.ReceiveInBag(item->GetResourceName(), item->GetName(),
                                 std::max(item->GetScaleX(), item->GetScaleY()), item, task.toolSprite, task.name,
                                 false);
        }
    }
    if (pass.winCheck) steps.queueWinCheck();
    for (int i = 0; i < pass.tasksTaken; ++i) ShakeShopOwner(object);
    const auto standIn = PlayFieldClicks::ToolStandIns().find(object->GetName());
    if (standIn != PlayFieldClicks::ToolStandIns().end())
        if (SceneObject* stand = objects.Find(standIn->second)) {
            objects.Remove(stand);
            stand->StartFadeOut(1.0f);
        }
    objects.Remove(object);
    if (!pass.heldBack) {
        Services::PlaySound(field.GetEngine(), "OnToolUsed");
        object->StartFadeOut(1.0f);
    }
    pointer.DropHeldItem();
    pointer.SetCursor(PlayFieldPointer::CURSOR_PLAIN, "", "");
}

void PlayFieldObjectClick::TasksTaken(SceneObject* object, int count) {
    for (int i = 0; i < count; ++i) ShakeShopOwner(object);
}

void PlayFieldObjectClick::ToolToBag(SceneObject* object, const SceneRules::TaskPass& pass, std::string& picture,
                                     float& scale) {
    hgeSprite* image = object->GetDisplaySprite();
    const bool large = image && (image->GetWidth() > 150.0f || image->GetHeight() > 150.0f);
    picture = object->GetResourceName();
    scale = large ? 0.6f : 1.0f;
    steps.sendToInventory(object, pass.toolName, pass.bagTaskName);
    objects.Remove(object);
    StartPickEffect(object);
    bag.AddReturning();
}

void PlayFieldObjectClick::Outcome(SceneObject* object, const SceneRules::ClickOutcome& outcome) {
    if (outcome.droppedCigars >= 0)
        HtmlLog::Instance()->Warning("Play field: the task \"" + HtmlLog::Shown(outcome.droppedCigarTask) +
                                     "\" of the tool \"" + HtmlLog::Shown(object->GetName()) + "\" grants " +
                                     std::to_string(outcome.droppedCigars) +
                                     " cigars, but a tool flies into the bag: none are given.");
    if (!outcome.droppedMiniGame.empty())
        HtmlLog::Instance()->Warning("Play field: the task \"" + HtmlLog::Shown(outcome.droppedMiniGameTask) +
                                     "\" of the tool \"" + HtmlLog::Shown(object->GetName()) +
                                     "\" starts the mini-game \"" + HtmlLog::Shown(outcome.droppedMiniGame) +
                                     "\", but no click waits for it as the tool flies into the bag: it is not "
                                     "started.");
    if (outcome.leavesScene) objects.Remove(object);
    if (outcome.toPanel) {
        object->SetDepth(object->GetDepth() + kTakenDepth);
        StartPickEffect(object);
        float tx = 0.0f, ty = 0.0f;
        GetPanelTarget(outcome.panelTask, &tx, &ty);
        const std::string taskName = outcome.panelTask;
        const bool glass = object->GetResourceName() == "MagnifyingGlass";
        auto arrive = steps.arriveAtPanel;
        steps.queueFlight(object, tx, ty, [arrive, taskName, glass](SceneObject* arrived) {
            arrive(arrived, taskName, glass);
        });
    }
    if (outcome.cigars >= 0) {
        object->SetDepth(object->GetDepth() + kTakenDepth);
        StartPickEffect(object);
        const float tx = (kCigarScreenX - field.GetAbsoluteX()) / SceneObject::kSceneToScreen;
        const float ty = (kCigarScreenY - field.GetAbsoluteY()) / SceneObject::kSceneToScreen;
        const int cigars = outcome.cigars;
        const std::string cigarTask = outcome.cigarTask;
        auto arrive = steps.arriveAtCigars;
        steps.queueFlight(object, tx, ty, [arrive, cigars, cigarTask](SceneObject* arrived) {
            arrive(cigars, arrived, cigarTask);
        });
    }
    if (outcome.scores) ScoreFind(object);
}

void PlayFieldObjectClick::ShakeShopOwner(SceneObject* object) {
    if (object->GetName() != "a45_Chinese_shop_owners_1" || pointer.Cursor().itemName != "a1_Chinese_shop_owners_1")
        return;
    object->SetOpacity(0.1f);
    SceneObject* shaken = objects.Find("a11_Chinese_shop_owners_1");
    EntityManager* manager = field.Manager();
    if (!shaken || !manager) return;
    HGE* hge = Services::Hge(field.GetEngine());
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

void PlayFieldObjectClick::StartPickEffect(SceneObject* object) {
    if (!object) return;
    const float sx = field.GetAbsoluteScaleX(), sy = field.GetAbsoluteScaleY();
    flights.Burst("data/ParticleSystem/ObjectPick.psi", "ObjectPickParticle",
                  object->GetAbsoluteX() / (sx != 0.0f ? sx : 1.0f) * SceneObject::kSceneToScreen,
                  object->GetAbsoluteY() / (sy != 0.0f ? sy : 1.0f) * SceneObject::kSceneToScreen,
                  object->GetDepth() - 0.0001f);
}

void PlayFieldObjectClick::ScoreFind(SceneObject* object) {
    const float px = object->GetX() * SceneObject::kSceneToScreen;
    const float py = object->GetY() * SceneObject::kSceneToScreen;
    const float t = speedTimer;
    if (t > 0.0f && t <= 2.0f) {
        const std::string caption = Services::Text(field.GetEngine(), "SPEED_BONUS");
        steps.score(t <= 1.0f ? 1000.0f : 500.0f, px, py, caption, SCORE_SPEED);
    }
    steps.score(500.0f, px, py - 20.0f, "", SCORE_ITEM);
    Services::PlaySound(field.GetEngine(), "OnObjectClick");
}

void PlayFieldObjectClick::GetPanelTarget(const std::string& taskName, float* tx, float* ty) const {
    float screenY = kDefaultClueY;
    if (clues && taskName != kDummyTask) {
        float clueY = 0.0f;
        if (clues->ClueTarget(taskName, clueY)) screenY = clueY;
    }
    *tx = (panelWidth / 2.0f - field.GetAbsoluteX()) / SceneObject::kSceneToScreen;
    *ty = (screenY - field.GetAbsoluteY()) / SceneObject::kSceneToScreen;
}
