// The banner flight of the global map: three short frames of a flag flying
// onto the solved node (1.0 s to 1.1 s), then the flag sticks with its sound
// and two animations where it stands. Every entity of the flight is a child
// of the map or of the node and goes with them.
#include "engine/HtmlLog.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityServices.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "engine/EngineContext.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"

namespace ZOLTFramework {

namespace {

const float kFrameTimes[] = {1.0f, 1.033f, 1.066f, 1.1f};
const float kStickTime = 1.1f;

}  // namespace

void GlobalMapScreen::MiddleFrameOffset(const NodeAnimationRecord& record, float* dx, float* dy) {
    *dx = (record.flyingFromDx - record.flyingToDx) * 0.5f;
    *dy = (record.flyingFromDy - record.flyingToDy) * 0.5f;
}

void GlobalMapScreen::PlaceBanner(LevelNode* node) {
    if (!node) return;
    const NodeAnimationRecord& record = records[node->GetDescription()];
    MoveBanner(node, record);
    StickBanner(node, record);
}

CEntity* GlobalMapScreen::MakeBannerFrame(const std::string& staff, const std::string& banner, DWORD color, float px,
                                          float py) {
    auto* frame = SpawnChild<CEntity>();
    frame->SetName("GlobalMapBannerFrame");
    frame->Hide();
    frame->SetLayer(1.0f);
    const std::string names[] = {banner, staff};
    for (const std::string& spriteName : names) {
        if (spriteName.empty()) continue;
        hgeSprite* look = Services::Sprite(engine, spriteName);
        if (!look) {
            HtmlLog::Instance()->Warning("Global map: no sprite \"" + HtmlLog::Shown(spriteName) + "\" for the banner flight");
            continue;
        }
        auto* part = frame->SpawnChild<CSpriteEntity>();
        part->SetSpriteCopy(*look);
        if (&spriteName == &names[0]) part->SetColor(color);
    }
    frame->SetAbsolutePosition(px, py);
    return frame;
}

void GlobalMapScreen::MoveBanner(LevelNode* node, const NodeAnimationRecord& record) {
    const DWORD color = node->GetFlagColor();
    const float bx = node->GetAbsoluteX() * node->GetAbsoluteScaleX();
    const float by = node->GetAbsoluteY() * node->GetAbsoluteScaleY();
    float midDx = 0.0f, midDy = 0.0f;
    MiddleFrameOffset(record, &midDx, &midDy);
    CEntity* const frames[] = {
        MakeBannerFrame(record.staffStart, record.bannerStart, color, bx + record.flyingFromDx,
                        by + record.flyingFromDy),
        MakeBannerFrame(record.staffIntermediate, record.bannerIntermediate, color, bx + midDx, by + midDy),
        MakeBannerFrame(record.staffFinish, record.bannerFinish, color, bx + record.flyingToDx, by + record.flyingToDy),
    };
    for (size_t i = 0; i < 3; ++i) {
        CEntity* frame = frames[i];
        timer.Add(kFrameTimes[i], [frame] { frame->Show(); }, frame);
        timer.Add(kFrameTimes[i + 1], [frame] { frame->Hide(); }, frame);
    }
}

void GlobalMapScreen::StickBanner(LevelNode* node, const NodeAnimationRecord& record) {
    CEntity* stuckFlag = node->SpawnChild<CEntity>();
    stuckFlag->SetName("GlobalMapStuckFlag");
    stuckFlag->SetPosXY(record.movingDx, record.movingDy);
    stuckFlag->SetLayer(1.0f);
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    std::vector<CAnimEntity*> parts;
    const std::string names[] = {record.staffMoving, record.bannerMoving};
    for (const std::string& animationName : names) {
        if (animationName.empty()) continue;
        hgeAnimation* animation = resources ? resources->GetAnimation(animationName.c_str()) : nullptr;
        if (!animation) {
            HtmlLog::Instance()->Warning("Global map: no animation \"" + HtmlLog::Shown(animationName) + "\" for the stuck flag");
            continue;
        }
        auto* part = stuckFlag->SpawnChild<CAnimEntity>();
        part->SetAnimation(*animation);
        if (&animationName == &names[1]) part->SetColor(node->GetFlagColor());
        parts.push_back(part);
    }
    stuckFlag->Hide();
    timer.Add(
        kStickTime,
        [this, stuckFlag, parts] {
            Services::PlaySound(engine, "FlagStuck");
            stuckFlag->Show();
            for (CAnimEntity* part : parts)
                if (part->GetAnimation()) part->GetAnimation()->Play();
        },
        stuckFlag);
}

}  // namespace ZOLTFramework
