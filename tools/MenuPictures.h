// Pictures of the main menu and its windows: the animated bubbles, seaweed
// and ship windows over the sea (the sea and its rocks are painted in
// tools/art/menu/), the players and options windows,
// the options widgets and the small logos of the credits. Included by texgen.cpp,
// which writes them with its own pictures.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"

namespace menu_pictures {

using content::Canvas;
using content::Font;
using content::Hex;
using content::Mix;
using content::Rgba;

const float kPi = 3.14159265f;
const Rgba kDeepInk = Hex(0xFF0E1A24);
const Rgba kGold = Hex(0xFFE8C060);
const Rgba kPale = Hex(0xFFF4E9CF);
const Rgba kBrassEdge = Hex(0xFFB8893A);

// One lit ship window: warm glass with a glow around it.
inline Canvas ShipWindow(int size) {
    Canvas c(size, size);
    float h = size * 0.5f;
    c.SoftSpot(h, h, h, Hex(0xC0FFD880), 1.4f);
    c.Circle(h, h, h * 0.42f, kGold);
    c.Circle(h - h * 0.15f, h - h * 0.15f, h * 0.12f, Hex(0xFFFFF6DC));
    return c;
}

// "bubbles2_Menu": eight frames (32 x 64) of a burst of bubbles rising and fading.
inline Canvas BubbleBurst() {
    const int frames = 8, w = 32, h = 64;
    Canvas c(w * frames, h);
    const float seeds[][3] = {{10, 0.0f, 4}, {20, 0.15f, 3}, {15, 0.3f, 5}, {24, 0.45f, 2.5f}, {8, 0.6f, 3}};
    for (int f = 0; f < frames; ++f) {
        if (f == frames - 1) continue;  // the last frame, shown while waiting, is empty
        float t = f / float(frames - 1);
        for (const auto& s : seeds) {
            float life = t - s[1];
            if (life < 0) continue;
            float by = h - 6 - life * 70.0f, bx = f * w + s[0] + std::sin(life * 9.0f) * 2.0f;
            if (by < s[2]) continue;
            Rgba ring = Hex(0xE0FFFFFF);
            ring.a *= 1.0f - t * 0.6f;
            c.Ring(bx, by, s[2], 1.2f, ring);
            c.Circle(bx - s[2] * 0.35f, by - s[2] * 0.35f, s[2] * 0.25f, Hex(0xFFFFFFFF));
        }
    }
    return c;
}

// "Vodorosli02MainMenu": ten frames (90 x 420) of a seaweed swaying; the lower
// half stays below the screen edge.
inline Canvas Seaweed() {
    const int frames = 10, w = 90, h = 420;
    Canvas c(w * frames, h);
    for (int f = 0; f < frames; ++f) {
        float phase = f * 2 * kPi / frames;
        for (int blade = 0; blade < 3; ++blade) {
            float baseX = f * w + 30.0f + blade * 15.0f;
            float prevX = baseX, prevY = float(h);
            for (int s = 1; s <= 20; ++s) {
                float t = s / 20.0f;
                float y = h - t * (h - 20.0f - blade * 30.0f);
                float x = baseX + std::sin(phase + t * 3.0f + blade) * 14.0f * t;
                float width = 9.0f * (1.0f - t) + 2.0f;
                c.Line(prevX, prevY, x, y, width, Mix(Hex(0xFF2E7A3A), Hex(0xFF7FBF5A), t));
                prevX = x;
                prevY = y;
            }
        }
    }
    return c;
}

// A dark panel with a brass frame (the windows of the menu's screens).
inline Canvas BrassPanel(int w, int h) {
    Canvas c(w, h);
    c.RoundRect(3, 5, w - 1, h - 1, 18, Hex(0x70000000));
    c.RoundRect(0, 0, w - 4, h - 6, 18, kBrassEdge);
    c.RoundRectOutline(0, 0, w - 4, h - 6, 18, 2, kDeepInk);
    c.RoundRectGradient(9, 9, w - 13, h - 15, 12, Hex(0xFF2C4656), Hex(0xFF132430));
    c.RoundRectOutline(9, 9, w - 13, h - 15, 12, 1.5f, Hex(0xFF6B4E22));
    c.RoundRectOutline(15, 15, w - 19, h - 21, 8, 1.0f, Hex(0x40F4E9CF));
    return c;
}

// A recessed well in a panel: darker ground, a shadow under its top edge and
// a thin light rim along its bottom, as if cut into the panel.
inline void Well(Canvas& c, float x0, float y0, float x1, float y1, float r) {
    c.RoundRect(x0 - 2, y0 - 2, x1 + 2, y1 + 2, r + 2, Hex(0xFF0A141B));
    c.RoundRectGradient(x0, y0, x1, y1, r, Hex(0xFF0C1820), Hex(0xFF16283A));
    for (int i = 0; i < 6; ++i)  // inner shadow, strongest at the top edge
        c.RoundRectOutline(x0, y0 + i, x1, y1, r, 1.0f, Hex(uint32_t(0x30 - i * 8) << 24));
    c.RoundRectOutline(x0 - 2, y0 - 2, x1 + 2, y1 + 2, r + 2, 1.0f, Hex(0x806B4E22));
    c.Line(x0 + r, y1 + 1.5f, x1 - r, y1 + 1.5f, 1.0f, Hex(0x40F4E9CF));
}

// The players window (410 x 490): the new and delete buttons in a column on
// the left, the list of players in a well on the right. The window stands at
// (400, 280) with its picture's point (240, 245) there, so the list box's
// rows (315 to 545, 95 to 445 on the screen) lie in the well.
inline Canvas PlayersWindow() {
    Canvas c = BrassPanel(410, 490);
    Well(c, 151, 57, 389, 413, 8);
    return c;
}

// The credits window (680 x 540): the scrolling column shows through a
// recessed slot whose edges are the column's clip edges (40 to 640 and 85 to
// 435 of the picture), so names slide in and out under the slot's rim.
inline Canvas CreditsWindow() {
    Canvas c = BrassPanel(680, 540);
    Well(c, 40, 85, 640, 435, 4);
    c.RoundRectOutline(36, 81, 644, 439, 7, 2.0f, kBrassEdge);
    return c;
}

// An options tab (220 x 40 looks: up, over, down): a card 200 wide with
// rounded top corners standing on a brass rule, its face in the window's own
// blue, with a soft shadow on either side. The two tabs overlap: the one drawn
// in front (the chosen one) casts its shadow on the one behind it, and their
// rules join into one under both.
inline Canvas Tab() {
    const int w = 220, h = 40;
    const float left = 10, right = 210;
    Canvas c(w, h * 3);
    for (int look = 0; look < 3; ++look) {
        // Drawn taller than the look and cut at its lower edge: the rounded
        // bottom corners never show.
        Canvas one(w, h);
        const Rgba top = look == 1 ? Hex(0xFF3E6276) : Hex(0xFF32505F);
        const Rgba bottom = Hex(0xFF2C4656);
        for (int i = 1; i <= 8; ++i)  // soft shadow, darkest at the card's sides
            one.RoundRect(left - i, 2.0f + i * 0.5f, right + i, h + 12, 10.0f + i, Hex(0x12000000));
        one.RoundRectGradient(left, 1, right, h + 12, 10, top, bottom);
        one.RoundRectOutline(left, 1, right, h + 12, 10, 2.0f, kBrassEdge);
        one.RoundRectOutline(left + 3, 4, right - 3, h + 12, 7, 1.0f, Hex(0x40F4E9CF));
        one.Line(left, h - 1.5f, right, h - 1.5f, 2.0f, kBrassEdge);
        c.Paste(one, 0, look * h);
    }
    return c;
}

// The check box of the options: empty, highlighted, ticked (32 x 32 each).
inline Canvas CheckBox() {
    Canvas c(32, 96);
    for (int look = 0; look < 3; ++look) {
        float y = look * 32.0f;
        c.RoundRect(5, y + 5, 27, y + 27, 4, look == 1 ? Hex(0xFF3E5F72) : Hex(0xFF22323E));
        if (look == 2) {
            c.Line(9, y + 16, 14, y + 22, 4, kGold);
            c.Line(14, y + 22, 24, y + 9, 4, kGold);
        }
    }
    return c;
}

// The frame around the check box (40 x 40).
inline Canvas CheckFrame() {
    Canvas c(40, 40);
    c.RoundRectOutline(1, 1, 39, 39, 6, 3, kBrassEdge);
    return c;
}

// The slider's track (220 x 24) and its handle (20 x 30).
inline Canvas SliderTrack() {
    Canvas c(220, 24);
    c.RoundRect(4, 8, 216, 16, 4, Hex(0xFF0A1218));
    c.RoundRectOutline(4, 8, 216, 16, 4, 1.5f, kBrassEdge);
    return c;
}

inline Canvas SliderHandle() {
    Canvas c(20, 30);
    c.RoundRectGradient(2, 2, 18, 28, 5, Hex(0xFFF2CF78), Hex(0xFF9A6E28));
    c.RoundRectOutline(2, 2, 18, 28, 5, 1.5f, kDeepInk);
    return c;
}

// A small logo for the credits: an emblem and a name (160 x 90).
inline Canvas MiniLogo(const Font& font, const std::string& name, uint32_t color) {
    Canvas c(160, 90);
    Rgba col = Hex(color);
    // A pale plate behind the emblem and the name keeps both readable on the
    // dark credits window.
    c.RoundRect(4, 2, 156, 88, 12, Hex(0x40F4E9CF));
    c.RoundRectOutline(4, 2, 156, 88, 12, 1.5f, Hex(0x80F4E9CF));
    c.Circle(80, 30, 24, col);
    c.Ring(80, 30, 24, 3, kPale);
    c.Label(font, 26, name.substr(0, 1), 80, 30, Hex(0xFFFFFFFF), kDeepInk, 0);
    c.Label(font, 20, name, 80, 72, kPale, kDeepInk, 2.5f);
    return c;
}

struct MenuPicture {
    const char* file;  // relative to the data folder
    std::function<Canvas(const Font& serifBold, const Font& sansBold)> draw;
};

inline const std::vector<MenuPicture>& MenuPictures() {
    static const std::vector<MenuPicture> pictures = {
        {"Texture/MainMenu/ShipWindow1.png", [](const Font&, const Font&) { return ShipWindow(40); }},
        {"Texture/MainMenu/ShipWindow2.png", [](const Font&, const Font&) { return ShipWindow(34); }},
        {"Texture/MainMenu/BubbleBurst.png", [](const Font&, const Font&) { return BubbleBurst(); }},
        {"Texture/MainMenu/Seaweed.png", [](const Font&, const Font&) { return Seaweed(); }},
        {"Texture/Windows/Window05.png", [](const Font&, const Font&) { return PlayersWindow(); }},
        {"Texture/Windows/InGameMenuWindow.png", [](const Font&, const Font&) { return BrassPanel(520, 440); }},
        {"Texture/Windows/CreditsWindow.png", [](const Font&, const Font&) { return CreditsWindow(); }},
        {"Texture/Buttons/Tab.png", [](const Font&, const Font&) { return Tab(); }},
        {"Texture/Buttons/InGameTrigger.png", [](const Font&, const Font&) { return CheckBox(); }},
        {"Texture/Buttons/InGameRect.png", [](const Font&, const Font&) { return CheckFrame(); }},
        {"Texture/Buttons/InGameSliderBackground.png", [](const Font&, const Font&) { return SliderTrack(); }},
        {"Texture/Buttons/InGameSlider.png", [](const Font&, const Font&) { return SliderHandle(); }},
        {"Texture/Logos/OrvelLogoMini.png",
         [](const Font& serif, const Font&) { return MiniLogo(serif, "Orvelworks", 0xFF8A4B2A); }},
        {"Texture/Logos/KTVLogoMini.png",
         [](const Font&, const Font& sans) { return MiniLogo(sans, "Kestrel TV", 0xFF2E6B8A); }},
    };
    return pictures;
}

}  // namespace menu_pictures
