// Clicks that wait for a mini-game: what the field does when the level
// reports the result, and the replay of the clicks left in the list.
#include <algorithm>
#include <sstream>

#include "engine/HtmlLog.h"
#include "profiles/PlayerManager.h"
#include "scene/Inventory.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "scene/ShowScorePopup.h"

namespace {

void LogCount(size_t count) { HtmlLog::Instance()->Info("Number of delayed tasks: " + std::to_string(count)); }

void LogRecord(const DelayedTaskRecord& record) {
    HtmlLog::Instance()->Info(record.name);
    std::ostringstream reference;
    reference << "object " << static_cast<const void*>(record.sceneObject);
    if (record.sceneObject) reference << " \"" << record.sceneObject->GetName() << "\"";
    HtmlLog::Instance()->Info(reference.str());
}

}  // namespace

void PlayField::UpdateDelayedTasks(const std::string& file, bool skipped) {
    if (inventory) inventory->Resume();
    LogCount(delayedTasks.size());
    SceneObject* waited = nullptr;
    if (!delayedTasks.empty()) {
        const DelayedTaskRecord first = delayedTasks.front();
        LogRecord(first);
        if (!tasks.empty() && first.objectNames.size() == 1) {
            for (size_t q = 0; q < conditions.size();) {
                ConditionRecord& condition = conditions[q];
                if (condition.conditions.size() != 1 || condition.conditions.front() != first.name) {
                    ++q;
                    continue;
                }
                auto& actions = condition.actions;
                actions.erase(std::remove_if(actions.begin(), actions.end(),
                                             [&](const ActionRecord& a) {
                                                 return a.event == "MiniGame" && a.value == file;
                                             }),
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
        waited = last.sceneObject;
        if (waited && last.locking) {
            openItems = 0;
            waited->StartFadeOut(1.0f);
            // Only the task that waited is done; the others stay open.
            tasks.erase(std::remove_if(tasks.begin(), tasks.end(),
                                       [&](const TaskRecord& t) { return t.name == last.name; }),
                        tasks.end());
            QueueWinCheck();
        }
        delayedTasks.clear();
    }
    if (!waited) return;
    OnObjectClick(waited);
    if (!skipped)
        ResetAndForward(5000.0f, waited->GetX(), waited->GetY(), "", SCORE_MINIGAME);
}

void PlayField::RefreshDelayedTasks(const std::string&) {
    currentMiniGame.clear();
    if (inventory) inventory->Resume();
    ProcessDelayedTasks();
}

void PlayField::ProcessDelayedTasks() {
    LogCount(delayedTasks.size());
    if (delayedTasks.empty()) return;
    const DelayedTaskRecord& last = delayedTasks.back();
    if (last.locking && last.sceneObject &&
        std::find(sceneObjects.begin(), sceneObjects.end(), last.sceneObject) == sceneObjects.end())
        sceneObjects.push_back(last.sceneObject);
    while (!delayedTasks.empty()) {
        const DelayedTaskRecord record = delayedTasks.front();
        delayedTasks.erase(delayedTasks.begin());
        LogRecord(record);
        if (!record.sceneObject) continue;
        const bool listed = std::any_of(solveLaterTasks.begin(), solveLaterTasks.end(),
                                        [&](const DelayedTaskRecord& r) { return r.sceneObject == record.sceneObject; });
        if (listed) continue;
        solveLaterTasks.push_back(record);
        const bool marked = std::any_of(solveLaterObjects.begin(), solveLaterObjects.end(), [&](SceneObject* o) {
            return o->GetName() == record.sceneObject->GetName();
        });
        if (!marked) StartSolveLaterEffect(record.sceneObject);
    }
}

void PlayField::ReplayDelayedTasks() {
    if (!delayedTasks.empty()) LogCount(delayedTasks.size());
    delayedTasks.erase(std::remove_if(delayedTasks.begin(), delayedTasks.end(),
                                      [](const DelayedTaskRecord& r) { return r.sceneObject == nullptr; }),
                       delayedTasks.end());
    // Only the records present now are replayed, first first.
    std::vector<SceneObject*> present;
    for (const DelayedTaskRecord& record : delayedTasks) present.push_back(record.sceneObject);
    for (SceneObject* object : present) {
        const auto record = std::find_if(delayedTasks.begin(), delayedTasks.end(),
                                         [&](const DelayedTaskRecord& r) { return r.sceneObject == object; });
        if (record == delayedTasks.end()) continue;
        record->sceneObject = nullptr;
        record->name.clear();
        OnObjectClick(object);
        const bool anyLeft = std::any_of(delayedTasks.begin(), delayedTasks.end(),
                                         [](const DelayedTaskRecord& r) { return r.sceneObject != nullptr; });
        if (!anyLeft) break;
    }
}
