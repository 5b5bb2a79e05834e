// The level's panel: the clock, the cigars, the magnifying glass, the slide of
// the panel, its buttons and the list of clues.
#include "screens/LevelPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/EngineContext.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
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
#include "scene/Inventory.h"
#include "scene/LevelEvents.h"
#include "scene/SceneObject.h"
#include "entities/widgets/ColorSwitcher.h"
#include "scene/SceneKind.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::EngineContext;
using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;
using ZOLTFramework::CWindowEntity;
namespace Services = ZOLTFramework::Services;

namespace {

// The clue rows stand 12 px apart; the "Comics" font (drawn large in the comic
// bubbles) is scaled to that line.
const float kClueTextScale = 0.55f;
const float kClueTracking = -7.0f;

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

std::string Count(int value) { return std::to_string(value); }

// A named picture of the panel on `parent`; a missing sprite is an Error row.
CSpriteEntity* SpawnPicture(EntityManager& manager, EngineContext* engine, CEntity* parent,
                            const char* name, const char* sprite) {
    auto* picture = manager.Spawn<CSpriteEntity>();
    picture->SetName(name);
    picture->AttachSprite(Services::Sprite(engine, sprite));
    if (!picture->GetSprite()) HtmlLog::Instance()->Error(std::string("Level: no sprite \"") + sprite + "\".");
    picture->AttachTo(parent);
    return picture;
}

void PauseIfAny(CEntity* entity) {
    if (entity) entity->Pause();
}

void ResumeIfAny(CEntity* entity) {
    if (entity) entity->Resume();
}

}  // namespace

LevelPanel::LevelPanel(const LevelHost& levelHost, const LevelStatus& levelStatus, HintQueue& hintQueue,
                       SceneRequests& requests)
    : host(levelHost), status(levelStatus), hints(hintQueue), scene(requests) {}

LevelPanel::~LevelPanel() {
    delete burst;
    delete clockAnimation;
    delete cigarSmoulder;
}

EntityManager* LevelPanel::Manager() const { return host.entity.Manager(); }

std::string LevelPanel::Text(const std::string& key) const { return Services::Text(host.entity.GetEngine(), key); }

void LevelPanel::Pause() { PauseIfAny(panel); }

void LevelPanel::Resume() { ResumeIfAny(panel); }

// ---- building

void LevelPanel::Build() {
    EntityManager* manager = Manager();
    if (!manager) return;
    panel = manager->Spawn<CWindowEntity>();
    panel->SetSizeCentered(0.0f, 0.0f);
    panel->SetName("Panel");
    panel->AttachTo(&host.entity);
    panel->SetPosXY(kPanelOutX, 0.0f);
    panel->SetDepth(-3.0f);
    panel->SetSpriteName("InGamePanel");
    if (hgeSprite* picture = Services::Sprite(host.entity.GetEngine(), "InGamePanel"))
        panelWidth = picture->GetWidth();
    else
        HtmlLog::Instance()->Error("Level: no sprite \"InGamePanel\".");
    // The box the bag lies in, in the panel's open corner: under the bag (at
    // -1), over the scene, which would show beside the bag otherwise.
    CSpriteEntity* recess = SpawnPicture(*manager, host.entity.GetEngine(), panel, "BagRecess", "InGamePanelRecess");
    recess->SetPosXY(0.0f, kRecessY);
    recess->SetDepth(-2.0f);
    recess->OnMove();
}

float LevelPanel::PanelRight() const { return panel ? panel->GetAbsoluteX() + panelWidth : 0.0f; }

void LevelPanel::AttachField(PlayFieldView view) { field = view; }

void LevelPanel::ReadCounters() {
    if (!field.HasField()) return;
    for (const auto& entry : field.Counters())
        itemsLeft[entry.first] = ItemsLeft{entry.second.count, entry.second.textSingular, entry.second.textPlural};
}

