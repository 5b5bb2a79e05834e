// The level in a real (virtual) window with the game's art: the panel slid in
// with the pocket watch, a clue row, the cigar and the glass; the open
// evidence case with one piece in it; and each later scene of the story (as the
// map and the scenes chain them) opened from its own file, its things drawn
// where the file puts them (the sewer's dark over all of the scene, the panel
// out or in, and a cigar's smoke over the dark). Started by CTest through xvfb-run; skipped when there is no
// display.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "platform/FrameDriver.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "scene/PlayField.h"
#include "minigames/MiniGameScreen.h"
#include "screens/BagScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/HelpScreen.h"
#include "screens/LevelScreen.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"
#include "support/TestInput.h"

namespace {

// Two pictures of the study and one clue.
const char* const kScene = R"(<scene res_file="data\Resource\main.res" res_group="10" type="FindAll">
  <unit><sprite>background_Study</sprite><id>1</id></unit>
  <unit><sprite>watch_Study</sprite><id>3</id></unit>
  <object><id>1</id><name>background</name><x>0</x><y>0</y><z>1</z></object>
  <object><id>3</id><name>watch</name><x>300</x><y>300</y><z>20</z></object>
  <task name="Watch" type="And" text_singular="STUDY_WATCH" text_plural="STUDY_WATCH_P"><object name="watch"/></task>
</scene>)";

class LevelWindowEngine : public WindowTestEngine {
public:
    explicit LevelWindowEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        UseGameFonts();
        UsePlayer(dir, "Marlowe");
        Player* player = PlayerManager::Instance()->GetActivePlayer();
        player->Time = 754.0f;
        player->CigarCount = 2;
    }
    // The study scene's level, opened as the game flow opens one.
    LevelScreen* OpenLevel(const TempDir& dir) {
        const std::string scene = dir / "scene.xml";
        std::ofstream(scene) << kScene;
        return OpenLevelFile(scene);
    }
    // A scene file's level, opened as the game flow opens one.
    LevelScreen* OpenLevelFile(const std::string& scene) {
        auto* level = Manager().OpenScreen<LevelScreen>(scene, LevelScreen::kReturnScreen);
        level->SetLayer(2.0f);
        level->SetOpacity(0.0f);
        level->Open();
        return level;
    }
};

template <class Test>
int Around(const Picture& pic, int x, int y, int half, Test test) {
    return pic.Count(x - half, y - half, x + half, y + half, test);
}

bool Brass(int r, int g, int b) { return r > 130 && g > 90 && r > b + 50; }
bool Dark(int r, int g, int b) { return r + g + b < 240; }
bool Green(int r, int g, int b) { return g > r + 10 && g > b; }

}  // namespace

TEST(LevelSnapshot, PanelWithWatchClueCigarAndGlass) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    LevelWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    LevelScreen* level = engine.OpenLevel(folder.dir);
    engine.RunFor(1.5f);
    ASSERT_TRUE(level->IsPanelIn());
    const Picture shot = engine.Snapshot(folder.dir, "level_panel.png");

    // The pocket watch at (65, 50): a brass case; the time beside it.
    EXPECT_GT(Around(shot, 65, 50, 30, Brass), 300);
    // The clue row from (20, 120): dark ink on the parchment.
    EXPECT_GT(shot.Count(20, 114, 110, 132, Dark), 25);
    // The cigar at (50, 360) and the glass's lens at (58, 560).
    EXPECT_GT(Around(shot, 50, 360, 25, [](int r, int g, int b) { return r > 90 && r > b + 30 && g < 170; }), 150);
    EXPECT_GT(Around(shot, 52, 555, 30, Brass), 100);
}

TEST(LevelSnapshot, OpenEvidenceCaseWithOnePiece) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    LevelWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    PlayerManager::Instance()->GetActivePlayer()->Evidences = {"TornTicket"};
    auto* bag = engine.Manager().OpenScreen<BagScreen>("");
    bag->SetLayer(15.0f);
    engine.RunFor(1.0f);
    const Picture shot = engine.Snapshot(folder.dir, "evidence_case.png");
    // Green felt inside the case, the ticket in its place at (300, 160), and an
    // empty place at (500, 160).
    EXPECT_GT(Around(shot, 400, 470, 30, Green), 1500);
    const int ticket = Around(shot, 300, 160, 40, [](int r, int g, int b) { return !Green(r, g, b); });
    const int empty = Around(shot, 500, 160, 40, [](int r, int g, int b) { return !Green(r, g, b); });
    EXPECT_GT(ticket, empty + 1500);
}

