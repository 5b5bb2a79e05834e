// The six mini-game files as their screens read them, checked against the
// resource script on the headless engine: every picture a file names is declared
// in the game's own group (never a level's) with its texture, and loads; every
// puzzle target lies inside its board; backgrounds cover the screen without flat
// patches; pieces are cut out with real alpha, the letter's scraps with torn
// edges; the two-part puzzle's roles, the difference panel, the plaques and the
// bottles have the shapes their games rely on; the help texts fit their window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/ResDesc.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

using Element = XMLDocument::XMLElement;

struct Piece {
    std::string name;
    std::string sprite;
    float x = 0, y = 0;
};

// One mini-game file with its piece scene (the puzzles) read as the game reads it.
struct Game {
    std::string file;
    RefPtr<Element> root;
    int group = -1;
    std::vector<Piece> pieces;
    std::set<std::string> pictures;  // every sprite the game names
};

using contenttest::ChildText;

bool LoadGame(const std::string& name, Game& g, std::vector<std::unique_ptr<XMLDocument>>& keep) {
    g.file = "data/MiniGames/" + name + ".xml";
    keep.push_back(std::make_unique<XMLDocument>("none"));
    if (!keep.back()->Load(g.file)) return false;
    g.root = keep.back()->GetRoot();
    if (g.root->HasAttribute("Background")) g.pictures.insert(g.root->GetStringAttribute("Background"));
    g.group = g.root->GetIntAttribute("res_group", -1);
    if (!g.root->HasAttribute("Scene")) return true;
    // Puzzles: the pieces come from the scene, and so does the group.
    keep.push_back(std::make_unique<XMLDocument>("none"));
    if (!keep.back()->Load(g.root->GetStringAttribute("Scene"))) return false;
    RefPtr<Element> scene = keep.back()->GetRoot();
    const int sceneGroup = scene->GetIntAttribute("res_group", -1);
    if (g.group != -1 && g.group != sceneGroup) return false;
    g.group = sceneGroup;
    const float scale = g.root->GetBoolAttribute("NoScale") ? 1.0f : g.root->GetFloatAttribute("Scale", 0.78125f);
    std::map<int, std::string> units;
    for (const auto& c : scene->GetChildren())
        if (c->GetName() == "unit") units[std::stoi(ChildText(*c, "id"))] = ChildText(*c, "sprite");
    for (const auto& c : scene->GetChildren()) {
        if (c->GetName() != "object") continue;
        Piece p;
        p.name = ChildText(*c, "name");
        p.sprite = units[std::stoi(ChildText(*c, "id"))];
        p.x = std::stof(ChildText(*c, "x")) * scale;
        p.y = std::stof(ChildText(*c, "y")) * scale;
        g.pieces.push_back(p);
        g.pictures.insert(p.sprite);
    }
    for (const char* a : {"OnMatchMark", "DifferencePanel", "ShowOnWin"})
        if (g.root->HasAttribute(a)) g.pictures.insert(g.root->GetStringAttribute(a));
    return true;
}

using contenttest::Texels;

// A piece cut out of its sheet: nothing on the cell's border (no neighbour
// bleeding in, no shadow cut off), partly see-through texels, and a solid core
// unless it is a mere marker (a chalk ring, a hook the tool hides).
void ExpectCutOut(const Texels& t, const std::string& what, bool solidCore = true) {
    SCOPED_TRACE(what);
    int border = 0, solid = 0, partial = 0;
    for (int y = 0; y < t.H(); ++y)
        for (int x = 0; x < t.W(); ++x) {
            const int a = t.A(x, y);
            if ((x == 0 || y == 0 || x == t.W() - 1 || y == t.H() - 1) && a > 0) ++border;
            solid += a == 255;
            partial += a > 0 && a < 255;
        }
    EXPECT_EQ(border, 0) << "texels on the picture's border";
    if (solidCore) {
        EXPECT_GE(solid, t.W() * t.H() / 10) << "too little is solid";
    }
    EXPECT_GT(partial, 0) << "no soft edge";
}

