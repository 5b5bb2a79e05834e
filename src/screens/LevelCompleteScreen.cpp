#include "screens/LevelCompleteScreen.h"

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/PSGeneratorEntity.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CEntity;
namespace Services = ZOLTFramework::Services;

namespace {

const char* const kWho = "Level complete screen";
const char* const kSalutePsi = "data/ParticleSystem/Salute.psi";
const int kCountSteps = 99;
const float kCountStep = 0.01f;

}  // namespace

LevelCompleteScreen::LevelCompleteScreen(const std::string& screenName, const uint32_t* levelScores,
                                         const std::string& screenFile, const std::string& medals)
    : CScreenEntity(screenName), medalsFile(medals) {
    if (levelScores)
        for (int i = 0; i < kScoreCount; ++i) scores[size_t(i)] = levelScores[i];
    SetPlayOpenSound(true);
    BuildWindow();
    LoadRows(screenFile);
    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    SetOpacity(0.0f);
    Open();
}

LevelCompleteScreen::~LevelCompleteScreen() = default;

void LevelCompleteScreen::BuildWindow() {
    window = SpawnChild<ZOLTFramework::CWindowEntity>();
    window->SetSpriteName("InGameMenuWindow");
    window->SetPosXY(440.0f, 280.0f);
    window->SetDepth(0.0f);
    window->SetSizeCentered(0.0f, 0.0f);

    exitButton = window->SpawnChild<ZOLTFramework::CButtonEntity>("Exit", this);
    exitButton->SetPosXY(0.0f, 200.0f);
    exitButton->SetDepth(2.0f);
    float w = 0.0f, h = 0.0f;
    if (hgeSprite* look = Services::Sprite(engine, "InGameButton")) {
        w = look->GetWidth();
        h = look->GetHeight();
    } else {
        HtmlLog::Instance()->Warning(std::string(kWho) + ": no sprite InGameButton");
    }
    exitButton->SetSprite("InGameButton", 0.0f, 0.0f, w, h);
    exitButton->SetSizeCentered(w * 0.9f, h / 3.0f);
    exitButton->SetHotKey(HGEK_ENTER);

    auto* caption = exitButton->SpawnChild<TextEntity>("", nullptr);
    caption->SetText(Services::Text(engine, "OK"));
    caption->SetDepth(1.0f);
    caption->SetPosXY(-6.0f, -2.0f);
    caption->SetFont(FontRegistry::GetFont("Default14"));
}

void LevelCompleteScreen::LoadRows(const std::string& file) {
    float delay = kRowInterval;
    float rowY = kFirstRowY;
    XMLDocument document("screen");
    if (!document.Load(file) || !document.GetRoot()) {
        HtmlLog::Instance()->Error(std::string(kWho) + ": the screen file cannot be read: " + HtmlLog::Shown(file));
    } else {
        TextEntity* caption = nullptr;
        for (const auto& element : document.GetRoot()->GetChildren()) {
            if (!element) continue;
            const std::string& id = element->GetName();
            for (int index = 0; index < kScoreCount; ++index) {
                const bool isCaption = id == kCaptionIds[index];
                if (!isCaption && id != kScoreIds[index]) continue;
                const uint32_t value = scores[size_t(index)];
                // No time bonus: neither the time caption nor its row.
                if (index == kTime && value == 0) break;
                TextEntity* widget = MakeRowWidget(*element, delay, rowY);
                if (isCaption) {
                    caption = widget;
                    break;
                }
                ScheduleCountUp(widget, value, delay);
                rows.push_back({caption, widget, std::to_string(value)});
                caption = nullptr;  // a caption belongs to the row that follows it
                delay += kRowInterval;
                rowY += kRowHeight;
                break;
            }
        }
    }
    lastRowY = rowY - kRowHeight;
    exitButton->Pause();
    timer.Add(delay, [this]() { exitButton->Resume(); }, this);
}

TextEntity* LevelCompleteScreen::MakeRowWidget(const XMLDocument::XMLElement& element, float delay, float rowY) {
    auto* widget = window->SpawnChild<TextEntity>(element, nullptr);
    widget->SetName(element.GetName());
    widget->Hide();
    timer.Add(delay, [widget]() { widget->Show(); }, widget);
    widget->SetY(rowY);
    return widget;
}

void LevelCompleteScreen::ScheduleCountUp(TextEntity* widget, uint32_t value, float delay) {
    const uint32_t step = value / 100;
    for (int i = 0; i < kCountSteps; ++i) {
        const std::string text = std::to_string(step * uint32_t(i + 1));
        timer.Add(delay + float(i) * kCountStep, [widget, text]() { widget->SetText(text); }, widget);
    }
    const std::string finalText = std::to_string(value);
    timer.Add(delay + kCountTime, [widget, finalText]() { widget->SetText(finalText); }, widget);
    timer.Add(delay, [this]() { Services::PlaySound(engine, "OnScoreCount"); }, this);
}

void LevelCompleteScreen::FinishCount() {
    counting = false;
    timer.Clear();
    for (const Row& row : rows) {
        if (row.caption) row.caption->Show();
        row.score->Show();
        row.score->SetText(row.finalText);
    }
}

bool LevelCompleteScreen::KeyThisFrame() const {
    HGE* hge = Services::Hge(engine);
    return hge && hge->Input_GetKey() != 0;
}