void LevelPanel::LoadLayout(const char* layoutFile) {
    EntityManager* manager = Manager();
    if (!manager || !panel) return;
    XMLDocument layout = XMLDocument::FromFile(layoutFile);
    if (!layout.IsLoaded()) HtmlLog::Instance()->Error(std::string("Level: cannot read \"") + layoutFile + "\".");
    Player* player = Active();
    for (const auto& element : layout.GetRoot()->GetChildren()) {
        const std::string& id = element->GetName();
        ButtonExEntity** button = id == "button_exit"    ? &exitButton
                                  : id == "button_help"  ? &helpButton
                                  : id == "button_pause" ? &pauseButton
                                  : id == "button_bag"   ? &bagButton
                                                         : nullptr;
        if (button) {
            *button = manager->Spawn<ButtonExEntity>(*element, &host.buttons);
            (*button)->AttachTo(panel);
            (*button)->OnMove();
            TextEntity* caption = (*button)->GetCaption();
            if (caption) {
                caption->SetTracking(-7.0f);
                if (id == "button_help") caption->SetSpacing(0.9f);
            } else if (id == "button_bag") {
                HtmlLog::Instance()->Error("Level: the evidence-case button has no caption; it does not blink.");
            }
        } else if (id == "text_time" || id == "text_clues_left") {
            auto* text = manager->Spawn<TextEntity>(*element, nullptr);
            text->SetName(id);
            text->AttachTo(panel);
            text->OnMove();
            if (id == "text_time") {
                timeText = text;
                if (player && player->RelaxedMode) {
                    text->SetText(Text("RELAXED_MODE_SMALL"));
                    text->SetTracking(-5.0f);
                } else {
                    text->SetTracking(-7.0f);
                    if (player) text->SetText(FormatTime(player->Time));
                }
            } else {
                cluesLeftText = text;
                text->SetSpacing(0.9f);
                text->SetTracking(-6.0f);
            }
        }
    }
    const char* const ids[] = {"button_exit", "button_help", "button_pause", "button_bag", "text_time",
                               "text_clues_left"};
    const bool present[] = {exitButton != nullptr, helpButton != nullptr, pauseButton != nullptr,
                            bagButton != nullptr, timeText != nullptr, cluesLeftText != nullptr};
    for (size_t i = 0; i < 6; ++i)
        if (!present[i])
            HtmlLog::Instance()->Error(std::string("Level: \"") + layoutFile + "\" has no \"" + ids[i] +
                                       "\"; the panel goes without it.");
    if (bagButton && player && player->Evidences.empty() && player->TempEvidences.empty()) {
        bagButton->Hide();
        bagButton->Pause();
    }
    if (!field.HasField()) return;
    if (field.Kind().ClueLayout() == SceneKind::Clues::Count) UpdateCluesText();
    const std::string toolsKey = field.Kind().CluesTextKey();
    if (!toolsKey.empty() && cluesLeftText) cluesLeftText->SetText(Text(toolsKey));
}

void LevelPanel::PlaceTools() {
    Player* player = Active();
    if (!field.HasField() || !player) return;
    if (field.HasGlassToFind()) {
        player->CigarCount = 0;
    } else {
        ShowMagnifyingGlass(false);
        const int count = player->CigarsInPlay();
        player->CigarCount = 0;
        for (int i = 0; i < count; ++i) AddCigar(false);
    }
    if (EntityManager* manager = Manager()) hint = manager->Spawn<Hint>();
    if (hint) {
        hint->Hide();
        hint->AttachTo(&host.entity);
        // Over the panel, and over all of the scene: a dark scene's dark too,
        // or the smoke ring would be lost in it.
        hint->SetDepth(std::max((helpButton ? helpButton->GetDepth() : 0.0f) + 1.0f,
                                field.TopDepth() + 1.0f));
    }
}

void LevelPanel::StartClockAnimation() {
    EngineContext* engine = host.entity.GetEngine();
    if (hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr) {
        if (hgeAnimation* clock = resources->GetAnimation("InGameClock")) {
            clockAnimation = new hgeAnimation(*clock);
            clockAnimation->Play();
        }
    }
    if (!clockAnimation) HtmlLog::Instance()->Error("Level: no animation \"InGameClock\"; the watch is not drawn.");
}

void LevelPanel::Update(float dt, bool clockRunning) {
    RefreshClues();
    if (burst) burst->Update(dt);
    if (clockRunning) RunClock(dt);
    if (cigarSprite) {
        UpdateCigarButton();
        UpdateCigarSmoulder(dt);
    }
    if (clockAnimation) clockAnimation->Update(dt);
}

