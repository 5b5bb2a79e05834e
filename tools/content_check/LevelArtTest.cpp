// The level screen's art and layout as the game reads them: panel buttons, the
// pocket-watch clock, the cigars and their smoulder, the magnifying glass and
// the clue bullet on the panel; the evidence case with its close button and
// items. Sizes and hot spots that the panel and the case rely on, real alpha
// (clear corners, solid bodies, texels the pixel tests can hit), no flat
// patches on the large pictures, and every caption and clue text on one line of
// its font in both tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "platform/FileSystem.h"
#include "support/HeadlessEngine.h"

namespace {

using Element = XMLDocument::XMLElement;

using contenttest::Texels;

bool CornersClear(const Texels& p) {
    return p.A(0, 0) == 0 && p.A(p.W() - 1, 0) == 0 && p.A(0, p.H() - 1) == 0 && p.A(p.W() - 1, p.H() - 1) == 0;
}

// The picture fills its own texture, so a texel read with the sprite's width as
// row length lands where the mouse is.
void ExpectWholeTexture(HGE* hge, const hgeSprite* s, const char* what) {
    ASSERT_NE(s, nullptr) << what;
    EXPECT_EQ(int(s->GetWidth()), hge->Texture_GetWidth(s->GetTexture())) << what;
    EXPECT_EQ(int(s->GetHeight()), hge->Texture_GetHeight(s->GetTexture())) << what;
}

class LevelArt : public contenttest::ResourceTest {
protected:
    hgeSprite* Sprite(const std::string& name) { return rm->GetSprite(name.c_str()); }
};

TEST_F(LevelArt, PanelButtonsHaveThreeLooksOfTheirSizeAndStayClearOfTheBag) {
    for (const char* button : {"Help", "Pause", "Menu"}) {
        SCOPED_TRACE(button);
        std::vector<DWORD> centres;
        for (const char* look : {"Up", "Over", "Down"}) {
            hgeSprite* s = Sprite(std::string("InGame") + button + look);
            ASSERT_NE(s, nullptr) << look;
            contenttest::ExpectFrame(s, 52.0f, 52.0f, 24.0f, 24.0f);
            const Texels p = Texels::Of(hge, *s);
            ASSERT_TRUE(p.Ok());
            EXPECT_TRUE(CornersClear(p)) << look;
            // A disc 40 across: solid 18 px out from the centre, nothing 23 px out
            // on the lit side (the shadow falls the other way).
            for (auto [dx, dy] : std::vector<std::pair<int, int>>{{-18, 0}, {0, -18}, {17, 0}, {0, 17}})
                EXPECT_EQ(p.A(24 + dx, 24 + dy), 255) << look << " " << dx << "," << dy;
            if (std::string(look) != "Over") {  // the over look glows all round
                EXPECT_EQ(p.A(1, 24), 0) << look;
                EXPECT_EQ(p.A(24, 1), 0) << look;
            }
            centres.push_back(p.At(34, 14));
        }
        EXPECT_NE(centres[0], centres[1]) << "the over look differs from the up look";
        EXPECT_NE(centres[0], centres[2]) << "the down look differs from the up look";
    }

    // The evidence-case button at (150, 491): 48 x 40 looks; no texel of it over
    // the closed bag's strap tab (x 102-128, y 510-555).
    for (const char* look : {"InGameBagUp", "InGameBagOver", "InGameBagDown"}) {
        SCOPED_TRACE(look);
        hgeSprite* s = Sprite(look);
        ASSERT_NE(s, nullptr);
        contenttest::ExpectFrame(s, 48.0f, 40.0f, 24.0f, 20.0f);
        const Texels p = Texels::Of(hge, *s);
        ASSERT_TRUE(p.Ok());
        EXPECT_TRUE(CornersClear(p));
        EXPECT_EQ(p.A(24, 24), 255) << "the case body is solid";
        int overTab = 0;
        for (int y = 0; y < p.H(); ++y)
            for (int x = 0; x < p.W(); ++x) {
                const float ax = 150 - s->GetHotSpotX() + x, ay = 491 - s->GetHotSpotY() + y;
                if (p.A(x, y) > 0 && ax < 129 && ay > 509 && ay < 556) ++overTab;
            }
        EXPECT_EQ(overTab, 0);
    }
}

TEST_F(LevelArt, ClockCigarsGlassAndBulletFitThePanel) {
    // The pocket watch: 16 frames of 90 x 90, drawn centred on its face; the
    // second hand moves from frame to frame.
    hgeAnimation* clock = rm->GetAnimation("InGameClock");
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->GetFrames(), 16);
    contenttest::ExpectFrame(clock, 90.0f, 90.0f, 45.0f, 50.0f);
    EXPECT_EQ(hge->Texture_GetWidth(clock->GetTexture()) * hge->Texture_GetHeight(clock->GetTexture()), 16 * 90 * 90);
    std::vector<int> handAtTwelve;
    for (int f = 0; f < 16; ++f) {
        const Texels p = Texels::Of(hge, *clock, f);
        ASSERT_TRUE(p.Ok());
        EXPECT_TRUE(CornersClear(p)) << f;
        EXPECT_EQ(p.A(45, 50), 255) << f;
        EXPECT_EQ(p.A(45 - 32, 50), 255) << "brass case, frame " << f;
        handAtTwelve.push_back(p.B(45, 30) - p.R(45, 30));
    }
    EXPECT_GT(handAtTwelve[0], 40) << "the blued hand points up in the first frame";
    EXPECT_LT(handAtTwelve[8], 10) << "and down half a turn later";

