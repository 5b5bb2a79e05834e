// The objects of a scene as the play field keeps them: every object in the
// scene in file order, and those put off for later (each marked with its
// sparkle). The objects are entities of the manager attached to the field;
// the list owns none of them and lets one go when it is deleted.
#pragma once

#include <string>
#include <vector>

class HGE;
class SceneObject;
class SceneRules;

class SceneObjectList {
public:
    const std::vector<SceneObject*>& All() const { return objects; }
    // The objects put off for later, in the order they were put off.
    const std::vector<SceneObject*>& PutOff() const { return putOff; }

    void Add(SceneObject* object) { objects.push_back(object); }
    // Adds the object unless it is in the scene already.
    void Restore(SceneObject* object);
    // The object leaves the scene (its first entry); a mark for later stays.
    void Remove(SceneObject* object);
    // The object is deleted: it leaves both lists.
    void Forget(SceneObject* object);
    void MarkPutOff(SceneObject* object) { putOff.push_back(object); }
    bool IsPutOff(const std::string& name) const;
    // The first object of that name put off for later is no longer.
    void UnmarkPutOff(const std::string& name);

    // The first object of that name, or null.
    SceneObject* Find(const std::string& name) const;
    // The first object drawn with that resource, or null.
    SceneObject* FindByResource(const std::string& resource) const;
    std::vector<std::string> Names() const;
    // The first object is fully faded in; a scene without objects counts as shown.
    bool FullyShown() const;
    // An object a hint may point at, drawn at random (hge) among the rules'
    // candidates, and drawn again while it repeats the last hint's name unless
    // every candidate bears that name; null when there is none.
    SceneObject* PickHint(const SceneRules& rules, HGE* hge);

private:
    std::vector<SceneObject*> objects;
    std::vector<SceneObject*> putOff;
    std::string lastHinted;
};