void LevelPanel::Render() {
    RenderSilhouette();
    if (burst) burst->Render();
    if (cigarCooldown > 0.0f && cigarSmoulder && cigarButton)
        cigarSmoulder->Render(cigarButton->GetAbsoluteX() + 25.0f, cigarButton->GetAbsoluteY() - 3.0f);
    if (clockAnimation && panel)
        clockAnimation->RenderEx(panel->GetAbsoluteX() + 65.0f, panel->GetAbsoluteY() + 50.0f, 0.0f, 0.8f, 0.8f);
}

// The shadow of the task under the mouse, in the lens on the panel: where the
// panel stands now.
// The picture is the scene's: the shadow is drawn from a copy, with its own
// hot spot, colour and blend, and the scene's picture stays as it is.
void LevelPanel::RenderSilhouette() {
    if (!silhouetteSprite || !magnifyingGlass || !panel) return;
    hgeSprite shadow(*silhouetteSprite);
    shadow.SetHotSpot(shadow.GetWidth() * 0.5f, shadow.GetHeight() * 0.5f);
    shadow.SetColor(0x77000000);
    shadow.SetBlendMode(BLEND_COLORMUL | BLEND_ALPHABLEND);
    const float s = std::max(shadow.GetWidth(), shadow.GetHeight());
    const float scale = s > 60.0f ? 60.0f / s : 1.0f;
    shadow.RenderEx(panel->GetAbsoluteX() + 58.0f, panel->GetAbsoluteY() + 560.0f, 0.0f, scale, scale);
}

bool LevelPanel::ClueTarget(const std::string& taskName, float& screenY) const {
    const auto clue = clueMap.find(taskName);
    if (clue == clueMap.end() || !clue->second) return false;
    screenY = clue->second->GetAbsoluteY() + 6.0f;
    return true;
}

void LevelPanel::ShowSilhouette(const std::string& taskName) {
    if (!clueMap.count(taskName)) return;
    silhouetteSprite = field.HasField() ? field.TaskSprite(taskName) : nullptr;
    silhouetteName = taskName;
}

void LevelPanel::HideSilhouette(const std::string& taskName) {
    if (clueMap.count(taskName) && taskName == silhouetteName) silhouetteSprite = nullptr;
}

bool LevelPanel::IsIn() const { return panel && panel->GetX() == 0.0f; }

void LevelPanel::WhenIn(std::function<void()> action) { panelInActions.push_back(std::move(action)); }

void LevelPanel::OnTaskChanged(const std::string& taskName) {
    changedTasks.push_back(taskName);
    if (taskName == "Cigars") AddCigar(true);
}

void LevelPanel::RefreshClues() {
    if (changedTasks.empty()) return;
    std::vector<std::string> changed;
    changed.swap(changedTasks);
    if (!field.HasField()) return;
    // The count of each changed task as the rules have it now.
    const auto& counters = field.Counters();
    for (const std::string& taskName : changed) {
        const auto found = counters.find(taskName);
        ItemsLeft& entry = itemsLeft[taskName];
        if (found != counters.end()) {
            entry.count = found->second.count;
            entry.singularKey = found->second.textSingular;
            entry.pluralKey = found->second.textPlural;
        } else {
            entry.count = 0;
        }
    }
    for (auto& clue : clueMap)
        if (clue.second) clue.second->Kill();
    clueMap.clear();
    BuildClueList();
    if (field.Kind().ClueLayout() == SceneKind::Clues::Count) UpdateCluesText();
}

// ---- clock

void LevelPanel::RunClock(float dt) {
    Player* player = Active();
    if (!player) return;
    const float old = player->Time;
    if (old > 0.0f) player->Time -= dt;
    if (player->Time <= 0.0f && old != 0.0f) {
        player->Time = 0.0f;
        TimeOut();
    }
    if (timeText) timeText->SetText(FormatTime(player->Time));
    if (player->Time <= kCriticalTime) {
        if (std::trunc(old) != std::trunc(player->Time)) Services::PlaySound(host.entity.GetEngine(), "OnCriticalTime");
        if (old > kCriticalTime && timeText) timeText->SetColor(0xFFFF0000);
    }
}

