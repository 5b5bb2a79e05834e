// A title animates in a real (virtual) window: its letters fade in one after
// another through the whole frame path (entity manager, effectors, font), and
// the snapshot shows every letter. Started by CTest through xvfb-run; skipped
// when there is no display.
#include <gtest/gtest.h>

#include <string>

#include "entities/widgets/CLetterEntity.h"
#include "entities/widgets/CTitleEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "platform/FrameDriver.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"
#include "support/engine/DrawnText.h"

namespace {

// Lit pixels of the rectangle: red and green at least `level` (the glyphs
// are a warm white).
int Bright(const Picture& pic, int x1, int y1, int x2, int y2, int level = 120) {
    return pic.Count(x1, y1, x2, y2, [level](int r, int g, int) { return r >= level && g >= level; });
}

}  // namespace

TEST(TitleSnapshot, LettersFadeInAndShowInTheSnapshot) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    const TempDir& dir = folder.dir;

    WindowTestEngine engine(dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    hgeFont* font = FontRegistry::Instance().LoadFont("Main", "data\\Font\\main.fnt");
    ASSERT_NE(font, nullptr);
    ASSERT_NE(TextureOf(font), 0u);

    auto* title = new ZOLTFramework::CTitleEntity();
    title->SetPosXY(400, 300);
    title->SetLayer(70.0f);
    engine.Manager().Add(title);
    const std::string text = "DROVALIN";
    const float end = title->SetText(text, "Main", 2);  // fade style
    EXPECT_NEAR(end, 0.35f + 2.8f, 1e-4f);
    std::vector<ZOLTFramework::CLetterEntity*> letters;  // the title's letter children, in text order
    for (auto* child : title->GetChildren()) letters.push_back(dynamic_cast<ZOLTFramework::CLetterEntity*>(child));
    ASSERT_EQ(letters.size(), text.size());

    // Frames until the last letter is fully visible (0.55 s in); the first one
    // stays so until 2.5 s, so every letter shows in the next frame.
    int frames = 0;
    float halfWay = -1.0f;
    while (letters.back()->GetOpacity() < 1.0f && frames < 20000) {
        FrameDriver::RunFrames(1);
        ++frames;
        if (halfWay < 0.0f && letters.front()->GetOpacity() >= 1.0f) halfWay = letters.back()->GetOpacity();
    }
    ASSERT_GE(letters.back()->GetOpacity(), 1.0f) << "the animation ran in " << frames << " frames";
    EXPECT_LT(halfWay, 1.0f) << "letters appear one after another, not all at once";
    EXPECT_GE(letters.front()->GetOpacity(), 1.0f);

    engine.GetHGE()->System_Snapshot((dir / "title.png").c_str());
    FrameDriver::RunFrames(1);
    Picture pic;
    ASSERT_TRUE(LoadPng(dir / "title.png", pic));
    ASSERT_EQ(pic.w, 800);
    ASSERT_EQ(pic.h, 600);

    // Each letter leaves white pixels in its own column, in the band above the
    // title's anchor where letters are drawn (anchor − 50 and one line down).
    const int top = 300 - 50 - 4, bottom = 300 - 50 + int(font->GetHeight()) + 4;
    for (size_t i = 0; i < letters.size(); ++i) {
        const int x1 = int(letters[i]->GetAbsoluteX());
        const int x2 = i + 1 < letters.size() ? int(letters[i + 1]->GetAbsoluteX()) : x1 + int(font->GetLineWidth("N"));
        EXPECT_GT(Bright(pic, x1, top, x2, bottom), 20) << "letter " << i << " '" << text[i] << "' at x " << x1;
    }
    // Nothing far from the title.
    EXPECT_EQ(Bright(pic, 0, 0, 800, 150), 0);
    EXPECT_EQ(Bright(pic, 0, 400, 800, 600), 0);
}
