// Texture generator: the game's pictures, drawn from flat shapes, outlines and
// readable labels.
//
//   texgen <data folder> [truetype folder]
//
// Each picture is one function that returns a canvas; the table at the end
// names the file it is written to. To add a picture, write its function and add
// one line to the table (and declare its sprites in data/Resource/main.res).
// Buttons hold their three looks one under the other: up, over, down.
#include "Canvas.h"
#include "MenuPictures.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using content::Canvas;
using content::Font;
using content::Hex;
using content::Mix;
using content::Rgba;

namespace {

const float kPi = 3.14159265f;

struct Fonts {
    Font sans, sansBold, serifBold;
};

// Palette: ink, paper, brass and white.
const Rgba kInk = Hex(0xFF1E1A16);
const Rgba kPaperLight = Hex(0xFFF4E9CF);
const Rgba kBrass = Hex(0xFFB8893A);
const Rgba kWhite = Hex(0xFFFFFFFF);

// ---------------------------------------------------------------- cursor

// The arrow pointer, tip at (1, 1).
Canvas Cursor(const Fonts&) {
    Canvas c(32, 32);
    std::vector<float> arrow = {1, 1, 1, 23, 6.5f, 18, 10.5f, 27, 14.5f, 25.5f, 10.5f, 16.5f, 17.5f, 16.5f};
    // A dark rim under a light body.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            std::vector<float> shifted = arrow;
            for (size_t i = 0; i < shifted.size(); i += 2) {
                shifted[i] += dx * 1.2f;
                shifted[i + 1] += dy * 1.2f;
            }
            c.Polygon(shifted, kInk);
        }
    c.Polygon(arrow, Hex(0xFFFFF6DC));
    return c;
}

// ---------------------------------------------------------------- particles

// The outline of a star with its first point straight up: x, y pairs of the
// points (outer radius) and the notches between them (inner radius).
std::vector<float> StarOutline(float cx, float cy, int points, float outer, float inner) {
    std::vector<float> star;
    for (int i = 0; i < 2 * points; ++i) {
        float r = (i % 2 == 0) ? outer : inner;
        float a = -kPi / 2 + i * kPi / points;
        star.push_back(cx + r * std::cos(a));
        star.push_back(cy + r * std::sin(a));
    }
    return star;
}

// A five-pointed star with a soft glow, white so the particle colour tints it.
Canvas SmallStar(const Fonts&) {
    Canvas c(16, 16);
    c.SoftSpot(8, 8, 8, Hex(0x80FFFFFF), 2.0f);
    c.Polygon(StarOutline(8, 8, 5, 7.5f, 3.2f), kWhite);
    return c;
}

// A four-pointed sparkle.
Canvas FourAngleStar(const Fonts&) {
    Canvas c(32, 32);
    c.SoftSpot(16, 16, 12, Hex(0xA0FFFFFF), 2.0f);
    c.Polygon(StarOutline(16, 16, 4, 15.5f, 3.0f), kWhite);
    return c;
}

// A bright point with a small cross glint.
Canvas Spark(const Fonts&) {
    Canvas c(16, 16);
    c.SoftSpot(8, 8, 8, kWhite, 1.6f);
    c.Line(8, 1.5f, 8, 14.5f, 1.2f, Hex(0xC0FFFFFF));
    c.Line(1.5f, 8, 14.5f, 8, 1.2f, Hex(0xC0FFFFFF));
    return c;
}

// A plain soft dot.
Canvas Dot(const Fonts&) {
    Canvas c(16, 16);
    c.SoftSpot(8, 8, 8, kWhite, 1.2f);
    return c;
}

// A wide, faint glow.
Canvas Glow(const Fonts&) {
    Canvas c(32, 32);
    c.SoftSpot(16, 16, 16, kWhite, 2.2f);
    return c;
}

// A cloudy smoke puff made of overlapping soft spots.
Canvas SmokePuff(const Fonts&) {
    Canvas c(32, 32);
    const float spots[][3] = {{16, 16, 14}, {11, 13, 9}, {21, 12, 9}, {12, 21, 9}, {21, 20, 10}};
    for (const auto& s : spots) c.SoftSpot(s[0], s[1], s[2], Hex(0x70FFFFFF), 1.3f);
    return c;
}

// A small bubble: a light ring with a highlight.
Canvas Bubble(const Fonts&) {
    Canvas c(16, 16);
    c.Circle(8, 8, 7, Hex(0x40FFFFFF));
    c.Ring(8, 8, 7, 1.5f, Hex(0xE0FFFFFF));
    c.Circle(5.5f, 5.5f, 1.8f, kWhite);
    return c;
}

// The magnifying-glass lens mask: opaque inside a 74-texel circle.
Canvas MagnifyingGlassMask(const Fonts&) {
    Canvas c(74, 74);
    c.Circle(37, 37, 36.5f, kWhite);
    return c;
}

// ---------------------------------------------------------------- buttons

