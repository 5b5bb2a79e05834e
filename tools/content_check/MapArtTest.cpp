// The global map and the intro as the game reads them (the resource manager on
// the headless engine): the map picture and its place markers, the flags of the
// banner flight, the star and the scroll cursors; the intro's four layers; the
// map file that places the markers and the texts and dialog that go with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

using Element = XMLDocument::XMLElement;

using contenttest::Texels;

// Shares of clear and opaque texels in a rectangle.
void Shares(const Texels& t, int x0, int y0, int x1, int y1, double& clear, double& opaque) {
    int c = 0, o = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            c += t.Clear(x, y);
            o += t.Opaque(x, y);
        }
    const double n = double(x1 - x0) * (y1 - y0);
    clear = c / n;
    opaque = o / n;
}

class MapArt : public contenttest::ResourceTest {
protected:
    Texels Read(HTEXTURE tex) { return Texels::Of(hge, tex); }
    Texels Read(const char* name) { return Read(rm->GetTexture(name)); }
    Texels Cut(const hgeSprite& s) { return Texels::Of(hge, s); }
    Texels Cut(const hgeAnimation& a, int frame) { return Texels::Of(hge, a, frame); }
};

// A picture that is a Texture and a Sprite of one name, drawn whole.
void ExpectWhole(hgeResourceManager& rm, const char* name, float w, float h, float hotX, float hotY) {
    SCOPED_TRACE(name);
    hgeSprite* s = rm.GetSprite(name);
    ASSERT_NE(s, nullptr);
    contenttest::ExpectFrame(s, w, h, hotX, hotY);
    EXPECT_EQ(s->GetTexture(), rm.GetTexture(name)) << "the sprite cuts the texture of its name";
}

