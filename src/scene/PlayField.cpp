#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "scene/Inventory.h"
#include "scene/LevelEvents.h"
#include "scene/LiveGroups.h"
#include "scene/PSLayer.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectsLayer.h"
#include "scene/ScriptGlobals.h"

using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

namespace {

const bool g_scriptClassRegistered = PlayField::RegisterLua();

const char* const kMirroredCursorFile = "data/Texture/Cursors/MagnifyingGlassCursorDiff.png";
const char* const kKeptScene = "data/Scenes/Brannoks_bedroom.xml";

hgeAnimation* CursorAnimation(const ZOLTFramework::EngineContext* engine, const char* name) {
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    hgeAnimation* animation = resources ? resources->GetAnimation(name) : nullptr;
    if (!animation)
        HtmlLog::Instance()->Error(std::string("Play field: no animation \"") + name + "\"; that cursor is not drawn.");
    return animation;
}

void ScaleTo(ZOLTFramework::CEntity* entity, float scale) {
    if (!entity) return;
    entity->SetScale(scale);
    entity->OnScale();
}

}  // namespace

PlayField::PlayField(const std::string& path, ZOLTFramework::CQuestionListener* eventListener,
                     const SceneContext& sceneContext)
    : context(sceneContext), sceneKind(SceneKind::Of(XMLDocument::XMLElement("scene"), path)), listener(eventListener) {
    RegisterLua();
    SceneScript::Publish("play_field", this);
    name = path;
    scenePath = path;
    EntityManager* manager = Manager();
    if (!manager) {
        HtmlLog::Instance()->Error("Play field: no entity manager; the scene \"" + path + "\" is not loaded.");
        return;
    }

    objectsLayer = manager->Spawn<SceneObjectsLayer>();
    objectsLayer->SetName("ObjectsLayer");
    objectsLayer->SetDepth(1001.0f);
    objectsLayer->AttachTo(this);
    if (HGE* hge = Services::Hge(engine)) {
        if (HTEXTURE texture = hge->Texture_Load(kMirroredCursorFile, 0, false)) {
            auto* mirrored = new hgeSprite(texture, 0.0f, 0.0f, 32.0f, 32.0f);
            mirrored->SetHotSpot(12.0f, 10.0f);
            objectsLayer->SetMirroredCursorSprite(mirrored, texture);
        } else {
            HtmlLog::Instance()->Error(std::string("Play field: cannot load \"") + kMirroredCursorFile +
                                       "\"; no mirrored cursor.");
        }
    }
    particleLayer = manager->Spawn<PSLayer>();
    particleLayerToken = particleLayer->GetLifeToken();
    particleLayer->SetDepth(500.0f);
    particleLayer->AttachTo(this);
    std::weak_ptr<void> field = GetLifeToken();
    pausedStep = manager->Spawn<PausedFieldStep>([this, field](float dt) {
        if (!field.expired() && IsPausedInChain()) PlayFieldFlights(*this).PlayOutDecoration(dt, true);
    });
    pausedStepToken = pausedStep->GetLifeToken();

    if (hgeSprite* panel = Services::Sprite(engine, "InGamePanel"))
        panelWidth = panel->GetWidth();
    else
        HtmlLog::Instance()->Error("Play field: no sprite \"InGamePanel\"; the field takes the whole width.");
    OnMove();
    manager->Add(this);

    inventory = manager->Spawn<Inventory>(0);
    inventory->SetDepth(100.0f);
    inventory->AttachTo(this);
    std::weak_ptr<void> self = GetLifeToken();
    inventory->pickUpCallback = [this, self](const std::string& sprite, const std::string& item) {
        if (!self.expired()) SetCursor(CURSOR_HELD_ITEM, sprite, item);
    };
    inventory->pressCallback = [this, self] {
        if (!self.expired()) SetCursor(CURSOR_PLAIN, "", "");
    };

    playCursor = CursorAnimation(engine, "PlayCursor");
    objectsLayer->SetCursorSprite(playCursor);
    hoverCursor = CursorAnimation(engine, "DiffCursor");
    if (hoverCursor) hoverCursor->SetFrame(hoverCursor->GetFrames() - 1);

    HtmlLog::Instance()->Info("Play field loading - " + path);
    LoadScene(path);
    // Pages and mini-games on the same group leave its pictures alone while
    // the field lives.
    if (resourceGroup >= LiveGroups::kFirstSceneGroup) LiveGroups::Hold(resourceGroup, this);
    HtmlLog::Instance()->Info("Play field loaded - " + path);

    if (sceneKind->IsSplit()) objectsLayer->SetMirroredCursor(true);
    toolObjects["ar_Stokers_corner_1"] = "mock_Stokers_corner_1";
}

