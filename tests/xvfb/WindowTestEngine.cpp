#include <memory>
#include "WindowTestEngine.h"

#include "engine/StringManager.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"

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
    SetResourceManager(nullptr);
    SetStringManager(nullptr);
    FontRegistry::Clear();
}

void WindowTestEngine::UseResources() { SetResourceManager(std::make_unique<hgeResourceManager>("data\\Resource\\main.res")); }

void WindowTestEngine::UseEnglishText() {
    if (!m_pStringManager) SetStringManager(std::make_unique<StringManager>());
    m_pStringManager->Load("data\\Text\\English.txt");
}
