// The root object of the running game: owns the engine interface and the
// framework services, starts them in a fixed order with a log line per step,
// runs the main loop and feeds each frame's time step to the entity manager
// and the application. The application derives from it and is the only engine
// ever made; the constructor publishes it in g_pEngine.
#pragma once

#include <cstdint>
#include <string>

#include "platform/hge.h"

class EntityManager;
class hgeResourceManager;
class StringManager;

namespace ZOLTFramework {

class CAudioManager;

class CEngine {
public:
    CEngine();
    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;
    virtual ~CEngine();

    // Per-frame hooks for the application (results of OnFrame and OnRender are
    // not used).
    virtual bool OnFrame(float dt) { return false; }
    virtual bool OnRender() { return false; }
    virtual bool OnGfxRestore() { return false; }
    virtual bool OnFocusLost() { return false; }
    virtual bool OnFocusGain() { return false; }
    // True closes the window now.
    virtual bool OnExit() { return true; }

    // Start-up. True when the engine can run; false after a fatal step (the
    // destructor then shuts down whatever was started).
    bool Init();
    // Seeds the random numbers and runs the main loop until it ends.
    void Run();
    // One frame's logic; returns the quit flag.
    bool Frame();
    // One frame's drawing; returns false.
    bool Render();

    HGE* GetHGE() const { return m_pHGE; }
    EntityManager* GetEntityManager() const { return m_pEntityManager; }
    hgeResourceManager* GetResourceManager() const { return m_pResourceManager; }
    CAudioManager* GetAudioManager() const { return m_pAudioManager; }
    StringManager* GetStringManager() const { return m_pStringManager; }

    float GetMouseX() const { return m_mouseX; }
    float GetMouseY() const { return m_mouseY; }
    float GetScreenWidth() const { return m_screenWidth; }
    float GetScreenHeight() const { return m_screenHeight; }
    const std::string& GetStorageFolder() const { return m_storageFolder; }
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetVersion() const { return m_version; }
    const std::string& GetResourceScript() const { return m_resourceScript; }

    // The software cursor is drawn only while this is on (screens switch it).
    void SetDrawCursor(bool on) { m_drawCursor = on; }
    bool GetDrawCursor() const { return m_drawCursor; }
    // True ends the main loop at the end of the current frame.
    void SetQuit(bool quit) { m_quit = quit; }
    bool GetQuit() const { return m_quit; }

protected:
    // Milestones go to the engine's text log with a prefix and to the HTML log.
    void LogHint(const std::string& text);
    void LogWarning(const std::string& text);
    void LogError(const std::string& text);

    uint16_t m_iconId = 0;
    std::string m_iniFile = "app.ini";
    std::string m_logFile = "app.log";
    std::string m_resourceScript;
    std::string m_resourcePack;
    std::string m_resourcePackPassword;
    std::string m_cursorSprite = "Cursor";
    std::string m_title = "ZOLT Application";
    std::string m_version = "1.0";
    // Absolute with a trailing "/", or empty (names relative to the working folder).
    std::string m_storageFolder;
    bool m_quit = false;
    bool m_drawCursor = false;
    HGE* m_pHGE = nullptr;
    float m_fixedFps = 300.0f;
    float m_screenWidth = 800.0f;
    float m_screenHeight = 600.0f;
    float m_mouseX = 0.0f;
    float m_mouseY = 0.0f;
    DWORD m_clearColor = 0xFF000000;
    hgeResourceManager* m_pResourceManager = nullptr;
    EntityManager* m_pEntityManager = nullptr;
    CAudioManager* m_pAudioManager = nullptr;
    StringManager* m_pStringManager = nullptr;

private:
    void DrawCursor();
};

// The one engine object, set by its constructor (cleared by its destructor).
extern CEngine* g_pEngine;
// False: a window close request ends the program at once. True: it goes to
// the engine's OnExit (the main menu switches this on).
extern bool g_bConfirmExit;

// The callbacks handed to the engine interface; each forwards to g_pEngine.
bool EngineFrameFunc();
bool EngineRenderFunc();
bool EngineGfxRestoreFunc();
bool EngineFocusLostFunc();
bool EngineFocusGainFunc();
bool EngineExitFunc();

}  // namespace ZOLTFramework
