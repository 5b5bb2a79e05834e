#include "screens/LevelScreen.h"

#include <algorithm>
#include <cstdlib>

#include "engine/AudioManager.h"
#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/Hint.h"
#include "scene/Inventory.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/HelpScreen.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CWindowEntity;
namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

LevelScreen::LevelScreen(const std::string& path, const std::string& returnTo)
    : CScreenEntity(path), returnScreen(returnTo), scenePath(path) {
    Player* player = Active();
    if (player && player->PlayFieldPath != scenePath) {
        player->ScoreItems = 0;
        player->ScoreSpeed = 0;
        player->ScoreMiniGames = 0;
        player->ScoreNode = 0;
    }
    ReadSceneRoot();
    BuildPanel();
    BuildPlayField();
    BuildClueList();
    LoadLayout();
    if (levelType == FIND_DIFFERENCES) UpdateCluesText();
    if ((extraType == EXTRA_USE_ITEMS || extraType == EXTRA_MEASURE) && cluesLeftText)
        cluesLeftText->SetText(Text("USE_INVENTORY"));
    PlaceTools();
    if (hgeResourceManager* resources = engine ? engine->GetResourceManager() : nullptr) {
        if (hgeAnimation* clock = resources->GetAnimation("InGameClock")) {
            clockAnimation = new hgeAnimation(*clock);
            clockAnimation->Play();
        }
    }
    if (!clockAnimation) HtmlLog::Instance()->Error("Level: no animation \"InGameClock\"; the watch is not drawn.");
    StartMusic();
    UpdateHelpText();
    constructing = false;
    ReplayEarlyEvents();
}

LevelScreen::~LevelScreen() {
    delete burst;
    delete clockAnimation;
    delete cigarSmoulder;
    // An options window this level opened goes with it: its answers would
    // reach a level that no longer exists.
    if (!optionsToken.expired() && optionsWindow) optionsWindow->Kill();
}

std::string LevelScreen::Text(const std::string& key) const { return Services::Text(engine, key); }

void LevelScreen::PauseEntity(CEntity* entity) {
    if (entity) entity->Pause();
}

void LevelScreen::ResumeEntity(CEntity* entity) {
    if (entity) entity->Resume();
}

void LevelScreen::ReadSceneRoot() {
    XMLDocument scene = XMLDocument::FromFile(scenePath);
    if (!scene.IsLoaded())
        HtmlLog::Instance()->Error("Level: cannot read the scene \"" + scenePath + "\"; it is played as \"FindAll\".");
    const auto root = scene.GetRoot();
    const std::string type = root->GetStringAttribute("type");
    if (type == "FindAll") levelType = FIND_ALL;
    if (type == "FindDifferences") levelType = FIND_DIFFERENCES;
    const std::string extra = root->GetStringAttribute("extra_type");
    if (extra == "UseItems") extraType = EXTRA_USE_ITEMS;
    if (extra == "Measure") extraType = EXTRA_MEASURE;
    if (root->HasAttribute("AllowShowScoreScreen"))
        scoreScreenAllowed = root->GetBoolAttribute("AllowShowScoreScreen", true);
    if (root->HasAttribute("MedalAddingProbability")) {
        medalProbability = root->GetFloatAttribute("MedalAddingProbability");
        medalToAdd = root->GetIntAttribute("MedalToAdd", 0);
    }
}

void LevelScreen::BuildPanel() {
    EntityManager* manager = Manager();
    if (!manager) {
        HtmlLog::Instance()->Error("Level: no entity manager; the level \"" + scenePath + "\" is not built.");
        return;
    }
    panel = manager->Spawn<CWindowEntity>();
    panel->SetSizeCentered(0.0f, 0.0f);
    panel->SetName("Panel");
    panel->AttachTo(this);
    panel->SetPosXY(kPanelOutX, 0.0f);
    panel->SetDepth(-3.0f);
    panel->SetSpriteName("InGamePanel");
    if (!Services::Sprite(engine, "InGamePanel")) HtmlLog::Instance()->Error("Level: no sprite \"InGamePanel\".");
}

void LevelScreen::BuildPlayField() {
    EntityManager* manager = Manager();
    if (!manager) return;
    playField = manager->Spawn<PlayField>(scenePath, this);
    playField->SetName("PlayField");
    playField->AttachTo(this);
    playField->SetDepth(-200.0f);
    playField->OnMove();
    for (const auto& entry : playField->GetCounters())
        itemsLeft[entry.first] = ItemsLeft{entry.second.count, entry.second.textSingular, entry.second.textPlural};
    if (Inventory* inventory = playField->GetInventory()) {
        inventory->AttachTo(panel);
        inventory->SetDepth(-1.0f);
        inventory->OnMove();
    }
}

