// A 2D vector of floats with the fast inverse square root.
#pragma once

// 1/sqrt(x) by the bit trick with one refinement step.
float InvSqrt(float x);

struct hgeVector {
    float x = 0, y = 0;

    hgeVector() = default;
    hgeVector(float _x, float _y) : x(_x), y(_y) {}

    hgeVector operator-() const { return hgeVector(-x, -y); }
    hgeVector operator-(const hgeVector& v) const { return hgeVector(x - v.x, y - v.y); }
    hgeVector operator+(const hgeVector& v) const { return hgeVector(x + v.x, y + v.y); }
    hgeVector& operator-=(const hgeVector& v) { x -= v.x; y -= v.y; return *this; }
    hgeVector& operator+=(const hgeVector& v) { x += v.x; y += v.y; return *this; }
    bool operator==(const hgeVector& v) const { return x == v.x && y == v.y; }
    bool operator!=(const hgeVector& v) const { return !(*this == v); }
    hgeVector operator/(float s) const { return hgeVector(x / s, y / s); }
    hgeVector operator*(float s) const { return hgeVector(x * s, y * s); }
    hgeVector& operator*=(float s) { x *= s; y *= s; return *this; }

    float Dot(const hgeVector* v) const { return x * v->x + y * v->y; }
    float Length() const;
    // Without another vector: the direction, atan2(y, x). With one: the angle
    // between the two, from 0 to pi.
    float Angle(const hgeVector* v = nullptr) const;
    hgeVector* Normalize();
    hgeVector* Rotate(float a);
};

inline hgeVector operator*(float s, const hgeVector& v) { return v * s; }
