#include "engine/ScriptState.h"

#include <cstdlib>

extern "C" {
#include <lauxlib.h>
}

#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"

namespace {
ScriptState* g_instance = nullptr;
}  // namespace

void ScriptState::DestroyInstance() {
    if (g_instance) g_instance->Close();
}

ScriptState* ScriptState::Instance() {
    // A function-local static is initialised once and in order, also when the
    // first call comes from another file's static initialisation.
    static ScriptState* created = [] {
        g_instance = new ScriptState();
        g_instance->Open();
        std::atexit(&DestroyInstance);
        return g_instance;
    }();
    return created;
}

ScriptState::~ScriptState() { Close(); }

void ScriptState::Open() {
    Close();
    m_state = luaL_newstate();
    if (m_state) luabind::open(m_state);
}

void ScriptState::Close() {
    if (!m_state) return;
    lua_close(m_state);
    m_state = nullptr;
}

int ScriptState::Run(int loadResult) {
    if (loadResult != LUA_OK) return loadResult;
    return lua_pcall(m_state, 0, LUA_MULTRET, 0);
}

int ScriptState::DoFile(const std::string& path) {
    if (!m_state) return LUA_ERRERR;
    std::string bytes;
    if (!FileSystem::ReadFile(path, bytes)) return LUA_ERRFILE;
    const int top = lua_gettop(m_state);
    const std::string chunkName = "@" + path;
    const int result = Run(luaL_loadbuffer(m_state, bytes.data(), bytes.size(), chunkName.c_str()));
    lua_settop(m_state, top);
    return result;
}

void ScriptState::DoString(const std::string& text) {
    if (!m_state) return;
    const int top = lua_gettop(m_state);
    const int result = Run(luaL_loadbuffer(m_state, text.data(), text.size(), text.c_str()));
    if (result != LUA_OK) {
        const char* message = lua_tostring(m_state, -1);
        HtmlLog::Instance()->Error("Lua error:" + HtmlLog::Shown(message ? message : "(no message)"));
    }
    lua_settop(m_state, top);
}

void ScriptState::ClearGlobal(const std::string& name) {
    if (!m_state) return;
    lua_pushnil(m_state);
    lua_setglobal(m_state, name.c_str());
}

bool ScriptState::HasGlobal(const std::string& name) const {
    if (!m_state) return false;
    lua_getglobal(m_state, name.c_str());
    const bool present = !lua_isnil(m_state, -1);
    lua_pop(m_state, 1);
    return present;
}

void ScriptState::ReportSetGlobalFailure(const std::string& name, int top, const char* what) {
    std::string message = what ? what : "";
    if (!what && m_state && lua_gettop(m_state) > top) {
        const char* text = lua_tostring(m_state, -1);
        message = text ? text : "(no message)";
    }
    if (m_state && lua_gettop(m_state) > top) lua_settop(m_state, top);
    HtmlLog::Instance()->Error("Lua error: cannot set global " + HtmlLog::Shown(name) + ": " + HtmlLog::Shown(message));
}
