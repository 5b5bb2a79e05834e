// Reader of path files: an element "PathMove" anywhere in the document sets
// the path settings from its attributes, and every element "Point" appends a
// control point from its first two attributes (by position; their names are
// not looked at). Everything else is ignored.
#pragma once

#include <vector>

#include "engine/XMLParser.h"
#include "entities/effects/BSpline.h"

namespace ZOLTFramework {

class PathMoveParser : public XMLParser {
public:
    PathMoveParser() = default;
    ~PathMoveParser() override = default;

    void startElement(const XML_Char* name, const XML_Char** atts) override;

    // What the file said. Settings a "PathMove" element leaves out keep these
    // defaults (the values the game's own paths use); a "Point" with fewer
    // than two attributes takes 0 for the missing coordinates.
    std::vector<PathPoint> points;
    int smoothType = 0;
    bool cyclic = false;
    bool concatenateFirstAndLast = false;
    int resolution = 64;
    float velocity = 0.0f;
    float acceleration = 0.0f;
    int degree = 4;

private:
    void ReadSettings(const XML_Char** atts);
    void ReadPoint(const XML_Char** atts);
};

}  // namespace ZOLTFramework
