// Every "find all" scene as the game reads it: the scene file through the XML
// document, its pictures through the resource manager on the headless engine.
// Every unit names a loading resource of the scene's own group; hidden things lie
// where the panel and the open bag never cover them and are cut out cleanly
// (clear corners, an opaque core, a darker rim), some half hidden behind
// decorations; the painted background has no flat patches; the title and clue
// texts exist in both tables and every clue fits its line on the panel; the
// story's links (next scene, medal, mini-games, comic pages) are where the game
// expects them. The shared play-field art has the sizes and hot spots the play
// field relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "StoryScenes.h"
#include "engine/XMLDocument.h"
#include "graphics/ResDesc.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

using Element = XMLDocument::XMLElement;

const float kSceneToScreen = 0.78125f;

struct Unit {
    std::string resource;
    bool animation = false;
    float delay = 0.0f;
};

struct Placed {
    std::string name;
    int unit = 0;
    float x = 0, y = 0, z = 0;
    bool hasZ = false;
};

using contenttest::ChildText;

using contenttest::Texels;

// A hidden thing cut out cleanly: transparent corners, a solid core (a fully
// opaque 5 x 5 block and a fair share of opaque texels), and an edge darker
// than the inside, so it reads against any part of the scene.
void ExpectCleanCutOut(const Texels& t, const std::string& what) {
    SCOPED_TRACE(what);
    const int w = t.W(), h = t.H();
    int corner = 0;
    for (int cy : {0, h - 3})
        for (int cx : {0, w - 3})
            for (int y = cy; y < cy + 3; ++y)
                for (int x = cx; x < cx + 3; ++x) corner += t.A(x, y) > 0;
    EXPECT_EQ(corner, 0) << "texels showing in the corners";
    int opaque = 0;
    bool block = false;
    double rimSum = 0, coreSum = 0;
    int rim = 0, core = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (t.A(x, y) < 255) continue;
            ++opaque;
            if (!block && x + 5 <= w && y + 5 <= h) {
                bool all = true;
                for (int j = 0; j < 5 && all; ++j)
                    for (int i = 0; i < 5 && all; ++i) all = t.A(x + i, y + j) == 255;
                block = all;
            }
            bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1 || t.A(x - 1, y) < 255 ||
                        t.A(x + 1, y) < 255 || t.A(x, y - 1) < 255 || t.A(x, y + 1) < 255;
            if (edge) {
                rimSum += t.Luma(x, y);
                ++rim;
            } else {
                coreSum += t.Luma(x, y);
                ++core;
            }
        }
    EXPECT_TRUE(block) << "no opaque core";
    EXPECT_GE(opaque, w * h * 15 / 100) << "too little of the picture is solid";
    ASSERT_GT(rim, 0);
    ASSERT_GT(core, 0);
    EXPECT_LT(rimSum / rim, coreSum / core) << "the rim is not darker than the inside";
}

// What one scene of the story must be.
struct SceneCase {
    const char* file;
    int group;
    const char* title;
    int findTasks;                     // clues of the list, tool pick-ups not counted
    int hidden;                        // things to find in the picture, tools included
    std::set<std::string> tools;       // objects that are only ever tools
    std::string next;                  // "SceneToLoadOnFinish", empty for none
    int medal;                         // "MedalToAdd", 0 for none
    std::set<std::string> miniGames;   // started by task conditions, at least these
    std::string lastComic;             // page shown when the last clue is found
    bool openingMiniGame;              // the crime-scene mark in "res_file"
};

void PrintTo(const SceneCase& c, std::ostream* os) { *os << c.file; }

const SceneCase kScenes[] = {
    {"data/Scenes/Study.xml", 10, "SCENE_STUDY", 12, 15, {"study_key"}, "data\\Scenes\\Portrait.xml", 1,
     {"data/MiniGames/1.1.xml"}, "", false},
    {"data/Scenes/TownHall.xml", 12, "SCENE_TOWNHALL", 12, 12, {}, "data\\Scenes\\CrimePlace.xml", 0, {}, "",
     true},
    {"data/Scenes/Docks.xml", 13, "SCENE_DOCKS", 12, 13, {"boat_hook"}, "data\\Scenes\\Sewer.xml", 2,
     {"data/MiniGames/2.2.xml", "data/MiniGames/5.2.xml"}, "", false},
    {"data/Scenes/Sewer.xml", 27, "SCENE_SEWER", 12, 12, {"boat_hook"}, "", 0, {}, "", false},
    {"data/Scenes/Warehouse.xml", 14, "SCENE_WAREHOUSE", 12, 12, {}, "Final", 3,
     {"data/MiniGames/4.1.xml", "data/MiniGames/6.2.xml"}, "data\\Comics\\Comic2.xml", false},
};

