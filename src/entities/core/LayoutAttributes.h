// What the elements of a screen layout file share: the placement attributes
// and the "rect" child.
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "graphics/hgeRect.h"

namespace ZOLTFramework {

class CEntity;

namespace LayoutAttributes {

// "x" and "y" move the entity, "z" sets its depth. True when the key is one of them.
bool ApplyPlacement(CEntity& entity, const std::string& key, const std::string& value);

// A "rect" element (x, y, w, h) as its corners.
hgeRect ReadRect(const XMLDocument::XMLElement& rect);

}  // namespace LayoutAttributes
}  // namespace ZOLTFramework
