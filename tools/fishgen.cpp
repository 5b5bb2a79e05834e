// Fish generator: the animations of the menu aquarium, one picture.
//
//   fishgen <data folder>
//
// Writes "Texture/Fish.png": one row per fish kind, four frames of 96 x 48
// texels each, the tail beating from frame to frame. Every fish faces right
// (the game mirrors the ones that swim left). Row order is the order of the
// kinds: Fish01 .. Fish09, Shark, Fish1, Goldfish, Scat.
#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

using content::Canvas;
using content::Hex;
using content::Mix;
using content::Rgba;

namespace {

const int kFrameW = 96;
const int kFrameH = 48;
const int kFrames = 4;
const float kPi = 3.14159265f;

struct Kind {
    const char* name;
    uint32_t body;   // main colour
    uint32_t belly;  // lower colour
    uint32_t fin;    // fins and tail
    float length;    // body half length
    float height;    // body half height
    int stripes;     // dark bands across the body
    bool dorsal;     // a tall back fin (shark)
};

const Kind kKinds[] = {
    {"Fish01", 0xFF3F7FBF, 0xFFBFD8EF, 0xFF2F5F9F, 22, 10, 0, false},
    {"Fish02", 0xFFD9823B, 0xFFF6D7B0, 0xFFB05A20, 20, 11, 2, false},
    {"Fish03", 0xFF4FA862, 0xFFD4EED0, 0xFF2E7A40, 24, 8, 0, false},
    {"Fish04", 0xFFB04A8C, 0xFFEFC6E1, 0xFF7E2E64, 18, 12, 1, false},
    {"Fish05", 0xFFD8C23A, 0xFFF7EFB5, 0xFFA89020, 21, 9, 3, false},
    {"Fish06", 0xFF6A6AC8, 0xFFD5D5F3, 0xFF4646A0, 25, 9, 0, false},
    {"Fish07", 0xFFC84A4A, 0xFFF2C4C4, 0xFF9A2E2E, 19, 10, 2, false},
    {"Fish08", 0xFF3AA6A6, 0xFFC2EDED, 0xFF237878, 23, 11, 1, false},
    {"Fish09", 0xFF8A8A8A, 0xFFE2E2E2, 0xFF5E5E5E, 20, 8, 0, false},
    {"Shark", 0xFF6D7C8A, 0xFFE6EBEF, 0xFF55626E, 34, 9, 0, true},
    {"Fish1", 0xFF2F9F6F, 0xFFF2E8A0, 0xFF1F7050, 17, 9, 2, false},
    {"Goldfish", 0xFFF09A20, 0xFFFFD890, 0xFFE07010, 18, 12, 0, false},
    {"Scat", 0xFF9C8A4A, 0xFFE8DDB0, 0xFF6E5E2A, 16, 14, 4, false},
};

const Rgba kEye = Hex(0xFF141414);
const Rgba kEyeLight = Hex(0xFFFFFFFF);
const Rgba kStripe = Hex(0x50201810);

// Distance to a convex polygon given by its corners (negative inside): the
// largest distance past any edge, each edge's normal pointing away from the
// centre.
float PolygonDist(float px, float py, const float (*pts)[2], int n) {
    float mx = 0, my = 0;
    for (int i = 0; i < n; ++i) {
        mx += pts[i][0] / n;
        my += pts[i][1] / n;
    }
    float d = -1e9f;
    for (int i = 0; i < n; ++i) {
        const float* a = pts[i];
        const float* b = pts[(i + 1) % n];
        const float ex = b[0] - a[0], ey = b[1] - a[1];
        const float len = std::max(1e-4f, std::hypot(ex, ey));
        float nx = ey / len, ny = -ex / len;
        if ((mx - a[0]) * nx + (my - a[1]) * ny > 0) {
            nx = -nx;
            ny = -ny;
        }
        d = std::max(d, (px - a[0]) * nx + (py - a[1]) * ny);
    }
    return d;
}

void Triangle(Canvas& c, float ax, float ay, float bx, float by, float cx, float cy, const Rgba& colour) {
    const float pts[3][2] = {{ax, ay}, {bx, by}, {cx, cy}};
    const int x0 = int(std::min({ax, bx, cx})) - 1, x1 = int(std::max({ax, bx, cx})) + 2;
    const int y0 = int(std::min({ay, by, cy})) - 1, y1 = int(std::max({ay, by, cy})) + 2;
    c.Shape(x0, y0, x1, y1, [&](float px, float py) { return PolygonDist(px, py, pts, 3); },
            [&](float, float) { return colour; });
}

void Fish(Canvas& c, const Kind& k, int ox, int oy, int frame) {
    const float cx = ox + kFrameW * 0.5f + 6.0f;
    const float cy = oy + kFrameH * 0.5f;
    const float beat = std::sin(frame * 2.0f * kPi / kFrames);
    const Rgba body = Hex(k.body), belly = Hex(k.belly), fin = Hex(k.fin);

    // Tail: a fan behind the body, swinging up and down.
    const float tailX = cx - k.length + 3.0f;
    const float tipX = tailX - 14.0f - (k.dorsal ? 6.0f : 0.0f);
    const float swing = beat * 4.0f;
    Triangle(c, tailX, cy, tipX, cy - k.height - 2.0f + swing, tipX + 4.0f, cy + swing * 0.3f, fin);
    Triangle(c, tailX, cy, tipX + 4.0f, cy + swing * 0.3f, tipX, cy + k.height + 2.0f + swing, fin);

    // Back and belly fins.
    if (k.dorsal)
        Triangle(c, cx - 8.0f, cy - k.height + 2.0f, cx + 6.0f, cy - k.height + 2.0f, cx - 6.0f, cy - k.height - 12.0f,
                 fin);
    else
        Triangle(c, cx - 10.0f, cy - k.height + 2.0f, cx + 6.0f, cy - k.height + 2.0f, cx - 6.0f,
                 cy - k.height - 5.0f, fin);
    Triangle(c, cx - 4.0f, cy + k.height - 2.0f, cx + 6.0f, cy + k.height - 2.0f, cx - 2.0f,
             cy + k.height + 4.0f + beat, fin);

    // Body: an ellipse, light below; dark bands across.
    const float rx = k.length, ry = k.height;
    auto ellipse = [=](float px, float py) {
        const float nx = (px - cx) / rx, ny = (py - cy) / ry;
        return (std::sqrt(nx * nx + ny * ny) - 1.0f) * std::min(rx, ry);
    };
    c.Shape(int(cx - rx) - 1, int(cy - ry) - 1, int(cx + rx) + 2, int(cy + ry) + 2, ellipse,
            [=](float, float py) { return Mix(body, belly, content::Clamp01((py - cy + ry * 0.2f) / ry)); });
    for (int s = 0; s < k.stripes; ++s) {
        const float sx = cx - rx * 0.5f + s * (rx * 1.1f / std::max(1, k.stripes));
        c.Shape(int(sx) - 4, int(cy - ry) - 1, int(sx) + 5, int(cy + ry) + 2,
                [=](float px, float py) { return std::max(ellipse(px, py), std::fabs(px - sx) - 1.5f); },
                [=](float, float) { return kStripe; });
    }

    // Gill line and eye.
    c.Line(cx + rx * 0.45f, cy - ry * 0.5f, cx + rx * 0.4f, cy + ry * 0.45f, 1.2f, Hex(0x60201810));
    const float ex = cx + rx * 0.65f, ey = cy - ry * 0.25f;
    c.Circle(ex, ey, 2.6f, kEyeLight);
    c.Circle(ex + 0.5f, ey, 1.6f, kEye);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fishgen <data folder>\n");
        return 2;
    }
    const int rows = int(sizeof kKinds / sizeof kKinds[0]);
    Canvas c(kFrameW * kFrames, kFrameH * rows);
    for (int row = 0; row < rows; ++row)
        for (int frame = 0; frame < kFrames; ++frame) Fish(c, kKinds[row], frame * kFrameW, row * kFrameH, frame);
    const std::string path = std::string(argv[1]) + "/Texture/Fish.png";
    if (!c.WritePng(path)) return 1;
    std::printf("%s %dx%d\n", path.c_str(), c.Width(), c.Height());
    return 0;
}
