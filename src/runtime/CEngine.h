// The root object of the running game: owns the engine interface and the
// framework services, starts them in a fixed order with a log line per step,
// runs the main loop and feeds each frame's time step to the entity manager
// and the application. The application derives from it and is the only engine
// ever made; the constructor publishes it in g_pEngine. Entities reach it only
// through its EngineContext side.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/EngineContext.h"
#include "platform/hge.h"

namespace ZOLTFramework {

class CEngine : public EngineContext {
public:
    CEngine();
    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;
    ~CEngine() override;

    // Per-frame hooks for the application (results of OnFrame and OnRender are
    // not used).
    virtual bool OnFrame(float dt) { return false; }
    virtual bool OnRender() { return false; }
    virtual bool OnGfxRestore() { return false; }
    virtual bool OnFocusLost() { return false; }
    virtual bool OnFocusGain() { return false; }
    // True closes the window now.
    virtual bool OnExit() { return true; }
    // After each frame is drawn and shown.
    virtual void OnFrameShown() {}

    // Start-up. True when the engine can run; false after a fatal step (the
    // destructor then shuts down whatever was started).
    bool Init();
    // Seeds the random numbers and runs the main loop until it ends.
    void Run();
    // One frame's logic; returns the quit flag.
    bool Frame();
    // One frame's drawing; returns false.
    bool Render();

protected:
    // Milestones go to the engine's text log with a prefix and to the HTML log.
    void LogHint(const std::string& text);
    void LogWarning(const std::string& text);
    void LogError(const std::string& text);

    // The services are owned here; the EngineContext accessors see them. Each
    // setter replaces (and deletes) the one before; null just deletes it.
    void SetEntityManager(std::unique_ptr<EntityManager> manager);
    void SetAudioManager(std::unique_ptr<CAudioManager> audio);
    void SetResourceManager(std::unique_ptr<hgeResourceManager> resources);
    void SetStringManager(std::unique_ptr<StringManager> strings);
    // Shut-down in this order, each with its log row: strings, entities
    // (while the services they may reach are still there), audio, resources,
    // the registry fonts, the engine interface. Safe to call twice; the
    // destructor calls it.
    void ShutDown();

    uint16_t m_iconId = 0;
    std::string m_iniFile = "app.ini";
    std::string m_logFile = "app.log";
    std::string m_resourcePack;
    std::string m_resourcePackPassword;
    std::string m_cursorSprite = "Cursor";
    float m_fixedFps = 300.0f;
    DWORD m_clearColor = 0xFF000000;

private:
    void DrawCursor();

    std::unique_ptr<StringManager> m_strings;
    std::unique_ptr<EntityManager> m_entities;
    std::unique_ptr<CAudioManager> m_audio;
    std::unique_ptr<hgeResourceManager> m_resources;
    bool m_shutDown = false;
};

// The one engine object, set by its constructor (cleared by its destructor).
extern CEngine* g_pEngine;

// The callbacks handed to the engine interface; each forwards to g_pEngine.
bool EngineFrameFunc();
bool EngineRenderFunc();
bool EngineGfxRestoreFunc();
bool EngineFocusLostFunc();
bool EngineFocusGainFunc();
bool EngineExitFunc();

}  // namespace ZOLTFramework