// How far the solid outline, seen from one side, wanders in and out over the
// middle three fifths of that side, in texels: a torn edge wanders, the page's
// own cut edge stays nearly straight.
int OutlineWander(const Texels& t, int side) {
    const bool alongY = side < 2;  // left and right edges are walked down the rows
    const int count = alongY ? t.H() : t.W(), depth = alongY ? t.W() : t.H();
    int lo = depth, hi = 0;
    for (int i = count / 5; i < count - count / 5; ++i) {
        int d = 0;
        for (; d < depth; ++d) {
            const int s = (side == 1 || side == 3) ? depth - 1 - d : d;
            if ((alongY ? t.A(s, i) : t.A(i, s)) == 255) break;
        }
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
    return hi - lo;
}

class MiniGameArt : public HeadlessEngineTest {
protected:
    void SetUp() override {
        HeadlessEngineTest::SetUp();
        for (const char* name : {"15.2", "1.1", "4.1", "2.2", "5.2", "6.2"}) {
            Game g;
            ASSERT_TRUE(LoadGame(name, g, m_docs)) << name;
            games[name] = g;
        }
        // The repeat game's widgets and the memory game's faces and back.
        Game& repeat = games["5.2"];
        for (const auto& c : repeat.root->GetChildren()) {
            for (const char* a : {"texture", "sprite_up", "sprite_over", "sprite_down", "sprite_name"})
                if (c->HasAttribute(a)) repeat.pictures.insert(c->GetStringAttribute(a));
        }
        Game& memory = games["6.2"];
        memory.pictures.insert("Puzzle6.2Bottle");
        for (const auto& c : memory.root->GetChildren())
            if (c->GetName() == "unit") memory.pictures.insert(c->GetStringAttribute("Texture"));
    }

    hgeSprite* Sprite(const std::string& name) { return rm.GetSprite(name.c_str()); }

    std::vector<std::unique_ptr<XMLDocument>> m_docs;
    std::map<std::string, Game> games;
    hgeResourceManager rm{"data\\Resource\\main.res"};
};

TEST_F(MiniGameArt, EveryPictureIsDeclaredInItsGamesOwnGroupAndLoads) {
    std::set<int> groups;
    for (auto& [name, g] : games) {
        SCOPED_TRACE(name);
        EXPECT_GE(g.group, 12) << "a group of its own: 0 is shared, 10 and 11 are the scenes'";
        EXPECT_TRUE(groups.insert(g.group).second) << "no two games share a group";
        EXPECT_TRUE(rm.Precache(g.group)) << "the whole group loads";
        EXPECT_GE(g.pictures.size(), 3u);
        for (const std::string& pic : g.pictures) {
            SCOPED_TRACE(pic);
            auto* desc = static_cast<RSprite*>(rm.FindRes(RES_SPRITE, pic.c_str()));
            ASSERT_NE(desc, nullptr) << "declared";
            EXPECT_EQ(desc->resgroup, g.group);
            ResDesc* tex = rm.FindRes(RES_TEXTURE, desc->texname.c_str());
            ASSERT_NE(tex, nullptr);
            EXPECT_EQ(tex->resgroup, g.group) << "purging the game frees its textures";
            hgeSprite* s = Sprite(pic);
            ASSERT_NE(s, nullptr);
            EXPECT_NE(s->GetTexture(), 0u);
        }
        // The background fills the screen from where the games put it, (449, 300),
        // and is painted: opaque, without flat patches.
        hgeSprite* bg = Sprite(g.root->GetStringAttribute("Background"));
        ASSERT_NE(bg, nullptr);
        contenttest::ExpectFrame(bg, 800.0f, 600.0f, 449.0f, 300.0f);
        EXPECT_FALSE(g.root->HasAttribute("BackgroundX") || g.root->HasAttribute("BackgroundY"));
        const Texels t = Texels::Of(hge, *bg);
        ASSERT_TRUE(t.Ok());
        EXPECT_EQ(t.A(0, 0), 255);
        EXPECT_EQ(t.A(400, 300), 255);
        EXPECT_LT(t.FlatShare(), 0.05);
    }

    // The Skip button: one texture, one sprite over all of it, three looks stacked.
    auto* skip = static_cast<RSprite*>(rm.FindRes(RES_SPRITE, "SkipButton"));
    ASSERT_NE(skip, nullptr);
    EXPECT_EQ(skip->resgroup, 0) << "shared by every game and the intro";
    HTEXTURE skipTex = rm.GetTexture(skip->texname.c_str());
    ASSERT_NE(skipTex, 0u);
    EXPECT_EQ(skip->tx, 0.0f);
    EXPECT_EQ(skip->ty, 0.0f);
    EXPECT_EQ(skip->w, float(hge->Texture_GetWidth(skipTex)));
    EXPECT_EQ(skip->h, float(hge->Texture_GetHeight(skipTex)));
    EXPECT_EQ(int(skip->h) % 3, 0);
    EXPECT_NE(rm.GetTexture("SkipButton"), 0u) << "the texture carries the button's name too";
}

TEST_F(MiniGameArt, PuzzleTargetsLieOnTheirBoardsAndPiecesAreCleanCutOuts) {
    for (const char* name : {"15.2", "1.1", "4.1", "2.2"}) {
        SCOPED_TRACE(name);
        Game& g = games[name];
        const float x1 = g.root->GetFloatAttribute("RectX1"), y1 = g.root->GetFloatAttribute("RectY1");
        const float x2 = g.root->GetFloatAttribute("RectX2"), y2 = g.root->GetFloatAttribute("RectY2");
        for (const char* a : {"IsRotatable", "MinDistToTargetToDock", "MinDAngleToDock", "RectX1", "RectY1", "RectX2",
                              "RectY2", "Scene"})
            EXPECT_TRUE(g.root->HasAttribute(a)) << a;
        ASSERT_FALSE(g.pieces.empty());
        std::set<std::string> labels;
        for (const Piece& p : g.pieces) {
            SCOPED_TRACE(p.name);
            EXPECT_TRUE(labels.insert(p.name).second) << "labels are unique";
            EXPECT_GE(p.x, x1);
            EXPECT_LE(p.x, x2);
            EXPECT_GE(p.y, y1);
            EXPECT_LE(p.y, y2);
            hgeSprite* s = Sprite(p.sprite);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->GetHotSpotX(), std::floor(s->GetWidth() / 2));
            EXPECT_EQ(s->GetHotSpotY(), std::floor(s->GetHeight() / 2));
            // Wholly on the screen where it belongs.
            EXPECT_GE(p.x - s->GetHotSpotX(), 0.0f);
            EXPECT_GE(p.y - s->GetHotSpotY(), 0.0f);
            EXPECT_LE(p.x - s->GetHotSpotX() + s->GetWidth(), 800.0f);
            EXPECT_LE(p.y - s->GetHotSpotY() + s->GetHeight(), 600.0f);
            if (p.sprite == "PhotoPanel4_1") continue;  // the panel is a rectangle of prints
            const Texels t = Texels::Of(hge, *s);
            ASSERT_TRUE(t.Ok());
            ExpectCutOut(t, p.sprite, p.sprite.find("slut") == std::string::npos);
        }
    }

    // The letter: six scraps of one page, rotatable by quarters, never upright at
    // the start, each torn on at least two sides and keeping a piece of the page's edge.
    Game& letter = games["15.2"];
    EXPECT_EQ(letter.pieces.size(), 6u);
    EXPECT_TRUE(letter.root->GetBoolAttribute("IsRotatable"));
    EXPECT_EQ(letter.root->GetFloatAttribute("RandomAngleStep"), 90.0f);
    RefPtr<Element> ignored = letter.root->FindChild("IgnoreRandomAngle");
    ASSERT_NE(ignored, nullptr);
    EXPECT_EQ(std::stof(ignored->GetValue()), 0.0f);
    for (const Piece& p : letter.pieces) {
        const Texels t = Texels::Of(hge, *Sprite(p.sprite));
        int torn = 0, straight = 0;
        for (int side = 0; side < 4; ++side) {
            const int wander = OutlineWander(t, side);
            torn += wander >= 5;
            straight += wander <= 3;
        }
        EXPECT_GE(torn, 2) << p.sprite;
        EXPECT_GE(straight, 1) << p.sprite;
        EXPECT_GE(t.W(), 120) << "big enough to read";
    }

    // The drawer: eight pictures twice each and the pawn ticket once, at rest.
    Game& drawer = games["1.1"];
    std::map<std::string, int> uses;
    for (const Piece& p : drawer.pieces) ++uses[p.sprite];
    EXPECT_EQ(drawer.pieces.size(), 17u);
    int pairs = 0;
    for (const auto& [sprite, n] : uses) pairs += n == 2;
    EXPECT_EQ(pairs, 8);
    const std::string toFind = drawer.root->GetStringAttribute("ObjToFind");
    auto ticket = std::find_if(drawer.pieces.begin(), drawer.pieces.end(),
                               [&](const Piece& p) { return p.name == toFind; });
    ASSERT_NE(ticket, drawer.pieces.end());
    EXPECT_EQ(uses[ticket->sprite], 1);
    for (const char* a : {"MatchPairs", "DisableMoving", "FinishPosAsStartPos"})
        EXPECT_TRUE(drawer.root->GetBoolAttribute(a)) << a;
}

