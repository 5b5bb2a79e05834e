// The demo story as a new player meets it at 800 x 600, read from the data
// files as the game reads them (the resource script on the headless engine):
// every thing to find and every difference shows at least 20 pixels across and
// never more than three quarters covered, neither by what is drawn in front of
// it nor by the level's panel; every text key, picture, font and file that a data file
// names is there, the keys in both text tables; and every find-all scene of the
// story (as the map and the scenes chain them) is measured as a hidden-object
// scene, one row of a printed table each, and held to its thresholds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "SceneMeasures.h"
#include "StoryScenes.h"
#include "engine/XMLDocument.h"
#include "graphics/ResDesc.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

using contenttest::Composed;
using contenttest::Drawn;
using contenttest::Glares;
using contenttest::kSolid;
using contenttest::PaintedClutter;
using contenttest::Texels;
using Element = XMLDocument::XMLElement;

const float kSceneToScreen = 0.78125f;
const float kPanelWidth = 180.0f;  // screen pixels the level's panel covers on the left
const float kLeastAcross = 20.0f;  // screen pixels

// A find-all scene hides its list: this many things drawn that are not on it,
// this share of the listed objects partly covered, at most this share glaring.
const int kLeastNonList = 40;
const double kLeastCoveredShare = 0.5;
const double kMostGlaringShare = 0.25;
const int kPartlyCovered = 10;  // per cent of an object's solid texels under something

using contenttest::ChildText;

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The story's scenes, as the map and the scenes string them together: the
// story's floors are held by these.
std::vector<std::string> SceneFiles() { return contenttest::StoryScenes(); }

// The objects a scene's tasks list: their items and the tools they wait for.
std::set<std::string> Listed(const Element& root) {
    std::set<std::string> listed;
    for (const auto& task : root.GetChildren()) {
        if (task->GetName() != "task") continue;
        if (task->HasAttribute("tool_to_find")) listed.insert(task->GetStringAttribute("tool_to_find"));
        for (const auto& item : task->GetChildren()) listed.insert(item->GetStringAttribute("name"));
    }
    return listed;
}

// An object's solid texels, those under something drawn over it, and those
// that show on the screen (neither covered nor under the panel) with their
// bounds in scene units.
struct Cover {
    int solid = 0, covered = 0, shown = 0;
    int x1 = 1 << 20, y1 = 1 << 20, x2 = -1, y2 = -1;
};

Cover CoverOf(const Drawn& o, const std::vector<Drawn>& objects) {
    std::vector<const Drawn*> over;
    for (const Drawn& d : objects)
        if (&d != &o && d.Over(o)) over.push_back(&d);
    Cover c;
    for (int y = 0; y < o.texels.h; ++y)
        for (int x = 0; x < o.texels.w; ++x) {
            if (o.texels.A(x, y) < kSolid) continue;
            ++c.solid;
            const int sx = o.left + x, sy = o.top + y;
            if (std::any_of(over.begin(), over.end(), [&](const Drawn* d) { return d->AlphaAt(sx, sy) >= kSolid; })) {
                ++c.covered;
                continue;
            }
            if (sx * kSceneToScreen < kPanelWidth) continue;
            ++c.shown;
            c.x1 = std::min(c.x1, sx), c.y1 = std::min(c.y1, sy), c.x2 = std::max(c.x2, sx), c.y2 = std::max(c.y2, sy);
        }
    return c;
}

class StoryPass : public contenttest::ResourceTest {
protected:
    // The scene's objects with their pictures, in file order.
    std::vector<Drawn> Objects(const Element& root) {
        std::map<std::string, const hgeSprite*> units;
        for (const auto& e : root.GetChildren()) {
            if (e->GetName() != "unit") continue;
            const std::string sprite = ChildText(*e, "sprite"), animation = ChildText(*e, "animation");
            units[ChildText(*e, "id")] =
                animation.empty() ? rm->GetSprite(sprite.c_str()) : rm->GetAnimation(animation.c_str());
        }
        std::vector<Drawn> drawn;
        for (const auto& e : root.GetChildren()) {
            if (e->GetName() != "object") continue;
            Drawn d;
            d.name = ChildText(*e, "name");
            d.order = int(drawn.size());
            d.z = std::stof("0" + ChildText(*e, "z"));
            const hgeSprite* picture = units[ChildText(*e, "id")];
            EXPECT_NE(picture, nullptr) << d.name;
            if (!picture) continue;
            d.left = int(std::lround(std::stof(ChildText(*e, "x")) - picture->GetHotSpotX()));
            d.top = int(std::lround(std::stof(ChildText(*e, "y")) - picture->GetHotSpotY()));
            d.texels = Texels::Of(hge, *picture);
            drawn.push_back(std::move(d));
        }
        return drawn;
    }
};

