// The study scene as the game reads it: the scene file through the XML document,
// its pictures through the resource manager on the headless engine. Every unit
// names a loading resource of the scene's own group; hidden things lie where the
// panel and the open bag never cover them and are cut out cleanly (clear
// corners, an opaque core, a darker rim); the painted background has no flat
// patches; the clue texts exist in both tables; the shared play-field art has
// the sizes and hot spots the play field relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "engine/XMLDocument.h"
#include "graphics/ResDesc.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/hgeAnimation.h"
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

std::string ChildText(const Element& e, const std::string& name) {
    RefPtr<Element> c = e.FindChild(name);
    return c ? c->GetValue() : std::string();
}

// The texels of one sprite's rectangle, read from the texture's CPU copy.
class Texels {
public:
    Texels(HGE* hge, const hgeSprite& sprite) : m_hge(hge), m_tex(sprite.GetTexture()) {
        float tx, ty, w, h;
        sprite.GetTextureRect(&tx, &ty, &w, &h);
        m_x = int(tx), m_y = int(ty), m_w = int(w), m_h = int(h);
        m_pitch = hge->Texture_GetWidth(m_tex);
        m_data = hge->Texture_Lock(m_tex, true);
    }
    ~Texels() {
        if (m_data) m_hge->Texture_Unlock(m_tex);
    }
    bool Ok() const { return m_data != nullptr && m_w > 0 && m_h > 0; }
    int W() const { return m_w; }
    int H() const { return m_h; }
    DWORD At(int x, int y) const { return m_data[(m_y + y) * m_pitch + m_x + x]; }
    int Alpha(int x, int y) const { return int(At(x, y) >> 24); }
    float Grey(int x, int y) const {
        DWORD c = At(x, y);
        return 0.299f * ((c >> 16) & 255) + 0.587f * ((c >> 8) & 255) + 0.114f * (c & 255);
    }

private:
    HGE* m_hge;
    HTEXTURE m_tex;
    DWORD* m_data = nullptr;
    int m_x = 0, m_y = 0, m_w = 0, m_h = 0, m_pitch = 0;
};

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
                for (int x = cx; x < cx + 3; ++x) corner += t.Alpha(x, y) > 0;
    EXPECT_EQ(corner, 0) << "texels showing in the corners";
    int opaque = 0;
    bool block = false;
    double rimSum = 0, coreSum = 0;
    int rim = 0, core = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (t.Alpha(x, y) < 255) continue;
            ++opaque;
            if (!block && x + 5 <= w && y + 5 <= h) {
                bool all = true;
                for (int j = 0; j < 5 && all; ++j)
                    for (int i = 0; i < 5 && all; ++i) all = t.Alpha(x + i, y + j) == 255;
                block = all;
            }
            bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1 || t.Alpha(x - 1, y) < 255 ||
                        t.Alpha(x + 1, y) < 255 || t.Alpha(x, y - 1) < 255 || t.Alpha(x, y + 1) < 255;
            if (edge) {
                rimSum += t.Grey(x, y);
                ++rim;
            } else {
                coreSum += t.Grey(x, y);
                ++core;
            }
        }
    EXPECT_TRUE(block) << "no opaque core";
    EXPECT_GE(opaque, w * h * 15 / 100) << "too little of the picture is solid";
    ASSERT_GT(rim, 0);
    ASSERT_GT(core, 0);
    EXPECT_LT(rimSum / rim, coreSum / core) << "the rim is not darker than the inside";
}

// Share of 16 x 16 blocks whose grey spans fewer than 4 levels (every second
// texel sampled, as the project's picture check does).
double FlatShare(const Texels& t) {
    int flat = 0, total = 0;
    for (int by = 0; by + 16 <= t.H(); by += 16)
        for (int bx = 0; bx + 16 <= t.W(); bx += 16) {
            float lo = 255, hi = 0;
            for (int y = by; y < by + 16; y += 2)
                for (int x = bx; x < bx + 16; x += 2) {
                    lo = std::min(lo, t.Grey(x, y));
                    hi = std::max(hi, t.Grey(x, y));
                }
            ++total;
            if (hi - lo < 4) ++flat;
        }
    return total ? double(flat) / total : 1.0;
}

