// Finding where to click a scene object in scene tests.
#pragma once

#include <string>
#include <vector>

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

// Event names with values ("TaskChanged=Key") recorded since the index.
std::vector<std::string> EventsSince(const std::vector<std::string>& events, size_t from, const std::string& name);
