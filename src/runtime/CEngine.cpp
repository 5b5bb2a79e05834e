#include "runtime/CEngine.h"

#include "engine/AudioManager.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "engine/StringManager.h"
#include "engine/Track.h"
#include "entities/core/CCountBase.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "platform/AppLog.h"
#include "platform/FileSystem.h"

namespace ZOLTFramework {

CEngine* g_pEngine = nullptr;

bool EngineFrameFunc() { return g_pEngine ? g_pEngine->Frame() : true; }
bool EngineRenderFunc() { return g_pEngine ? g_pEngine->Render() : false; }
bool EngineGfxRestoreFunc() { return g_pEngine ? g_pEngine->OnGfxRestore() : false; }
bool EngineFocusLostFunc() { return g_pEngine ? g_pEngine->OnFocusLost() : false; }
bool EngineFocusGainFunc() { return g_pEngine ? g_pEngine->OnFocusGain() : false; }

bool EngineExitFunc() {
    if (!g_bConfirmExit || !g_pEngine) return true;
    return g_pEngine->OnExit();
}

CEngine::CEngine() { g_pEngine = this; }

CEngine::~CEngine() {
    ShutDown();
    if (g_pEngine == this) g_pEngine = nullptr;
}

void CEngine::SetEntityManager(std::unique_ptr<EntityManager> manager) {
    // The old manager stays reachable while it deletes its entities: their
    // destructors may still talk to it.
    m_entities.reset();
    m_entities = std::move(manager);
    m_pEntityManager = m_entities.get();
}

void CEngine::SetAudioManager(std::unique_ptr<CAudioManager> audio) {
    m_audio.reset();
    m_audio = std::move(audio);
    m_pAudioManager = m_audio.get();
}

void CEngine::SetResourceManager(std::unique_ptr<hgeResourceManager> resources) {
    if (m_resources) m_resources->Purge(0);
    m_resources.reset();
    m_resources = std::move(resources);
    m_pResourceManager = m_resources.get();
}

void CEngine::SetStringManager(std::unique_ptr<StringManager> strings) {
    m_strings.reset();
    m_strings = std::move(strings);
    m_pStringManager = m_strings.get();
}

void CEngine::ShutDown() {
    if (m_shutDown) return;
    m_shutDown = true;

    SetStringManager(nullptr);
    LogHint("StringManager is destroyed.");

    {
        SetEntityManager(nullptr);
        const int live = CCountBase::GetLiveCount();
        if (m_pHGE) m_pHGE->System_Log("----HINT: EntityManager is destroyed (%d).", live);
        HtmlLog::Instance()->Info("EntityManager is destroyed: " + std::to_string(live));
    }

    {
        SetAudioManager(nullptr);
        const int tracks = CTrack::GetLiveCount();
        if (m_pHGE) m_pHGE->System_Log("----HINT: AudioManager is destroyed (%d).", tracks);
        HtmlLog::Instance()->Info("AudioManager is destroyed: " + std::to_string(tracks));
    }

    if (m_pResourceManager) {
        SetResourceManager(nullptr);
        LogHint("ResourceManager is destroyed.");
    }

    // The registry's fonts free their textures through the engine interface:
    // they go while it is still alive.
    FontRegistry::Clear();

    if (m_pHGE) {
        m_pHGE->System_Shutdown();
        LogHint("HGE is destroyed.");
        m_pHGE->Release();
        m_pHGE = nullptr;
    }
    AppLog::SetFailureSink({});
}

void CEngine::LogHint(const std::string& text) {
    if (m_pHGE) m_pHGE->System_Log("----HINT: %s", text.c_str());
    HtmlLog::Instance()->Info(text);
}

void CEngine::LogWarning(const std::string& text) {
    if (m_pHGE) m_pHGE->System_Log("-WARNING: %s", text.c_str());
    HtmlLog::Instance()->Warning(text);
}

void CEngine::LogError(const std::string& text) {
    if (m_pHGE) m_pHGE->System_Log("ERORR: %s", text.c_str());
    HtmlLog::Instance()->Error(text);
}

bool CEngine::Init() {
    m_pHGE = hgeCreate(HGE_VERSION);
    if (!m_pHGE) {
        LogError("Error HGE creating.");
        return false;
    }

    m_pHGE->System_SetState(HGE_FRAMEFUNC, EngineFrameFunc);
    m_pHGE->System_SetState(HGE_RENDERFUNC, EngineRenderFunc);
    m_pHGE->System_SetState(HGE_GFXRESTOREFUNC, EngineGfxRestoreFunc);
    m_pHGE->System_SetState(HGE_FOCUSLOSTFUNC, EngineFocusLostFunc);
    m_pHGE->System_SetState(HGE_FOCUSGAINFUNC, EngineFocusGainFunc);
    m_pHGE->System_SetState(HGE_EXITFUNC, EngineExitFunc);

    const std::string iniPath = m_storageFolder + m_iniFile;
    const std::string logPath = m_storageFolder + m_logFile;
    // The shipped settings reach the storage folder once; later runs keep the
    // player's copy.
    FileSystem::CopyFileIfAbsent(m_iniFile, iniPath);
    m_pHGE->System_SetState(HGE_INIFILE, iniPath.c_str());
    m_pHGE->System_SetState(HGE_LOGFILE, logPath.c_str());

    HtmlLog::Instance()->Open(m_storageFolder + "Log.html");
    HtmlLog::Instance()->WriteHeader();
    // Textures, fonts and resource scripts that cannot be loaded: a row each.
    AppLog::SetFailureSink([](const std::string& text) { HtmlLog::Instance()->Error(HtmlLog::Shown(text)); });

    // There is no icon resource to name on this platform: the icon id stays unused.
    const std::string caption = m_title + " " + m_version;
    m_pHGE->System_SetState(HGE_TITLE, caption.c_str());
    m_pHGE->System_SetState(HGE_SCREENWIDTH, static_cast<int>(m_screenWidth));
    m_pHGE->System_SetState(HGE_SCREENHEIGHT, static_cast<int>(m_screenHeight));
    m_pHGE->System_SetState(HGE_WINDOWED, m_pHGE->Ini_GetInt("SYSTEM", "Windowed", 0) != 0);
    m_pHGE->System_SetState(HGE_HIDEMOUSE, m_pHGE->Ini_GetInt("SYSTEM", "SysCursor", 0) == 0);
    m_pHGE->System_SetState(HGE_FPS, static_cast<int>(m_fixedFps));
    m_pHGE->System_SetState(HGE_SHOWSPLASH, false);
    m_pHGE->System_SetState(HGE_USESOUND, false);

    if (!m_pHGE->System_Initiate()) {
        LogError("Error HGE creating.");
        return false;
    }
    LogHint("HGE is created.");

    if (!m_resourcePack.empty()) {
        if (!m_pHGE->Resource_AttachPack(m_resourcePack.c_str(),
                                         m_resourcePackPassword.empty() ? nullptr : m_resourcePackPassword.c_str())) {
            LogError("Error ResPack attaching.");
            return false;
        }
    }

    if (!m_resourceScript.empty()) {
        SetResourceManager(std::make_unique<hgeResourceManager>(m_resourceScript.c_str()));
        m_pHGE->System_Log("----HINT: ResourceManager is created. Resource file: %s", m_resourceScript.c_str());
        HtmlLog::Instance()->Info("ResourceManager is created. Resource file: " + m_resourceScript);
        if (m_pResourceManager->Precache(1))
            LogHint("Init resource group is loaded.");
        else
            LogWarning("Init resource group is NOT loaded.");
    } else {
        LogWarning("Resource file is not used.");
    }

    SetAudioManager(std::make_unique<CAudioManager>());
    LogHint("AudioManager is created.");
    if (m_pAudioManager->OpenDevice()) {
        m_pAudioManager->SetSoundVolume(m_pHGE->Ini_GetFloat("SYSTEM", "SoundVolume", 1.0f));
        m_pAudioManager->SetMusicVolume(m_pHGE->Ini_GetFloat("SYSTEM", "MusicVolume", 0.8f), true);
        LogHint("Audio device is created.");
    } else {
        LogWarning("Audio device is NOT created.");
    }

    SetEntityManager(std::make_unique<EntityManager>());
    LogHint("EntityManager is created.");

    SetStringManager(std::make_unique<StringManager>());
    const std::string language = std::to_string(m_pHGE->Ini_GetInt("SYSTEM", "Language", 0));
    const char* textPath = m_pHGE->Ini_GetString("LANGUAGES", language.c_str(), "data\\Text\\English.txt");
    m_pStringManager->Load(textPath ? textPath : "data\\Text\\English.txt");
    LogHint("StringManager is created.");
    return true;
}

void CEngine::Run() {
    if (!m_pHGE) return;
    m_pHGE->Random_Seed(0);
    m_pHGE->System_Start();
}

bool CEngine::Frame() {
    const float dt = m_pHGE ? m_pHGE->Timer_GetDelta() : 0.0f;
    if (m_pHGE) m_pHGE->Input_GetMousePos(&m_mouseX, &m_mouseY);
    if (m_pEntityManager) m_pEntityManager->Update(dt);
    if (m_pAudioManager) m_pAudioManager->Update(dt);
    OnFrame(dt);
    return m_quit;
}

bool CEngine::Render() {
    if (!m_pHGE) return false;
    m_pHGE->Gfx_BeginScene(0);
    m_pHGE->Gfx_Clear(m_clearColor);
    if (m_pEntityManager) m_pEntityManager->Render();
    OnRender();
    DrawCursor();
    m_pHGE->Gfx_EndScene();
    OnFrameShown();
    return false;
}

void CEngine::DrawCursor() {
    if (!m_drawCursor || !m_pResourceManager) return;
    if (!m_pHGE->System_GetState(HGE_HIDEMOUSE) || !m_pHGE->Input_IsMouseOver()) return;
    // Looked up every time: a purge of its group may have replaced it.
    if (hgeSprite* cursor = m_pResourceManager->GetSprite(m_cursorSprite.c_str())) cursor->Render(m_mouseX, m_mouseY);
}

}  // namespace ZOLTFramework