class SceneContent : public HeadlessEngineTest, public ::testing::WithParamInterface<SceneCase> {
protected:
    void SetUp() override {
        HeadlessEngineTest::SetUp();
        ASSERT_TRUE(m_doc.Load(GetParam().file)) << m_doc.GetLastError();
        root = m_doc.GetRoot();
        for (const auto& child : root->GetChildren()) {
            if (child->GetName() == "unit") {
                Unit u;
                if (RefPtr<Element> s = child->FindChild("sprite")) u.resource = s->GetValue();
                if (RefPtr<Element> a = child->FindChild("animation")) u.resource = a->GetValue(), u.animation = true;
                u.delay = std::stof(ChildText(*child, "delay").empty() ? "0" : ChildText(*child, "delay"));
                units[std::stoi(ChildText(*child, "id"))] = u;
            } else if (child->GetName() == "object") {
                Placed p;
                p.name = ChildText(*child, "name");
                p.unit = std::stoi(ChildText(*child, "id"));
                p.x = std::stof(ChildText(*child, "x"));
                p.y = std::stof(ChildText(*child, "y"));
                p.hasZ = child->FindChild("z") != nullptr;
                if (p.hasZ) p.z = std::stof(ChildText(*child, "z"));
                objects.push_back(p);
            } else if (child->GetName() == "task") {
                tasks.push_back(child);
            } else if (child->GetName() == "task_condition") {
                conditions.push_back(child);
            }
        }
    }

    hgeSprite* Picture(hgeResourceManager& rm, const Unit& u) {
        return u.animation ? rm.GetAnimation(u.resource.c_str()) : rm.GetSprite(u.resource.c_str());
    }

    // The actions of the conditions that wait for exactly this one finished task.
    std::vector<RefPtr<Element>> ActionsAfter(const std::string& task) {
        std::vector<RefPtr<Element>> actions;
        for (const auto& c : conditions) {
            std::vector<std::string> finished;
            for (const auto& e : c->GetChildren())
                if (e->GetName() == "finished_task") finished.push_back(e->GetStringAttribute("name"));
            if (finished != std::vector<std::string>{task}) continue;
            for (const auto& e : c->GetChildren())
                if (e->GetName() == "action") actions.push_back(e);
        }
        return actions;
    }

    XMLDocument m_doc{"none"};
    RefPtr<Element> root;
    std::map<int, Unit> units;
    std::vector<Placed> objects;
    std::vector<RefPtr<Element>> tasks;
    std::vector<RefPtr<Element>> conditions;
};

