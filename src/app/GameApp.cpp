#include "app/GameApp.h"

#include <chrono>
#include <cstdio>

#include "app/GameFonts.h"
#include "engine/AudioManager.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "engine/StringManager.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/ScreenFactory.h"
#include "entities/screens/ScreenLayers.h"
#include "entities/screens/StartScreens.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "platform/FileSystem.h"
#include "platform/QuitSignals.h"
#include "platform/StorageFolder.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/IntroScreen.h"
#include "screens/LevelScreen.h"

namespace ZOLTFramework {

namespace {

const char* const kMusic[][2] = {
    {"music1", "data\\Music\\music_1.ogg"},
    {"music2", "data\\Music\\music_2.ogg"},
    {"music3", "data\\Music\\music_3.ogg"},
};

// Event and object sounds, in loading order; "OnFinal" is streamed music.
const char* const kSounds[][2] = {
    {"OnButtonPress", "data\\Sound\\OnButtonPress.ogg"},
    {"MouseOver", "data\\Sound\\MouseOver.ogg"},
    {"FlagStuck", "data\\Sound\\FlagStuck.ogg"},
    {"OnEmptyPlaceClicked", "data\\Sound\\OnEmptyPlaceClicked.ogg"},
    {"OnScoreCount", "data\\Sound\\OnScoreCount.ogg"},
    {"OnWinMiniGame", "data\\Sound\\OnWinMiniGame.ogg"},
    {"OnMiniGameSkip", "data\\Sound\\OnMiniGameSkip.ogg"},
    {"OnMiniGameSolveLater", "data\\Sound\\OnMiniGameSolveLater.ogg"},
    {"OnRewarding", "data\\Sound\\OnRewarding.ogg"},
    {"OnInventoryOpen", "data\\Sound\\OnInventoryOpen.ogg"},
    {"OnToolUsed", "data\\Sound\\OnToolUsed.ogg"},
    {"OnObjectClick", "data\\Sound\\OnObjectClick.ogg"},
    {"OnTitleLetterAppear", "data\\Sound\\OnTitleLetterAppear.ogg"},
    {"OnWindow", "data\\Sound\\OnWindow.ogg"},
    {"Phonering", "data\\Sound\\Phonering.ogg"},
    {"OnComicsStart", "data\\Sound\\OnComicsStart.ogg"},
    {"OnCharAppear", "data\\Sound\\OnCharAppear.ogg"},
    {"OnCharCame", "data\\Sound\\OnCharCame.ogg"},
    {"OnFlyingIn", "data\\Sound\\OnFlyingIn.ogg"},
    {"OnMagnifyingGlassAppear", "data\\Sound\\OnMagnifyingGlassAppear.ogg"},
    {"OnInventoryObjectAdded", "data\\Sound\\OnInventoryObjectAdded.ogg"},
    {"OnTimePenalty", "data\\Sound\\OnTimePenalty.ogg"},
    {"OnTimeOut", "data\\Sound\\OnTimeOut.ogg"},
    {"OnCriticalTime", "data\\Sound\\OnCriticalTime.ogg"},
    {"OnSalute", "data\\Sound\\OnSalute.ogg"},
    {"OnKiss", "data\\Sound\\OnKiss.ogg"},
    {"BrickOpn", "data\\Sound\\BrickOpn.ogg"},
    {"BrickDes", "data\\Sound\\BrickDes.ogg"},
    {"OnFinal", "data\\Sound\\OnFinal.ogg"},
    {"Kuku", "data\\Sound\\kuku_1.ogg"},
    {"Telek", "data\\Sound\\telek.ogg"},
    {"Globus", "data\\Sound\\globus.ogg"},
    {"Igrushka", "data\\Sound\\igrushka.ogg"},
    {"Posuda", "data\\Sound\\posuda.ogg"},
    {"Ventilyator", "data\\Sound\\ventilyator.ogg"},
    {"Zmeya", "data\\Sound\\zmeya.ogg"},
};

const char* const kStreamedSound = "OnFinal";

}  // namespace

GameApp::GameApp() {
    m_screenWidth = 800.0f;
    m_screenHeight = 600.0f;
    m_title = "Drovalin";
    m_version = "1.0.0";
    m_resourceScript = "data\\Resource\\main.res";
    m_iconId = 106;
    m_storageFolder = ChooseStorageFolder(std::string(kMaker) + "/" + kGame + "/");
}

std::string GameApp::ChooseStorageFolder(const std::string& subFolder) {
    std::string candidate;
    const std::string base = DataHomeFolder();
    if (!base.empty() && FileSystem::MakeDirectories(base)) candidate = CreateFolderPath(base + subFolder);
    if (TestWritable(candidate)) return candidate;
    ReportNoStorageFolder();
    return "";
}

std::string GameApp::CreateFolderPath(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    FileSystem::MakeDirectories(folder);
    return folder;
}

bool GameApp::TestWritable(const std::string& folder) { return ::TestWritable(folder); }

GameApp::~GameApp() {
    // Only players that were loaded are saved: after a failed start-up the list
    // is empty and saving it would wipe every profile.
    if (PlayerManager::HasInstance() && PlayerManager::Instance()->IsLoaded()) PlayerManager::Instance()->Save();
    ScreenFactory::Register(ScreenFactory::kMainMenu, nullptr);
    ScreenFactory::Register(ScreenFactory::kGlobalMap, nullptr);
    ScreenFactory::Register(ScreenFactory::kIntro, nullptr);
    RestoreQuitSignals();
}

template <class Step>
void GameApp::TimeStep(const char* name, Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    startUpTimes.emplace_back(name, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

bool GameApp::Init() {
    // Before the window: SDL must not claim the signals for itself.
    ClearQuitSignal();
    InstallQuitSignals();
    bool started = false;
    TimeStep("engine", [&] { started = CEngine::Init(); });
    if (!started) return false;

    // The game's own text table replaces the one the engine chose.
    TimeStep("text", [&] {
        if (m_pStringManager) m_pStringManager->Load("data\\Text\\Czech.txt");
    });

    // The players before anything can save them.
    TimeStep("players", [&] {
        PlayerManager* players = PlayerManager::Instance();
        // The players come from the disk, whatever an earlier game of this
        // process left in memory.
        players->Forget();
        players->SetSavePath(m_storageFolder);
        CreateFolderPath(m_storageFolder + "data\\Map\\");
        HtmlLog::Instance()->Debug("Storage path is " + HtmlLog::Shown(m_storageFolder));
        players->SetUsersFile("data\\users.xml");
        players->Load();
    });

    RegisterScreens();
    // The logos need none of the fonts and sounds: they are loaded once the
    // first logo is on screen (OnFrameShown).
    TimeStep("first logo", [&] {
        auto* logo = m_pEntityManager->Spawn<CFirstLogoScreen>("CustomLogo");
        logo->SetLayer(1.0f);
    });

    // The window mode again, now that the engine runs.
    m_pHGE->System_SetState(HGE_WINDOWED, m_pHGE->Ini_GetInt("SYSTEM", "Windowed", 0) != 0);
    return true;
}

void GameApp::OnFrameShown() {
    if (startUpFinished) return;
    startUpFinished = true;
    firstFrameShownAt = std::chrono::steady_clock::now();
    TimeStep("fonts", [&] { LoadFonts(); });
    TimeStep("music", [&] { LoadMusic(); });
    TimeStep("volumes", [&] { SetVolumes(); });
    TimeStep("sounds", [&] { LoadSounds(); });
    HtmlLog::Instance()->Debug("Start-up steps: " + DescribeStartUpTimes());
}

std::string GameApp::DescribeStartUpTimes() const {
    std::string times;
    for (const auto& step : startUpTimes) {
        char text[80];
        std::snprintf(text, sizeof text, "%s%s %.1f ms", times.empty() ? "" : ", ", step.first.c_str(),
                      step.second * 1000.0);
        times += text;
    }
    return times;
}

void GameApp::LoadFonts() { LoadGameFonts(); }

void GameApp::LoadMusic() {
    if (!m_pAudioManager) return;
    for (const auto& music : kMusic) m_pAudioManager->LoadMusic(music[0], music[1]);
}

void GameApp::SetVolumes() {
    if (!m_pAudioManager) return;
    // These are the volumes in force, whether or not the device opened.
    m_pAudioManager->SetMusicVolume(m_pHGE->Ini_GetFloat("SYSTEM", "MusicVolume", 0.5f), true);
    m_pAudioManager->SetSoundVolume(m_pHGE->Ini_GetFloat("SYSTEM", "SoundVolume", 0.5f));
}

void GameApp::LoadSounds() {
    if (!m_pAudioManager) return;
    for (const auto& sound : kSounds) {
        if (std::string(sound[0]) == kStreamedSound)
            m_pAudioManager->LoadMusic(sound[0], sound[1]);
        else
            m_pAudioManager->LoadSound(sound[0], sound[1]);
    }
}

void GameApp::RegisterScreens() {
    ScreenFactory::Register(ScreenFactory::kMainMenu, [](EntityManager& manager, const std::string& name) -> CEntity* {
        return manager.OpenScreen<CMenuScreen>(name);
    });
    ScreenFactory::Register(ScreenFactory::kGlobalMap, [](EntityManager& manager, const std::string& mapFile) -> CEntity* {
        return manager.OpenScreen<GlobalMapScreen>(mapFile);
    });
    ScreenFactory::Register(ScreenFactory::kIntro, [](EntityManager& manager, const std::string&) -> CEntity* {
        return manager.OpenScreen<IntroScreen>();
    });
}

bool GameApp::OnFrame(float dt) {
    if (const int signal = QuitSignalReceived()) {
        ClearQuitSignal();
        HtmlLog::Instance()->Info("Signal " + std::to_string(signal) + ": the players are saved and the game ends.");
        SaveAndQuit(true);
        return true;
    }
    if (m_pHGE && m_pHGE->Input_KeyDown(HGEK_GRAVE)) m_pHGE->System_Snapshot();
    return false;
}

bool GameApp::OnRender() { return false; }

bool GameApp::OnExit() {
    if (exitDialogOpen || !m_pEntityManager) return false;
    auto* dialog = m_pEntityManager->OpenScreen<Dialog>(kExitQuestion, "data/Screens/DialogYesNo.xml", this);
    dialog->SetLayer(ScreenLayers::kExitQuestion);
    dialog->SetDepth(500000.0f);
    dialog->SetText("Q_QUIT");
    exitDialogOpen = true;
    return false;
}

void GameApp::OnAnswer(const std::string& question, bool yes) {
    if (question != kExitQuestion) return;
    exitDialogOpen = false;
    SaveAndQuit(yes);
}

void GameApp::SaveAndQuit(bool quit) {
    SetQuit(quit);
    if (m_pHGE) m_pHGE->Ini_SetInt("SYSTEM", "Windowed", m_pHGE->System_GetState(HGE_WINDOWED) ? 1 : 0);
    // A level open as the game ends writes its state first: the players'
    // save then names it, and Continue finds the level as it was.
    if (quit && m_pEntityManager)
        for (CEntity* screen : std::vector<CEntity*>(m_pEntityManager->GetScreenStack()))
            if (auto* level = dynamic_cast<LevelScreen*>(screen)) level->SaveOnQuit();
    PlayerManager::Instance()->Save();
}

}  // namespace ZOLTFramework
