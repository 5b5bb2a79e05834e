#include "graphics/hgeRect.h"

#include <cmath>

void hgeRect::Set(float left, float top, float right, float bottom) {
    x1 = left;
    y1 = top;
    x2 = right;
    y2 = bottom;
    bClean = false;
}

void hgeRect::SetRadius(float x, float y, float r) { Set(x - r, y - r, x + r, y + r); }

void hgeRect::Encapsulate(float x, float y) {
    if (bClean) {
        x1 = x2 = x;
        y1 = y2 = y;
        bClean = false;
        return;
    }
    if (x < x1) x1 = x;
    if (x > x2) x2 = x;
    if (y < y1) y1 = y;
    if (y > y2) y2 = y;
}

bool hgeRect::TestPoint(float x, float y) const { return x >= x1 && x < x2 && y >= y1 && y < y2; }

bool hgeRect::Intersect(const hgeRect* rect) const {
    if (!rect) return false;
    return std::fabs(x1 + x2 - rect->x1 - rect->x2) < (x2 - x1 + rect->x2 - rect->x1) &&
           std::fabs(y1 + y2 - rect->y1 - rect->y2) < (y2 - y1 + rect->y2 - rect->y1);
}
