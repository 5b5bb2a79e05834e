#include "screens/LevelScreen.h"

#include <cstdlib>
#include <functional>

#include "engine/AudioManager.h"
#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "scene/PlayField.h"
#include "screens/LevelEventSwitch.h"
#include "screens/LevelPanel.h"
#include "screens/LevelWindows.h"

namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

// The start of the level's frame: updated before everything else of the level
// (the play field and the panel take the mouse after it).
class LevelFrameStart : public ZOLTFramework::CEntity {
public:
    explicit LevelFrameStart(std::function<void(float)> start) : start(std::move(start)) {
        SetName("LevelFrameStart");
        SetDepth(kDepth);
    }
    void Update(float dt) override { start(dt); }

    static constexpr float kDepth = -100000.0f;

private:
    std::function<void(float)> start;
};

}  // namespace

LevelSettings LevelSettings::Read(const std::string& scenePath) {
    LevelSettings settings;
    XMLDocument scene = XMLDocument::FromFile(scenePath);
    if (!scene.IsLoaded())
        HtmlLog::Instance()->Error("Level: cannot read the scene \"" + scenePath + "\"; it is played as \"FindAll\".");
    const auto root = scene.GetRoot();
    const std::string type = root->GetStringAttribute("type");
    if (type == "FindAll") settings.levelType = FIND_ALL;
    if (type == "FindDifferences") settings.levelType = FIND_DIFFERENCES;
    const std::string extra = root->GetStringAttribute("extra_type");
    if (extra == "UseItems") settings.extraType = EXTRA_USE_ITEMS;
    if (extra == "Measure") settings.extraType = EXTRA_MEASURE;
    if (root->HasAttribute("AllowShowScoreScreen"))
        settings.scoreScreenAllowed = root->GetBoolAttribute("AllowShowScoreScreen", true);
    if (root->HasAttribute("MedalAddingProbability")) {
        settings.medalProbability = root->GetFloatAttribute("MedalAddingProbability");
        settings.medalToAdd = root->GetIntAttribute("MedalToAdd", 0);
    }
    return settings;
}

std::string LevelSettings::HelpKey() const {
    if (extraType == EXTRA_USE_ITEMS) return "HELP_USE_INVENTORY_ITEMS";
    if (extraType == EXTRA_MEASURE) return "HELP_MEASURE";
    return levelType == FIND_DIFFERENCES ? "HELP_FIND_DIFFERENCES" : "HELP_FIND_ALL";
}

LevelScreen::LevelScreen(const std::string& path, const std::string& returnTo)
    : CScreenEntity(path), scenePath(path), returnScreen(returnTo), settings(LevelSettings::Read(path)) {
    Player* player = Active();
    if (player && player->PlayFieldPath != scenePath) {
        player->ScoreItems = 0;
        player->ScoreSpeed = 0;
        player->ScoreMiniGames = 0;
        player->ScoreNode = 0;
    }
    KeepPlayerValues();
    panel = std::make_unique<LevelPanel>(*this, settings);
    windows = std::make_unique<LevelWindows>(*this, settings);
    if (!Manager())
        HtmlLog::Instance()->Error("Level: no entity manager; the level \"" + scenePath + "\" is not built.");
    else
        SpawnChild<LevelFrameStart>([this](float dt) { StartFrame(dt); });
    panel->Build();
    BuildPlayField();
    panel->ReadCounters();
    panel->BuildClueList();
    panel->LoadLayout(kLayoutFile);
    panel->PlaceTools();
    panel->StartClockAnimation();
    StartMusic();
    UpdateHelpText();
    constructing = false;
    ReplayEarlyEvents();
}

LevelScreen::~LevelScreen() = default;

