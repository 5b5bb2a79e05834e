// Every action of every scene's task conditions is one the game acts on where
// it stands (SceneActions.h): the table of stands and one row per action are
// printed, and a scene with an action nothing acts on fails with a row naming
// it. Small fixture scenes, each failing one beside a passing one, hold the
// rules themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "SceneActions.h"
#include "engine/XMLDocument.h"

namespace {

using contenttest::ReadSceneActions;
using contenttest::SceneAction;
using contenttest::StandName;

// "type@stand:actor" per action, "!" for nothing acting on it.
std::string Summary(const std::vector<SceneAction>& actions) {
    std::string text;
    for (const SceneAction& a : actions)
        text += (text.empty() ? "" : " ") + a.type + "@" + StandName(a.stand) + ":" + (a.actor.empty() ? "!" : a.actor);
    return text;
}

TEST(SceneActions, EveryActionOfEverySceneIsOneTheGameActsOnWhereItStands) {
    std::printf("%-42s %s\n", "where an action stands", "what the game acts on there");
    for (const contenttest::StandRow& row : contenttest::Stands()) std::printf("%-42s %s\n", row.where, row.handled);
    std::printf("\n%-15s %-22s %-19s %-36s %-14s %s\n", "scene", "condition", "action", "value", "stands", "acts");
    const std::vector<std::string> files = contenttest::SceneFiles();
    int rows = 0;
    for (const std::string& file : files) {
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded()) << file;
        const std::string scene = std::filesystem::path(file).filename().string();
        for (const SceneAction& a : ReadSceneActions(*doc.GetRoot())) {
            ++rows;
            std::printf("%-15s %-22s %-19s %-36s %-14s %s\n", scene.c_str(), a.when.c_str(), a.type.c_str(),
                        a.value.c_str(), StandName(a.stand), a.actor.empty() ? "NOTHING" : a.actor.c_str());
            EXPECT_TRUE(a.problem.empty()) << scene << ", condition " << a.when << ", action \"" << a.type
                                           << "\": " << a.problem;
        }
    }
    std::fflush(stdout);
    EXPECT_GE(rows, 20) << "the story's scenes have their conditions";
}

TEST(SceneActions, FixtureScenesFailWhereNothingActsAndPassBeside) {
    // Key lists the key, the tool of Box; Coin is a plain find.
    const std::string tasks = R"(<task name="Key" type="And"><o name="key"/></task>
  <task name="Box" type="Tool" tool_to_find="key" tool_sprite="key"><o name="box"/></task>
  <task name="Coin" type="And"><o name="coin"/></task>
  <task name="Odd" type="Plain"><o name="odd"/></task>)";
    const struct {
        const char* what;
        const char* conditions;
        const char* actions;  // Summary()
        const char* says;     // in the problems, when there are any
    } rows[] = {
        {"the level warns of EnableHinting at the opening", R"(<task_condition><action type="EnableHinting" name="Coin"/></task_condition>)",
         "EnableHinting@opening:!", "opening"},
        {"the opening's lock is the field's, its page the level's",
         R"(<task_condition><action type="LockingTask" name="Coin^90d"/><action type="ShowComics" name="c.xml"/></task_condition>)",
         "LockingTask@opening:field ShowComics@opening:level", ""},
        {"the level warns of EnableHinting with the win", R"(<task_condition><finished_task name="OnWin"/><action type="EnableHinting" name="Coin"/></task_condition>)",
         "EnableHinting@OnWin:!", "OnWin"},
        {"the win's cigars go to the level", R"(<task_condition><finished_task name="OnWin"/><finished_task name="Coin"/><action type="AddCigars" name="1"/></task_condition>)",
         "AddCigars@OnWin:level", ""},
        {"a finished task's lock does nothing", R"(<task_condition><finished_task name="Coin"/><action type="LockingTask" name="Coin^90d"/></task_condition>)",
         "LockingTask@finished task:!", "finished task"},
        {"a finished task's game, hints and page",
         R"(<task_condition><finished_task name="Coin"/><action type="MiniGame" name="g.xml"/><action type="EnableHinting" name="Box"/><action type="ShowComics" name="c.xml"/></task_condition>)",
         "MiniGame@finished task:field EnableHinting@finished task:field ShowComics@finished task:level", ""},
        {"a listed tool's game is dropped: no click waits for it", R"(<task_condition><finished_task name="Key"/><action type="MiniGame" name="g.xml"/></task_condition>)",
         "MiniGame@tool pick-up:!", "the task \"Key\" lists the tool \"key\", which flies into the bag: no click "
                                    "waits for its mini-game, so the game drops it with a Warning row and counts the "
                                    "task down with the pick-up"},
        {"a listed tool's cigars cannot fly", R"(<task_condition><finished_task name="Key"/><action type="AddCigars" name="1"/></task_condition>)",
         "AddCigars@tool pick-up:!", "cigars"},
        {"a listed tool's task tells of the tool", R"(<task_condition><finished_task name="Key"/><action type="ShowHint" name="K/1"/><action type="EnableHinting" name="Box"/></task_condition>)",
         "ShowHint@tool pick-up:level EnableHinting@tool pick-up:field", ""},
        {"a tool task runs no hint", R"(<task_condition><finished_task name="Box"/><action type="ShowHint" name="K/1"/></task_condition>)",
         "ShowHint@tool task:!", "Box"},
        {"a tool task's click waits for its game", R"(<task_condition><finished_task name="Box"/><action type="IgnoreHinting" name=""/><action type="MiniGame" name="g.xml"/><action type="EnableHinting" name="Coin"/></task_condition>)",
         "IgnoreHinting@load:load MiniGame@tool task:field EnableHinting@tool task:field", ""},
        {"a second IgnoreAdding is forwarded to a level that does not know it",
         R"(<task_condition><finished_task name="Coin"/><action type="IgnoreAdding" name=""/><action type="IgnoreAdding" name=""/></task_condition>)",
         "IgnoreAdding@load:load IgnoreAdding@finished task:!", "IgnoreAdding"},
        {"a condition on a task the scene lacks never fires", R"(<task_condition><finished_task name="Ghost"/><action type="ShowHint" name="K/1"/></task_condition>)",
         "ShowHint@never:!", "Ghost"},
        {"nor one on a task of no kind", R"(<task_condition><finished_task name="Odd"/><action type="ShowHint" name="K/1"/></task_condition>)",
         "ShowHint@never:!", "Odd"},
        {"the scene's own tasks fire", R"(<task_condition><finished_task name="Coin"/><finished_task name="Key"/><action type="ShowHint" name="K/1"/></task_condition>)",
         "ShowHint@tool pick-up:level", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::unique_ptr<XMLDocument> doc = contenttest::TrialScene(tasks + "\n  " + row.conditions);
        ASSERT_TRUE(doc->IsLoaded());
        const std::vector<SceneAction> actions = ReadSceneActions(*doc->GetRoot());
        EXPECT_EQ(Summary(actions), row.actions);
        std::string problems;
        for (const SceneAction& a : actions) problems += a.problem;
        EXPECT_EQ(problems.empty(), std::string(row.says).empty()) << problems;
        EXPECT_NE(problems.find(row.says), std::string::npos) << problems;
    }
}

}  // namespace
