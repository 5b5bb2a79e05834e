#include "app/GameApp.h"

#include "platform/StorageFolder.h"

namespace ZOLTFramework {

GameApp::GameApp() {
    m_screenWidth = 800.0f;
    m_screenHeight = 600.0f;
    m_title = "Drovalin";
    m_version = "1.0.0";
    m_resourceScript = "data\\Resource\\main.res";
    m_iconId = 106;
    m_storageFolder = FindStorageFolder();
}

GameApp::~GameApp() = default;

bool GameApp::Init() {
    if (!CEngine::Init()) return false;
    // The window mode again, now that the engine runs.
    m_pHGE->System_SetState(HGE_WINDOWED, m_pHGE->Ini_GetInt("SYSTEM", "Windowed", 0) != 0);
    return true;
}

bool GameApp::OnFrame(float dt) {
    if (m_pHGE->Input_KeyDown(HGEK_GRAVE)) m_pHGE->System_Snapshot();
    return false;
}

bool GameApp::OnRender() { return false; }

}  // namespace ZOLTFramework