TEST_F(MiniGameArt, DifferencePanelMirrorsItsHalvesAndPatchesLieInTheRightOne) {
    Game& g = games["4.1"];
    EXPECT_EQ(g.root->GetStringAttribute("DifferenceType"), "Horizontal");
    for (const char* a : {"DropOnClick", "FinishPosAsStartPos", "NoScale"}) EXPECT_TRUE(g.root->GetBoolAttribute(a)) << a;
    EXPECT_TRUE(g.root->HasAttribute("IgnoreBiggestPiece"));
    const std::string panelName = g.root->GetStringAttribute("DifferencePanel");
    hgeSprite* panel = Sprite(panelName);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetHotSpotX() * 2, panel->GetWidth()) << "hot spot at the centre";
    EXPECT_EQ(panel->GetHotSpotY() * 2, panel->GetHeight());
    hgeSprite* ring = Sprite(g.root->GetStringAttribute("OnMatchMark"));
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->GetHotSpotX() * 2, ring->GetWidth());

    const Piece* board = nullptr;
    for (const Piece& p : g.pieces)
        if (p.sprite == panelName) board = &p;
    ASSERT_NE(board, nullptr);
    for (const Piece& p : g.pieces) {
        if (&p != board) {
            EXPECT_LT(Sprite(p.sprite)->GetWidth(), panel->GetWidth()) << "the panel is the widest";
        }
    }
    const float left = board->x - panel->GetHotSpotX(), top = board->y - panel->GetHotSpotY();
    const float half = panel->GetWidth() / 2;
    const Texels pt = Texels::Of(hge, *panel);
    int patches = 0;
    for (const Piece& p : g.pieces) {
        if (&p == board) continue;
        ++patches;
        SCOPED_TRACE(p.name);
        hgeSprite* s = Sprite(p.sprite);
        EXPECT_GE(p.x - s->GetHotSpotX(), left + half) << "in the right print";
        EXPECT_LE(p.x - s->GetHotSpotX() + s->GetWidth(), left + 2 * half);
        EXPECT_GE(p.y - s->GetHotSpotY(), top);
        EXPECT_LE(p.y - s->GetHotSpotY() + s->GetHeight(), top + panel->GetHeight());
        // The patch's place is the same in both prints, and it differs from the
        // print it lies on: some solid texel of the patch has another grey.
        const Texels t = Texels::Of(hge, *s);
        const int ox = int(p.x - s->GetHotSpotX() - left), oy = int(p.y - s->GetHotSpotY() - top);
        float differ = 0;
        int unlike = 0;
        for (int y = 0; y < t.H(); ++y)
            for (int x = 0; x < t.W(); ++x) {
                unlike += pt.Luma(ox + x, oy + y) != pt.Luma(ox - int(half) + x, oy + y);
                if (t.A(x, y) == 255) differ = std::max(differ, std::fabs(t.Luma(x, y) - pt.Luma(ox + x, oy + y)));
            }
        EXPECT_EQ(unlike, 0) << "the panel's prints are alike under the patch";
        EXPECT_GT(differ, 40.0f) << "a difference a player can see";
    }
    EXPECT_EQ(patches, 5);
}

