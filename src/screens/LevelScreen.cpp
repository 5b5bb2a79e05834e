#include "screens/LevelScreen.h"

#include <cstdlib>
#include <functional>

#include "engine/AudioManager.h"
#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "graphics/hgeSprite.h"
#include "profiles/LevelProgress.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "scene/Inventory.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldView.h"
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

LevelScreen::LevelScreen(const std::string& path, const std::string& returnTo)
    : CScreenEntity(path), scenePath(path), returnScreen(returnTo) {
    Player* player = Active();
    // Named by the player: a state saved before, or a scene after the place's
    // won scenes, whose node score the player holds.
    const bool resumed = player && player->PlayFieldPath == scenePath;
    if (player && !resumed) {
        player->ScoreItems = 0;
        player->ScoreSpeed = 0;
        player->ScoreMiniGames = 0;
        player->ScoreNode = 0;
    }
    resumeUnchecked = resumed;
    const LevelHost host{*this, *this, *this};
    LevelStatus& status = *this;
    SceneRequests& scene = *this;
    panel = std::make_unique<LevelPanel>(host, status, hints, scene);
    windows = std::make_unique<LevelWindows>(host, status, *panel, hints, scene, settings, returnScreen);
    if (!Manager())
        HtmlLog::Instance()->Error("Level: no entity manager; the level \"" + HtmlLog::Shown(scenePath) + "\" is not built.");
    else
        SpawnChild<LevelFrameStart>([this](float dt) { StartFrame(dt); });
    panel->Build();
    BuildPlayField();
    if (playField) {
        // The scene file is read once, by the field: the level's settings come
        // from the same document.
        settings = LevelSettings::Read(playField->SceneRoot());
        // A scene the place goes on with has no progress of its own yet.
        if (resumed && player->NamesSavedState()) TakeSavedProgress();
        panel->AttachField(PlayFieldView(*playField));
        windows->AttachField(PlayFieldView(*playField));
    }
    // Before the scene's own actions (held until the screen stands) change
    // anything: the values Continue would start this level with.
    KeepPlayerValues();
    panel->ReadCounters();
    // The bag lies in the panel's open corner, under the panel's pictures.
    if (playField && panel->Window()) {
        Inventory* bag = playField->GetInventory();
        bag->AttachTo(panel->Window());
        bag->SetDepth(-1.0f);
        bag->OnMove();
    }
    panel->BuildClueList();
    panel->LoadLayout(kLayoutFile);
    if (panel->ExitButton()) AddShortcut(27, "Exit");  // Escape
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

void LevelScreen::TakeSavedProgress() {
    Player* player = Active();
    if (!player || !playField) return;
    if (!LevelProgress::ReadState(playField->SceneRoot(), *player,
                                  "Level \"" + HtmlLog::Shown(scenePath) + "\": the saved "))
        HtmlLog::Instance()->Info("Level \"" + HtmlLog::Shown(scenePath) +
                                  "\": no saved progress in it; the scores, time and cigars of the players file stand.");
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

void LevelScreen::ShowHelp() { windows->ShowHelp(helpKey); }

void LevelScreen::ShowLevelComplete() { windows->ShowLevelComplete(); }

void LevelScreen::ShowNextTutorial() { windows->ShowNextTutorial(); }

void LevelScreen::TimeOutScene() {
    if (playField) playField->LostFocus();
}

void LevelScreen::LeaveScene() {
    if (playField) playField->OnMouseOver(false);
}

SceneObject* LevelScreen::PickHintObject() { return playField ? playField->FindHintObject() : nullptr; }

void LevelScreen::ShowClueListTutorial() {
    if (playField) playField->ShowHintTutorial();
}

void LevelScreen::UpdateHelpText() { helpKey = playField ? playField->Kind().HelpKey() : "HELP_FIND_ALL"; }


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

bool LevelScreen::EndResumedLevel() {
    resumeUnchecked = false;
    Player* player = Active();
    if (player && !player->RelaxedMode && player->Time <= 0.0f) {
        // The clock times out only as it crosses 0: a level saved (or edited)
        // with none left ends here, as one lost on time does.
        HtmlLog::Instance()->Info("Level: \"" + HtmlLog::Shown(scenePath) + "\" resumes with no time left; it is lost.");
        player->Time = 0.0f;
        panel->TimeOut();
        return true;
    }
    if (playField) playField->CheckFinished();
    return false;
}

bool LevelScreen::OpenWaitingStep() {
    const bool shown = playField && playField->IsFullyShown();
    if (resumeUnchecked && shown && EndResumedLevel()) return true;
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
    // The extra-cigar window waits for what the panel's coming in opens (the
    // case's tutorial), so that no window comes up over it.
    if (shown && !panel->HasActionsWhenIn()) windows->ShowWaitingWindow();
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
