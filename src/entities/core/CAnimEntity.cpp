#include "entities/core/CAnimEntity.h"

#include "entities/core/EntityServices.h"
#include "graphics/hgeAnimation.h"

namespace ZOLTFramework {

CAnimEntity::~CAnimEntity() { ReleaseAnimation(); }

void CAnimEntity::ReleaseAnimation() {
    if (ownsAnimation) delete animation;
    animation = nullptr;
    ownsAnimation = false;
}

void CAnimEntity::AttachAnimation(hgeAnimation* a) {
    ReleaseAnimation();
    animation = a;
    color = a ? a->GetColor() : 0xFFFFFFFF;
}

void CAnimEntity::SetAnimation(const hgeAnimation& a) {
    hgeAnimation* copy = new hgeAnimation(a);
    ReleaseAnimation();
    animation = copy;
    color = copy->GetColor();
    ownsAnimation = true;
}

void CAnimEntity::SetAnimationRect(const std::string& textureName, int frames, float fps, float rx, float ry,
                                   float w, float h) {
    ReleaseAnimation();
    animation = new hgeAnimation(Services::Texture(engine, textureName), frames, fps, rx, ry, w, h);
    animation->SetHotSpot(w * 0.5f, h * 0.5f);
    color = 0xFFFFFFFF;
    ownsAnimation = true;
}

void CAnimEntity::Update(float dt) {
    if (animation) animation->Update(dt);
}

void CAnimEntity::Render() {
    if (!animation) return;
    // A borrowed animation keeps its colour for the others that borrow it.
    DWORD saved[4] = {};
    if (!ownsAnimation)
        for (int i = 0; i < 4; ++i) saved[i] = animation->GetColor(i);
    animation->SetColor(Services::FadeColor(color, GetAbsoluteOpacity()));
    animation->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(),
                        GetAbsoluteScaleY());
    if (!ownsAnimation)
        for (int i = 0; i < 4; ++i) animation->SetColor(saved[i], i);
}

}  // namespace ZOLTFramework
