// Where a player aims: at the middle of what they look for. Every map node and
// every object a scene's tasks list must take a click there, one printed row
// each. A picture's middle is the 7 x 7 texels round its middle texel (w / 2,
// h / 2), where the resources put the hot spot, the point that stands at the
// node's or the object's place. A texel takes the click as the game's tests
// read it: a map node's with any alpha at all, a scene object's with alpha
// above 60 (the play field's hit test). The middle takes a click when more
// than half of its 49 texels do (25 or more): the hit test also reads a ring
// of 2.9 scene pixels round the pointer, so a click anywhere in such a patch
// lands by a texel that takes it. A hollow middle (a ring, a draped "U", a
// thin chain) has 10 or fewer; the solid things of the story have 40 or more.
// In a find-the-differences scene a press tests both halves at the same
// point, so a thing and its twin at the mirrored place count together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeSprite.h"

namespace {

using contenttest::ChildText;
using contenttest::Texels;
using Element = XMLDocument::XMLElement;

const int kNodeAlpha = 0;   // a map node: a texel with alpha not 0
const int kHitAlpha = 60;   // a scene object: alpha above 60
const int kPatch = 7;       // the middle, texels across and high
const int kLeastMiddle = 25;  // of the middle's 49 texels, more than half
const float kHalfScene = 384.0f;  // a difference's twin lies this far below

// Texels of the picture's middle that take a click; with a twin (a picture of
// the same size at the mirrored place), those of either.
int MiddleTexels(const Texels& t, int aboveAlpha, const Texels* twin = nullptr) {
    int n = 0;
    for (int y = t.H() / 2 - kPatch / 2; y <= t.H() / 2 + kPatch / 2; ++y)
        for (int x = t.W() / 2 - kPatch / 2; x <= t.W() / 2 + kPatch / 2; ++x) {
            if (x < 0 || y < 0 || x >= t.W() || y >= t.H()) continue;
            n += t.A(x, y) > aboveAlpha || (twin && twin->A(x, y) > aboveAlpha);
        }
    return n;
}

// Share of the picture's texels that take a click.
double TakingShare(const Texels& t, int aboveAlpha) {
    return t.Ok() ? double(t.CountAlpha(aboveAlpha + 1)) / (double(t.W()) * t.H()) : 0.0;
}

class ClickMiddles : public contenttest::ResourceTest {
protected:
    // The texels of a sprite or of an animation's first frame; empty when
    // the resource script has neither.
    Texels Picture(const std::string& name) {
        const hgeSprite* sprite = rm->GetSprite(name.c_str());
        if (!sprite) sprite = rm->GetAnimation(name.c_str());
        return sprite ? Texels::Of(hge, *sprite) : Texels();
    }
    std::string Source() const {
        const char* source = std::getenv("DROVALIN_SOURCE_DIR");
        return source ? source : "..";
    }
};

// The rule on small pictures: a hollow ring fails where a ring with a tag
// across it passes; a faint middle (alpha 40) is a map node's but no scene
// object's; a middle of exactly 25 solid texels passes, one of 24 fails.
TEST_F(ClickMiddles, FixturePicturesShowWhatAMiddleThatTakesAClickIs) {
    struct Row {
        const char* file;
        int aboveAlpha;
        int middle;
        bool takes;
    };
    const Row rows[] = {
        {"hollow_ring.png", kNodeAlpha, 0, false},  {"hollow_ring.png", kHitAlpha, 0, false},
        {"tagged_ring.png", kHitAlpha, 49, true},   {"faint_disc.png", kNodeAlpha, 49, true},
        {"faint_disc.png", kHitAlpha, 0, false},    {"checker_25.png", kHitAlpha, 25, true},
        {"checker_24.png", kHitAlpha, 24, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " above alpha " + std::to_string(row.aboveAlpha));
        const std::string path = Source() + "/tests/fixtures/pictures/" + row.file;
        const HTEXTURE tex = hge->Texture_Load(path.c_str());
        const Texels t = Texels::Of(hge, tex);
        if (tex) hge->Texture_Free(tex);
        ASSERT_TRUE(t.Ok()) << path;
        EXPECT_EQ(MiddleTexels(t, row.aboveAlpha), row.middle);
        EXPECT_EQ(MiddleTexels(t, row.aboveAlpha) >= kLeastMiddle, row.takes);
    }
}

TEST_F(ClickMiddles, EveryMapNodeAndEveryListedObjectTakesAClickInItsMiddle) {
    XMLDocument map = XMLDocument::FromFile("data/GlobalMapScreen.xml");
    ASSERT_TRUE(map.IsLoaded());
    std::printf("%-18s %-18s %7s %7s  %s\n", "map node", "picture", "opaque", "middle",
                "takes a click (alpha above 0)");
    int nodes = 0;
    for (const auto& e : map.GetRoot()->GetChildren()) {
        if (e->GetName() != "LevelNode") continue;
        ++nodes;
        const std::string node = e->GetStringAttribute("Name"), sprite = e->GetStringAttribute("Sprite");
        const Texels t = Picture(sprite);
        const int middle = MiddleTexels(t, kNodeAlpha);
        std::printf("%-18s %-18s %6.0f%% %4d/49  %s\n", node.c_str(), sprite.c_str(),
                    100.0 * TakingShare(t, kNodeAlpha), middle, middle >= kLeastMiddle ? "yes" : "NO");
        EXPECT_TRUE(t.Ok()) << node << ": no picture " << sprite;
        EXPECT_GE(middle, kLeastMiddle) << node << ": a click on the middle of " << sprite << " misses";
    }
    EXPECT_EQ(nodes, 4);

    const std::vector<std::string> files = contenttest::SceneFiles();
    std::printf("\n%-15s %-26s %-30s %7s %7s  %s\n", "scene", "listed object", "picture", "opaque", "middle",
                "takes a click (alpha above 60)");
    int objects = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded());
        const Element& root = *doc.GetRoot();
        const bool differences = root.GetStringAttribute("type") == "FindDifferences";
        struct Placed {
            std::string picture;
            float x = 0, y = 0;
        };
        std::map<std::string, std::string> units;  // id: sprite or animation
        std::map<std::string, Placed> placed;      // object name: its picture and place
        std::map<std::string, std::string> twins;
        std::vector<std::string> listed;  // in the order the tasks name them
        for (const auto& e : root.GetChildren()) {
            const std::string kind = e->GetName();
            if (kind == "unit") {
                const std::string sprite = ChildText(*e, "sprite");
                units[ChildText(*e, "id")] = sprite.empty() ? ChildText(*e, "animation") : sprite;
            } else if (kind == "object") {
                placed[ChildText(*e, "name")] = {units[ChildText(*e, "id")], std::stof("0" + ChildText(*e, "x")),
                                                 std::stof("0" + ChildText(*e, "y"))};
            } else if (kind == "task") {
                for (const auto& item : e->GetChildren())
                    if (std::find(listed.begin(), listed.end(), item->GetStringAttribute("name")) == listed.end())
                        listed.push_back(item->GetStringAttribute("name"));
            } else if (kind == "pair") {
                twins[e->GetStringAttribute("name1")] = e->GetStringAttribute("name2");
                twins[e->GetStringAttribute("name2")] = e->GetStringAttribute("name1");
            }
        }
        for (const std::string& name : listed) {
            const auto at = placed.find(name);
            if (at == placed.end()) continue;  // named by a task, never drawn: the story checks that
            ++objects;
            const Texels t = Picture(at->second.picture);
            // The twin counts when it lies at the mirrored place in a picture of the same size.
            Texels twin;
            if (differences && twins.count(name) && placed.count(twins[name])) {
                const Placed& other = placed[twins[name]];
                twin = Picture(other.picture);
                const bool mirrored = other.x == at->second.x && std::abs(other.y - at->second.y) == kHalfScene;
                if (!mirrored || twin.W() != t.W() || twin.H() != t.H()) twin = Texels();
            }
            const int middle = MiddleTexels(t, kHitAlpha, twin.Ok() ? &twin : nullptr);
            const bool takes = middle >= kLeastMiddle;
            std::printf("%-15s %-26s %-30s %6.0f%% %4d/49  %s%s\n",
                        std::filesystem::path(file).filename().string().c_str(), name.c_str(),
                        at->second.picture.c_str(), 100.0 * TakingShare(t, kHitAlpha), middle, takes ? "yes" : "NO",
                        twin.Ok() ? " (with its twin)" : "");
            EXPECT_TRUE(t.Ok()) << name << ": no picture " << at->second.picture;
            EXPECT_TRUE(takes) << name << ": a click on the middle of " << at->second.picture << " misses ("
                               << middle << " of 49 texels take it)";
        }
    }
    std::printf("a middle takes a click with %d or more of its %d x %d texels\n", kLeastMiddle, kPatch, kPatch);
    std::fflush(stdout);
    EXPECT_GE(objects, 6 * 12) << "a dozen things or more in every scene";
}

}  // namespace
