#include "platform/HgeImpl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/FileSystem.h"
#include "platform/KeyNames.h"
#include "platform/TextEncoding.h"

namespace {

HgeImpl* g_instance = nullptr;

// The seed used by headless runs and whenever DROVALIN_SEED is not given there.
const uint32_t kFixedSeed = 0x5EED;

int FuncIndex(hgeFuncState state) {
    const int i = int(state) - int(HGE_FRAMEFUNC);
    return (i >= 0 && i < 6) ? i : -1;
}

}  // namespace

HGE* HgeImpl::Acquire() {
    if (!g_instance) g_instance = new HgeImpl();
    ++g_instance->m_refs;
    return g_instance;
}

HGE* hgeCreate(int ver) {
    if (ver != HGE_VERSION) std::fprintf(stderr, "hgeCreate: interface version 0x%X asked, 0x%X given\n", ver, HGE_VERSION);
    return HgeImpl::Acquire();
}

HgeImpl::HgeImpl() : m_env(PlatformEnv::Refresh()), m_batcher(*this) {
    if (!m_env.headless) {
        m_backend.reset(CreateGlBackend());
        if (!m_backend) std::fprintf(stderr, "No window backend built in: running headless\n");
    }
    if (!m_backend) m_backend.reset(CreateHeadlessBackend());
    Random_Seed(0);
    if (!m_env.inputScript.empty()) m_backend->Driver().Script().LoadFile(m_env.inputScript);
    m_backend->Driver().Attach(this);
}

HgeImpl::~HgeImpl() {
    System_Shutdown();
    m_backend->Driver().Attach(nullptr);
    if (g_instance == this) g_instance = nullptr;
}

void HgeImpl::Release() {
    if (--m_refs <= 0) delete this;
}

// ---------------------------------------------------------------- system

bool HgeImpl::System_Initiate() {
    if (m_initiated) return true;
    WindowConfig cfg;
    cfg.width = m_width;
    cfg.height = m_height;
    cfg.windowed = m_windowed;
    cfg.hideMouse = m_hideMouse;
    cfg.titleUtf8 = Cp1250ToUtf8(m_title);
    std::string error;
    if (!m_backend->Initiate(cfg, error)) {
        SetError("Can't create the window: " + error);
        return false;
    }
    m_initiated = true;
    m_time = 0;
    m_dt = 0;
    System_Log("Engine started: %s backend, %dx%d, %s", m_backend->IsHeadless() ? "headless" : "SDL2 + OpenGL",
               m_width, m_height, m_windowed ? "windowed" : "full screen");
    // Textures loaded before the window existed reach the graphics card now.
    m_textures.ForEach([this](Texture& t) { m_backend->UploadTexture(t); });
    return true;
}

void HgeImpl::System_Shutdown() {
    if (!m_initiated) {
        m_textures.Clear();
        return;
    }
    m_inScene = false;
    m_textures.ForEach([this](Texture& t) { m_backend->ReleaseTexture(t); });
    m_textures.Clear();
    m_backend->Shutdown();
    m_initiated = false;
    System_Log("Engine shut down");
}

bool HgeImpl::System_Start() {
    if (!m_initiated) {
        SetError("System_Start: System_Initiate was not called");
        return false;
    }
    if (!m_funcs[FuncIndex(HGE_FRAMEFUNC)]) {
        SetError("System_Start: no frame function");
        return false;
    }
    int run = 0;
    while (m_env.frames < 0 || run < m_env.frames) {
        ++run;
        if (!RunFrame()) break;
    }
    return true;
}

bool HgeImpl::RunFrame() {
    if (!m_initiated) return false;
    ++m_frame;
    m_input.BeginFrame();
    BackendEvents events;
    m_backend->PumpEvents(m_input, events);
    ApplyScriptEvents(events.closeRequested);
    m_input.EndEvents();

    if (events.focusLost) {
        m_input.ReleaseAll();
        if (hgeCallback f = m_funcs[FuncIndex(HGE_FOCUSLOSTFUNC)]) f();
    }
    if (events.focusGained)
        if (hgeCallback f = m_funcs[FuncIndex(HGE_FOCUSGAINFUNC)]) f();
    if (events.closeRequested) {
        hgeCallback exitFunc = m_funcs[FuncIndex(HGE_EXITFUNC)];
        if (!exitFunc || exitFunc()) return false;
    }

    // Headless runs always step by the fixed time step; a window does when
    // DROVALIN_DT is given (repeatable runs), else it measures real time.
    const float fixedDt = m_backend->IsHeadless() || m_env.fixedStep ? m_env.dt : 0.0f;
    m_dt = m_backend->NextFrameDelta(m_env.noCap ? HGEFPS_UNLIMITED : m_fpsCap, fixedDt);
    m_time += m_dt;
    ++m_fpsFrames;
    if (m_time - m_fpsClock >= 1.0) {
        m_fps = m_fpsFrames;
        m_fpsFrames = 0;
        m_fpsClock = m_time;
    }

    if (hgeCallback frame = m_funcs[FuncIndex(HGE_FRAMEFUNC)])
        if (frame()) return false;
    if (hgeCallback render = m_funcs[FuncIndex(HGE_RENDERFUNC)]) render();
    return m_initiated;
}