TEST_F(StoryPass, EveryThingToFindShowsAtLeast20PixelsAcrossAndIsNeverWhollyCovered) {
    int checked = 0;
    for (const std::string& file : SceneFiles()) {
        SCOPED_TRACE(file);
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded());
        const std::set<std::string> wanted = Listed(*doc.GetRoot());
        const std::vector<Drawn> objects = Objects(*doc.GetRoot());
        for (const Drawn& o : objects) {
            if (!wanted.count(o.name)) continue;
            SCOPED_TRACE(o.name);
            ASSERT_TRUE(o.texels.Ok());
            ++checked;
            const Cover c = CoverOf(o, objects);
            ASSERT_GT(c.shown, 0) << "wholly covered";
            const float across = std::max(c.x2 - c.x1 + 1, c.y2 - c.y1 + 1) * kSceneToScreen;
            const float thick = std::min(c.x2 - c.x1 + 1, c.y2 - c.y1 + 1) * kSceneToScreen;
            EXPECT_GE(across, kLeastAcross) << "too small on the screen: " << across << " x " << thick;
            EXPECT_GE(thick, kLeastAcross / 3) << "too thin on the screen: " << across << " x " << thick;
            EXPECT_GE(c.shown, c.solid / 4) << "mostly covered: " << c.shown << " of " << c.solid << " texels show";
        }
    }
    EXPECT_GE(checked, int(SceneFiles().size())) << "a thing or more in every scene";
}

// Every find-all scene of the story (a scene whose type is not
// "FindDifferences", as the game reads it) as a hidden-object scene, one
// printed row each: the things drawn that are not on the list (decoy objects,
// each less than half the scene wide or high, larger ones being layers such as
// the background; plus the painted clutter), the listed objects partly
// covered, and the listed objects that glare. A scene below the thresholds fails.
TEST_F(StoryPass, FindAllScenesHideTheirListAmongThingsNotOnIt) {
    std::printf("%-22s %6s %7s %8s %6s %11s %11s  %s\n", "find-all scene", "decoys", "clutter", "non-list", "listed",
                "covered", "glaring", "below the thresholds");
    int scenes = 0;
    for (const std::string& file : SceneFiles()) {
        SCOPED_TRACE(file);
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded());
        if (doc.GetRoot()->GetStringAttribute("type") == "FindDifferences") continue;
        ++scenes;
        const std::set<std::string> listed = Listed(*doc.GetRoot());
        const std::vector<Drawn> objects = Objects(*doc.GetRoot());
        const Composed picture(objects);
        int decoys = 0, wanted = 0, covered = 0, glaring = 0;
        std::string open, glare;  // the listed objects in plain sight, those that glare
        for (const Drawn& o : objects) {
            if (!listed.count(o.name)) {
                decoys += o.texels.w * 2 < picture.w || o.texels.h * 2 < picture.h;
                continue;
            }
            ++wanted;
            const Cover c = CoverOf(o, objects);
            const bool partly = c.solid > 0 && c.covered * 100 >= c.solid * kPartlyCovered;
            covered += partly;
            if (!partly) open += " " + o.name;
            if (Glares(o, picture)) ++glaring, glare += " " + o.name;
        }
        const int clutter = PaintedClutter(file);
        const bool fewThings = decoys + clutter < kLeastNonList;
        const bool fewCovered = covered < wanted * kLeastCoveredShare;
        const bool manyGlaring = glaring > wanted * kMostGlaringShare;
        std::printf("%-22s %6d %7d %8d %6d %4d (%3.0f%%) %4d (%3.0f%%)  %s%s%s\n",
                    std::filesystem::path(file).filename().string().c_str(), decoys, clutter, decoys + clutter, wanted,
                    covered, wanted ? 100.0 * covered / wanted : 0.0, glaring, wanted ? 100.0 * glaring / wanted : 0.0,
                    fewThings ? "non-list " : "", fewCovered ? "covered " : "", manyGlaring ? "glaring" : "");
        EXPECT_FALSE(fewThings) << decoys << " decoys and " << clutter << " clutter elements, fewer than "
                                << kLeastNonList << " things not on the list";
        EXPECT_FALSE(fewCovered) << covered << " of " << wanted << " listed objects partly covered; in plain sight:"
                                 << open;
        EXPECT_FALSE(manyGlaring) << glaring << " of " << wanted << " listed objects glaring:" << glare;
    }
    std::printf("thresholds: %d or more non-list things, %.0f%% or more covered (%d%% of an object), "
                "%.0f%% or fewer glaring\n",
                kLeastNonList, kLeastCoveredShare * 100, kPartlyCovered, kMostGlaringShare * 100);
    std::fflush(stdout);
    EXPECT_GE(scenes, 4);
}