void LevelPanel::TimeOut() {
    if (EntityManager* manager = Manager()) {
        auto* lose = manager->OpenScreen<OKScreen>("Lose", "data/Screens/DialogOk.xml", &host.questions);
        lose->AttachTo(&host.entity);
        lose->SetLayer(2010.0f);
        lose->SetText("TIME_OUT");
    }
    Services::PlaySound(host.entity.GetEngine(), "OnTimeOut");
    PauseIfAny(panel);
    scene.TimeOutScene();
}

std::string LevelPanel::FormatTime(float seconds) {
    // A time from a file may lie beyond the range of int.
    const int whole = FileNumbers::ClampToInt(seconds);
    const int s = whole % 60;
    const int m = FileNumbers::ClampToInt(seconds / 60.0f);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", m, s < 0 ? -s : s);
    return text;
}

void LevelPanel::ShowTimePenalty(float change) {
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
    Services::PlaySound(host.entity.GetEngine(), "OnTimePenalty");
}

// ---- cigars

void LevelPanel::AddCigar(bool withTutorial) {
    EntityManager* manager = Manager();
    Player* player = Active();
    if (!manager || !player || !panel) return;
    if (!cigarButton) {
        cigarButton = manager->Spawn<ZOLTFramework::CButtonEntity>("CigarButton", &host.buttons);
        cigarButton->SetSizeCentered(0.0f, 0.0f);
        cigarButton->AttachTo(panel);
        cigarSprite = SpawnPicture(*manager, host.entity.GetEngine(), cigarButton, "Cigar", "InGameCigar");
        cigarButton->SetPosXY(50.0f, 360.0f);
        cigarButton->SetDepth(2.0f);
        cigarCounter = manager->Spawn<TextEntity>("CigarCounter", nullptr);
        cigarCounter->SetPosXY(-22.0f, -25.0f);
        cigarCounter->SetDepth(1.0f);
        cigarCounter->SetFont(FontRegistry::GetFont("Comics"));
        cigarCounter->AttachTo(cigarButton);
        cigarButton->OnMove();
        if (withTutorial && field.HasField() && field.Counters().count("Magnifying glass")) {
            cigarSmoke = CreateCigarSmoke();
            if (cigarSmoke) {
                cigarSmoke->AttachTo(cigarButton);
                cigarSmoke->OnMove();
            }
            hints.Queue(LevelEvents::TutorialInfo{"TUTORIAL_CIGAR", (360u << 16) | 90u, 0u});
        }
        if (hgeResourceManager* resources = host.entity.GetEngine() ? host.entity.GetEngine()->GetResourceManager() : nullptr)
            if (hgeAnimation* smoulder = resources->GetAnimation("InGameCigarSmolder"))
                cigarSmoulder = new hgeAnimation(*smoulder);
        if (!cigarSmoulder) HtmlLog::Instance()->Error("Level: no animation \"InGameCigarSmolder\".");
    }
    if (player->CigarCount < INT32_MAX) player->CigarCount += 1;
    cigarCounter->SetText(Count(player->CigarCount));
}

void LevelPanel::UseCigar() {
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

void LevelPanel::UpdateCigarButton() {
    if (!cigarSprite || !cigarButton) return;
    if (exitButton && exitButton->IsPausedInChain()) return;
    hgeSprite* normal = Services::Sprite(host.entity.GetEngine(), "InGameCigar");
    // A hidden cigar button is not there to be clicked.
    if (cigarButton->IsHiddenInChain()) {
        if (normal) cigarSprite->AttachSprite(normal);
        return;
    }
    HGE* hge = Services::Hge(host.entity.GetEngine());
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
        if (hgeSprite* lit = Services::Sprite(host.entity.GetEngine(), "InGameCigarHighlighted")) cigarSprite->AttachSprite(lit);
        // Held, or pressed in this frame: a tap lets go within the frame it went down.
        if (hge && (hge->Input_GetKeyState(HGEK_LBUTTON) || hge->Input_KeyDown(HGEK_LBUTTON))) UseCigar();
    } else if (normal) {
        cigarSprite->AttachSprite(normal);
    }
}

