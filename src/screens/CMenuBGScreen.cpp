#include "screens/CMenuBGScreen.h"

#include <map>

#include "runtime/CEngine.h"
#include "engine/Conversions.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/CAnimEntity.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/CBubbleEmitter.h"
#include "entities/core/CSpriteEntity.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "profiles/PlayerManager.h"
#include "screens/BubbleBurst.h"

namespace ZOLTFramework {

namespace {

// The five bubble spots.
const float kBubbleSpots[][2] = {{67, 76}, {316, 317}, {360, 338}, {391, 330}, {424, 296}};
const float kDecorationDepth = 1.01f;
const float kEmitterDepth = 0.1f;
const float kShipWindowDepth = 0.01f;
const float kMinBubblePause = 1.0f;
const float kMaxBubblePause = 15.0f;
const float kSeaweedFramesPerSecond = 10.0f;

// The text of a child element, or empty when there is none.
std::string ChildText(const XMLDocument::XMLElement& element, const std::string& name) {
    RefPtr<XMLDocument::XMLElement> child = element.FindChild(name);
    return child ? child->GetValue() : std::string();
}

}  // namespace

CMenuBGScreen::CMenuBGScreen(const std::string& screenName, const std::string& sceneFile)
    : CScreenEntity(screenName) {
    LoadScene(sceneFile);
    AddDecorations();
    SetOpacity(0.0f);
    Open();
    RequestFish();
}

void CMenuBGScreen::LoadScene(const std::string& file) {
    XMLDocument document("scene");
    if (!document.Load(file)) {
        HtmlLog::Instance()->Error("Menu scene cannot be loaded");
        return;
    }
    const auto& children = document.GetRoot()->GetChildren();
    // All units first, so an object may come before the unit it shows.
    std::map<int, std::string> units;
    for (const auto& child : children) {
        if (child && child->GetName() == "unit")
            units[StringToInt(ChildText(*child, "id"))] = ChildText(*child, "sprite");
    }
    for (const auto& child : children) {
        if (!child || child->GetName() != "object") continue;
        const auto unit = units.find(StringToInt(ChildText(*child, "id")));
        CSpriteEntity* sprite = SpawnChild<CSpriteEntity>();
        sprite->SetName("MenuScene" + std::to_string(sceneSprites.size() + 1));
        sprite->SetSprite(unit != units.end() ? unit->second : std::string());
        sprite->SetPosXY(StringToFloat(ChildText(*child, "x")), StringToFloat(ChildText(*child, "y")));
        sprite->SetDepth(StringToFloat(ChildText(*child, "z")));
        sceneSprites.push_back({sprite, sprite->GetLifeToken()});
    }
}

void CMenuBGScreen::AddDecorations() {
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    hgeAnimation* bubbles = resources ? resources->GetAnimation("bubbles2_Menu") : nullptr;
    int spotNumber = 0;
    for (const auto& spot : kBubbleSpots) {
        CAnimEntity* anim = SpawnChild<CAnimEntity>();
        anim->SetName("MenuBubbles" + std::to_string(++spotNumber));
        if (bubbles) anim->SetAnimation(*bubbles);
        anim->SetPosXY(spot[0], spot[1]);
        anim->SetDepth(kDecorationDepth);
        ScheduleBubbles(anim, false);
    }

    CBubbleEmitter* emitterA = SpawnChild<CBubbleEmitter>(0.5f);
    emitterA->SetPosXY(247, 318);
    emitterA->SetDepth(kEmitterDepth);
    emitterA->SetOpacity(0.8f);
    emitterA->SetScale(0.5f);

    CBubbleEmitter* emitterB = SpawnChild<CBubbleEmitter>(0.5f);
    emitterB->SetPosXY(790, 343);
    emitterB->SetDepth(kEmitterDepth);
    emitterB->SetScale(0.6f);

    CAnimEntity* seaweed = SpawnChild<CAnimEntity>();
    seaweed->SetName("Seaweed");
    if (hgeAnimation* weed = resources ? resources->GetAnimation("Vodorosli02MainMenu") : nullptr) {
        seaweed->SetAnimation(*weed);
        seaweed->GetAnimation()->SetSpeed(kSeaweedFramesPerSecond);
        seaweed->GetAnimation()->Play();
    }
    seaweed->SetPosXY(750, 680);
    seaweed->SetDepth(kDecorationDepth);

    AddShipWindow("MenuShipWindow1", 91, 30);
    AddShipWindow("MenuShipWindow2", 177, 60);
}

void CMenuBGScreen::AddShipWindow(const std::string& texture, float wx, float wy) {
    CSpriteEntity* window = SpawnChild<CSpriteEntity>();
    window->SetName(texture);
    window->SetSprite(texture);
    window->SetPosXY(wx, wy);
    window->SetDepth(kShipWindowDepth);
    // Dark, a second to light up, lit four seconds, a second to go out, dark
    // three seconds: every nine seconds.
    CAnimationEffector* glow = window->SpawnChild<CAnimationEffector>();
    glow->mode = CAnimationEffector::MODE_LOOP;
    glow->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    glow->AddKey(CAnimationEffector::TRACK_OPACITY, 1.0f, 1.0f);
    glow->AddKey(CAnimationEffector::TRACK_OPACITY, 5.0f, 1.0f);
    glow->AddKey(CAnimationEffector::TRACK_OPACITY, 6.0f, 0.0f);
    glow->AddKey(CAnimationEffector::TRACK_OPACITY, 9.0f, 0.0f);
    glow->Prepare();
}

void CMenuBGScreen::RequestFish() {
    PlayerManager* players = PlayerManager::Instance();
    for (int i = 0; i < kFishCount; ++i) players->ScheduleFish(0.0f, true, this, 0.0f, 600.0f, 12.0f, 40.0f, true);
}

void CMenuBGScreen::ScheduleBubbles(CAnimEntity* spot, bool now) {
    HGE* hge = engine ? engine->GetHGE() : nullptr;
    const float delay = now ? 0.0f : (hge ? hge->Random_Float(kMinBubblePause, kMaxBubblePause) : kMinBubblePause);
    ScheduleBubbleBurst(*PlayerManager::Instance()->Timer.Get(), spot, delay, [this, spot] { ScheduleBubbles(spot, false); });
}

void CMenuBGScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    // Pictures at fractional positions look blurred: snap them to whole pixels.
    for (const SceneSprite& entry : sceneSprites) {
        if (entry.alive.expired()) continue;
        CSpriteEntity* sprite = entry.sprite;
        const float ax = float(int(sprite->GetAbsoluteX()));
        const float ay = float(int(sprite->GetAbsoluteY()));
        CEntity* p = sprite->GetParent();
        sprite->x = p ? ax - p->GetAbsoluteX() : ax;
        sprite->y = p ? ay - p->GetAbsoluteY() : ay;
        sprite->OnMove();
    }
}

}  // namespace ZOLTFramework