PlayField::~PlayField() {
    SceneScript::Withdraw("play_field", this);
    if (!pausedStepToken.expired()) pausedStep->Kill();
    for (hgeParticleSystem* system : particleSystems) {
        // The manager may have freed the layer first.
        if (particleLayer && !particleLayerToken.expired()) particleLayer->Remove(system);
        delete system;
    }
    particleSystems.clear();
    // A group still held by another live field stays; shared groups (below
    // the scene groups) were reported when the scene loaded.
    if (resourceGroup < LiveGroups::kFirstSceneGroup) return;
    if (scenePath == kKeptScene && keepResources == 1) return;
    LiveGroups::Release(engine ? engine->GetResourceManager() : nullptr, resourceGroup, "Play field " + scenePath,
                        this);
}

ZOLTFramework::GameManager::Timer* PlayFieldPointer::DelayedCalls() {
    return field->context.timer ? field->context.timer->Get() : field->ownTimer.Get();
}

void PlayField::Send(const std::string& event, const std::string& value) {
    if (listener) listener->OnQuestion(event, value);
}

void PlayField::OnMove() {
    CEntity::OnMove();
    SetRect(GetAbsoluteX() + panelWidth, GetAbsoluteY(), 800.0f, 600.0f);
}

void PlayField::GotFocus() {
    HtmlLog::Instance()->Info("Play field gained focus");
    if (openingMiniGame && focusCount == 0) Send(LevelEvents::kMiniGame, "data/MiniGames/15.2.xml");
    ++focusCount;
}

void PlayField::LostFocus() { OnMouseOver(false); }

void PlayField::PauseInventory() {
    if (inventory) inventory->Pause();
}

void PlayField::Render() {
    if (objectsLayer && !objectsLayer->GetEnrolled().empty()) objectsLayer->ClearEnrolled();
}

void PlayField::Update(float dt) {
    CGUIEntity::Update(dt);
    // A click of this frame may have paused the field (a mini-game).
    if (!IsPausedInChain()) {
        if (speedTimer >= 0.0f) speedTimer += dt;
        if (pressSeen) misclickTimer += dt;
        HGE* hge = Services::Hge(engine);
        float mx = 0.0f, my = 0.0f;
        if (hge) hge->Input_GetMousePos(&mx, &my);
        if (flashlight) {
            flashlight->SetPosXY(mx, my);
            flashlight->OnMove();
        }
        PlayFieldPointer(*this).UpdateMeasuringTool(mx, my);
        if (cursor.kind != CURSOR_MAGNIFYING_GLASS) PlayFieldPointer(*this).UpdateHoverCursor(dt);
        PlayFieldFlights(*this).StartFlights(dt);
        PlayFieldClicks(*this).ReplayDelayedTasks();
        PlayFieldFlights(*this).PlayOutDecoration(dt, false);
        if (cursor.kind == CURSOR_MAGNIFYING_GLASS && objectsLayer) {
            objectsLayer->SetLensPosition(mx, my);
            const float sceneX = mx * kScreenToScene, sceneY = my * kScreenToScene;
            const float mirroredY = sceneKind->MirrorY(my) * kScreenToScene;
            for (SceneObject* object : sceneObjects) {
                hgeSprite* main = object->GetDisplaySprite();
                if (!main) continue;
                const float hx = main->GetHotSpotX(), hy = main->GetHotSpotY();
                const float ax = object->GetAbsoluteX(), ay = object->GetAbsoluteY();
                if (hgeSprite* lens = object->GetLensSprite1())
                    lens->SetMaskPos(std::trunc(hx + sceneX - ax), std::trunc(hy + sceneY - ay));
                if (sceneKind->IsSplit())
                    if (hgeSprite* lens = object->GetLensSprite2()) lens->SetMaskPos(hx + sceneX - ax, hy + mirroredY - ay);
            }
        }
        if (cursor.entity) {
            ZOLTFramework::CEntity* holder = cursor.entity->GetParent();
            const float px = holder ? holder->GetAbsoluteX() : 0.0f, py = holder ? holder->GetAbsoluteY() : 0.0f;
            cursor.entity->SetPosXY(mx - px, my - py);
            cursor.entity->OnMove();
            cursor.entity->SetScale(SceneObject::kSceneToScreen);
            cursor.entity->OnScale();
            if (cursor.mirrorEntity) {
                const float mirroredY = my + SceneObjectsLayer::MirrorOffset(my);
                cursor.mirrorEntity->SetPosXY(mx - px, mirroredY - py);
                cursor.mirrorEntity->OnMove();
                cursor.mirrorEntity->SetScale(SceneObject::kSceneToScreen);
                cursor.mirrorEntity->OnScale();
            }
        }
    }
    // The entity manager updates the bag itself; the field only wakes it and
    // keeps a tab on it.
    if (inventory) {
        if (inventory->IsPausedInChain()) inventory->Resume();
        inventory->CheckShifters();
    }
}