void LevelPanel::UpdateCigarSmoulder(float dt) {
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

CEntity* LevelPanel::CreateCigarSmoke() {
    EntityManager* manager = Manager();
    if (!manager) return nullptr;
    auto* smoke = manager->Spawn<ParticleSystemEntity>();
    smoke->Load("data/ParticleSystem/Cigar.psi", Services::Sprite(host.entity.GetEngine(), "CigarAppearingParticle"));
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
    Services::PlaySound(host.entity.GetEngine(), "OnMagnifyingGlassAppear");
    return smoke;
}

void LevelPanel::FlyHintToObject() {
    SceneObject* object = scene.PickHintObject();
    if (object && hint) hint->FlyTo(object);
}

// ---- magnifying glass

void LevelPanel::ShowMagnifyingGlass(bool withTutorial) {
    EntityManager* manager = Manager();
    if (!manager || !panel) return;
    // The glass stands on the panel once, however often it is given.
    if (!magnifyingGlass) {
        magnifyingGlass = SpawnPicture(*manager, host.entity.GetEngine(), panel, "MagnifyingGlass", "InGameMagnifyingGlass");
        magnifyingGlass->SetPosXY(52.0f, 555.0f);
        magnifyingGlass->SetDepth(1.0f);
        magnifyingGlass->OnMove();
    }
    if (!withTutorial) return;
    StartMagnifyingGlassBurst();
    hints.Queue(LevelEvents::TutorialInfo{"TUTORIAL_MAGNIFYING_GLASS", 0u, 0u});
    hints.Queue(LevelEvents::TutorialInfo{"TUTORIAL_MAGNIFYING_GLASS_SILHOUETTE", (121u << 16) | 70u, (556u << 16) | 66u});
}

void LevelPanel::StartMagnifyingGlassBurst() {
    delete burst;
    burst = new hgeParticleSystem("data/ParticleSystem/MagnifyingGlass.psi",
                                  Services::Sprite(host.entity.GetEngine(), "FourAngleStarParticle"));
    burst->FireAt(52.0f, 525.0f);
    Services::PlaySound(host.entity.GetEngine(), "OnMagnifyingGlassAppear");
}

// ---- panel slide

bool LevelPanel::IsSliding() const { return !panelSlideToken.expired() && panelSlide; }

void LevelPanel::KillSlide() {
    if (IsSliding()) panelSlide->Kill();
    panelSlide = nullptr;
    panelSlideToken.reset();
}

CAnimationEffector* LevelPanel::StartSlide(float fromX, float toX) {
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

void LevelPanel::SlidePanelOut() {
    if (panel) StartSlide(panel->GetX(), kPanelOutX);
}

void LevelPanel::SlidePanelIn() { StartSlide(kPanelOutX, 0.0f); }

void LevelPanel::SyncPanelButtons() {
    if (!panel) return;
    const bool exitPaused = exitButton && exitButton->IsPausedInChain();
    if (!IsIn()) {
        if (exitButton && !exitPaused) {
            for (CEntity* entity : {static_cast<CEntity*>(exitButton), static_cast<CEntity*>(helpButton),
                                    static_cast<CEntity*>(pauseButton), static_cast<CEntity*>(bagButton),
                                    static_cast<CEntity*>(magnifyingGlass)})
                PauseIfAny(entity);
        }
        return;
    }
    if (exitButton && !exitPaused) return;
    if (!status.RunningMiniGame()) ResumeIfAny(exitButton);
    ResumeIfAny(helpButton);
    ResumeIfAny(pauseButton);
    Player* player = Active();
    const bool fieldLive = field.HasField() && field.IsLive();
    if (!status.RunningMiniGame() && player &&
        (!player->Evidences.empty() || (!player->TempEvidences.empty() && fieldLive)))
        ResumeIfAny(bagButton);
    ResumeIfAny(magnifyingGlass);
    scene.ShowClueListTutorial();
    std::vector<std::function<void()>> actions;
    actions.swap(panelInActions);
    for (auto& action : actions) action();
}

// ---- clues

void LevelPanel::BuildClueList() {
    EntityManager* manager = Manager();
    if (!manager || !panel) return;
    hgeFont* font = FontRegistry::GetFont("Comics");
    const bool listed = !field.HasField() || field.Kind().ClueLayout() == SceneKind::Clues::List;
    float y = 120.0f;
    for (const auto& entry : itemsLeft) {
        if (entry.first == kDummyTask) continue;
        auto* text = manager->Spawn<TextEntity>(entry.first, &host.buttons);
        if (listed) text->SetLayout(-15.0f, -4.0f, 115.0f, 10.0f);
        text->SetDepth(1.0f);
        text->SetFont(font);
        text->SetTracking(kClueTracking);
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
        // Measured as it is drawn (its tracking, the clue's scale), or a clue
        // that fits its line would leave an empty row under it.
        float width = 0.0f;
        if (font) {
            const float tracking = font->GetTracking(), scale = font->GetScale();
            font->SetTracking(kClueTracking);
            font->SetScale(1.0f);
            width = font->GetStringWidth(text->GetTextRef().c_str(), false) * text->GetAbsoluteScale() *
                    text->GetTextScale();
            font->SetScale(scale);
            font->SetTracking(tracking);
        }
        const float wrap = text->GetTextWidth();
        if (wrap > 0.0f && width > wrap) {
            const bool third = width / wrap >= 1.7f;
            y += third ? 24.0f : 12.0f;
            if (listed) text->SetLayout(-15.0f, -4.0f, 115.0f, third ? 36.0f : 16.0f);
        }
        if (listed) {
            auto* marker = manager->Spawn<CSpriteEntity>();
            marker->AttachSprite(Services::Sprite(host.entity.GetEngine(), "Marker"));
            marker->AttachTo(text);
            marker->SetPosXY(-3.0f, 1.0f);
            marker->SetDepth(1.0f);
        }
        text->OnMove();
    }
}

void LevelPanel::UpdateClueEntries(const std::string& taskName) {
    for (const auto& entry : itemsLeft) {
        if (!taskName.empty() && entry.first != taskName) continue;
        const auto found = clueMap.find(entry.first);
        if (found != clueMap.end()) UpdateClueEntry(entry.second, found->second);
    }
}

void LevelPanel::UpdateClueEntry(const ItemsLeft& item, TextEntity* text) {
    if ((field.HasField() && field.Kind().ClueLayout() != SceneKind::Clues::List) || !text) return;
    if (item.count <= 0) {
        text->SetText(Text(item.singularKey));
        StrikeOutClue(text);
    } else if (item.count == 1) {
        text->SetText(Text(item.singularKey));
    } else {
        text->SetText(std::to_string(item.count) + " " + Text(item.pluralKey));
    }
}

void LevelPanel::StrikeOutClue(TextEntity* text) {
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

void LevelPanel::UpdateCluesText() {
    if (!cluesLeftText || !field.HasField()) return;
    const unsigned n = field.CountObjectsToFind();
    cluesLeftText->SetText(std::to_string(n) + " " + Text(n < 2 ? "CLUES_TO_FIND_SINGULAR" : "CLUES_TO_FIND_PLURAL"));
}

// ---- the evidence case

void LevelPanel::ShowBagTutorial() {
    EntityManager* manager = Manager();
    if (!bagButton || !manager) return;
    if (bagButton->IsHiddenInChain()) {
        // The arrow points at the button where the panel's layout put it.
        const uint32_t at = (uint32_t(std::max(0.0f, bagButton->GetY())) << 16) | uint32_t(std::max(0.0f, bagButton->GetX()));
        WhenIn([this, at] { hints.Queue(LevelEvents::TutorialInfo{"TUTORIAL_BAG", at, 0u}); });
    }
    bagButton->Show();
    bagButton->Resume();
    if (bagMarker) bagMarker->Kill();
    bagMarker = nullptr;
    TextEntity* caption = bagButton->GetCaption();
    if (!caption) {
        HtmlLog::Instance()->Error("Level: the evidence-case button has no caption to blink.");
        return;
    }
    auto* marker = manager->Spawn<ColorSwitcher>(0xFFFFFFFFu, 0x99FFFF00u, 0.3f);
    marker->AttachTo(caption);
    marker->Start();
    bagMarker = marker;
}

void LevelPanel::StopBagBlinking() {
    if (!bagMarker) return;
    bagMarker->Pause();
    if (bagButton)
        if (TextEntity* caption = bagButton->GetCaption()) caption->SetColor(0xFFFFFFFF);
    bagMarker->Kill();
    bagMarker = nullptr;
}
