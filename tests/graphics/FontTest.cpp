#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GraphicsTestUtil.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "support/engine/DrawnText.h"

namespace {

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        gfxtest::Engine();
        dir.WritePng("font.png", 64, 64, {});
    }
    // A font file in the temporary folder naming the bitmap beside it.
    std::string WriteFont(const std::string& name, const std::string& body) {
        return dir.Write(name, "[HGEFONT]\r\n\r\nBitmap = font.png\r\n" + body);
    }
    // The top-left corner of the i-th letter that draw() puts on the screen
    // (counting from the end when negative).
    static hgeVertex Letter(const std::function<void()>& draw, int i) {
        std::vector<hgeQuad> quads = gfxtest::Drawn(draw);
        if (i < 0) i += int(quads.size());
        EXPECT_TRUE(i >= 0 && i < int(quads.size())) << i;
        return i >= 0 && i < int(quads.size()) ? quads[size_t(i)].v[0] : hgeVertex();
    }

    gfxtest::TempDir dir;
};

// A: 10 wide, B: 6 wide, '?': 4 wide, blank: 5 wide; all 12 high except B (8).
const char kBody[] =
    "Char=\"A\",0,0,10,12,1,2\n"
    "Char=42,10,0,6,8,0,0\n"
    "Char=3F,20,0,4,12,0,0\n"
    "Char=\" \",30,0,5,12,0,0\n"
    "Char=E8,40,0,7,12,0,0\n";

}  // namespace

TEST_F(FontTest, ParsesQuotedAndHexCodes) {
    std::string path = WriteFont("a.fnt",
                                 "Char=\"A\",1,2,3,4,5,6\n"
                                 "Char=41,10,20,30,40,7,8\n"  // same code: replaces the first
                                 "Char=100,0,0,9,9,0,0\n"     // above 0xFF: ignored
                                 "Char=e8 , 0 , 0 , 7 , 11 , 0 , 1\n"
                                 "Char=\"B\",1,2\n"  // incomplete: skipped
                                 "Junk line\n");
    hgeFont f(path.c_str());
    ASSERT_NE(TextureOf(&f), 0u);
    ASSERT_NE(f.GetSprite('A'), nullptr);
    float x, y, w, h;
    f.GetSprite('A')->GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(f.GetPreWidth('A'), 7);
    EXPECT_EQ(f.GetLineWidth("A"), 7 + 30 + 8) << "pre, width and post";
    EXPECT_EQ(f.GetHeight(), 40);
    EXPECT_EQ(f.GetSprite('B'), nullptr);
    // Glyphs are indexed by unsigned byte: the Czech c with caron (0xE8).
    ASSERT_NE(f.GetSprite('\xE8'), nullptr);
    EXPECT_EQ(f.GetSprite('\xE8')->GetWidth(), 7);
    EXPECT_EQ(f.GetLineWidth("\xE8"), 7 + 1);
    EXPECT_EQ(f.GetSprite('\0'), nullptr);  // 0x100 did not land on code 0
}

TEST_F(FontTest, RejectsBadHeadAndMissingFiles) {
    std::string bad = dir.Write("bad.fnt", "[HGEFONT] \nBitmap = font.png\nChar=\"A\",0,0,4,4,0,0\n");
    hgeFont f(bad.c_str());
    EXPECT_EQ(f.GetSprite('A'), nullptr);
    EXPECT_EQ(TextureOf(&f), 0u);
    EXPECT_NE(gfxtest::ReadLog().find("Font " + bad + " has incorrect format."), std::string::npos);

    hgeFont missing(dir.File("nothing.fnt").c_str());
    EXPECT_EQ(missing.GetSprite('A'), nullptr);
    EXPECT_EQ(missing.GetStringWidth("AAA"), 0.0f);
    missing.Render(0, 0, HGETEXT_LEFT, "AAA");

    // A bitmap that cannot be loaded stops reading.
    std::string noBitmap = dir.Write("nobmp.fnt", "[HGEFONT]\nBitmap = absent.png\nChar=\"A\",0,0,4,4,0,0\n");
    hgeFont stopped(noBitmap.c_str());
    EXPECT_EQ(stopped.GetSprite('A'), nullptr);
}

