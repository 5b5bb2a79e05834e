// The credits: the scroll and its restart, the clipping, and closing at once.
#include <gtest/gtest.h>

#include "ScreensTestEngine.h"
#include "entities/widgets/ButtonExEntity.h"
#include "platform/RenderStats.h"
#include "support/engine/RecordedQuads.h"
#include "screens/CreditsScreen.h"

namespace {

class CreditsTest : public ::testing::Test {
protected:
    CreditsScreen* Open() {
        auto* credits = new CreditsScreen("Credits", "data/Screens/Credits.xml");
        credits->SetLayer(15.0f);
        credits->SetDepth(70000.0f);
        engine.Manager().Add(credits);
        engine.Step();  // joins the entity manager at the end of this frame
        return credits;
    }
    // The scroll offset after one more frame: where the column's first logo
    // (the first clipped picture) is drawn, against the window.
    float ScrollAfterAFrame(CreditsScreen* credits) {
        const auto quads = RecordQuads([&] { engine.Step(); });
        const float base = credits->FindChild<ZOLTFramework::CEntity>("Window")->GetAbsoluteY() - 300.0f;
        for (const auto& q : quads)
            if (q.clipped) return (q.quad.v[0].y + q.quad.v[2].y) / 2.0f - base;
        ADD_FAILURE() << "no column drawn";
        return 0.0f;
    }
    ScreensTestEngine engine{0.5f};
};

TEST_F(CreditsTest, OpensFadingInAndScrollsThirtyPixelsASecond) {
    CreditsScreen* credits = Open();
    EXPECT_EQ(credits->GetOpacity(), 0.0f);
    EXPECT_EQ(engine.Top(), credits);
    EXPECT_NEAR(ScrollAfterAFrame(credits), 520.0f - 15.0f, 0.01f);
    engine.Step();
    EXPECT_NEAR(ScrollAfterAFrame(credits), 520.0f - 45.0f, 0.01f);
    EXPECT_EQ(credits->GetOpacity(), 1.0f);
}

TEST_F(CreditsTest, RestartsOnlyOnceBelowTheEnd) {
    CreditsScreen* credits = Open();
    // 2120 pixels at 15 a frame: after 140 frames the column stands at -1580.
    engine.Step(139);
    EXPECT_NEAR(ScrollAfterAFrame(credits), 520.0f - 140 * 15.0f, 0.01f);
    credits->Update(1.0f / 6.0f);  // 5 more, and a frame to exactly -1600: keeps scrolling
    EXPECT_NEAR(ScrollAfterAFrame(credits), -1600.0f, 0.01f);
    credits->Update(0.01f);  // below it: starts again
    EXPECT_NEAR(ScrollAfterAFrame(credits), 520.0f - 15.0f, 0.01f);
}

TEST_F(CreditsTest, DrawingClipsTheColumnAndSwitchesClippingOff) {
    Open();
    RenderStats::SetRecording(true);
    engine.Step(3);
    const auto quads = RenderStats::Recorded();
    RenderStats::SetRecording(false);
    ASSERT_FALSE(quads.empty());
    // The column inside x 100, y 135, 600 x 350; the window and the title free.
    int clipped = 0, free = 0;
    for (const auto& q : quads) {
        if (q.clipped) {
            EXPECT_EQ(q.clipX, 100);
            EXPECT_EQ(q.clipY, 135);
            EXPECT_EQ(q.clipW, 600);
            EXPECT_EQ(q.clipH, 350);
            ++clipped;
        } else {
            ++free;
        }
    }
    EXPECT_GT(clipped, 0);
    EXPECT_GT(free, 0);
}

TEST_F(CreditsTest, AnyButtonClosesAtOnce) {
    CreditsScreen* credits = Open();
    const auto alive = credits->GetLifeToken();
    engine.Step(2);
    engine.ClickEntity(credits->FindChild<ButtonExEntity>("YES"));
    // Killed in the press frame, deleted by the next one: no fade-out.
    EXPECT_TRUE(alive.expired());
    EXPECT_NE(engine.Top(), credits);
}

TEST_F(CreditsTest, EnterClosesToo) {
    CreditsScreen* credits = Open();
    const auto alive = credits->GetLifeToken();
    engine.Step(2);
    engine.Press(HGEK_ENTER);
    EXPECT_TRUE(alive.expired());
}

}  // namespace