void HgeImpl::ApplyScriptEvents(bool& closeRequested) {
    InputScript& script = m_backend->Driver().Script();
    for (const InputEvent& ev : script.Take(m_frame)) {
        switch (ev.kind) {
            case InputEvent::Move: m_input.MoveMouse(ev.x, ev.y); break;
            case InputEvent::Down: m_input.KeyDown(ev.key); break;
            case InputEvent::Up: m_input.KeyUp(ev.key); break;
            case InputEvent::Press:  // split when queued; kept for completeness
                m_input.KeyDown(ev.key);
                script.Add(m_frame + 1, InputEvent{InputEvent::Up, 0, 0, ev.key, ""});
                break;
            case InputEvent::Char: {
                // One character per frame from this frame on.
                if (!ev.text.empty()) m_input.TypeChar((unsigned char)ev.text[0]);
                if (ev.text.size() > 1) {
                    InputEvent rest = ev;
                    rest.text.erase(0, 1);
                    script.Add(m_frame + 1, rest);
                }
                break;
            }
            case InputEvent::Close: closeRequested = true; break;
            case InputEvent::Snapshot: System_Snapshot(nullptr); break;
        }
    }
}

void HgeImpl::System_Log(const char* format, ...) {
    if (!format) return;
    char buf[4096];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    m_log.Write(buf);
}

bool HgeImpl::System_Launch(const char* url) {
    if (!url || !*url) return false;
    return m_initiated && m_backend->OpenUrl(url);
}

std::string HgeImpl::SnapshotPath(const char* filename) {
    // Pictures go beside the settings file: the application puts it in its
    // storage folder.
    std::string folder = FileSystem::Slashed(m_iniPath);
    const size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    if (filename && *filename) {
        if (FileSystem::IsAbsolute(filename)) return filename;
        return folder + filename;
    }
    for (int i = 0; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "shot%03d.png", i);
        if (!FileSystem::FileExists(folder + name)) return folder + name;
    }
    return folder + "shot999.png";
}

void HgeImpl::System_Snapshot(const char* filename) {
    m_backend->Driver().SnapshotRequested();
    if (!m_initiated) return;
    if (m_backend->IsHeadless()) {
        System_Log("Snapshot skipped: no picture in a headless run");
        return;
    }
    // Written when the frame being drawn (or the next one) is finished.
    m_pendingSnapshot = SnapshotPath(filename);
}

void HgeImpl::SetError(const std::string& text) {
    m_error = text;
    System_Log("Error: %s", text.c_str());
    std::fprintf(stderr, "%s\n", text.c_str());
}

void HgeImpl::LogOnce(const std::string& what) {
    if (m_loggedOnce.insert(what).second) System_Log("%s", what.c_str());
}

// ---------------------------------------------------------------- states

void HgeImpl::System_SetStateBool(hgeBoolState state, bool value) {
    switch (state) {
        case HGE_WINDOWED:
            if (value != m_windowed) {
                m_windowed = value;
                if (m_initiated) {
                    m_backend->SetWindowed(value);
                    if (hgeCallback f = m_funcs[FuncIndex(HGE_GFXRESTOREFUNC)]) f();
                }
            }
            break;
        case HGE_ZBUFFER: m_zbuffer = value; break;
        case HGE_TEXTUREFILTER: m_textureFilter = value; break;
        case HGE_USESOUND: m_useSound = value; break;
        case HGE_DONTSUSPEND: m_dontSuspend = value; break;
        case HGE_HIDEMOUSE:
            m_hideMouse = value;
            if (m_initiated) m_backend->SetMouseVisible(!value);
            break;
        case HGE_SHOWSPLASH: m_showSplash = value; break;
        default: break;  // unknown states are accepted and ignored
    }
}

