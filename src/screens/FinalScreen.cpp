#include "screens/FinalScreen.h"

#include "engine/AudioManager.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/PSGeneratorEntity.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/widgets/CGUIEntity.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"

namespace ZOLTFramework {

namespace {

const float kPictureScale = 0.78125f;
const float kKissDepth = 15.0f;

// A kiss's flight: scale, y and x keys at the given times.
struct KissKeys {
    const char* sprite;
    std::vector<CAnimationEffector::Key> scale, y, x;
    float landing;
};

}  // namespace

FinalScreen::FinalScreen() : CScreenEntity(kScreenName) {
    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    SetOpacity(0.0f);

    callAnchor = SpawnChild<CEntity>();
    callAnchor->SetName("FinalScreenCalls");

    if (CSpriteEntity* picture = MakePicture("Final", -10.0f)) {
        picture->SetScaleX(kPictureScale);
        picture->SetScaleY(kPictureScale);
        picture->SetPosXY(400.0f, 300.0f);
    }

    auto* cover = SpawnChild<CGUIEntity>();
    cover->SetRect(0.0f, 0.0f, 800.0f, 600.0f);

    Open();

    PlayerManager::Instance()->Timer->Add(kSaluteDelay, [this]() { CreateSalute(); }, callAnchor);

    const std::vector<PSGeneratorEntity::Point> sparkles = {
        {372.0f, 363.0f}, {317.0f, 361.0f}, {318.0f, 425.0f}, {370.0f, 416.0f}, {150.0f, 506.0f}};
    auto* generator = SpawnChild<PSGeneratorEntity>(sparkles, "data/ParticleSystem/KeyBlick.psi",
                                            Services::Sprite(engine, "SmallStarParticle"), 2.0f, "");
    generator->SetName("Sparkles");
    generator->Start();
    particles.push_back(generator);

    CreateKiss();

    if (engine && engine->GetAudioManager()) engine->GetAudioManager()->PlayMusic("OnFinal", true);

    // The story's end, due since a quit after its last find, has come.
    PlayerManager* players = PlayerManager::Instance();
    Player* player = players->GetActivePlayer();
    if (player && player->EndingPending) {
        player->EndingPending = false;
        player->EndingPages.clear();
        if (players->IsLoaded()) players->Save();
    }
}

FinalScreen::~FinalScreen() = default;

CSpriteEntity* FinalScreen::MakePicture(const std::string& pictureName, float depth) {
    auto* entity = SpawnChild<CSpriteEntity>();
    if (hgeSprite* sprite = Services::Sprite(engine, pictureName)) {
        entity->SetSpriteCopy(*sprite);
    } else if (Services::Texture(engine, pictureName)) {
        entity->SetSprite(pictureName);
    } else {
        HtmlLog::Instance()->Warning("Final screen: no picture " + pictureName);
        delete entity;
        return nullptr;
    }
    entity->SetDepth(depth);
    return entity;
}

void FinalScreen::CreateKiss() {
    const KissKeys kisses[] = {
        {"Kiss1", {{0.0f, 3.0f}, {1.0f, 1.0f}}, {{0.0f, 500.0f}, {1.0f, 309.0f}}, {{0.0f, 900.0f}, {1.0f, 429.0f}},
         1.0f},
        {"Kiss2",
         {{0.0f, 3.0f}, {1.0f, 3.0f}, {2.0f, 1.0f}},
         {{0.0f, 500.0f}, {1.0f, 500.0f}, {2.0f, 295.0f}},
         {{0.0f, -100.0f}, {1.0f, -100.0f}, {2.0f, 365.0f}},
         2.0f},
    };
    for (const KissKeys& kiss : kisses) {
        if (CSpriteEntity* sprite = MakePicture(kiss.sprite, kKissDepth)) {
            sprite->SetName(kiss.sprite);
            sprites.push_back(sprite);
            auto* flight = sprite->SpawnChild<CAnimationEffector>();
            for (const auto& key : kiss.scale) flight->AddKey(CAnimationEffector::TRACK_SCALE, key.time, key.value);
            for (const auto& key : kiss.y) flight->AddKey(CAnimationEffector::TRACK_Y, key.time, key.value);
            for (const auto& key : kiss.x) flight->AddKey(CAnimationEffector::TRACK_X, key.time, key.value);
            flight->Prepare();
        }
        PlayerManager::Instance()->Timer->Add(
            kiss.landing, [this]() { Services::PlaySound(engine, "OnKiss"); }, callAnchor);
    }
}

void FinalScreen::CreateSalute() {
    const std::vector<PSGeneratorEntity::Point> points = {
        {63.0f, 43.0f}, {115.0f, 223.0f}, {730.0f, 58.0f}, {720.0f, 275.0f}};
    auto* salute = SpawnChild<PSGeneratorEntity>(points, "data/ParticleSystem/Salute.psi",
                                         Services::Sprite(engine, "SmallStarParticle"), 1.0f, "OnSalute");
    salute->SetName("Salute");
    salute->Start();
    particles.push_back(salute);
}

void FinalScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (leaving || left) return;
    HGE* hge = Services::Hge(engine);
    if (hge && hge->Input_GetKey() != 0) Leave();
}

void FinalScreen::Leave() {
    left = true;
    leaving = true;
    // Nothing of this screen may sound or burst after the key: the queued
    // kisses and fireworks go with the anchor, the generators and their
    // bursts at once rather than at the end of the fade-out.
    callAnchor->Kill();
    for (CEntity* generator : particles) {
        for (CEntity* child : generator->GetChildren())
            if (auto* burst = dynamic_cast<ParticleSystemEntity*>(child))
                if (hgeParticleSystem* system = burst->GetParticleSystem()) system->Stop(true);
        generator->Hide();
        generator->Kill();
    }
    particles.clear();
    for (CSpriteEntity* kiss : sprites) kiss->Hide();

    if (EntityManager* manager = Manager()) {
        manager->Spawn<CMenuScreen>("MenuScreen");
        CloseAndDestroy();
        manager->RemoveScreen(this);
    } else {
        CloseAndDestroy();
    }
}

void FinalScreen::GotFocus() {
    CScreenEntity::GotFocus();
    leaving = false;
}

void FinalScreen::LostFocus() {
    CScreenEntity::LostFocus();
    leaving = true;
}

}  // namespace ZOLTFramework
