// How the fixed screen (800 x 600 units) sits in a drawable of any size: scaled
// evenly as large as it fits and centred, with black bars on the remaining sides.
#pragma once

struct ScreenFit {
    float scale = 1;                 // drawable pixels per screen unit
    float offsetX = 0, offsetY = 0;  // the screen's top-left corner in the drawable
    int left = 0, top = 0, width = 0, height = 0;  // the screen area in whole pixels

    static ScreenFit Compute(int screenW, int screenH, int drawW, int drawH);

    void ToScreen(float px, float py, float& x, float& y) const;
    // A rectangle in screen units to whole drawable pixels (top-left origin).
    void RectToDrawable(int x, int y, int w, int h, int& px, int& py, int& pw, int& ph) const;
};