TEST_P(SceneContent, UnitsLoadFromTheScenesGroupAndHiddenThingsLieWellCutOut) {
    const SceneCase& c = GetParam();
    EXPECT_EQ(root->GetIntAttribute("res_group"), c.group);
    EXPECT_EQ(root->GetStringAttribute("type"), "FindAll");
    EXPECT_EQ(root->GetStringAttribute("SceneName"), c.title);
    ASSERT_TRUE(root->HasAttribute("res_file"));
    EXPECT_EQ(root->GetStringAttribute("res_file").find("data\\Scenes\\Crime_place_nostatue") != std::string::npos,
              c.openingMiniGame);

    hgeResourceManager rm("data\\Resource\\main.res");
    EXPECT_TRUE(rm.Precache(c.group)) << "every picture of the scene's group loads";

    // Every unit names a resource of the scene's group whose texture is in that
    // group too, so purging the scene frees all of it and nothing else.
    ASSERT_FALSE(units.empty());
    for (const auto& [id, u] : units) {
        SCOPED_TRACE(u.resource);
        EXPECT_EQ(u.resource.find("MagnifyingGlass"), std::string::npos);
        auto* desc = static_cast<RSprite*>(rm.FindRes(u.animation ? RES_ANIMATION : RES_SPRITE, u.resource.c_str()));
        ASSERT_NE(desc, nullptr) << "declared";
        EXPECT_EQ(desc->resgroup, c.group);
        ResDesc* tex = rm.FindRes(RES_TEXTURE, desc->texname.c_str());
        ASSERT_NE(tex, nullptr);
        EXPECT_EQ(tex->resgroup, c.group);
        hgeSprite* picture = Picture(rm, u);
        ASSERT_NE(picture, nullptr);
        EXPECT_NE(picture->GetTexture(), 0u);
    }

    // The task objects: who is hidden where. A tool is found in the picture and
    // used on its target; the target may be larger than a hidden thing.
    std::set<std::string> wanted;
    std::set<std::string> toolNames;
    std::set<std::string> toolTargets;
    for (const auto& t : tasks) {
        // An extra cigar lies in plain sight, pointed out: no hidden thing.
        if (t->GetStringAttribute("name") == "Cigar") {
            EXPECT_EQ(t->GetStringAttribute("type"), "Or");
            continue;
        }
        const bool toolTask = t->HasAttribute("tool_to_find");
        if (toolTask) {
            toolNames.insert(t->GetStringAttribute("tool_to_find"));
            EXPECT_FALSE(t->GetStringAttribute("tool_sprite").empty());
        }
        for (const auto& item : t->GetChildren()) {
            wanted.insert(item->GetStringAttribute("name"));
            if (toolTask) toolTargets.insert(item->GetStringAttribute("name"));
        }
    }
    int findTasks = 0;
    for (const auto& t : tasks) {
        if (t->GetStringAttribute("type") != "And") continue;
        bool pickUp = false;
        for (const auto& item : t->GetChildren()) pickUp |= toolNames.count(item->GetStringAttribute("name")) > 0;
        if (!pickUp) ++findTasks;
    }
    EXPECT_EQ(findTasks, c.findTasks);
    EXPECT_EQ(toolNames, c.tools) << "only these are ever tools";
    // Each tool lies in the picture or starts in the bag, in the scene's group.
    std::set<std::string> inBag;
    for (const auto& e : root->GetChildren()) {
        if (e->GetName() != "tool") continue;
        inBag.insert(e->GetStringAttribute("obj_name"));
        auto* sprite = static_cast<RSprite*>(rm.FindRes(RES_SPRITE, e->GetStringAttribute("spr_name").c_str()));
        ASSERT_NE(sprite, nullptr) << e->GetStringAttribute("spr_name");
        EXPECT_EQ(sprite->resgroup, c.group);
    }
    for (const std::string& tool : toolNames) {
        const bool placed = std::any_of(objects.begin(), objects.end(), [&](const Placed& o) { return o.name == tool; });
        EXPECT_NE(placed, inBag.count(tool) > 0) << tool << ": in the picture or in the bag, once";
    }
    wanted.insert(toolNames.begin(), toolNames.end());

    std::set<std::string> names;
    int hidden = 0;
    int halfHidden = 0;
    for (const Placed& o : objects) {
        SCOPED_TRACE(o.name);
        EXPECT_TRUE(names.insert(o.name).second) << "names are unique";
        ASSERT_TRUE(units.count(o.unit)) << "the id names a unit";
        ASSERT_TRUE(o.hasZ);
        EXPECT_GE(o.z, 1.0f);
        EXPECT_LE(o.z, 99.0f);
        const Unit& u = units[o.unit];
        hgeSprite* picture = Picture(rm, u);
        ASSERT_NE(picture, nullptr);
        const float left = o.x - picture->GetHotSpotX(), top = o.y - picture->GetHotSpotY();
        const float right = left + picture->GetWidth(), bottom = top + picture->GetHeight();
        EXPECT_GE(left, 0.0f);
        EXPECT_GE(top, 0.0f);
        EXPECT_LE(right, 1024.0f);
        EXPECT_LE(bottom, 768.0f);
        const Texels texels = Texels::Of(hge, *picture);
        ASSERT_TRUE(texels.Ok());
        if (o.z <= 1.0f) {
            // The painted background: the whole picture, opaque, without flat patches.
            EXPECT_EQ(picture->GetWidth(), 1024.0f);
            EXPECT_EQ(picture->GetHeight(), 768.0f);
            EXPECT_EQ(texels.A(512, 384), 255);
            EXPECT_LT(texels.FlatShare(), 0.05);
            EXPECT_LT(texels.UnshadedShare(), 0.05);
            continue;
        }
        // Ambient life (rain on a pane, a moth, a flame) is not a thing to
        // find: it need not be a solid cut-out.
        if (u.animation && !wanted.count(o.name)) continue;
        ExpectCleanCutOut(texels, u.resource);
        if (!wanted.count(o.name)) continue;
        // Never under the panel (screen x < 180) nor under the open bag
        // (screen x < 280 and y > 430).
        EXPECT_GE(left * kSceneToScreen, 180.0f);
        EXPECT_FALSE(left * kSceneToScreen < 280.0f && bottom * kSceneToScreen > 430.0f) << "under the open bag";
        if (toolTargets.count(o.name)) continue;
        ++hidden;
        EXPECT_GE(picture->GetWidth(), 40.0f);
        EXPECT_LE(picture->GetWidth(), 140.0f);
        EXPECT_GE(picture->GetHeight(), 40.0f);
        EXPECT_LE(picture->GetHeight(), 140.0f);
        // Half hidden: a decoration above it covers part of it.
        for (const Placed& d : objects) {
            if (wanted.count(d.name) || d.z <= o.z) continue;
            hgeSprite* cover = Picture(rm, units[d.unit]);
            const float dl = d.x - cover->GetHotSpotX(), dt = d.y - cover->GetHotSpotY();
            if (dl < right && dl + cover->GetWidth() > left && dt < bottom && dt + cover->GetHeight() > top) {
                ++halfHidden;
                break;
            }
        }
    }
    EXPECT_EQ(hidden, c.hidden);
    EXPECT_GE(halfHidden, 2) << "some things are half hidden behind decorations";
}

