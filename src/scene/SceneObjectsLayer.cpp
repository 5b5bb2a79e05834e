#include "scene/SceneObjectsLayer.h"

#include "entities/core/EntityServices.h"
#include "graphics/hgeSprite.h"

namespace Services = ZOLTFramework::Services;

SceneObjectsLayer::~SceneObjectsLayer() {
    delete mirroredCursorSprite;
    if (HGE* hge = Services::Hge(engine); hge && mirroredCursorTexture) hge->Texture_Free(mirroredCursorTexture);
}

void SceneObjectsLayer::SetMirroredCursorSprite(hgeSprite* sprite, HTEXTURE texture) {
    delete mirroredCursorSprite;
    if (HGE* hge = Services::Hge(engine); hge && mirroredCursorTexture) hge->Texture_Free(mirroredCursorTexture);
    mirroredCursorSprite = sprite;
    mirroredCursorTexture = texture;
}

void SceneObjectsLayer::Render() {
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    const float mirror = MirrorOffset(my);
    for (const LensDrawing& draw : enrolled) {
        draw(0.0f, 0.0f, false);
        if (splitView) draw(0.0f, mirror, true);
    }
    if (!enrolled.empty()) {
        if (hgeSprite* frame = Services::Sprite(engine, "MagnifyingGlassTool")) {
            frame->Render(lensX, lensY);
            if (splitView) frame->Render(lensX, lensY + MirrorOffset(lensY));
        }
    }
    if (cursorSprite) cursorSprite->Render(mx, my);
    if (mirroredCursor && mirroredCursorSprite && cursorSprite) {
        mirroredCursorSprite->SetColor(cursorSprite->GetColor());
        mirroredCursorSprite->Render(mx, my + mirror);
    }
}