TEST_F(MiniGameArt, WatchmansRackHasItsRolesPlacesAndFrame) {
    Game& g = games["2.2"];
    EXPECT_FALSE(g.root->GetBoolAttribute("IsRotatable"));
    const float dock = g.root->GetFloatAttribute("MinDistToTargetToDock");
    EXPECT_GT(dock, 10.0f);
    std::vector<const Piece*> left, right, tools, others;
    const Piece* cleaner = nullptr;
    const Piece* widest = nullptr;
    float widestW = -1;
    auto has = [](const Piece& p, const char* s) { return p.sprite.find(s) != std::string::npos; };
    for (const Piece& p : g.pieces) {
        const float w = Sprite(p.sprite)->GetWidth();
        if (w > widestW) widestW = w, widest = &p;
        if (has(p, "Cleaner")) cleaner = &p;
        if (has(p, "slut")) (p.x <= 500 ? left : right).push_back(&p);
        if (has(p, "Cleaner") || has(p, "Helper") || has(p, "ramko") || has(p, "iconko") || has(p, "slut")) continue;
        (has(p, "dubinko") || has(p, "svistko") || has(p, "furazhko") ? tools : others).push_back(&p);
    }
    ASSERT_NE(cleaner, nullptr);
    EXPECT_EQ(tools.size(), 3u);
    EXPECT_EQ(others.size(), 3u);
    EXPECT_EQ(left.size(), tools.size()) << "a hook for every tool";
    EXPECT_EQ(right.size(), others.size()) << "a place in the chest for everything else";
    ASSERT_NE(widest, nullptr);
    EXPECT_NE(widest->sprite.find("ramko"), std::string::npos) << "the frame is the widest picture";
    auto dist = [](const Piece* a, const Piece* b) { return std::hypot(a->x - b->x, a->y - b->y); };
    std::vector<const Piece*> slots = left;
    slots.insert(slots.end(), right.begin(), right.end());
    for (const Piece* s : slots) {
        EXPECT_GT(dist(widest, s), dock) << "the frame's one drop finds no place";
        for (const Piece* t : slots) {
            if (s != t) {
                EXPECT_GT(dist(s, t), 2 * dock) << "a drop never lies near two places";
            }
        }
    }
    for (const Piece* p : tools)
        for (const Piece* s : left) EXPECT_GT(dist(p, s), dock) << p->name << " starts off its hooks";
    for (const Piece* p : others)
        for (const Piece* s : right) EXPECT_GT(dist(p, s), dock) << p->name << " starts outside the chest";
}

