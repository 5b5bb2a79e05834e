// A scene file becomes the play field's objects and records; the objects fade
// in, the title runs and the panel opens after it.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/ScriptState.h"
#include "entities/widgets/CTitleEntity.h"
#include "graphics/hgeAnimation.h"
#include "profiles/PlayerManager.h"
#include "scene/Inventory.h"
#include "scene/LiveGroups.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/ScriptGlobals.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectsLayer.h"
#include "SceneFixtures.h"
#include "ScriptGlobal.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/scene/SceneTestEngine.h"

namespace {

std::vector<std::string> Names(const std::vector<SceneObject*>& objects) {
    std::vector<std::string> names;
    for (const SceneObject* object : objects) names.push_back(object->GetName());
    return names;
}

}  // namespace

TEST(PlayFieldLoad, SceneFileBecomesObjectsAndRecordsAndThePanelOpensAfterTheTitle) {
    HtmlLogCapture log;
    SceneTestEngine engine;
    const std::string path = engine.WriteScene("fixture.xml", kFixtureScene);
    auto* level = new LevelStandIn(path);
    PlayField* field = level->Field();

    EXPECT_EQ(log.CountRows("Info", "Play field loading - " + path), 1);
    EXPECT_EQ(log.CountRows("Info", "Play field loaded - " + path), 1);
    EXPECT_EQ(log.CountRows("Debug", "task.name = Shapes"), 1);
    // The faults: named, defaulted or skipped, and the game goes on. The
    // elements they name show in a browser as they stand.
    EXPECT_EQ(log.CountRows("Error", "Scene file \"" + path + "\": &lt;object&gt; has no child &lt;z&gt;"), 1);
    EXPECT_EQ(log.CountRows("Error", "Scene file \"" + path + "\": object \"ghost\" names unit 9"), 1);
    EXPECT_EQ(log.CountRows("Error", "Scene file \"" + path + "\": &lt;item&gt; has no attribute \"name\""), 1);
    EXPECT_EQ(log.CountRows("Warning", "Scene file \"" + path + "\": solve_later_object \"nobody\""), 1);

    // Objects in file order, placed in scene units, invisible at first.
    const auto& objects = field->GetSceneObjects();
    ASSERT_EQ(Names(objects), (std::vector<std::string>{"square", "disc", "musicbox", "key"}));
    EXPECT_EQ(objects[1]->GetX(), 0.0f) << "a missing x is 0";
    EXPECT_EQ(objects[1]->GetY(), 400.0f);
    EXPECT_EQ(objects[2]->GetDepth(), 1.0f) << "a missing z is 1, above the field";
    EXPECT_EQ(objects[0]->GetOpacity(), 0.0f);
    EXPECT_NE(dynamic_cast<hgeAnimation*>(objects[2]->GetDisplaySprite()), nullptr) << "animated";
    EXPECT_EQ(SceneObjectNamed(field, "key"), objects[3]);
    EXPECT_EQ(SceneObjectNamed(field, "ghost"), nullptr);
    EXPECT_EQ(SolveLaterObjects(field), (std::vector<SceneObject*>{objects[1]}));

    // Records.
    EXPECT_TRUE(LiveGroups::IsHeld(10)) << "the field holds its resource group";
    EXPECT_EQ(field->GetNextScene(), "Next");
    EXPECT_EQ(SceneObjectNamed(field, ""), nullptr) << "no dividing line: not a difference picture";
    ASSERT_EQ(field->Rules().Tasks().size(), 4u);
    const TaskRecord shapes = field->Rules().Task("Shapes");
    EXPECT_EQ(shapes.textPlural, "SHAPES");
    EXPECT_EQ(shapes.objectNames, (std::vector<std::string>{"square", "disc"}));
    EXPECT_EQ(field->Rules().Task("Box").toolSprite, "Key");
    EXPECT_EQ(field->Rules().Task("Nothing").name, "");
    EXPECT_EQ(field->Rules().ToolTargets(), (std::set<std::string>{"musicbox", ""}));
    EXPECT_EQ(field->Rules().IgnoreAdding(), (std::set<std::string>{"Hidden"}));
    EXPECT_EQ(field->Rules().IgnoreHinting(), (std::set<std::string>{"Key"}));
    ASSERT_EQ(field->Rules().Counters().size(), 2u) << "And tasks without tool and not ignored";
    EXPECT_EQ(field->Rules().Counters().at("Shapes").count, 2);
    EXPECT_EQ(field->Rules().Counters().at("Key").textSingular, "");
    ASSERT_EQ(field->Rules().Pairs().size(), 1u);
    EXPECT_EQ(field->Rules().Pairs()[0].secondName, "disc");
    EXPECT_EQ(field->Rules().TasksMatching("disc").size(), 2u);
    EXPECT_EQ(field->Rules().ConditionsFor("Key").size(), 1u);
    EXPECT_EQ(field->CountObjectsToFind(), 3u) << "the second of a pair does not count";
    // The tool element fills the bag; no item is on its way.
    ASSERT_EQ(field->GetInventory()->GetObjects().size(), 1u);
    EXPECT_EQ(field->GetInventory()->GetObjects()[0]->GetObjectName(), "spare_key");
    EXPECT_TRUE(field->Rules().ToolRecords().empty());

    // Geometry: the hit rectangle lies right of the panel; the bag sits on the panel.
    EXPECT_EQ(field->GetRect().x1, 180.0f);
    EXPECT_EQ(field->GetRect().x2, 980.0f);
    field->SetPosXY(10.0f, 20.0f);
    EXPECT_EQ(field->GetRect().x1, 190.0f);
    EXPECT_EQ(field->GetRect().y2, 620.0f);
    field->SetPosXY(0.0f, 0.0f);
    EXPECT_EQ(field->GetInventory()->GetParent(), level->Panel());

    // Script globals.
    EXPECT_EQ(Global<PlayField>("play_field"), field);
    EXPECT_EQ(Global<SceneObject>("PlayField_disc"), objects[1]);

    // Until the panel opens: cursors transparent, no input.
    const SceneObjectsLayer* layer = field->FindChild<SceneObjectsLayer>("ObjectsLayer");
    EXPECT_EQ(layer->GetCursorSprite()->GetColor() >> 24, 0u);
    const auto hide = level->EventsNamed("HidePanel");
    ASSERT_EQ(hide.size(), 1u);
    const float title = std::stof(hide[0].substr(10));
    EXPECT_GT(title, 0.5f);
    EXPECT_TRUE(level->EventsNamed("ShowPanel").empty());

    engine.Step();  // the frame in which the level and its field join the entity manager
    EXPECT_FALSE(field->IsFullyShown());
    engine.Run(0.5f);
    for (SceneObject* object : objects) EXPECT_EQ(object->GetAbsoluteOpacity(), 1.0f) << object->GetName();
    EXPECT_TRUE(field->IsFullyShown());

    engine.Run(title + 0.1f - 0.5f + engine.Dt());
    ASSERT_EQ(level->EventsNamed("ShowPanel").size(), 1u);
    EXPECT_NEAR(level->TimeOf("ShowPanel"), title + 0.1f, engine.Dt() + 1e-3f);
    EXPECT_EQ(layer->GetCursorSprite()->GetColor(), 0xFFFFFFFFu);
    // The condition without a condition fired once, right after "ShowPanel".
    const auto& events = level->events;
    const auto shown = std::find(events.begin(), events.end(), "ShowPanel=");
    ASSERT_NE(shown, events.end());
    ASSERT_NE(shown + 1, events.end());
    EXPECT_EQ(*(shown + 1), "ShowHint=Welcome");
    EXPECT_EQ(field->Rules().Conditions().size(), 2u);

    // Killing the level takes the field and its globals away.
    level->Kill();
    engine.Step();
    EXPECT_FALSE(ScriptState::Instance()->HasGlobal("play_field"));
    EXPECT_FALSE(ScriptState::Instance()->HasGlobal("PlayField_disc"));
}