namespace {

// One thing placed by a scene file: its picture and its rectangle in scene units.
struct Placed {
    std::string name;
    hgeSprite* picture = nullptr;
    float x = 0, y = 0, z = 0;
    bool sparkles = false;  // named by a "solve_later_object": the sparkle covers its centre
    bool Covers(float px, float py) const {
        const float left = x - picture->GetHotSpotX(), top = y - picture->GetHotSpotY();
        return px >= left && py >= top && px < left + picture->GetWidth() && py < top + picture->GetHeight();
    }
};

std::vector<Placed> PlacedIn(const std::string& file, hgeResourceManager& rm) {
    using Element = XMLDocument::XMLElement;
    auto text = [](const Element& e, const char* name) {
        RefPtr<Element> c = e.FindChild(name);
        return c ? c->GetValue() : std::string();
    };
    XMLDocument doc = XMLDocument::FromFile(file);
    std::map<std::string, hgeSprite*> units;
    std::vector<Placed> placed;
    if (!doc.IsLoaded()) return placed;
    for (const auto& e : doc.GetRoot()->GetChildren())
        if (e->GetName() == "unit")
            units[text(*e, "id")] = text(*e, "animation").empty() ? rm.GetSprite(text(*e, "sprite").c_str())
                                                                  : rm.GetAnimation(text(*e, "animation").c_str());
    for (const auto& e : doc.GetRoot()->GetChildren())
        if (e->GetName() == "object" && units[text(*e, "id")])
            placed.push_back({text(*e, "name"), units[text(*e, "id")], std::stof(text(*e, "x")), std::stof(text(*e, "y")),
                              std::stof(text(*e, "z"))});
    for (const auto& e : doc.GetRoot()->GetChildren())
        if (e->GetName() == "solve_later_object")
            for (Placed& p : placed) p.sparkles = p.sparkles || p.name == e->GetStringAttribute("name");
    return placed;
}

// The story's find-all scenes after its first (the study, whose tutorials the
// lens test goes through), as the map and the scenes chain them.
std::vector<std::string> LaterScenes() {
    std::vector<std::string> scenes;
    for (const GlobalMapData::LevelNode& node : GlobalMapData::Read(LevelScreen::kReturnScreen).nodes) {
        std::string scene = node.level;
        for (int i = 0; i < 8 && !scene.empty() && scene != LevelEvents::kFinalScene; ++i) {
            std::replace(scene.begin(), scene.end(), '\\', '/');
            XMLDocument doc = XMLDocument::FromFile(scene);
            if (!doc.IsLoaded()) break;
            if (doc.GetRoot()->GetStringAttribute("type") != "FindDifferences") scenes.push_back(scene);
            scene = doc.GetRoot()->GetStringAttribute("SceneToLoadOnFinish");
        }
    }
    if (!scenes.empty()) scenes.erase(scenes.begin());
    return scenes;
}

}  // namespace

