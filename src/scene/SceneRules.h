// The rules of one scene as plain data: its tasks, conditions, counters, the
// clicks that wait for a mini-game (delayed tasks) or were put off (solve
// later), the difference pairs, the tools on their way into the bag and the
// items still flying. No entity, no engine: the operations answer what a
// click, an arrival, a mini-game result or a cigar does and whether the scene
// is won; the play field plays the answers out (entities, flights, sounds).
//
// Objects appear only as identities (SceneObject*): the rules never look into
// them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "scene/SceneRecords.h"

class SceneRules {
public:
    // Where the rules' events go, as the rules decide them (the listener may
    // change the rules while an event is sent, so they go out at once).
    struct Events {
        virtual void Send(const std::string& event, const std::string& value) = 0;

    protected:
        ~Events() = default;
    };

    // The first step of a click: the tasks the object counted for.
    struct TaskPass {
        std::vector<TaskRecord> andList, orList;
        bool andTouched = false;
        int tasksTaken = 0;
        // A task found with the held item: the click ends after its effects.
        bool toolUsed = false;
        bool heldBack = false;  // the task waits for a mini-game; the held item goes back to the bag
        // The mini-game a held-back click asks for. The field sends it once the
        // held item has left the hand: the level pauses the field for the game
        // from inside that send, and a pause puts whatever is in the hand back.
        std::string miniGame;
        bool winCheck = false;  // a task of another kind is done: the win is checked shortly
        TaskRecord toolTask;
        // The object is the tool of an open task: it flies into the bag.
        bool isTool = false;
        std::string toolName;       // the task's tool sprite
        std::string bagTaskName;    // the "And" task the tool's object counts for, or ""
    };

    // The rest of a click, after the tool (if any) left for the bag.
    struct ClickOutcome {
        bool stop = false;        // a mini-game is to be played first: nothing more happens
        bool leavesScene = false; // the object leaves the scene's list
        bool toPanel = false;     // it flies to the clue of `panelTask`
        std::string panelTask;
        int cigars = -1;          // 0 or more: it flies to the cigars and grants them
        std::string cigarTask;
        bool scores = false;      // the find scores (item and speed bonus)
        // Cigars a picked-up tool's task would grant: its object flies into the
        // bag, not to the cigars, so the grant cannot be honoured (-1: none).
        int droppedCigars = -1;
        std::string droppedCigarTask;
        // The mini-game such a task would start: no click waits for it, so it
        // is not started, and the task counts down with the pick-up (empty: none).
        std::string droppedMiniGame;
        std::string droppedMiniGameTask;
    };

    // ---- loading
    void AddTask(const TaskRecord& task);
    void AddCondition(const ConditionRecord& condition);
    void AddPair(const PairRecord& pair) { pairs.push_back(pair); }
    // Conditions whose first action of a kind names tasks to leave out of the
    // counters (or out of the hints) lose that action, and when nothing is
    // left, themselves; then the "And" tasks get their counters.
    void FinishLoading();

    // What a click plays out on the scene (entities, flights, sounds), asked
    // for by the click in its order; the field plays it.
    struct ClickPlay {
        // A task was found with the held item: the item leaves the hand (back
        // into the bag while the mini-game of a held-back click runs), and
        // the click ends.
        virtual void ToolUsed(SceneObject* object, const TaskPass& pass) = 0;
        // The object counted for that many tasks.
        virtual void TasksTaken(SceneObject* object, int count) = 0;
        // The object is the tool of an open task and flies into the bag: the
        // picture and scale it will lie there with.
        virtual void ToolToBag(SceneObject* object, const TaskPass& pass, std::string& picture, float& scale) = 0;
        // The rest of the click, unless it stopped for a mini-game: flights to
        // the panel or the cigars, the score.
        virtual void Outcome(SceneObject* object, const ClickOutcome& outcome) = 0;

    protected:
        ~ClickPlay() = default;
    };

    // ---- a click on an object (heldItem: the item in hand, null for none)
    // In this order: "OnObjectClick"; the tasks the object counts for taken;
    // a task found with the held item played (and a held-back click's
    // "MiniGame" asked for once the hand is empty), which ends the click;
    // else a tool sent to the bag, the finished tasks' conditions run (their
    // events and "MiniGame" in walk order), then the outcome played.
    void Click(SceneObject* object, const std::string& objectName, const std::string* heldItem, Events& events,
               ClickPlay& play);

    // ---- items on their way
    void ItemLeft() { ++openItems; }
    // Found objects, cigars and items flying (into the bag or back to it) still on their way.
    int ItemsOnTheirWay() const { return openItems; }
    void ArrivedAtPanel() { ReturnOpenItem(); }
    void ArrivedAtCigars(const std::string& taskName);
    // The bag took the item: true when "TaskChanged" is due for the task.
    bool ArrivedInBag(const std::string& sprite, const std::string& objectName, const std::string& toolName,
                      const std::string& taskName, bool returnsOpenItem);

