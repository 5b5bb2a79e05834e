// The bundled bitmap fonts: head line, bitmap, glyph set and metrics that suit
// the tracking the start-up gives each font, and the carons of ď and ť as a
// player reads them between other letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "ContentFiles.h"

namespace {

struct Letter {
    int x, y, w, h, pre, post;
};

struct FontFile {
    std::string firstLine;
    std::string bitmap;
    std::map<int, Letter> letters;
};

// Reads the format the game's font loader reads: "Bitmap=" and "Char=" lines,
// codes quoted or in hexadecimal.
bool ParseFont(const std::string& text, FontFile& out) {
    std::istringstream in(text);
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (first) {
            out.firstLine = line;
            first = false;
            continue;
        }
        if (line.rfind("Bitmap", 0) == 0) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) return false;
            out.bitmap = line.substr(line.find_first_not_of(' ', eq + 1));
        } else if (line.rfind("Char", 0) == 0) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) return false;
            size_t p = eq + 1;
            int code = -1;
            if (line[p] == '"') {
                code = (unsigned char)line[p + 1];
                p += 3;
            } else {
                size_t end = line.find(',', p);
                code = std::stoi(line.substr(p, end - p), nullptr, 16);
                p = end;
            }
            Letter l{};
            if (std::sscanf(line.c_str() + p, " , %d , %d , %d , %d , %d , %d", &l.x, &l.y, &l.w, &l.h, &l.pre,
                            &l.post) != 6)
                return false;
            out.letters[code] = l;
        }
    }
    return true;
}

struct StartupFont {
    const char* file;
    float tracking;
};

// The fonts the start-up loads, with the tracking it sets (the tightest where a
// file is loaded twice).
const StartupFont kFonts[] = {
    {"data/Font/default.fnt", -8}, {"data/Font/comics.fnt", -7},   {"data/Font/Score.fnt", -8},
    {"data/Font/default14.fnt", -6}, {"data/Font/defaultcontourless.fnt", -10}, {"data/Font/main.fnt", -6},
    {"data/Font/list.fnt", -6},
};

TEST(FontFiles, EveryStartupFontIsCompleteAndFitsItsBitmap) {
    for (const StartupFont& f : kFonts) {
        SCOPED_TRACE(f.file);
        std::string text;
        ASSERT_TRUE(contenttest::ReadAll(f.file, text));
        FontFile font;
        ASSERT_TRUE(ParseFont(text, font));
        EXPECT_EQ(font.firstLine, "[HGEFONT]");
        ASSERT_FALSE(font.bitmap.empty());
        EXPECT_EQ(font.bitmap.find(' '), std::string::npos) << "the loader reads one word";

        std::string folder = std::string(f.file).substr(0, std::string(f.file).rfind('/') + 1);
        int tw = 0, th = 0;
        ASSERT_TRUE(contenttest::DecodePng(folder + font.bitmap, tw, th));

        std::set<int> wanted;
        for (int c = 0x20; c <= 0x7E; ++c) wanted.insert(c);
        for (uint8_t c : contenttest::CzechCodes()) wanted.insert(c);
        for (int c : wanted) EXPECT_TRUE(font.letters.count(c)) << "missing glyph " << c;

        int height = font.letters.begin()->second.h;
        for (const auto& [code, l] : font.letters) {
            EXPECT_GE(l.x, 0);
            EXPECT_GE(l.y, 0);
            EXPECT_LE(l.x + l.w, tw) << "glyph " << code;
            EXPECT_LE(l.y + l.h, th) << "glyph " << code;
            EXPECT_EQ(l.h, height) << "all cells one line tall, glyph " << code;
            float advance = l.pre + l.w + l.post + f.tracking;
            EXPECT_GT(advance, 0) << "glyph " << code << " would not move the pen";
            EXPECT_LT(advance, height * 1.5f) << "glyph " << code;
        }
        // Letters keep their natural order of widths under the tracking: an "m"
        // advances further than an "i".
        const Letter& m = font.letters.at('m');
        const Letter& i = font.letters.at('i');
        EXPECT_GT(m.pre + m.w + m.post, i.pre + i.w + i.post);
    }
}

TEST(FontFiles, LooseLineSpacingFontsHaveDoubleHeightCells) {
    // "Comics" and "Score" are drawn with a line spacing of 0.5: their cells are
    // twice a line tall, so a line step is one natural line.
    std::string comics, plain;
    ASSERT_TRUE(contenttest::ReadAll("data/Font/comics.fnt", comics));
    ASSERT_TRUE(contenttest::ReadAll("data/Font/default.fnt", plain));
    FontFile c, d;
    ASSERT_TRUE(ParseFont(comics, c));
    ASSERT_TRUE(ParseFont(plain, d));
    EXPECT_GT(c.letters.at('A').h, d.letters.at('A').h * 3 / 2);
}

