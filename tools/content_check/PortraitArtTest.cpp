// The harbour painting of the find-the-differences scene, read the way the game
// reads it: the scene file, the resource script's group 11 and the pictures'
// texels as the hit test sees them. Also the small fixture scenes that other
// tests play, which must name pictures that exist.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

using Element = XMLDocument::XMLElement;

constexpr float kHalf = 384.0f;           // height of one half of a difference picture
constexpr float kPanelRight = 180 * 1.28f;  // the task panel covers the screen left of x 180
constexpr float kDividerTop = 367.0f, kDividerBottom = 367.0f + 34.0f;

struct PlacedObject {
    int unit = 0;
    float x = 0, y = 0, z = 0;
};

using contenttest::ChildText;

struct Scene {
    RefPtr<Element> root;
    std::map<int, std::string> units;  // id -> sprite
    std::map<std::string, PlacedObject> objects;

    explicit Scene(const std::string& path) {
        XMLDocument doc("scene");
        if (!doc.Load(path)) return;
        root = doc.GetRoot();
        for (const RefPtr<Element>& c : root->GetChildren()) {
            if (c->GetName() == "unit") units[std::atoi(ChildText(*c, "id").c_str())] = ChildText(*c, "sprite");
            if (c->GetName() == "object") {
                PlacedObject o;
                o.unit = std::atoi(ChildText(*c, "id").c_str());
                o.x = float(std::atof(ChildText(*c, "x").c_str()));
                o.y = float(std::atof(ChildText(*c, "y").c_str()));
                o.z = float(std::atof(ChildText(*c, "z").c_str()));
                objects[ChildText(*c, "name")] = o;
            }
        }
    }
    std::vector<RefPtr<Element>> Children(const char* name) const {
        std::vector<RefPtr<Element>> out;
        for (const RefPtr<Element>& c : root->GetChildren())
            if (c->GetName() == name) out.push_back(c);
        return out;
    }
};

using contenttest::Texels;

int AlphaOf(uint32_t c) { return int(c >> 24); }
float LumaOf(uint32_t c) {
    return 0.299f * float((c >> 16) & 255) + 0.587f * float((c >> 8) & 255) + 0.114f * float(c & 255);
}
Texels Read(HGE* hge, const hgeSprite* sprite) { return Texels::Of(hge, *sprite); }

class PortraitArt : public contenttest::ResourceTest {
protected:
    // A sprite declared in the script, loaded, with its texture.
    hgeSprite* Sprite(const std::string& name) {
        hgeSprite* s = rm->GetSprite(name.c_str());
        EXPECT_NE(s, nullptr) << name;
        if (s) {
            EXPECT_NE(s->GetTexture(), 0u) << name;
        }
        return s;
    }
};

TEST_F(PortraitArt, PaintingSceneUsesItsOwnGroupAndItsKeysAreInBothTables) {
    Scene scene("data/Scenes/Portrait.xml");
    ASSERT_TRUE(scene.root);
    EXPECT_EQ(scene.root->GetStringAttribute("type"), "FindDifferences");
    EXPECT_EQ(scene.root->GetIntAttribute("res_group"), 11);
    EXPECT_EQ(scene.root->GetStringAttribute("SceneName"), "SCENE_PORTRAIT");
    EXPECT_FALSE(scene.root->GetStringAttribute("res_file").empty());

    EXPECT_TRUE(rm->Precache(11)) << "every picture of the painting loads";
    ASSERT_EQ(scene.units.size(), 13u) << "the base and twelve details";
    for (const auto& [id, name] : scene.units) {
        SCOPED_TRACE(name);
        const auto* desc = dynamic_cast<const RSprite*>(rm->FindRes(RES_SPRITE, name.c_str()));
        ASSERT_NE(desc, nullptr);
        EXPECT_EQ(desc->resgroup, 11);
        const ResDesc* tex = rm->FindRes(RES_TEXTURE, desc->texname.c_str());
        ASSERT_NE(tex, nullptr);
        EXPECT_EQ(tex->resgroup, 11) << "purged with the scene";
        Sprite(name);
    }

    hgeSprite* divider = Sprite("InGameDividingLine");
    hgeSprite* pointer = Sprite("YCursor");
    ASSERT_TRUE(divider && pointer);
    contenttest::ExpectFrame(divider, 1024.0f, 34.0f, 0.0f, 0.0f);
    contenttest::ExpectFrame(pointer, 48.0f, 32.0f, 0.0f, 16.0f);
    // The arrow's tip is its hot spot: opaque at the left edge's middle only.
    Texels arrow = Read(hge, pointer);
    EXPECT_GT(AlphaOf(arrow.At(1, 16)), 60);
    EXPECT_EQ(AlphaOf(arrow.At(1, 2)), 0);
    EXPECT_EQ(AlphaOf(arrow.At(1, 30)), 0);

    for (const char* table : {"data\\Text\\English.txt", "data\\Text\\Czech.txt"}) {
        hgeStringTable strings(table);
        for (const char* key : {"SCENE_PORTRAIT", "DIFFERENCE", "DIFFERENCES"})
            EXPECT_NE(strings.GetString(key), nullptr) << table << " " << key;
    }
}

