#include "scene/SceneRules.h"
#include "scene/LevelEvents.h"

#include <algorithm>
#include <locale>
#include <sstream>

#include "scene/NameList.h"

using NameList::Contains;

namespace {

void EraseFirst(std::vector<std::string>& names, const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) names.erase(it);
}

// Text as a whole number: 0 when it starts with none, the limit past the range.
int ReadInt(const std::string& text) {
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    int value = 0;
    stream >> value;
    return value;
}

bool Grants(const ConditionRecord& condition) {
    return std::any_of(condition.actions.begin(), condition.actions.end(),
                       [](const ActionRecord& a) { return a.event == "AddCigars"; });
}

}  // namespace

// ---- loading

void SceneRules::AddTask(const TaskRecord& task) {
    if (!task.toolToFind.empty()) toolTargets.insert(task.objectNames.begin(), task.objectNames.end());
    tasks.push_back(task);
}

void SceneRules::AddCondition(const ConditionRecord& condition) { conditions.push_back(condition); }

void SceneRules::FinishLoading() {
    for (auto* names : {&ignoreAdding, &ignoreHinting}) {
        const char* event = names == &ignoreAdding ? "IgnoreAdding" : "IgnoreHinting";
        for (auto it = conditions.begin(); it != conditions.end();) {
            auto action = it->actions.begin();
            while (action != it->actions.end() && action->event != event) ++action;
            if (action == it->actions.end()) {
                ++it;
                continue;
            }
            names->insert(it->conditions.begin(), it->conditions.end());
            it->actions.erase(action);
            it = it->actions.empty() ? conditions.erase(it) : it + 1;
        }
    }
    if (counters.empty()) {
        for (const TaskRecord& task : tasks) {
            if (!task.toolToFind.empty() || ignoreAdding.count(task.name) || task.type != "And") continue;
            counters[task.name] = {int(task.objectNames.size()), task.textSingular, task.textPlural};
        }
    }
}

// ---- a click

void SceneRules::Click(SceneObject* object, const std::string& objectName, const std::string* heldItem,
                       Events& events, ClickPlay& play) {
    events.Send(LevelEvents::kOnObjectClick, objectName);
    const TaskPass pass = TakeTasks(object, objectName, heldItem);
    if (pass.toolUsed) {
        // The held item leaves the hand before the level hears of the game:
        // the level pauses the field for it, and a pause puts down what is in
        // the hand.
        play.ToolUsed(object, pass);
        if (!pass.miniGame.empty()) events.Send(LevelEvents::kMiniGame, pass.miniGame);
        return;
    }
    play.TasksTaken(object, pass.tasksTaken);
    std::string picture;
    float bagScale = 1.0f;
    if (pass.isTool) play.ToolToBag(object, pass, picture, bagScale);
    const ClickOutcome outcome = FinishClick(pass, objectName, picture, bagScale, events);
    if (!outcome.stop) play.Outcome(object, outcome);
}

SceneRules::TaskPass SceneRules::TakeTasks(SceneObject* object, const std::string& objectName,
                                           const std::string* heldItem) {
    TaskPass pass;
    for (size_t i = 0; i < tasks.size();) {
        const TaskRecord& task = tasks[i];
        const bool toolFits = task.toolToFind.empty() ||
                              (heldItem && task.toolToFind.find(*heldItem) != std::string::npos);
        if (!Contains(task.objectNames, objectName) || !toolFits) {
            ++i;
            continue;
        }
        const size_t before = tasks.size();
        if (TakeTask(i, object, objectName, pass)) return pass;
        i = tasks.size() < before ? 0 : i + 1;
    }
    // A tool lying in the scene.
    for (const TaskRecord& task : tasks)
        if (!task.toolToFind.empty() && task.toolToFind.find(objectName) != std::string::npos) {
            pass.isTool = true;
            pass.toolName = task.toolSprite;
            break;
        }
    if (pass.isTool && !pass.andList.empty()) pass.bagTaskName = pass.andList.front().name;
    return pass;
}

