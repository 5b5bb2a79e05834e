// The engine interface the game calls: window and frame loop, input, timer,
// random numbers, ini file, textures, quads, clipping, file reads and the text log.
// One reference-counted object, obtained with hgeCreate(HGE_VERSION) and given
// back with Release(). Two backends sit behind it (a real SDL2 + OpenGL window and
// a headless one); the backend is chosen once, when the object is first created.
#pragma once

#include <cstdint>

typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;

// Handles carry pointers or indexes: always pointer-sized.
typedef uintptr_t HTEXTURE;
typedef uintptr_t HTARGET;
typedef uintptr_t HEFFECT;
typedef uintptr_t HMUSIC;
typedef uintptr_t HSTREAM;
typedef uintptr_t HCHANNEL;

#define HGE_VERSION 0x180

// Blend bits of a quad.
#define BLEND_COLORADD 1
#define BLEND_COLORMUL 0
#define BLEND_ALPHABLEND 2
#define BLEND_ALPHAADD 0
#define BLEND_ZWRITE 4
#define BLEND_NOZWRITE 0
#define BLEND_DEFAULT (BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE)
#define BLEND_DEFAULT_Z (BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_ZWRITE)

// Colour helpers (ARGB).
#define ARGB(a, r, g, b) ((DWORD(a) << 24) + (DWORD(r) << 16) + (DWORD(g) << 8) + DWORD(b))
#define GETA(col) ((col) >> 24)
#define GETR(col) (((col) >> 16) & 0xFF)
#define GETG(col) (((col) >> 8) & 0xFF)
#define GETB(col) ((col)&0xFF)
#define SETA(col, a) (((col)&0x00FFFFFF) + (DWORD(a) << 24))
#define SETR(col, r) (((col)&0xFF00FFFF) + (DWORD(r) << 16))
#define SETG(col, g) (((col)&0xFFFF00FF) + (DWORD(g) << 8))
#define SETB(col, b) (((col)&0xFFFFFF00) + DWORD(b))

// Boolean states. Numbers outside this list are accepted and ignored.
enum hgeBoolState {
    HGE_WINDOWED = 1,
    HGE_ZBUFFER = 2,
    HGE_TEXTUREFILTER = 3,
    HGE_USESOUND = 4,
    HGE_DONTSUSPEND = 5,
    HGE_HIDEMOUSE = 6,
    HGE_SHOWSPLASH = 7,
    HGEBOOLSTATE_FORCE_DWORD = 0x7FFFFFFF
};

typedef bool (*hgeCallback)();

enum hgeFuncState {
    HGE_FRAMEFUNC = 8,
    HGE_RENDERFUNC = 9,
    HGE_FOCUSLOSTFUNC = 10,
    HGE_FOCUSGAINFUNC = 11,
    HGE_GFXRESTOREFUNC = 12,
    HGE_EXITFUNC = 13,
    HGEFUNCSTATE_FORCE_DWORD = 0x7FFFFFFF
};

enum hgeIntState {
    HGE_SCREENWIDTH = 17,
    HGE_SCREENHEIGHT = 18,
    HGE_SCREENBPP = 19,
    HGE_SAMPLERATE = 20,
    HGE_FXVOLUME = 21,
    HGE_MUSVOLUME = 22,
    HGE_STREAMVOLUME = 23,
    HGE_FPS = 24,
    HGE_POWERSTATUS = 25,
    HGEINTSTATE_FORCE_DWORD = 0x7FFFFFFF
};

enum hgeStringState {
    HGE_ICON = 26,
    HGE_TITLE = 27,
    HGE_INIFILE = 28,
    HGE_LOGFILE = 29,
    HGESTRINGSTATE_FORCE_DWORD = 0x7FFFFFFF
};

#define HGEFPS_UNLIMITED 0
#define HGEFPS_VSYNC -1

