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

void ReadRect(const XMLDocument::XMLElement& rect, float* x1, float* y1, float* x2, float* y2) {
    const float rx = rect.GetFloatAttribute("x");
    const float ry = rect.GetFloatAttribute("y");
    *x1 = rx;
    *y1 = ry;
    *x2 = rx + rect.GetFloatAttribute("w");
    *y2 = ry + rect.GetFloatAttribute("h");
}

}  // namespace LayoutAttributes
}  // namespace ZOLTFramework