TEST(PlayFieldLoad, BadScenesLeaveAnEmptyFieldWithThePanelOpen) {
    HtmlLogCapture log;
    SceneTestEngine engine;
    auto* broken = new LevelStandIn(engine.WriteScene("broken.xml", "<scene res_group="));
    EXPECT_EQ(log.CountRows("Error", "Play field: the scene file"), 1);
    EXPECT_TRUE(broken->Field()->GetSceneObjects().empty());
    EXPECT_TRUE(broken->Field()->IsFullyShown()) << "nothing is left to fade in";
    EXPECT_EQ(broken->EventsNamed("ShowPanel").size(), 1u);

    // Attributes missing from the root, an unknown title key, a shared group.
    auto* untitled = new LevelStandIn(engine.WriteScene("untitled.xml", R"(<scene SceneName="NO_SUCH_KEY"/>)"));
    EXPECT_EQ(log.CountRows("Error", "Scene file"), 3) << "res_file, res_group, type";
    EXPECT_EQ(log.CountRows("Warning", "Play field: the scene title \"NO_SUCH_KEY\""), 1);
    EXPECT_EQ(log.CountRows("Warning", "Scene file"), 1) << "resource group -1 is not purged";
    EXPECT_EQ(untitled->events, (std::vector<std::string>{"ShowPanel="}));
    engine.Step(3);

    // A scene won while its title still runs (nothing to find here): the title
    // goes with the win, or it would stand frozen over the score window.
    auto* quick = new LevelStandIn(engine.WriteScene("quick.xml", R"(<scene SceneName="SCENE_FIXTURE"/>)"));
    engine.Step(3);
    ASSERT_NE(quick->Field()->FindChild<ZOLTFramework::CTitleEntity>("SceneTitle"), nullptr);
    quick->Field()->CheckWin();
    EXPECT_EQ(quick->EventsNamed("Win").size(), 1u);
    engine.Step();
    EXPECT_EQ(quick->Field()->FindChild<ZOLTFramework::CTitleEntity>("SceneTitle"), nullptr);
}