    // The cigars: own textures filled by the picture, a solid body that the
    // click test hits, clear corners; the highlighted one glows beyond the body.
    hgeSprite* cigar = Sprite("InGameCigar");
    hgeSprite* lit = Sprite("InGameCigarHighlighted");
    ExpectWholeTexture(hge, cigar, "InGameCigar");
    ExpectWholeTexture(hge, lit, "InGameCigarHighlighted");
    ASSERT_TRUE(cigar && lit);
    EXPECT_NE(cigar->GetTexture(), lit->GetTexture());
    EXPECT_EQ(cigar->GetWidth(), lit->GetWidth());
    EXPECT_EQ(cigar->GetHotSpotX(), lit->GetHotSpotX());
    EXPECT_EQ(cigar->GetHotSpotY(), lit->GetHotSpotY());
    {
        const Texels a = Texels::Of(hge, *cigar), b = Texels::Of(hge, *lit);
        ASSERT_TRUE(a.Ok() && b.Ok());
        EXPECT_TRUE(CornersClear(a));
        EXPECT_EQ(a.A(int(cigar->GetHotSpotX()), int(cigar->GetHotSpotY())), 255);
        EXPECT_EQ(b.A(int(lit->GetHotSpotX()), int(lit->GetHotSpotY())), 255);
        EXPECT_GE(a.CountAlpha(255), a.W() * a.H() / 4) << "a solid cigar";
        EXPECT_GT(b.CountAlpha(40), a.CountAlpha(40) + 100) << "a glow around the highlighted cigar";
        EXPECT_EQ(a.A(a.W() / 2, 1), 0) << "above the cigar is clear";
    }
    // The smoulder: drawn at the cigar's centre + (25, -3), its ember lands on the
    // cigar's cut end (the right end of the body, on the centre line).
    hgeAnimation* smoulder = rm->GetAnimation("InGameCigarSmolder");
    ASSERT_NE(smoulder, nullptr);
    EXPECT_EQ(smoulder->GetFrames(), 8);
    {
        const Texels c = Texels::Of(hge, *cigar);
        int right = 0;
        const int cy = int(cigar->GetHotSpotY());
        for (int x = 0; x < c.W(); ++x)
            if (c.A(x, cy) == 255) right = x;
        const int emberX = int(smoulder->GetHotSpotX() - 25 + right - cigar->GetHotSpotX() + 0.5f);
        const int emberY = int(smoulder->GetHotSpotY() + 3);
        for (int f = 0; f < 8; ++f) {
            const Texels s = Texels::Of(hge, *smoulder, f);
            ASSERT_TRUE(s.Ok());
            EXPECT_GT(s.A(emberX - 1, emberY), 150) << "ember on the cut end, frame " << f;
            EXPECT_GT(s.R(emberX - 1, emberY), s.B(emberX - 1, emberY) + 80) << f;
        }
    }

