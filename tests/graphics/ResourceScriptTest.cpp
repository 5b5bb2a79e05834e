#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "GraphicsTestUtil.h"
#include "graphics/RScriptParser.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/ResourceScript.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"

namespace {

std::vector<std::pair<int, std::string>> Tokens(const std::string& text) {
    gfxtest::Engine();
    RScriptParser sp("t.res", text.data(), text.size());
    std::vector<std::pair<int, std::string>> out;
    while (sp.get_token() != TTEND) out.emplace_back(sp.tokentype, sp.tkn_string());
    return out;
}

// Reads a script written under that name into a temporary folder.
void Read(hgeResourceManager& rm, const std::string& name, const std::string& text) {
    gfxtest::TempDir dir;
    ReadResourceScript(&rm, dir.Write(name, text).c_str());
}

const RSprite* Sprite(hgeResourceManager& rm, const char* name) {
    return dynamic_cast<const RSprite*>(rm.FindRes(RES_SPRITE, name));
}

size_t CountInLog(const std::string& needle) {
    std::string log = gfxtest::ReadLog();
    size_t n = 0;
    for (size_t p = log.find(needle); p != std::string::npos; p = log.find(needle, p + 1)) n++;
    return n;
}

}  // namespace

TEST(ResourceTokenizerTest, KeywordsNumbersStringsAndComments) {
    using T = std::vector<std::pair<int, std::string>>;
    EXPECT_EQ(Tokens("Sprite sprite Spritely"),
              (T{{TTRES_SPRITE, "Sprite"}, {TTPAR_SPRITE, "sprite"}, {TTRES_SPRITE, "Sprite"}, {TTSTRING, "ly"}}));
    EXPECT_EQ(Tokens("rect=1.5,-2 ; comment = ignored\n}"),
              (T{{TTPAR_RECT, "rect"}, {TTEQUALS, "="}, {TTNUMBER, "1.5"}, {TTSEPARATOR, ","},
                 {TTNUMBER, "-2"}, {TTCLOSEBLOCK, "}"}}));
    // Unquoted colours: digits run on into hex letters, then a new token starts.
    EXPECT_EQ(Tokens("8080FF80 FF00FF00 \"8080FF80\""),
              (T{{TTSTRING, "8080FF"}, {TTNUMBER, "80"}, {TTSTRING, "FF00FF00"}, {TTSTRING, "8080FF80"}}));
    // Unquoted names split at keywords and delimiters; quoted ones stay whole.
    EXPECT_EQ(Tokens("textures.png \"textures.png\" a:b"),
              (T{{TTPAR_TEXTURE, "texture"}, {TTSTRING, "s.png"}, {TTSTRING, "textures.png"}, {TTSTRING, "a"},
                 {TTBASED, ":"}, {TTSTRING, "b"}}));
    EXPECT_EQ(Tokens("true falsehood ALPHABLEND ALPHA"),
              (T{{TTBOOL, "true"}, {TTBOOL, "false"}, {TTSTRING, "hood"}, {TTCON_ALPHABLND, "ALPHABLEND"},
                 {TTCON_ALPHA, "ALPHA"}}));
    EXPECT_TRUE(Tokens("  ; only a comment").empty());
    EXPECT_TRUE(Tokens(std::string("\0Sprite", 7)).empty());  // the text ends at a zero byte
}

TEST(ResourceTokenizerTest, ValueForms) {
    gfxtest::Engine();
    std::string text = "  -12abc 3.5e1 Tx f \"FF8000\" zz";
    RScriptParser sp("v.res", text.data(), text.size());
    sp.get_token();
    EXPECT_EQ(sp.tkn_string(), "-12abc");
    EXPECT_EQ(sp.tkn_int(), -12);
    sp.get_token();  // "3.5e1" splits after the e
    EXPECT_EQ(sp.tkn_string(), "3.5e");
    EXPECT_FLOAT_EQ(sp.tkn_float(), 3.5f);
    sp.get_token();
    sp.get_token();
    EXPECT_TRUE(sp.tkn_bool());  // "Tx"
    sp.get_token();
    EXPECT_FALSE(sp.tkn_bool());  // "f"
    sp.get_token();
    EXPECT_EQ(sp.tkn_hex(), 0xFF8000u);
    sp.put_back();
    sp.get_token();
    EXPECT_EQ(sp.tkn_string(), "FF8000");  // a quoted string put back reads the same
    sp.get_token();
    EXPECT_EQ(sp.tkn_hex(), 0xFFu);  // non-hex characters count as 15
}