// A word drawn as the game draws it in one font at scale 1: each letter's cell
// at its pen place, a later letter over an earlier one where its texels are
// solid. Per texel of the line: the letter that shows there (-1 for none) and
// whether it shows its fill (the bright inside) or its outline.
struct Drawn {
    int w = 0, h = 0;
    std::vector<int> letter;
    std::vector<bool> fill;
    int At(int x, int y) const { return x < 0 || x >= w ? -1 : letter[size_t(y) * size_t(w) + size_t(x)]; }
    bool Fill(int x, int y) const { return At(x, y) >= 0 && fill[size_t(y) * size_t(w) + size_t(x)]; }
};

struct Bitmap {
    FontFile font;
    float tracking = 0;
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;

    Drawn Draw(const std::string& word) const {
        Drawn d;
        d.h = font.letters.begin()->second.h;
        d.w = 8 + int(word.size()) * 2 * d.h;
        d.letter.assign(size_t(d.w) * size_t(d.h), -1);
        d.fill.assign(d.letter.size(), false);
        float pen = 4.0f;
        for (size_t i = 0; i < word.size(); ++i) {
            const Letter& l = font.letters.at((unsigned char)word[i]);
            const int left = int(std::lround(pen + l.pre));
            for (int y = 0; y < l.h; ++y)
                for (int x = 0; x < l.w; ++x) {
                    const uint8_t* t = &rgba[(size_t(l.y + y) * size_t(w) + size_t(l.x + x)) * 4];
                    if (t[3] < 128 || left + x < 0 || left + x >= d.w) continue;
                    const size_t at = size_t(y) * size_t(d.w) + size_t(left + x);
                    d.letter[at] = int(i);
                    d.fill[at] = 0.299f * t[0] + 0.587f * t[1] + 0.114f * t[2] >= 128.0f;
                }
            pen += l.pre + l.w + l.post + tracking;
        }
        return d;
    }
};

// Columns of empty space between the fill of the first letter and the fill of
// the second, in the rows where the second one's fill is drawn.
int GapBetween(const Drawn& d) {
    int lastFirst = -1, firstSecond = d.w;
    for (int y = 0; y < d.h; ++y) {
        bool row = false;
        for (int x = 0; x < d.w; ++x) row |= d.Fill(x, y) && d.At(x, y) == 1;
        if (!row) continue;
        for (int x = 0; x < d.w; ++x) {
            if (!d.Fill(x, y)) continue;
            if (d.At(x, y) == 0) lastFirst = std::max(lastFirst, x);
            if (d.At(x, y) == 1) firstSecond = std::min(firstSecond, x);
        }
    }
    return std::max(0, firstSecond - lastFirst - 1);
}

TEST(FontFiles, CaronsOfDAndTShowBeforeATallLetterAndOpenNoGap) {
    // ď and ť carry their caron as an apostrophe right of the letter, past its
    // natural advance: a tall letter after it ("loďka") must not paint over
    // it, and a low one after the short caron of ť ("píšťalka") must stand
    // where it stands after t, not a gap further on.
    struct Pair {
        std::string plain, caron;
        bool lowFollowsClose;
    };
    const Pair pairs[] = {{"d", "\xEF", false}, {"t", "\x9D", true}};
    for (const StartupFont& f : kFonts) {
        SCOPED_TRACE(f.file);
        std::string text;
        ASSERT_TRUE(contenttest::ReadAll(f.file, text));
        Bitmap b;
        b.tracking = f.tracking;
        ASSERT_TRUE(ParseFont(text, b.font));
        const std::string folder = std::string(f.file).substr(0, std::string(f.file).rfind('/') + 1);
        ASSERT_TRUE(contenttest::DecodePng(folder + b.font.bitmap, b.w, b.h, &b.rgba));
        for (const Pair& p : pairs) {
            SCOPED_TRACE(p.plain);
            // The caron: the fill of the letter alone that the plain letter lacks.
            const Drawn alone = b.Draw(p.caron), base = b.Draw(p.plain), beforeK = b.Draw(p.caron + "k");
            int caron = 0, shown = 0;
            for (int y = 0; y < alone.h; ++y)
                for (int x = 0; x < alone.w; ++x) {
                    if (!alone.Fill(x, y) || base.Fill(x, y)) continue;
                    ++caron;
                    shown += beforeK.Fill(x, y) && beforeK.At(x, y) == 0;
                }
            EXPECT_GT(caron, 0);
            EXPECT_GE(shown * 4, caron * 3) << shown << " of the caron's " << caron << " texels show before a k";
            if (p.lowFollowsClose) {
                EXPECT_LE(GapBetween(b.Draw(p.caron + "a")), GapBetween(b.Draw(p.plain + "a")) + 1)
                    << "an a after the caron stands off further than after the plain letter";
            }
        }
    }
}

}  // namespace
