// What the elements of a screen layout file share: the placement attributes
// and the "rect" child.
#pragma once

#include <string>

#include "engine/XMLDocument.h"

namespace ZOLTFramework {

class CEntity;

namespace LayoutAttributes {

// "x" and "y" move the entity, "z" sets its depth. True when the key is one of them.
bool ApplyPlacement(CEntity& entity, const std::string& key, const std::string& value);

// A "rect" element (x, y, w, h) as its corners.
void ReadRect(const XMLDocument::XMLElement& rect, float* x1, float* y1, float* x2, float* y2);

}  // namespace LayoutAttributes
}  // namespace ZOLTFramework
