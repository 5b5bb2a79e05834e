// Every scene can be won as the game plays it (SceneWinnable.h): a scene with a
// fault fails with a row naming the scene file, the task or object and what is
// wrong. Small fixture scenes, each failing one beside a passing one, hold the
// rules themselves.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "SceneWinnable.h"
#include "engine/XMLDocument.h"
#include "graphics/ResDesc.h"
#include "graphics/ResourceDescriptions.h"

namespace {

using contenttest::Frame;
using contenttest::WinFault;

std::string Rows(const std::vector<WinFault>& faults) {
    std::string text;
    for (const WinFault& f : faults) text += (text.empty() ? "" : "\n") + f.where + ": " + f.problem;
    return text;
}

using SceneWinnable = contenttest::ResourceTest;

TEST_F(SceneWinnable, EveryScenesTasksCanAllBeDone) {
    const contenttest::FrameOf frameOf = [&](const std::string& resource, bool animation, Frame& f) {
        const auto* d = static_cast<const RSprite*>(rm->FindRes(animation ? RES_ANIMATION : RES_SPRITE, resource.c_str()));
        if (!d) return false;
        f = {d->w, d->h, d->hotx, d->hoty};
        return true;
    };
    const std::vector<std::string> files = contenttest::SceneFiles();
    for (const std::string& file : files) {
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded()) << file;
        const std::string rows = Rows(contenttest::WinFaults(*doc.GetRoot(), file, frameOf));
        EXPECT_TRUE(rows.empty()) << file << ":\n" << rows;
    }
    EXPECT_GE(files.size(), 7u) << "the story's scenes";
}

TEST(SceneWinnableRules, FixtureScenesFailWhereNobodyCanWinAndPassBeside) {
    // Every picture is 64 x 64 around its middle but "Missing", which is none.
    const contenttest::FrameOf frameOf = [](const std::string& resource, bool, Frame& f) {
        f = {64, 64, 32, 32};
        return resource != "Missing";
    };
    const std::string objects = R"(<unit><sprite>Thing</sprite><id>1</id></unit>
  <unit><sprite>Missing</sprite><id>2</id></unit>
  <object><id>1</id><name>key</name><x>500</x><y>300</y></object>
  <object><id>1</id><name>box</name><x>600</x><y>300</y></object>
  <object><id>1</id><name>chest</name><x>700</x><y>300</y></object>
  <object><id>1</id><name>coin</name><x>400</x><y>300</y></object>
  <object><id>1</id><name>rain</name><x>1100</x><y>300</y></object>)";
    const std::string key = R"(<task name="Key" type="And"><o name="key"/></task>)";
    const std::string box = R"(<task name="Box" type="Tool" tool_to_find="key" tool_sprite="k"><o name="box"/></task>)";
    const std::string chest = R"(<task name="Chest" type="Tool" tool_to_find="key" tool_sprite="k"><o name="chest"/></task>)";
    const std::string lamp = R"(<task name="Lamp" type="Tool" tool_to_find="lamp" tool_sprite="l"><o name="box"/></task>)";
    const std::string spare = R"(<tool spr_name="k" obj_name="key" tool_name="k" scale="1"/>)";
    const struct {
        const char* what;
        std::string rest;
        const char* says;  // in the rows; empty for none
    } rows[] = {
        {"a key found, then used on the box", key + box, ""},
        {"an item that names nothing", key + box + R"(<task name="Coin" type="And"><o name="ghost"/></task>)",
         "task \"Coin\": its item \"ghost\" names no object placed in the scene"},
        {"an And task with no item", key + box + R"(<task name="Empty" type="And"></task>)",
         "task \"Empty\": it lists no item"},
        {"two tool tasks use up one key", key + box + chest,
         "task \"Chest\": no copy of the tool \"key\" is left for 1 of its targets: the tool tasks \"Box\", \"Chest\" use up 2 (one a target), and the scene holds 1"},
        {"one tool task on two targets uses up one key",
         key + R"(<task name="Both" type="Tool" tool_to_find="key" tool_sprite="k"><o name="box"/><o name="chest"/></task>)",
         "task \"Both\": no copy of the tool \"key\" is left for 1 of its targets"},
        {"a second key in the bag serves the second", key + box + chest + spare, ""},
        {"a tool in the bag is no object to find",
         key + box + R"(<tool spr_name="l" obj_name="lamp" tool_name="l" scale="1"/><task name="Spare" type="And"><o name="lamp"/></task>)",
         "task \"Spare\": its item \"lamp\" names no object placed in the scene"},
        {"a task whose click waits for its game gives the key back",
         key + box + chest +
             R"(<task_condition><finished_task name="Box"/><action type="IgnoreHinting" name=""/><action type="MiniGame" name="g.xml"/></task_condition>)",
         ""},
        {"a tool only a hint names",
         lamp + R"(<task_condition><action type="ShowHint" name="LAMP_HINT/1/2"/></task_condition>)",
         "task \"Lamp\": it waits for the tool \"lamp\", which is neither"},
        {"a tool that starts in the bag", lamp + R"(<tool spr_name="l" obj_name="lamp" tool_name="l" scale="1"/>)", ""},
        {"a tool lying where no click reaches it",
         R"(<task name="Box" type="Tool" tool_to_find="brass key" tool_sprite="k"><o name="box"/></task>)",
         "task \"Box\": it waits for the tool \"brass key\""},
        {"a tool named whole by its task is taken up",
         R"(<task name="Box" type="Tool" tool_to_find="key" tool_sprite="k"><o name="box"/></task>)", ""},
        {"the measure wins a scene holding its unit",
         R"(<unit><sprite>compass_Crime_place_measure</sprite><id>3</id></unit>
  <task name="Measure" type="Tool" tool_to_find="compass_Crime_place_measure" tool_sprite="c"><o name="box"/></task>)",
         ""},
        {"but not one without it",
         R"(<task name="Measure" type="Tool" tool_to_find="compass_Crime_place_measure" tool_sprite="c"><o name="box"/></task>)",
         "task \"Measure\": it waits for the tool"},
        {"a find drawn outside the picture",
         R"(<object><id>1</id><name>far</name><x>1100</x><y>300</y></object><task name="Far" type="And"><o name="far"/></task>)",
         "object \"far\": its drawn box (1068, 268)-(1132, 332) lies outside the 1024 x 768 picture"},
        {"or across its edge",
         R"(<object><id>1</id><name>edge</name><x>300</x><y>750</y></object><task name="Edge" type="Or"><o name="edge"/></task>)",
         "object \"edge\": its drawn box (268, 718)-(332, 782) reaches beyond"},
        {"a find without a picture",
         R"(<object><id>2</id><name>blank</name><x>300</x><y>300</y></object><task name="Blank" type="And"><o name="blank"/></task>)",
         "object \"blank\": its picture \"Missing\" is no resource"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::unique_ptr<XMLDocument> doc = contenttest::TrialScene(objects + "\n  " + row.rest);
        ASSERT_TRUE(doc->IsLoaded());
        const std::string said = Rows(contenttest::WinFaults(*doc->GetRoot(), "trial.xml", frameOf));
        EXPECT_EQ(said.empty(), std::string(row.says).empty()) << said;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
    }
}

}  // namespace
