#include "screens/IntroScreen.h"

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"
#include "screens/BubbleBurst.h"
#include "screens/GlobalMapScreen.h"

namespace ZOLTFramework {

namespace {

using Track = CAnimationEffector::Track;

const float kFadeInTime = 0.3f;
const float kBandDepth = 1000.0f;
const float kBandHeight = 150.0f;
const DWORD kBandColor = 0xFF000000;

// A layer: its picture, where it stands, its depth and its drift along x
// (from the first x at 0 s to the second at kLength; none when equal).
struct LayerSpec {
    const char* picture;
    float y, depth, fromX, toX;
};
const LayerSpec kLayers[IntroScreen::kLayerCount] = {
    {"GlobalMapFrame1", 275.0f, 0.11f, 400.0f, 400.0f},
    {"GlobalMapFrame2", 275.0f, 0.42f, 525.0f, 275.0f},
    {"GlobalMapFrame3", 300.0f, 0.73f, 650.0f, 150.0f},
    {"GlobalMapFrame4", 340.0f, 1.14f, 1024.0f, -224.0f},
};

const float kSkipX = 85.0f;
const float kSkipY = 55.0f;
const float kSkipDepth = 1090.0f;
const float kSkipCaptionY = 5.0f;
const float kSkipCaptionScale = 0.6f;
const float kSkipCaptionDepth = 110.0f;

const float kCaptionX = 20.0f;
const float kCaptionTop = 600.0f;
const float kCaptionEnd = -100.0f;
const float kCaptionCrawl = 45.0f;
const float kCaptionWidth = 760.0f;
const float kCaptionHeight = 200.0f;
// Above every layer and swimmer, under the black band: the text crawls out
// of sight behind the band.
const float kCaptionDepth = 2.5f;

// The swimmers: fifteen on their way at the start, then one every two seconds,
// in the river below its far wall (window row 244; above it they would fly
// over the roofs), in front of the water.
const int kFirstSwimmers = 15;
const float kSwimmerInterval = 2.0f;
const float kSwimmerTop = 262.0f;
const float kSwimmerBottom = 368.0f;
const float kSwimMin = 35.0f;
const float kSwimMax = 45.0f;
const float kLifeScale = 0.5f;

// Where the bubble columns stand on the river layer.
const float kBubbleSpots[][2] = {{-467, -7}, {-211, -17}, {-56, -38}, {109, -38}, {435, 11}};
const char* const kBubbleAnimation = "bubbles2_Menu";
const float kBubbleDepth = 0.01f;
const float kBubbleScale = 0.5f;
const float kMinBubblePause = 1.0f;
const float kMaxBubblePause = 6.0f;

CAnimationEffector* FadeIn(CEntity* target) {
    auto* effector = target->SpawnChild<CAnimationEffector>();
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, kFadeInTime, 1.0f);
    return effector;
}

}  // namespace

IntroScreen::IntroScreen() : CScreenEntity(kScreenName) {
    CreateFrames();
    CreateSkipButton();
    CreateCaption();
    CreateLife();
    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
}

IntroScreen::~IntroScreen() {
    timer.Clear();
    PlayerManager::Instance()->KillEntities();
}

CSpriteEntity* IntroScreen::MakeLayer(const std::string& picture, float px, float py, float layerDepth) {
    auto* sprite = SpawnChild<CSpriteEntity>();
    sprite->SetName(picture);
    if (!picture.empty() && !Services::Texture(engine, picture))
        HtmlLog::Instance()->Error("Intro: no picture \"" + picture + "\"");
    sprite->SetSprite(picture);
    sprite->SetPosXY(px, py);
    sprite->SetDepth(layerDepth);
    return sprite;
}

void IntroScreen::CreateFrames() {
    for (int i = 0; i < kLayerCount; ++i) {
        const LayerSpec& spec = kLayers[i];
        layers[i] = MakeLayer(spec.picture, spec.fromX, spec.y, spec.depth);
        CAnimationEffector* effector = FadeIn(layers[i]);
        if (spec.fromX != spec.toX) {
            effector->AddKey(CAnimationEffector::TRACK_X, 0.0f, spec.fromX);
            effector->AddKey(CAnimationEffector::TRACK_X, kLength, spec.toX);
        }
        effector->Prepare();
        if (i == 0) {
            // The black band over the top rows, drawn over every picture but
            // the skip button: an untextured sprite whose corner is its origin.
            CSpriteEntity* band = MakeLayer("", 0.0f, 0.0f, kBandDepth);
            band->SetName("IntroBand");
            band->SetColor(kBandColor);
            band->SetScaleX(800.0f);
            band->SetScaleY(kBandHeight);
            FadeIn(band)->Prepare();
        }
    }
    timer.Add(kLength, [this] { GoToGlobalMap(); }, this);
}