void PlayFieldPointer::UpdateMeasuringTool(float mx, float my) {
    if (!field->measure.cursor || !field->measure.compass || !field->measure.line || !field->measure.text) return;
    field->measure.cursor->SetPosXY(mx, my);
    field->measure.cursor->OnMove();
    const float cx = field->measure.compass->GetX(), cy = field->measure.compass->GetY();
    field->measure.line->SetPosXY(cx + (mx - cx) * 0.5f, cy + (my - cy) * 0.5f);
    field->measure.line->OnMove();
    const float s = std::max(field->GetScaleX(), field->GetScaleY());
    const float d = std::hypot(mx - cx, my - cy);
    field->measure.line->SetScaleX(1.0f / s);
    field->measure.line->SetScaleY(d / s);
    field->measure.line->OnScale();
    const float a = std::atan2(my - cy, mx - cx);
    field->measure.line->SetRotation(a + 1.5707963705f);
    field->measure.cursor->SetRotation(a + 3.1415927410f);
    std::string reading = "0";
    if (cx != field->measure.referenceX || cy != field->measure.referenceY) {
        float r = 2.0f * d / std::hypot(field->measure.referenceX - cx, field->measure.referenceY - cy);
        // A reference a hair from the centre (or positions out of range) would
        // give no printable reading.
        if (!(r >= 0.0f)) r = 0.0f;
        r = std::min(r, 99999.0f);
        reading = std::to_string(int(r)) + "." + std::to_string(int(r * 10.0f) % 10);
    }
    field->measure.text->SetText(reading);
    field->measure.text->SetFont(FontRegistry::GetFont("Default14"));
    field->measure.text->SetPosXY(mx + 20.0f, my + 20.0f);
    field->measure.text->OnMove();
}

void PlayFieldPointer::UpdateHoverCursor(float dt) {
    if (!field->hoverCursor) return;
    if (field->CheckHoverObject()) {
        if (!field->hoverCursor->IsPlaying()) {
            field->hoverCursor->Play();
            if (field->objectsLayer && field->objectsLayer->GetCursorSprite()) field->objectsLayer->SetCursorSprite(field->hoverCursor);
        }
        field->hoverCursor->Update(dt);
    } else if (field->hoverCursor->IsPlaying()) {
        field->hoverCursor->Stop();
        field->hoverCursor->SetFrame(field->hoverCursor->GetFrames() - 1);
        if (field->objectsLayer && field->objectsLayer->GetCursorSprite()) field->objectsLayer->SetCursorSprite(field->playCursor);
    }
}

void PlayFieldPointer::PutHeldItemBack(float mx, float my) {
    EntityManager* manager = field->Manager();
    if (!manager) return;
    auto* item = manager->Spawn<SceneObject>(field->cursor.spriteName, false, 0.0f, 0.0f, false, field->cursor.itemName,
                                             field->objectsLayer);
    item->SetPosXY(mx / SceneObject::kSceneToScreen, my / SceneObject::kSceneToScreen);
    item->SetDepth(100.0f);
    item->AttachTo(field);
    item->RemoveLensSprites();
    if (field->inventory) field->inventory->AddReturning();
    hgeSprite* image = item->GetDisplaySprite();
    item->SetScale(image && (image->GetWidth() > 150.0f || image->GetHeight() > 150.0f) ? 0.6f : 1.0f);
    field->SendObjectToInventory(item, "", "");
}

