#include "platform/ScreenFit.h"

#include <algorithm>
#include <cmath>

ScreenFit ScreenFit::Compute(int screenW, int screenH, int drawW, int drawH) {
    ScreenFit f;
    screenW = std::max(screenW, 1);
    screenH = std::max(screenH, 1);
    drawW = std::max(drawW, 1);
    drawH = std::max(drawH, 1);
    f.scale = std::min(float(drawW) / float(screenW), float(drawH) / float(screenH));
    f.width = int(std::lround(float(screenW) * f.scale));
    f.height = int(std::lround(float(screenH) * f.scale));
    f.left = (drawW - f.width) / 2;
    f.top = (drawH - f.height) / 2;
    f.offsetX = float(f.left);
    f.offsetY = float(f.top);
    return f;
}

void ScreenFit::ToScreen(float px, float py, float& x, float& y) const {
    x = (px - offsetX) / scale;
    y = (py - offsetY) / scale;
}

void ScreenFit::RectToDrawable(int x, int y, int w, int h, int& px, int& py, int& pw, int& ph) const {
    const int x0 = int(std::lround(offsetX + float(x) * scale));
    const int y0 = int(std::lround(offsetY + float(y) * scale));
    const int x1 = int(std::lround(offsetX + float(x + w) * scale));
    const int y1 = int(std::lround(offsetY + float(y + h) * scale));
    px = x0;
    py = y0;
    pw = std::max(x1 - x0, 0);
    ph = std::max(y1 - y0, 0);
}