// Key codes. Mouse buttons count as keys; letters and digits are their
// upper-case ASCII codes.
#define HGEK_LBUTTON 0x01
#define HGEK_RBUTTON 0x02
#define HGEK_MBUTTON 0x04
#define HGEK_ESCAPE 0x1B
#define HGEK_BACKSPACE 0x08
#define HGEK_TAB 0x09
#define HGEK_ENTER 0x0D
#define HGEK_SPACE 0x20
#define HGEK_SHIFT 0x10
#define HGEK_CTRL 0x11
#define HGEK_ALT 0x12
#define HGEK_PAUSE 0x13
#define HGEK_CAPSLOCK 0x14
#define HGEK_PGUP 0x21
#define HGEK_PGDN 0x22
#define HGEK_END 0x23
#define HGEK_HOME 0x24
#define HGEK_LEFT 0x25
#define HGEK_UP 0x26
#define HGEK_RIGHT 0x27
#define HGEK_DOWN 0x28
#define HGEK_INSERT 0x2D
#define HGEK_DELETE 0x2E
#define HGEK_0 0x30
#define HGEK_1 0x31
#define HGEK_2 0x32
#define HGEK_3 0x33
#define HGEK_4 0x34
#define HGEK_5 0x35
#define HGEK_6 0x36
#define HGEK_7 0x37
#define HGEK_8 0x38
#define HGEK_9 0x39
#define HGEK_A 0x41
#define HGEK_B 0x42
#define HGEK_C 0x43
#define HGEK_D 0x44
#define HGEK_E 0x45
#define HGEK_F 0x46
#define HGEK_G 0x47
#define HGEK_H 0x48
#define HGEK_I 0x49
#define HGEK_J 0x4A
#define HGEK_K 0x4B
#define HGEK_L 0x4C
#define HGEK_M 0x4D
#define HGEK_N 0x4E
#define HGEK_O 0x4F
#define HGEK_P 0x50
#define HGEK_Q 0x51
#define HGEK_R 0x52
#define HGEK_S 0x53
#define HGEK_T 0x54
#define HGEK_U 0x55
#define HGEK_V 0x56
#define HGEK_W 0x57
#define HGEK_X 0x58
#define HGEK_Y 0x59
#define HGEK_Z 0x5A
#define HGEK_F1 0x70
#define HGEK_F2 0x71
#define HGEK_F3 0x72
#define HGEK_F4 0x73
#define HGEK_F5 0x74
#define HGEK_F6 0x75
#define HGEK_F7 0x76
#define HGEK_F8 0x77
#define HGEK_F9 0x78
#define HGEK_F10 0x79
#define HGEK_F11 0x7A
#define HGEK_F12 0x7B
#define HGEK_GRAVE 0xC0

// One corner of a quad: 32 bytes.
struct hgeVertex {
    float x = 0, y = 0;  // screen position
    float z = 0;         // 0 to 1 (no depth buffer: quads draw in submission order)
    DWORD col = 0;       // ARGB
    float tx = 0, ty = 0;    // texture coordinates, 0 to 1
    float tx2 = 0, ty2 = 0;  // coordinates in the second (mask) texture
};

// A textured quad: vertices top-left, top-right, bottom-right, bottom-left.
// When tex2 is set and stage2Mode is 2, the alpha of the quad is multiplied by
// the mask texture's alpha. The engine keeps one mask texel the size of one
// texel of the first texture: the mask origin texel sits at the point
// (tx2Offset, ty2Offset) measured in first-texture texels from the top-left of
// the quad's texture rectangle; outside the mask the quad is transparent.
struct hgeQuad {
    hgeVertex v[4];
    HTEXTURE tex = 0;
    int blend = BLEND_DEFAULT;
    HTEXTURE tex2 = 0;
    int stage2Mode = 0;
    float tx2Offset = 0, ty2Offset = 0;
    float tx2Div = 1.0f, ty2Div = 1.0f;
};

class HGE {
public:
    virtual void Release() = 0;

    // System
    virtual bool System_Initiate() = 0;
    virtual void System_Shutdown() = 0;
    virtual bool System_Start() = 0;
    virtual const char* System_GetErrorMessage() = 0;
    virtual void System_Log(const char* format, ...) = 0;
    virtual bool System_Launch(const char* url) = 0;
    virtual void System_Snapshot(const char* filename = 0) = 0;

    virtual void System_SetStateBool(hgeBoolState state, bool value) = 0;
    virtual void System_SetStateFunc(hgeFuncState state, hgeCallback value) = 0;
    virtual void System_SetStateInt(hgeIntState state, int value) = 0;
    virtual void System_SetStateString(hgeStringState state, const char* value) = 0;
    virtual bool System_GetStateBool(hgeBoolState state) = 0;
    virtual hgeCallback System_GetStateFunc(hgeFuncState state) = 0;
    virtual int System_GetStateInt(hgeIntState state) = 0;
    virtual const char* System_GetStateString(hgeStringState state) = 0;