// One look of a rounded button: body gradient, rim and an optional label.
void ButtonLook(Canvas& c, int y, int w, int h, const Rgba& top, const Rgba& bottom, float press, const Font* font,
                const std::string& label, float labelPx) {
    float inset = 2.0f + press;
    c.RoundRect(1, y + 1 + press, w - 1, y + h - 1, 10, Hex(0x60000000));  // shadow
    c.RoundRectGradient(inset, y + inset, w - inset, y + h - inset - 1 + press * 0.5f, 9, top, bottom);
    c.RoundRectOutline(inset, y + inset, w - inset, y + h - inset - 1 + press * 0.5f, 9, 2.0f, kInk);
    c.RoundRectOutline(inset + 3, y + inset + 3, w - inset - 3, y + h * 0.45f, 6, 1.0f, Hex(0x50FFFFFF));
    if (font && !label.empty())
        c.Label(*font, labelPx, label, w * 0.5f, y + h * 0.5f + press, kWhite, kInk, 2.0f);
}

// A button texture: three looks (up, over, down) of w x h, one under the other.
Canvas ButtonStrip(int w, int h, uint32_t base, const Font* font, const std::string& label, float labelPx) {
    Canvas c(w, h * 3);
    Rgba b = Hex(base);
    Rgba light = Mix(b, kWhite, 0.35f), dark = Mix(b, kInk, 0.35f);
    ButtonLook(c, 0, w, h, light, b, 0, font, label, labelPx);                                    // up
    ButtonLook(c, h, w, h, Mix(light, kWhite, 0.3f), Mix(b, kWhite, 0.2f), 0, font, label, labelPx);  // over: brighter
    ButtonLook(c, 2 * h, w, h, b, dark, 2, font, label, labelPx);                                 // down: darker, sunk
    return c;
}

// The round "OK" button of dialogs and hint windows (67 x 58 looks).
Canvas ButtonYes(const Fonts& f) { return ButtonStrip(67, 58, 0xFF3E8E41, &f.sansBold, "OK", 22); }

// The cancel button of dialogs (67 x 58 looks).
Canvas ButtonNo(const Fonts& f) { return ButtonStrip(67, 58, 0xFFB0382E, &f.sansBold, "X", 24); }

// A wide button without a label, for captions drawn by the game (180 x 44 looks).
Canvas Button(const Fonts&) { return ButtonStrip(180, 44, 0xFF7A5A2E, nullptr, "", 0); }

// A small button without a label (120 x 36 looks).
Canvas SmallButton(const Fonts&) { return ButtonStrip(120, 36, 0xFF3B5F8A, nullptr, "", 0); }

// ---------------------------------------------------------------- windows

// A dark panel with a brass frame, for light text.
Canvas Panel(int w, int h) {
    Canvas c(w, h);
    c.RoundRect(3, 5, w - 1, h - 1, 16, Hex(0x70000000));  // shadow
    c.RoundRect(0, 0, w - 4, h - 6, 16, kBrass);
    c.RoundRectOutline(0, 0, w - 4, h - 6, 16, 2, kInk);
    c.RoundRectGradient(8, 8, w - 12, h - 14, 10, Hex(0xFF3B3143), Hex(0xFF1F1A26));
    c.RoundRectOutline(8, 8, w - 12, h - 14, 10, 1.5f, Hex(0xFF6B4E22));
    c.RoundRectOutline(14, 14, w - 18, h - 20, 6, 1.0f, Hex(0x40F4E9CF));
    return c;
}

// The yes/no dialog window. Its message lies on a recessed card (the text box
// of the dialog layouts, 20 to 400 and 25 to 135 of the picture); the name
// entry writes its prompt at the card's top and the typed name in its middle,
// so the card is the name's text field.
Canvas DialogWindow(const Fonts&) {
    Canvas c = Panel(420, 240);
    c.RoundRect(14, 18, 406, 144, 8, Hex(0xFF08060A));
    c.RoundRectGradient(16, 20, 404, 142, 7, Hex(0xFF0C0A10), Hex(0xFF17131C));
    for (int i = 0; i < 5; ++i)  // inner shadow under the top edge
        c.RoundRectOutline(16, 20.0f + i, 404, 142, 7, 1.0f, Hex(uint32_t(0x40 - i * 10) << 24));
    c.RoundRectOutline(13, 17, 407, 145, 9, 1.5f, Hex(0xC0B8893A));
    c.Line(24, 146.5f, 396, 146.5f, 1.0f, Hex(0x40F4E9CF));
    return c;
}

// A small message window.
Canvas SmallWindow(const Fonts&) { return Panel(300, 180); }

// The hint window.
Canvas Window04(const Fonts&) { return Panel(360, 260); }

// The hint arrow: a tail bar (0, 0, 36, 32) and a head pointing right (36, 0, 28, 32).
Canvas TutorialArrow(const Fonts&) {
    Canvas c(64, 32);
    c.RoundRect(0, 10, 36, 22, 1, kInk);
    c.RoundRect(0, 12, 36, 20, 1, Hex(0xFFFFD24A));
    c.Polygon({36, 2, 63.5f, 16, 36, 30}, kInk);
    c.Polygon({37.5f, 6, 59, 16, 37.5f, 26}, Hex(0xFFFFD24A));
    return c;
}