bool SceneRules::TakeTask(size_t i, SceneObject* object, const std::string& objectName, TaskPass& pass) {
    const TaskRecord task = tasks[i];
    ++pass.tasksTaken;
    if (task.type == "And") {
        pass.andList.push_back(task);
        pass.andTouched = true;
    } else if (task.type == "Or") {
        pass.orList.push_back(task);
    } else if (!task.toolToFind.empty()) {
        for (const ConditionRecord& condition : ConditionsFor(task.name)) {
            if (condition.actions.empty() || condition.actions.front().event != "MiniGame") continue;
            currentMiniGame = condition.actions.front().value;
            pass.miniGame = currentMiniGame;
            DelayedTaskRecord waiting;
            static_cast<TaskRecord&>(waiting) = task;
            waiting.sceneObject = object;
            waiting.locking = true;
            delayedTasks.push_back(waiting);
            pass.heldBack = true;
            break;
        }
        if (!pass.heldBack) pass.winCheck = true;
    }
    if (delayedTasks.empty() || !delayedTasks.back().locking) {
        DelayedTaskRecord taken;
        static_cast<TaskRecord&>(taken) = task;
        taken.sceneObject = object;
        delayedTasks.push_back(taken);
        EraseFirst(tasks[i].objectNames, objectName);
    }
    if (tasks[i].objectNames.empty()) tasks.erase(tasks.begin() + long(i));
    if (task.toolToFind.empty()) return false;
    // Found with the held item: the click ends here.
    pass.toolUsed = true;
    pass.toolTask = task;
    const bool locked = !delayedTasks.empty() && delayedTasks.back().locking;
    if (!locked) RemoveDelayedTask(task.name);
    for (const ConditionRecord& condition : ConditionsFor(task.name))
        for (const ActionRecord& action : condition.actions)
            if (action.event == "EnableHinting") ignoreHinting.erase(action.value);
    return true;
}

SceneRules::ClickOutcome SceneRules::FinishClick(const TaskPass& pass, const std::string& objectName,
                                                 const std::string& resource, float bagScale, Events& events) {
    ClickOutcome out;
    if (pass.isTool) {
        toolRecords.push_back({resource, objectName, pass.toolName, bagScale});
        if (!pass.bagTaskName.empty()) RemoveDelayedTask(pass.bagTaskName);
    }
    // The tasks this click finishes run their conditions. A tool's task runs
    // them too (a tutorial on the inventory, say), but its object flies to
    // the bag, so cigars it would grant are left out, and so is a mini-game:
    // no click waits for it.
    Granted grants;
    grants.toolPickUp = pass.isTool;
    out.stop = true;
    for (const TaskRecord& task : pass.orList)
        if (!RunTaskConditions(task, false, grants, events)) return out;
    for (const TaskRecord& task : pass.andList) {
        if (task.objectNames.size() != 1) continue;
        if (!RunTaskConditions(task, true, grants, events)) return out;
    }
    out.stop = false;
    const int cigars = pass.isTool ? -1 : grants.cigars;
    const std::string cigarTask = pass.isTool ? std::string() : grants.cigarTask;

    // The panel.
    if (pass.isTool) {
        if (!pass.andList.empty()) CountDown(pass.andList.front().name);
    } else if (pass.andTouched && !ignoreAdding.count(pass.andList.front().name)) {
        const std::string taskName = pass.andList.front().name;
        RemoveDelayedTask(taskName);
        out.leavesScene = true;
        if (cigars < 0) {
            // A find that also grants cigars flies to the cigars alone, and
            // its counter goes down when it arrives there.
            CountDown(taskName);
            out.toPanel = true;
            out.panelTask = taskName;
        } else if (cigarTask != taskName) {
            // The cigars arrive for another task: this find counts now.
            CountDown(taskName);
        }
    }
    out.cigars = cigars;
    out.cigarTask = cigarTask;
    if (pass.isTool) {
        out.droppedCigars = grants.cigars;
        out.droppedCigarTask = grants.cigarTask;
        out.droppedMiniGame = grants.miniGame;
        out.droppedMiniGameTask = grants.miniGameTask;
    }
    if (cigars >= 0) out.leavesScene = true;
    out.scores = cigars >= 0 || pass.isTool || pass.andTouched;
    return out;
}

