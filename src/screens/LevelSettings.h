// What a scene's root element says about how its level ends: whether the
// score window shows and the medal it may give. Read once, from the document
// the play field read the scene from; the kind of the scene is the field's
// (SceneKind).
#pragma once

#include "engine/XMLDocument.h"

struct LevelSettings {
    bool scoreScreenAllowed = true;
    float medalProbability = 0.0f;
    int medalToAdd = 0;

    static LevelSettings Read(const XMLDocument::XMLElement& root);
};