TEST_F(PortraitArt, EveryDifferenceIsTwoVariantsAtOnePlaceOfBothHalvesOfAPaintedBase) {
    Scene scene("data/Scenes/Portrait.xml");
    ASSERT_TRUE(scene.root);

    // The picture itself, twice, one above the other.
    const PlacedObject& upper = scene.objects.at("portrait_upper");
    const PlacedObject& lower = scene.objects.at("portrait_lower");
    EXPECT_EQ(upper.unit, lower.unit);
    EXPECT_EQ(scene.units.at(upper.unit), "portrait_harbour");
    EXPECT_EQ(upper.x, 512.0f);
    EXPECT_EQ(upper.y, 192.0f);
    EXPECT_EQ(lower.x, 512.0f);
    EXPECT_EQ(lower.y, 192.0f + kHalf);
    hgeSprite* base = Sprite("portrait_harbour");
    ASSERT_NE(base, nullptr);
    contenttest::ExpectFrame(base, 1024.0f, kHalf, 512.0f, 192.0f);
    Texels painting = Read(hge, base);
    ASSERT_EQ(painting.w, 1024);

    // One And task lists all twelve details.
    std::vector<RefPtr<Element>> tasks = scene.Children("task");
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(tasks[0]->GetStringAttribute("name"), "Differences");
    EXPECT_EQ(tasks[0]->GetStringAttribute("type"), "And");
    EXPECT_EQ(tasks[0]->GetStringAttribute("text_singular"), "DIFFERENCE");
    EXPECT_EQ(tasks[0]->GetStringAttribute("text_plural"), "DIFFERENCES");
    std::set<std::string> wanted;
    for (const RefPtr<Element>& item : tasks[0]->GetChildren()) wanted.insert(item->GetStringAttribute("name"));
    EXPECT_EQ(wanted.size(), 12u);

    std::vector<RefPtr<Element>> pairs = scene.Children("pair");
    ASSERT_EQ(pairs.size(), 6u);
    std::set<std::string> paired;
    for (const RefPtr<Element>& pair : pairs) {
        const std::string n1 = pair->GetStringAttribute("name1"), n2 = pair->GetStringAttribute("name2");
        SCOPED_TRACE(n1 + " / " + n2);
        EXPECT_TRUE(paired.insert(n1).second && paired.insert(n2).second) << "one pair each";
        ASSERT_TRUE(scene.objects.count(n1) && scene.objects.count(n2));
        const PlacedObject& a = scene.objects.at(n1);
        const PlacedObject& b = scene.objects.at(n2);
        EXPECT_EQ(b.x, a.x);
        EXPECT_EQ(b.y, a.y + kHalf) << "same place in the lower half";
        EXPECT_LT(a.y, kHalf);
        EXPECT_NE(a.unit, b.unit) << "two variants of the detail";
        for (const PlacedObject* o : {&a, &b}) {
            EXPECT_GE(o->z, 2.0f);
            EXPECT_LE(o->z, 99.0f);
            EXPECT_GT(o->z, upper.z) << "drawn over the picture";
        }

        hgeSprite* sa = Sprite(scene.units.at(a.unit));
        hgeSprite* sb = Sprite(scene.units.at(b.unit));
        ASSERT_TRUE(sa && sb);
        contenttest::ExpectFrame(sa, sb->GetWidth(), sb->GetHeight(), sb->GetHotSpotX(), sb->GetHotSpotY());
        for (float side : {sa->GetWidth(), sa->GetHeight()}) {
            EXPECT_GE(side, 30.0f) << "findable";
            EXPECT_LE(side, 90.0f) << "not glaring";
        }
        // Wholly inside the painting, clear of the panel and of the divider.
        const float left = a.x - sa->GetHotSpotX(), top = a.y - sa->GetHotSpotY();
        const float right = left + sa->GetWidth(), bottom = top + sa->GetHeight();
        EXPECT_GE(left, kPanelRight);
        EXPECT_LE(right, 1024.0f - 30.0f);
        EXPECT_GE(top, 30.0f);
        EXPECT_LE(bottom, kDividerTop);
        EXPECT_GE(top + kHalf, kDividerBottom);

        // Real alpha: see-through around the detail, opaque enough to be hit,
        // soft at its edges; the two variants differ. The base carries the
        // upper variant and the lower one covers it wholly, so a found
        // difference (both objects leave) leaves a whole picture in each half.
        Texels ta = Read(hge, sa), tb = Read(hge, sb);
        ASSERT_EQ(ta.px.size(), tb.px.size());
        float variantsApart = 0, baseApart[2] = {0, 0};
        int solid[2] = {0, 0};
        for (int v = 0; v < 2; ++v) {
            const Texels& t = v == 0 ? ta : tb;
            int clear = 0, hit = 0, soft = 0;
            for (int y = 0; y < t.h; ++y)
                for (int x = 0; x < t.w; ++x) {
                    uint32_t c = t.At(x, y);
                    int alpha = AlphaOf(c);
                    clear += alpha == 0;
                    hit += alpha > 60;
                    soft += alpha > 0 && alpha < 255;
                    if (alpha > 200) {
                        uint32_t under = painting.At(int(left) + x, int(top) + y);
                        baseApart[v] += std::fabs(LumaOf(c) - LumaOf(under)) +
                                        float(std::abs(int((c >> 16) & 255) - int((under >> 16) & 255))) +
                                        float(std::abs(int(c & 255) - int(under & 255)));
                        ++solid[v];
                    }
                }
            const float n = float(t.w * t.h);
            EXPECT_GT(clear / n, 0.08f) << "variant " << v << " leaves the picture around it";
            EXPECT_GT(hit / n, 0.08f) << "variant " << v << " can be clicked";
            EXPECT_GT(soft, 10) << "variant " << v << " has soft edges";
        }
        for (size_t i = 0; i < ta.px.size(); ++i) {
            uint32_t ca = ta.px[i], cb = tb.px[i];
            variantsApart += float(std::abs(AlphaOf(ca) - AlphaOf(cb))) +
                             std::fabs(LumaOf(ca) * AlphaOf(ca) - LumaOf(cb) * AlphaOf(cb)) /
                                 255.0f +
                             float(std::abs(int((ca >> 16) & 255) - int((cb >> 16) & 255))) * AlphaOf(ca) /
                                 255.0f;
        }
        EXPECT_GT(variantsApart / float(ta.px.size()), 6.0f) << "the two variants tell apart";
        ASSERT_GT(solid[0], 0);
        ASSERT_GT(solid[1], 0);
        EXPECT_LT(baseApart[0] / float(solid[0]), 4.0f) << "the base carries the upper variant";
        EXPECT_GT(baseApart[1] / float(solid[1]), 20.0f) << "the base lacks the lower variant";
        int uncovered = 0;
        for (size_t i = 0; i < ta.px.size(); ++i) uncovered += AlphaOf(ta.px[i]) > 0 && AlphaOf(tb.px[i]) < 250;
        EXPECT_EQ(uncovered, 0) << "the lower variant hides the upper one";
    }
    EXPECT_EQ(paired, wanted) << "every listed detail has its pair, and no other";

    // The base picture is painted, not flat.
    ASSERT_EQ(painting.w * painting.h, 1024 * 384);
    EXPECT_GT(painting.CountAlpha(250), painting.w * painting.h * 9 / 10) << "an opaque picture";
    EXPECT_LT(painting.FlatShare(), 0.05);
    // Warm light against cool shadow: the sky beside the sun and the rock face
    // turned to it are warm, the cliff's far side cool.
    auto warmth = [&](int x0, int y0) {
        float w = 0;
        for (int y = y0; y < y0 + 8; ++y)
            for (int x = x0; x < x0 + 8; ++x) {
                uint32_t c = painting.At(x, y);
                w += float(int((c >> 16) & 255) - int(c & 255));
            }
        return w / 64.0f;
    };
    EXPECT_GT(warmth(470, 190), 60.0f) << "sky at the sun";
    EXPECT_GT(warmth(400, 200), 40.0f) << "lit rock";
    EXPECT_LT(warmth(60, 300), 0.0f) << "rock in shadow";
}

