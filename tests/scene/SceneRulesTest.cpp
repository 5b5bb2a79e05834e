// The scene rules alone, without an engine: what a click, a mini-game's
// result, a put-off and an arrival do, and when the scene is won.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

#include "scene/SceneRules.h"

namespace {

struct Recorder : SceneRules::Events {
    std::vector<std::string> sent;
    void Send(const std::string& event, const std::string& value) override { sent.push_back(event + "=" + value); }
};

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, by);) parts.push_back(part);
    return parts;
}

// Tasks "Name/Type/object,object/tool" and conditions "Task,Task>Event=value;Event=value".
SceneRules Build(const std::vector<std::string>& tasks, const std::vector<std::string>& conditions) {
    SceneRules rules;
    for (const std::string& text : tasks) {
        const std::vector<std::string> part = Split(text, '/');
        TaskRecord task;
        task.name = part[0];
        task.type = part[1];
        task.objectNames = Split(part[2], ',');
        if (part.size() > 3) task.toolToFind = task.toolSprite = part[3];
        rules.AddTask(task);
    }
    for (const std::string& text : conditions) {
        ConditionRecord condition;
        const size_t arrow = text.find('>');
        condition.conditions = Split(text.substr(0, arrow), ',');
        for (const std::string& action : Split(text.substr(arrow + 1), ';')) {
            const size_t eq = action.find('=');
            condition.actions.push_back({action.substr(0, eq), action.substr(eq + 1)});
        }
        rules.AddCondition(condition);
    }
    rules.FinishLoading();
    return rules;
}

SceneObject* Object(int n) { return reinterpret_cast<SceneObject*>(std::uintptr_t(0x1000 + n)); }

// What a click plays out on the scene, in words, in the one record with the
// events ("[...]" a step of the play).
struct Play : SceneRules::ClickPlay {
    explicit Play(Recorder& into) : events(into) {}
    void ToolUsed(SceneObject*, const SceneRules::TaskPass& pass) override {
        Step((pass.heldBack ? "held back " : "tool ") + pass.toolTask.name);
    }
    void TasksTaken(SceneObject*, int) override {}
    void ToolToBag(SceneObject*, const SceneRules::TaskPass& pass, std::string& picture, float&) override {
        picture = "Sprite";
        Step("bag " + pass.bagTaskName);
    }
    void Outcome(SceneObject*, const SceneRules::ClickOutcome& out) override {
        std::string said = out.toPanel ? "panel " + out.panelTask : "";
        if (out.cigars >= 0) said += "cigars " + std::to_string(out.cigars) + " " + out.cigarTask;
        if (out.droppedCigars >= 0) said += "dropped " + std::to_string(out.droppedCigars) + " " + out.droppedCigarTask;
        if (!out.droppedMiniGame.empty()) said += "dropped " + out.droppedMiniGame + " " + out.droppedMiniGameTask;
        Step(said.empty() ? "nothing" : said);
    }
    void Step(const std::string& what) { events.sent.push_back("[" + what + "]"); }
    Recorder& events;
};

// One click through the rules' one entry: what it sent and played, in order.
std::string Click(SceneRules& rules, Recorder& events, const std::string& object, const std::string& held = "",
                  int id = 1) {
    const size_t from = events.sent.size();
    Play play(events);
    rules.Click(Object(id), object, held.empty() ? nullptr : &held, events, play);
    std::string said;
    for (size_t i = from; i < events.sent.size(); ++i) said += (said.empty() ? "" : ";") + events.sent[i];
    return said;
}

}  // namespace

