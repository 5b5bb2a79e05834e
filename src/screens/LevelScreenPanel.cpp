// The level's panel: the clock, the cigars, the magnifying glass, the slide of
// the panel and the list of clues.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/EngineContext.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/core/GameTimer.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/effects/PathMoveEffector.h"
#include "entities/screens/OKScreen.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/Hint.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/LevelScreen.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

namespace {

// The clue rows stand 12 px apart; the "Comics" font (drawn large in the comic
// bubbles) is scaled to that line.
const float kClueTextScale = 0.55f;

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

std::string Count(int value) { return std::to_string(value); }

}  // namespace

// ---- clock

void LevelScreen::RunClock(float dt) {
    Player* player = Active();
    if (!player) return;
    const float old = player->Time;
    if (old > 0.0f) player->Time -= dt;
    if (player->Time <= 0.0f && old != 0.0f) {
        player->Time = 0.0f;
        if (EntityManager* manager = Manager()) {
            auto* lose = manager->OpenScreen<OKScreen>("Lose", "data/Screens/DialogOk.xml", this);
            lose->AttachTo(this);
            lose->SetLayer(2010.0f);
            lose->SetText("TIME_OUT");
        }
        Services::PlaySound(engine, "OnTimeOut");
        PauseEntity(panel);
        if (playField) playField->LostFocus();
    }
    if (timeText) timeText->SetText(FormatTime(player->Time));
    if (player->Time <= kCriticalTime) {
        if (std::trunc(old) != std::trunc(player->Time)) Services::PlaySound(engine, "OnCriticalTime");
        if (old > kCriticalTime && timeText) timeText->SetColor(0xFFFF0000);
    }
}

std::string LevelScreen::FormatTime(float seconds) {
    // A time from a file may lie beyond the range of int.
    const int whole = FileNumbers::ClampToInt(seconds);
    const int s = whole % 60;
    const int m = FileNumbers::ClampToInt(seconds / 60.0f);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", m, s < 0 ? -s : s);
    return text;
}

void LevelScreen::ShowTimePenalty(float change) {
    EntityManager* manager = Manager();
    if (!manager || !timeText) return;
    auto* pulse = manager->Spawn<CAnimationEffector>();
    pulse->AttachTo(timeText);
    const float scaleKeys[][2] = {{0.0f, 1.0f}, {0.4f, 2.0f}, {0.8f, 1.0f}, {1.2f, 2.0f}, {1.6f, 1.0f}};
    for (const auto& key : scaleKeys) pulse->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
    pulse->Prepare();
    auto* text = manager->Spawn<TextEntity>("TimePenalty", nullptr);
    text->SetFont(FontRegistry::GetFont("Comics"));
    text->AttachTo(timeText);
    text->SetText("-" + FormatTime(std::fabs(change)));
    text->OnMove();
    auto* fall = manager->Spawn<CAnimationEffector>();
    fall->AttachTo(text);
    fall->AddKey(CAnimationEffector::TRACK_X, 0.0f, 0.0f);
    fall->AddKey(CAnimationEffector::TRACK_X, 0.5f, -20.0f);
    fall->AddKey(CAnimationEffector::TRACK_X, 1.0f, -100.0f);
    fall->AddKey(CAnimationEffector::TRACK_Y, 0.0f, 0.0f);
    fall->AddKey(CAnimationEffector::TRACK_Y, 0.5f, 100.0f);
    fall->AddKey(CAnimationEffector::TRACK_Y, 1.0f, 200.0f);
    // It fades as it falls and goes at the end of its fall, so it never stays
    // over the clue list.
    fall->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 1.0f);
    fall->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, 1.0f);
    fall->AddKey(CAnimationEffector::TRACK_OPACITY, 1.0f, 0.0f);
    fall->Prepare();
    auto* life = text->SpawnChild<ZOLTFramework::GameManager::Timer>();
    life->Hide();
    life->Add(1.0f, [text] { text->Kill(); }, text);
    Services::PlaySound(engine, "OnTimePenalty");
}

// ---- cigars

