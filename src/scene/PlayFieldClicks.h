// A left press on the picture: the object it takes (sampled on a ring around
// the press, opaque texels only, topmost first, and only the locked object
// while a tutorial locks one), the two halves of a find-the-differences
// picture, and the misclicks: a third press within 1.2 s of the one before
// that opens no new name costs a minute ("AddTime" -60).
//
// The clicks read the scene's objects and rules, ask the scene's kind where a
// press lands, end the pointer's lock when its object is taken, and hand each
// object clicked to `click` and each miss (a screen point) to `miss`.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "scene/SceneRules.h"

class PlayFieldPointer;
class SceneKind;
class SceneObject;
class SceneObjectList;

class PlayFieldClicks {
public:
    PlayFieldClicks(const SceneKind& kind, const SceneObjectList& objects, const SceneRules& rules,
                    PlayFieldPointer& pointer, SceneRules::Events& events, std::function<void(SceneObject*)> click,
                    std::function<void(float, float)> miss);

    // A press at the screen point.
    void Press(float mouseX, float mouseY);
    // The time since the last press that took something, once a press was seen.
    void Step(float dt) {
        if (pressSeen) misclickTimer += dt;
    }
    // The clickable object under the scene point, or null.
    SceneObject* FindObjectAt(float sceneX, float sceneY);

    // Objects that stand in for a tool's target: they go with it.
    static const std::map<std::string, std::string>& ToolStandIns();

private:
    SceneObject* FindPartner(SceneObject* object) const;
    // The object of the upper half and the one under the same point of the
    // lower half: the one that is wanted counts, and its twin with it.
    void ResolveDifference(SceneObject* hit, float sceneX, float sceneY, float mouseX, float mouseY);

    const SceneKind& kind;
    const SceneObjectList& objects;
    const SceneRules& rules;
    PlayFieldPointer& pointer;
    SceneRules::Events& events;
    std::function<void(SceneObject*)> click;
    std::function<void(float, float)> miss;
    float misclickTimer = 0.0f;
    int misclickCount = 0;
    bool pressSeen = false;
};
