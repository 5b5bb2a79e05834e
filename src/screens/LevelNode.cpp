#include "screens/LevelNode.h"

#include "engine/EngineContext.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/CircleEffectEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

namespace {

// The ring's effectors run backward in a loop (mode 5: reverse and repeat).
const int kRingMode = CAnimationEffector::MODE_BACKWARD | CAnimationEffector::MODE_LOOP;

}  // namespace

LevelNode::LevelNode(const GlobalMapData::LevelNode& data) {
    if (hgeSprite* picture = Services::Sprite(engine, data.sprite)) SetSpriteCopy(*picture);
    level = data.level;
    nodeName = data.name;
    name = data.name;
    x = data.x;
    y = data.y;
    SetDepth(data.z);
    flagColor = data.flagColor;
    description = data.description;

    caption = SpawnChild<TextEntity>("", nullptr);
    caption->SetFont(FontRegistry::GetFont("Main"));
    caption->SetText(Services::Text(engine, data.caption));
    caption->SetTracking(-7.0f);
    caption->SetSpacing(0.5f);
    caption->SetPosXY(0.0f, 60.0f);
    caption->SetDepth(10.0f);
    hidden = false;
    UpdateRegistration();
}

LevelNode::~LevelNode() = default;

void LevelNode::SetLevelInfo(const std::string& staff, const std::string& banner, float dx, float dy) {
    staffStaying = staff;
    bannerStaying = banner;
    stayingDx = dx;
    stayingDy = dy;
}

uint32_t LevelNode::BannerColor(uint32_t color, float opacity) {
    float a = 255.0f * opacity;
    if (a < 0.0f) a = 0.0f;
    if (a > 255.0f) a = 255.0f;
    return (color & 0x00FFFFFFu) | (uint32_t(a) << 24);
}

void LevelNode::Render() {
    CSpriteEntity::Render();
    if (flagVisible) RenderPlantedFlag();
}

void LevelNode::RenderPlantedFlag() {
    hgeSprite* staff = Services::Sprite(engine, staffStaying);
    hgeSprite* banner = Services::Sprite(engine, bannerStaying);
    const float opacity = GetAbsoluteOpacity();
    const float scaleX = GetAbsoluteScaleX();
    const float px = GetAbsoluteX() * scaleX + stayingDx;
    const float py = GetAbsoluteY() * scaleX + stayingDy;
    const float rot = (parent ? parent->GetAbsoluteRotation() : 0.0f) + rotation;
    const float scaleY = GetAbsoluteScaleY();
    if (banner) {
        const DWORD kept = banner->GetColor();
        banner->SetColor(BannerColor(flagColor, opacity));
        banner->RenderEx(px, py, rot, scaleX, scaleY);
        banner->SetColor(kept);
    }
    if (staff) {
        const DWORD kept = staff->GetColor();
        staff->SetColor(BannerColor(kept, opacity));
        staff->RenderEx(px, py, rot, scaleX, scaleY);
        staff->SetColor(kept);
    }
}

bool LevelNode::HitTest(float px, float py) const {
    if (!sprite) return false;
    return HitTestTexturePixel(sprite, px - GetAbsoluteX(), py - GetAbsoluteY());
}

void LevelNode::ShowStar(bool show) {
    if (!show || starRing) return;
    starRing = SpawnChild<CEntity>();
    starRing->SetPosXY(0.0f, 0.0f);
    auto* circle = starRing->SpawnChild<CircleEffectEntity>(kStarRadius);
    circle->SetName("StarCircle");
    starCircle = circle;
    circle->SetPosXY(0.0f, 0.0f);
    circle->SetDepth(2.0f);
    auto* shrink = circle->SpawnChild<CAnimationEffector>();
    shrink->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 4.0f);
    shrink->AddKey(CAnimationEffector::TRACK_SCALE, 1.0f, 1.0f);
    shrink->Prepare();
    hgeSprite* star = Services::Sprite(engine, "BrannoksStar");
    for (int i = 0; i < kStarCount; ++i) {
        auto* entity = circle->SpawnChild<CSpriteEntity>();
        entity->SetDepth(1.0f);
        if (star) entity->SetSpriteCopy(*star);
        entity->SetColor(0xFFFFFFFF);
        entity->SetScale(1.3f);
        circle->AddEntity(entity);
        auto* spin = entity->SpawnChild<CAnimationEffector>();
        spin->mode = kRingMode;
        spin->AddKey(CAnimationEffector::TRACK_ROTATION, 0.0f, 0.0f);
        spin->AddKey(CAnimationEffector::TRACK_ROTATION, 2.0f, 12.566371f);
        spin->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.5f);
        spin->AddKey(CAnimationEffector::TRACK_SCALE, 1.0f, 0.25f);
        spin->AddKey(CAnimationEffector::TRACK_SCALE, 2.0f, 0.5f);
        spin->Prepare();
    }
    auto* turn = circle->SpawnChild<CAnimationEffector>();
    turn->mode = kRingMode;
    turn->AddKey(CAnimationEffector::TRACK_ROTATION, 0.0f, 0.0f);
    turn->AddKey(CAnimationEffector::TRACK_ROTATION, 7.0f, 6.2831855f);
    turn->Prepare();
}

}  // namespace ZOLTFramework