TEST_F(FontTest, WidthsCountPrePostTrackingAndQuestionMark) {
    hgeFont f(WriteFont("w.fnt", kBody).c_str());
    EXPECT_FLOAT_EQ(f.GetLineWidth("A"), 13);       // 1 + 10 + 2
    EXPECT_FLOAT_EQ(f.GetLineWidth("AB"), 19);
    EXPECT_FLOAT_EQ(f.GetLineWidth("AZ"), 17);      // Z drawn as '?'
    EXPECT_FLOAT_EQ(f.GetLineWidth("A\nAAA"), 13);  // first line only
    EXPECT_FLOAT_EQ(f.GetStringWidth("A\r\nAAA", true), 39);
    EXPECT_FLOAT_EQ(f.GetStringWidth("A\nAAA", false), 13);

    f.SetTracking(-20);
    EXPECT_FLOAT_EQ(f.GetLineWidth("A"), 0);  // clamped
    EXPECT_FLOAT_EQ(f.GetStringWidth("A", false), -7);
    f.SetTracking(1);
    f.SetScale(2);
    f.SetProportion(0.5f);
    EXPECT_FLOAT_EQ(f.GetLineWidth("AB"), 21);

    // Without '?' an unknown character adds nothing.
    hgeFont noQuestion(WriteFont("nq.fnt", "Char=\"A\",0,0,10,12,0,0\n").c_str());
    EXPECT_FLOAT_EQ(noQuestion.GetLineWidth("AxA"), 20);
}

TEST_F(FontTest, RenderPlacesLettersInBothBuilds) {
    std::string path = WriteFont("r.fnt", kBody);
    hgeFont reg(path.c_str());
    auto regAB = [&](int align) { return [&reg, align] { reg.Render(100, 50, align, "AB"); }; };
    EXPECT_FLOAT_EQ(Letter(regAB(HGETEXT_LEFT), 0).x, 101);  // pre 1
    EXPECT_FLOAT_EQ(Letter(regAB(HGETEXT_LEFT), 1).x, 113);
    EXPECT_FLOAT_EQ(Letter(regAB(HGETEXT_LEFT), 1).y, 50);

    EXPECT_FLOAT_EQ(Letter(regAB(HGETEXT_RIGHT), 0).x, 82);
    EXPECT_FLOAT_EQ(Letter(regAB(HGETEXT_CENTER), 0).x, 92);  // half of 19 truncated: 9

    // A line break moves down a whole line and aligns the next line on its own.
    auto lines = [&] { reg.Render(100, 50, HGETEXT_RIGHT, "AB\nA"); };
    EXPECT_FLOAT_EQ(Letter(lines, 2).x, 88);
    EXPECT_FLOAT_EQ(Letter(lines, 2).y, 62);

    // Registry build, a quarter turn: the text grows downwards.
    reg.SetRotation(1.5707963f);
    EXPECT_NEAR(Letter(regAB(HGETEXT_LEFT), 0).y - Letter(regAB(HGETEXT_LEFT), 1).y, -12, 1.01f);
    EXPECT_GT(Letter(regAB(HGETEXT_LEFT), 1).y, Letter(regAB(HGETEXT_LEFT), 0).y);

    hgeFont res(path.c_str(), false, hgeFont::BUILD_RESOURCE);
    EXPECT_FLOAT_EQ(Letter([&] { res.Render(100, 50, HGETEXT_CENTER, "AB"); }, 0).x, 91);  // half of 19 rounded: 10
    res.SetScale(0.5f);
    EXPECT_FLOAT_EQ(Letter([&] { res.Render(0.25f, 0, HGETEXT_LEFT, "A"); }, 0).x, 0.75f);  // not rounded

    // The Czech letter draws with its own glyph.
    reg.SetRotation(0);
    EXPECT_FLOAT_EQ(Letter([&] { reg.Render(0, 0, HGETEXT_LEFT, "\xE8"); }, 0).x, 0);
    float tx, ty, tw, th;
    reg.GetSprite('\xE8')->GetTextureRect(&tx, &ty, &tw, &th);
    EXPECT_EQ(tx, 40);

    // printf formats into its buffer and renders.
    auto printed = [&] { reg.printf(10, 20, HGETEXT_LEFT, "%c%s", 'B', "A"); };
    EXPECT_FLOAT_EQ(Letter(printed, 0).x, 10);
    EXPECT_FLOAT_EQ(Letter(printed, 1).x, 17);
}