// The map picture is a whole painted sheet; the map file places the four
// places on it in story order, each with its flag record first and a pale
// ground under its caption.
TEST_F(MapArt, MapSheetAndFilePlaceTheFourPlacesInStoryOrderOnPaleGrounds) {
    ExpectWhole(*rm, "GlobalMap_TopLeft", 1600, 1200, 400, 300);
    Texels map = Read("GlobalMap_TopLeft");
    ASSERT_EQ(map.w, 1600);
    ASSERT_EQ(map.h, 1200);
    int lowest = 255;
    for (DWORD p : map.px) lowest = std::min(lowest, int(p >> 24));
    EXPECT_EQ(lowest, 255) << "the sheet covers the window wherever it scrolls";
    EXPECT_LE(map.FlatShare(), 0.05) << "painted, not flat";

    // The river runs down the east side: cool water at the docks' piers, warm
    // parchment in the north fields, darkened worn edges.
    EXPECT_GT(map.B(1290, 800), map.R(1290, 800));
    EXPECT_GT(map.R(600, 360), map.B(600, 360));
    EXPECT_LT(map.Luma(6, 600), map.Luma(600, 360) - 60);

    XMLDocument doc = XMLDocument::FromFile("data/GlobalMapScreen.xml");
    ASSERT_TRUE(doc.IsLoaded());
    RefPtr<Element> root = doc.GetRoot();
    EXPECT_EQ(root->GetFloatAttribute("LevelTime"), 1200.0f);
    EXPECT_EQ(root->GetFloatAttribute("CigarCount"), 3.0f);

    hgeStringTable english("data\\Text\\English.txt");
    hgeStringTable czech("data\\Text\\Czech.txt");
    hgeFont main("data\\Font\\main.fnt");
    main.SetTracking(-7.0f);  // the caption's tracking
    main.SetSpacing(0.5f);

    std::map<std::string, RefPtr<Element>> records;
    struct Place {
        std::string name, level, sprite;
        float x, y;
        unsigned colour;
    };
    std::vector<Place> places;
    for (const auto& el : root->GetChildren()) {
        if (el->GetName() == "FlagAppearing") {
            records[el->GetStringAttribute("Name")] = el;
            continue;
        }
        if (el->GetName() != "LevelNode") continue;
        const std::string name = el->GetStringAttribute("Name");
        SCOPED_TRACE(name);
        for (const char* attr : {"Name", "X", "Y", "Sprite", "Level", "Caption", "FlagColor", "Description"})
            EXPECT_TRUE(el->HasAttribute(attr)) << attr;
        EXPECT_EQ(records.count(el->GetStringAttribute("Description")), 1u) << "its flag record stands before it";
        const std::string colour = el->GetStringAttribute("FlagColor");
        ASSERT_EQ(colour.size(), 10u);
        EXPECT_EQ(colour.substr(0, 4), "0xFF");
        places.push_back({name, el->GetStringAttribute("Level"), el->GetStringAttribute("Sprite"),
                          el->GetFloatAttribute("X"), el->GetFloatAttribute("Y"),
                          unsigned(std::strtoul(colour.c_str() + 2, nullptr, 16))});

        // The marker: a 120 x 100 picture of its own, drawn about its middle.
        ExpectWhole(*rm, places.back().sprite.c_str(), 120, 100, 60, 50);

        // The caption, in both languages, fits the pale ground under the marker.
        const std::string key = el->GetStringAttribute("Caption");
        float width = 0;
        for (const hgeStringTable* table : {&english, &czech}) {
            const char* text = table->GetString(key.c_str());
            ASSERT_NE(text, nullptr) << key;
            EXPECT_LE(main.GetStringWidth(text), 200.0f) << text;
            width = std::max(width, main.GetStringWidth(text));
        }
        // It hangs 60 pixels under its marker, centred: the ground under it,
        // as wide as the longer of its two languages, is a pale square or
        // yard, so the gold letters with their dark rim read clearly.
        const int x = int(el->GetFloatAttribute("X")), y = int(el->GetFloatAttribute("Y"));
        const int half = int(width / 2) + 4;
        ASSERT_GT(half, 20);
        float sum = 0, darkest = 255;
        int total = 0;
        for (int v = y + 64; v <= y + 86; v += 4)
            for (int u = x - half; u <= x + half; u += 6) {
                ++total;
                sum += map.Luma(u, v);
                darkest = std::min(darkest, map.Luma(u, v));
            }
        EXPECT_GT(sum / total, 145.0f);
        EXPECT_GT(darkest, 100.0f) << "no roof, lane edge or rail under the letters";
    }

    ASSERT_EQ(places.size(), 4u);
    const std::vector<std::string> names = {"NodeBrannoksHouse", "NodeTownHall", "NodeHarbour", "NodeWarehouse"};
    const std::vector<std::string> levels = {"data/Scenes/Study.xml", "data/Scenes/TownHall.xml",
                                             "data/Scenes/Docks.xml", "data/Scenes/Warehouse.xml"};
    for (size_t i = 0; i < places.size(); ++i) {
        const Place& p = places[i];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.name, names[i]);
        EXPECT_EQ(p.level, levels[i]);
        // The view can centre every place: inside the edge-scroll bounds.
        EXPECT_GE(p.x, 400.0f);
        EXPECT_LE(p.x, 1200.0f);
        EXPECT_GE(p.y, 300.0f);
        EXPECT_LE(p.y, 900.0f);
        if (i == 0) {
            // the start, in view when the overview flies down to (1200, 300)
            EXPECT_TRUE(p.x >= 400 && p.x <= 700 && p.y >= 700 && p.y <= 900);
        } else {
            EXPECT_TRUE(p.x >= 850 && p.x <= 1200 && p.y >= 650 && p.y <= 900);
        }
        // Markers and captions (up to 100 wide, 30 high, 60 below) keep apart.
        for (size_t j = 0; j < i; ++j) {
            const Place& q = places[j];
            EXPECT_TRUE(std::fabs(p.x - q.x) >= 120 || std::fabs(p.y - q.y) >= 95) << q.name;
            EXPECT_NE(p.colour, q.colour) << "each place flies its own colour";
        }
    }
    // Every sprite and animation the flag records name exists.
    ASSERT_FALSE(records.empty());
    for (const auto& [name, el] : records) {
        SCOPED_TRACE(name);
        for (const char* attr : {"StaffStart", "StaffIntermediate", "StaffFinish", "BannerStart", "BannerIntermediate",
                                 "BannerFinish", "StaffStaying", "BannerStaying"}) {
            ASSERT_TRUE(el->HasAttribute(attr)) << attr;
            EXPECT_NE(rm->GetSprite(el->GetStringAttribute(attr).c_str()), nullptr) << attr;
        }
        for (const char* attr : {"StaffMoving", "BannerMoving"}) {
            ASSERT_TRUE(el->HasAttribute(attr)) << attr;
            EXPECT_NE(rm->GetAnimation(el->GetStringAttribute(attr).c_str()), nullptr) << attr;
        }
        for (const char* attr : {"FlyingFromDx", "FlyingFromDy", "FlyingToDx", "FlyingToDy", "MovingDx", "MovingDy",
                                 "StayingDx", "StayingDy"})
            EXPECT_TRUE(el->HasAttribute(attr)) << attr;
        // The flight ends where the flag then stands and wobbles.
        EXPECT_EQ(el->GetFloatAttribute("FlyingToDx"), el->GetFloatAttribute("StayingDx"));
        EXPECT_EQ(el->GetFloatAttribute("FlyingToDy"), el->GetFloatAttribute("StayingDy"));
        EXPECT_EQ(el->GetFloatAttribute("MovingDx"), el->GetFloatAttribute("StayingDx"));
        EXPECT_EQ(el->GetFloatAttribute("MovingDy"), el->GetFloatAttribute("StayingDy"));
        // The middle frame (at half the offsets' difference) lies between the
        // first and the last, so the three frames read as one fall.
        const float fx = el->GetFloatAttribute("FlyingFromDx"), fy = el->GetFloatAttribute("FlyingFromDy");
        const float tx = el->GetFloatAttribute("FlyingToDx"), ty = el->GetFloatAttribute("FlyingToDy");
        const float mx = (fx - tx) * 0.5f, my = (fy - ty) * 0.5f;
        EXPECT_TRUE((mx - fx) * (mx - tx) <= 0 && (my - fy) * (my - ty) <= 0) << mx << "," << my;
    }
}