// What a data file's attribute names, by the attribute's name.
enum class Names { Text, Picture, Font, File };

const std::map<std::string, Names> kNamed = {
    {"text_singular", Names::Text}, {"text_plural", Names::Text},   {"text_alias", Names::Text},
    {"string", Names::Text},        {"Caption", Names::Text},       {"SceneName", Names::Text},
    {"sprite", Names::Picture},     {"sprite_up", Names::Picture},  {"sprite_over", Names::Picture},
    {"sprite_down", Names::Picture}, {"scaling_sprite", Names::Picture}, {"sprite_name", Names::Picture},
    {"Sprite", Names::Picture},     {"Texture", Names::Picture},    {"texture", Names::Picture},
    {"Background", Names::Picture}, {"tool_sprite", Names::Picture}, {"OnMatchMark", Names::Picture},
    {"DifferencePanel", Names::Picture}, {"ShowOnWin", Names::Picture}, {"StaffStart", Names::Picture},
    {"StaffIntermediate", Names::Picture}, {"StaffFinish", Names::Picture}, {"StaffMoving", Names::Picture},
    {"StaffStaying", Names::Picture}, {"BannerStart", Names::Picture}, {"BannerIntermediate", Names::Picture},
    {"BannerFinish", Names::Picture}, {"BannerMoving", Names::Picture}, {"BannerStaying", Names::Picture},
    {"font", Names::Font},          {"Scene", Names::File},         {"Level", Names::File},
    {"SceneToLoadOnFinish", Names::File}};

// The fonts the game registers at start-up.
const std::set<std::string> kFonts = {"Default", "Default1", "Comics", "Score", "Default14", "DefaultContourless",
                                      "Main", "Main1"};

TEST_F(StoryPass, EveryKeyPictureFontAndFileADataFileNamesIsThere) {
    const hgeStringTable czech("data\\Text\\Czech.txt"), english("data\\Text\\English.txt");
    std::map<Names, int> seen;
    auto check = [&](Names kind, const std::string& value, const std::string& where) {
        ++seen[kind];
        switch (kind) {
        case Names::Text:
            EXPECT_NE(czech.GetString(value.c_str()), nullptr) << where << ": no Czech text " << value;
            EXPECT_NE(english.GetString(value.c_str()), nullptr) << where << ": no English text " << value;
            break;
        case Names::Picture:
            EXPECT_TRUE(rm->FindRes(RES_SPRITE, value.c_str()) || rm->FindRes(RES_ANIMATION, value.c_str()) ||
                        rm->FindRes(RES_TEXTURE, value.c_str()))
                << where << ": no picture " << value;
            break;
        case Names::Font:
            EXPECT_TRUE(kFonts.count(value)) << where << ": no font " << value;
            break;
        case Names::File:
            EXPECT_TRUE(value == "Final" || std::filesystem::is_regular_file(Slashed(value)))
                << where << ": no file " << value;
            break;
        }
    };
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("data"))
        if (entry.path().extension() == ".xml") files.push_back(entry.path().string());
    ASSERT_GE(files.size(), 30u);
    for (const std::string& file : files) {
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded()) << file << ": " << doc.GetLastError();
        std::vector<RefPtr<Element>> open = {doc.GetRoot()};
        while (!open.empty()) {
            const RefPtr<Element> e = open.back();
            open.pop_back();
            open.insert(open.end(), e->GetChildren().begin(), e->GetChildren().end());
            const std::string where = file + " <" + e->GetName() + ">";
            for (const auto& a : e->GetAttributes()) {
                auto named = kNamed.find(a->GetName());
                if (named != kNamed.end()) check(named->second, a->GetValue(), where);
            }
            // Element texts that name pictures, a comic's pictures, the files actions open.
            if (e->GetChildren().empty() && !e->GetAttributes().size() &&
                (e->GetName() == "sprite" || e->GetName() == "animation" || e->GetName() == "ResourceToCache"))
                check(Names::Picture, e->GetValue(), where);
            if (e->GetName() == "sprite" && e->HasAttribute("name"))
                check(Names::Picture, e->GetStringAttribute("name"), where);
            const std::string action = e->GetName() == "action" ? e->GetStringAttribute("type") : "";
            if (action == "MiniGame" || action == "ShowComics") check(Names::File, e->GetStringAttribute("name"), where);
        }
    }
    EXPECT_GT(seen[Names::Text], 150);
    EXPECT_GT(seen[Names::Picture], 200);
    EXPECT_GT(seen[Names::Font], 30);
    EXPECT_GT(seen[Names::File], 10);
}

}  // namespace
