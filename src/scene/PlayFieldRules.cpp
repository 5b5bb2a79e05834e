// The rules of a scene: task changes, the win check and the counts over the
// records.
#include <algorithm>

#include "scene/Inventory.h"
#include "scene/NameList.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"

using NameList::Contains;

void PlayField::OnTaskChanged(SceneObject* object, std::string toolName, std::string taskName) {
    if (object)
        ReceiveItem(object->GetResourceName(), object->GetName(), std::max(object->GetScaleX(), object->GetScaleY()),
                    object, toolName, taskName);
    else
        ReceiveItem("", "", 1.0f, nullptr, toolName, taskName);
}

void PlayField::ReceiveItem(const std::string& sprite, const std::string& objectName, float scale, SceneObject* object,
                            const std::string& toolName, const std::string& taskName) {
    if (!sprite.empty()) {
        const auto it = std::find_if(toolRecords.begin(), toolRecords.end(), [&](const ToolRecord& record) {
            return record.spriteName == sprite && record.objectName == objectName && record.toolName == toolName;
        });
        if (it != toolRecords.end()) toolRecords.erase(it);
    }
    if (openItems > 0) --openItems;
    if (!sprite.empty() && inventory) inventory->AddObject(sprite, objectName, toolName, scale);
    if (object) object->Kill();
    if (inventory) {
        inventory->ClearBusy();
        inventory->Close();
    }
    if (taskName.empty()) return;
    if (!delayedTasks.empty() && delayedTasks.back().locking) return;
    Send("TaskChanged", taskName);
}

bool PlayField::AreTasksDone() const {
    for (const auto& counter : counters)
        if (counter.second.count != 0) return false;
    int blocking = 0;
    for (const TaskRecord& task : tasks) {
        const bool rewardOnly = std::any_of(conditions.begin(), conditions.end(), [&](const ConditionRecord& c) {
            return Contains(c.conditions, task.name) &&
                   std::any_of(c.actions.begin(), c.actions.end(),
                               [](const ActionRecord& a) { return a.event == "AddCigars"; });
        });
        if (!rewardOnly) ++blocking;
    }
    return blocking == 0 && openItems == 0;
}

void PlayField::CheckWin() {
    playing = true;
    if (winSent || !AreTasksDone()) return;
    winSent = true;
    for (auto it = conditions.begin(); it != conditions.end();) {
        if (it->conditions.size() != 1 || it->conditions.front() != "OnWin") {
            ++it;
            continue;
        }
        const ConditionRecord fired = *it;
        conditions.erase(it);
        for (const ActionRecord& action : fired.actions) Send(action.event, action.value);
        it = conditions.begin();
    }
    Send("Win", "");
}

void PlayField::CheckFinished() {
    if (tasks.empty()) CheckWin();
}

unsigned PlayField::CountObjectsToFind() const {
    unsigned count = 0;
    for (SceneObject* object : sceneObjects) {
        const std::string& objectName = object->GetName();
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

TaskRecord PlayField::GetTask(const std::string& taskName) const {
    for (const TaskRecord& task : tasks)
        if (task.name == taskName) return task;
    return TaskRecord();
}

void PlayField::RemoveDelayedTask(const std::string& taskName) {
    const auto it = std::find_if(delayedTasks.begin(), delayedTasks.end(),
                                 [&](const DelayedTaskRecord& record) { return record.name == taskName; });
    if (it != delayedTasks.end()) delayedTasks.erase(it);
}

std::vector<TaskRecord> PlayField::GetTasksMatching(const std::string& objectName) const {
    std::vector<TaskRecord> found;
    for (const TaskRecord& task : tasks)
        if (Contains(task.objectNames, objectName)) found.push_back(task);
    return found;
}

std::vector<ConditionRecord> PlayField::GetConditionsFor(const std::string& taskName) const {
    std::vector<ConditionRecord> found;
    for (const ConditionRecord& condition : conditions)
        if (Contains(condition.conditions, taskName)) found.push_back(condition);
    return found;
}

void PlayField::ForgetObject(SceneObject* object) {
    sceneObjects.erase(std::remove(sceneObjects.begin(), sceneObjects.end(), object), sceneObjects.end());
    solveLaterObjects.erase(std::remove(solveLaterObjects.begin(), solveLaterObjects.end(), object),
                            solveLaterObjects.end());
    for (DelayedTaskRecord& record : delayedTasks)
        if (record.sceneObject == object) record.sceneObject = nullptr;
    for (DelayedTaskRecord& record : solveLaterTasks)
        if (record.sceneObject == object) record.sceneObject = nullptr;
    // Its flight stays listed without it and ends as arrived on the next step.
    for (FlightRecord& flight : flights)
        if (flight.object == object) flight.object = nullptr;
    if (pointedOutObject == object) pointedOutObject = nullptr;
}