bool SceneRules::RunTaskConditions(const TaskRecord& task, bool andPass, Granted& grants, Events& events) {
    for (size_t q = 0; q < conditions.size();) {
        if (!Contains(conditions[q].conditions, task.name)) {
            ++q;
            continue;
        }
        if (conditions[q].conditions.size() > 1) {
            EraseFirst(conditions[q].conditions, task.name);
            ++q;
            continue;
        }
        // Events without a meaning here (a comic page, a hint...) go to the
        // level unchanged once the condition has run.
        std::vector<ActionRecord> forwarded;
        for (size_t k = 0; k < conditions[q].actions.size();) {
            const ActionRecord action = conditions[q].actions[k];
            if (action.event == "AddCigars") {
                grants.cigars = ReadInt(action.value);
                grants.cigarTask = task.name;
            } else if (action.event == "EnableHinting") {
                ignoreHinting.erase(action.value);
            } else if (action.event == "MiniGame" && grants.toolPickUp) {
                // Its result would find no click to replay: the task counts
                // down with the pick-up instead.
                grants.miniGame = action.value;
                grants.miniGameTask = task.name;
            } else if (action.event == "MiniGame") {
                if (!andPass) {
                    conditions[q].actions.erase(conditions[q].actions.begin() + long(k));
                    currentMiniGame = action.value;
                    events.Send(LevelEvents::kMiniGame, action.value);
                    continue;
                }
                if (action.value != currentMiniGame) {
                    // The tasks already taken by this click come back until
                    // the mini-game has been played.
                    for (const DelayedTaskRecord& delayed : delayedTasks) {
                        const bool open = std::any_of(tasks.begin(), tasks.end(), [&](const TaskRecord& t) {
                            return t.name == delayed.name;
                        });
                        if (!open && !delayed.name.empty()) tasks.push_back(delayed);
                    }
                    currentMiniGame = action.value;
                    events.Send(LevelEvents::kMiniGame, action.value);
                    return false;
                }
                conditions[q].actions.erase(conditions[q].actions.begin() + long(k));
                RemoveDelayedTask(task.name);
                if (!delayedTasks.empty()) delayedTasks.pop_back();
                const bool named = std::any_of(conditions.begin(), conditions.end(), [&](const ConditionRecord& c) {
                    return c.conditions.size() > 1 && Contains(c.conditions, task.name);
                });
                if (!named) EraseTask(task.name);
                continue;
            } else {
                forwarded.push_back(action);
            }
            ++k;
        }
        conditions.erase(conditions.begin() + long(q));
        q = 0;
        for (const ActionRecord& action : forwarded) events.Send(action.event, action.value);
    }
    RemoveDelayedTask(task.name);
    return true;
}

// ---- items on their way

void SceneRules::ArrivedAtCigars(const std::string& taskName) {
    CountDown(taskName);
    // Every flight returns its own open item.
    ReturnOpenItem();
}

bool SceneRules::ArrivedInBag(const std::string& sprite, const std::string& objectName, const std::string& toolName,
                              const std::string& taskName, bool returnsOpenItem) {
    if (!sprite.empty()) {
        const auto it = std::find_if(toolRecords.begin(), toolRecords.end(), [&](const ToolRecord& record) {
            return record.spriteName == sprite && record.objectName == objectName && record.toolName == toolName;
        });
        if (it != toolRecords.end()) toolRecords.erase(it);
    }
    if (returnsOpenItem) ReturnOpenItem();
    if (taskName.empty()) return false;
    return delayedTasks.empty() || !delayedTasks.back().locking;
}

// ---- the panel and the win

bool SceneRules::TakeOpeningCondition(ConditionRecord& fired) {
    const auto it = std::find_if(conditions.begin(), conditions.end(),
                                 [](const ConditionRecord& c) { return c.conditions.empty(); });
    if (it == conditions.end()) return false;
    fired = *it;
    conditions.erase(it);
    return true;
}

bool SceneRules::Done() const {
    for (const auto& counter : counters)
        if (counter.second.count != 0) return false;
    return AllTaken() && openItems == 0;
}

bool SceneRules::AllTaken() const {
    return std::all_of(tasks.begin(), tasks.end(), [&](const TaskRecord& task) {
        return std::any_of(conditions.begin(), conditions.end(),
                           [&](const ConditionRecord& c) { return Contains(c.conditions, task.name) && Grants(c); });
    });
}