TEST_F(PortraitArt, FixtureScenesNameDeclaredPicturesAndTheirSpecialNames) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    const std::filesystem::path dir = std::filesystem::path(source ? source : "..") / "tests/fixtures/scenes";
    std::map<std::string, std::string> resFiles;
    int scenes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".xml") continue;
        SCOPED_TRACE(entry.path().filename().string());
        Scene scene(entry.path().string());
        ASSERT_TRUE(scene.root);
        ++scenes;
        resFiles[entry.path().stem().string()] = scene.root->GetStringAttribute("res_file");
        for (const auto& [id, name] : scene.units) Sprite(name);
        for (const auto& [name, o] : scene.objects) EXPECT_TRUE(scene.units.count(o.unit)) << name;
    }
    EXPECT_GE(scenes, 5);
    EXPECT_NE(resFiles["Flashlight"].find("data\\Scenes\\Sewer_system_door_generator"), std::string::npos);
    EXPECT_NE(resFiles["AutoMiniGame"].find("data\\Scenes\\Crime_place_nostatue"), std::string::npos);
    // What the special scenes summon must exist.
    for (const char* name : {"compass_Crime_place_measure", "compursor_Crime_place_measure",
                             "line_Crime_place_measure", "FlashlightCursor"})
        Sprite(name);
    Scene measuring((dir / "MeasuringTool.xml").string());
    ASSERT_TRUE(measuring.root);
    bool compass = false;
    for (const auto& [id, name] : measuring.units) compass |= name == "compass_Crime_place_measure";
    EXPECT_TRUE(compass);
}

}  // namespace