    inline void System_SetState(hgeBoolState state, bool value) { System_SetStateBool(state, value); }
    inline void System_SetState(hgeFuncState state, hgeCallback value) { System_SetStateFunc(state, value); }
    inline void System_SetState(hgeIntState state, int value) { System_SetStateInt(state, value); }
    inline void System_SetState(hgeStringState state, const char* value) { System_SetStateString(state, value); }
    inline bool System_GetState(hgeBoolState state) { return System_GetStateBool(state); }
    inline hgeCallback System_GetState(hgeFuncState state) { return System_GetStateFunc(state); }
    inline int System_GetState(hgeIntState state) { return System_GetStateInt(state); }
    inline const char* System_GetState(hgeStringState state) { return System_GetStateString(state); }

    // Resources: whole files through the file layer.
    virtual void* Resource_Load(const char* filename, DWORD* size = 0) = 0;
    virtual void Resource_Free(void* res) = 0;
    virtual bool Resource_AttachPack(const char* filename, const char* password = 0) = 0;
    virtual void Resource_RemovePack(const char* filename) = 0;
    virtual void Resource_RemoveAllPacks() = 0;
    virtual char* Resource_MakePath(const char* filename = 0) = 0;

    // Ini file ("[SECTION]" / "Key=Value"); usable before System_Initiate.
    virtual void Ini_SetInt(const char* section, const char* name, int value) = 0;
    virtual int Ini_GetInt(const char* section, const char* name, int def_val) = 0;
    virtual void Ini_SetFloat(const char* section, const char* name, float value) = 0;
    virtual float Ini_GetFloat(const char* section, const char* name, float def_val) = 0;
    virtual char* Ini_GetString(const char* section, const char* name, const char* def_val) = 0;

    // Random numbers (Random_Int includes both bounds).
    virtual void Random_Seed(int seed = 0) = 0;
    virtual int Random_Int(int min, int max) = 0;
    virtual float Random_Float(float min, float max) = 0;

    // Timer
    virtual float Timer_GetDelta() = 0;
    virtual int Timer_GetFPS() = 0;

    // Sound, music, streams: inert here (all sound goes through the audio manager).
    virtual HEFFECT Effect_Load(const char* filename, DWORD size = 0) = 0;
    virtual void Effect_Free(HEFFECT eff) = 0;
    virtual HMUSIC Music_Load(const char* filename, DWORD size = 0) = 0;
    virtual void Music_Free(HMUSIC mus) = 0;
    virtual void Music_SetAmplification(HMUSIC music, int ampl) = 0;
    virtual HSTREAM Stream_Load(const char* filename, DWORD size = 0) = 0;
    virtual void Stream_Free(HSTREAM stream) = 0;

    // Input
    virtual void Input_GetMousePos(float* x, float* y) = 0;
    virtual int Input_GetMouseWheel() = 0;
    virtual bool Input_IsMouseOver() = 0;
    virtual bool Input_KeyDown(int key) = 0;
    virtual bool Input_KeyUp(int key) = 0;
    virtual bool Input_GetKeyState(int key) = 0;
    virtual const char* Input_GetKeyName(int key) = 0;
    virtual int Input_GetKey() = 0;
    virtual int Input_GetChar() = 0;

    // Graphics
    virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
    virtual void Gfx_EndScene() = 0;
    virtual void Gfx_Clear(DWORD color) = 0;
    virtual void Gfx_RenderQuad(const hgeQuad* quad) = 0;
    virtual void Gfx_SetClipping(int x = 0, int y = 0, int w = 0, int h = 0) = 0;

    // Render targets: inert here.
    virtual HTARGET Target_Create(int width, int height, bool zbuffer) = 0;
    virtual void Target_Free(HTARGET target) = 0;

    // Textures. Each keeps a CPU copy of its ARGB texels; Texture_Lock returns a
    // pointer into that copy at the rectangle's top-left texel, rows one texture
    // width apart. Unlocking a lock that was not read-only re-uploads.
    virtual HTEXTURE Texture_Create(int width, int height) = 0;
    virtual HTEXTURE Texture_Load(const char* filename, DWORD size = 0, bool bMipmap = false) = 0;
    virtual void Texture_Free(HTEXTURE tex) = 0;
    virtual int Texture_GetWidth(HTEXTURE tex, bool bOriginal = false) = 0;
    virtual int Texture_GetHeight(HTEXTURE tex, bool bOriginal = false) = 0;
    virtual DWORD* Texture_Lock(HTEXTURE tex, bool bReadOnly = true, int left = 0, int top = 0, int width = 0,
                                int height = 0) = 0;
    virtual void Texture_Unlock(HTEXTURE tex) = 0;

protected:
    virtual ~HGE() = default;
};

// Returns the one shared interface, creating it on first call; each call adds
// a reference that Release() gives back.
HGE* hgeCreate(int ver);