TEST_F(MapArt, MarkersFlagsStarAndCursorsAreCutOutsWithTheirPointsAtTheHotSpots) {
    // Markers: solid in the middle, clear in the corners and below row 94,
    // where the caption starts.
    for (const char* name : {"MapNodeHouse", "MapNodeTownHall", "MapNodeCrane", "MapNodeWarehouse"}) {
        SCOPED_TRACE(name);
        Texels t = Read(name);
        ASSERT_EQ(t.w, 120);
        ASSERT_EQ(t.h, 100);
        double clear, opaque;
        Shares(t, 0, 0, 120, 100, clear, opaque);
        EXPECT_GT(clear, 0.25);
        EXPECT_GT(opaque, 0.3);
        Shares(t, 30, 25, 90, 75, clear, opaque);
        EXPECT_GT(opaque, 0.25) << "hit in the middle";
        for (auto [x, y] : {std::pair<int, int>{1, 1}, {118, 1}, {1, 98}, {118, 98}}) EXPECT_TRUE(t.Clear(x, y));
        for (int y = 95; y < 100; ++y)
            for (int x = 0; x < 120; ++x) ASSERT_LT(t.A(x, y), 64) << x << "," << y;
    }

    // Flags: every cell has the staff's foot at the hot spot; the banners are
    // light grey (the node's colour tints them); the stuck flag's animations
    // end on the planted pose.
    const char* staffs[] = {"FlagStaffStart", "FlagStaffIntermediate", "FlagStaffFinish", "FlagStaffStaying"};
    const char* banners[] = {"FlagBannerStart", "FlagBannerIntermediate", "FlagBannerFinish", "FlagBannerStaying"};
    for (const char* name : staffs) {
        SCOPED_TRACE(name);
        hgeSprite* s = rm->GetSprite(name);
        ASSERT_NE(s, nullptr);
        Texels t = Cut(*s);
        ASSERT_EQ(t.w, 72);
        const int fx = int(s->GetHotSpotX()), fy = int(s->GetHotSpotY());
        EXPECT_GE(t.A(fx, fy - 2), 200) << "the staff's foot";
        double clear, opaque;
        Shares(t, 0, 0, t.w, t.h, clear, opaque);
        EXPECT_GT(clear, 0.7);
        EXPECT_GT(opaque, 0.01);
    }
    for (const char* name : banners) {
        SCOPED_TRACE(name);
        hgeSprite* s = rm->GetSprite(name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->GetHotSpotX(), rm->GetSprite("FlagStaffStaying")->GetHotSpotX());
        EXPECT_EQ(s->GetHotSpotY(), rm->GetSprite("FlagStaffStaying")->GetHotSpotY());
        Texels t = Cut(*s);
        int cloth = 0, dark = 0;
        double luma = 0;
        for (int y = 0; y < t.h; ++y)
            for (int x = 0; x < t.w; ++x) {
                if (!t.Opaque(x, y)) continue;
                ++cloth;
                const int spread = std::max({t.R(x, y), t.G(x, y), t.B(x, y)}) - std::min({t.R(x, y), t.G(x, y), t.B(x, y)});
                ASSERT_LE(spread, 24) << x << "," << y << ": grey, so the tint decides the colour";
                luma += t.Luma(x, y);
                dark += t.Luma(x, y) < 120;
            }
        ASSERT_GT(cloth, 300);
        EXPECT_GT(luma / cloth, 175.0) << "light, so the tint stays bright";
        EXPECT_LT(dark, cloth / 8) << "only the folds and the shaded rim are dark";
    }
    for (auto [moving, staying] : {std::pair<const char*, const char*>{"FlagStaffMoving", "FlagStaffStaying"},
                                   {"FlagBannerMoving", "FlagBannerStaying"}}) {
        SCOPED_TRACE(moving);
        hgeAnimation* a = rm->GetAnimation(moving);
        ASSERT_NE(a, nullptr);
        EXPECT_GE(a->GetFrames(), 6);
        EXPECT_LE(a->GetFrames(), 8);
        EXPECT_EQ(a->GetMode() & HGEANIM_LOOP, 0) << "plays once and rests on its last frame";
        EXPECT_EQ(a->GetHotSpotX(), rm->GetSprite(staying)->GetHotSpotX());
        EXPECT_EQ(a->GetHotSpotY(), rm->GetSprite(staying)->GetHotSpotY());
        ASSERT_LE(a->GetFrames() * 72, Read(a->GetTexture()).w) << "one row of frames";
        Texels end = Cut(*a, a->GetFrames() - 1), rest = Cut(*rm->GetSprite(staying)), start = Cut(*a, 0);
        ASSERT_EQ(end.w, rest.w);
        int same = 0, moved = 0;
        for (int y = 0; y < rest.h; ++y)
            for (int x = 0; x < rest.w; ++x) {
                same += std::abs(end.A(x, y) - rest.A(x, y)) <= 40;
                moved += std::abs(start.A(x, y) - rest.A(x, y)) > 40;
            }
        EXPECT_GE(same, rest.w * rest.h * 99 / 100) << "the last frame is the planted flag";
        EXPECT_GT(moved, 20) << "the first frame still wobbles";
    }

    ExpectWhole(*rm, "BrannoksStar", 96, 96, 48, 48);
    Texels star = Read("BrannoksStar");
    ASSERT_EQ(star.w, 96);
    EXPECT_TRUE(star.Opaque(48, 48));
    EXPECT_TRUE(star.Clear(2, 92));
    EXPECT_GT(star.R(48, 40), star.B(48, 40) + 60) << "gold";

    // Cursors: the arrow's tip at the hot spot, its shaft behind it.
    struct Cursor {
        const char* name;
        int tipX, tipY, backX, backY;
    };
    for (const Cursor& c : {Cursor{"CurRight", 37, 20, 10, 20}, Cursor{"CurDown", 20, 37, 20, 10},
                            Cursor{"CurLeft", 3, 20, 30, 20}, Cursor{"CurUp", 20, 3, 20, 30}}) {
        SCOPED_TRACE(c.name);
        hgeSprite* s = rm->GetSprite(c.name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->GetWidth(), 40.0f);
        EXPECT_EQ(s->GetHotSpotX(), float(c.tipX));
        EXPECT_EQ(s->GetHotSpotY(), float(c.tipY));
        Texels t = Cut(*s);
        ASSERT_EQ(t.w, 40);
        const int inX = c.tipX + (c.backX > c.tipX ? 3 : c.backX < c.tipX ? -3 : 0);
        const int inY = c.tipY + (c.backY > c.tipY ? 3 : c.backY < c.tipY ? -3 : 0);
        EXPECT_GE(t.A(inX, inY), 200) << "the tip";
        EXPECT_TRUE(t.Opaque(c.backX, c.backY)) << "the shaft";
        EXPECT_TRUE(t.Clear(c.tipX == 20 ? 2 : 20, c.tipY == 20 ? 2 : 20)) << "clear beside the shaft";
    }
}

