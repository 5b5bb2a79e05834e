#include "minigames/PuzzlePiece.h"

#include <cmath>

#include "engine/EngineContext.h"
#include "entities/core/EntityServices.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"

const float PuzzlePiece::kTwoPi = 6.2831855f;

PuzzlePiece::PuzzlePiece(const std::string& resourceName, bool animated, float tx, float ty, float tangle)
    : targetX(tx), targetY(ty), targetAngle(tangle) {
    name = resourceName;
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    if (animated) {
        if (hgeAnimation* source = resources ? resources->GetAnimation(resourceName.c_str()) : nullptr) {
            animation = new hgeAnimation(*source);
            picture = animation;
            animation->SetFrame(animation->GetFrames() - 1);
            animation->Stop();
            if (resourceName == "eyes_14") animation->Play();
        }
    } else if (hgeSprite* source = resources ? resources->GetSprite(resourceName.c_str()) : nullptr) {
        picture = new hgeSprite(*source);
    }
    hidden = false;
}

PuzzlePiece::~PuzzlePiece() { delete picture; }

bool PuzzlePiece::IsDeclared(const ZOLTFramework::EngineContext* engine, const std::string& resourceName, bool animated) {
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    if (!resources) return false;
    if (animated) return resources->GetAnimation(resourceName.c_str()) != nullptr;
    return resources->GetSprite(resourceName.c_str()) != nullptr;
}

void PuzzlePiece::NormalizeAngle(float& angle) {
    while (angle < 0.0f) angle += kTwoPi;
    while (angle >= kTwoPi) angle -= kTwoPi;
}

void PuzzlePiece::Update(float dt) {
    NormalizeAngle(rotation);
    if (animation) animation->Update(dt);
}

void PuzzlePiece::Render() {
    if (!picture) return;
    // The picture's own alpha counts too: a piece whose run is over stays invisible.
    picture->SetColor(ZOLTFramework::Services::FadeColor(DWORD(color), GetAbsoluteOpacity()));
    picture->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(), GetAbsoluteScaleY());
}

bool PuzzlePiece::HitTest(float px, float py) const {
    if (!picture) return false;
    const float c = std::cos(-rotation), s = std::sin(-rotation);
    const float rx = px * c - py * s;
    const float ry = px * s + py * c;
    return HitTestTexturePixel(picture, rx, ry);
}

bool PuzzlePiece::IsAnimationPlaying() const { return animation && animation->IsPlaying(); }

void PuzzlePiece::PlayOnce() {
    if (!animation) return;
    animation->SetFrame(0);
    animation->Play();
    color = 0xFFFFFFFF;
    animation->SetBlendMode(BLEND_DEFAULT);
    const float fps = animation->GetSpeed();
    const float runTime = fps > 0.0f ? float(animation->GetFrames()) / fps : 0.0f;
    ZOLTFramework::GameManager::Timer* timer = PlayerManager::Instance()->Timer.Get();
    timer->Add(runTime, [this]() { animation->Stop(); }, this);
    timer->Add(runTime, [this]() { color = 0x00FFFFFF; }, this);
}

void PuzzlePiece::SetBlendMode(int blend) {
    if (picture) picture->SetBlendMode(blend);
}

float PuzzlePiece::GetPictureWidth() const { return picture ? picture->GetWidth() : 0.0f; }