class StudyScene : public HeadlessEngineTest {
protected:
    void SetUp() override {
        HeadlessEngineTest::SetUp();
        ASSERT_TRUE(m_doc.Load("data/Scenes/Study.xml")) << m_doc.GetLastError();
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
            }
        }
    }

    hgeSprite* Picture(hgeResourceManager& rm, const Unit& u) {
        return u.animation ? rm.GetAnimation(u.resource.c_str()) : rm.GetSprite(u.resource.c_str());
    }

    XMLDocument m_doc{"none"};
    RefPtr<Element> root;
    std::map<int, Unit> units;
    std::vector<Placed> objects;
    std::vector<RefPtr<Element>> tasks;
};

TEST_F(StudyScene, UnitsLoadFromTheScenesGroupAndHiddenThingsLieWellCutOut) {
    EXPECT_EQ(root->GetIntAttribute("res_group"), 10);
    EXPECT_EQ(root->GetStringAttribute("type"), "FindAll");
    EXPECT_EQ(root->GetStringAttribute("SceneName"), "SCENE_STUDY");
    EXPECT_TRUE(root->HasAttribute("res_file"));

    hgeResourceManager rm("data\\Resource\\main.res");
    EXPECT_TRUE(rm.Precache(10)) << "every picture of the scene's group loads";

    // Every unit names a resource of group 10 whose texture is in group 10 too,
    // so purging the scene frees all of it and nothing else.
    ASSERT_FALSE(units.empty());
    for (const auto& [id, u] : units) {
        SCOPED_TRACE(u.resource);
        EXPECT_EQ(u.resource.find("MagnifyingGlass"), std::string::npos);
        auto* desc = static_cast<RSprite*>(rm.FindRes(u.animation ? RES_ANIMATION : RES_SPRITE, u.resource.c_str()));
        ASSERT_NE(desc, nullptr) << "declared";
        EXPECT_EQ(desc->resgroup, 10);
        ResDesc* tex = rm.FindRes(RES_TEXTURE, desc->texname.c_str());
        ASSERT_NE(tex, nullptr);
        EXPECT_EQ(tex->resgroup, 10);
        hgeSprite* picture = Picture(rm, u);
        ASSERT_NE(picture, nullptr);
        EXPECT_NE(picture->GetTexture(), 0u);
    }

    // The task objects: who is hidden where.
    std::set<std::string> wanted;
    std::set<std::string> toolNames;
    int findTasks = 0;
    for (const auto& t : tasks) {
        for (const auto& item : t->GetChildren()) wanted.insert(item->GetStringAttribute("name"));
        if (t->HasAttribute("tool_to_find")) toolNames.insert(t->GetStringAttribute("tool_to_find"));
        EXPECT_NE(t->GetStringAttribute("name"), "Cigar");
        if (t->GetStringAttribute("type") == "And" && t->GetStringAttribute("name") != "Key") ++findTasks;
    }
    EXPECT_EQ(findTasks, 12);
    EXPECT_EQ(toolNames, std::set<std::string>{"study_key"}) << "only the key is ever a tool";

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
        Texels texels(hge, *picture);
        ASSERT_TRUE(texels.Ok());
        if (o.z <= 1.0f) {
            // The painted background: the whole picture, opaque, without flat patches.
            EXPECT_EQ(picture->GetWidth(), 1024.0f);
            EXPECT_EQ(picture->GetHeight(), 768.0f);
            EXPECT_EQ(texels.Alpha(512, 384), 255);
            EXPECT_LT(FlatShare(texels), 0.05);
            continue;
        }
        ExpectCleanCutOut(texels, u.resource);
        if (!wanted.count(o.name)) continue;
        // Never under the panel (screen x < 180) nor under the open bag
        // (screen x < 280 and y > 430).
        EXPECT_GE(left * kSceneToScreen, 180.0f);
        EXPECT_FALSE(left * kSceneToScreen < 280.0f && bottom * kSceneToScreen > 430.0f) << "under the open bag";
        if (o.name == "desk_drawer") continue;
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
    EXPECT_EQ(hidden, 15) << "fourteen hidden things and the key";
    EXPECT_GE(halfHidden, 2) << "some things are half hidden behind decorations";

    // The music box chimes between runs.
    bool musicBox = false;
    for (const auto& [id, u] : units)
        if (u.resource == "box_musicbox_Study") {
            musicBox = true;
            EXPECT_TRUE(u.animation);
            EXPECT_EQ(u.delay, 4.0f);
            EXPECT_EQ(rm.GetAnimation(u.resource.c_str())->GetFrames(), 8);
        }
    EXPECT_TRUE(musicBox);
}

