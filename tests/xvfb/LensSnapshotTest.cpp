// The magnifying glass in a real (virtual) window: inside the lens the scene
// shows enlarged 1.664 times about the mouse, outside the frame it is as it
// was; on the harbour painting the plain cursor and the glass have mirrored
// twins in the other half. The snapshots are kept in snapshots/ beside the
// test program.
#include <memory>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "graphics/hgeResourceManager.h"
#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"
#include "scene/PlayField.h"
#include "scene/SceneObjectsLayer.h"
#include "SnapshotPicture.h"
#include "support/TestInput.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/SceneTestEngine.h"
#include "WindowTestEngine.h"

namespace {

class SceneWindowEngine : public WindowTestEngine {
public:
    using WindowTestEngine::WindowTestEngine;
    void UseScript(const std::string& script) {
        SetResourceManager(std::make_unique<hgeResourceManager>(script.c_str()));
    }
};

// Pixels of the circle around (mx, my) that show the plain picture enlarged
// about that point, and pixels of the ring beyond the frame that show it as it was.
void CompareLens(const Picture& plain, const Picture& lens, float mx, float my, int insideTolerance,
                 int* inside, int* insideMatch, int* outside, int* outsideMatch);

bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(Picture::Red(a) - Picture::Red(b)) <= tolerance &&
           std::abs(Picture::Green(a) - Picture::Green(b)) <= tolerance &&
           std::abs(Picture::Blue(a) - Picture::Blue(b)) <= tolerance;
}

void CompareLens(const Picture& plain, const Picture& lens, float mx, float my, int insideTolerance,
                 int* inside, int* insideMatch, int* outside, int* outsideMatch) {
    for (int y = int(my) - 130; y < int(my) + 130; ++y)
        for (int x = int(mx) - 130; x < int(mx) + 130; ++x) {
            if (x < 180 || y < 0 || x >= 800 || y >= 600) continue;
            const float r = std::hypot(x + 0.5f - mx, y + 0.5f - my);
            if (r < 40.0f) {
                const int sx = int(std::lround(mx + (x + 0.5f - mx) / PlayField::kLensScale - 0.5f));
                const int sy = int(std::lround(my + (y + 0.5f - my) / PlayField::kLensScale - 0.5f));
                ++*inside;
                *insideMatch += Near(lens.At(x, y), plain.At(sx, sy), insideTolerance) ? 1 : 0;
            } else if (r > 70.0f && (x < mx || y < my)) {  // the handle points down and right
                ++*outside;
                *outsideMatch += Near(lens.At(x, y), plain.At(x, y), 8) ? 1 : 0;
            }
        }
}

// Pixels of the square around (cx, cy) whose colours differ by more than 24 in sum.
int Changed(const Picture& a, const Picture& b, int cx, int cy, int half) {
    int changed = 0;
    for (int y = cy - half; y < cy + half; ++y)
        for (int x = cx - half; x < cx + half; ++x) {
            const uint32_t p = a.At(x, y), q = b.At(x, y);
            const int d = std::abs(Picture::Red(p) - Picture::Red(q)) + std::abs(Picture::Green(p) - Picture::Green(q)) +
                          std::abs(Picture::Blue(p) - Picture::Blue(q));
            changed += d > 24 ? 1 : 0;
        }
    return changed;
}

// Opens the game's scene with the mouse at (mx, my) and runs until it is fully shown.
LevelStandIn* ShowGameScene(const std::string& scene, SceneWindowEngine& engine, float mx, float my) {
    engine.UseResources();
    engine.UseEnglishText();
    PlayerManager::Instance()->Timer->Clear();
    auto* level = new LevelStandIn(scene);
    PlayField* field = level->Field();
    TestInput::Move(mx, my);
    FrameDriver::RunFrames(2);
    for (int i = 0; i < 3000 && level->EventsNamed("ShowPanel").empty(); ++i) FrameDriver::RunFrames(1);
    EXPECT_EQ(level->EventsNamed("ShowPanel").size(), 1u);
    for (int i = 0; i < 3000 && !field->IsFullyShown(); ++i) FrameDriver::RunFrames(1);
    EXPECT_TRUE(field->IsFullyShown());
    return level;
}

// The glass, kept as the cursor of the field, at (mx, my).
void TakeGlass(PlayField* field, SceneWindowEngine& engine, float mx, float my) {
    field->OnRightButton(true);
    TestInput::Move(mx, my);
    FrameDriver::RunFrames(2);
}

}  // namespace