TEST_P(SceneContent, TitleAndEveryClueReadInBothTablesOnOneLine) {
    std::vector<std::string> keys = {root->GetStringAttribute("SceneName")};
    std::vector<std::pair<std::string, std::string>> clues;  // key, count prefix
    for (const auto& t : tasks) {
        const size_t count = t->GetChildren().size();
        keys.push_back(t->GetStringAttribute("text_singular"));
        keys.push_back(t->GetStringAttribute("text_plural"));
        clues.emplace_back(t->GetStringAttribute("text_singular"), "");
        clues.emplace_back(t->GetStringAttribute("text_plural"), count > 1 ? std::to_string(count) + " " : "");
    }
    ASSERT_FALSE(tasks.empty());
    // The clue line on the panel is 97 px of "Comics" at tracking -7.
    hgeFont comics("data\\Font\\comics.fnt");
    comics.SetTracking(-7);
    for (const char* table : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        SCOPED_TRACE(table);
        hgeStringTable strings(table);
        for (const std::string& key : keys) {
            ASSERT_FALSE(key.empty());
            const char* text = strings.GetString(key.c_str());
            ASSERT_NE(text, nullptr) << key;
            EXPECT_GT(std::string(text).size(), 2u) << key;
        }
        for (const auto& [key, prefix] : clues)
            EXPECT_LE(comics.GetLineWidth((prefix + strings.GetString(key.c_str())).c_str()), 97.0f) << key;
    }
    EXPECT_TRUE(XMLDocument::FromFile("data/Database/Actions.xml").IsLoaded());
}

