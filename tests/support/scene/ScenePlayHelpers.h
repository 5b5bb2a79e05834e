// Finding where to click a scene object in scene tests, and clicking it.
#pragma once

#include <string>
#include <vector>

namespace ZOLTFramework {
class CSpriteEntity;
}
class PlayField;
class SceneObject;

struct ScreenPoint {
    float x = -1.0f, y = -1.0f;
    bool found = false;
};

// A screen point over an opaque texel of the object, right of the panel and
// away from the bag, whose 5 x 5 neighbourhood is opaque too, nearest the
// object's hot spot; when the field is given, the field's hit test must
// answer that object there.
ScreenPoint OpaquePointOf(SceneObject* object, PlayField* field = nullptr);

// The picture of the item in hand at the pointer, or null when the hand is empty.
ZOLTFramework::CSpriteEntity* HeldItem(const PlayField* field);

// The first scene object of that name still in the scene, or null.
SceneObject* SceneObjectNamed(const PlayField* field, const std::string& objectName);

// The scene objects marked as put off for later (their sparkle "SolveLaterMark").
std::vector<SceneObject*> SolveLaterObjects(const PlayField* field);

// Event names with values ("TaskChanged=Key") recorded since the index.
std::vector<std::string> EventsSince(const std::vector<std::string>& events, size_t from, const std::string& name);

// Clicks the named object of the field at its OpaquePointOf point (frames
// through the frame driver); false when the object is gone or has no such point.
bool ClickSceneObject(PlayField* field, const std::string& objectName);
// Takes a tool into the hand: clicks it while it still lies in the scene,
// waits for it in the bag and picks it up there. True when it is held.
bool TakeToolIntoHand(PlayField* field, const std::string& objectName);
