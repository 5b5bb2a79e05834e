#include <gtest/gtest.h>

#include <luabind/luabind.hpp>

#include "engine/ScriptState.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/TempDir.h"

namespace {

// Writes a file into the folder and returns its full name.
inline std::string Put(const TempDir& dir, const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    return dir / name;
}

// Asked for during static initialisation, as the class registrations do.
ScriptState* const g_earlyInstance = ScriptState::Instance();

struct Probe {
    int id = 0;
};

lua_State* State() { return ScriptState::Instance()->GetState(); }

void RegisterProbe() {
    static bool done = false;
    if (done) return;
    done = true;
    luabind::module(State())[luabind::class_<Probe>("Probe")];
}

}  // namespace

TEST(ScriptState, OneStateFromStaticInitialisationOn) {
    ASSERT_NE(g_earlyInstance, nullptr);
    EXPECT_EQ(g_earlyInstance, ScriptState::Instance());
    EXPECT_NE(State(), nullptr);
    EXPECT_EQ(lua_gettop(State()), 0);
}

TEST(ScriptState, FailedScriptsAreLoggedOnceAndLeaveTheStackAsItWas) {
    HtmlLogCapture log;
    ScriptState* script = ScriptState::Instance();
    const int top = lua_gettop(State());

    script->DoString("this is not lua");
    EXPECT_EQ(lua_gettop(State()), top);
    EXPECT_EQ(log.CountRows("Error", "Lua error:"), 1);
    EXPECT_EQ(log.CountRows("Error", "Lua error:[string"), 1) << "the message follows without a blank";

    // None of Lua's libraries is opened: calling one fails while running.
    script->DoString("print('hello')");
    EXPECT_EQ(lua_gettop(State()), top);
    EXPECT_EQ(log.CountRows("Error", "Lua error:"), 2);

    for (int i = 0; i < 100; ++i) script->DoString("(");
    EXPECT_EQ(lua_gettop(State()), top) << "failures do not grow the stack";

    // Good scripts log nothing; their results are not left behind.
    script->DoString("answer = 6 * 7 return 1, 2, 3");
    EXPECT_EQ(lua_gettop(State()), top);
    EXPECT_EQ(log.CountRows("Error", "Lua error:"), 102);
    EXPECT_TRUE(script->HasGlobal("answer"));
    script->ClearGlobal("answer");
}

TEST(ScriptState, DoFileReturnsLuasResultWithoutLogging) {
    HtmlLogCapture log;
    TempDir folder;
    ScriptState* script = ScriptState::Instance();
    const int top = lua_gettop(State());

    EXPECT_EQ(script->DoFile(Put(folder, "good.lua", "from_file = 1\nreturn from_file")), LUA_OK);
    EXPECT_TRUE(script->HasGlobal("from_file"));
    EXPECT_EQ(script->DoFile(Put(folder, "bad.lua", "from_file = = 2")), LUA_ERRSYNTAX);
    EXPECT_EQ(script->DoFile(Put(folder, "fails.lua", "missing_function()")), LUA_ERRRUN);
    EXPECT_EQ(script->DoFile((folder / "absent.lua")), LUA_ERRFILE);
    EXPECT_EQ(lua_gettop(State()), top);
    EXPECT_EQ(log.Count("Lua error:"), 0);
    script->ClearGlobal("from_file");
}

TEST(ScriptState, AValueLuabindCannotPublishIsAnErrorRowNotAnException) {
    struct NeverRegistered {
        int id = 0;
    } value;
    ScriptState* script = ScriptState::Instance();
    HtmlLogCapture log;
    EXPECT_NO_THROW(script->SetGlobal("Unknown_Object", &value));
    EXPECT_EQ(log.CountRows("Error", "Lua error: cannot set global Unknown_Object"), 1);
    EXPECT_FALSE(script->HasGlobal("Unknown_Object"));
    EXPECT_EQ(lua_gettop(State()), 0);
}

TEST(ScriptState, GlobalsAreReplacedAndCleared) {
    RegisterProbe();
    ScriptState* script = ScriptState::Instance();
    Probe first, second;
    first.id = 1;
    second.id = 2;

    script->SetGlobal("PlayField_Vase", &first);
    script->SetGlobal("PlayField_Vase", &second);
    luabind::object value = luabind::globals(State())["PlayField_Vase"];
    EXPECT_EQ(luabind::object_cast<Probe*>(value), &second) << "the later object replaces the earlier";

    script->ClearGlobal("PlayField_Vase");
    EXPECT_FALSE(script->HasGlobal("PlayField_Vase"));
    script->ClearGlobal("never_set");  // clearing an absent global is harmless
    EXPECT_FALSE(script->HasGlobal("never_set"));
    EXPECT_EQ(lua_gettop(State()), 0);
}
