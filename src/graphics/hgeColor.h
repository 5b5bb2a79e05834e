// A colour with float channels (0 to 1 in use), as particles carry it.
#pragma once

#include "platform/hge.h"

struct hgeColorRGB {
    float r = 0, g = 0, b = 0, a = 0;

    hgeColorRGB() = default;
    hgeColorRGB(float _r, float _g, float _b, float _a) : r(_r), g(_g), b(_b), a(_a) {}

    hgeColorRGB operator+(const hgeColorRGB& c) const { return hgeColorRGB(r + c.r, g + c.g, b + c.b, a + c.a); }
    hgeColorRGB operator-(const hgeColorRGB& c) const { return hgeColorRGB(r - c.r, g - c.g, b - c.b, a - c.a); }
    hgeColorRGB operator*(float s) const { return hgeColorRGB(r * s, g * s, b * s, a * s); }
    hgeColorRGB& operator+=(const hgeColorRGB& c) { r += c.r; g += c.g; b += c.b; a += c.a; return *this; }

    // ARGB; each channel times 255, rounded, and held to 0..255.
    DWORD GetHWColor() const { return ARGB(ToByte(a), ToByte(r), ToByte(g), ToByte(b)); }

    static DWORD ToByte(float v) {
        float s = v * 255.0f + 0.5f;
        if (!(s > 0.0f)) return 0;  // also NaN
        if (s >= 255.0f) return 255;
        return (DWORD)s;
    }
};