void LevelCompleteScreen::Update(float dt) {
    const bool key = KeyThisFrame();
    if (key && counting) {
        FinishCount();
        exitButton->Resume();
    }
    if (closeOnKey && key) {
        Close();
        return;
    }
    CScreenEntity::Update(dt);
    timer.Update(dt);
}

void LevelCompleteScreen::OnButtonPress(const std::string& name) {
    Services::PlaySound(engine, "OnButtonPress");
    if (name != "Exit") return;
    // The same click or Enter reaches this screen's own update later in the
    // frame: the count-up ends here, so that update has nothing left to skip
    // and no row is left on a partial number.
    if (counting) FinishCount();
    exitButton->Pause();
    timer.Clear();

    Player* player = PlayerManager::Instance()->GetActivePlayer();
    if (medalToAdd == 0 || !player || player->Medals.count(uint32_t(medalToAdd))) {
        Close();
        return;
    }
    Services::PlaySound(engine, "OnRewarding");
    AwardMedal();
    auto* burst = window->SpawnChild<ParticleSystemEntity>();
    burst->Load(kSalutePsi, Services::Sprite(engine, "CigarAppearingParticle"));
    burst->SetDepth(10.0f);
    burst->SetPosXY(120.0f, lastRowY);
    timer.Add(kSaluteDelay, [this]() { Salute(); }, this);
    timer.Add(kCloseOnKeyDelay, [this]() { SetCloseOnKey(); }, this);
}

void LevelCompleteScreen::KeepMedal() {
    Player* player = PlayerManager::Instance()->GetActivePlayer();
    if (medalToAdd != 0 && player && MedalList::Knows(medalToAdd, medalsFile, kWho))
        player->Medals.insert(uint32_t(medalToAdd));
}

void LevelCompleteScreen::OnButtonOver(const std::string& name) { Services::PlaySound(engine, "MouseOver"); }

void LevelCompleteScreen::Close() {
    Kill();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}

CEntity* LevelCompleteScreen::MakeSprite(const std::string& spriteName, CEntity* parent, float depth) {
    hgeSprite* sprite = Services::Sprite(engine, spriteName);
    if (!sprite) {
        HtmlLog::Instance()->Warning(std::string(kWho) + ": no sprite " + HtmlLog::Shown(spriteName));
        return nullptr;
    }
    auto* entity = parent->SpawnChild<ZOLTFramework::CSpriteEntity>();
    entity->SetSpriteCopy(*sprite);
    entity->SetDepth(depth);
    return entity;
}

namespace {

CAnimationEffector* Animate(CEntity* target) { return target->SpawnChild<CAnimationEffector>(); }

}  // namespace

void LevelCompleteScreen::AwardMedal() {
    const std::vector<MedalInfo> medals = MedalList::Load(medalsFile, kWho);

    auto* hero = SpawnChild<CEntity>();
    hero->SetPosXY(200.0f, 400.0f);
    MakeSprite("Brannok", hero, 5.0f);
    MakeSprite("Head_Happy", hero, 3.0f);
    CAnimationEffector* heroFade = Animate(hero);
    heroFade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    heroFade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, 0.0f);
    heroFade->AddKey(CAnimationEffector::TRACK_OPACITY, 4.1f, 1.0f);
    heroFade->Prepare();

    Player* player = PlayerManager::Instance()->GetActivePlayer();
    for (const MedalInfo& medal : medals) {
        if (medal.id == uint32_t(medalToAdd)) {
            CEntity* picture = MakeSprite(medal.sprite, this, medal.z + 6.0f);
            if (picture) {
                CAnimationEffector* flight = Animate(picture);
                flight->AddKey(CAnimationEffector::TRACK_X, 0.0f, 700.0f);
                flight->AddKey(CAnimationEffector::TRACK_X, 3.33f, 700.0f);
                flight->AddKey(CAnimationEffector::TRACK_X, 4.1f, medal.x);
                flight->AddKey(CAnimationEffector::TRACK_Y, 0.0f, 300.0f);
                flight->AddKey(CAnimationEffector::TRACK_Y, 3.33f, 300.0f);
                flight->AddKey(CAnimationEffector::TRACK_Y, 4.1f, medal.y);
                flight->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.5f);
                flight->AddKey(CAnimationEffector::TRACK_SCALE, 0.16f, 1.0f);
                flight->AddKey(CAnimationEffector::TRACK_SCALE, 3.16f, 1.0f);
                flight->AddKey(CAnimationEffector::TRACK_SCALE, 3.33f, 0.5f);
                flight->AddKey(CAnimationEffector::TRACK_SCALE, 4.1f, 0.2f);
                flight->Prepare();
            }
            if (player) player->Medals.insert(medal.id);
        } else if (player && player->Medals.count(medal.id)) {
            CEntity* picture = MakeSprite(medal.sprite, this, medal.z + 6.0f);
            if (!picture) continue;
            picture->SetPosXY(medal.x, medal.y);
            picture->SetScale(0.2f);
            CAnimationEffector* fade = Animate(picture);
            fade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
            fade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, 0.0f);
            fade->AddKey(CAnimationEffector::TRACK_OPACITY, 1.1f, 1.0f);
            fade->Prepare();
        }
    }
}

void LevelCompleteScreen::Salute() {
    const std::vector<PSGeneratorEntity::Point> points = {{96.0f, 82.0f}, {729.0f, 81.0f}, {733.0f, 448.0f}};
    auto* salute =
        SpawnChild<PSGeneratorEntity>(points, kSalutePsi, Services::Sprite(engine, "SmallStarParticle"), 1.0f, "OnSalute");
    salute->Start();
}