void PlayField::OnRightButton(bool down) {
    if (!down) return;
    if (cursor.kind != CURSOR_PLAIN) {
        SetCursor(CURSOR_PLAIN, "", "");
        return;
    }
    if (rules.GlassMissing()) return;
    SetCursor(CURSOR_MAGNIFYING_GLASS, "", "");
    savedCursor = cursor;
    savedCursor.entity = savedCursor.mirrorEntity = nullptr;
}

void PlayField::OnMouseOver(bool entered) {
    if (!entered && panelShown) {
        savedCursor = cursor;
        savedCursor.entity = savedCursor.mirrorEntity = nullptr;
        SetCursor(CURSOR_PLAIN, "", "");
        if (objectsLayer) objectsLayer->SetCursorSprite(nullptr);
        if (engine) engine->SetDrawCursor(true);
        mouseOutside = true;
        return;
    }
    if (FindMagnifyingGlassObject()) return;
    if (objectsLayer) objectsLayer->SetCursorSprite(CheckHoverObject() ? hoverCursor : playCursor);
    if (playCursor) playCursor->SetColor(0xFFFFFFFF);
    if (hoverCursor) hoverCursor->SetColor(0xFFFFFFFF);
    if (cursor.kind != CURSOR_HELD_ITEM && savedCursor.kind != CURSOR_HELD_ITEM)
        SetCursor(savedCursor.kind, savedCursor.spriteName, savedCursor.itemName);
    if (engine) engine->SetDrawCursor(false);
    mouseOutside = false;
}

void PlayField::SetCursor(ECursorType kind, const std::string& spriteName, const std::string& itemName) {
    if (cursor.kind == CURSOR_HELD_ITEM && kind != CURSOR_HELD_ITEM && cursor.entity) {
        HGE* hge = Services::Hge(engine);
        float mx = 0.0f, my = 0.0f;
        if (hge) hge->Input_GetMousePos(&mx, &my);
        PlayFieldPointer(*this).PutHeldItemBack(mx, my);
    }
    cursor.kind = kind;
    cursor.spriteName = spriteName;
    cursor.itemName = itemName;
    if (cursor.entity) cursor.entity->Kill();
    if (cursor.mirrorEntity) cursor.mirrorEntity->Kill();
    cursor.entity = cursor.mirrorEntity = nullptr;
    EntityManager* manager = Manager();
    if (!spriteName.empty() && manager) {
        hgeSprite* sprite = Services::Sprite(engine, spriteName);
        if (!sprite) HtmlLog::Instance()->Error("Play field: no sprite \"" + spriteName + "\" for the cursor.");
        const int count = sceneKind->IsSplit() ? 2 : 1;
        for (int i = 0; sprite && i < count; ++i) {
            auto* entity = manager->Spawn<CSpriteEntity>();
            entity->SetSpriteCopy(*sprite);
            entity->SetDepth(1000.0f);
            entity->AttachTo(this);
            (i == 0 ? cursor.entity : cursor.mirrorEntity) = entity;
        }
    }
    const bool lens = kind == CURSOR_MAGNIFYING_GLASS;
    if (lens) {
        SetScaleX(kLensScale);
        SetScaleY(kLensScale);
        OnScale();
        if (objectsLayer) objectsLayer->SetSplitView(sceneKind->IsSplit());
        if (engine) engine->SetDrawCursor(false);
        mouseOutside = false;
    } else if (kind == CURSOR_PLAIN) {
        SetScaleX(1.0f);
        SetScaleY(1.0f);
        OnScale();
        if (objectsLayer) objectsLayer->SetSplitView(false);
    }
    // The flashlight and the measuring tool keep their size under the lens.
    const float keep = lens ? 1.0f / kLensScale : 1.0f;
    for (ZOLTFramework::CEntity* tool : {static_cast<ZOLTFramework::CEntity*>(flashlight),
                                         static_cast<ZOLTFramework::CEntity*>(measure.compass),
                                         static_cast<ZOLTFramework::CEntity*>(measure.cursor),
                                         static_cast<ZOLTFramework::CEntity*>(measure.line)})
        ScaleTo(tool, keep);
    if (!objectsLayer) return;
    if (kind != CURSOR_PLAIN) {
        objectsLayer->SetCursorSprite(nullptr);
    } else if (!objectsLayer->GetCursorSprite() && !mouseOutside) {
        objectsLayer->SetCursorSprite(CheckHoverObject() ? hoverCursor : playCursor);
    }
}

