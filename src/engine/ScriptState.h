// The one Lua state of the process, where the play field and its scene objects
// are published as globals for scripts. Created by its first user (class
// registrations run during static initialisation, before the program entry) and
// closed at process exit. None of Lua's own libraries is opened into it.
#pragma once

#include <exception>
#include <string>

extern "C" {
#include <lua.h>
}
#include <luabind/luabind.hpp>

class ScriptState {
public:
    // The instance, created on the first call (safe before the program entry).
    static ScriptState* Instance();

    // A fresh Lua state with luabind opened on it; Close ends it.
    void Open();
    void Close();

    lua_State* GetState() const { return m_state; }

    // Loads and runs a script file (read through the file layer). 0 on success,
    // else Lua's error code; nothing is logged. The stack is left as it was.
    int DoFile(const std::string& path);
    // Loads and runs a script text. A failure is logged as an Error row "Lua
    // error:" followed by Lua's message. The stack is left as it was.
    void DoString(const std::string& text);

    // Publishes a value (a pointer of a class registered with luabind) under a
    // global name; a later value replaces an earlier one. A value luabind
    // cannot publish leaves the global as it was, with an Error row "Lua
    // error:"; no exception leaves.
    template <class T>
    void SetGlobal(const std::string& name, T value) {
        if (!m_state) return;
        const int top = lua_gettop(m_state);
        try {
            luabind::globals(m_state)[name] = value;
        } catch (const luabind::error&) {
            ReportSetGlobalFailure(name, top, nullptr);
        } catch (const std::exception& e) {
            ReportSetGlobalFailure(name, top, e.what());
        }
    }

    // Removes a global: a name whose object is gone must not lead to it.
    void ClearGlobal(const std::string& name);

    // True when the global exists (is not nil).
    bool HasGlobal(const std::string& name) const;

private:
    ScriptState() = default;
    ~ScriptState();
    ScriptState(const ScriptState&) = delete;
    ScriptState& operator=(const ScriptState&) = delete;

    // The exit handler: closes the state. The instance itself stays, so a late
    // caller (a static destructor) finds a closed state that does nothing.
    static void DestroyInstance();

    // The Error row for a failed SetGlobal (the message is Lua's, from the
    // stack, when what is null); the stack goes back to top.
    void ReportSetGlobalFailure(const std::string& name, int top, const char* what);

    // Runs a loaded chunk; returns Lua's result code.
    int Run(int loadResult);

    lua_State* m_state = nullptr;
};
