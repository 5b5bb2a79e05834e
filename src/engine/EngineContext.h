// What entities may reach of the running engine: the engine interface, the
// framework services, the mouse, the screen size, the storage folder and the
// cursor and quit switches. The engine object derives from it; the entity
// layer sees only this, never the object that owns and runs the services.
#pragma once

#include <cstdint>
#include <string>

#include "platform/hge.h"

class EntityManager;
class hgeResourceManager;
class StringManager;

namespace ZOLTFramework {

class CAudioManager;

class EngineContext {
public:
    EngineContext();
    EngineContext(const EngineContext&) = delete;
    EngineContext& operator=(const EngineContext&) = delete;
    virtual ~EngineContext();

    // The running engine (the last one made and not yet destroyed), or null.
    static EngineContext* Current();

    HGE* GetHGE() const { return m_pHGE; }
    EntityManager* GetEntityManager() const { return m_pEntityManager; }
    hgeResourceManager* GetResourceManager() const { return m_pResourceManager; }
    CAudioManager* GetAudioManager() const { return m_pAudioManager; }
    StringManager* GetStringManager() const { return m_pStringManager; }

    float GetMouseX() const { return m_mouseX; }
    float GetMouseY() const { return m_mouseY; }
    float GetScreenWidth() const { return m_screenWidth; }
    float GetScreenHeight() const { return m_screenHeight; }
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetVersion() const { return m_version; }
    const std::string& GetResourceScript() const { return m_resourceScript; }

    // The software cursor is drawn only while this is on (screens switch it).
    void SetDrawCursor(bool on) { m_drawCursor = on; }
    bool GetDrawCursor() const { return m_drawCursor; }
    // True ends the main loop at the end of the current frame.
    void SetQuit(bool quit) { m_quit = quit; }

protected:
    std::string m_resourceScript;
    std::string m_title = "ZOLT Application";
    std::string m_version = "1.0";
    // Absolute with a trailing "/", or empty (names relative to the working folder).
    std::string m_storageFolder;
    bool m_quit = false;
    bool m_drawCursor = false;
    HGE* m_pHGE = nullptr;
    float m_screenWidth = 800.0f;
    float m_screenHeight = 600.0f;
    float m_mouseX = 0.0f;
    float m_mouseY = 0.0f;
    hgeResourceManager* m_pResourceManager = nullptr;
    EntityManager* m_pEntityManager = nullptr;
    CAudioManager* m_pAudioManager = nullptr;
    StringManager* m_pStringManager = nullptr;
};

// False: a window close request ends the program at once. True: it goes to
// the engine's OnExit (the main menu switches this on).
extern bool g_bConfirmExit;

}  // namespace ZOLTFramework
