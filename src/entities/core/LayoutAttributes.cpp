#include "entities/core/LayoutAttributes.h"

#include "engine/Conversions.h"
#include "entities/core/CEntity.h"

namespace ZOLTFramework {
namespace LayoutAttributes {

bool ApplyPlacement(CEntity& entity, const std::string& key, const std::string& value) {
    if (key == "x") {
        entity.SetX(StringToFloat(value));
    } else if (key == "y") {
        entity.SetY(StringToFloat(value));
    } else if (key == "z") {
        entity.SetDepth(StringToFloat(value));
    } else {
        return false;
    }
    return true;
}

hgeRect ReadRect(const XMLDocument::XMLElement& rect) {
    const float rx = rect.GetFloatAttribute("x");
    const float ry = rect.GetFloatAttribute("y");
    return hgeRect(rx, ry, rx + rect.GetFloatAttribute("w"), ry + rect.GetFloatAttribute("h"));
}

}  // namespace LayoutAttributes
}  // namespace ZOLTFramework
