// The story pictures as the game reads them (the resource manager on the
// headless engine): sizes and hot spots as the score window, the comics and the
// final screen place them, real alpha on the cut-out pictures, painted surfaces
// (few flat blocks), and the screen, medal and comic files and texts that name
// them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

// CutOut: a solid picture on a transparent ground; Print: a translucent mark
// (the lipstick); Opaque: a full picture; Veil: translucent everywhere.
enum class Alpha { CutOut, Print, Opaque, Veil };

struct Picture {
    const char* name;
    float w, h, hotX, hotY;
    Alpha alpha;
    double solid;  // least share of opaque texels for a cut-out
};

const Picture kPictures[] = {
    {"Brannok", 260, 440, 130, 220, Alpha::CutOut, 0.25},
    {"Head_Happy", 260, 440, 130, 220, Alpha::CutOut, 0.05},
    {"Head_Thinking", 260, 440, 130, 220, Alpha::CutOut, 0.05},
    {"Mara", 260, 460, 130, 230, Alpha::CutOut, 0.2},
    {"Bubble", 360, 230, 180, 115, Alpha::CutOut, 0.5},
    {"MedalSharpEye", 120, 150, 60, 75, Alpha::CutOut, 0.4},
    {"MedalSteadyHand", 120, 150, 60, 75, Alpha::CutOut, 0.4},
    {"MedalStarOfDrovalin", 120, 150, 60, 75, Alpha::CutOut, 0.4},
    {"InGameButton", 160, 96, 80, 48, Alpha::CutOut, 0.2},
    {"ComicSeal", 140, 140, 70, 70, Alpha::CutOut, 0.3},
    {"Kiss1", 64, 48, 32, 24, Alpha::Print, 0},
    {"Kiss2", 64, 48, 32, 24, Alpha::Print, 0},
    {"ComicShade", 800, 600, 0, 400, Alpha::Veil, 0},
    {"Final", 1024, 768, 512, 384, Alpha::Opaque, 0},
};

using contenttest::Texels;

class StoryArt : public contenttest::ResourceTest {
protected:
    Texels Read(const char* name) { return Texels::Of(hge, rm->GetTexture(name)); }
};

TEST_F(StoryArt, EveryPictureIsATextureAndSpriteOfOneNamePaintedWithRealAlpha) {
    for (const Picture& pic : kPictures) {
        SCOPED_TRACE(pic.name);
        hgeSprite* sprite = rm->GetSprite(pic.name);
        ASSERT_NE(sprite, nullptr);
        contenttest::ExpectFrame(sprite, pic.w, pic.h, pic.hotX, pic.hotY);
        HTEXTURE tex = rm->GetTexture(pic.name);
        ASSERT_NE(tex, 0u) << "a texture of the sprite's name";
        EXPECT_EQ(sprite->GetTexture(), tex) << "the sprite cuts the texture of its name";

        Texels t = Read(pic.name);
        ASSERT_GT(t.w, 0);
        EXPECT_EQ(t.w, int(pic.w));
        EXPECT_EQ(t.h, std::string(pic.name) == "InGameButton" ? 3 * int(pic.h) : int(pic.h));
        int clear = 0, opaque = 0, partial = 0, lowest = 255, highest = 0;
        for (int y = 0; y < t.h; ++y)
            for (int x = 0; x < t.w; ++x) {
                int a = t.A(x, y);
                clear += a < 16;
                opaque += a >= 250;
                partial += a >= 16 && a < 250;
                lowest = std::min(lowest, a);
                highest = std::max(highest, a);
            }
        const double n = double(t.w) * t.h;
        switch (pic.alpha) {
            case Alpha::CutOut:
                EXPECT_GT(clear / n, 0.08) << "transparent around the figure";
                EXPECT_GT(opaque / n, pic.solid) << "a solid figure";
                break;
            case Alpha::Print:
                EXPECT_GT(clear / n, 0.3);
                EXPECT_GT(partial / n, 0.15) << "the colour thins out";
                EXPECT_GE(highest, 200) << "and is strong in the middle";
                break;
            case Alpha::Opaque:
                EXPECT_EQ(lowest, 255);
                break;
            case Alpha::Veil:
                EXPECT_GE(lowest, 60) << "the page still darkens every corner";
                EXPECT_LE(highest, 230) << "the level shows through everywhere";
                break;
        }
        EXPECT_LE(t.FlatShare(), 0.05) << "painted, not flat";
    }
}

