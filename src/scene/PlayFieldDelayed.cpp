// Clicks that wait for a mini-game: what the field does when the level
// reports the result, and the replay of the clicks left in the list.
#include <algorithm>
#include <sstream>

#include "engine/HtmlLog.h"
#include "scene/Inventory.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"
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
    LogCount(rules.DelayedTasks().size());
    if (!rules.DelayedTasks().empty()) LogRecord(rules.DelayedTasks().front());
    bool locking = false;
    SceneObject* waited = rules.MiniGameDone(file, locking);
    if (locking) {
        waited->StartFadeOut(1.0f);
        PlayFieldClicks(*this).QueueWinCheck();
    }
    if (!waited) return;
    OnObjectClick(waited);
    if (!skipped)
        ResetAndForward(5000.0f, waited->GetX(), waited->GetY(), "", SCORE_MINIGAME);
}

void PlayField::RefreshDelayedTasks(const std::string&) {
    rules.PutOffMiniGame();
    if (inventory) inventory->Resume();
    ProcessDelayedTasks();
}

void PlayField::ProcessDelayedTasks() {
    LogCount(rules.DelayedTasks().size());
    if (rules.DelayedTasks().empty()) return;
    const DelayedTaskRecord& last = rules.DelayedTasks().back();
    if (last.locking && last.sceneObject &&
        std::find(sceneObjects.begin(), sceneObjects.end(), last.sceneObject) == sceneObjects.end())
        sceneObjects.push_back(last.sceneObject);
    DelayedTaskRecord record;
    while (rules.TakeDelayed(record)) {
        LogRecord(record);
        if (!record.sceneObject || !rules.PutOff(record)) continue;
        const bool marked = std::any_of(solveLaterObjects.begin(), solveLaterObjects.end(), [&](SceneObject* o) {
            return o->GetName() == record.sceneObject->GetName();
        });
        if (!marked) StartSolveLaterEffect(record.sceneObject);
    }
}

void PlayFieldClicks::ReplayDelayedTasks() {
    if (!field->rules.DelayedTasks().empty()) LogCount(field->rules.DelayedTasks().size());
    // Only the records present now are replayed, first first.
    for (SceneObject* object : field->rules.ClicksToReplay()) {
        if (!field->rules.ClaimReplay(object)) continue;
        field->OnObjectClick(object);
        if (!field->rules.AnyReplayLeft()) break;
    }
}
