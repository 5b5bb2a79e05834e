// The level's dispatchers: game events, dialog answers, panel buttons and
// the hover of the clue texts.
#include <cmath>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/screens/CPauseScreen.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/Inventory.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/BagScreen.h"
#include "screens/CMenuScreen.h"
#include "screens/FinalScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/HelpScreen.h"
#include "screens/LevelScreen.h"
#include "screens/OptionsScreen.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

// A point of a "ShowHint" value: decimal, or hexadecimal after "0x".
uint32_t ParsePoint(const std::string& text) {
    if (text.empty()) return 0;
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
}

}  // namespace

void LevelScreen::OnQuestion(const std::string& name, const std::string& value) {
    if (constructing) {
        earlyEvents.emplace_back(name, value);
        return;
    }
    lastEvent = name;
    HandleQuestion(name, value);
}

void LevelScreen::HandleQuestion(const std::string& name, const std::string& value) {
    Player* player = Active();
    if (name == "ShowHelp") {
        ShowHelp();
        return;
    }
    if (name == "Resume") {
        ResumeEntity(panel);
        SlidePanelIn();
        // The in-game options window stopped the clock while it was open.
        clockStopped = false;
    }
    if (name == "EnableExit") exitEnabled = true;
    if (name == "DisableExit") exitEnabled = false;
    if (name == "ShowPanel") SlidePanelIn();
    if (name == "HidePanel") {
        SlidePanelOut();
        panelHold = StringToFloat(value);
    }
    if (name == "MiniGameFinished" || name == "MiniGameSolveLater" || name == "MiniGameSkip") {
        HandleMiniGameResult(name, value);
        return;
    }
    if (name == "AddTime") {
        if (!player || player->RelaxedMode) return;
        const float v = FileNumbers::Finite(value, 0.0f, "Level: the seconds of \"AddTime\"");
        if (player->Time > std::fabs(v)) ShowTimePenalty(v);
        RunClock(-v);
        return;
    }
    if (name == "AddItemScore") {
        if (player) player->ScoreItems += StringToInt(value);
        return;
    }
    if (name == "AddSpeedScore") {
        if (player) player->ScoreSpeed += StringToInt(value);
        return;
    }
    if (name == "AddMinigameScore") {
        if (player) player->ScoreMiniGames += StringToInt(value);
        return;
    }
    if (name == "ShowComics") {
        comicQueue.push_back(value);
        return;
    }
    if (name == "ShowHint") {
        TutorialInfo info;
        const size_t first = value.find('/');
        info.textKey = value.substr(0, first);
        if (first != std::string::npos) {
            const size_t second = value.find('/', first + 1);
            info.firstPoint = ParsePoint(value.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                                              : second - first - 1));
            if (second != std::string::npos) info.secondPoint = ParsePoint(value.substr(second + 1));
        }
        hintQueue.push_back(info);
        return;
    }
    if (name == "TutorialShown") {
        ResumeEntity(panel);
        hintWindowOpen = false;
        return;
    }
    if (name == "TaskChanged") {
        if (scenePath == "data/Scenes/Brannoks_bedroom.xml" && value == "Towel")
            OnQuestion("ShowHint", "TUTORIAL_INVENTORY/0x02100104");
        if (playField) {
            const auto& counters = playField->GetCounters();
            const auto found = counters.find(value);
            ItemsLeft& entry = itemsLeft[value];
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
        if (levelType == FIND_DIFFERENCES) UpdateCluesText();
        if (value == "Cigars") AddCigar(true);
        return;
    }
    if (name == "MiniGame") {
        currentMiniGame = requestedMiniGame = value;
        if (playField) {
            playField->Pause();
            playField->PauseInventory();
        }
        return;
    }
    if (name == "AddMagnifyingGlass") {
        ShowMagnifyingGlass(true);
        return;
    }
    if (name == "AddCigars") {
        const int count = FileNumbers::Count(StringToInt(value), "Level: the cigars of \"AddCigars\"");
        for (int i = 0; i < count; ++i) AddCigar(true);
        return;
    }
    if (name == "EXIT_TO_MENU") {
        ExitToMenu();
        return;
    }
    if (name == "EXIT_TO_GLOBAL_MAP") {
        ExitToGlobalMap(value);
        return;
    }
    if (name == "ACTION_LOAD_LEVEL") {
        OnQuestion("EXIT_TO_GLOBAL_MAP", value);
        return;
    }
    if (name == "Win") {
        showLevelComplete = true;
        sceneFinished = true;
        if (playField) playField->SetKeepResources(0);
        return;
    }
    if (name == "OnObjectClick") {
        if (readyWindow) {
            readyWindow->Kill();
            readyWindow = nullptr;
        }
        return;
    }
    if (name == "AddToBag") {
        if (BagScreen::TakeItem(value)) ShowBagTutorial();
        return;
    }
    if (name == "ShowExtraCigarTutorial") {
        BuildExtraCigarWindow();
        return;
    }
}