    // The glass at (52, 555): the lens centred on panel (58, 560) lets the
    // silhouette under it show, the rim is solid, and nothing of it lies over the
    // bag's strap tab.
    hgeSprite* glass = Sprite("InGameMagnifyingGlass");
    ASSERT_NE(glass, nullptr);
    {
        const Texels p = Texels::Of(hge, *glass);
        ASSERT_TRUE(p.Ok());
        const int cx = int(glass->GetHotSpotX()) + 6, cy = int(glass->GetHotSpotY()) + 5;
        for (auto [dx, dy] : std::vector<std::pair<int, int>>{{0, 0}, {20, 0}, {0, 20}, {-15, 10}}) {
            EXPECT_GT(p.A(cx + dx, cy + dy), 0) << "glass, " << dx << "," << dy;
            EXPECT_LT(p.A(cx + dx, cy + dy), 160) << "see-through, " << dx << "," << dy;
        }
        for (auto [dx, dy] : std::vector<std::pair<int, int>>{{34, 0}, {-34, 0}, {0, 34}, {0, -34}})
            EXPECT_EQ(p.A(cx + dx, cy + dy), 255) << "rim, " << dx << "," << dy;
        EXPECT_GE(glass->GetHotSpotY() + 600 - 555, float(p.H())) << "inside the panel's foot";
        int overTab = 0;
        for (int y = 0; y < p.H(); ++y)
            for (int x = 0; x < p.W(); ++x) {
                const float ax = 52 - glass->GetHotSpotX() + x, ay = 555 - glass->GetHotSpotY() + y;
                if (p.A(x, y) > 0 && ax >= 102 && ax <= 128 && ay >= 510 && ay <= 555) ++overTab;
            }
        EXPECT_EQ(overTab, 0);
    }

    // The clue bullet stands left of the clue's first letter.
    hgeSprite* marker = Sprite("Marker");
    ASSERT_NE(marker, nullptr);
    {
        const Texels p = Texels::Of(hge, *marker);
        ASSERT_TRUE(p.Ok());
        int rightmost = -1;
        for (int y = 0; y < p.H(); ++y)
            for (int x = 0; x < p.W(); ++x)
                if (p.A(x, y) > 200) rightmost = std::max(rightmost, x);
        ASSERT_GE(rightmost, 0);
        EXPECT_LE(rightmost - marker->GetHotSpotX(), 0.0f);
    }
}

