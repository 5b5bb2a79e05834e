// Small numeric helpers shared by the effectors.
#pragma once

#include <cstdint>
#include <cstring>

namespace ZOLTFramework {

// 1/sqrt(v) by the bit trick with one refinement step (constant 0.4999), the
// rule every normalisation of the framework follows.
inline float InvSqrt(float v)
{
    int32_t i;
    std::memcpy(&i, &v, sizeof i);
    i = 0x5F3759DF - (i >> 1);
    float y;
    std::memcpy(&y, &i, sizeof y);
    return y * (1.5f - 0.4999f * v * y * y);
}

}  // namespace ZOLTFramework