void HgeImpl::System_SetStateFunc(hgeFuncState state, hgeCallback value) {
    const int i = FuncIndex(state);
    if (i >= 0) m_funcs[i] = value;
}

void HgeImpl::System_SetStateInt(hgeIntState state, int value) {
    switch (state) {
        case HGE_SCREENWIDTH:
            if (!m_initiated && value > 0) m_width = value;
            break;
        case HGE_SCREENHEIGHT:
            if (!m_initiated && value > 0) m_height = value;
            break;
        case HGE_SCREENBPP:
            if (!m_initiated) m_bpp = value;
            break;
        case HGE_SAMPLERATE: m_sampleRate = value; break;
        case HGE_FXVOLUME: m_fxVolume = value; break;
        case HGE_MUSVOLUME: m_musVolume = value; break;
        case HGE_STREAMVOLUME: m_streamVolume = value; break;
        case HGE_FPS: m_fpsCap = value; break;
        default: break;
    }
}

void HgeImpl::System_SetStateString(hgeStringState state, const char* value) {
    const std::string v = value ? value : "";
    switch (state) {
        case HGE_ICON: m_icon = v; break;
        case HGE_TITLE:
            m_title = v;
            if (m_initiated) m_backend->SetTitle(Cp1250ToUtf8(v));
            break;
        case HGE_INIFILE:
            m_iniPath = v;
            m_ini.SetPath(v);
            break;
        case HGE_LOGFILE:
            m_logPath = v;
            m_log.SetPath(v);
            break;
        default: break;
    }
}

bool HgeImpl::System_GetStateBool(hgeBoolState state) {
    switch (state) {
        case HGE_WINDOWED: return m_windowed;
        case HGE_ZBUFFER: return m_zbuffer;
        case HGE_TEXTUREFILTER: return m_textureFilter;
        case HGE_USESOUND: return m_useSound;
        case HGE_DONTSUSPEND: return m_dontSuspend;
        case HGE_HIDEMOUSE: return m_hideMouse;
        case HGE_SHOWSPLASH: return m_showSplash;
        default: return false;
    }
}

hgeCallback HgeImpl::System_GetStateFunc(hgeFuncState state) {
    const int i = FuncIndex(state);
    return i >= 0 ? m_funcs[i] : nullptr;
}

int HgeImpl::System_GetStateInt(hgeIntState state) {
    switch (state) {
        case HGE_SCREENWIDTH: return m_width;
        case HGE_SCREENHEIGHT: return m_height;
        case HGE_SCREENBPP: return m_bpp;
        case HGE_SAMPLERATE: return m_sampleRate;
        case HGE_FXVOLUME: return m_fxVolume;
        case HGE_MUSVOLUME: return m_musVolume;
        case HGE_STREAMVOLUME: return m_streamVolume;
        case HGE_FPS: return m_fpsCap;
        case HGE_POWERSTATUS: return -1;  // not reported
        default: return 0;
    }
}

const char* HgeImpl::System_GetStateString(hgeStringState state) {
    switch (state) {
        case HGE_ICON: return m_icon.c_str();
        case HGE_TITLE: return m_title.c_str();
        case HGE_INIFILE: return m_iniPath.empty() ? nullptr : m_iniPath.c_str();
        case HGE_LOGFILE: return m_logPath.empty() ? nullptr : m_logPath.c_str();
        default: return nullptr;
    }
}

// ---------------------------------------------------------------- resources

void* HgeImpl::Resource_Load(const char* filename, DWORD* size) {
    if (size) *size = 0;
    if (!filename || !*filename) return nullptr;
    std::string data;
    if (!FileSystem::ReadFile(filename, data)) {
        System_Log("Can't load resource: %s", filename);
        return nullptr;
    }
    void* buf = std::malloc(data.size() + 1);
    if (!buf) return nullptr;
    std::memcpy(buf, data.data(), data.size());
    static_cast<char*>(buf)[data.size()] = 0;  // text files may be read as C strings
    if (size) *size = DWORD(data.size());
    return buf;
}

void HgeImpl::Resource_Free(void* res) { std::free(res); }

bool HgeImpl::Resource_AttachPack(const char* filename, const char* /*password*/) {
    System_Log("Resource packs are not supported: %s not attached", filename ? filename : "(null)");
    return false;
}

void HgeImpl::Resource_RemovePack(const char*) {}
void HgeImpl::Resource_RemoveAllPacks() {}

char* HgeImpl::Resource_MakePath(const char* filename) {
    const std::string name = FileSystem::Slashed(filename ? filename : "");
    m_madePath = FileSystem::IsAbsolute(name) ? name : FileSystem::DataRoot() + name;
    return &m_madePath[0];
}

