// An axis-aligned rectangle for bounding boxes and hit tests. A clean rectangle
// holds no point yet; the first Encapsulate makes it that point.
#pragma once

class hgeRect {
public:
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    hgeRect() = default;
    hgeRect(float left, float top, float right, float bottom)
        : x1(left), y1(top), x2(right), y2(bottom), bClean(false) {}

    void Clear() { bClean = true; }
    void Set(float left, float top, float right, float bottom);
    void SetRadius(float x, float y, float r);
    void Encapsulate(float x, float y);
    // Left and top edges are inside, right and bottom edges outside.
    bool TestPoint(float x, float y) const;
    // Rectangles that only touch do not intersect.
    bool Intersect(const hgeRect* rect) const;

private:
    bool bClean = true;
};