// ---------------------------------------------------------------- logos

// A logo: an emblem and a name, on transparent ground (drawn over white).
Canvas Logo(const Font& font, const std::string& name, const std::string& line, uint32_t color) {
    Canvas c(400, 220);
    Rgba col = Hex(color);
    c.Circle(200, 70, 52, col);
    c.Ring(200, 70, 52, 4, kInk);
    c.Ring(200, 70, 38, 3, kWhite);
    c.Label(font, 50, name.substr(0, 1), 200, 70, kWhite, kInk, 0);
    c.Label(font, 38, name, 200, 158, col, kInk, 0);
    if (!line.empty()) c.Label(font, 18, line, 200, 196, kInk, kInk, 0);
    return c;
}

Canvas CustomLogo(const Fonts& f) { return Logo(f.serifBold, "Orvelworks", "uvádí", 0xFF8A4B2A); }
Canvas PellicoLogo(const Fonts& f) { return Logo(f.sansBold, "Pellico", "obraz a zvuk", 0xFF2E6B8A); }
Canvas OrvelLogo(const Fonts& f) { return Logo(f.serifBold, "Orvel", "herní jádro", 0xFF4E7A2E); }

// The product logo: the title in brass over a dark ribbon.
Canvas DRLogo(const Fonts& f) {
    Canvas c(512, 200);
    c.RoundRect(16, 40, 496, 150, 24, Hex(0xC0201814));
    c.RoundRectOutline(16, 40, 496, 150, 24, 3, kBrass);
    c.Label(f.serifBold, 72, "Drovalin", 256, 92, Hex(0xFFF2CF78), kInk, 3);
    c.Label(f.sans, 20, "detektivní příběh", 256, 172, kPaperLight, kInk, 2);
    return c;
}

struct Picture {
    const char* file;  // relative to the data folder
    std::function<Canvas(const Fonts&)> draw;
};

const std::vector<Picture>& Pictures() {
    static const std::vector<Picture> pictures = {
        {"Texture/Cursor.png", Cursor},
        {"Texture/Particles/SmallStar.png", SmallStar},
        {"Texture/Particles/FourAngleStar.png", FourAngleStar},
        {"Texture/Particles/Spark.png", Spark},
        {"Texture/Particles/Dot.png", Dot},
        {"Texture/Particles/Glow.png", Glow},
        {"Texture/Particles/SmokePuff.png", SmokePuff},
        {"Texture/Particles/Bubble.png", Bubble},
        {"Texture/MagnifyingGlassMask.png", MagnifyingGlassMask},
        {"Texture/Buttons/ButtonYes.png", ButtonYes},
        {"Texture/Buttons/ButtonNo.png", ButtonNo},
        {"Texture/Buttons/Button.png", Button},
        {"Texture/Buttons/SmallButton.png", SmallButton},
        {"Texture/Windows/DialogWindow.png", DialogWindow},
        {"Texture/Windows/SmallWindow.png", SmallWindow},
        {"Texture/Windows/Window04.png", Window04},
        {"Texture/Windows/TutorialArrow.png", TutorialArrow},
        {"Texture/Logos/CustomLogo.png", CustomLogo},
        {"Texture/Logos/PellicoLogo.png", PellicoLogo},
        {"Texture/Logos/OrvelLogo.png", OrvelLogo},
        {"Texture/Logos/DRLogo.png", DRLogo},
    };
    return pictures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: texgen <data folder> [truetype folder]\n");
        return 2;
    }
    const std::string data = argv[1];
    const std::string ttf = argc > 2 ? argv[2] : "/usr/share/fonts/truetype/dejavu";
    Fonts fonts;
    if (!fonts.sans.Load(ttf + "/DejaVuSans.ttf") || !fonts.sansBold.Load(ttf + "/DejaVuSans-Bold.ttf") ||
        !fonts.serifBold.Load(ttf + "/DejaVuSerif-Bold.ttf")) {
        std::fprintf(stderr, "cannot read the DejaVu fonts in %s\n", ttf.c_str());
        return 1;
    }
    bool ok = true;
    for (const Picture& p : Pictures()) {
        Canvas c = p.draw(fonts);
        std::string path = data + "/" + p.file;
        if (c.WritePng(path))
            std::printf("%s %dx%d\n", path.c_str(), c.Width(), c.Height());
        else
            ok = false;
    }
    for (const menu_pictures::MenuPicture& p : menu_pictures::MenuPictures()) {
        Canvas c = p.draw(fonts.serifBold, fonts.sansBold);
        std::string path = data + "/" + p.file;
        if (c.WritePng(path))
            std::printf("%s %dx%d\n", path.c_str(), c.Width(), c.Height());
        else
            ok = false;
    }
    return ok ? 0 : 1;
}
