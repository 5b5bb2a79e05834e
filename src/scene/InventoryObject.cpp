#include "scene/InventoryObject.h"

#include "entities/core/EntityServices.h"
#include "graphics/hgeSprite.h"
#include "scene/SceneObject.h"

namespace Services = ZOLTFramework::Services;

InventoryObject::InventoryObject(const std::string& resName, const std::string& objName, const std::string& tool)
    : sprite(Services::Sprite(engine, resName)), toolName(tool), resourceName(resName), objectName(objName) {
    name = objName;
    // The bag draws its items over itself; they stay out of the draw list.
    SetEnabled(false);
}

void InventoryObject::Render() {
    if (!sprite) return;
    sprite->SetColor(Services::FadeColor(sprite->GetColor() | 0xFF000000u, GetAbsoluteOpacity()));
    sprite->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(),
                     GetAbsoluteScaleX() * SceneObject::kSceneToScreen, GetAbsoluteScaleY() * SceneObject::kSceneToScreen);
}