TEST_F(MapArt, IntroLayersCoverTheWindowWhileTheyDrift) {
    // Frame 1 stands still at (400, 275); the others drift along x (their
    // middle from the first to the second value) at y 275, 300 and 340.
    ExpectWhole(*rm, "GlobalMapFrame1", 800, 600, 400, 300);
    ExpectWhole(*rm, "GlobalMapFrame2", 1100, 300, 550, 150);
    ExpectWhole(*rm, "GlobalMapFrame3", 1300, 600, 650, 300);
    ExpectWhole(*rm, "GlobalMapFrame4", 2048, 520, 1024, 260);
    struct Drift {
        const char* name;
        float from, to;
    };
    for (const Drift& d : {Drift{"GlobalMapFrame2", 525, 275}, Drift{"GlobalMapFrame3", 650, 150},
                           Drift{"GlobalMapFrame4", 1024, -224}}) {
        SCOPED_TRACE(d.name);
        const float half = rm->GetSprite(d.name)->GetWidth() / 2;
        EXPECT_LE(d.from - half, 0.0f);
        EXPECT_GE(d.to + half, 800.0f);
    }

    Texels sky = Read("GlobalMapFrame1"), roofs = Read("GlobalMapFrame2"), river = Read("GlobalMapFrame3"),
           pier = Read("GlobalMapFrame4");
    ASSERT_EQ(sky.w, 800);
    ASSERT_EQ(roofs.w, 1100);
    ASSERT_EQ(river.w, 1300);
    ASSERT_EQ(pier.w, 2048);
    for (const Texels* t : {&sky, &roofs, &river, &pier}) EXPECT_LE(t->FlatShare(), 0.05) << t->w;

    double clear, opaque;
    // The sky behind everything is whole; the sun is at the upper left.
    Shares(sky, 0, 0, 800, 600, clear, opaque);
    EXPECT_EQ(opaque, 1.0);
    EXPECT_GT(sky.Luma(150, 250), sky.Luma(700, 200));
    // Roofs: open sky above the roofline, solid from row 130 on (window row
    // 255, under the river's far wall at window row 242).
    Shares(roofs, 0, 0, 1100, 40, clear, opaque);
    EXPECT_GT(clear, 0.9);
    Shares(roofs, 0, 130, 1100, 300, clear, opaque);
    EXPECT_EQ(opaque, 1.0);
    // River: clear above its far wall, solid water from row 244 down (the
    // bubbles rise from rows 262..311), bluish.
    Shares(river, 0, 0, 1300, 230, clear, opaque);
    EXPECT_EQ(clear, 1.0);
    Shares(river, 0, 244, 1300, 600, clear, opaque);
    EXPECT_EQ(opaque, 1.0);
    EXPECT_GT(river.B(400, 400), river.R(400, 400));
    // Pier: planks along the bottom, the water showing between posts and crates.
    Shares(pier, 0, 440, 2048, 520, clear, opaque);
    EXPECT_EQ(opaque, 1.0);
    Shares(pier, 0, 0, 2048, 440, clear, opaque);
    EXPECT_GT(clear, 0.6);
    EXPECT_GT(opaque, 0.08);
}