void LevelScreen::BuildPlayField() {
    EntityManager* manager = Manager();
    if (!manager) return;
    playField = manager->Spawn<PlayField>(
        scenePath, this, SceneContext{Active(), &PlayerManager::Instance()->Timer, panel.get(), panel.get()});
    playField->SetName("PlayField");
    playField->AttachTo(this);
    playField->SetDepth(-200.0f);
    playField->OnMove();
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

void LevelScreen::ShowHelp() { windows->ShowHelp(); }

void LevelScreen::ShowLevelComplete() { windows->ShowLevelComplete(); }

void LevelScreen::ShowNextTutorial() { windows->ShowNextTutorial(); }

void LevelScreen::UpdateHelpText() { helpKey = settings.HelpKey(); }

bool LevelScreen::IsPanelIn() const { return panel->IsIn(); }

bool LevelScreen::IsClockRunning() const {
    Player* player = Active();
    return IsPanelIn() && !clockStopped && !windows->IsHintWindowOpen() && player && !player->RelaxedMode;
}

void LevelScreen::UpdatePanelHold(float dt) {
    if (panelHold > 0.0f) {
        panelHold -= dt;
        if (panelHold <= 0.0f) {
            panelHold = 0.0f;
            if (panelInAfterHold && HasFocus() && !IsPanelIn()) panel->SlidePanelIn();
        }
    }
    if (panelHold == 0.0f) panelInAfterHold = false;
}

bool LevelScreen::OpenWaitingStep() {
    const bool shown = playField && playField->IsFullyShown();
    if (windows->HasComic() && shown) {
        ShowNextTutorial();
        return true;
    }
    if (windows->HasHint() && shown && IsPanelIn()) {
        windows->ShowHintScreen();
        return true;
    }
    if (!requestedMiniGame.empty()) {
        LaunchMiniGame();
        return true;
    }
    if (shown) windows->ShowWaitingWindow();
    if (showLevelComplete && shown) {
        ShowLevelComplete();
        showLevelComplete = false;
        return true;
    }
    if (sceneFinished && shown) {
        const std::string next = playField->GetNextScene();
        if (!next.empty())
            OnQuestion(LevelEvents::kActionLoadLevel, next);
        else
            OnQuestion(LevelEvents::kExitToGlobalMap, "");
        return true;
    }
    return false;
}

// A window that opens here, before the play field's turn, takes the frame's
// press from the scene: the field is paused as the window takes the focus.
void LevelScreen::StartFrame(float dt) {
    UpdatePanelHold(dt);
    if (panel->IsSliding()) panel->SyncPanelButtons();
    windowOpened = HasFocus() && OpenWaitingStep();
}

void LevelScreen::Update(float dt) {
    // What the scene asked for while pausing itself (a mini-game) opens in
    // this frame still: no press of the scene's is at stake.
    const bool sceneStill = playField && playField->IsPausedInChain();
    if (windowOpened || (sceneStill && HasFocus() && OpenWaitingStep())) {
        windowOpened = false;
        return;
    }
    CScreenEntity::Update(dt);
    panel->Update(dt, IsClockRunning());
}

void LevelScreen::Render() { panel->Render(); }

void LevelScreen::GotFocus() {
    CScreenEntity::GotFocus();
    UpdateHelpText();
    HtmlLog::Instance()->Info("Level screen gained focus");
    Player* player = Active();
    ButtonExEntity* bagButton = panel->BagButton();
    if (player && bagButton && !runningMiniGame &&
        (!player->Evidences.empty() || !player->LastEvidences.empty() || !player->TempEvidences.empty() ||
         !player->TempLastEvidences.empty()))
        bagButton->Resume();
    if (windows->HasComic()) return;
    const bool wasTutorial = windows->TakeTutorialShown();
    if (panelHold == 0.0f && !IsPanelIn()) panel->SlidePanelIn();
    if (panel->Window() && panel->Window()->IsPausedInChain()) panel->Resume();
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
    if (panelHold == 0.0f && !(!requestedMiniGame.empty() && !creatingMiniGame)) panel->SlidePanelOut();
}