bool SceneRules::TakeWin(Events& events) {
    if (winSent || !Done()) return false;
    winSent = true;
    for (auto it = conditions.begin(); it != conditions.end();) {
        if (it->conditions.size() != 1 || it->conditions.front() != "OnWin") {
            ++it;
            continue;
        }
        const ConditionRecord fired = *it;
        conditions.erase(it);
        for (const ActionRecord& action : fired.actions) events.Send(action.event, action.value);
        it = conditions.begin();
    }
    events.Send(LevelEvents::kWin, "");
    return true;
}

// ---- mini-games

SceneObject* SceneRules::MiniGameDone(const std::string& file, bool& locking) {
    locking = false;
    if (delayedTasks.empty()) return nullptr;
    const DelayedTaskRecord first = delayedTasks.front();
    if (!tasks.empty() && first.objectNames.size() == 1) {
        for (size_t q = 0; q < conditions.size();) {
            ConditionRecord& condition = conditions[q];
            if (condition.conditions.size() != 1 || condition.conditions.front() != first.name) {
                ++q;
                continue;
            }
            auto& actions = condition.actions;
            actions.erase(std::remove_if(actions.begin(), actions.end(),
                                         [&](const ActionRecord& a) { return a.event == "MiniGame" && a.value == file; }),
                          actions.end());
            if (actions.empty()) {
                conditions.erase(conditions.begin() + long(q));
                q = 0;
            } else {
                ++q;
            }
        }
    }
    const DelayedTaskRecord last = delayedTasks.back();
    if (last.sceneObject && last.locking) {
        locking = true;
        openItems = 0;
        // Only the task that waited is done; the others stay open.
        EraseTask(last.name);
    }
    delayedTasks.clear();
    return last.sceneObject;
}

bool SceneRules::TakeDelayed(DelayedTaskRecord& record) {
    if (delayedTasks.empty()) return false;
    record = delayedTasks.front();
    delayedTasks.erase(delayedTasks.begin());
    return true;
}

bool SceneRules::PutOff(const DelayedTaskRecord& record) {
    const bool listed = std::any_of(solveLaterTasks.begin(), solveLaterTasks.end(),
                                    [&](const DelayedTaskRecord& r) { return r.sceneObject == record.sceneObject; });
    if (listed) return false;
    solveLaterTasks.push_back(record);
    return true;
}

std::vector<SceneObject*> SceneRules::ClicksToReplay() {
    delayedTasks.erase(std::remove_if(delayedTasks.begin(), delayedTasks.end(),
                                      [](const DelayedTaskRecord& r) { return r.sceneObject == nullptr; }),
                       delayedTasks.end());
    std::vector<SceneObject*> present;
    for (const DelayedTaskRecord& record : delayedTasks) present.push_back(record.sceneObject);
    return present;
}

bool SceneRules::ClaimReplay(SceneObject* object) {
    const auto record = std::find_if(delayedTasks.begin(), delayedTasks.end(),
                                     [&](const DelayedTaskRecord& r) { return r.sceneObject == object; });
    if (record == delayedTasks.end()) return false;
    record->sceneObject = nullptr;
    record->name.clear();
    return true;
}

bool SceneRules::AnyReplayLeft() const {
    return std::any_of(delayedTasks.begin(), delayedTasks.end(),
                       [](const DelayedTaskRecord& r) { return r.sceneObject != nullptr; });
}

void SceneRules::RemoveDelayedTask(const std::string& taskName) {
    const auto it = std::find_if(delayedTasks.begin(), delayedTasks.end(),
                                 [&](const DelayedTaskRecord& record) { return record.name == taskName; });
    if (it != delayedTasks.end()) delayedTasks.erase(it);
}

void SceneRules::ForgetObject(SceneObject* object) {
    for (DelayedTaskRecord& record : delayedTasks)
        if (record.sceneObject == object) record.sceneObject = nullptr;
    for (DelayedTaskRecord& record : solveLaterTasks)
        if (record.sceneObject == object) record.sceneObject = nullptr;
}

// ---- questions