TEST_P(SceneContent, StoryLinksAreInPlace) {
    const SceneCase& c = GetParam();
    // The next scene, the medal it may give, and the cigar of every win.
    EXPECT_EQ(root->GetStringAttribute("SceneToLoadOnFinish"), c.next);
    if (!c.next.empty() && c.next != "Final") {
        std::string path = c.next;
        std::replace(path.begin(), path.end(), '\\', '/');
        EXPECT_TRUE(XMLDocument::FromFile(path).IsLoaded()) << path;
    }
    EXPECT_EQ(root->GetIntAttribute("MedalToAdd"), c.medal);
    if (c.medal) {
        EXPECT_EQ(root->GetFloatAttribute("MedalAddingProbability"), 1.0f);
    }
    bool cigar = false;
    for (const auto& a : ActionsAfter("OnWin"))
        cigar |= a->GetStringAttribute("type") == "AddCigars" && a->GetStringAttribute("name") == "1";
    EXPECT_TRUE(cigar) << "the win gives a cigar";

    // Mini-games start from the conditions of single tasks of the scene.
    std::set<std::string> taskNames;
    for (const auto& t : tasks) taskNames.insert(t->GetStringAttribute("name"));
    std::set<std::string> miniGames;
    for (const auto& t : taskNames)
        for (const auto& a : ActionsAfter(t))
            if (a->GetStringAttribute("type") == "MiniGame") {
                const std::string file = a->GetStringAttribute("name");
                EXPECT_EQ(file.rfind("data/MiniGames/", 0), 0u) << file;
                miniGames.insert(file);
            }
    for (const std::string& file : c.miniGames) EXPECT_TRUE(miniGames.count(file)) << file;

    // The comic page of the story's end follows the last clue.
    if (!c.lastComic.empty()) {
        ASSERT_FALSE(tasks.empty());
        bool comic = false;
        for (const auto& a : ActionsAfter(tasks.back()->GetStringAttribute("name")))
            comic |= a->GetStringAttribute("type") == "ShowComics" && a->GetStringAttribute("name") == c.lastComic;
        EXPECT_TRUE(comic) << c.lastComic;
    }
}

// Every find-all scene of the story has its row above, but the one won with
// the measuring tool (its dividers are no thing in the picture), and every row
// is a scene of the story.
TEST(SceneContentRows, EveryFindAllSceneOfTheStoryHasItsRow) {
    std::set<std::string> rows, story;
    for (const SceneCase& c : kScenes) rows.insert(c.file);
    for (const std::string& scene : contenttest::StoryScenes()) {
        XMLDocument doc = XMLDocument::FromFile(scene);
        ASSERT_TRUE(doc.IsLoaded()) << scene;
        bool measured = false;
        for (const auto& e : doc.GetRoot()->GetChildren())
            measured |= e->GetName() == "unit" && ChildText(*e, "sprite") == "compass_Crime_place_measure";
        if (doc.GetRoot()->GetStringAttribute("type") != "FindDifferences" && !measured) story.insert(scene);
    }
    EXPECT_EQ(rows, story) << "a row of kScenes for each find-all scene of the story";
}

INSTANTIATE_TEST_SUITE_P(Story, SceneContent, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<SceneCase>& info) {
                             std::string name = info.param.file;
                             name = name.substr(name.rfind('/') + 1);
                             return name.substr(0, name.find('.'));
                         });

// The study's music box chimes between its runs.
using StudyScene = HeadlessEngineTest;

TEST_F(StudyScene, MusicBoxChimesBetweenRuns) {
    XMLDocument doc = XMLDocument::FromFile("data/Scenes/Study.xml");
    ASSERT_TRUE(doc.IsLoaded());
    bool musicBox = false;
    for (const auto& child : doc.GetRoot()->GetChildren()) {
        RefPtr<Element> a = child->FindChild("animation");
        if (child->GetName() != "unit" || !a || a->GetValue() != "box_musicbox_Study") continue;
        musicBox = true;
        EXPECT_EQ(ChildText(*child, "delay"), "4");
    }
    EXPECT_TRUE(musicBox);
    hgeResourceManager rm("data\\Resource\\main.res");
    auto* desc = static_cast<RAnimation*>(rm.FindRes(RES_ANIMATION, "box_musicbox_Study"));
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(desc->frames, 8);
}

using PlayFieldArt = HeadlessEngineTest;

