// Font generator: renders DejaVu glyphs into a PNG and writes the matching
// "[HGEFONT]" description for each of the game's bitmap fonts.
//
//   fontgen <font folder> [truetype folder]
//
// Glyphs: 0x20-0x7E and the Czech letters of Windows-1250 at their byte codes.
// Every cell holds the glyph with room for its outline; "pre" is the distance
// from the pen to the cell's left edge and "post" is chosen so that, with the
// tracking the game sets for the font, the pen advances by the glyph's natural
// advance. Fonts drawn with a line spacing below 1 get cells tall enough that
// a line step of spacing x cell height is one natural line, with the glyphs
// centred in their cells. A font may carry empty rows above its glyphs, for
// widgets that place text at the top of a taller row (the list of players).
#include "Canvas.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using content::Canvas;
using content::Font;
using content::Hex;
using content::Mask;
using content::Rgba;

namespace {

struct FontSpec {
    const char* name;        // file name without extension: <name>.fnt and <name>.png
    const char* ttf;         // DejaVu face
    float px;                // pixel height of the face
    float outline;           // outline radius in pixels, 0 for none
    uint32_t fillTop, fillBottom, outlineColor;
    float tracking;          // tracking the game sets for this font
    float spacing;           // line spacing the game sets for this font
    int textureWidth;
    int padTop = 0;          // empty rows above the glyph line in every cell
};

const FontSpec kFonts[] = {
    {"default", "DejaVuSans-Bold.ttf", 24, 2.0f, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF1C1C24, -8, 1.0f, 512},
    {"comics", "DejaVuSerif-Bold.ttf", 22, 2.0f, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF1C1C24, -7, 0.5f, 512},
    {"Score", "DejaVuSans-Bold.ttf", 30, 2.5f, 0xFFFFF6C0, 0xFFE8A828, 0xFF3A2408, -8, 0.5f, 1024},
    {"default14", "DejaVuSans-Bold.ttf", 17, 1.5f, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF1C1C24, -6, 1.0f, 256},
    {"defaultcontourless", "DejaVuSans.ttf", 22, 0.0f, 0xFFFFFFFF, 0xFFFFFFFF, 0, -10, 1.0f, 512},
    {"main", "DejaVuSerif-Bold.ttf", 22, 2.0f, 0xFFFFF8E4, 0xFFE6C37A, 0xFF3A2410, -6, 1.0f, 512},
    // The caption face for list rows: the list box draws a row's text from
    // just above the row's top, so the glyphs sit lower in a taller cell.
    {"list", "DejaVuSerif-Bold.ttf", 22, 2.0f, 0xFFFFF8E4, 0xFFE6C37A, 0xFF3A2410, -6, 1.0f, 512, 12},
};

struct Glyph {
    int code;        // byte code in the game's 8-bit text
    int codepoint;   // Unicode code point rendered for it
};

// Printable ASCII and the Czech letters at their Windows-1250 byte codes.
std::vector<Glyph> Glyphs() {
    std::vector<Glyph> out;
    for (int c = 0x20; c <= 0x7E; ++c) out.push_back({c, c});
    const Glyph czech[] = {
        {0xE1, 0x00E1}, {0xE8, 0x010D}, {0xEF, 0x010F}, {0xE9, 0x00E9}, {0xEC, 0x011B}, {0xED, 0x00ED},
        {0xF2, 0x0148}, {0xF3, 0x00F3}, {0xF8, 0x0159}, {0x9A, 0x0161}, {0x9D, 0x0165}, {0xFA, 0x00FA},
        {0xF9, 0x016F}, {0xFD, 0x00FD}, {0x9E, 0x017E}, {0xC1, 0x00C1}, {0xC8, 0x010C}, {0xCF, 0x010E},
        {0xC9, 0x00C9}, {0xCC, 0x011A}, {0xCD, 0x00CD}, {0xD2, 0x0147}, {0xD3, 0x00D3}, {0xD8, 0x0158},
        {0x8A, 0x0160}, {0x8D, 0x0164}, {0xDA, 0x00DA}, {0xD9, 0x016E}, {0xDD, 0x00DD}, {0x8E, 0x017D},
    };
    for (const Glyph& g : czech) out.push_back(g);
    return out;
}

struct Cell {
    Glyph glyph;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // bitmap box relative to pen and baseline
    int advance = 0;                     // natural advance, whole pixels
    int w = 0;                           // cell width
    int tx = 0, ty = 0;                  // cell position in the texture
    Mask mask;                           // glyph coverage, w x cell height
};

int NextPow2(int v) {
    int p = 1;
    while (p < v) p <<= 1;
    return p;
}

std::string CodeText(int code) {
    char buf[16];
    bool plain = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
    if (plain)
        std::snprintf(buf, sizeof buf, "\"%c\"", char(code));
    else
        std::snprintf(buf, sizeof buf, "%02X", code);
    return buf;
}

bool MakeFont(const FontSpec& spec, const std::string& outDir, const std::string& ttfDir) {
    Font font;
    if (!font.Load(ttfDir + "/" + spec.ttf)) {
        std::fprintf(stderr, "cannot read %s/%s\n", ttfDir.c_str(), spec.ttf);
        return false;
    }
    const stbtt_fontinfo* info = font.Info();
    float scale = font.ScaleForPixels(spec.px);
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(info, &ascent, &descent, &gap);
    const int pad = int(std::ceil(spec.outline)) + 1;

    std::vector<Cell> cells;
    int top = -int(std::ceil(ascent * scale)), bottom = int(std::ceil(-descent * scale));
    for (const Glyph& g : Glyphs()) {
        Cell c;
        c.glyph = g;
        int adv, lsb;
        stbtt_GetCodepointHMetrics(info, g.codepoint, &adv, &lsb);
        stbtt_GetCodepointBitmapBox(info, g.codepoint, scale, scale, &c.x0, &c.y0, &c.x1, &c.y1);
        c.advance = int(std::lround(adv * scale));
        // The apostrophe-like caron of d, t and l stands past the letter's
        // advance, where the next letter's outline would cover it. The pen
        // moves on to one texel before the caron's right edge: a letter after
        // it starts where the caron ends, its outline over the caron's rim
        // only, and a low letter after a short caron (the "ta" of "ťa") keeps
        // its natural place, with no gap.
        if (g.codepoint == 0x010F || g.codepoint == 0x0165 || g.codepoint == 0x013E)
            c.advance = std::max(c.advance, c.x1 - 1);
        if (c.x1 > c.x0 && c.y1 > c.y0) {
            top = std::min(top, c.y0);
            bottom = std::max(bottom, c.y1);
        } else {
            c.x0 = c.x1 = 0;
        }
        cells.push_back(c);
    }
    const int lineHeight = bottom - top + 2 * pad;  // one natural line, outline included
    const int spacedHeight = int(std::lround(lineHeight / spec.spacing));
    const int cellHeight = spacedHeight + spec.padTop;
    const int lineTop = (spacedHeight - lineHeight) / 2 + spec.padTop;  // glyph line centred in a tall cell
    const int baseline = lineTop + pad - top;

    // Glyph masks, each a full cell tall.
    for (Cell& c : cells) {
        int gw = c.x1 - c.x0, gh = c.y1 - c.y0;
        c.w = std::max(gw + 2 * pad, 2);
        c.mask.w = c.w;
        c.mask.h = cellHeight;
        c.mask.v.assign(size_t(c.w) * cellHeight, 0.0f);
        if (gw <= 0 || gh <= 0) continue;
        std::vector<unsigned char> bmp(size_t(gw) * gh);
        stbtt_MakeCodepointBitmap(info, bmp.data(), gw, gh, gw, scale, scale, c.glyph.codepoint);
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x) {
                int mx = pad + x, my = baseline + c.y0 + y;
                if (my >= 0 && my < cellHeight) c.mask.v[size_t(my) * c.w + mx] = bmp[size_t(y) * gw + x] / 255.0f;
            }
    }

