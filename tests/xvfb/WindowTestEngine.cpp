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
    m_pEntityManager = new EntityManager();
}

WindowTestEngine::~WindowTestEngine() {
    delete m_pEntityManager;
    m_pEntityManager = nullptr;
    delete m_pResourceManager;
    m_pResourceManager = nullptr;
    delete m_pStringManager;
    m_pStringManager = nullptr;
    FontRegistry::Clear();
}

void WindowTestEngine::UseResources() { m_pResourceManager = new hgeResourceManager("data\\Resource\\main.res"); }

void WindowTestEngine::UseEnglishText() {
    if (!m_pStringManager) m_pStringManager = new StringManager();
    m_pStringManager->Load("data\\Text\\English.txt");
}
