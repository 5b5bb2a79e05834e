// One banner-flight record of the map file (a "FlagAppearing" element): the
// staff and banner sprites of the flight's three frames, the animations that
// play where the flag sticks, the planted flag the node then draws, and the
// offsets of each from the node. Names that are absent stay empty (that
// picture is left out); offsets that are absent or not numbers are 0.
#pragma once

#include <map>
#include <string>

struct NodeAnimationRecord {
    std::string staffStart, staffIntermediate, staffFinish;
    std::string bannerStart, bannerIntermediate, bannerFinish;
    float flyingFromDx = 0.0f, flyingFromDy = 0.0f;
    float flyingToDx = 0.0f, flyingToDy = 0.0f;
    std::string staffMoving, bannerMoving;
    float movingDx = 0.0f, movingDy = 0.0f;
    std::string staffStaying, bannerStaying;
    float stayingDx = 0.0f, stayingDy = 0.0f;

    // A record from an element's attributes (name to text); unknown names,
    // "Name" among them, are skipped.
    static NodeAnimationRecord FromAttributes(const std::map<std::string, std::string>& attributes);
};
