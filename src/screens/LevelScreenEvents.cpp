// The level's answers to events, dialogs and buttons, and its ways out: to
// the menu, to the map or the next level, and the save when the game quits.
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "platform/FileSystem.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldStateWriter.h"
#include "screens/BagScreen.h"
#include "screens/CMenuScreen.h"
#include "screens/FinalScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelPanel.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"

using ZOLTFramework::CEntity;
namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

void LevelScreen::OnQuestion(const std::string& name, const std::string& value) {
    if (constructing) {
        earlyEvents.emplace_back(name, value);
        return;
    }
    lastEvent = name;
    Dispatch(name, value);
}

void LevelScreen::ResumeAfterOptions() {
    panel->Resume();
    panel->SlidePanelIn();
    // The in-game options window stopped the clock while it was open.
    clockStopped = false;
}

void LevelScreen::HoldPanelOut(float seconds) {
    panel->SlidePanelOut();
    panelHold = seconds;
}

void LevelScreen::RequestMiniGame(const std::string& path) {
    requestedMiniGame = path;
    if (playField) {
        playField->Pause();
        playField->PauseInventory();
    }
}

void LevelScreen::FinishScene() {
    showLevelComplete = true;
    sceneFinished = true;
    if (playField) playField->SetKeepResources(0);
}

void LevelScreen::HandleMiniGameResult(const std::string& name, const std::string& value) {
    runningMiniGame = nullptr;
    windows->CloseHelpWindow();
    panelHold = kMiniGameHold;
    panelInAfterHold = true;
    if (playField) {
        playField->Resume();
        if (name == LevelEvents::kMiniGameSolveLater)
            playField->RefreshDelayedTasks(value);
        else
            playField->UpdateDelayedTasks(value, name == LevelEvents::kMiniGameSkip);
    }
    if (name == LevelEvents::kMiniGameSkip) OnQuestion(LevelEvents::kAddTime, "-300");
}

void LevelScreen::SaveProgress() {
    if (runningMiniGame) {
        CEntity* game = runningMiniGame;
        OnQuestion(LevelEvents::kMiniGameSolveLater, game->GetName());
        game->Kill();
        runningMiniGame = nullptr;
    }
    if (!playField) return;
    if (playField->SaveState()) {
        KeepPlayerValues();
        return;
    }
    // The players are saved with the values that go with what they name on
    // disk (the state before, the scene after the place's won scenes, or the
    // map): nothing is lost or counted twice on Continue.
    if (Player* player = Active()) {
        player->ScoreItems = kept.scoreItems;
        player->ScoreSpeed = kept.scoreSpeed;
        player->ScoreMiniGames = kept.scoreMiniGames;
        player->ScoreNode = kept.scoreNode;
        player->Time = kept.time;
        player->CigarCount = kept.cigars;
        player->TempEvidences = kept.tempEvidences;
        player->TempLastEvidences = kept.tempLastEvidences;
    }
}

void LevelScreen::KeepPlayerValues() {
    if (const Player* player = Active())
        kept = {player->ScoreItems, player->ScoreSpeed, player->ScoreMiniGames, player->ScoreNode,
                player->Time,       player->CigarCount, player->TempEvidences,  player->TempLastEvidences};
}

void LevelScreen::SaveOnQuit() {
    if (IsDead() || IsClosing()) return;
    Player* player = Active();
    if (!sceneFinished && player && !player->RelaxedMode && player->Time <= 0.0f) {
        // Lost on time: nothing to resume.
        PlayFieldStateWriter::ForgetStateFile(*player);
        return;
    }
    if (!sceneFinished && playField) {
        // What is on its way arrives; a scene whose every task is taken is won,
        // whether or not its flights had landed and its win check come.
        playField->LandFlights();
        if (playField->Rules().AllTaken()) playField->CheckWin();
    }
    if (sceneFinished) {
        KeepWonScene();
        return;
    }
    HtmlLog::Instance()->Info("Level: the game ends with \"" + HtmlLog::Shown(scenePath) + "\" open; its state is saved.");
    SaveProgress();
}

void LevelScreen::KeepWonScene() {
    Player* player = Active();
    if (showLevelComplete) {
        // The score window never opened: what it records is recorded now.
        showLevelComplete = false;
        windows->RecordWinOnQuit();
    } else {
        windows->KeepScoreWindowMedal();
    }
    if (!player) return;
    const std::string next = playField ? playField->GetNextScene() : std::string();
    PlayFieldStateWriter::ForgetStateFile(*player);
    if (next.empty() || next == LevelEvents::kFinalScene) {
        // The story's end is still to come: Continue shows it.
        if (next == LevelEvents::kFinalScene) windows->KeepStoryEnding(*player);
        HtmlLog::Instance()->Info("Level: the game ends with \"" + HtmlLog::Shown(scenePath) + "\" won; the place is done.");
        return;
    }
    NameNextScene(next);
    HtmlLog::Instance()->Info("Level: the game ends with \"" + HtmlLog::Shown(scenePath) + "\" won; Continue opens " +
                              (player->PlayFieldPath.empty() ? std::string("the map")
                                                             : "\"" + HtmlLog::Shown(player->PlayFieldPath) + "\"") +
                              ".");
}

