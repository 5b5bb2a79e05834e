// What a scene's root element says about how its level is played: the kind of
// level, its extra tool, whether the score window shows and the medal it may
// give. Read once when the level is built.
#pragma once

#include <string>

struct LevelSettings {
    enum LevelType { FIND_ALL = 0, FIND_DIFFERENCES = 1 };
    enum ExtraType { EXTRA_NONE = -1, EXTRA_USE_ITEMS = 2, EXTRA_MEASURE = 3 };

    int levelType = FIND_ALL;
    int extraType = EXTRA_NONE;
    bool scoreScreenAllowed = true;
    float medalProbability = 0.0f;
    int medalToAdd = 0;

    // An unreadable scene is logged and played as "FindAll".
    static LevelSettings Read(const std::string& scenePath);
    // The help text the level opens with.
    std::string HelpKey() const;
};