void LevelScreen::AddCigar(bool withTutorial) {
    EntityManager* manager = Manager();
    Player* player = Active();
    if (!manager || !player || !panel) return;
    if (!cigarButton) {
        cigarButton = manager->Spawn<ZOLTFramework::CButtonEntity>("CigarButton", this);
        cigarButton->SetSizeCentered(0.0f, 0.0f);
        cigarButton->AttachTo(panel);
        cigarSprite = manager->Spawn<CSpriteEntity>();
        cigarSprite->SetName("Cigar");
        cigarSprite->AttachSprite(Services::Sprite(engine, "InGameCigar"));
        if (!cigarSprite->GetSprite()) HtmlLog::Instance()->Error("Level: no sprite \"InGameCigar\".");
        cigarSprite->AttachTo(cigarButton);
        cigarButton->SetPosXY(50.0f, 360.0f);
        cigarButton->SetDepth(2.0f);
        cigarCounter = manager->Spawn<TextEntity>("CigarCounter", nullptr);
        cigarCounter->SetPosXY(-22.0f, -25.0f);
        cigarCounter->SetDepth(1.0f);
        cigarCounter->SetFont(FontRegistry::GetFont("Comics"));
        cigarCounter->AttachTo(cigarButton);
        cigarButton->OnMove();
        if (withTutorial && playField && playField->GetCounters().count("Magnifying glass")) {
            cigarSmoke = CreateCigarSmoke();
            if (cigarSmoke) {
                cigarSmoke->AttachTo(cigarButton);
                cigarSmoke->OnMove();
            }
            hintQueue.push_back(TutorialInfo{"TUTORIAL_CIGAR", (360u << 16) | 90u, 0u});
        }
        if (hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr)
            if (hgeAnimation* smoulder = resources->GetAnimation("InGameCigarSmolder"))
                cigarSmoulder = new hgeAnimation(*smoulder);
        if (!cigarSmoulder) HtmlLog::Instance()->Error("Level: no animation \"InGameCigarSmolder\".");
    }
    if (player->CigarCount < INT32_MAX) player->CigarCount += 1;
    cigarCounter->SetText(Count(player->CigarCount));
}

void LevelScreen::UseCigar() {
    Player* player = Active();
    // A cigar is spent only when there is one and the last has burnt down.
    if (!player || cigarCooldown != 0.0f || player->CigarCount <= 0) return;
    if (cigarSmoke) {
        cigarSmoke->Kill();
        cigarSmoke = nullptr;
    }
    FlyHintToObject();
    if (cigarSmoulder) {
        cigarSmoulder->SetFrame(0);
        cigarSmoulder->Play();
    }
    cigarCooldown = kCigarCooldown;
    player->CigarCount -= 1;
    if (cigarCounter) cigarCounter->SetText(Count(player->CigarCount));
}

void LevelScreen::UpdateCigarButton() {
    if (!cigarSprite || !cigarButton) return;
    if (exitButton && exitButton->IsPausedInChain()) return;
    hgeSprite* normal = Services::Sprite(engine, "InGameCigar");
    // A hidden cigar button is not there to be clicked.
    if (cigarButton->IsHiddenInChain()) {
        if (normal) cigarSprite->AttachSprite(normal);
        return;
    }
    HGE* hge = Services::Hge(engine);
    hgeSprite* sprite = cigarSprite->GetSprite();
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    bool opaque = false;
    if (sprite) {
        const float left = cigarSprite->GetAbsoluteX() - sprite->GetHotSpotX();
        const float top = cigarSprite->GetAbsoluteY() - sprite->GetHotSpotY();
        if (mx >= left && my >= top && mx <= left + sprite->GetWidth() && my <= top + sprite->GetHeight())
            opaque = SpriteAlphaAt(sprite, std::trunc(mx - left), std::trunc(my - top)) == 0xFF;
    }
    if (opaque) {
        if (hgeSprite* lit = Services::Sprite(engine, "InGameCigarHighlighted")) cigarSprite->AttachSprite(lit);
        if (hge && hge->Input_GetKeyState(HGEK_LBUTTON)) UseCigar();
    } else if (normal) {
        cigarSprite->AttachSprite(normal);
    }
}

void LevelScreen::UpdateCigarSmoulder(float dt) {
    if (cigarCooldown > 0.0f) {
        if (cigarSmoulder) cigarSmoulder->Update(dt);
        cigarCooldown -= dt;
        if (cigarCooldown <= 0.0f) {
            cigarCooldown = 0.0f;
            if (cigarSmoulder) cigarSmoulder->Stop();
        }
    }
    if (cigarCooldown == 0.0f && cigarButton) {
        Player* player = Active();
        if (player && player->CigarCount > 0) {
            cigarButton->Resume();
            cigarButton->Show();
        } else {
            cigarButton->Hide();
        }
    }
}