void LevelScreen::NameNextScene(const std::string& next) {
    Player* player = Active();
    if (!player) return;
    player->ScoreItems = player->ScoreSpeed = player->ScoreMiniGames = 0;
    const std::string scene = FileSystem::Slashed(next);
    for (const GlobalMapData::LevelNode& node : GlobalMapData::Read(returnScreen).nodes) {
        if (FileSystem::Slashed(node.level) != scene) continue;
        HtmlLog::Instance()->Warning("Level: \"" + HtmlLog::Shown(next) + "\", which follows \"" +
                                     HtmlLog::Shown(scenePath) + "\", is the first scene of \"" +
                                     HtmlLog::Shown(node.name) + "\"; Continue opens the map.");
        return;
    }
    player->PlayFieldPath = next;
}

void LevelScreen::ExitToMenu() {
    EntityManager* manager = Manager();
    SaveProgress();
    if (manager) manager->OpenScreen<ZOLTFramework::CMenuScreen>("MenuScreen");
    CloseAndDestroy();
    if (playField) playField->LostFocus();
}

void LevelScreen::OpenMapOrNextLevel(const std::string& nextScene) {
    EntityManager* manager = Manager();
    auto* map = manager ? manager->OpenScreen<ZOLTFramework::GlobalMapScreen>(returnScreen) : nullptr;
    panel->KillSlide();
    panel->SlidePanelOut();
    if (map) map->Open();
    CloseAndDestroy();
    if (!map || nextScene.empty()) return;
    // The next scene opens over the map, which the player never sees.
    Player* player = Active();
    map->CreateLevelScreen(nextScene, player ? player->ScoreNode : 0);
    map->SetOpacity(0.0f);
    map->Close();
    map->Hide();
}

void LevelScreen::ExitToGlobalMap(const std::string& value) {
    Player* player = Active();
    if (value.empty()) BagScreen::SyncPlayerItems();
    if (value == LevelEvents::kFinalScene) {
        if (playField) playField->SaveState();
        if (player) PlayFieldStateWriter::ForgetStateFile(*player);
        if (EntityManager* manager = Manager()) {
            auto* final = manager->OpenScreen<ZOLTFramework::FinalScreen>();
            final->SetOpacity(0.0f);
            final->Open();
        }
        CloseAndDestroy();
        // The last place's score and medal reach the disk now, not at quit.
        ZOLTFramework::SavePlayers();
        return;
    }
    // A level that is left for the map never resumes.
    if (player) PlayFieldStateWriter::ForgetStateFile(*player);
    OpenMapOrNextLevel(value);
    // The place goes on with its next scene, which Continue then opens.
    if (!value.empty()) NameNextScene(value);
    ZOLTFramework::SavePlayers();
}

void LevelScreen::LoseLevel() {
    Player* player = Active();
    if (playField) playField->SetKeepResources(1);
    if (player) {
        player->TempEvidences.clear();
        player->TempLastEvidences.clear();
        PlayFieldStateWriter::ForgetStateFile(*player);
        player->LastSolvedNode.clear();
    }
    ZOLTFramework::SavePlayers();
    OpenMapOrNextLevel("");
}

void LevelScreen::OnAnswer(const std::string& name, bool yes) {
    if (name == "Lose") {
        LoseLevel();
    } else if (name == "EnableShowScoreScreen") {
        settings.scoreScreenAllowed = yes;
    } else if (name == "SetPaused") {
        if (runningMiniGame) {
            runningMiniGame->Resume();
            panel->Resume();
        }
        clockStopped = yes;
        windows->ForgetClosingHelp();
    } else if (name == LevelEvents::kWin) {
        if (playField) playField->SetKeepResources(0);
        OnQuestion(LevelEvents::kExitToMenu, "");
    }
}

void LevelScreen::OnButtonPress(const std::string& name) {
    if (sceneFinished || !playField || !playField->IsPlaying()) return;
    Services::PlaySound(engine, "OnButtonPress");
    if (name == "Exit" && exitEnabled && panelHold == 0.0f && playField->IsFullyShown()) windows->OpenOptions();
    if (name == "Help") ShowHelp();
    if (name == "BagButton") {
        panel->StopBagBlinking();
        windows->OpenBag();
    }
    if (name == "Hint") panel->UseCigar();
    if (name == "Pause") windows->OpenPause();
}

void LevelScreen::OnButtonOver(const std::string& name) {
    Services::PlaySound(engine, "MouseOver");
    panel->ShowSilhouette(name);
}

void LevelScreen::OnButtonLeave(const std::string& name) { panel->HideSilhouette(name); }
