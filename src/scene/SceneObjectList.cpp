#include "scene/SceneObjectList.h"

#include <algorithm>

#include "platform/hge.h"
#include "scene/SceneObject.h"
#include "scene/SceneRules.h"

void SceneObjectList::Restore(SceneObject* object) {
    if (std::find(objects.begin(), objects.end(), object) == objects.end()) objects.push_back(object);
}

void SceneObjectList::Remove(SceneObject* object) {
    const auto it = std::find(objects.begin(), objects.end(), object);
    if (it != objects.end()) objects.erase(it);
}

void SceneObjectList::Forget(SceneObject* object) {
    objects.erase(std::remove(objects.begin(), objects.end(), object), objects.end());
    putOff.erase(std::remove(putOff.begin(), putOff.end(), object), putOff.end());
}

bool SceneObjectList::IsPutOff(const std::string& name) const {
    return std::any_of(putOff.begin(), putOff.end(), [&](SceneObject* o) { return o->GetName() == name; });
}

void SceneObjectList::UnmarkPutOff(const std::string& name) {
    const auto it = std::find_if(putOff.begin(), putOff.end(), [&](SceneObject* o) { return o->GetName() == name; });
    if (it != putOff.end()) putOff.erase(it);
}

SceneObject* SceneObjectList::Find(const std::string& name) const {
    for (SceneObject* object : objects)
        if (object->GetName() == name) return object;
    return nullptr;
}

SceneObject* SceneObjectList::FindByResource(const std::string& resource) const {
    for (SceneObject* object : objects)
        if (object->GetResourceName() == resource) return object;
    return nullptr;
}

std::vector<std::string> SceneObjectList::Names() const {
    std::vector<std::string> names;
    for (SceneObject* object : objects) names.push_back(object->GetName());
    return names;
}

bool SceneObjectList::FullyShown() const {
    return objects.empty() || objects.front()->GetAbsoluteOpacity() == 1.0f;
}

SceneObject* SceneObjectList::PickHint(const SceneRules& rules, HGE* hge) {
    std::vector<SceneObject*> candidates;
    for (size_t index : rules.HintCandidates(Names())) candidates.push_back(objects[index]);
    if (candidates.empty()) return nullptr;
    SceneObject* chosen = candidates.front();
    if (candidates.size() > 1) {
        const int last = int(candidates.size()) - 1;
        chosen = candidates[hge ? hge->Random_Int(0, last) : 0];
        const bool allSame = std::all_of(candidates.begin(), candidates.end(),
                                         [&](SceneObject* o) { return o->GetName() == lastHinted; });
        while (!allSame && hge && chosen->GetName() == lastHinted) chosen = candidates[hge->Random_Int(0, last)];
    }
    lastHinted = chosen->GetName();
    return chosen;
}