TEST_F(StoryArt, FiguresLineUpWithTheScreensThatPlaceThem) {
    // Brannok: the heads share the body's frame; the body is drawn over them,
    // so the scarf and collar cover the chin, and his breast holds the medals.
    Texels body = Read("Brannok");
    ASSERT_EQ(body.w, 260);
    for (const char* headName : {"Head_Happy", "Head_Thinking"}) {
        SCOPED_TRACE(headName);
        Texels head = Read(headName);
        ASSERT_EQ(head.w, 260);
        int lowest = -1;
        for (int y = 0; y < head.h; ++y)
            if (head.Opaque(130, y)) lowest = y;
        ASSERT_GT(lowest, 80);
        EXPECT_LT(lowest, 170) << "a head, not a figure";
        EXPECT_TRUE(body.Opaque(130, lowest)) << "the scarf covers the chin";
        EXPECT_FALSE(body.Opaque(130, 90)) << "the body leaves the face free";
        EXPECT_TRUE(head.Opaque(130, 90));
    }
    // Medal places (170..230, 350) about the score window's hero at (200, 400),
    // and (x - 200, y - 400) about the comic figure: both land here.
    for (int x : {100, 130, 160}) EXPECT_TRUE(body.Opaque(x, 170)) << x;

    // The bubble's body holds the text box on either side of its centre.
    Texels bubble = Read("Bubble");
    ASSERT_EQ(bubble.w, 360);
    for (int y = 115 - 45; y <= 115 + 55; y += 5)
        for (int x = 180 - 150; x <= 180 + 150; x += 5) ASSERT_TRUE(bubble.Opaque(x, y)) << x << "," << y;
    int tailLeft = 0, tailRight = 0;
    for (int y = 200; y < 230; ++y)
        for (int x = 0; x < 60; ++x) {
            tailLeft += bubble.Opaque(x, y);
            tailRight += bubble.Opaque(359 - x, y);
        }
    EXPECT_GT(tailLeft, 100) << "the tail points to a speaker at the lower left";
    EXPECT_EQ(tailRight, 0);

    // The button: each look has its plate in the middle third, where it is hit
    // (width x 0.9 by a third of the height), and nothing solid above or below.
    Texels button = Read("InGameButton");
    ASSERT_EQ(button.h, 288);
    for (int look = 0; look < 3; ++look) {
        SCOPED_TRACE(look);
        int top = look * 96;
        for (int y = top + 37; y <= top + 59; y += 2)
            for (int x = 20; x <= 140; x += 4) ASSERT_TRUE(button.Opaque(x, y)) << x << "," << y;
        for (int y : {top + 2, top + 20, top + 76, top + 93})
            for (int x = 0; x < 160; x += 4) ASSERT_FALSE(button.Opaque(x, y)) << x << "," << y;
    }
}

TEST_F(StoryArt, FinalPictureHasCheeksUnderTheKissesSilverUnderTheSparklesAndSkyUnderTheSalute) {
    Texels fin = Read("Final");
    ASSERT_EQ(fin.w, 1024);
    // Screen points of the final screen, drawn at 0.78125 about the centre.
    auto at = [](float sx, float sy) { return std::pair<int, int>(int(sx * 1.28f), int(sy * 1.28f)); };
    for (auto [sx, sy] : {std::pair<float, float>{365, 295}, {429, 309}, {397, 302}}) {
        auto [x, y] = at(sx, sy);
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_GT(fin.R(x, y), 150) << "skin where the kisses land";
        EXPECT_GT(fin.R(x, y), fin.G(x, y));
        EXPECT_GT(fin.G(x, y), fin.B(x, y));
    }
    // The seal between the sparkle points is bright, nearly colourless silver.
    int silver = 0;
    for (int y = 470; y <= 536; y += 6)
        for (int x = 410; x <= 472; x += 6) {
            int spread = std::max({fin.R(x, y), fin.G(x, y), fin.B(x, y)}) -
                         std::min({fin.R(x, y), fin.G(x, y), fin.B(x, y)});
            silver += fin.Luma(x, y) > 150 && spread < 50;
        }
    EXPECT_GT(silver, 60);
    for (auto [sx, sy] : {std::pair<float, float>{63, 43}, {115, 223}, {730, 58}, {720, 275}}) {
        auto [x, y] = at(sx, sy);
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_LT(fin.Luma(x, y), 110) << "night sky where the salute bursts";
        EXPECT_GE(fin.B(x, y), fin.R(x, y));
    }
}

