// One kind of brick face: bricks of the same kind form a pair.
#pragma once

#include <string>

namespace ZOLTFramework {

struct BrickType {
    char kind = 0;
    // The resource name of the sprite shown while the brick is open.
    std::string faceSprite;
};

}  // namespace ZOLTFramework
