#include "graphics/hgeVector.h"

#include <cmath>
#include <cstdint>
#include <cstring>

float InvSqrt(float x) {
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits = 0x5F3759DFu - (bits >> 1);
    float y;
    std::memcpy(&y, &bits, sizeof y);
    return y * (1.5f - 0.4999f * x * y * y);
}

float hgeVector::Length() const { return std::sqrt(Dot(this)); }

float hgeVector::Angle(const hgeVector* v) const {
    if (!v) return std::atan2(y, x);
    hgeVector s = *this, t = *v;
    s.Normalize();
    t.Normalize();
    // The fast normalisation may leave the dot product just outside [-1, 1].
    float d = s.Dot(&t);
    if (d > 1.0f) d = 1.0f;
    if (d < -1.0f) d = -1.0f;
    return std::acos(d);
}

hgeVector* hgeVector::Normalize() {
    float len = Dot(this);
    if (len == 0.0f) return this;  // a zero vector stays zero
    float rc = InvSqrt(len);
    x *= rc;
    y *= rc;
    return this;
}

hgeVector* hgeVector::Rotate(float a) {
    float c = std::cos(a), s = std::sin(a);
    float nx = x * c - y * s;
    float ny = x * s + y * c;
    x = nx;
    y = ny;
    return this;
}
