#include "scene/PlayFieldPointer.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "scene/SceneKind.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"
#include "scene/SceneObjectsLayer.h"
#include "scene/SceneRules.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

namespace {

class Flashlight : public CSpriteEntity {
public:
    explicit Flashlight(std::function<float()> sceneLeft) : left(std::move(sceneLeft)) {}

    // The dark around the light covers the scene only: all of it right of the
    // panel as the panel stands (in, sliding, or out under a title, a comic
    // page or the score window), never the panel with the clue list.
    void Render() override {
        HGE* hge = Services::Hge(engine);
        const float width = engine ? engine->GetScreenWidth() : 800.0f;
        const float height = engine ? engine->GetScreenHeight() : 600.0f;
        const int x = int(std::ceil(left()));
        if (hge) hge->Gfx_SetClipping(x, 0, std::max(0, int(width) - x), int(height));
        CSpriteEntity::Render();
        if (hge) hge->Gfx_SetClipping(0, 0, 0, 0);
    }

private:
    std::function<float()> left;
};

hgeAnimation* CursorAnimation(const ZOLTFramework::EngineContext* engine, const char* name) {
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    hgeAnimation* animation = resources ? resources->GetAnimation(name) : nullptr;
    if (!animation)
        HtmlLog::Instance()->Error(std::string("Play field: no animation \"") + name + "\"; that cursor is not drawn.");
    return animation;
}

void ScaleTo(CEntity* entity, float scale) {
    if (!entity) return;
    entity->SetScale(scale);
    entity->OnScale();
}

void MousePosition(const ZOLTFramework::EngineContext* engine, float& mx, float& my) {
    mx = my = 0.0f;
    if (HGE* hge = Services::Hge(engine)) hge->Input_GetMousePos(&mx, &my);
}


}  // namespace

PlayFieldPointer::PlayFieldPointer(CEntity& owner, SceneObjectsLayer& objectsLayer, const SceneKind& sceneKind,
                                   const SceneObjectList& sceneObjects, const SceneRules& sceneRules,
                                   std::function<void(SceneObject*)> putItemBack)
    : field(owner), layer(objectsLayer), kind(sceneKind), objects(sceneObjects), rules(sceneRules),
      putBack(std::move(putItemBack)) {
    playCursor = CursorAnimation(field.GetEngine(), "PlayCursor");
    layer.SetCursorSprite(playCursor);
    hoverCursor = CursorAnimation(field.GetEngine(), "DiffCursor");
    if (hoverCursor) hoverCursor->SetFrame(hoverCursor->GetFrames() - 1);
}

void PlayFieldPointer::SetCursor(ECursorType type, const std::string& spriteName, const std::string& itemName) {
    ZOLTFramework::EngineContext* engine = field.GetEngine();
    if (cursor.kind == CURSOR_HELD_ITEM && type != CURSOR_HELD_ITEM && cursor.entity) {
        float mx, my;
        MousePosition(engine, mx, my);
        PutHeldItemBack(mx, my);
    }
    cursor.kind = type;
    cursor.spriteName = spriteName;
    cursor.itemName = itemName;
    if (cursor.entity) cursor.entity->Kill();
    if (cursor.mirrorEntity) cursor.mirrorEntity->Kill();
    cursor.entity = cursor.mirrorEntity = nullptr;
    EntityManager* manager = field.Manager();
    if (!spriteName.empty() && manager) {
        hgeSprite* sprite = Services::Sprite(engine, spriteName);
        if (!sprite) HtmlLog::Instance()->Error("Play field: no sprite \"" + HtmlLog::Shown(spriteName) + "\" for the cursor.");
        const int count = kind.IsSplit() ? 2 : 1;
        for (int i = 0; sprite && i < count; ++i) {
            auto* entity = manager->Spawn<CSpriteEntity>();
            entity->SetSpriteCopy(*sprite);
            entity->SetName(i == 0 ? kHeldItemName : kHeldItemTwinName);
            entity->SetDepth(1000.0f);
            entity->AttachTo(&field);
            (i == 0 ? cursor.entity : cursor.mirrorEntity) = entity;
        }
    }
    const bool lens = type == CURSOR_MAGNIFYING_GLASS;
    if (lens) {
        field.SetScaleX(kLensScale);
        field.SetScaleY(kLensScale);
        field.OnScale();
        layer.SetSplitView(kind.IsSplit());
        if (engine) engine->SetDrawCursor(false);
        mouseOutside = false;
    } else if (type == CURSOR_PLAIN) {
        field.SetScaleX(1.0f);
        field.SetScaleY(1.0f);
        field.OnScale();
        layer.SetSplitView(false);
    }
    // The flashlight and the measuring tool keep their size under the lens.
    const float keep = lens ? 1.0f / kLensScale : 1.0f;
    for (CEntity* tool : {static_cast<CEntity*>(flashlight), static_cast<CEntity*>(measure.compass),
                          static_cast<CEntity*>(measure.cursor), static_cast<CEntity*>(measure.line)})
        ScaleTo(tool, keep);
    if (type != CURSOR_PLAIN) {
        layer.SetCursorSprite(nullptr);
    } else if (!layer.GetCursorSprite() && !mouseOutside) {
        layer.SetCursorSprite(IdleCursor());
    }
}