TEST_F(PlayFieldArt, SharedArtHasItsSizesAndHotSpots) {

    hgeResourceManager rm("data\\Resource\\main.res");
    for (auto [type, name] : std::vector<std::pair<int, const char*>>{{RES_SPRITE, "InGamePanel"},
                                                                      {RES_ANIMATION, "PlayCursor"},
                                                                      {RES_ANIMATION, "DiffCursor"},
                                                                      {RES_SPRITE, "MagnifyingGlassTool"},
                                                                      {RES_SPRITE, "Inventory"},
                                                                      {RES_TEXTURE, "MagnifyingGlassMask"}}) {
        ResDesc* d = rm.FindRes(type, name);
        ASSERT_NE(d, nullptr) << name;
        EXPECT_LE(d->resgroup, 1) << name << " outlives every scene";
    }
    hgeSprite* panel = rm.GetSprite("InGamePanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetWidth(), 180.0f);
    EXPECT_EQ(panel->GetHeight(), 600.0f);
    {
        const Texels t = Texels::Of(hge, *panel);
        EXPECT_EQ(t.A(20, 580), 0) << "the closed bag's corner is clear";
        EXPECT_EQ(t.A(90, 200), 255);
    }
    // The recess under the bag fills that corner, solid: no scene shows there.
    hgeSprite* recess = rm.GetSprite("InGamePanelRecess");
    ASSERT_NE(recess, nullptr);
    EXPECT_LE(rm.FindRes(RES_SPRITE, "InGamePanelRecess")->resgroup, 1);
    EXPECT_EQ(recess->GetWidth(), 146.0f);
    EXPECT_EQ(recess->GetHeight(), 164.0f);
    {
        const Texels t = Texels::Of(hge, *recess);
        for (int y = 0; y < 164; y += 3)
            for (int x = 0; x < 146; x += 3) ASSERT_EQ(t.A(x, y), 255) << "(" << x << ", " << y << ")";
    }
    {
        const Texels t = Texels::Of(hge, *panel);
        for (int y = 0; y < 600; y += 3)
            for (int x = 0; x < 180; x += 3)
                if (x >= 146 || y < 436) {
                    ASSERT_EQ(t.A(x, y), 255) << "the panel outside its corner (" << x << ", " << y << ")";
                }
    }
    hgeAnimation* diff = rm.GetAnimation("DiffCursor");
    hgeAnimation* play = rm.GetAnimation("PlayCursor");
    ASSERT_TRUE(diff && play);
    EXPECT_EQ(diff->GetFrames(), 8);
    EXPECT_EQ(diff->GetWidth(), 32.0f);
    EXPECT_EQ(play->GetWidth(), 32.0f);
    {
        const Texels t = Texels::Of(hge, *play);
        EXPECT_GT(t.A(int(play->GetHotSpotX()) + 1, int(play->GetHotSpotY()) + 1), 0) << "the tip is at the hot spot";
    }
    hgeSprite* glass = rm.GetSprite("MagnifyingGlassTool");
    ASSERT_NE(glass, nullptr);
    {
        const Texels t = Texels::Of(hge, *glass);
        const int cx = int(glass->GetHotSpotX()), cy = int(glass->GetHotSpotY());
        EXPECT_LT(t.A(cx, cy), 80) << "the lens hole is clear";
        EXPECT_LT(t.A(cx + 45, cy), 80);
        EXPECT_LT(t.A(cx, cy - 45), 80);
        EXPECT_EQ(t.A(cx - 54, cy), 255) << "brass ring";
        EXPECT_EQ(t.A(cx, cy + 54), 255);
    }
    hgeSprite* bag = rm.GetSprite("Inventory");
    ASSERT_NE(bag, nullptr);
    contenttest::ExpectFrame(bag, 210.0f, 170.0f, 100.0f, 85.0f);
    {
        const Texels t = Texels::Of(hge, *bag);
        EXPECT_EQ(t.A(190, 92), 255) << "strap tab";
        for (auto [x, y] : std::vector<std::pair<int, int>>{{85, 60}, {85, 130}, {145, 60}, {145, 130}})
            EXPECT_EQ(t.A(x, y), 255) << "pocket " << x << "," << y;
    }
    HTEXTURE lens = hge->Texture_Load("data/Texture/Cursors/MagnifyingGlassCursorDiff.png");
    ASSERT_NE(lens, 0u);
    EXPECT_EQ(hge->Texture_GetWidth(lens), 32);
    EXPECT_EQ(hge->Texture_GetHeight(lens), 32);
    hge->Texture_Free(lens);
}

}  // namespace