// ---------------------------------------------------------------- ini

void HgeImpl::Ini_SetInt(const char* section, const char* name, int value) {
    if (section && name) m_ini.SetInt(section, name, value);
}

int HgeImpl::Ini_GetInt(const char* section, const char* name, int def_val) {
    return (section && name) ? m_ini.GetInt(section, name, def_val) : def_val;
}

void HgeImpl::Ini_SetFloat(const char* section, const char* name, float value) {
    if (section && name) m_ini.SetFloat(section, name, value);
}

float HgeImpl::Ini_GetFloat(const char* section, const char* name, float def_val) {
    return (section && name) ? m_ini.GetFloat(section, name, def_val) : def_val;
}

char* HgeImpl::Ini_GetString(const char* section, const char* name, const char* def_val) {
    std::string v;
    if (section && name && m_ini.Get(section, name, v))
        m_iniValue = v;
    else
        m_iniValue = def_val ? def_val : "";
    return &m_iniValue[0];
}

// ---------------------------------------------------------------- random

void HgeImpl::Random_Seed(int seed) {
    uint32_t s = uint32_t(seed);
    if (seed == 0) {
        if (m_env.hasSeed)
            s = m_env.seed;
        else if (!m_backend->IsHeadless())
            s = uint32_t(std::time(nullptr));
        else
            s = kFixedSeed;
    }
    m_random.Seed(s);
}

// ---------------------------------------------------------------- sound and targets (inert)

HEFFECT HgeImpl::Effect_Load(const char*, DWORD) {
    LogOnce("Effect_Load is not supported: sounds play through the audio manager");
    return 0;
}

HMUSIC HgeImpl::Music_Load(const char*, DWORD) {
    LogOnce("Music_Load is not supported: music plays through the audio manager");
    return 0;
}

HSTREAM HgeImpl::Stream_Load(const char*, DWORD) {
    LogOnce("Stream_Load is not supported: streams play through the audio manager");
    return 0;
}

HTARGET HgeImpl::Target_Create(int, int, bool) {
    LogOnce("Target_Create is not supported: no render targets");
    return 0;
}

// ---------------------------------------------------------------- input

void HgeImpl::Input_GetMousePos(float* x, float* y) {
    if (x) *x = m_input.MouseX();
    if (y) *y = m_input.MouseY();
}

const char* HgeImpl::Input_GetKeyName(int key) { return KeyName(key); }

// ---------------------------------------------------------------- graphics

bool HgeImpl::Gfx_BeginScene(HTARGET target) {
    if (!m_initiated) return false;
    if (target != 0) {
        LogOnce("Gfx_BeginScene: render targets are not supported");
        return false;
    }
    if (m_inScene) Gfx_EndScene();
    m_inScene = true;
    m_batcher.ResetFrameCounts();
    m_backend->BeginScene();
    if (m_clip.on) m_backend->SetClipping(m_clip);
    return true;
}

void HgeImpl::Gfx_EndScene() {
    if (!m_inScene) return;
    m_batcher.Flush();
    m_inScene = false;
    RenderStats::Frame drawn;
    drawn.quads = m_batcher.FrameQuads();
    drawn.drawCalls = m_batcher.FrameDrawCalls();
    m_backend->Driver().FrameDrawn(drawn);
    const std::string snapshot = m_pendingSnapshot;
    m_pendingSnapshot.clear();
    const bool ok = m_backend->EndScene(snapshot);
    if (!snapshot.empty()) {
        if (ok) {
            m_backend->Driver().SnapshotWritten(snapshot);
            System_Log("Snapshot written: %s", snapshot.c_str());
        } else {
            System_Log("Snapshot not written: %s", snapshot.c_str());
        }
    }
}

void HgeImpl::Gfx_Clear(DWORD color) {
    if (!m_inScene) return;
    m_batcher.Flush();
    m_backend->Clear(color);
}

void HgeImpl::Gfx_RenderQuad(const hgeQuad* quad) {
    if (!quad) return;
    if (!m_inScene) {
        LogOnce("Gfx_RenderQuad outside Gfx_BeginScene/Gfx_EndScene: ignored");
        return;
    }
    if (m_backend->Driver().Recording()) m_backend->Driver().Record(*quad, m_clip);
    // A texture that is gone draws as none rather than reaching the backend.
    if ((quad->tex && !m_textures.Find(quad->tex)) || (quad->tex2 && !m_textures.Find(quad->tex2))) {
        hgeQuad copy = *quad;
        if (copy.tex && !m_textures.Find(copy.tex)) copy.tex = 0;
        if (copy.tex2 && !m_textures.Find(copy.tex2)) copy.tex2 = 0;
        LogOnce("Gfx_RenderQuad: a quad names a texture that does not exist");
        m_batcher.Add(copy);
        return;
    }
    m_batcher.Add(*quad);
}