void PlayFieldPointer::PutHeldItemBack(float mx, float my) {
    EntityManager* manager = field.Manager();
    if (!manager) return;
    auto* item = manager->Spawn<SceneObject>(cursor.spriteName, false, 0.0f, 0.0f, false, cursor.itemName, &layer);
    item->SetPosXY(mx / SceneObject::kSceneToScreen, my / SceneObject::kSceneToScreen);
    item->SetDepth(100.0f);
    item->AttachTo(&field);
    item->RemoveLensSprites();
    hgeSprite* image = item->GetDisplaySprite();
    item->SetScale(image && (image->GetWidth() > 150.0f || image->GetHeight() > 150.0f) ? 0.6f : 1.0f);
    if (putBack) putBack(item);
}

void PlayFieldPointer::DropHeldItem() {
    if (cursor.entity) cursor.entity->Kill();
    cursor.entity = nullptr;
}

void PlayFieldPointer::KeepCursor() {
    kept = cursor;
    kept.entity = kept.mirrorEntity = nullptr;
}

void PlayFieldPointer::Leave() {
    KeepCursor();
    SetCursor(CURSOR_PLAIN, "", "");
    layer.SetCursorSprite(nullptr);
    if (field.GetEngine()) field.GetEngine()->SetDrawCursor(true);
    mouseOutside = true;
}

void PlayFieldPointer::Enter() {
    layer.SetCursorSprite(IdleCursor());
    if (playCursor) playCursor->SetColor(0xFFFFFFFF);
    if (hoverCursor) hoverCursor->SetColor(0xFFFFFFFF);
    if (cursor.kind != CURSOR_HELD_ITEM && kept.kind != CURSOR_HELD_ITEM)
        SetCursor(kept.kind, kept.spriteName, kept.itemName);
    if (field.GetEngine()) field.GetEngine()->SetDrawCursor(false);
    mouseOutside = false;
}

void PlayFieldPointer::ShowCursors(bool shown) {
    if (!layer.GetCursorSprite()) return;
    const DWORD color = shown ? 0xFFFFFFFF : 0x00FFFFFF;
    if (playCursor) playCursor->SetColor(color);
    if (hoverCursor) hoverCursor->SetColor(color);
    if (shown && field.GetEngine()) field.GetEngine()->SetDrawCursor(false);
}

bool PlayFieldPointer::CheckHoverObject() const {
    HGE* hge = Services::Hge(field.GetEngine());
    if (!hge) return false;
    float mx = 0.0f, my = 0.0f;
    hge->Input_GetMousePos(&mx, &my);
    const float sx = mx * SceneObject::kScreenToScene, sy = my * SceneObject::kScreenToScene;
    for (SceneObject* object : objects.All()) {
        if (!rules.ToolTargets().count(object->GetName())) continue;
        hgeSprite* main = object->GetDisplaySprite();
        if (!main) continue;
        const float lx = main->GetHotSpotX() + sx - object->GetAbsoluteX();
        const float ly = main->GetHotSpotY() + sy - object->GetAbsoluteY();
        if (SpriteAlphaAt(main, lx, ly) > 0x3C) return true;
    }
    return false;
}

void PlayFieldPointer::Step(float dt, float mx, float my) {
    if (flashlight) {
        flashlight->SetPosXY(mx, my);
        flashlight->OnMove();
    }
    StepMeasuringTool(mx, my);
    if (cursor.kind != CURSOR_MAGNIFYING_GLASS) StepHoverCursor(dt);
}

void PlayFieldPointer::StepHoverCursor(float dt) {
    if (!hoverCursor) return;
    if (CheckHoverObject()) {
        if (!hoverCursor->IsPlaying()) {
            hoverCursor->Play();
            if (layer.GetCursorSprite()) layer.SetCursorSprite(hoverCursor);
        }
        hoverCursor->Update(dt);
    } else if (hoverCursor->IsPlaying()) {
        hoverCursor->Stop();
        hoverCursor->SetFrame(hoverCursor->GetFrames() - 1);
        if (layer.GetCursorSprite()) layer.SetCursorSprite(playCursor);
    }
}

void PlayFieldPointer::StepMeasuringTool(float mx, float my) {
    if (!measure.Built()) return;
    measure.cursor->SetPosXY(mx, my);
    measure.cursor->OnMove();
    const float cx = measure.compass->GetX(), cy = measure.compass->GetY();
    measure.line->SetPosXY(cx + (mx - cx) * 0.5f, cy + (my - cy) * 0.5f);
    measure.line->OnMove();
    const float s = std::max(field.GetScaleX(), field.GetScaleY());
    const float d = std::hypot(mx - cx, my - cy);
    measure.line->SetScaleX(1.0f / s);
    measure.line->SetScaleY(d / s);
    measure.line->OnScale();
    const float a = std::atan2(my - cy, mx - cx);
    measure.line->SetRotation(a + 1.5707963705f);
    measure.cursor->SetRotation(a + 3.1415927410f);
    std::string reading = "0";
    if (cx != measure.referenceX || cy != measure.referenceY) {
        float r = 2.0f * d / std::hypot(measure.referenceX - cx, measure.referenceY - cy);
        // A reference a hair from the centre (or positions out of range) would
        // give no printable reading.
        if (!(r >= 0.0f)) r = 0.0f;
        r = std::min(r, 99999.0f);
        reading = std::to_string(int(r)) + "." + std::to_string(int(r * 10.0f) % 10);
    }
    measure.text->SetText(reading);
    measure.text->SetFont(FontRegistry::GetFont("Default14"));
    measure.text->SetPosXY(mx + 20.0f, my + 20.0f);
    measure.text->OnMove();
}

