#include "minigames/CBrickEntity.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/CTimer.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/core/Listeners.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/CParticleEntity.h"
#include "entities/effects/CShakeEffector.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

namespace {

const float kWidth = 40.0f;
const float kHeight = 130.0f;

std::vector<CBrickEntity*>& Bricks() {
    static std::vector<CBrickEntity*> bricks;
    return bricks;
}

}  // namespace

void CBrickEntity::StopAllShaking() {
    const std::vector<CBrickEntity*> bricks = Bricks();
    for (CBrickEntity* brick : bricks) brick->SetShaking(false);
}

CBrickEntity::CBrickEntity(CBrickListener* brickListener, int brickKind, const std::string& faceSprite)
    : kind(brickKind), listener(brickListener) {
    Bricks().push_back(this);

    appear = SpawnChild<CAnimationEffector>();
    appear->mode = 0;
    appear->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.0f);
    appear->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    appear->AddKey(CAnimationEffector::TRACK_SCALE, 0.5f, 1.2f);
    appear->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, 1.2f);
    appear->AddKey(CAnimationEffector::TRACK_SCALE, 1.0f, 1.0f);
    appear->AddKey(CAnimationEffector::TRACK_OPACITY, 1.0f, 1.0f);
    appear->Prepare();

    face = SpawnChild<CSpriteEntity>();
    face->SetName("Face");
    if (hgeSprite* look = Services::Sprite(engine, faceSprite)) face->SetSpriteCopy(*look);
    face->SetDepth(0.1f);
    face->SetScale(0.8f);
    face->SetPosXY(-1.0f, -1.0f);
    face->Hide();
}

CBrickEntity::~CBrickEntity() {
    auto& bricks = Bricks();
    bricks.erase(std::remove(bricks.begin(), bricks.end(), this), bricks.end());
}

void CBrickEntity::OnAdded() {
    SetRect(GetAbsoluteX() - kWidth / 2.0f, GetAbsoluteY() - kHeight / 2.0f, kWidth, kHeight);
    if (shake) return;
    shake = SpawnChild<CShakeEffector>();
    shake->SetName("Shake");
    shake->SetParams(2.0f, 2.0f, 15.0f);
    shake->decayRate = 100.0f;
    shake->decays = false;
    shake->Pause();
}

void CBrickEntity::OnMove() {
    CEntity::OnMove();
    // A stopped shake rests where the brick is put.
    if (shake && !shaking) {
        shake->x = x;
        shake->y = y;
    }
    SetRect(GetAbsoluteX() - kWidth / 2.0f, GetAbsoluteY() - kHeight / 2.0f, kWidth, kHeight);
}

void CBrickEntity::Update(float dt) {
    CGUIEntity::Update(dt);
    if (appear && appear->IsPausedInChain()) {
        appear->Kill();
        appear = nullptr;
    }
    // The destroy effect has ended when its effector stopped itself.
    if (destroyEffector && destroyEffector->IsPaused() && !dead) {
        Kill();
        if (listener) listener->OnBrickRemoved(this);
    }
}

void CBrickEntity::Render() {
    hgeSprite* back = Services::Sprite(engine, "Puzzle6.2Bottle");
    if (!back) return;
    const DWORD rgb = hover ? 0x00C8C8FFu : 0x00FFFFFFu;
    const float alpha = std::min(1.0f, std::max(0.0f, GetAbsoluteOpacity()));
    back->SetColor(rgb | (DWORD(alpha * 255.0f) << 24));
    back->RenderEx(GetAbsoluteX(), GetAbsoluteY(), GetAbsoluteRotation(), GetAbsoluteScaleX(), GetAbsoluteScaleY());
}

void CBrickEntity::OnMouseOver(bool entered) { hover = entered; }

bool CBrickEntity::Overlaps(const CBrickEntity& other) const {
    const hgeRect& a = rect;
    const hgeRect& b = other.rect;
    const float aw = a.x2 - a.x1, ah = a.y2 - a.y1, bw = b.x2 - b.x1, bh = b.y2 - b.y1;
    const float dx = std::fabs((a.x1 + a.x2) - (b.x1 + b.x2));
    const float dy = std::fabs((a.y1 + a.y2) - (b.y1 + b.y2));
    return dx < aw + bw && dy < ah + bh;
}

void CBrickEntity::OnLeftButton(bool down) {
    for (CBrickEntity* other : Bricks())
        if (other != this && other->GetDepth() > GetDepth() && Overlaps(*other)) return;
    if (down && !open && listener) listener->OnBrickSelected(this);
}

void CBrickEntity::PlayOpen() {
    if (openParticles) return;
    openParticles = SpawnChild<CParticleEntity>();
    openParticles->SetName("OpenParticles");
    openParticles->SetDepth(20.0f);
    openParticles->SetParticleSystem("data\\ParticleSystem\\Cigar.psi", "CigarAppearingParticle");
    openParticles->Fire(0.0f, true);

    auto* sparks = openParticles->SpawnChild<CAnimationEffector>();
    sparks->mode = 0;
    const float keys[][3] = {{0.0f, -20.0f, -65.0f}, {0.1f, 20.0f, -65.0f}, {0.2f, 20.0f, 65.0f},
                             {0.3f, -20.0f, 65.0f},  {0.4f, -20.0f, -65.0f}};
    for (const auto& key : keys) {
        sparks->AddKey(CAnimationEffector::TRACK_X, key[0], key[1]);
        sparks->AddKey(CAnimationEffector::TRACK_Y, key[0], key[2]);
    }
    sparks->Prepare();

    openTimer = openParticles->SpawnChild<CTimer>(kOpenTimerId, static_cast<CTimerListener*>(this));
    openTimer->mode = 0;
    openTimer->AddMark(101, 0.4f);
    openTimer->AddMark(102, 0.7f);
    openTimer->AddMark(103, 1.2f);  // the timeline's end; nothing listens for it
    openTimer->Resume();

    open = true;
    face->Show();
    Services::PlaySound(engine, "BrickOpn");
}

void CBrickEntity::OnTimer(int timerId, int markId) {
    if (timerId != kOpenTimerId || !openParticles) return;
    if (markId == 101) {
        if (hgeParticleSystem* system = openParticles->GetParticleSystem()) system->Stop(false);
    } else if (markId == 102) {
        openParticles->Kill();
        openParticles = nullptr;
        openTimer = nullptr;
    }
}

void CBrickEntity::Close() {
    open = false;
    face->Hide();
}

void CBrickEntity::PlayDestroy() {
    if (appear) {
        appear->Kill();
        appear = nullptr;
    }
    if (destroyEffector) return;
    HGE* hge = Services::Hge(engine);
    destroyEffector = SpawnChild<CAnimationEffector>();
    destroyEffector->SetName("Destroy");
    destroyEffector->mode = 0;
    destroyEffector->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 1.0f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_SCALE, 0.2f, 1.3f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_SCALE, 0.6f, 0.0f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 1.0f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.2f, 1.0f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.6f, 0.0f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_ROTATION, 0.2f, 0.0f);
    destroyEffector->AddKey(CAnimationEffector::TRACK_ROTATION, 0.6f, hge ? hge->Random_Float(-2.0f, 2.0f) : 0.0f);
    destroyEffector->Prepare();
    Services::PlaySound(engine, "BrickDes");
}

void CBrickEntity::SetShaking(bool on) {
    shaking = on;
    if (!shake) return;
    if (on)
        shake->Resume();
    else
        shake->Pause();
}

}  // namespace ZOLTFramework
