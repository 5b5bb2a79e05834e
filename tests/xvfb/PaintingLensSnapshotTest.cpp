// The harbour painting under Xvfb with the mouse in its lower half: the plain
// cursor has its mirrored twin in the upper half, and the glass shows two
// lenses, one at the mouse and one at the mirrored point. The snapshots are
// kept in snapshots/ beside the test program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"
#include "scene/PlayField.h"
#include "scene/SceneObjectsLayer.h"
#include "SnapshotPicture.h"
#include "support/scene/LevelStandIn.h"
#include "WindowTestEngine.h"

namespace {

Picture PaintingSnapshot(HGE* hge, const std::string& name) {
    std::filesystem::create_directories("snapshots");
    const std::string file = std::filesystem::absolute("snapshots/" + name).string();
    hge->System_Snapshot(file.c_str());
    FrameDriver::RunFrames(1);
    Picture pic;
    EXPECT_TRUE(LoadPng(file, pic)) << file;
    return pic;
}

// Pixels of the square around (cx, cy) that differ between the pictures.
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

}  // namespace

TEST(PaintingLensSnapshot, TheGlassInTheLowerHalfShowsBothLensesAndTheMirroredCursor) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    WindowTestEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    engine.UseResources();
    engine.UseEnglishText();
    PlayerManager::Instance()->Timer->Clear();
    auto* level = new LevelStandIn("data/Scenes/Portrait.xml");
    PlayField* field = level->Field();
    const float mx = 520.0f, my = 430.0f;  // lower half; the mirrored point is (520, 130)
    engine.GetHGE()->Input_SetMousePos(mx, my);
    FrameDriver::RunFrames(2);
    for (int i = 0; i < 3000 && !field->IsPanelShown(); ++i) FrameDriver::RunFrames(1);
    ASSERT_TRUE(field->IsPanelShown());
    for (int i = 0; i < 3000 && !field->IsFullyShown(); ++i) FrameDriver::RunFrames(1);
    ASSERT_TRUE(field->IsFullyShown());

    // The plain cursor and its twin, against the picture without cursors.
    SceneObjectsLayer* layer = field->GetObjectsLayer();
    hgeSprite* cursor = layer->GetCursorSprite();
    ASSERT_NE(cursor, nullptr);
    layer->SetCursorSprite(nullptr);
    FrameDriver::RunFrames(1);
    const Picture bare = PaintingSnapshot(engine.GetHGE(), "portrait.png");
    layer->SetCursorSprite(cursor);
    FrameDriver::RunFrames(1);
    const Picture cursors = PaintingSnapshot(engine.GetHGE(), "portrait_cursors.png");
    EXPECT_GT(Changed(bare, cursors, int(mx), int(my), 24), 40) << "the cursor at the mouse";
    EXPECT_GT(Changed(bare, cursors, int(mx), int(my) - 300, 24), 40) << "its mirrored twin";

    // The glass: a lens at the mouse and one at the mirrored point.
    field->OnRightButton(true);
    engine.GetHGE()->Input_SetMousePos(mx, my);
    FrameDriver::RunFrames(2);
    EXPECT_TRUE(layer->IsSplitView());
    const Picture lens = PaintingSnapshot(engine.GetHGE(), "portrait_lens_lower.png");
    EXPECT_GT(Changed(bare, lens, int(mx), int(my), 60), 2000) << "the lens at the mouse";
    EXPECT_GT(Changed(bare, lens, int(mx), int(my) - 300, 60), 2000) << "the mirrored lens";
    EXPECT_LT(Changed(bare, lens, 300, 290, 20), 40) << "between them the painting is as it was";
    level->Kill();
    FrameDriver::RunFrames(1);
}
