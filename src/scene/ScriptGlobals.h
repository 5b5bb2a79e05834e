// Scene entities published to the script host under global names. Scripts own
// none of them: a destroyed entity takes its global away, but only while that
// global still names it (a newer object of the same name keeps its own).
#pragma once

#include <exception>
#include <string>

#include "engine/ScriptState.h"

namespace SceneScript {

// Sets the global to the object; nothing while the script state is closed.
template <class T>
void Publish(const std::string& global, T* object) {
    ScriptState::Instance()->SetGlobal(global, object);
}

// The object of a script value, or null when the value holds none of that class.
template <class T>
T* Named(const luabind::object& value) {
    try {
        return luabind::object_cast<T*>(value);
    } catch (const std::exception&) {
        return nullptr;
    }
}

// Clears the global when it still names the object.
template <class T>
void Withdraw(const std::string& global, T* object) {
    lua_State* state = ScriptState::Instance()->GetState();
    if (!state) return;
    luabind::object value = luabind::globals(state)[global];
    if (luabind::type(value) != LUA_TUSERDATA) return;
    if (Named<T>(value) == object) ScriptState::Instance()->ClearGlobal(global);
}

}  // namespace SceneScript