TEST_F(MiniGameArt, PlaquesAndBottlesHaveTheirShapes) {
    Game& repeat = games["5.2"];
    EXPECT_EQ(repeat.root->GetIntAttribute("CellNumber"), 5);
    EXPECT_EQ(repeat.root->GetIntAttribute("VariantNumber"), 5);
    EXPECT_GT(repeat.root->GetIntAttribute("RowLength"), 0);
    ASSERT_NE(repeat.root->FindChild("ShowOnFinish"), nullptr);
    std::set<int> messages, palette;
    for (const auto& c : repeat.root->GetChildren()) {
        if (c->GetName() == "button") messages.insert(c->GetIntAttribute("message", -1));
        if (c->GetName() == "PaletteElement") palette.insert(c->GetIntAttribute("id", -1));
    }
    EXPECT_EQ(messages, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(palette, messages);
    // The open lock hides the shut one it is laid over.
    RefPtr<Element> shut, open = repeat.root->FindChild("ShowOnFinish");
    for (const auto& c : repeat.root->GetChildren())
        if (c->GetName() == "sprite" && c->GetStringAttribute("texture").find("Lock") != std::string::npos) shut = c;
    ASSERT_NE(shut, nullptr);
    EXPECT_EQ(shut->GetFloatAttribute("x"), open->GetFloatAttribute("x"));
    EXPECT_EQ(shut->GetFloatAttribute("y"), open->GetFloatAttribute("y"));
    {
        const Texels a = Texels::Of(hge, *Sprite(shut->GetStringAttribute("texture")));
        const Texels b = Texels::Of(hge, *Sprite(open->GetStringAttribute("texture")));
        ASSERT_EQ(a.W(), b.W());
        ASSERT_EQ(a.H(), b.H());
        int showing = 0;
        for (int y = 0; y < a.H(); ++y)
            for (int x = 0; x < a.W(); ++x) showing += a.A(x, y) == 255 && b.A(x, y) < 255;
        EXPECT_EQ(showing, 0) << "texels of the shut lock left uncovered";
    }

    Game& memory = games["6.2"];
    hgeSprite* back = Sprite("Puzzle6.2Bottle");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetWidth(), 40.0f);
    EXPECT_EQ(back->GetHeight(), 130.0f);
    std::set<char> kinds;
    int bricks = 0;
    for (const auto& c : memory.root->GetChildren()) {
        if (c->GetName() == "unit") {
            const std::string id = c->GetStringAttribute("id");
            ASSERT_FALSE(id.empty());
            EXPECT_TRUE(kinds.insert(id[0]).second) << "one unit per kind";
            EXPECT_LT(c->GetStringAttribute("Texture").size(), 128u);
            const Texels face = Texels::Of(hge, *Sprite(c->GetStringAttribute("Texture")));
            ExpectCutOut(face, c->GetStringAttribute("Texture"));
        } else if (c->GetName() == "brick") {
            ++bricks;
            const float x = c->GetFloatAttribute("x"), y = c->GetFloatAttribute("y");
            // The bricks draw above the buttons: none lies over Ok, Solve later or Skip.
            for (auto [bx, by] : std::vector<std::pair<float, float>>{{449, 550}, {165, 55}})
                EXPECT_FALSE(std::fabs(bx - x) <= 90 && std::fabs(by - y) <= 90) << x << "," << y;
            EXPECT_GE(x - 20, 0.0f);
            EXPECT_LE(x + 20, 800.0f);
            EXPECT_GE(y - 65, 0.0f);
            EXPECT_LE(y + 65, 600.0f);
        }
    }
    EXPECT_EQ(kinds.size(), 6u);
    EXPECT_EQ(bricks, 12) << "two bottles for every label";
}