void IntroScreen::CreateSkipButton() {
    auto* skipButton = SpawnChild<CButtonEntity>("Skip", static_cast<CButtonListener*>(this));
    if (hgeSprite* look = Services::Sprite(engine, "SkipButton")) {
        float tx = 0.0f, ty = 0.0f, w = 0.0f, h = 0.0f;
        look->GetTextureRect(&tx, &ty, &w, &h);
        skipButton->SetSprite("SkipButton", tx, ty, w, h / 3.0f);
        skipButton->SetSizeCentered(w * 0.9f, h / 3.0f);
    } else {
        HtmlLog::Instance()->Error("Intro: no sprite \"SkipButton\"");
    }
    auto* label = skipButton->SpawnChild<TextEntity>("SkipCaption", nullptr);
    label->SetText(Services::Text(engine, "SKIP"));
    label->SetFont(FontRegistry::GetFont("Default14"));
    label->SetTextScale(kSkipCaptionScale);
    label->SetPosXY(0.0f, kSkipCaptionY);
    label->SetDepth(kSkipCaptionDepth);
    skipButton->SetPosXY(kSkipX, kSkipY);
    skipButton->SetDepth(kSkipDepth);
}

void IntroScreen::CreateCaption() {
    caption = SpawnChild<TextEntity>("IntroCaption", nullptr);
    bool found = false;
    caption->SetText(Services::Text(engine, "NEW_GAME_TEXT", &found));
    if (!found) HtmlLog::Instance()->Warning("Intro: no text \"NEW_GAME_TEXT\"");
    caption->SetFont(FontRegistry::GetFont("Default"));
    caption->SetAlignment(HGETEXT_CENTER);
    caption->SetBox(kCaptionWidth, kCaptionHeight);
    caption->SetPosXY(kCaptionX, kCaptionTop);
    caption->SetDepth(kCaptionDepth);
    auto* crawl = caption->SpawnChild<CAnimationEffector>();
    crawl->AddKey(CAnimationEffector::TRACK_Y, 0.0f, kCaptionTop);
    crawl->AddKey(CAnimationEffector::TRACK_Y, kCaptionCrawl, kCaptionEnd);
    crawl->Prepare();
}

void IntroScreen::CreateLife() {
    life = SpawnChild<CEntity>();
    life->SetName("IntroLife");
    life->SetScale(kLifeScale);
    life->SetDepth(kLayers[2].depth);

    PlayerManager* players = PlayerManager::Instance();
    CEntity* group = life;
    auto swimmer = [players, group](bool inside) {
        return [players, group, inside] {
            players->SpawnFishCallback(inside, group, kSwimmerTop, kSwimmerBottom, kSwimMin, kSwimMax, false);
        };
    };
    for (int i = 0; i < kFirstSwimmers; ++i) timer.Add(0.0f, swimmer(true), group);
    for (float at = 0.0f; at < kLength; at += kSwimmerInterval) timer.Add(at, swimmer(false), group);

    CSpriteEntity* river = layers[2];
    hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr;
    hgeAnimation* column = resources ? resources->GetAnimation(kBubbleAnimation) : nullptr;
    if (!column) HtmlLog::Instance()->Error(std::string("Intro: no animation \"") + kBubbleAnimation + "\"");
    for (const auto& spot : kBubbleSpots) {
        auto* anim = river->SpawnChild<CAnimEntity>();
        anim->SetEnabled(true);
        anim->SetDepth(kBubbleDepth);
        if (column) {
            anim->SetAnimation(*column);
            hgeAnimation* own = anim->GetAnimation();
            own->SetHotSpot(own->GetHotSpotX(), own->GetHeight());
        }
        anim->SetPosXY(spot[0], spot[1]);
        anim->SetScale(kBubbleScale);
        PlayBubbles(anim, false);
    }
}

void IntroScreen::PlayBubbles(CAnimEntity* column, bool atOnce) {
    HGE* hge = Services::Hge(engine);
    const float pause = atOnce ? 0.0f : (hge ? hge->Random_Float(kMinBubblePause, kMaxBubblePause) : kMinBubblePause);
    ScheduleBubbleBurst(timer, column, pause, [this, column] { PlayBubbles(column, false); });
}

void IntroScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (IsDead() || !HasFocus()) return;
    timer.Update(dt);
    if (handedOver || closing) return;
    HGE* hge = Services::Hge(engine);
    if (hge && hge->Input_GetKey() != 0) GoToGlobalMap();
}

void IntroScreen::GoToGlobalMap() {
    if (handedOver) return;
    handedOver = true;
    EntityManager* manager = Manager();
    GlobalMapScreen* map = manager ? manager->OpenScreen<GlobalMapScreen>(kMapFile) : nullptr;
    if (map) map->StartAnimation();
    if (manager) manager->RemoveScreen(this);
    CloseAndDestroy();
    if (!map) return;
    // The new-game overview: the whole map at half size, fading in, its
    // places hidden until the player goes on.
    map->SetScale(0.5f);
    map->SetOpacity(0.0f);
    map->Open();
    map->HideAllNodes();
}

}  // namespace ZOLTFramework