TEST_F(FontTest, PrintfbWrapsWordsAndAlignsTheBlock) {
    hgeFont f(WriteFont("b.fnt", kBody).c_str());
    // "AA" is 26 wide, a blank 5. A word wider than the box keeps its own
    // line; the text after it moves on.
    const struct {
        const char* text;
        float width;
        int lines;
        const char* wrapped;
    } cases[] = {{"AA AA AA", 60, 2, "AA AA\nAA"},
                 {"AAAAA A", 30, 2, "AAAAA\nA"},
                 {"A AAAAA A", 30, 3, "A\nAAAAA\nA"},
                 {"AAAAA", 30, 1, "AAAAA"},
                 {"A\nA", 300, 2, "A\nA"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char text[64];
        std::strcpy(text, c.text);
        EXPECT_EQ(f.WrapText(text, c.width), c.lines);
        EXPECT_STREQ(text, c.wrapped);
    }

    // Bottom and middle alignment use the wrapped height (2 lines of 12).
    EXPECT_FLOAT_EQ(Letter([&] { f.printfb(0, 0, 60, 100, HGETEXT_LEFT | HGETEXT_BOTTOM, "AA AA %s", "AA"); }, -1).y,
                    88);  // the last A drawn is on line 2
    EXPECT_FLOAT_EQ(Letter([&] { f.printfb(0, 0, 60, 100, HGETEXT_LEFT | HGETEXT_MIDDLE, "AA AA AA"); }, -1).y, 50);
    EXPECT_FLOAT_EQ(Letter([&] { f.printfb(0, 0, 60, 100, HGETEXT_RIGHT | HGETEXT_TOP, "AA"); }, -1).x, 60 - 13 + 1);
}

TEST_F(FontTest, RegistryLoadsReplacesAndClears) {
    std::string path = WriteFont("g.fnt", kBody);
    FontMap& reg = FontRegistry::Instance();
    hgeFont* first = reg.LoadFont("Main", path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FontRegistry::GetFont("Main"), first);
    EXPECT_EQ(FontRegistry::GetFont("main"), nullptr);
    EXPECT_FLOAT_EQ(Letter([&] { first->Render(0.5f, 0, HGETEXT_LEFT, "A"); }, 0).x, 1) << "registry build: whole pixels";

    hgeFont* second = reg.LoadFont("Main", path);
    EXPECT_EQ(FontRegistry::GetFont("Main"), second) << "a second load replaces the first";

    // A missing file still leaves an (empty) entry.
    hgeFont* empty = reg.LoadFont("Gone", dir.File("gone.fnt"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetSprite('A'), nullptr);

    FontRegistry::Clear();
    EXPECT_EQ(FontRegistry::GetFont("Main"), nullptr);
    EXPECT_EQ(FontRegistry::GetFont("Gone"), nullptr);
}

// Fonts made from one file share its picture, in either build and with either
// spelling of the folder separator; the picture lives while any of them does.
TEST_F(FontTest, FontsOfOneFileShareOnePictureUntilTheLastGoes) {
    std::string path = WriteFont("s.fnt", kBody);
    FontMap& reg = FontRegistry::Instance();
    hgeFont* registryFont = reg.LoadFont("Shared", path);
    HTEXTURE picture = TextureOf(registryFont);
    ASSERT_NE(picture, 0u);
    std::string backslashed = path;
    backslashed[backslashed.rfind('/')] = '\\';
    auto* resourceFont = new hgeFont(backslashed.c_str(), false, hgeFont::BUILD_RESOURCE);
    reg.LoadFont("Shared1", path);
    EXPECT_EQ(TextureOf(resourceFont), picture);
    EXPECT_EQ(TextureOf(FontRegistry::GetFont("Shared1")), picture);

    // Replacing a font under its name lets go of one use only: the picture
    // outlives the registry's two fonts and goes with the third.
    reg.LoadFont("Shared", path);
    EXPECT_EQ(TextureOf(FontRegistry::GetFont("Shared")), picture);
    FontRegistry::Clear();
    HGE* hge = gfxtest::Engine();
    EXPECT_EQ(hge->Texture_GetWidth(picture), 64) << "still in use";
    resourceFont->Render(0, 0, HGETEXT_LEFT, "AB");
    delete resourceFont;
    EXPECT_EQ(hge->Texture_GetWidth(picture), 0) << "freed with its last user";

    // A picture that cannot be loaded is not remembered: a later font tries again.
    std::string broken = dir.Write("b.fnt", "[HGEFONT]\nBitmap = none.png\n" + std::string(kBody));
    hgeFont missing(broken.c_str());
    EXPECT_EQ(TextureOf(&missing), 0u);
    dir.WritePng("none.png", 8, 8, {});
    hgeFont found(broken.c_str());
    EXPECT_NE(TextureOf(&found), 0u);
}