TEST_F(MiniGameArt, HelpTextsFitTheHelpWindowInBothLanguages) {
    hgeFont font("data/Font/default14.fnt");
    font.SetTracking(-6.0f);
    ASSERT_GT(font.GetHeight(), 0.0f);
    for (const char* table : {"data\\Text\\English.txt", "data\\Text\\Czech.txt"}) {
        hgeStringTable strings(table);
        for (const auto& [name, g] : games) {
            std::string key = "HELP_MINIGAME_" + name;
            std::replace(key.begin(), key.end(), '.', '_');
            SCOPED_TRACE(std::string(table) + " " + key);
            const char* text = strings.GetString(key.c_str());
            ASSERT_NE(text, nullptr);
            ASSERT_GT(std::strlen(text), 40u);
            ASSERT_LT(std::strlen(text), size_t(hgeFont::BUFFER_SIZE));
            char wrapped[hgeFont::BUFFER_SIZE];
            std::strcpy(wrapped, text);
            const int lines = font.WrapText(wrapped, 300.0f);
            const float spacing = std::strlen(text) > 350 ? 0.8f : 1.0f;
            EXPECT_LE(lines * font.GetHeight() * spacing, 230.0f) << lines << " lines";
            EXPECT_LE(font.GetStringWidth(wrapped), 300.0f);
        }
    }
}

}  // namespace