TEST(LensSnapshot, TheLensEnlargesTheSceneAboutTheMouse) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    SceneWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    engine.UseScript(WriteSceneFixtureArt(folder.dir.Path()));
    PlayerManager::Instance()->Timer->Clear();
    folder.dir.Write("lens.xml", R"(<scene res_file="x" res_group="10" type="FindAll">
      <unit><sprite>Backdrop</sprite><id>1</id></unit>
      <object><id>1</id><name>backdrop</name><x>200</x><y>100</y><z>1</z></object></scene>)");
    auto* level = new LevelStandIn(folder.dir / "lens.xml");
    PlayField* field = level->Field();
    const float mx = 356.0f, my = 228.0f;
    TestInput::Move(mx, my);
    FrameDriver::RunFrames(2);
    for (int i = 0; i < 200 && !field->IsFullyShown(); ++i) FrameDriver::RunFrames(1);
    field->FindChild<SceneObjectsLayer>("ObjectsLayer")->SetCursorSprite(nullptr);  // nothing at the mouse in the plain picture
    FrameDriver::RunFrames(1);
    const Picture plain = engine.Snapshot(folder.dir, "lens_fixture_plain.png");
    TakeGlass(field, engine, mx, my);
    const Picture lens = engine.Snapshot(folder.dir, "lens_fixture.png");
    ASSERT_EQ(lens.w, 800);
    ASSERT_EQ(plain.w, 800);

    // Inside the hole (radius 48): the plain picture's point M + (p - M) / 1.664.
    int inside = 0, insideMatch = 0, outside = 0, outsideMatch = 0;
    CompareLens(plain, lens, mx, my, 40, &inside, &insideMatch, &outside, &outsideMatch);
    EXPECT_GT(insideMatch, inside * 85 / 100) << insideMatch << " of " << inside;
    EXPECT_GT(outsideMatch, outside * 99 / 100) << outsideMatch << " of " << outside;
    // And the lens really differs from the plain picture inside.
    int changed = 0;
    for (int y = int(my) - 30; y < int(my) + 30; ++y)
        for (int x = int(mx) - 30; x < int(mx) + 30; ++x) changed += Near(lens.At(x, y), plain.At(x, y), 8) ? 0 : 1;
    EXPECT_GT(changed, 500);
    level->Kill();
    FrameDriver::RunFrames(1);
}

TEST(LensSnapshot, TheStudyAndItsLens) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    SceneWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    const float mx = 600.0f, my = 460.0f;  // clear of the title
    auto* level = ShowGameScene("data/Scenes/Study.xml", engine, mx, my);
    PlayField* field = level->Field();
    ASSERT_TRUE(field->IsFullyShown());
    field->FindChild<SceneObjectsLayer>("ObjectsLayer")->SetCursorSprite(nullptr);
    FrameDriver::RunFrames(1);
    const Picture plain = engine.Snapshot(folder.dir, "study.png");
    ASSERT_EQ(plain.w, 800);
    // The painting fills the field: hardly a black pixel right of the panel.
    const int dark = plain.Count(180, 0, 800, 600, [](int r, int g, int b) { return r + g + b < 6; });
    EXPECT_LT(dark, 620 * 600 / 100);

    TakeGlass(field, engine, mx, my);
    const Picture lens = engine.Snapshot(folder.dir, "study_lens.png");
    int inside = 0, insideMatch = 0, outside = 0, outsideMatch = 0;
    // A painting has fine detail: enlarged, a pixel matches its source less closely.
    CompareLens(plain, lens, mx, my, 48, &inside, &insideMatch, &outside, &outsideMatch);
    EXPECT_GT(insideMatch, inside * 80 / 100) << insideMatch << " of " << inside;
    EXPECT_GT(outsideMatch, outside * 97 / 100) << outsideMatch << " of " << outside;
    level->Kill();
    FrameDriver::RunFrames(1);
}

TEST(LensSnapshot, TheGlassInThePaintingsLowerHalfShowsBothLensesAndTheMirroredCursor) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    SceneWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    const float mx = 520.0f, my = 430.0f;  // lower half; the mirrored point is (520, 130)
    auto* level = ShowGameScene("data/Scenes/Portrait.xml", engine, mx, my);
    PlayField* field = level->Field();
    ASSERT_TRUE(field->IsFullyShown());

    // The plain cursor and its twin, against the picture without cursors.
    SceneObjectsLayer* layer = field->FindChild<SceneObjectsLayer>("ObjectsLayer");
    hgeSprite* cursor = layer->GetCursorSprite();
    ASSERT_NE(cursor, nullptr);
    layer->SetCursorSprite(nullptr);
    FrameDriver::RunFrames(1);
    const Picture bare = engine.Snapshot(folder.dir, "portrait.png");
    layer->SetCursorSprite(cursor);
    FrameDriver::RunFrames(1);
    const Picture cursors = engine.Snapshot(folder.dir, "portrait_cursors.png");
    EXPECT_GT(Changed(bare, cursors, int(mx), int(my), 24), 40) << "the cursor at the mouse";
    EXPECT_GT(Changed(bare, cursors, int(mx), int(my) - 300, 24), 40) << "its mirrored twin";

    // The glass: a lens at the mouse and one at the mirrored point.
    TakeGlass(field, engine, mx, my);
    const Picture lens = engine.Snapshot(folder.dir, "portrait_lens_lower.png");
    EXPECT_GT(Changed(bare, lens, int(mx), int(my), 60), 2000) << "the lens at the mouse";
    EXPECT_GT(Changed(bare, lens, int(mx), int(my) - 300, 60), 2000) << "the mirrored lens";
    EXPECT_LT(Changed(bare, lens, 300, 290, 20), 40) << "between them the painting is as it was";
    level->Kill();
    FrameDriver::RunFrames(1);
}