CEntity* LevelScreen::CreateCigarSmoke() {
    EntityManager* manager = Manager();
    if (!manager) return nullptr;
    auto* smoke = manager->Spawn<ParticleSystemEntity>();
    smoke->Load("data/ParticleSystem/Cigar.psi", Services::Sprite(engine, "CigarAppearingParticle"));
    auto* path = manager->Spawn<ZOLTFramework::PathMoveEffector>(1, false, false, 64, 0.0f, 0.0f, 4);
    path->SetVelocity(300.0f);
    const float points[][2] = {{-90, -45}, {2, -35}, {60, 1}, {65, 20}, {51, 30}, {-10, 20}, {-90, -55}};
    for (const auto& p : points) path->AddPoint(p[0], p[1]);
    path->AttachTo(smoke);
    std::weak_ptr<void> alive = smoke->GetLifeToken();
    path->finishedCallback = [smoke, alive] {
        if (alive.expired()) return;
        if (hgeParticleSystem* system = smoke->GetParticleSystem()) system->Stop();
    };
    Services::PlaySound(engine, "OnMagnifyingGlassAppear");
    return smoke;
}

void LevelScreen::FlyHintToObject() {
    SceneObject* object = playField ? playField->FindHintObject() : nullptr;
    if (object && hint) hint->FlyTo(object);
}

// ---- magnifying glass

void LevelScreen::ShowMagnifyingGlass(bool withTutorial) {
    EntityManager* manager = Manager();
    if (!manager || !panel) return;
    // The glass stands on the panel once, however often it is given.
    if (!magnifyingGlass) {
        magnifyingGlass = manager->Spawn<CSpriteEntity>();
        magnifyingGlass->SetName("MagnifyingGlass");
        magnifyingGlass->AttachSprite(Services::Sprite(engine, "InGameMagnifyingGlass"));
        if (!magnifyingGlass->GetSprite()) HtmlLog::Instance()->Error("Level: no sprite \"InGameMagnifyingGlass\".");
        magnifyingGlass->AttachTo(panel);
        magnifyingGlass->SetPosXY(52.0f, 555.0f);
        magnifyingGlass->SetDepth(1.0f);
        magnifyingGlass->OnMove();
    }
    if (!withTutorial) return;
    StartMagnifyingGlassBurst();
    hintQueue.push_back(TutorialInfo{"TUTORIAL_MAGNIFYING_GLASS", 0u, 0u});
    hintQueue.push_back(TutorialInfo{"TUTORIAL_MAGNIFYING_GLASS_SILHOUETTE", (121u << 16) | 70u, (556u << 16) | 66u});
}

void LevelScreen::StartMagnifyingGlassBurst() {
    delete burst;
    burst = new hgeParticleSystem("data/ParticleSystem/MagnifyingGlass.psi",
                                  Services::Sprite(engine, "FourAngleStarParticle"));
    burst->FireAt(52.0f, 525.0f);
    Services::PlaySound(engine, "OnMagnifyingGlassAppear");
}

// ---- panel slide

CAnimationEffector* LevelScreen::LiveSlide() const { return panelSlideToken.expired() ? nullptr : panelSlide; }

void LevelScreen::KillSlide() {
    if (CAnimationEffector* slide = LiveSlide()) slide->Kill();
    panelSlide = nullptr;
    panelSlideToken.reset();
}

CAnimationEffector* LevelScreen::StartSlide(float fromX, float toX) {
    EntityManager* manager = Manager();
    if (!manager || !panel) return nullptr;
    auto* slide = manager->Spawn<CAnimationEffector>();
    slide->AttachTo(panel);
    slide->mode = 0;
    slide->AddKey(CAnimationEffector::TRACK_X, 0.0f, fromX);
    slide->AddKey(CAnimationEffector::TRACK_X, kSlideTime, toX);
    slide->Prepare();
    panelSlide = slide;
    panelSlideToken = slide->GetLifeToken();
    return slide;
}

void LevelScreen::SlidePanelOut() {
    if (panel) StartSlide(panel->GetX(), kPanelOutX);
}

void LevelScreen::SlidePanelIn() { StartSlide(kPanelOutX, 0.0f); }

void LevelScreen::SyncPanelButtons() {
    if (!panel) return;
    const bool exitPaused = exitButton && exitButton->IsPausedInChain();
    if (!IsPanelIn()) {
        if (exitButton && !exitPaused) {
            for (CEntity* entity : {static_cast<CEntity*>(exitButton), static_cast<CEntity*>(helpButton),
                                    static_cast<CEntity*>(pauseButton), static_cast<CEntity*>(bagButton),
                                    static_cast<CEntity*>(magnifyingGlass)})
                PauseEntity(entity);
        }
        return;
    }
    if (exitButton && !exitPaused) return;
    if (!runningMiniGame) ResumeEntity(exitButton);
    ResumeEntity(helpButton);
    ResumeEntity(pauseButton);
    Player* player = Active();
    const bool fieldLive = playField && playField->IsEnabled() && playField->IsAlive() && !playField->IsPaused();
    if (!runningMiniGame && player &&
        (!player->Evidences.empty() || (!player->TempEvidences.empty() && fieldLive)))
        ResumeEntity(bagButton);
    ResumeEntity(magnifyingGlass);
    if (playField) playField->ShowHintTutorial();
    std::vector<std::function<void()>> actions;
    actions.swap(panelInActions);
    for (auto& action : actions) action();
}