TEST_F(MapArt, TutorialDialogAndIntroTextsAreInBothTables) {
    hgeStringTable english("data\\Text\\English.txt");
    hgeStringTable czech("data\\Text\\Czech.txt");
    auto hasCzechLetter = [](const char* text) {
        for (const char* p = text; *p; ++p)
            for (uint8_t c : contenttest::CzechCodes())
                if (uint8_t(*p) == c) return true;
        return false;
    };
    hgeFont font("data\\Font\\default.fnt");
    font.SetTracking(-8.0f);
    for (const char* key : {"NEW_GAME_TEXT", "CLICK_TO_CONTINUE", "TUTORIAL_GLOBALMAP", "SKIP", "Q_ALREADY_PASSED",
                            "MAP_BRANNOKS_HOUSE", "MAP_TOWN_HALL", "MAP_HARBOUR", "MAP_WAREHOUSE"}) {
        SCOPED_TRACE(key);
        const char* en = english.GetString(key);
        const char* cz = czech.GetString(key);
        ASSERT_NE(en, nullptr);
        ASSERT_NE(cz, nullptr);
        EXPECT_STRNE(en, cz) << "translated";
    }
    EXPECT_TRUE(hasCzechLetter(czech.GetString("NEW_GAME_TEXT")));
    EXPECT_TRUE(hasCzechLetter(czech.GetString("MAP_BRANNOKS_HOUSE")));
    // The opening text tells this story and fits the crawl's 760 x 200 box.
    EXPECT_NE(std::string(english.GetString("NEW_GAME_TEXT")).find("seal"), std::string::npos);
    EXPECT_NE(std::string(czech.GetString("NEW_GAME_TEXT")).find("pe\xE8" "e\x9D"), std::string::npos);
    for (const hgeStringTable* table : {&english, &czech}) {
        const char* text = table->GetString("NEW_GAME_TEXT");
        std::vector<char> buf(text, text + std::strlen(text) + 1);
        const int lines = font.WrapText(buf.data(), 760.0f);
        EXPECT_LE(lines * font.GetHeight() * font.GetSpacing(), 200.0f) << lines;
    }

    XMLDocument dialog = XMLDocument::FromFile("data/Screens/DialogTutorial.xml");
    ASSERT_TRUE(dialog.IsLoaded());
    RefPtr<Element> root = dialog.GetRoot();
    ASSERT_FALSE(root->GetChildren().empty());
    EXPECT_EQ(root->GetChildren().front()->GetName(), "window") << "the button hangs in the window";
    EXPECT_NE(rm->GetSprite(root->FindChild("window")->GetStringAttribute("texture").c_str()), nullptr);
    RefPtr<Element> ok = root->FindChild("button_ok");
    ASSERT_TRUE(ok) << "Enter presses it";
    EXPECT_FALSE(root->FindChild("button_cancel"));
    for (const char* attr : {"sprite_up", "sprite_over", "sprite_down"})
        EXPECT_NE(rm->GetSprite(ok->GetStringAttribute(attr).c_str()), nullptr) << attr;
    RefPtr<Element> caption = ok->FindChild("caption");
    ASSERT_TRUE(caption);
    EXPECT_NE(english.GetString(caption->GetStringAttribute("text_alias").c_str()), nullptr);
    EXPECT_GT(root->GetFloatAttribute("text_width"), 300.0f);
}

}  // namespace
