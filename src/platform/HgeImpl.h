// The engine interface behind hgeCreate: shared services (states, ini file, text
// log, input edges, timer, random numbers, textures, quad batching, files)
// composed with one backend, chosen when the object is created. Its frame loop is
// attached to the backend's frame driver, which also plays the input script and
// keeps what each frame drew (FrameDriver.h).
#pragma once

#include <cstdarg>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/AppLog.h"
#include "platform/Backend.h"
#include "platform/IniFile.h"
#include "platform/InputState.h"
#include "platform/PlatformEnv.h"
#include "platform/QuadBatcher.h"
#include "platform/Random.h"
#include "platform/TextureStore.h"
#include "platform/hge.h"

class HgeImpl : public HGE, private BatchSink, private FrameLoop {
public:
    static HGE* Acquire();

    void Release() override;

    bool System_Initiate() override;
    void System_Shutdown() override;
    bool System_Start() override;
    const char* System_GetErrorMessage() override { return m_error.c_str(); }
    void System_Log(const char* format, ...) override;
    bool System_Launch(const char* url) override;
    void System_Snapshot(const char* filename = 0) override;

    void System_SetStateBool(hgeBoolState state, bool value) override;
    void System_SetStateFunc(hgeFuncState state, hgeCallback value) override;
    void System_SetStateInt(hgeIntState state, int value) override;
    void System_SetStateString(hgeStringState state, const char* value) override;
    bool System_GetStateBool(hgeBoolState state) override;
    hgeCallback System_GetStateFunc(hgeFuncState state) override;
    int System_GetStateInt(hgeIntState state) override;
    const char* System_GetStateString(hgeStringState state) override;

    void* Resource_Load(const char* filename, DWORD* size = 0) override;
    void Resource_Free(void* res) override;
    bool Resource_AttachPack(const char* filename, const char* password = 0) override;
    void Resource_RemovePack(const char* filename) override;
    void Resource_RemoveAllPacks() override;
    char* Resource_MakePath(const char* filename = 0) override;

    void Ini_SetInt(const char* section, const char* name, int value) override;
    int Ini_GetInt(const char* section, const char* name, int def_val) override;
    void Ini_SetFloat(const char* section, const char* name, float value) override;
    float Ini_GetFloat(const char* section, const char* name, float def_val) override;
    char* Ini_GetString(const char* section, const char* name, const char* def_val) override;

    void Random_Seed(int seed = 0) override;
    int Random_Int(int min, int max) override { return m_random.Int(min, max); }
    float Random_Float(float min, float max) override { return m_random.Float(min, max); }

    float Timer_GetDelta() override { return m_dt; }
    int Timer_GetFPS() override { return m_fps; }

    HEFFECT Effect_Load(const char* filename, DWORD size = 0) override;
    void Effect_Free(HEFFECT) override {}
    HMUSIC Music_Load(const char* filename, DWORD size = 0) override;
    void Music_Free(HMUSIC) override {}
    void Music_SetAmplification(HMUSIC, int) override {}
    HSTREAM Stream_Load(const char* filename, DWORD size = 0) override;
    void Stream_Free(HSTREAM) override {}

    void Input_GetMousePos(float* x, float* y) override;
    int Input_GetMouseWheel() override { return m_input.WheelSteps(); }
    bool Input_IsMouseOver() override { return m_input.MouseOver(); }
    bool Input_KeyDown(int key) override { return m_input.WentDown(key); }
    bool Input_KeyUp(int key) override { return m_input.WentUp(key); }
    bool Input_GetKeyState(int key) override { return m_input.IsDown(key); }
    const char* Input_GetKeyName(int key) override;
    int Input_GetKey() override { return m_input.FrameKey(); }
    int Input_GetChar() override { return m_input.FrameChar(); }

    bool Gfx_BeginScene(HTARGET target = 0) override;
    void Gfx_EndScene() override;
    void Gfx_Clear(DWORD color) override;
    void Gfx_RenderQuad(const hgeQuad* quad) override;
    void Gfx_SetClipping(int x = 0, int y = 0, int w = 0, int h = 0) override;

    HTARGET Target_Create(int width, int height, bool zbuffer) override;
    void Target_Free(HTARGET) override {}

    HTEXTURE Texture_Create(int width, int height) override;
    HTEXTURE Texture_Load(const char* filename, DWORD size = 0, bool bMipmap = false) override;
    void Texture_Free(HTEXTURE tex) override;
    int Texture_GetWidth(HTEXTURE tex, bool bOriginal = false) override;
    int Texture_GetHeight(HTEXTURE tex, bool bOriginal = false) override;
    DWORD* Texture_Lock(HTEXTURE tex, bool bReadOnly = true, int left = 0, int top = 0, int width = 0,
                        int height = 0) override;
    void Texture_Unlock(HTEXTURE tex) override;

private:
    HgeImpl();
    ~HgeImpl() override;

    void DrawBatch(const BatchKey& key, const hgeQuad* quads, int count) override;
    int FramesRun() const override { return m_frame; }
    // One pass of the loop; false when the run ends (quit, granted close).
    bool RunFrame() override;
    void ApplyScriptEvents(bool& closeRequested);
    void LogOnce(const std::string& what);
    void SetError(const std::string& text);
    std::string SnapshotPath(const char* filename);
    void FreeTexture(Texture& tex);

    int m_refs = 0;
    PlatformEnv m_env;
    std::unique_ptr<Backend> m_backend;
    QuadBatcher m_batcher;
    TextureStore m_textures;
    InputState m_input;
    Random m_random;
    IniFile m_ini;
    AppLog m_log;

    bool m_initiated = false;
    bool m_inScene = false;
    std::string m_error;
    std::set<std::string> m_loggedOnce;

    // States.
    hgeCallback m_funcs[6] = {};
    bool m_windowed = false, m_zbuffer = false, m_textureFilter = true, m_useSound = true;
    bool m_dontSuspend = false, m_hideMouse = true, m_showSplash = true;
    int m_width = 800, m_height = 600, m_bpp = 32, m_fpsCap = HGEFPS_UNLIMITED;
    int m_sampleRate = 44100, m_fxVolume = 100, m_musVolume = 100, m_streamVolume = 100;
    std::string m_title = "HGE", m_iniPath, m_logPath, m_icon;
    std::string m_iniValue, m_madePath;

    // Timer.
    float m_dt = 0;
    double m_time = 0;
    int m_fps = 0, m_fpsFrames = 0;
    double m_fpsClock = 0;

    // Frames and drawing.
    int m_frame = 0;
    ClipRect m_clip;
    std::string m_pendingSnapshot;
};