TEST_F(StudyScene, TitleAndEveryClueReadInBothTables) {
    std::vector<std::string> keys = {root->GetStringAttribute("SceneName")};
    for (const auto& t : tasks) {
        keys.push_back(t->GetStringAttribute("text_singular"));
        keys.push_back(t->GetStringAttribute("text_plural"));
    }
    EXPECT_EQ(keys.size(), 1u + 2u * 14u);
    for (const char* table : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        hgeStringTable strings(table);
        for (const std::string& key : keys) {
            ASSERT_FALSE(key.empty());
            const char* text = strings.GetString(key.c_str());
            ASSERT_NE(text, nullptr) << table << " " << key;
            EXPECT_GT(std::string(text).size(), 2u) << key;
        }
    }
    // The win gives a cigar.
    bool cigar = false;
    for (const auto& c : root->GetChildren()) {
        if (c->GetName() != "task_condition") continue;
        RefPtr<Element> finished = c->FindChild("finished_task");
        RefPtr<Element> action = c->FindChild("action");
        if (finished && action && finished->GetStringAttribute("name") == "OnWin")
            cigar = action->GetStringAttribute("type") == "AddCigars" && action->GetStringAttribute("name") == "1";
    }
    EXPECT_TRUE(cigar);
    EXPECT_TRUE(XMLDocument::FromFile("data/Database/Actions.xml").IsLoaded());
}

TEST_F(StudyScene, SharedPlayFieldArtHasItsSizesAndHotSpots) {
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
        Texels t(hge, *panel);
        EXPECT_EQ(t.Alpha(20, 580), 0) << "the closed bag's corner is clear";
        EXPECT_EQ(t.Alpha(90, 200), 255);
    }
    hgeAnimation* diff = rm.GetAnimation("DiffCursor");
    hgeAnimation* play = rm.GetAnimation("PlayCursor");
    ASSERT_TRUE(diff && play);
    EXPECT_EQ(diff->GetFrames(), 8);
    EXPECT_EQ(diff->GetWidth(), 32.0f);
    EXPECT_EQ(play->GetWidth(), 32.0f);
    {
        Texels t(hge, *play);
        EXPECT_GT(t.Alpha(int(play->GetHotSpotX()) + 1, int(play->GetHotSpotY()) + 1), 0) << "the tip is at the hot spot";
    }
    hgeSprite* glass = rm.GetSprite("MagnifyingGlassTool");
    ASSERT_NE(glass, nullptr);
    {
        Texels t(hge, *glass);
        const int cx = int(glass->GetHotSpotX()), cy = int(glass->GetHotSpotY());
        EXPECT_LT(t.Alpha(cx, cy), 80) << "the lens hole is clear";
        EXPECT_LT(t.Alpha(cx + 45, cy), 80);
        EXPECT_LT(t.Alpha(cx, cy - 45), 80);
        EXPECT_EQ(t.Alpha(cx - 54, cy), 255) << "brass ring";
        EXPECT_EQ(t.Alpha(cx, cy + 54), 255);
    }
    hgeSprite* bag = rm.GetSprite("Inventory");
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(bag->GetWidth(), 210.0f);
    EXPECT_EQ(bag->GetHeight(), 170.0f);
    EXPECT_EQ(bag->GetHotSpotX(), 100.0f);
    EXPECT_EQ(bag->GetHotSpotY(), 85.0f);
    {
        Texels t(hge, *bag);
        EXPECT_EQ(t.Alpha(190, 92), 255) << "strap tab";
        for (auto [x, y] : std::vector<std::pair<int, int>>{{85, 60}, {85, 130}, {145, 60}, {145, 130}})
            EXPECT_EQ(t.Alpha(x, y), 255) << "pocket " << x << "," << y;
    }
    HTEXTURE lens = hge->Texture_Load("data/Texture/Cursors/MagnifyingGlassCursorDiff.png");
    ASSERT_NE(lens, 0u);
    EXPECT_EQ(hge->Texture_GetWidth(lens), 32);
    EXPECT_EQ(hge->Texture_GetHeight(lens), 32);
    hge->Texture_Free(lens);
}

}  // namespace