TEST(PlayFieldLoad, MissingFieldArtIsReportedAndNothingBreaks) {
    HtmlLogCapture log;
    SceneTestEngine engine;
    engine.GetResourceManager()->ChangeScript(engine.WriteScene("empty.res", "; nothing\n").c_str());
    auto* level = new LevelStandIn(engine.WriteScene("fixture.xml", kFixtureScene));
    PlayField* field = level->Field();
    for (const char* name : {"Play field: no sprite \"InGamePanel\"", "Play field: no animation \"PlayCursor\"",
                             "Play field: no animation \"DiffCursor\"", "Inventory: no sprite \"Inventory\"",
                             "Scene object \"square\": no sprite \"Square\"",
                             "Scene object \"musicbox\": no animation \"box_Fixture\""})
        EXPECT_EQ(log.CountRows("Error", name), 1) << name;
    EXPECT_EQ(field->GetRect().x1, 0.0f);
    SceneObject* box = SceneObjectNamed(field, "musicbox");
    box->StartAnimation(0.0f);
    box->StopAnimation(1.0f);
    field->OnRightButton(true);  // the glass, kept as the cursor of the field
    engine.MoveMouse(400, 300);
    engine.Step(5);
    EXPECT_TRUE(field->FindChild<SceneObjectsLayer>("ObjectsLayer")->GetEnrolled().empty()) << "image-less objects do not enrol";
    // Back to the plain cursor, the pointer tests the tool's target under it
    // every frame: a target without a picture is never hovered.
    field->OnRightButton(true);
    engine.MoveMouse(700.0f * 0.78125f, 500.0f * 0.78125f);
    engine.Step(5);
}

// A task that can never count down is named at load with a Warning row, and
// the field plays on with it as the file has it.
TEST(PlayFieldLoad, TasksThatCanNeverCountDownAreWarnedOfAtLoad) {
    const std::string placed = R"(<unit><sprite>Square</sprite><id>1</id></unit>
  <object><id>1</id><name>square</name><x>300</x><y>200</y><z>10</z></object>
  <object><id>7</id><name>unplaced</name><x>300</x><y>200</y><z>10</z></object>)";
    const struct {
        const char* what;
        const char* tasks;
        const char* warning;  // the row after "Scene file \"<path>\": the task ", empty for none
    } rows[] = {
        {"a find of a placed object", R"(<task name="Find" type="And"><item name="square"/></task>)", ""},
        {"the game's own Dummy task of a state", R"(<task name="Dummy" type="And"></task>)", ""},
        {"an And task with no item", R"(<task name="Empty" type="And"></task>)",
         "\"Empty\" lists no item; it can never count down."},
        {"an item that names nothing", R"(<task name="Ghost" type="And"><item name="square"/><item name="gh&lt;o&gt;st"/></task>)",
         "\"Ghost\" lists the item \"gh&lt;o&gt;st\", which names no object of the scene; it can never count down."},
        {"an object naming no unit is not placed", R"(<task name="Lost" type="Or"><item name="unplaced"/></task>)",
         "\"Lost\" lists the item \"unplaced\", which names no object of the scene"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        HtmlLogCapture log;
        SceneTestEngine engine;
        const std::string path = engine.WriteScene(
            "stuck.xml", std::string(R"(<scene res_file="x" res_group="10" type="FindAll">)") + placed + row.tasks +
                             "</scene>");
        auto* level = new LevelStandIn(path);
        const std::string prefix = "Scene file \"" + path + "\": the task ";
        EXPECT_EQ(log.CountRows("Warning", prefix), *row.warning ? 1 : 0);
        if (*row.warning) {
            EXPECT_EQ(log.CountRows("Warning", prefix + row.warning), 1);
        }
        EXPECT_EQ(level->Field()->Rules().Tasks().size(), 1u) << "the task is kept";
        EXPECT_EQ(Names(level->Field()->GetSceneObjects()), std::vector<std::string>{"square"});
        level->Kill();
        engine.Step();
    }
}
