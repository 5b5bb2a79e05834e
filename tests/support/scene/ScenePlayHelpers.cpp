#include "support/scene/ScenePlayHelpers.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "graphics/PixelHitTest.h"
#include "graphics/hgeSprite.h"
#include "support/scene/MiniGameSolver.h"
#include "entities/core/CSpriteEntity.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"

ScreenPoint OpaquePointOf(SceneObject* object, PlayField* field) {
    ScreenPoint best;
    hgeSprite* sprite = object ? object->GetDisplaySprite() : nullptr;
    if (!sprite) return best;
    const float w = sprite->GetWidth(), h = sprite->GetHeight();
    const float hx = sprite->GetHotSpotX(), hy = sprite->GetHotSpotY();
    std::vector<std::pair<float, std::pair<float, float>>> texels;
    for (float ly = 2.0f; ly < h - 2.0f; ly += 1.0f)
        for (float lx = 2.0f; lx < w - 2.0f; lx += 1.0f) texels.push_back({std::hypot(lx - hx, ly - hy), {lx, ly}});
    std::sort(texels.begin(), texels.end());
    for (const auto& texel : texels) {
        const float lx = texel.second.first, ly = texel.second.second;
        bool opaque = true;
        for (float dy = -2.0f; dy <= 2.0f && opaque; dy += 1.0f)
            for (float dx = -2.0f; dx <= 2.0f && opaque; dx += 1.0f)
                opaque = SpriteAlphaAt(sprite, lx + dx, ly + dy) > 200;
        if (!opaque) continue;
        const float sx = (object->GetAbsoluteX() - hx + lx) * SceneObject::kSceneToScreen;
        const float sy = (object->GetAbsoluteY() - hy + ly) * SceneObject::kSceneToScreen;
        if (sx < 190.0f || sx > 795.0f || sy < 5.0f || sy > 595.0f || (sx < 300.0f && sy > 420.0f)) continue;
        if (field && field->FindObjectAt(sx * PlayField::kScreenToScene, sy * PlayField::kScreenToScene) != object)
            continue;
        best.x = sx;
        best.y = sy;
        best.found = true;
        break;
    }
    return best;
}

std::vector<std::string> EventsSince(const std::vector<std::string>& events, size_t from, const std::string& name) {
    std::vector<std::string> found;
    for (size_t i = from; i < events.size(); ++i)
        if (events[i].compare(0, name.size() + 1, name + "=") == 0) found.push_back(events[i]);
    return found;
}

bool ClickSceneObject(PlayField* field, const std::string& objectName) {
    SceneObject* object = SceneObjectNamed(field, objectName);
    const ScreenPoint at = OpaquePointOf(object, field);
    if (!at.found) return false;
    MiniGameInput::Click(at.x, at.y);
    return true;
}

bool TakeToolIntoHand(PlayField* field, const std::string& objectName) {
    Inventory* bag = field ? field->GetInventory() : nullptr;
    if (!bag) return false;
    auto inBag = [bag, &objectName]() -> InventoryObject* {
        for (InventoryObject* item : bag->GetObjects())
            if (item->GetObjectName() == objectName) return item;
        return nullptr;
    };
    if (!inBag()) ClickSceneObject(field, objectName);
    if (!MiniGameInput::RunUntil([&] { return inBag() != nullptr; }, 10.0f)) return false;
    bag->PickUp(inBag());
    return HeldItem(field) != nullptr;
}

ZOLTFramework::CSpriteEntity* HeldItem(const PlayField* field) {
    auto* held = field ? field->FindChild<ZOLTFramework::CSpriteEntity>(PlayFieldPointer::kHeldItemName) : nullptr;
    return held && !held->IsDead() ? held : nullptr;
}

SceneObject* SceneObjectNamed(const PlayField* field, const std::string& objectName) {
    if (!field) return nullptr;
    for (SceneObject* object : field->GetSceneObjects())
        if (object->GetName() == objectName) return object;
    return nullptr;
}

std::vector<SceneObject*> SolveLaterObjects(const PlayField* field) {
    std::vector<SceneObject*> marked;
    for (SceneObject* object : field->GetSceneObjects()) {
        const ZOLTFramework::CEntity* mark = object->FindChild<ZOLTFramework::CEntity>("SolveLaterMark");
        if (mark && !mark->IsDead()) marked.push_back(object);
    }
    return marked;
}