    // Rows of cells, two texels apart so filtering never mixes neighbours.
    const int gapPx = 2;
    int x = gapPx, y = gapPx;
    for (Cell& c : cells) {
        if (x + c.w + gapPx > spec.textureWidth) {
            x = gapPx;
            y += cellHeight + gapPx;
        }
        c.tx = x;
        c.ty = y;
        x += c.w + gapPx;
    }
    const int textureHeight = NextPow2(y + cellHeight + gapPx);

    Canvas canvas(spec.textureWidth, textureHeight);
    const Rgba fillTop = Hex(spec.fillTop), fillBottom = Hex(spec.fillBottom), outline = Hex(spec.outlineColor);
    for (const Cell& c : cells) {
        if (spec.outline > 0) canvas.PaintMask(content::Dilate(c.mask, spec.outline), c.tx, c.ty, outline);
        for (int my = 0; my < c.mask.h; ++my) {
            float t = content::Clamp01(float(my - lineTop - pad) / float(std::max(1, lineHeight - 2 * pad)));
            Rgba fill = content::Mix(fillTop, fillBottom, t);
            for (int mx = 0; mx < c.mask.w; ++mx) canvas.Blend(c.tx + mx, c.ty + my, fill, c.mask.At(mx, my));
        }
    }

    const std::string png = outDir + "/" + spec.name + ".png";
    const std::string fnt = outDir + "/" + spec.name + ".fnt";
    if (!canvas.WritePng(png)) return false;
    FILE* f = std::fopen(fnt.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", fnt.c_str());
        return false;
    }
    std::fprintf(f, "[HGEFONT]\n\nBitmap=%s.png\n\n", spec.name);
    for (const Cell& c : cells) {
        int pre = c.x0 - pad;
        int post = c.advance - pre - c.w - int(spec.tracking);
        std::fprintf(f, "Char=%s,%d,%d,%d,%d,%d,%d\n", CodeText(c.glyph.code).c_str(), c.tx, c.ty, c.w, cellHeight, pre,
                     post);
    }
    bool ok = std::fclose(f) == 0;
    std::printf("%s: %zu glyphs, cell height %d, texture %dx%d\n", fnt.c_str(), cells.size(), cellHeight,
                spec.textureWidth, textureHeight);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fontgen <font folder> [truetype folder]\n");
        return 2;
    }
    std::string ttfDir = argc > 2 ? argv[2] : "/usr/share/fonts/truetype/dejavu";
    bool ok = true;
    for (const FontSpec& spec : kFonts) ok = MakeFont(spec, argv[1], ttfDir) && ok;
    return ok ? 0 : 1;
}
