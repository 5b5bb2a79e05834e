#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GraphicsTestUtil.h"
#include "graphics/FontPictures.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

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
    // The left edge of a letter's last drawn quad.
    static float LetterX(hgeFont& f, char c) { return f.GetSprite(c)->GetQuad().v[0].x; }
    static float LetterY(hgeFont& f, char c) { return f.GetSprite(c)->GetQuad().v[0].y; }

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
    ASSERT_NE(f.GetTexture(), 0u);
    ASSERT_NE(f.GetSprite('A'), nullptr);
    float x, y, w, h;
    f.GetSprite('A')->GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(f.GetPreWidth('A'), 7);
    EXPECT_EQ(f.GetPostWidth('A'), 8);
    EXPECT_EQ(f.GetHeight(), 40);
    EXPECT_EQ(f.GetSprite('B'), nullptr);
    // Glyphs are indexed by unsigned byte: the Czech c with caron (0xE8).
    ASSERT_NE(f.GetSprite('\xE8'), nullptr);
    EXPECT_EQ(f.GetSprite('\xE8')->GetWidth(), 7);
    EXPECT_EQ(f.GetPostWidth('\xE8'), 1);
    EXPECT_EQ(f.GetSprite('\0'), nullptr);  // 0x100 did not land on code 0
}

TEST_F(FontTest, RejectsBadHeadAndMissingFiles) {
    std::string bad = dir.Write("bad.fnt", "[HGEFONT] \nBitmap = font.png\nChar=\"A\",0,0,4,4,0,0\n");
    hgeFont f(bad.c_str());
    EXPECT_EQ(f.GetSprite('A'), nullptr);
    EXPECT_EQ(f.GetTexture(), 0u);
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
    reg.Render(100, 50, HGETEXT_LEFT, "AB");
    EXPECT_FLOAT_EQ(LetterX(reg, 'A'), 101);  // pre 1
    EXPECT_FLOAT_EQ(LetterX(reg, 'B'), 113);
    EXPECT_FLOAT_EQ(LetterY(reg, 'B'), 50);

    reg.Render(100, 50, HGETEXT_RIGHT, "AB");
    EXPECT_FLOAT_EQ(LetterX(reg, 'A'), 82);
    reg.Render(100, 50, HGETEXT_CENTER, "AB");  // half of 19 truncated: 9
    EXPECT_FLOAT_EQ(LetterX(reg, 'A'), 92);

    // A line break moves down a whole line and aligns the next line on its own.
    reg.Render(100, 50, HGETEXT_RIGHT, "AB\nA");
    EXPECT_FLOAT_EQ(LetterX(reg, 'A'), 88);
    EXPECT_FLOAT_EQ(LetterY(reg, 'A'), 62);

    // Registry build, a quarter turn: the text grows downwards.
    reg.SetRotation(1.5707963f);
    reg.Render(100, 50, HGETEXT_LEFT, "AB");
    EXPECT_NEAR(LetterY(reg, 'A') - LetterY(reg, 'B'), -12, 1.01f);
    EXPECT_GT(LetterY(reg, 'B'), LetterY(reg, 'A'));

    hgeFont res(path.c_str(), false, hgeFont::BUILD_RESOURCE);
    res.Render(100, 50, HGETEXT_CENTER, "AB");  // half of 19 rounded: 10
    EXPECT_FLOAT_EQ(LetterX(res, 'A'), 91);
    res.SetScale(0.5f);
    res.Render(0.25f, 0, HGETEXT_LEFT, "A");
    EXPECT_FLOAT_EQ(LetterX(res, 'A'), 0.75f);  // not rounded

    // The Czech letter draws with its own glyph.
    reg.SetRotation(0);
    reg.Render(0, 0, HGETEXT_LEFT, "\xE8");
    EXPECT_FLOAT_EQ(LetterX(reg, '\xE8'), 0);
    float tx, ty, tw, th;
    reg.GetSprite('\xE8')->GetTextureRect(&tx, &ty, &tw, &th);
    EXPECT_EQ(tx, 40);

    // printf formats into its buffer and renders.
    reg.printf(10, 20, HGETEXT_LEFT, "%c%s", 'B', "A");
    EXPECT_FLOAT_EQ(LetterX(reg, 'B'), 10);
    EXPECT_FLOAT_EQ(LetterX(reg, 'A'), 17);
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
    f.printfb(0, 0, 60, 100, HGETEXT_LEFT | HGETEXT_BOTTOM, "AA AA %s", "AA");
    EXPECT_FLOAT_EQ(LetterY(f, 'A'), 88);  // the last A drawn is on line 2
    f.printfb(0, 0, 60, 100, HGETEXT_LEFT | HGETEXT_MIDDLE, "AA AA AA");
    EXPECT_FLOAT_EQ(LetterY(f, 'A'), 50);
    f.printfb(0, 0, 60, 100, HGETEXT_RIGHT | HGETEXT_TOP, "AA");
    EXPECT_FLOAT_EQ(LetterX(f, 'A'), 60 - 13 + 1);
}

TEST_F(FontTest, RegistryLoadsReplacesAndClears) {
    std::string path = WriteFont("g.fnt", kBody);
    FontMap& reg = FontRegistry::Instance();
    hgeFont* first = reg.LoadFont("Main", path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FontRegistry::GetFont("Main"), first);
    EXPECT_EQ(FontRegistry::GetFont("main"), nullptr);
    EXPECT_EQ(first->GetBuild(), hgeFont::BUILD_REGISTRY);

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
    HTEXTURE picture = registryFont->GetTexture();
    ASSERT_NE(picture, 0u);
    std::string backslashed = path;
    backslashed[backslashed.rfind('/')] = '\\';
    auto* resourceFont = new hgeFont(backslashed.c_str(), false, hgeFont::BUILD_RESOURCE);
    reg.LoadFont("Shared1", path);
    EXPECT_EQ(resourceFont->GetTexture(), picture);
    EXPECT_EQ(FontRegistry::GetFont("Shared1")->GetTexture(), picture);
    EXPECT_EQ(FontPictures::Users(picture), 3);

    // Replacing a font under its name lets go of one use only.
    reg.LoadFont("Shared", path);
    EXPECT_EQ(FontRegistry::GetFont("Shared")->GetTexture(), picture);
    EXPECT_EQ(FontPictures::Users(picture), 3);
    FontRegistry::Clear();
    EXPECT_EQ(FontPictures::Users(picture), 1);
    HGE* hge = gfxtest::Engine();
    EXPECT_EQ(hge->Texture_GetWidth(picture), 64) << "still in use";
    resourceFont->Render(0, 0, HGETEXT_LEFT, "AB");
    delete resourceFont;
    EXPECT_EQ(FontPictures::Users(picture), 0);
    EXPECT_EQ(hge->Texture_GetWidth(picture), 0) << "freed with its last user";

    // A picture that cannot be loaded is not remembered: a later font tries again.
    std::string broken = dir.Write("b.fnt", "[HGEFONT]\nBitmap = none.png\n" + std::string(kBody));
    hgeFont missing(broken.c_str());
    EXPECT_EQ(missing.GetTexture(), 0u);
    dir.WritePng("none.png", 8, 8, {});
    hgeFont found(broken.c_str());
    EXPECT_NE(found.GetTexture(), 0u);
}
