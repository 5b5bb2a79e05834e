#include "screens/LevelSettings.h"

LevelSettings LevelSettings::Read(const XMLDocument::XMLElement& root) {
    LevelSettings settings;
    if (root.HasAttribute("AllowShowScoreScreen"))
        settings.scoreScreenAllowed = root.GetBoolAttribute("AllowShowScoreScreen", true);
    if (root.HasAttribute("MedalAddingProbability")) {
        settings.medalProbability = root.GetFloatAttribute("MedalAddingProbability");
        settings.medalToAdd = root.GetIntAttribute("MedalToAdd", 0);
    }
    return settings;
}