TEST(LevelSnapshot, EachLaterSceneShowsItsThingsWhereItsFilePutsThem) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    const std::vector<std::string> scenes = LaterScenes();
    EXPECT_GE(scenes.size(), 5u) << "the town hall, the crime place, the docks, the sewer, the warehouse";
    for (const std::string& scene : scenes) {
        const std::string name = std::filesystem::path(scene).stem().string();
        SCOPED_TRACE(name);
        ScopedEnv step("DROVALIN_DT", "0.05");  // the title's seconds pass in fewer frames
        WindowFolder folder;
        LevelWindowEngine engine(folder.dir);
        ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
        // The town hall's opening mini-game (its crime-scene mark) is left out:
        // the picture is the scene's own.
        std::ifstream in(scene, std::ios::binary);
        std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string mark = "data\\Scenes\\Crime_place_nostatue";
        if (xml.find(mark) != std::string::npos) xml.replace(xml.find(mark), mark.size(), "data\\Resource\\main.res");
        // So are an opening comic page and the hint after it.
        for (const char* opening : {"<action type=\"ShowComics\"", "<action type=\"ShowHint\""}) {
            const size_t at = xml.find(opening);
            if (at != std::string::npos) xml.erase(at, xml.find("/>", at) + 2 - at);
        }
        const std::string copy = folder.dir / (std::string(name) + ".xml");
        std::ofstream(copy, std::ios::binary) << xml;
        LevelScreen* level = engine.OpenLevelFile(copy);
        const bool dark =
            level->FindChild<PlayField>("PlayField")->FindChild<ZOLTFramework::CEntity>("Flashlight") != nullptr;
        // Lit points on a grid over the screen's columns x0..x1.
        auto litPoints = [](const Picture& pic, int x0, int x1) {
            int lit = 0;
            for (int y = 20; y < 600; y += 40)
                for (int x = x0; x < x1; x += 20) lit += Picture::Red(pic.At(x, y)) + Picture::Green(pic.At(x, y)) > 60;
            return lit;
        };
        // The scene's title shows first, the panel out: a dark scene is dark
        // on the left too, where the panel stands once in (the light is on
        // the right).
        TestInput::Move(700.0f, 500.0f);
        engine.RunFor(0.5f);
        if (dark) {
            ASSERT_FALSE(level->IsPanelIn());
            const Picture title = engine.Snapshot(folder.dir, std::string("scene_") + name + "_title.png");
            EXPECT_LT(litPoints(title, 0, 200), 3) << "no lit strip left of the scene under the title";
        }
        // The panel slides in after the title.
        for (int i = 0; i < 100 && !level->IsPanelIn(); ++i) engine.RunFor(0.1f);
        ASSERT_TRUE(level->IsPanelIn());
        TestInput::Move(8.0f, 8.0f);  // the pointer rests on the panel's corner
        engine.RunFor(0.5f);
        Picture shot = engine.Snapshot(folder.dir, std::string("scene_") + name + ".png");
        // A dark scene is black but for the flashlight's pool at the pointer:
        // each thing is then looked at with the light on it.
        if (dark) {
            EXPECT_LT(litPoints(shot, 200, 800), 3) << "the scene lies in the dark away from the light";
        } else {
            EXPECT_GT(Around(shot, 65, 50, 30, Brass), 300) << "the pocket watch on the panel";
        }

        // Each thing but one that sparkles from the start, at the solid texel
        // nearest its centre (a 9 x 9 block of opaque texels about it) where
        // nothing stands over it, shows on the screen in its own colour (scene
        // units to the 800 x 600 screen).
        const std::vector<Placed> placed = PlacedIn(scene, *engine.GetResourceManager());
        size_t objects = 0;
        const XMLDocument file = XMLDocument::FromFile(scene);
        ASSERT_TRUE(file.IsLoaded());
        for (const auto& e : file.GetRoot()->GetChildren()) objects += e->GetName() == "object";
        ASSERT_EQ(placed.size(), objects) << "every object of the file with its picture";
        int things = 0;  // what may be compared: neither the background nor sparkling
        HGE* hge = engine.GetHGE();
        int compared = 0;
        for (const Placed& p : placed) {
            if (p.z <= 1.0f || p.sparkles) continue;
            ++things;
            // An animated thing shows whichever frame it has reached (the
            // window's clock is real time): its point is one solid in every
            // frame, and each frame's colour there is a colour it may show.
            auto* animation = dynamic_cast<hgeAnimation*>(p.picture);
            const int frames = animation ? std::max(1, animation->GetFrames()) : 1;
            const HTEXTURE tex = p.picture->GetTexture();
            const int pitch = hge->Texture_GetWidth(tex);
            const DWORD* texels = hge->Texture_Lock(tex, true);
            ASSERT_NE(texels, nullptr) << p.name;
            struct Rect {
                int x, y, w, h;
            };
            std::vector<Rect> rects;
            for (int f = 0; f < frames; ++f) {
                if (animation) animation->SetFrame(f);
                float tx, ty, tw, th;
                p.picture->GetTextureRect(&tx, &ty, &tw, &th);
                rects.push_back({int(tx), int(ty), int(tw), int(th)});
            }
            if (animation) animation->SetFrame(0);
            auto at = [&](const Rect& r, int x, int y) { return texels[size_t(r.y + y) * size_t(pitch) + size_t(r.x + x)]; };
            auto solid = [&](int x, int y) {
                for (const Rect& r : rects)
                    for (int j = -4; j <= 4; ++j)
                        for (int i = -4; i <= 4; ++i)
                            if (x + i < 0 || y + j < 0 || x + i >= r.w || y + j >= r.h || (at(r, x + i, y + j) >> 24) < 250)
                                return false;
                return true;
            };
            const int hx = int(p.picture->GetHotSpotX()), hy = int(p.picture->GetHotSpotY());
            int best = -1, bx = 0, by = 0;
            for (int y = 4; y + 4 < rects[0].h; ++y)
                for (int x = 4; x + 4 < rects[0].w; ++x) {
                    const int d = (x - hx) * (x - hx) + (y - hy) * (y - hy);
                    if ((best < 0 || d < best) && solid(x, y)) best = d, bx = x, by = y;
                }
            std::vector<std::array<int, 3>> colours;  // the block's mean colour in each frame
            for (const Rect& rect : rects) {
                int r = 0, g = 0, b = 0;
                for (int j = -4; best >= 0 && j <= 4; ++j)
                    for (int i = -4; i <= 4; ++i) {
                        const DWORD c = at(rect, bx + i, by + j);
                        r += int(c >> 16) & 255, g += int(c >> 8) & 255, b += int(c) & 255;
                    }
                colours.push_back({r / 81, g / 81, b / 81});
            }
            hge->Texture_Unlock(tex);
            if (best < 0) continue;
            const float px = p.x - hx + bx, py = p.y - hy + by;
            const bool covered = std::any_of(placed.begin(), placed.end(), [&](const Placed& o) {
                return (o.z > p.z || (o.z == p.z && &o > &p)) && o.Covers(px, py);  // drawn after it
            });
            if (covered || px * 0.78125f < 190.0f) continue;
            const int sx = int(px * 0.78125f), sy = int(py * 0.78125f);
            if (dark) {
                TestInput::Move(float(sx - 40), float(sy - 40));  // the pointer itself off the spot
                engine.RunFor(0.05f);
                shot = engine.Snapshot(folder.dir, std::string("scene_") + name + "_lit.png");
            }
            int sr = 0, sg = 0, sb = 0;  // the screen's mean colour there
            for (int j = -2; j <= 2; ++j)
                for (int i = -2; i <= 2; ++i) {
                    const uint32_t c = shot.At(sx + i, sy + j);
                    sr += Picture::Red(c), sg += Picture::Green(c), sb += Picture::Blue(c);
                }
            sr /= 25, sg /= 25, sb /= 25;
            ++compared;
            int nearest = 1 << 30;
            for (const auto& c : colours)
                nearest = std::min(nearest, std::abs(sr - c[0]) + std::abs(sg - c[1]) + std::abs(sb - c[2]));
            EXPECT_LT(nearest, 60) << p.name << " at (" << sx << ", " << sy << ") shows (" << sr << ", " << sg << ", "
                                   << sb << ") for its (" << colours[0][0] << ", " << colours[0][1] << ", "
                                   << colours[0][2] << ")" << (frames > 1 ? " or another frame's" : "");
        }
        EXPECT_GE(compared * 2, things) << "half the things at least show where nothing covers them";
        if (dark) {
            // A cigar's hint: its smoke ring circles the thing in the dark,
            // drawn over the dark.
            TestInput::Move(50.0f, 360.0f);
            engine.RunFor(0.2f);
            const Picture before = engine.Snapshot(folder.dir, std::string("scene_") + name + "_cigar.png");
            TestInput::Key(InputEvent::Press, HGEK_LBUTTON);
            engine.RunFor(1.2f);
            const Picture smoke = engine.Snapshot(folder.dir, std::string("scene_") + name + "_hint.png");
            int brighter = 0;
            for (int y = 0; y < 600; y += 2)
                for (int x = 200; x < 800; x += 2) {
                    const uint32_t a = before.At(x, y), b = smoke.At(x, y);
                    brighter += Picture::Red(b) + Picture::Green(b) + Picture::Blue(b) >
                                Picture::Red(a) + Picture::Green(a) + Picture::Blue(a) + 60;
                }
            EXPECT_GT(brighter, 150) << "the smoke shows in the dark";
        }
    }
}

