#include <filesystem>
#include <memory>
#include "WindowTestEngine.h"

#include <gtest/gtest.h>

#include "app/GameFonts.h"
#include "engine/StringManager.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"

WindowTestEngine::WindowTestEngine(const TempDir& dir) {
    m_pHGE = hgeCreate(HGE_VERSION);
    m_pHGE->System_SetState(HGE_LOGFILE, (dir / "app.log").c_str());
    m_pHGE->System_SetState(HGE_INIFILE, (dir / "app.ini").c_str());
    m_pHGE->System_SetState(HGE_WINDOWED, true);
    m_pHGE->System_SetState(HGE_SCREENWIDTH, 800);
    m_pHGE->System_SetState(HGE_SCREENHEIGHT, 600);
    m_pHGE->System_SetState(HGE_FPS, 300);
    m_pHGE->System_SetState(HGE_FRAMEFUNC, ZOLTFramework::EngineFrameFunc);
    m_pHGE->System_SetState(HGE_RENDERFUNC, ZOLTFramework::EngineRenderFunc);
    started = m_pHGE->System_Initiate();
    SetEntityManager(std::make_unique<EntityManager>());
}

WindowTestEngine::~WindowTestEngine() {
    SetEntityManager(nullptr);
    if (!playerName.empty()) {
        PlayerManager* players = PlayerManager::Instance();
        players->RemovePlayer(playerName);
        players->Timer->Clear();
    }
    SetResourceManager(nullptr);
    SetStringManager(nullptr);
    FontRegistry::Clear();
}

void WindowTestEngine::UseResources() { SetResourceManager(std::make_unique<hgeResourceManager>("data\\Resource\\main.res")); }

void WindowTestEngine::UseEnglishText() {
    if (!m_pStringManager) SetStringManager(std::make_unique<StringManager>());
    m_pStringManager->Load("data\\Text\\English.txt");
}

void WindowTestEngine::UseGameFonts() { ZOLTFramework::LoadGameFonts(); }

void WindowTestEngine::UsePlayer(const TempDir& dir, const std::string& name) {
    PlayerManager* players = PlayerManager::Instance();
    players->SetSavePath(dir.Path());
    players->AddPlayer(name);
    players->SetActivePlayer(name);
    playerName = name;
}

void WindowTestEngine::RunFor(float seconds) {
    HGE* hge = GetHGE();
    float waited = 0.0f;
    for (int frames = 0; waited < seconds && frames < 100000; ++frames) {
        FrameDriver::RunFrames(1);
        waited += hge->Timer_GetDelta();
    }
}

Picture WindowTestEngine::Snapshot(const TempDir& dir, const std::string& name) {
    GetHGE()->System_Snapshot((dir / name).c_str());
    FrameDriver::RunFrames(1);
    Picture pic;
    EXPECT_TRUE(LoadPng(dir / name, pic));
    std::error_code ignored;
    std::filesystem::create_directories("snapshots", ignored);
    std::filesystem::copy_file(dir / name, "snapshots/" + name, std::filesystem::copy_options::overwrite_existing,
                               ignored);
    EXPECT_EQ(pic.w, 800);
    EXPECT_EQ(pic.h, 600);
    return pic;
}