// "OnObjectClick" first; the conditions' events and "MiniGame" in walk order,
// all before the flights and scores are played; a held-back click's
// "MiniGame" once the hand is empty.
TEST(SceneRules, WhatAClickDoes) {
    const struct {
        const char* what;
        std::vector<std::string> tasks, conditions;
        std::string object, held;
        std::string played;    // the events and the steps of the play, in order
        std::string counters;  // "Task=count,..." after the click
    } rows[] = {
        {"an And find flies to its clue", {"Shapes/And/a,b"}, {}, "a", "", "OnObjectClick=a;[panel Shapes]",
         "Shapes=1"},
        {"the last find of a task runs its condition", {"Shapes/And/a"}, {"Shapes>Say=hi"}, "a", "",
         "OnObjectClick=a;Say=hi;[panel Shapes]", "Shapes=0"},
        {"an Or find runs its condition and flies nowhere", {"Any/Or/a,b"}, {"Any>Say=hi"}, "b", "",
         "OnObjectClick=b;Say=hi;[nothing]", ""},
        {"a cigar grant flies to the cigars; its count falls on arrival", {"Cigar/And/c"}, {"Cigar>AddCigars=2"},
         "c", "", "OnObjectClick=c;[cigars 2 Cigar]", "Cigar=1"},
        {"IgnoreAdding keeps a task off the counters and the panel", {"Hidden/And/h"}, {"Hidden>IgnoreAdding=x"},
         "h", "", "OnObjectClick=h;[nothing]", ""},
        {"a tool task needs its tool in hand", {"Box/Tool/box/key"}, {}, "box", "", "OnObjectClick=box;[nothing]", ""},
        {"with the tool the task is done", {"Box/Tool/box/key"}, {}, "box", "key", "OnObjectClick=box;[tool Box]", ""},
        {"a tool task with a mini-game holds the click back", {"Box/Tool/box/key"}, {"Box>MiniGame=m.xml"}, "box",
         "key", "OnObjectClick=box;[held back Box];MiniGame=m.xml", ""},
        {"a tool lying in the scene flies into the bag", {"Key/And/key", "Box/Tool/box/key"}, {}, "key", "",
         "OnObjectClick=key;[bag Key];[nothing]", "Key=0"},
        // A listed tool's task runs its conditions as the tool is picked up;
        // cigars it grants cannot fly to the cigars and are reported dropped.
        {"a listed tool's task runs its conditions when picked up", {"Key/And/key", "Box/Tool/box/key"},
         {"Key>ShowHint=TUTORIAL_INVENTORY;AddCigars=2"}, "key", "",
         "OnObjectClick=key;[bag Key];ShowHint=TUTORIAL_INVENTORY;[dropped 2 Key]", "Key=0"},
        {"an And task with a mini-game stops the click", {"Safe/And/s"}, {"Safe>MiniGame=g.xml"}, "s", "",
         "OnObjectClick=s;MiniGame=g.xml", "Safe=1"},
        {"an Or task's mini-game is asked for and the click goes on", {"Any/Or/a"}, {"Any>MiniGame=g.xml;Say=hi"},
         "a", "", "OnObjectClick=a;MiniGame=g.xml;Say=hi;[nothing]", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SceneRules rules = Build(row.tasks, row.conditions);
        Recorder events;
        EXPECT_EQ(Click(rules, events, row.object, row.held), row.played);
        std::string counters;
        for (const auto& c : rules.Counters())
            counters += (counters.empty() ? "" : ",") + c.first + "=" + std::to_string(c.second.count);
        EXPECT_EQ(counters, row.counters);
    }
}

TEST(SceneRules, MiniGamesPutOffArrivalsHintsAndTheWin) {
    SceneRules rules = Build({"Box/Tool/box/key", "Cigar/And/c", "Pair/And/up,down", "Clue/And/clue"},
                             {"Box>MiniGame=m.xml;EnableHinting=Clue", "Cigar>AddCigars=1", "Clue>IgnoreHinting=x",
                              "OnWin>Music=win", ">Say=welcome"});
    rules.AddPair({"up", "down"});
    Recorder events;
    EXPECT_EQ(rules.IgnoreHinting(), (std::set<std::string>{"Clue"}));
    EXPECT_EQ(rules.ToolTargets(), (std::set<std::string>{"box"}));
    EXPECT_EQ(rules.CountToFind({"box", "c", "up", "down", "clue", "chair"}), 4u) << "the second of a pair not";
    EXPECT_EQ(rules.HintCandidates({"chair", "c", "up"}), (std::vector<size_t>{1, 2}));
    EXPECT_FALSE(rules.GlassMissing());
    ConditionRecord opening;
    ASSERT_TRUE(rules.TakeOpeningCondition(opening));
    EXPECT_EQ(opening.actions[0].value, "welcome");
    EXPECT_FALSE(rules.TakeOpeningCondition(opening));

    // The tool on the box waits for the game; put off, it is listed once.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Click(rules, events, "box", "key", 7), "OnObjectClick=box;[held back Box];MiniGame=m.xml");
        EXPECT_TRUE(rules.IgnoreHinting().empty()) << "the tool's task lets the clue be hinted";
        EXPECT_EQ(rules.ItemCount("Box"), 1u) << "the waiting click counts";
        rules.PutOffMiniGame();
        DelayedTaskRecord record;
        ASSERT_TRUE(rules.TakeDelayed(record));
        EXPECT_EQ(record.sceneObject, Object(7));
        EXPECT_EQ(rules.PutOff(record), round == 0);
        EXPECT_FALSE(rules.TakeDelayed(record));
    }
    // Played at last: the waiting object comes back, its task is done.
    EXPECT_EQ(Click(rules, events, "box", "key", 7), "OnObjectClick=box;[held back Box];MiniGame=m.xml");
    EXPECT_FALSE(rules.ArrivedInBag("Key", "key", "", "Box", false)) << "no TaskChanged while the click waits";
    bool locking = false;
    EXPECT_EQ(rules.MiniGameDone("m.xml", locking), Object(7));
    EXPECT_TRUE(locking);
    EXPECT_TRUE(rules.DelayedTasks().empty());
    EXPECT_TRUE(rules.TasksMatching("box").empty());
    ASSERT_EQ(rules.ConditionsFor("Box").size(), 1u);
    EXPECT_EQ(rules.ConditionsFor("Box")[0].actions.size(), 1u) << "the game is offered once";

    // Finds on their way keep the scene open until they arrive.
    EXPECT_EQ(Click(rules, events, "c"), "OnObjectClick=c;[cigars 1 Cigar]");
    rules.ItemLeft();
    EXPECT_EQ(Click(rules, events, "up", "", 2), "OnObjectClick=up;[panel Pair]");
    rules.ItemLeft();
    EXPECT_EQ(Click(rules, events, "down", "", 3), "OnObjectClick=down;[panel Pair]");
    rules.ItemLeft();
    EXPECT_EQ(Click(rules, events, "clue", "", 4), "OnObjectClick=clue;[panel Clue]");
    rules.ItemLeft();
    for (int i = 0; i < 3; ++i) rules.ArrivedAtPanel();
    EXPECT_FALSE(rules.Done()) << "the cigar still flies";
    EXPECT_FALSE(rules.TakeWin(events));
    rules.ArrivedAtCigars("Cigar");
    EXPECT_TRUE(rules.Done());
    events.sent.clear();
    EXPECT_TRUE(rules.TakeWin(events));
    EXPECT_FALSE(rules.TakeWin(events)) << "once";
    EXPECT_EQ(events.sent, (std::vector<std::string>{"Music=win", "Win="}));

    // A tool flying into the bag leaves its record on arrival.
    SceneRules bag = Build({"Key/And/key", "Box/Tool/box/key"}, {});
    EXPECT_EQ(Click(bag, events, "key"), "OnObjectClick=key;[bag Key];[nothing]");
    ASSERT_EQ(bag.ToolRecords().size(), 1u);
    EXPECT_TRUE(bag.ArrivedInBag("Sprite", "key", "key", "Key", true));
    EXPECT_TRUE(bag.ToolRecords().empty());

    // A listed tool whose task starts a mini-game: no click would wait for
    // the game, so it is not asked for; the task counts down, its other
    // actions run and the scene is won.
    SceneRules game = Build({"Key/And/key", "Box/Tool/box/key"},
                            {"Key>MiniGame=g.xml;ShowHint=TUTORIAL_INVENTORY", "OnWin>Music=win"});
    events.sent.clear();
    EXPECT_EQ(Click(game, events, "key"), "OnObjectClick=key;[bag Key];ShowHint=TUTORIAL_INVENTORY;[dropped g.xml Key]")
        << "no \"MiniGame\" sent";
    game.ItemLeft();
    EXPECT_TRUE(game.ArrivedInBag("Sprite", "key", "key", "Key", true));
    EXPECT_EQ(Click(game, events, "box", "key", 2), "OnObjectClick=box;[tool Box]");
    EXPECT_TRUE(game.TakeWin(events));
    EXPECT_EQ(events.sent, (std::vector<std::string>{"OnObjectClick=key", "[bag Key]", "ShowHint=TUTORIAL_INVENTORY",
                                                    "[dropped g.xml Key]", "OnObjectClick=box", "[tool Box]",
                                                    "Music=win", "Win="}));
}