TEST_F(LevelArt, EvidenceCaseHoldsSixItemsWithPicturesAndZooms) {
    hgeSprite* bg = Sprite("BagBG");
    ASSERT_NE(bg, nullptr);
    EXPECT_NEAR(bg->GetWidth(), 460.0f, 20.0f);
    EXPECT_NEAR(bg->GetHeight(), 580.0f, 20.0f);
    EXPECT_EQ(bg->GetHotSpotX(), bg->GetWidth() / 2);
    EXPECT_EQ(bg->GetHotSpotY(), bg->GetHeight() / 2);
    const Texels case_ = Texels::Of(hge, *bg);
    ASSERT_TRUE(case_.Ok());
    EXPECT_LT(case_.FlatShare(), 0.05);
    const int cx = int(bg->GetHotSpotX()), cy = int(bg->GetHotSpotY());
    EXPECT_EQ(case_.A(cx, cy), 255);
    // The close button sits on the case's top-right corner, wholly on screen.
    EXPECT_EQ(case_.A(cx + 202, cy - 270), 255);
    EXPECT_LE(400 + 202 + 26, 800);
    EXPECT_GE(300 - 270 - 22, 0);

    // Close button: a texture cut in thirds by the case and a sprite of the whole
    // texture that gives its size; the OK button's texture the same way.
    ASSERT_NE(rm->GetTexture("InGameCloseHelp"), 0u);
    hgeSprite* close = Sprite("InGameCloseHelp");
    ExpectWholeTexture(hge, close, "InGameCloseHelp");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetWidth(), 51.0f);
    EXPECT_EQ(close->GetHeight(), 132.0f);
    {
        const Texels p = Texels::Of(hge, *close);
        for (int look = 0; look < 3; ++look) {
            EXPECT_EQ(p.A(25, look * 44 + 22), 255) << look;
            EXPECT_EQ(p.A(0, look * 44), 0) << look;
        }
    }
    ExpectWholeTexture(hge, Sprite("ButtonYes"), "ButtonYes");

    // The items: six, each a picture about 100 px filling its own texture (the
    // case reads the texel under the mouse) and a zoom about 400 px, laid on the
    // felt apart from each other.
    XMLDocument bag = XMLDocument::FromFile("data/Bag.xml");
    ASSERT_TRUE(bag.IsLoaded());
    const auto& items = bag.GetRoot()->GetChildren();
    ASSERT_EQ(items.size(), 6u);
    std::vector<std::pair<float, float>> places;
    std::vector<std::string> names;
    for (const auto& item : items) {
        const std::string name = item->GetStringAttribute("name");
        SCOPED_TRACE(name);
        names.push_back(name);
        hgeSprite* pic = Sprite(item->GetStringAttribute("sprite"));
        hgeSprite* zoom = Sprite(item->GetStringAttribute("scaling_sprite"));
        ExpectWholeTexture(hge, pic, "picture");
        ExpectWholeTexture(hge, zoom, "zoom");
        ASSERT_TRUE(pic && zoom);
        EXPECT_NEAR(pic->GetWidth(), 100.0f, 12.0f);
        EXPECT_NEAR(pic->GetHeight(), 100.0f, 12.0f);
        EXPECT_NEAR(zoom->GetWidth(), 400.0f, 40.0f);
        EXPECT_NEAR(zoom->GetHeight(), 400.0f, 40.0f);
        {
            const Texels p = Texels::Of(hge, *pic);
            ASSERT_TRUE(p.Ok());
            EXPECT_TRUE(CornersClear(p));
            EXPECT_GE(p.CountAlpha(255), p.W() * p.H() / 6) << "enough of the picture to click";
            EXPECT_EQ(p.A(int(pic->GetHotSpotX()), int(pic->GetHotSpotY())), 255) << "solid in the middle";
        }
        {
            const Texels z = Texels::Of(hge, *zoom);
            ASSERT_TRUE(z.Ok());
            EXPECT_TRUE(CornersClear(z));
            EXPECT_GE(z.CountAlpha(255), z.W() * z.H() / 6);
            EXPECT_LT(z.FlatShare(), 0.05);
        }
        const float x = item->GetFloatAttribute("x"), y = item->GetFloatAttribute("y");
        places.emplace_back(x, y);
        // On the felt: inside the case, clear of its leather border and top band.
        EXPECT_LE(std::fabs(x) + 50, bg->GetWidth() / 2 - 30);
        EXPECT_GE(y - 50, -bg->GetHeight() / 2 + 56);
        EXPECT_LE(y + 50, bg->GetHeight() / 2 - 30);
        EXPECT_EQ(case_.A(int(cx + x), int(cy + y)), 255);
    }
    for (size_t i = 0; i < places.size(); ++i)
        for (size_t j = i + 1; j < places.size(); ++j)
            EXPECT_TRUE(std::fabs(places[i].first - places[j].first) >= 110 ||
                        std::fabs(places[i].second - places[j].second) >= 110)
                << names[i] << " and " << names[j] << " overlap";
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "names are unique";
}