    // ---- the panel and the win
    // Takes the next condition without a task (they fire when the panel opens).
    bool TakeOpeningCondition(ConditionRecord& fired);
    // Every counter at 0, no task left but those that only grant cigars, no item flying.
    bool Done() const;
    // No task left but those that only grant cigars: every find is made,
    // whether or not it has landed.
    bool AllTaken() const;
    // When done and not yet won: the "OnWin" actions, then "Win"; true then.
    bool TakeWin(Events& events);
    bool WinSent() const { return winSent; }
    // The measuring tool's answer wins the scene.
    void ClearCounters() { counters.clear(); }

    // ---- mini-games
    // The mini-game of the first waiting click was played (or skipped): the
    // object that waited (null for none); `locking`: its task is done now.
    SceneObject* MiniGameDone(const std::string& file, bool& locking);
    void PutOffMiniGame() { currentMiniGame.clear(); }
    // The first waiting click; false when none waits.
    bool TakeDelayed(DelayedTaskRecord& record);
    // Lists the click as put off; false when its object is listed already.
    bool PutOff(const DelayedTaskRecord& record);
    // Held-back clicks replay: drops the spent ones and gives the objects of the rest.
    std::vector<SceneObject*> ClicksToReplay();
    // Takes the object's click out of the list to replay it; false when gone.
    bool ClaimReplay(SceneObject* object);
    bool AnyReplayLeft() const;
    void ForgetObject(SceneObject* object);

    // ---- questions
    const std::vector<TaskRecord>& Tasks() const { return tasks; }
    const std::vector<ConditionRecord>& Conditions() const { return conditions; }
    const std::map<std::string, CounterRecord>& Counters() const { return counters; }
    const std::vector<PairRecord>& Pairs() const { return pairs; }
    const std::set<std::string>& IgnoreAdding() const { return ignoreAdding; }
    const std::set<std::string>& IgnoreHinting() const { return ignoreHinting; }
    const std::set<std::string>& ToolTargets() const { return toolTargets; }
    const std::vector<ToolRecord>& ToolRecords() const { return toolRecords; }
    const std::vector<DelayedTaskRecord>& DelayedTasks() const { return delayedTasks; }
    TaskRecord Task(const std::string& taskName) const;
    std::vector<TaskRecord> TasksMatching(const std::string& objectName) const;
    std::vector<ConditionRecord> ConditionsFor(const std::string& taskName) const;
    // Forgets the first waiting click of the task.
    void RemoveDelayedTask(const std::string& taskName);
    // The names a click may take: objects of open tasks and their tools.
    std::set<std::string> WantedNames() const;
    int OpenNames() const;
    // The glass is still to be found, so it cannot be taken up.
    bool GlassMissing() const;
    // Objects a task needs for the panel counts (the second of a pair not).
    unsigned CountToFind(const std::vector<std::string>& objectNames) const;
    // The indices of the objects a hint may point at (one per task naming it).
    std::vector<size_t> HintCandidates(const std::vector<std::string>& objectNames) const;
    // Found objects and waiting clicks of the task still to come.
    unsigned ItemCount(const std::string& name) const;

private:
    // The first step of a click; sends nothing: what it found is in the pass
    // (the mini-game of a held-back click among it).
    TaskPass TakeTasks(SceneObject* object, const std::string& objectName, const std::string* heldItem);
    // The rest, after the tool (if any) left for the bag; resource and
    // bagScale: the picture and scale of that tool.
    ClickOutcome FinishClick(const TaskPass& pass, const std::string& objectName, const std::string& resource,
                             float bagScale, Events& events);
    // What the conditions of a click's finished tasks grant.
    struct Granted {
        bool toolPickUp = false;  // the object is a tool on its way into the bag
        int cigars = -1;
        std::string cigarTask;
        std::string miniGame, miniGameTask;  // asked for at a tool's pick-up: not sent
    };
    // Runs the actions of a finished task's single conditions (and takes the
    // task off the others); false when the click must end here.
    bool RunTaskConditions(const TaskRecord& task, bool andPass, Granted& grants, Events& events);
    void ReturnOpenItem() {
        if (openItems > 0) --openItems;
    }
    void EraseTask(const std::string& taskName);
    void CountDown(const std::string& taskName);
    bool TakeTask(size_t index, SceneObject* object, const std::string& objectName, TaskPass& pass);

    std::vector<TaskRecord> tasks;
    std::vector<ConditionRecord> conditions;
    std::map<std::string, CounterRecord> counters;
    std::vector<PairRecord> pairs;
    std::set<std::string> ignoreAdding;
    std::set<std::string> ignoreHinting;
    std::set<std::string> toolTargets;  // objects of tasks found with a tool
    std::vector<ToolRecord> toolRecords;  // items flying into the bag
    std::vector<DelayedTaskRecord> delayedTasks;
    std::vector<DelayedTaskRecord> solveLaterTasks;
    int openItems = 0;  // found objects still on their way
    std::string currentMiniGame;  // the last mini-game asked for, until put off
    bool winSent = false;
};
