// The script classes: a script builds a field without a listener; the entity
// manager alone deletes it, and globals never outlive what they name.
#include <gtest/gtest.h>

extern "C" {
#include <lauxlib.h>
}

#include "engine/ScriptState.h"
#include "scene/PlayField.h"
#include "scene/ScriptGlobals.h"
#include "scene/SceneObject.h"
#include "SceneFixtures.h"
#include "ScriptGlobal.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/scene/SceneTestEngine.h"

TEST(PlayFieldScript, AFieldBuiltByAScriptIsOwnedByTheEntityManagerAlone) {
    HtmlLogCapture log;
    SceneTestEngine engine;
    ScriptState* script = ScriptState::Instance();
    const std::string path = engine.WriteScene("fixture.xml", kFixtureScene);
    const std::string twins = engine.WriteScene("twins.xml", R"(<scene res_file="x" res_group="10" type="FindAll">
      <unit><sprite>Square</sprite><id>1</id></unit>
      <object><id>1</id><name>twin</name><z>1</z></object>
      <object><id>1</id><name>twin</name><x>100</x><z>1</z></object></scene>)");

    script->DoString("field = PlayField('" + path + "', nil)\n"
                     "field:SetPosXY(4, 6)\n"
                     "field:SetCursor(1, '', '')\n"
                     "PlayField_square:StartAnimation(0)\n"
                     "PlayField_musicbox:StopAnimation(0.5)\n"
                     "field:LostFocus()\n");
    EXPECT_EQ(log.CountRows("Error", "Lua error:"), 0) << log.Text();
    PlayField* field = Global<PlayField>("field");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(Global<PlayField>("play_field"), field);
    EXPECT_EQ(field->GetX(), 4.0f);
    // Before the panel opens (the scene's title runs), losing the focus
    // brings back the saved cursor, the plain one.
    EXPECT_EQ(HeldItem(field), nullptr);
    EXPECT_FLOAT_EQ(field->GetScaleX(), 1.0f);
    engine.Step(3);  // events go nowhere without a listener

    // Anything but nil or a listener is refused.
    script->DoString("bad = PlayField('" + path + "', 5)");
    EXPECT_EQ(log.CountRows("Error", "Lua error:"), 1);

    // A second field takes "play_field"; the first one's death leaves it alone.
    script->DoString("second = PlayField('" + twins + "', nil)");
    PlayField* second = Global<PlayField>("second");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Global<PlayField>("play_field"), second);
    EXPECT_EQ(Global<SceneObject>("PlayField_twin"), second->GetSceneObjects()[1]) << "the later object wins";
    second->GetSceneObjects()[0]->Kill();
    engine.Step();
    EXPECT_TRUE(script->HasGlobal("PlayField_twin")) << "the global names the other twin";

    field->Kill();
    script->DoString("field = nil");
    engine.Step();
    EXPECT_EQ(Global<PlayField>("play_field"), second);
    EXPECT_FALSE(script->HasGlobal("PlayField_square"));
    lua_gc(script->GetState(), LUA_GCCOLLECT, 0);
    engine.Step();

    // Closing the state deletes nothing either; the classes come back with a new state.
    script->Close();
    engine.Step();
    second->Kill();
    engine.Step();
    script->Open();
    PlayField::RegisterLua();
    SceneObject::RegisterLua();
    EXPECT_TRUE(script->HasGlobal("PlayField"));
    EXPECT_TRUE(script->HasGlobal("SceneObject"));
}