// (The map file's start, time and cigars are checked with the map art.)
TEST_F(LevelArt, PanelLayoutAndTextsFitTheirLines) {
    XMLDocument layout = XMLDocument::FromFile("data/Screens/LevelScreen.xml");
    ASSERT_TRUE(layout.IsLoaded());
    RefPtr<Element> root = layout.GetRoot();
    struct Want {
        const char* element;
        const char* message;
        float x, y, size;
    };
    const Want buttons[] = {{"button_help", "Help", 40, 425, 40},
                            {"button_pause", "Pause", 90, 425, 40},
                            {"button_exit", "Exit", 140, 425, 40},
                            {"button_bag", "BagButton", 150, 491, 0}};
    std::vector<std::string> captionKeys;
    for (const Want& w : buttons) {
        SCOPED_TRACE(w.element);
        RefPtr<Element> e = root->FindChild(w.element);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->GetStringAttribute("message"), w.message);
        EXPECT_EQ(e->GetFloatAttribute("x"), w.x);
        EXPECT_EQ(e->GetFloatAttribute("y"), w.y);
        for (const char* look : {"sprite_up", "sprite_over", "sprite_down"})
            EXPECT_NE(Sprite(e->GetStringAttribute(look)), nullptr) << look;
        RefPtr<Element> rect = e->FindChild("rect");
        ASSERT_TRUE(rect);
        if (w.size > 0) {
            EXPECT_EQ(rect->GetFloatAttribute("w"), w.size);
            EXPECT_EQ(rect->GetFloatAttribute("h"), w.size);
        }
        RefPtr<Element> caption = e->FindChild("caption");
        ASSERT_TRUE(caption);
        captionKeys.push_back(caption->GetStringAttribute("text_alias"));
    }
    for (auto [name, x, y] : std::vector<std::tuple<const char*, float, float>>{{"text_time", 135, 50},
                                                                                {"text_clues_left", 90, 104}}) {
        RefPtr<Element> e = root->FindChild(name);
        ASSERT_TRUE(e) << name;
        EXPECT_EQ(e->GetFloatAttribute("x"), x) << name;
        EXPECT_EQ(e->GetFloatAttribute("y"), y) << name;
    }
    EXPECT_EQ(root->FindChild("text_time")->GetStringAttribute("font"), "Score");

    // Widths with the trackings the level gives its texts: captions and clues -7,
    // the clues-left line -6, the relaxed time text -5.
    hgeFont small("data\\Font\\default14.fnt");
    hgeFont comics("data\\Font\\comics.fnt");
    hgeFont score("data\\Font\\Score.fnt");
    auto width = [](hgeFont& f, float tracking, const std::string& text) {
        f.SetTracking(tracking);
        return f.GetLineWidth(text.c_str());
    };
    // The clue texts of every "find all" scene: singular, and the plural with
    // its count, within the clue's 97 px line.
    std::vector<std::pair<std::string, std::string>> clues;  // key, count prefix
    for (const std::string& file : {std::string("data/Scenes/Study.xml"), std::string("data/Scenes/Portrait.xml")}) {
        XMLDocument scene = XMLDocument::FromFile(file);
        if (!scene.IsLoaded() || scene.GetRoot()->GetStringAttribute("type", "FindAll") != "FindAll") continue;
        for (const auto& t : scene.GetRoot()->GetChildren()) {
            if (t->GetName() != "task") continue;
            const size_t count = t->GetChildren().size();
            clues.emplace_back(t->GetStringAttribute("text_singular"), "");
            clues.emplace_back(t->GetStringAttribute("text_plural"), count > 1 ? std::to_string(count) + " " : "");
        }
    }
    EXPECT_GE(clues.size(), 28u) << "the study's clues are measured";
    for (const char* table : {"data\\Text\\English.txt", "data\\Text\\Czech.txt"}) {
        SCOPED_TRACE(table);
        hgeStringTable strings(table);
        auto text = [&](const std::string& key) {
            const char* s = strings.GetString(key.c_str());
            EXPECT_NE(s, nullptr) << key;
            return std::string(s ? s : "");
        };
        for (const char* key : {"HELP", "BAG"}) EXPECT_FALSE(text(key).empty()) << key;
        for (size_t i = 0; i < captionKeys.size(); ++i) {
            const std::string caption = text(captionKeys[i]);
            EXPECT_FALSE(caption.empty()) << captionKeys[i];
            // Disc captions share 50 px; the case's caption must stay on the panel.
            EXPECT_LE(width(small, -7, caption), i < 3 ? 50.0f : 56.0f) << caption;
        }
        for (const auto& [key, prefix] : clues)
            EXPECT_LE(width(comics, -7, prefix + text(key)), 97.0f) << key << ": " << prefix + text(key);
        for (const char* key : {"CLUES_TO_FIND_SINGULAR", "CLUES_TO_FIND_PLURAL"})
            EXPECT_LE(width(small, -6, std::string("12 ") + text(key)), 140.0f) << key;
        EXPECT_LE(width(small, -6, text("USE_INVENTORY")), 140.0f);
        EXPECT_LE(width(score, -5, text("RELAXED_MODE_SMALL")), 90.0f);
    }
}

}  // namespace
