// The rules of a scene as the field plays them: task changes, the win check
// and the questions the level and the scripts ask.
#include <algorithm>

#include "scene/Inventory.h"
#include "scene/LevelEvents.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"
#include "scene/SceneObject.h"

void PlayField::OnTaskChanged(SceneObject* object, std::string toolName, std::string taskName) {
    if (object)
        PlayFieldFlights(*this).ReceiveItem(object->GetResourceName(), object->GetName(), std::max(object->GetScaleX(), object->GetScaleY()),
                    object, toolName, taskName);
    else
        PlayFieldFlights(*this).ReceiveItem("", "", 1.0f, nullptr, toolName, taskName);
}

void PlayFieldFlights::ReceiveItem(const std::string& sprite, const std::string& objectName, float scale, SceneObject* object,
                            const std::string& toolName, const std::string& taskName, bool returnsOpenItem) {
    const bool changed = field->rules.ArrivedInBag(sprite, objectName, toolName, taskName, returnsOpenItem);
    if (!sprite.empty() && field->inventory) field->inventory->AddObject(sprite, objectName, toolName, scale);
    if (object) object->Kill();
    if (field->inventory) {
        field->inventory->ClearBusy();
        field->inventory->Close();
    }
    if (changed) field->Send(LevelEvents::kTaskChanged, taskName);
}

bool PlayField::AreTasksDone() const { return rules.Done(); }

void PlayField::CheckWin() {
    playing = true;
    rules.TakeWin(*this);
}

void PlayField::CheckFinished() {
    if (rules.Tasks().empty()) CheckWin();
}

unsigned PlayField::CountObjectsToFind() const {
    std::vector<std::string> names;
    for (SceneObject* object : sceneObjects) names.push_back(object->GetName());
    return rules.CountToFind(names);
}

std::vector<TaskRecord> PlayField::GetTasksMatching(const std::string& objectName) const {
    return rules.TasksMatching(objectName);
}

void PlayField::ForgetObject(SceneObject* object) {
    sceneObjects.erase(std::remove(sceneObjects.begin(), sceneObjects.end(), object), sceneObjects.end());
    solveLaterObjects.erase(std::remove(solveLaterObjects.begin(), solveLaterObjects.end(), object),
                            solveLaterObjects.end());
    rules.ForgetObject(object);
    // Its flight stays listed without it and ends as arrived on the next step.
    for (FlightRecord& flight : flights)
        if (flight.object == object) flight.object = nullptr;
    if (pointedOutObject == object) pointedOutObject = nullptr;
}