// ---- clues

void LevelScreen::BuildClueList() {
    EntityManager* manager = Manager();
    if (!manager || !panel) return;
    hgeFont* font = FontRegistry::GetFont("Comics");
    float y = 120.0f;
    for (const auto& entry : itemsLeft) {
        if (entry.first == "Dummy") continue;
        auto* text = manager->Spawn<TextEntity>(entry.first, this);
        if (levelType == FIND_ALL) text->SetLayout(-15.0f, -4.0f, 115.0f, 10.0f);
        text->SetDepth(1.0f);
        text->SetFont(font);
        text->SetTracking(-7.0f);
        text->SetBox(97.0f, 0.0f);
        text->SetScale(kClueTextScale);
        text->OnScale();
        text->SetAlignment(0);
        text->AttachTo(panel);
        clueMap[entry.first] = text;
    }
    UpdateClueEntries("");
    for (const auto& entry : itemsLeft) {
        const auto found = clueMap.find(entry.first);
        if (found == clueMap.end()) continue;
        TextEntity* text = found->second;
        text->SetSpacing(0.9f);
        text->SetPosXY(20.0f, y);
        y += 12.0f;
        const float width = font ? font->GetStringWidth(text->GetTextRef().c_str(), false) * text->GetTextScale() : 0.0f;
        const float wrap = text->GetTextWidth();
        if (wrap > 0.0f && width > wrap) {
            const bool third = width / wrap >= 1.7f;
            y += third ? 24.0f : 12.0f;
            if (levelType == FIND_ALL) text->SetLayout(-15.0f, -4.0f, 115.0f, third ? 36.0f : 16.0f);
        }
        if (levelType == FIND_ALL) {
            auto* marker = manager->Spawn<CSpriteEntity>();
            marker->AttachSprite(Services::Sprite(engine, "Marker"));
            marker->AttachTo(text);
            marker->SetPosXY(-3.0f, 1.0f);
            marker->SetDepth(1.0f);
        }
        text->OnMove();
    }
}

void LevelScreen::UpdateClueEntries(const std::string& taskName) {
    for (const auto& entry : itemsLeft) {
        if (!taskName.empty() && entry.first != taskName) continue;
        const auto found = clueMap.find(entry.first);
        if (found != clueMap.end()) UpdateClueEntry(entry.second, found->second);
    }
}

void LevelScreen::UpdateClueEntry(const ItemsLeft& item, TextEntity* text) {
    if (levelType != FIND_ALL || !text) return;
    if (item.count <= 0) {
        text->SetText(Text(item.singularKey));
        StrikeOutClue(text);
    } else if (item.count == 1) {
        text->SetText(Text(item.singularKey));
    } else {
        text->SetText(std::to_string(item.count) + " " + Text(item.pluralKey));
    }
}

void LevelScreen::StrikeOutClue(TextEntity* text) {
    EntityManager* manager = Manager();
    if (!manager || !text) return;
    text->SetColor((text->GetColor() & 0x00FFFFFFu) | 0xBB000000u);
    const float wrap = text->GetTextWidth();
    hgeFont* font = text->GetFont();
    const float width = font ? font->GetStringWidth(text->GetTextRef().c_str(), false) : 0.0f;
    int lines = 1;
    if (wrap > 0.0f && 0.8f * width > wrap) lines = 2;
    if (wrap > 0.0f && width / wrap >= 1.7f) lines = 3;
    for (int i = 0; i < lines; ++i) {
        auto* line = manager->Spawn<CSpriteEntity>();
        line->SetSprite("");
        line->SetColor(0xFF000000);
        line->SetScaleX(wrap);
        line->AttachTo(text);
        line->SetPosXY(0.0f, 9.0f * float(i));
        line->SetDepth(2.0f);
    }
}

void LevelScreen::UpdateCluesText() {
    if (!cluesLeftText || !playField) return;
    const unsigned n = playField->CountObjectsToFind();
    cluesLeftText->SetText(std::to_string(n) + " " + Text(n < 2 ? "CLUES_TO_FIND_SINGULAR" : "CLUES_TO_FIND_PLURAL"));
}

void LevelScreen::UpdateHelpText() {
    helpKey = levelType == FIND_DIFFERENCES ? "HELP_FIND_DIFFERENCES" : "HELP_FIND_ALL";
    if (extraType == EXTRA_USE_ITEMS) helpKey = "HELP_USE_INVENTORY_ITEMS";
    if (extraType == EXTRA_MEASURE) helpKey = "HELP_MEASURE";
}
