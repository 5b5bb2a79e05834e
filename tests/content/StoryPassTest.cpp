// The demo story as a new player meets it at 800 x 600, read from the data
// files as the game reads them (the resource script on the headless engine):
// every thing to find and every difference shows at least 20 pixels across and
// never more than three quarters covered, neither by what is drawn in front of
// it nor by the level's panel; and every text key, picture, font and file that a data file
// names is there, the keys in both text tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/ResDesc.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"

namespace {

using contenttest::Texels;
using Element = XMLDocument::XMLElement;

const float kSceneToScreen = 0.78125f;
const float kPanelWidth = 180.0f;  // screen pixels the level's panel covers on the left
const int kSolid = 128;            // a texel this opaque shows, or covers what lies under it
const float kLeastAcross = 20.0f;  // screen pixels

const char* const kScenes[] = {"data/Scenes/Study.xml", "data/Scenes/Portrait.xml", "data/Scenes/TownHall.xml",
                               "data/Scenes/Docks.xml", "data/Scenes/Warehouse.xml"};

using contenttest::ChildText;

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// One object of a scene as it is drawn: its texels at their place in scene units.
struct Drawn {
    std::string name;
    float z = 0;
    int order = 0;
    int left = 0, top = 0;
    Texels texels;
    int AlphaAt(int x, int y) const {
        x -= left, y -= top;
        return x < 0 || y < 0 || x >= texels.w || y >= texels.h ? 0 : texels.A(x, y);
    }
    // Drawn after the other: higher up, or as high and later in the file.
    bool Over(const Drawn& other) const { return z > other.z || (z == other.z && order > other.order); }
};

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
    for (const char* file : kScenes) {
        SCOPED_TRACE(file);
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded());
        const Element& root = *doc.GetRoot();
        std::set<std::string> wanted;
        for (const auto& task : root.GetChildren()) {
            if (task->GetName() != "task") continue;
            if (task->HasAttribute("tool_to_find")) wanted.insert(task->GetStringAttribute("tool_to_find"));
            for (const auto& item : task->GetChildren()) wanted.insert(item->GetStringAttribute("name"));
        }
        const std::vector<Drawn> objects = Objects(root);
        for (const Drawn& o : objects) {
            if (!wanted.count(o.name)) continue;
            SCOPED_TRACE(o.name);
            ASSERT_TRUE(o.texels.Ok());
            ++checked;
            std::vector<const Drawn*> over;
            for (const Drawn& d : objects)
                if (&d != &o && d.Over(o)) over.push_back(&d);
            int solid = 0, shown = 0;
            int x1 = 1 << 20, y1 = 1 << 20, x2 = -1, y2 = -1;
            for (int y = 0; y < o.texels.h; ++y)
                for (int x = 0; x < o.texels.w; ++x) {
                    if (o.texels.A(x, y) < kSolid) continue;
                    ++solid;
                    const int sx = o.left + x, sy = o.top + y;
                    if (sx * kSceneToScreen < kPanelWidth) continue;
                    if (std::any_of(over.begin(), over.end(), [&](const Drawn* d) { return d->AlphaAt(sx, sy) >= kSolid; }))
                        continue;
                    ++shown;
                    x1 = std::min(x1, sx), y1 = std::min(y1, sy), x2 = std::max(x2, sx), y2 = std::max(y2, sy);
                }
            ASSERT_GT(shown, 0) << "wholly covered";
            const float across = std::max(x2 - x1 + 1, y2 - y1 + 1) * kSceneToScreen;
            const float thick = std::min(x2 - x1 + 1, y2 - y1 + 1) * kSceneToScreen;
            EXPECT_GE(across, kLeastAcross) << "too small on the screen: " << across << " x " << thick;
            EXPECT_GE(thick, kLeastAcross / 3) << "too thin on the screen: " << across << " x " << thick;
            EXPECT_GE(shown, solid / 4) << "mostly covered: " << shown << " of " << solid << " texels show";
        }
    }
    EXPECT_GE(checked, 5 * 12) << "a dozen things or more in every scene";
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
