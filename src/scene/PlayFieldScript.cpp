// The play field's script class "PlayField": a constructor (scene path,
// listener or nil) and the methods "Hide", "LostFocus", "SetPosXY" and
// "SetCursor". The entity manager owns a field built by a script: the Lua
// object only points at it, and neither garbage collection nor closing the
// state deletes it.
#include "engine/ScriptState.h"
#include "scene/PlayField.h"

namespace {

// The holder of a script-made field: a plain pointer that deletes nothing
// (the field added itself to the entity manager, which alone deletes it).
struct ScriptHandle {
    using element_type = PlayField;
    explicit ScriptHandle(PlayField* field) : pointer(field) {}
    PlayField* pointer;
};
PlayField* get_pointer(const ScriptHandle& handle) { return handle.pointer; }

void ScriptHide(PlayField& field) { field.Hide(); }
void ScriptLostFocus(PlayField& field) { field.LostFocus(); }
void ScriptSetPosXY(PlayField& field, float px, float py) { field.SetPosXY(px, py); }
void ScriptSetCursor(PlayField& field, int kind, const std::string& sprite, const std::string& item) {
    if (kind < PlayField::CURSOR_PLAIN || kind > PlayField::CURSOR_HELD_ITEM) kind = PlayField::CURSOR_PLAIN;
    field.SetCursor(PlayField::ECursorType(kind), sprite, item);
}

}  // namespace

bool PlayField::RegisterLua() {
    ScriptState* script = ScriptState::Instance();
    lua_State* state = script->GetState();
    if (!state || script->HasGlobal("PlayField")) return true;
    luabind::module(state)[luabind::class_<PlayField, ScriptHandle>("PlayField")
                               .def(luabind::constructor<const std::string&, ZOLTFramework::CQuestionListener*>())
                               .def("Hide", &ScriptHide)
                               .def("LostFocus", &ScriptLostFocus)
                               .def("SetPosXY", &ScriptSetPosXY)
                               .def("SetCursor", &ScriptSetCursor)];
    return true;
}