// Every line of the pages fits the bubble's 210 x 100 box in "Comics" (its
// tracking, and the page's line spacing 0.7), in both languages.
TEST_F(StoryArt, ScreenMedalAndComicFilesNameThisArtAndTheirTextsFit) {
    hgeStringTable english("data\\Text\\English.txt");
    hgeStringTable czech("data\\Text\\Czech.txt");
    auto keyed = [&](const std::string& key) {
        EXPECT_NE(english.GetString(key.c_str()), nullptr) << key;
        EXPECT_NE(czech.GetString(key.c_str()), nullptr) << key;
    };

    XMLDocument screen = XMLDocument::FromFile("data/Screens/LevelCompleteScreen.xml");
    ASSERT_TRUE(screen.IsLoaded());
    std::vector<std::string> ids;
    for (const auto& el : screen.GetRoot()->GetChildren()) {
        ids.push_back(el->GetName());
        if (el->HasAttribute("text_alias")) keyed(el->GetStringAttribute("text_alias"));
    }
    const std::vector<std::string> rows = {"caption_items",    "score_items",    "caption_speed", "score_speed",
                                           "caption_minigame", "score_minigame", "caption_time",  "score_time",
                                           "caption_level",    "score_level",    "caption_gametotal",
                                           "score_gametotal"};
    EXPECT_EQ(ids, rows);

    XMLDocument medals = XMLDocument::FromFile("data/Medals.xml");
    ASSERT_TRUE(medals.IsLoaded());
    std::set<int> medalIds;
    for (const auto& el : medals.GetRoot()->GetChildren()) {
        medalIds.insert(el->GetIntAttribute("id"));
        hgeSprite* s = rm->GetSprite(el->GetStringAttribute("sprite").c_str());
        ASSERT_NE(s, nullptr) << el->GetStringAttribute("sprite");
        EXPECT_EQ(el->GetFloatAttribute("y"), 350.0f);
    }
    EXPECT_EQ(medalIds, (std::set<int>{1, 2, 3}));

    hgeFont comics("data\\Font\\comics.fnt");
    comics.SetTracking(-7.0f);
    comics.SetSpacing(0.7f);
    for (const char* page : {"data/Comics/Comic1.xml", "data/Comics/Comic2.xml"}) {
        SCOPED_TRACE(page);
        XMLDocument doc = XMLDocument::FromFile(page);
        ASSERT_TRUE(doc.IsLoaded());
        const int group = doc.GetRoot()->GetIntAttribute("res_group");
        EXPECT_GE(group, 10) << "never a start-up or shared group";
        int lines = 0;
        for (const auto& el : doc.GetRoot()->GetChildren()) {
            if (el->GetName() == "appear")
                for (const auto& sp : el->GetChildren()) {
                    std::string name = sp->GetStringAttribute("name");
                    EXPECT_NE(rm->GetSprite(name.c_str()), nullptr) << name;
                    EXPECT_NE(rm->GetTexture(name.c_str()), 0u) << name;
                }
            if (!el->HasAttribute("string")) continue;
            ++lines;
            std::string key = el->GetStringAttribute("string");
            keyed(key);
            for (const hgeStringTable* table : {&english, &czech}) {
                const char* text = table->GetString(key.c_str());
                if (!text) continue;
                std::vector<char> buf(text, text + std::strlen(text) + 1);
                int wrapped = comics.WrapText(buf.data(), 210.0f);
                EXPECT_LE(wrapped * comics.GetHeight() * comics.GetSpacing(), 100.0f) << text;
                EXPECT_LE(comics.GetStringWidth(buf.data()), 210.0f) << text;
            }
        }
        EXPECT_GE(lines, 5);
    }
}

}  // namespace