TEST(ResourceScriptTest, ParametersBasesAndSeparators) {
    gfxtest::Engine();
    hgeResourceManager rm;
    Read(rm, "params.res",
         "Sprite a { texture = \"tex.png\" rect = 1, 2, 3, 4 hotspot = 5, 6\n"
         "  blendmode = COLORADD, ZWRITE color = \"80FF0000\" zorder = 0.25 flip = true, false resgroup = 3 }\n"
         "Sprite b : a { rect = 10, 20, 30, 40 }\n"
         "Sprite c { rect 1 2 3 4 5 6 7 8 }\n"  // values need their separators
         "Sprite d : nobody { color = 8080FF80 zorder = 0.75 }\n"
         "Animation an { frames = 8 fps = 24 mode = REVERSE, PINGPONG, NOLOOP blendmode = COLORMUL,"
         " ALPHAADD }\n"
         "Font f { filename = \"x.fnt\" tracking = -3 spacing = 0.5 scale = 2 }\n"
         "Distortion m { mesh = 4, 5 }\n"
         "Target t { size = 64, 32 zbuffer = true }\n");

    const RSprite* a = Sprite(rm, "a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->texname, "tex.png");
    EXPECT_EQ(a->tx, 1);
    EXPECT_EQ(a->h, 4);
    EXPECT_EQ(a->hoty, 6);
    EXPECT_EQ(a->blend, BLEND_COLORADD | BLEND_ALPHABLEND | BLEND_ZWRITE);
    EXPECT_EQ(a->color, 0x80FF0000u);
    EXPECT_FLOAT_EQ(a->z, 0.25f);
    EXPECT_TRUE(a->bXFlip);
    EXPECT_FALSE(a->bYFlip);
    EXPECT_EQ(a->resgroup, 3);

    // b copies everything from a but its rectangle.
    const RSprite* b = Sprite(rm, "b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->texname, "tex.png");
    EXPECT_EQ(b->tx, 10);
    EXPECT_EQ(b->h, 40);
    EXPECT_EQ(b->hotx, 5);
    EXPECT_EQ(b->blend, a->blend);
    EXPECT_EQ(b->color, a->color);
    EXPECT_EQ(b->resgroup, 3);
    EXPECT_EQ(b->handle, 0u);

    // Without separators every other token is taken as one.
    const RSprite* c = Sprite(rm, "c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->tx, 2);
    EXPECT_EQ(c->ty, 4);
    EXPECT_EQ(c->w, 6);
    EXPECT_EQ(c->h, 8);

    // An unknown base gives the defaults; the split colour leaves "80" unsupported
    // and the rest of the block is skipped up to the next parameter word.
    const RSprite* d = Sprite(rm, "d");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->texname, "");
    EXPECT_EQ(d->color, 0x8080FFu);
    EXPECT_FLOAT_EQ(d->z, 0.75f);
    EXPECT_EQ(d->blend, BLEND_DEFAULT);

    const RAnimation* an = dynamic_cast<const RAnimation*>(rm.FindRes(RES_ANIMATION, "an"));
    ASSERT_NE(an, nullptr);
    EXPECT_EQ(an->frames, 8);
    EXPECT_FLOAT_EQ(an->fps, 24);
    EXPECT_EQ(an->mode, HGEANIM_REV | HGEANIM_PINGPONG);
    EXPECT_EQ(an->blend, BLEND_COLORMUL | BLEND_ALPHAADD);

    const RFont* f = dynamic_cast<const RFont*>(rm.FindRes(RES_FONT, "f"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->filename, "x.fnt");
    EXPECT_FLOAT_EQ(f->tracking, -3);
    EXPECT_FLOAT_EQ(f->spacing, 0.5f);
    EXPECT_FLOAT_EQ(f->scale, 2);

    const RDistort* m = dynamic_cast<const RDistort*>(rm.FindRes(RES_DISTORT, "m"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->cols, 4);
    EXPECT_EQ(m->rows, 5);

    const RTarget* t = dynamic_cast<const RTarget*>(rm.FindRes(RES_TARGET, "t"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->width, 64);
    EXPECT_EQ(t->height, 32);
    EXPECT_TRUE(t->zbuffer);
}

TEST(ResourceScriptTest, ErrorLinesAndRecovery) {
    gfxtest::Engine();
    hgeResourceManager rm;
    Read(rm, "errors.res",
         "Sprite a { rect = 1, 2, 3, 4 }\n"
         "Sprite a { rect = 5, 6, 7, 8 }\n"  // line 2: duplicate, the first stays
         "Texture a { filename = \"a.png\" }\n"
         "Bogus Sprite e { fps = 3 zorder = 0.5 }\n"  // line 4
         "Sprite f : missing { }\n"
         "Sprite g zorder\n"
         "Font h { color = 1 8080FF80 }\n"
         "Sprite i { blendmode = COLORADD, LOOP, ALPHAADD\n"
         "Sprite j { zorder = 1");
    EXPECT_EQ(Sprite(rm, "a")->tx, 1);
    EXPECT_NE(rm.FindRes(RES_TEXTURE, "a"), nullptr);  // same name, other type: allowed
    EXPECT_NE(Sprite(rm, "e"), nullptr);
    EXPECT_FLOAT_EQ(Sprite(rm, "e")->z, 0.5f);
    EXPECT_NE(Sprite(rm, "f"), nullptr);
    EXPECT_EQ(Sprite(rm, "g"), nullptr);
    EXPECT_EQ(Sprite(rm, "i")->blend, BLEND_ALPHAADD | BLEND_COLORADD);
    EXPECT_NE(Sprite(rm, "j"), nullptr);

    EXPECT_EQ(CountInLog("errors.res, line 2: Resource 'a' of the same type already has been defined."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 4: Unrecognized resource specificator 'Bogus'."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 4: Unsupported resource parameter 'fps'."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 5: Base resource 'missing' is not defined."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 6: Illegal resource syntax, 'zorder' found; '{' expected."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 7: Unsupported resource parameter '8080FF'."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 8: Unsupported value 'LOOP'."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 9: '}' missed, 'Sprite' encountered."), 1u);
    EXPECT_EQ(CountInLog("errors.res, line 9: '}' missed, '<EOF>' encountered."), 1u);
}

TEST(ResourceScriptTest, IncludesMissingScriptsAndChangeScript) {
    gfxtest::TempDir dir;
    gfxtest::Engine();
    std::string inc = dir.Write("inc.res", "Sprite fromInclude { rect = 0, 0, 1, 1 }\n");
    std::string top = dir.Write("top.res", "Include \"" + inc + "\"\nInclude \"" + inc +
                                               "\"\nInclude \"" + dir.File("none.res") +
                                               "\"\nSprite own { }\n");
    hgeResourceManager rm(top.c_str());
    EXPECT_NE(Sprite(rm, "fromInclude"), nullptr);
    EXPECT_NE(Sprite(rm, "own"), nullptr);
    EXPECT_EQ(CountInLog(top + ", line 2: Script '" + inc + "' already has been parsed."), 1u);
    EXPECT_EQ(CountInLog(top + ", line 3: Script '" + dir.File("none.res") + "' not found."), 1u);

    // The same script can be read again after ChangeScript.
    rm.ChangeScript(top.c_str());
    EXPECT_NE(Sprite(rm, "fromInclude"), nullptr);
    EXPECT_EQ(rm.Count(RES_SPRITE), 2u);

    std::string gone = dir.File("gone.res");
    hgeResourceManager empty(gone.c_str());
    EXPECT_EQ(CountInLog("Script '" + gone + "' not found."), 1u);
    EXPECT_EQ(empty.GetSprite("own"), nullptr);
    EXPECT_EQ(empty.GetFont("Main"), nullptr);
}

TEST(ResourceManagerTest, ObjectsPrecacheAndPurgeByGroup) {
    gfxtest::TempDir dir;
    HGE* hge = gfxtest::Engine();
    std::string tex = dir.WritePng("tex.png", 32, 32, {});
    dir.WritePng("font.png", 16, 16, {});
    std::string fnt = dir.Write("f.fnt", "[HGEFONT]\nBitmap = font.png\nChar=\"A\",0,0,8,8,0,0\n");
    hgeResourceManager rm;
    Read(rm, "groups.res",
         "Texture T1 { filename = \"" + tex + "\" resgroup = 1 }\n"
         "Sprite S1 { texture = T1 rect = 0, 0, 16, 16 hotspot = 8, 8 color = FF00FF00 resgroup = 1 }\n"
         "Animation A1 { texture = T1 rect = 0, 0, 16, 16 color = FF00FF00 frames = 2 mode = PINGPONG"
         " resgroup = 1 }\n"
         "Font F1 { filename = \"" + fnt + "\" tracking = 10 resgroup = 1 }\n"
         "Texture Bad { filename = \"" + dir.File("missing.png") + "\" resgroup = 2 }\n"
         "Sprite S2 { texture = Bad rect = 0, 0, 4, 4 resgroup = 2 }\n"
         "Sprite Loose { texture = \"" + tex + "\" rect = 0, 0, 2, 2 }\n");

    EXPECT_TRUE(rm.Precache(1));
    const ResDesc* t1 = rm.FindRes(RES_TEXTURE, "T1");
    ASSERT_NE(t1->handle, 0u);
    hgeSprite* s1 = rm.GetSprite("S1");
    ASSERT_NE(s1, nullptr);
    EXPECT_EQ(s1, rm.GetSprite("S1"));  // shared
    EXPECT_EQ(s1->GetTexture(), t1->handle);
    EXPECT_EQ(s1->GetHotSpotX(), 8);
    EXPECT_EQ(s1->GetColor(3), 0xFF00FF00u);
    hgeAnimation* a1 = rm.GetAnimation("A1");
    ASSERT_NE(a1, nullptr);
    EXPECT_EQ(a1->GetMode(), HGEANIM_FWD | HGEANIM_PINGPONG | HGEANIM_LOOP);
    EXPECT_EQ(a1->GetColor(0), 0xFF00FF00u);
    hgeFont* f1 = rm.GetFont("F1");
    ASSERT_NE(f1, nullptr);
    EXPECT_FLOAT_EQ(gfxtest::DrawnQuad([&] { f1->Render(0.5f, 0, HGETEXT_LEFT, "A"); }).v[0].x, 0.5f) << "resource build";
    EXPECT_FLOAT_EQ(f1->GetTracking(), 10);
    EXPECT_NE(f1->GetSprite('A'), nullptr);
    EXPECT_EQ(rm.GetSprite("Unknown"), nullptr);
    EXPECT_EQ(rm.GetAnimation("S1"), nullptr);  // names are per type

    // Group 2 fails at its texture and loads nothing after it.
    EXPECT_FALSE(rm.Precache(2));
    EXPECT_EQ(rm.FindRes(RES_SPRITE, "S2")->handle, 0u);

    // A purge frees the group only; the next request loads again.
    hgeSprite* loose = rm.GetSprite("Loose");
    ASSERT_NE(loose, nullptr);
    rm.Purge(1);
    EXPECT_EQ(t1->handle, 0u);
    EXPECT_EQ(rm.FindRes(RES_SPRITE, "S1")->handle, 0u);
    EXPECT_NE(rm.FindRes(RES_SPRITE, "Loose")->handle, 0u);
    EXPECT_NE(rm.GetSprite("S1"), nullptr);
    EXPECT_NE(t1->handle, 0u);

    // Undeclared texture names load as files and are then registered.
    size_t textures = rm.Count(RES_TEXTURE);
    HTEXTURE direct = rm.GetTexture(tex.c_str(), 4);
    EXPECT_NE(direct, 0u);
    EXPECT_EQ(rm.GetTexture(tex.c_str()), direct);
    EXPECT_EQ(rm.Count(RES_TEXTURE), textures);  // "Loose" registered it already
    EXPECT_EQ(rm.GetTexture(dir.File("nope.png").c_str()), 0u);
    EXPECT_EQ(rm.Count(RES_TEXTURE), textures);
    EXPECT_EQ(rm.GetTexture(""), 0u);

    // A particle system finds its sprite among sprites only.
    std::string psi(128, '\0');
    std::string psiPath = dir.Write("p.psi", psi);
    Read(rm, "more.res",
         "Particle P { filename = \"" + psiPath + "\" sprite = S1 }\n"
         "Particle Q { filename = \"" + psiPath + "\" sprite = A1 }\n"
         "StringTable ST { filename = \"" + dir.Write("s.txt", "[HGESTRINGTABLE]\nK=\"v\"") + "\" }\n");
    ASSERT_NE(rm.GetParticleSystem("P"), nullptr);
    EXPECT_EQ(rm.GetParticleSystem("P")->info.sprite, rm.GetSprite("S1"));
    EXPECT_EQ(rm.GetParticleSystem("Q")->info.sprite, nullptr);
    ASSERT_NE(rm.GetStringTable("ST"), nullptr);

    EXPECT_TRUE(rm.Precache(1));
    rm.Purge(0);
    EXPECT_EQ(rm.FindRes(RES_SPRITE, "Loose")->handle, 0u);
    (void)hge;
}