TaskRecord SceneRules::Task(const std::string& taskName) const {
    for (const TaskRecord& task : tasks)
        if (task.name == taskName) return task;
    return TaskRecord();
}

std::vector<TaskRecord> SceneRules::TasksMatching(const std::string& objectName) const {
    std::vector<TaskRecord> found;
    for (const TaskRecord& task : tasks)
        if (Contains(task.objectNames, objectName)) found.push_back(task);
    return found;
}

std::vector<ConditionRecord> SceneRules::ConditionsFor(const std::string& taskName) const {
    std::vector<ConditionRecord> found;
    for (const ConditionRecord& condition : conditions)
        if (Contains(condition.conditions, taskName)) found.push_back(condition);
    return found;
}

std::set<std::string> SceneRules::WantedNames() const {
    std::set<std::string> wanted;
    for (const TaskRecord& task : tasks) {
        wanted.insert(task.objectNames.begin(), task.objectNames.end());
        if (!task.toolToFind.empty()) wanted.insert(task.toolToFind);
    }
    return wanted;
}

int SceneRules::OpenNames() const {
    int count = 0;
    for (const TaskRecord& task : tasks) count += int(task.objectNames.size());
    return count;
}

bool SceneRules::GlassMissing() const {
    const auto glass = counters.find("Magnifying glass");
    return glass != counters.end() && glass->second.count != 0;
}

unsigned SceneRules::CountToFind(const std::vector<std::string>& objectNames) const {
    unsigned count = 0;
    for (const std::string& objectName : objectNames) {
        std::string taskName;
        bool claimed = false, excluded = false;
        for (const TaskRecord& task : tasks) {
            const bool lists = Contains(task.objectNames, objectName);
            if (lists && !claimed) {
                claimed = true;
                taskName = task.name;
            }
            if (!lists && task.toolToFind.find(objectName) == std::string::npos && !claimed) continue;
            if (!ignoreAdding.count(task.name)) continue;
            const bool allSame = std::all_of(tasks.begin(), tasks.end(),
                                             [&](const TaskRecord& t) { return t.name == task.name; });
            if (allSame || taskName == "Cigar") {
                excluded = true;
                break;
            }
        }
        if (excluded || !claimed) continue;
        const bool secondOfPair = std::any_of(pairs.begin(), pairs.end(),
                                              [&](const PairRecord& p) { return p.secondName == objectName; });
        if (!secondOfPair) ++count;
    }
    return count;
}

std::vector<size_t> SceneRules::HintCandidates(const std::vector<std::string>& objectNames) const {
    std::set<std::string> foundWithTool;
    for (const TaskRecord& task : tasks)
        if (!task.toolToFind.empty()) foundWithTool.insert(task.objectNames.begin(), task.objectNames.end());
    std::vector<size_t> candidates;
    for (size_t i = 0; i < objectNames.size(); ++i)
        for (const TaskRecord& task : tasks) {
            if (!Contains(task.objectNames, objectNames[i])) continue;
            if (!foundWithTool.count(objectNames[i]) && !ignoreAdding.count(task.name) &&
                !ignoreHinting.count(task.name))
                candidates.push_back(i);
        }
    if (!candidates.empty()) return candidates;
    for (const std::string& taskName : ignoreHinting)
        for (const std::string& objectName : Task(taskName).objectNames)
            for (size_t i = 0; i < objectNames.size(); ++i)
                if (objectNames[i] == objectName) candidates.push_back(i);
    return candidates;
}

unsigned SceneRules::ItemCount(const std::string& name) const {
    int count = 0;
    const auto counter = counters.find(name);
    if (counter != counters.end()) count = counter->second.count;
    for (const DelayedTaskRecord& delayed : delayedTasks)
        if (delayed.name == name && delayed.sceneObject) ++count;
    return count < 0 ? 0u : unsigned(count);
}

// ---- private

void SceneRules::EraseTask(const std::string& taskName) {
    tasks.erase(std::remove_if(tasks.begin(), tasks.end(), [&](const TaskRecord& t) { return t.name == taskName; }),
                tasks.end());
}

void SceneRules::CountDown(const std::string& taskName) {
    const auto counter = counters.find(taskName);
    if (counter != counters.end()) --counter->second.count;
}