void PlayFieldPointer::Follow(float mx, float my) {
    if (cursor.kind == CURSOR_MAGNIFYING_GLASS) {
        layer.SetLensPosition(mx, my);
        const float sceneX = mx * SceneObject::kScreenToScene, sceneY = my * SceneObject::kScreenToScene;
        const float mirroredY = kind.MirrorY(my) * SceneObject::kScreenToScene;
        for (SceneObject* object : objects.All()) {
            hgeSprite* main = object->GetDisplaySprite();
            if (!main) continue;
            const float hx = main->GetHotSpotX(), hy = main->GetHotSpotY();
            const float ax = object->GetAbsoluteX(), ay = object->GetAbsoluteY();
            if (hgeSprite* lens = object->GetLensSprite1())
                lens->SetMaskPos(std::trunc(hx + sceneX - ax), std::trunc(hy + sceneY - ay));
            if (kind.IsSplit())
                if (hgeSprite* lens = object->GetLensSprite2()) lens->SetMaskPos(hx + sceneX - ax, hy + mirroredY - ay);
        }
    }
    if (!cursor.entity) return;
    CEntity* holder = cursor.entity->GetParent();
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

void PlayFieldPointer::AddFlashlight(std::function<float()> sceneLeft) {
    EntityManager* manager = field.Manager();
    if (!manager) return;
    flashlight = manager->Spawn<Flashlight>(std::move(sceneLeft));
    flashlight->SetName("Flashlight");
    flashlight->AttachSprite(Services::Sprite(field.GetEngine(), "FlashlightCursor"));
    flashlight->SetDepth(kDarkDepth);
    flashlight->AttachTo(&field);
}

void PlayFieldPointer::BuildMeasuringTool() {
    EntityManager* manager = field.Manager();
    if (!manager || measure.compass) return;
    struct Part {
        const char* sprite;
        float depth;
        CSpriteEntity** slot;
    };
    const Part parts[] = {{kMeasuringUnit, 99996.0f, &measure.compass},
                          {"compursor_Crime_place_measure", 99998.0f, &measure.cursor},
                          {"line_Crime_place_measure", 99997.0f, &measure.line}};
    for (const Part& part : parts) {
        auto* entity = manager->Spawn<CSpriteEntity>();
        hgeSprite* sprite = Services::Sprite(field.GetEngine(), part.sprite);
        if (sprite && part.slot == &measure.cursor) sprite->SetHotSpot(21.0f, 30.0f);
        entity->AttachSprite(sprite);
        entity->SetDepth(part.depth);
        entity->AttachTo(&field);
        entity->Hide();
        *part.slot = entity;
    }
    measure.compass->SetPosXY(351.0f, 350.0f);
    measure.text = manager->Spawn<TextEntity>("", nullptr);
    measure.text->SetName("MeasureText");
    measure.text->AttachTo(&field);
    measure.text->SetDepth(99999.0f);
    measure.text->Hide();
}

bool PlayFieldPointer::PressMeasuringTool(float mx, float my) {
    if (!measure.Built()) return false;
    HtmlLog::Instance()->Info("Compass clicked");
    CEntity* parts[] = {measure.compass, measure.cursor, measure.line, measure.text};
    if (std::hypot(mx - 351.0f, my - 350.0f) < 100.0f) {
        for (CEntity* part : parts) part->Show();
    } else if (std::hypot(mx - measure.referenceX, my - measure.referenceY) < 10.0f &&
               measure.text->GetTextRef() == "2.0") {
        for (CEntity* part : parts) part->Hide();
        return true;
    }
    return false;
}

void PlayFieldPointer::Unlock() {
    locked = nullptr;
    lockedTask.clear();
    if (arrow) arrow->Kill();
    arrow = nullptr;
}

void PlayFieldPointer::PointAt(SceneObject* object, float angle) {
    if (arrow) arrow->Kill();
    arrow = nullptr;
    EntityManager* manager = field.Manager();
    if (!manager || !object) return;
    auto* pointer = manager->Spawn<CSpriteEntity>();
    pointer->SetName("ObjectPointer");
    hgeSprite* sprite = Services::Sprite(field.GetEngine(), "YCursor");
    if (!sprite) HtmlLog::Instance()->Error("Play field: no sprite \"YCursor\"; the pointer is not drawn.");
    pointer->AttachSprite(sprite);
    pointer->AttachTo(&field);
    arrow = pointer;
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