void LevelScreen::LoadLayout() {
    EntityManager* manager = Manager();
    if (!manager || !panel) return;
    XMLDocument layout = XMLDocument::FromFile(kLayoutFile);
    if (!layout.IsLoaded()) HtmlLog::Instance()->Error(std::string("Level: cannot read \"") + kLayoutFile + "\".");
    Player* player = Active();
    for (const auto& element : layout.GetRoot()->GetChildren()) {
        const std::string& id = element->GetName();
        ButtonExEntity** button = id == "button_exit"    ? &exitButton
                                  : id == "button_help"  ? &helpButton
                                  : id == "button_pause" ? &pauseButton
                                  : id == "button_bag"   ? &bagButton
                                                         : nullptr;
        if (button) {
            *button = manager->Spawn<ButtonExEntity>(*element, this);
            (*button)->AttachTo(panel);
            (*button)->OnMove();
            TextEntity* caption = (*button)->GetCaption();
            if (caption) {
                caption->SetTracking(-7.0f);
                if (id == "button_help") caption->SetSpacing(0.9f);
            } else if (id == "button_bag") {
                HtmlLog::Instance()->Error("Level: the evidence-case button has no caption; it does not blink.");
            }
            if (id == "button_exit") AddShortcut(27, "Exit");
        } else if (id == "text_time" || id == "text_clues_left") {
            auto* text = manager->Spawn<TextEntity>(*element, nullptr);
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
            HtmlLog::Instance()->Error(std::string("Level: \"") + kLayoutFile + "\" has no \"" + ids[i] +
                                       "\"; the panel goes without it.");
    if (bagButton && player && player->Evidences.empty() && player->TempEvidences.empty()) {
        bagButton->Hide();
        bagButton->Pause();
    }
}

void LevelScreen::PlaceTools() {
    Player* player = Active();
    if (!playField || !player) return;
    if (playField->FindMagnifyingGlassObject()) {
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
        hint->AttachTo(this);
        hint->SetDepth((helpButton ? helpButton->GetDepth() : 0.0f) + 1.0f);
    }
    playField->SetClueMap(&clueMap);
}

void LevelScreen::StartMusic() {
    ZOLTFramework::CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr;
    if (audio)
        HtmlLog::Instance()->Debug("Engine->AudioManager->GetMusicVolume() = " + ValueToString(audio->GetMusicVolume()));
    const int r = std::rand() % 3;
    const std::string track = r == 1 ? "music2" : r == 2 ? "music3" : "music1";
    if (audio) audio->PlayMusic(track, true);
    PlayerManager::Instance()->CurrentMusic = track;
}

void LevelScreen::ReplayEarlyEvents() {
    // Events sent while the screen was built (the loader's "ShowPanel", the
    // actions without a condition) find every widget in place now.
    std::vector<std::pair<std::string, std::string>> events;
    events.swap(earlyEvents);
    for (const auto& event : events) OnQuestion(event.first, event.second);
}

void LevelScreen::SetActivePlayerScoreNode(int value) {
    if (Player* player = Active()) player->ScoreNode = value;
}

bool LevelScreen::IsPanelIn() const { return panel && panel->GetX() == 0.0f; }

bool LevelScreen::IsClockRunning() const {
    Player* player = Active();
    return IsPanelIn() && !clockStopped && !hintWindowOpen && player && !player->RelaxedMode;
}

HelpScreen* LevelScreen::GetHelpScreen() const { return helpScreenToken.expired() ? nullptr : helpScreen; }

void LevelScreen::Update(float dt) {
    if (panelHold > 0.0f) {
        panelHold -= dt;
        if (panelHold <= 0.0f) {
            panelHold = 0.0f;
            if (panelInAfterHold && HasFocus() && !IsPanelIn()) SlidePanelIn();
        }
    }
    if (panelHold == 0.0f) panelInAfterHold = false;
    if (LiveSlide()) SyncPanelButtons();
    const bool shown = playField && playField->IsFullyShown();
    if (HasFocus()) {
        if (!comicQueue.empty() && shown) {
            ShowNextTutorial();
            return;
        }
        if (!hintQueue.empty() && shown && IsPanelIn()) {
            ShowHintScreen();
            return;
        }
        if (!requestedMiniGame.empty()) {
            LaunchMiniGame();
            return;
        }
        if (readyWindow && readyWindow->IsHidden() && shown) readyWindow->Show();
        if (showLevelComplete && shown) {
            ShowLevelComplete();
            showLevelComplete = false;
            return;
        }
        if (sceneFinished && shown) {
            const std::string next = playField->GetNextScene();
            if (!next.empty())
                OnQuestion("ACTION_LOAD_LEVEL", next);
            else
                OnQuestion("EXIT_TO_GLOBAL_MAP", "");
            return;
        }
    }
    CScreenEntity::Update(dt);
    if (burst) burst->Update(dt);
    if (IsClockRunning()) RunClock(dt);
    if (cigarSprite) {
        UpdateCigarButton();
        UpdateCigarSmoulder(dt);
    }
    if (clockAnimation) clockAnimation->Update(dt);
}

void LevelScreen::Render() {
    HGE* hge = Services::Hge(engine);
    if (silhouetteSprite && magnifyingGlass && panel) {
        hgeSprite* sprite = silhouetteSprite;
        float hx = 0.0f, hy = 0.0f;
        sprite->GetHotSpot(&hx, &hy);
        const DWORD colors[4] = {sprite->GetColor(0), sprite->GetColor(1), sprite->GetColor(2), sprite->GetColor(3)};
        const int blend = sprite->GetBlendMode();
        sprite->SetHotSpot(sprite->GetWidth() * 0.5f, sprite->GetHeight() * 0.5f);
        sprite->SetColor(0x77000000);
        sprite->SetBlendMode(BLEND_COLORMUL | BLEND_ALPHABLEND);
        const float s = std::max(sprite->GetWidth(), sprite->GetHeight());
        const float scale = s > 60.0f ? 60.0f / s : 1.0f;
        // The lens on the panel: where the panel stands now.
        sprite->RenderEx(panel->GetAbsoluteX() + 58.0f, panel->GetAbsoluteY() + 560.0f, 0.0f, scale, scale);
        sprite->SetHotSpot(hx, hy);
        for (int i = 0; i < 4; ++i) sprite->SetColor(colors[i], i);
        sprite->SetBlendMode(blend);
    }
    if (burst) burst->Render();
    if (cigarCooldown > 0.0f && cigarSmoulder && cigarButton)
        cigarSmoulder->Render(cigarButton->GetAbsoluteX() + 25.0f, cigarButton->GetAbsoluteY() - 3.0f);
    if (clockAnimation && panel)
        clockAnimation->RenderEx(panel->GetAbsoluteX() + 65.0f, panel->GetAbsoluteY() + 50.0f, 0.0f, 0.8f, 0.8f);
    (void)hge;
}

void LevelScreen::GotFocus() {
    CScreenEntity::GotFocus();
    UpdateHelpText();
    HtmlLog::Instance()->Info("Level screen gained focus");
    Player* player = Active();
    if (player && bagButton && !runningMiniGame &&
        (!player->Evidences.empty() || !player->LastEvidences.empty() || !player->TempEvidences.empty() ||
         !player->TempLastEvidences.empty()))
        bagButton->Resume();
    if (!comicQueue.empty()) return;
    const bool wasTutorial = tutorialShown;
    tutorialShown = false;
    if (panelHold == 0.0f && !IsPanelIn()) SlidePanelIn();
    if (panel && panel->IsPausedInChain()) panel->Resume();
    if (!creatingMiniGame && requestedMiniGame.empty() && playField) {
        float mx = 0.0f, my = 0.0f;
        if (HGE* hge = Services::Hge(engine)) hge->Input_GetMousePos(&mx, &my);
        playField->Resume();
        playField->GotFocus();
        hgeSprite* panelSprite = Services::Sprite(engine, "InGamePanel");
        playField->OnMouseOver(mx > (panelSprite ? panelSprite->GetWidth() : 0.0f));
    }
    if (wasTutorial && playField) playField->CheckFinished();
}

void LevelScreen::LostFocus() {
    HtmlLog::Instance()->Info("Level screen lost focus");
    CScreenEntity::LostFocus();
    if (playField) {
        playField->Pause();
        playField->LostFocus();
    }
    if (panelHold == 0.0f && !(!requestedMiniGame.empty() && !creatingMiniGame)) SlidePanelOut();
}
