// The object a script global names, as the scene tests read it.
#pragma once

#include <string>

#include "engine/ScriptState.h"
#include "scene/ScriptGlobals.h"

template <class T>
T* Global(const std::string& name) {
    luabind::object value = luabind::globals(ScriptState::Instance()->GetState())[name];
    return SceneScript::Named<T>(value);
}