void PlayField::ShowPanel() {
    Send(LevelEvents::kShowPanel, "");
    panelShown = true;
    // Sending may reach the listener, which may change the list: each record
    // is taken out first, then the list is walked again from the start.
    ConditionRecord fired;
    while (rules.TakeOpeningCondition(fired)) {
        for (const ActionRecord& action : fired.actions) {
            Send(action.event, action.value);
            if (action.event == "LockingTask") PlayFieldPointer(*this).LockOnTask(action.value);
        }
    }
    if (objectsLayer && objectsLayer->GetCursorSprite()) {
        if (playCursor) playCursor->SetColor(0xFFFFFFFF);
        if (hoverCursor) hoverCursor->SetColor(0xFFFFFFFF);
        if (engine) engine->SetDrawCursor(false);
    }
}

void PlayFieldPointer::LockOnTask(const std::string& value) {
    // "task^angle": radians, or degrees with a trailing "d"; no "^": no angle.
    const size_t caret = value.find('^');
    const std::string taskName = value.substr(0, caret);
    const float angle = caret == std::string::npos ? 0.0f : StringToFloat(value.substr(caret + 1));
    field->ShowExtraCigarTutorial(taskName);
    if (field->pointedOutObject) field->ShowObjectPointer(field->pointedOutObject, angle);
}

void PlayField::AddDividingLine() {
    EntityManager* manager = Manager();
    if (!manager) return;
    auto* line = manager->Spawn<SceneObject>("InGameDividingLine", false, 0.0f, 0.0f, false, "", objectsLayer);
    line->SetPosXY(0.0f, 367.0f);
    line->SetDepth(100.0f);
    line->SetOpacity(1.0f);
    line->AttachTo(this);
    sceneObjects.push_back(line);
}

bool PlayField::CheckHoverObject() const {
    HGE* hge = Services::Hge(engine);
    if (!hge) return false;
    float mx = 0.0f, my = 0.0f;
    hge->Input_GetMousePos(&mx, &my);
    const float sx = mx * kScreenToScene, sy = my * kScreenToScene;
    for (SceneObject* object : sceneObjects) {
        if (!rules.ToolTargets().count(object->GetName())) continue;
        hgeSprite* main = object->GetDisplaySprite();
        if (!main) continue;
        const float lx = main->GetHotSpotX() + sx - object->GetAbsoluteX();
        const float ly = main->GetHotSpotY() + sy - object->GetAbsoluteY();
        if (SpriteAlphaAt(main, lx, ly) > 0x3C) return true;
    }
    return false;
}

SceneObject* PlayField::FindObjectByName(const std::string& objectName) const {
    for (SceneObject* object : sceneObjects)
        if (object->GetName() == objectName) return object;
    return nullptr;
}

void PlayField::StartSolveLaterEffect(SceneObject* object) {
    EntityManager* manager = Manager();
    if (!object || !manager) return;
    solveLaterObjects.push_back(object);
    auto* effect = manager->Spawn<ParticleSystemEntity>();
    effect->SetName("SolveLaterMark");
    effect->Load("data/ParticleSystem/SolveLaterObject.psi", Services::Sprite(engine, "SolveLaterObjectParticle"));
    effect->AttachTo(object);
    // Particle entities draw at their absolute position times their absolute
    // scale: place the effect so that it shows on the object's screen point.
    const float scale = effect->GetAbsoluteScale();
    const float px = object->GetAbsoluteX() * SceneObject::kSceneToScreen;
    const float py = object->GetAbsoluteY() * SceneObject::kSceneToScreen;
    if (scale != 0.0f) effect->SetAbsolutePosition(px / scale, py / scale);
    effect->SetDepth(50.01f);
}

bool PlayField::IsFullyShown() const {
    return sceneObjects.empty() || sceneObjects.front()->GetAbsoluteOpacity() == 1.0f;
}