void LevelScreen::HandleMiniGameResult(const std::string& name, const std::string& value) {
    runningMiniGame = nullptr;
    CloseHelpWindow();
    panelHold = kMiniGameHold;
    panelInAfterHold = true;
    if (name == "MiniGameSolveLater") currentMiniGame.clear();
    if (playField) {
        playField->Resume();
        if (name == "MiniGameSolveLater")
            playField->RefreshDelayedTasks(value);
        else
            playField->UpdateDelayedTasks(value, name == "MiniGameSkip");
    }
    if (name == "MiniGameSkip") OnQuestion("AddTime", "-300");
}

void LevelScreen::CloseHelpWindow() {
    HelpScreen* help = GetHelpScreen();
    helpScreen = nullptr;
    helpScreenToken.reset();
    if (!help) return;
    help->Close();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(help);
}

void LevelScreen::SaveProgress() {
    if (runningMiniGame) {
        CEntity* game = runningMiniGame;
        OnQuestion("MiniGameSolveLater", game->GetName());
        game->Kill();
        runningMiniGame = nullptr;
    }
    if (playField) playField->SaveState();
}

void LevelScreen::SaveOnQuit() {
    if (IsDead() || IsClosing()) return;
    Player* player = Active();
    if (sceneFinished || (player && !player->RelaxedMode && player->Time <= 0.0f)) {
        // Won or lost: nothing to resume.
        if (player) player->PlayFieldPath.clear();
        return;
    }
    HtmlLog::Instance()->Info("Level: the game ends with \"" + scenePath + "\" open; its state is saved.");
    SaveProgress();
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
    KillSlide();
    SlidePanelOut();
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
    if (value == kFinalScene) {
        if (playField) playField->SaveState();
        if (player) player->PlayFieldPath.clear();
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
    if (player) player->PlayFieldPath.clear();
    OpenMapOrNextLevel(value);
    ZOLTFramework::SavePlayers();
}

void LevelScreen::LoseLevel() {
    Player* player = Active();
    if (playField) playField->SetKeepResources(1);
    if (player) {
        player->TempEvidences.clear();
        player->TempLastEvidences.clear();
        player->PlayFieldPath.clear();
        player->LastSolvedNode.clear();
    }
    ZOLTFramework::SavePlayers();
    OpenMapOrNextLevel("");
}

void LevelScreen::OnAnswer(const std::string& name, bool yes) {
    if (name == "Lose") {
        LoseLevel();
    } else if (name == "EnableShowScoreScreen") {
        scoreScreenAllowed = yes;
    } else if (name == "SetPaused") {
        if (runningMiniGame) {
            runningMiniGame->Resume();
            ResumeEntity(panel);
        }
        clockStopped = yes;
        // The help window that answered is done.
        if (HelpScreen* help = GetHelpScreen())
            if (help->IsClosing()) {
                helpScreen = nullptr;
                helpScreenToken.reset();
            }
    } else if (name == "Win") {
        if (playField) playField->SetKeepResources(0);
        OnQuestion("EXIT_TO_MENU", "");
    }
}

void LevelScreen::OnButtonPress(const std::string& name) {
    if (sceneFinished || !playField || !playField->IsPlaying()) return;
    Services::PlaySound(engine, "OnButtonPress");
    if (name == "Exit" && exitEnabled && panelHold == 0.0f && playField->IsFullyShown()) OpenOptions();
    if (name == "Help") ShowHelp();
    if (name == "BagButton") OpenBag();
    if (name == "Hint") UseCigar();
    if (name == "Pause") OpenPause();
}

void LevelScreen::OpenOptions() {
    EntityManager* manager = Manager();
    if (!manager) return;
    if (!optionsToken.expired()) return;  // one options window at a time
    auto* options = manager->OpenScreen<OptionsScreen>(kInGameOptions, this);
    options->SetLayer(15000.0f);
    options->SetDepth(50000.0f);
    options->SetOpacity(0.0f);
    options->Open();
    optionsWindow = options;
    optionsToken = options->GetLifeToken();
    KillSlide();
    if (lastEvent == "MiniGame") SlidePanelOut();
    playField->OnMouseOver(false);
    if (runningMiniGame) {
        PauseEntity(panel);
        runningMiniGame->Pause();
    }
    // The clock waits while the window is open: a time-out under it would open
    // the "Lose" window below it. "Resume" lets the clock go on.
    PauseEntity(panel);
    clockStopped = true;
}

void LevelScreen::OpenBag() {
    EntityManager* manager = Manager();
    if (!manager) return;
    if (bagTutorialMarker) {
        bagTutorialMarker->Pause();
        if (bagButton)
            if (TextEntity* caption = bagButton->GetCaption()) caption->SetColor(0xFFFFFFFF);
        bagTutorialMarker->Kill();
        bagTutorialMarker = nullptr;
    }
    auto* bag = manager->OpenScreen<BagScreen>("");
    bag->SetLayer(15.0f);
    SlidePanelOut();
}

void LevelScreen::OpenPause() {
    EntityManager* manager = Manager();
    if (!manager) return;
    KillSlide();
    auto* pause = manager->OpenScreen<ZOLTFramework::CPauseScreen>(this);
    pause->SetLayer(50000.0f);
    pause->Open();
    clockStopped = true;
    playField->OnMouseOver(false);
}

void LevelScreen::BuildExtraCigarWindow() {
    EntityManager* manager = Manager();
    if (!manager) return;
    // A second window replaces the first.
    if (readyWindow) readyWindow->Kill();
    auto* group = manager->Spawn<CEntity>();
    group->AttachTo(this);
    auto* window = manager->Spawn<CSpriteEntity>();
    window->AttachSprite(Services::Sprite(engine, "Window04"));
    if (!window->GetSprite()) HtmlLog::Instance()->Error("Level: no sprite \"Window04\" for the extra-cigar window.");
    window->SetScaleX(0.7f);
    window->SetScaleY(0.7f);
    window->AttachTo(group);
    auto* text = manager->Spawn<TextEntity>("", nullptr);
    text->SetText(Text("TUTORIAL_EXTRA_CIGAR"));
    text->SetPosXY(-115.0f, -50.0f);
    text->SetFont(FontRegistry::GetFont("Default14"));
    text->SetDepth(10.0f);
    text->SetAlignment(2);
    text->SetBox(230.0f, 200.0f);
    text->AttachTo(group);
    group->SetAbsolutePosition(350.0f, 130.0f);
    group->OnMove();
    group->Hide();
    readyWindow = group;
}

void LevelScreen::OnButtonOver(const std::string& name) {
    Services::PlaySound(engine, "MouseOver");
    if (!clueMap.count(name)) return;
    silhouetteSprite = playField ? playField->GetTaskSprite(name) : nullptr;
    silhouetteName = name;
}

void LevelScreen::OnButtonLeave(const std::string& name) {
    if (clueMap.count(name) && name == silhouetteName) silhouetteSprite = nullptr;
}