void HgeImpl::Gfx_SetClipping(int x, int y, int w, int h) {
    ClipRect clip;
    const bool whole = (x == 0 && y == 0 && w == 0 && h == 0) || (x <= 0 && y <= 0 && x + w >= m_width && y + h >= m_height);
    if (!whole) {
        // Keep the rectangle on the screen; an empty one hides everything.
        int x0 = x < 0 ? 0 : x, y0 = y < 0 ? 0 : y;
        int x1 = x + w > m_width ? m_width : x + w, y1 = y + h > m_height ? m_height : y + h;
        if (x1 < x0) x1 = x0;
        if (y1 < y0) y1 = y0;
        clip.on = true;
        clip.x = x0;
        clip.y = y0;
        clip.w = x1 - x0;
        clip.h = y1 - y0;
    }
    if (clip.on == m_clip.on && (!clip.on || (clip.x == m_clip.x && clip.y == m_clip.y && clip.w == m_clip.w &&
                                              clip.h == m_clip.h)))
        return;
    m_batcher.Flush();
    m_clip = clip;
    if (m_inScene) m_backend->SetClipping(m_clip);
}

void HgeImpl::DrawBatch(const BatchKey& key, const hgeQuad* quads, int count) {
    m_backend->DrawBatch(key, quads, count);
}

// ---------------------------------------------------------------- textures

HTEXTURE HgeImpl::Texture_Create(int width, int height) {
    const HTEXTURE h = m_textures.Create(width, height);
    if (!h) {
        System_Log("Can't create texture %dx%d", width, height);
        return 0;
    }
    if (m_initiated) m_backend->UploadTexture(*m_textures.Find(h));
    return h;
}

HTEXTURE HgeImpl::Texture_Load(const char* filename, DWORD size, bool /*bMipmap*/) {
    if (!filename) return 0;
    std::string reason;
    HTEXTURE h = 0;
    if (size > 0) {
        h = m_textures.Decode(filename, size, reason);  // the name is the image in memory
        if (!h) System_Log("Can't load texture from memory: %s", reason.c_str());
    } else {
        std::string data;
        if (!FileSystem::ReadFile(filename, data))
            reason = "file not found";
        else
            h = m_textures.Decode(data.data(), data.size(), reason);
        if (!h) {
            const std::string line = std::string("Can't load texture: ") + filename + " (" + reason + ")";
            System_Log("%s", line.c_str());
            AppLog::ReportFailure(filename, line);
            return 0;
        }
    }
    if (h && m_initiated) m_backend->UploadTexture(*m_textures.Find(h));
    return h;
}

void HgeImpl::Texture_Free(HTEXTURE tex) {
    Texture* t = m_textures.Find(tex);
    if (!t) return;
    if (m_batcher.Uses(tex)) m_batcher.Flush();
    if (m_initiated) m_backend->ReleaseTexture(*t);
    m_textures.Remove(tex);
}

int HgeImpl::Texture_GetWidth(HTEXTURE tex, bool) {
    const Texture* t = m_textures.Find(tex);
    return t ? t->width : 0;
}

int HgeImpl::Texture_GetHeight(HTEXTURE tex, bool) {
    const Texture* t = m_textures.Find(tex);
    return t ? t->height : 0;
}

DWORD* HgeImpl::Texture_Lock(HTEXTURE tex, bool bReadOnly, int left, int top, int width, int height) {
    Texture* t = m_textures.Find(tex);
    if (!t) return nullptr;
    DWORD* p = TextureStore::Lock(*t, bReadOnly, left, top, width, height);
    if (!p) System_Log("Texture_Lock: rectangle %d,%d %dx%d is outside the %dx%d texture", left, top, width, height,
                       t->width, t->height);
    return p;
}

void HgeImpl::Texture_Unlock(HTEXTURE tex) {
    Texture* t = m_textures.Find(tex);
    if (!t || !TextureStore::Unlock(*t)) return;
    if (m_batcher.Uses(tex)) m_batcher.Flush();  // quads already queued show the old texels
    if (m_initiated) m_backend->UploadTexture(*t);
}