// The letter asked for by the level: it covers the level with its help window
// on top; Enter leaves the letter alone over the level, whose panel has gone.
TEST(LevelSnapshot, LetterOverTheLevelWithItsHelp) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    LevelWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    if (!std::filesystem::exists("data/MiniGames/15.2.xml")) GTEST_SKIP() << "no letter";
    LevelScreen* level = engine.OpenLevel(folder.dir);
    engine.RunFor(0.8f);
    const Picture plain = engine.Snapshot(folder.dir, "level_before_letter.png");
    level->OnQuestion("MiniGame", "data/MiniGames/15.2.xml");
    for (int i = 0; i < 40 && !dynamic_cast<HelpScreen*>(engine.Manager().GetTopScreen()); ++i) engine.RunFor(0.05f);
    engine.RunFor(0.3f);
    ASSERT_NE(dynamic_cast<HelpScreen*>(engine.Manager().GetTopScreen()), nullptr);
    const Picture help = engine.Snapshot(folder.dir, "level_letter_help.png");
    TestInput::Key(InputEvent::Press, HGEK_ENTER);
    engine.RunFor(0.5f);
    ASSERT_EQ(engine.Manager().GetTopScreen(), static_cast<ZOLTFramework::CEntity*>(level->RunningMiniGame()));
    const Picture letter = engine.Snapshot(folder.dir, "level_letter.png");
    // The letter's desk and blotter cover the study and the panel's watch; the
    // help window stood over the letter.
    auto differing = [](const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; y += 5)
            for (int x = x0; x < x1; x += 5) n += a.At(x, y) != b.At(x, y) ? 1 : 0;
        return n;
    };
    EXPECT_GT(Around(plain, 65, 50, 30, Brass), 300);
    EXPECT_GT(differing(plain, letter, 35, 20, 95, 80), 120) << "the watch is covered";
    EXPECT_GT(differing(plain, letter, 250, 100, 750, 500), 6400) << "the letter's board over the study";
    const int helpShown = differing(help, letter, 300, 200, 500, 400);
    EXPECT_GT(helpShown, 1200) << "the help window over the letter";
}
