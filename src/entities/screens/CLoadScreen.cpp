#include "entities/screens/CLoadScreen.h"

#include "engine/AudioManager.h"
#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/PSGeneratorEntity.h"
#include "entities/screens/ScreenFactory.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

namespace {

const char* const kLayoutFile = "data/Screens/LoadScreen.xml";
const char* const kStarParticleFile = "data/ParticleSystem/KeyBlick.psi";
const float kStarPeriod = 0.3f;
const std::vector<PSGeneratorEntity::Point> kStarPoints = {
    {320.0f, 165.0f}, {263.0f, 214.0f}, {479.0f, 165.0f}, {534.0f, 214.0f}, {397.0f, 433.0f},
    {200.0f, 436.0f}, {600.0f, 433.0f}, {398.0f, 486.0f}, {510.0f, 261.0f}};

// The progress bar and its clip rectangle.
const float kBarLeft = 80.0f, kBarTop = 550.0f, kBarRight = 720.0f, kBarBottom = 590.0f;
const int kClipX = 80, kClipY = 555, kClipHeight = 30;
const float kClipFullWidth = 760.0f;
const DWORD kBarTopColor = 0x335BB0;
const DWORD kBarBottomColor = 0x62B6DB;
const float kBarAlpha = 200.0f;

}  // namespace

CLoadScreen::CLoadScreen(const std::string& screenName) : CScreenEntity(screenName) {
    frameCount = 1;
    // Closing the window while loading quits without a question.
    g_bConfirmExit = false;
    SetOpacity(1.0f);
    Open();

    LoadLayout();

    if (engine && engine->GetAudioManager()) engine->GetAudioManager()->PlayMusic("music2", true);

    caption = SpawnChild<TextEntity>("Press any key", nullptr);
    caption->SetText(Services::Text(engine, "LOADING"));
    caption->SetTextScale(0.95f);
    caption->SetPosXY(400.0f, 570.0f);
    caption->SetFont(FontRegistry::GetFont("Default"));

    if (engine) engine->SetDrawCursor(true);
    HtmlLog::Instance()->Debug("Load screen created");
}

CLoadScreen::~CLoadScreen() = default;

void CLoadScreen::LoadLayout() {
    XMLDocument doc("LoadScreen");
    if (!doc.Load(kLayoutFile)) {
        HtmlLog::Instance()->Warning(std::string("Load screen layout not read: ") + kLayoutFile + " (" +
                                     doc.GetLastError() + ")");
        return;
    }
    for (const auto& child : doc.GetRoot()->GetChildren())
        if (child->GetName() == "ResourceToCache") resourcesToCache.push_back(child->GetValue());
}

void CLoadScreen::PrecacheNext() {
    if (nextToCache >= resourcesToCache.size()) return;
    const std::string& resource = resourcesToCache[nextToCache++];
    if (hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr) {
        if (rm->FindRes(RES_TEXTURE, resource.c_str()))
            rm->GetTexture(resource.c_str());
        else if (rm->FindRes(RES_SPRITE, resource.c_str()))
            rm->GetSprite(resource.c_str());
    }
}

void CLoadScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    timer.Update(dt);
    if (destroyOnClose) return;

    if (frameCount < kFramesBeforeReady) {
        ++frameCount;
        PrecacheNext();
        return;
    }

    ShowReady();
    HGE* hge = Services::Hge(engine);
    if (!hge || hge->Input_GetKey() == 0) return;

    CEntity* menu = ScreenFactory::Open(Manager(), ScreenFactory::kMainMenu, "MenuScreen");
    if (!menu) return;
    menu->SetDepth(-1.0f);
    Kill();
}

void CLoadScreen::ShowReady() {
    if (effector) return;

    auto* logo = SpawnChild<CSpriteEntity>();
    logo->name = "DRLogo";
    if (hgeSprite* sprite = Services::Sprite(engine, "DRLogo")) logo->AttachSprite(sprite);
    logo->SetDepth(1.1f);
    logo->SetPosXY(400.0f, 300.0f);

    effector = logo->SpawnChild<CAnimationEffector>();
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.0f);
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.3f, 1.0f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 0.7f, 0.7f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 1.0f, 0.6f);
    effector->Prepare();

    ShowPressAnyKey();
    timer.Add(1.0f, [this] { SpawnStar(); }, this);
}

void CLoadScreen::ShowPressAnyKey() {
    if (!caption) return;
    caption->SetText(Services::Text(engine, "PRESS_ANY_KEY"));
    effector = caption->SpawnChild<CAnimationEffector>();
    effector->mode = CAnimationEffector::MODE_LOOP;
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.95f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 0.25f, 0.95f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 0.5f, 1.0f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 0.75f, 0.95f);
    effector->AddKey(CAnimationEffector::TRACK_SCALE, 1.0f, 0.95f);
    effector->Prepare();
}

void CLoadScreen::SpawnStar() {
    auto* stars = SpawnChild<PSGeneratorEntity>(kStarPoints, kStarParticleFile,
                                                Services::Sprite(engine, "SmallStarParticle"), kStarPeriod, "");
    stars->Start();
}

int CLoadScreen::GetProgressWidth() const {
    return static_cast<int>(static_cast<float>(frameCount) / kFramesBeforeReady * kClipFullWidth);
}

void CLoadScreen::Render() {
    const float opacity = GetAbsoluteOpacity();
    if (hgeSprite* background = Services::Sprite(engine, "LoadBackground")) {
        background->SetColor(Services::FadeColor(0xFFFFFFFF, opacity));
        background->Render(400.0f, 300.0f);
    }

    HGE* hge = Services::Hge(engine);
    if (!hge) return;
    const DWORD alpha = static_cast<DWORD>(kBarAlpha * opacity) << 24;
    hgeQuad bar;
    bar.tex = 0;
    bar.blend = BLEND_ALPHABLEND;
    const float xs[4] = {kBarLeft, kBarRight, kBarRight, kBarLeft};
    const float ys[4] = {kBarTop, kBarTop, kBarBottom, kBarBottom};
    for (int i = 0; i < 4; ++i) {
        bar.v[i].x = xs[i];
        bar.v[i].y = ys[i];
        bar.v[i].z = 0.0f;
        bar.v[i].col = alpha | (i < 2 ? kBarTopColor : kBarBottomColor);
    }
    hge->Gfx_SetClipping(kClipX, kClipY, GetProgressWidth(), kClipHeight);
    hge->Gfx_RenderQuad(&bar);
    hge->Gfx_SetClipping(0, 0, 800, 600);
}

}  // namespace ZOLTFramework
