// The bundled bitmap fonts: head line, bitmap, glyph set and metrics that suit
// the tracking the start-up gives each font.
#include <gtest/gtest.h>

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

}  // namespace
