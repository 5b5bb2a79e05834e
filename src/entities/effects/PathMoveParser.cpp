#include "entities/effects/PathMoveParser.h"

#include <cstring>
#include <string>

#include "engine/Conversions.h"

namespace ZOLTFramework {

void PathMoveParser::startElement(const XML_Char* name, const XML_Char** atts) {
    XMLParser::startElement(name, atts);
    if (!name) return;
    if (std::strcmp(name, "PathMove") == 0)
        ReadSettings(atts);
    else if (std::strcmp(name, "Point") == 0)
        ReadPoint(atts);
}

void PathMoveParser::ReadSettings(const XML_Char** atts) {
    if (!atts) return;
    for (int i = 0; atts[i] && atts[i + 1]; i += 2) {
        const std::string key = atts[i];
        const std::string value = atts[i + 1];
        if (key == "PathSmoothType")
            smoothType = StringToInt(value);
        else if (key == "IsCyclic")
            cyclic = StringToBool(value);
        else if (key == "ConcatenateFirstAndLast")
            concatenateFirstAndLast = StringToBool(value);
        else if (key == "Resolution")
            resolution = StringToInt(value);
        else if (key == "Velocity")
            velocity = StringToFloat(value);
        else if (key == "Acceleration")
            acceleration = StringToFloat(value);
        else if (key == "PolynomialDegree")
            degree = StringToInt(value);
    }
}

void PathMoveParser::ReadPoint(const XML_Char** atts) {
    PathPoint point = {0.0f, 0.0f};
    if (atts && atts[0] && atts[1]) {
        point.x = StringToFloat(atts[1]);
        if (atts[2] && atts[3]) point.y = StringToFloat(atts[3]);
    }
    points.push_back(point);
}

}  // namespace ZOLTFramework
