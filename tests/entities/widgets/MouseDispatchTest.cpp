// The mouse rule: the topmost eligible GUI entity under the mouse (layer, then
// absolute depth; ties to both) gets hover and presses; a release reaches only
// the entity that got the press, and not while it is covered.
#include <gtest/gtest.h>

#include "support/runtime/GuiTestEngine.h"

using ZOLTFramework::CEntity;

namespace {

class MouseDispatchTest : public ::testing::Test {
protected:
    // A 100 x 100 probe centred on (cx, cy), handed to the manager.
    ProbeEntity* AddProbe(const std::string& n, float cx, float cy, float layer = 0.0f, float depth = 0.0f) {
        ProbeEntity* p = new ProbeEntity(n, &journal);
        p->SetLayer(layer);
        p->SetDepth(depth);
        p->SetPosXY(cx, cy);
        p->SetRectCentered(100.0f, 100.0f);
        engine.Manager().Add(p);
        return p;
    }
    // A 100 x 100 probe under the parent, at (dx, dy) from it.
    ProbeEntity* AddChildProbe(const std::string& n, ProbeEntity* parent, float dx, float dy) {
        ProbeEntity* p = new ProbeEntity(n, &journal);
        p->AttachTo(parent);
        p->SetPosXY(dx, dy);
        p->SetRectCentered(100.0f, 100.0f);
        engine.Manager().Add(p);
        return p;
    }

    // Whether the probe's last hover call was an enter.
    bool Hovered(const std::string& n) const {
        for (auto it = journal.rbegin(); it != journal.rend(); ++it) {
            if (*it == n + ":over") return true;
            if (*it == n + ":leave") return false;
        }
        return false;
    }

    GuiTestEngine engine;
    std::vector<std::string> journal;
};

TEST_F(MouseDispatchTest, HitRectangleIsHalfOpen) {
    ProbeEntity* p = AddProbe("a", 150.0f, 150.0f);
    EXPECT_TRUE(p->HitTest(100.0f, 100.0f));    // left-top corner inside
    EXPECT_TRUE(p->HitTest(199.9f, 199.9f));
    EXPECT_FALSE(p->HitTest(200.0f, 150.0f));   // right edge outside
    EXPECT_FALSE(p->HitTest(150.0f, 200.0f));   // bottom edge outside
    EXPECT_FALSE(p->HitTest(99.9f, 150.0f));

    // The rectangle follows the entity, centred on its new absolute position.
    p->SetPosXY(400.0f, 300.0f);
    EXPECT_FLOAT_EQ(p->GetRect().x1, 350.0f);
    EXPECT_FLOAT_EQ(p->GetRect().y2, 350.0f);
}

TEST_F(MouseDispatchTest, TopmostByLayerThenAbsoluteDepth) {
    // Higher layer wins although its depth is lower.
    AddProbe("low", 150.0f, 150.0f, 1.0f, 50.0f);
    AddProbe("high", 160.0f, 160.0f, 2.0f, 0.0f);
    // Same layer: the larger absolute depth (own + parent's) wins.
    ProbeEntity* parent = AddProbe("parent", 600.0f, 400.0f, 3.0f, 2.0f);
    parent->SetRect(0, 0, 0, 0);
    // Layer 3 inherited, absolute depth 2 + 1.
    AddChildProbe("child", parent, 0.0f, 0.0f)->SetDepth(1.0f);
    AddProbe("flat", 600.0f, 400.0f, 3.0f, 2.5f);
    engine.Step();

    engine.MoveMouse(170.0f, 170.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_EQ(CountOf(journal, "high:over"), 1);
    EXPECT_EQ(CountOf(journal, "high:down"), 1);
    EXPECT_EQ(CountOf(journal, "low:over"), 0);
    EXPECT_EQ(CountOf(journal, "low:down"), 0);

    journal.clear();
    engine.KeyUp(HGEK_LBUTTON);
    engine.MoveMouse(600.0f, 400.0f);
    engine.Step();
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_EQ(CountOf(journal, "child:down"), 1);
    EXPECT_EQ(CountOf(journal, "flat:down"), 0);
    EXPECT_EQ(CountOf(journal, "high:up"), 1);  // the release of the first press, off the rectangle
}

TEST_F(MouseDispatchTest, EqualLayerAndDepthBothGetHoverAndPress) {
    AddProbe("a", 150.0f, 150.0f, 1.0f, 1.0f);
    AddProbe("b", 180.0f, 180.0f, 1.0f, 1.0f);
    engine.Step();
    engine.MoveMouse(170.0f, 170.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    for (const char* e : {"a:over", "b:over", "a:down", "b:down"}) EXPECT_EQ(CountOf(journal, e), 1) << e;
}

TEST_F(MouseDispatchTest, CoveredEntityLosesHoverAndGetsNoRelease) {
    AddProbe("below", 150.0f, 150.0f, 1.0f);
    ProbeEntity* cover = AddProbe("cover", 150.0f, 150.0f, 2.0f);
    cover->Hide();
    engine.Step();

    engine.MoveMouse(150.0f, 150.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_TRUE(Hovered("below"));
    EXPECT_EQ(CountOf(journal, "below:down"), 1);
    EXPECT_EQ(CountOf(journal, "cover:over"), 0);  // hidden: not hit

    cover->Show();
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    EXPECT_EQ(CountOf(journal, "below:leave"), 1);
    EXPECT_EQ(CountOf(journal, "below:up"), 0);  // held until a release edge it can see
    EXPECT_EQ(CountOf(journal, "cover:over"), 1);
    EXPECT_EQ(CountOf(journal, "cover:up"), 0);  // never got the press

    // Uncovered again: the next release edge reaches it.
    cover->Hide();
    engine.Press(HGEK_LBUTTON);
    EXPECT_EQ(CountOf(journal, "below:down"), 2);
    EXPECT_EQ(CountOf(journal, "below:up"), 1);
}

TEST_F(MouseDispatchTest, IneligibleEntitiesNeverCover) {
    AddProbe("below", 150.0f, 150.0f, 1.0f);
    ProbeEntity* disabled = AddProbe("disabled", 150.0f, 150.0f, 2.0f);
    disabled->SetEnabled(false);
    ProbeEntity* pausedParent = AddProbe("pausedParent", 700.0f, 500.0f, 2.0f);
    pausedParent->Pause();
    AddChildProbe("underPaused", pausedParent, -550.0f, -350.0f);
    ProbeEntity* dead = new ProbeEntity("dead", &journal);  // not handed over: killed but kept
    dead->SetLayer(5.0f);
    dead->SetPosXY(150.0f, 150.0f);
    dead->SetRectCentered(100.0f, 100.0f);
    dead->Kill();
    engine.Step();

    engine.MoveMouse(150.0f, 150.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_EQ(CountOf(journal, "below:down"), 1);
    EXPECT_TRUE(Hovered("below"));
    delete dead;
}

TEST_F(MouseDispatchTest, EntityHiddenInItsChainIsNotHitAndLosesHover) {
    ProbeEntity* screen = AddProbe("screen", 700.0f, 500.0f);
    screen->SetRect(0, 0, 0, 0);
    ProbeEntity* button = AddChildProbe("button", screen, -550.0f, -350.0f);
    engine.Step();

    engine.MoveMouse(150.0f, 150.0f);
    engine.Step();
    EXPECT_EQ(CountOf(journal, "button:over"), 1);

    screen->Hide();
    engine.Press(HGEK_LBUTTON);
    EXPECT_EQ(CountOf(journal, "button:leave"), 1);
    EXPECT_EQ(CountOf(journal, "button:down"), 0);

    screen->Show();
    button->SetEnabled(false);
    engine.Press(HGEK_LBUTTON);
    EXPECT_EQ(CountOf(journal, "button:down"), 0);
    EXPECT_EQ(CountOf(journal, "button:over"), 1);
}

TEST_F(MouseDispatchTest, ReleaseAfterLeavingAndAfterBeingHiddenReachesThePressedEntity) {
    ProbeEntity* p = AddProbe("p", 150.0f, 150.0f);
    engine.Step();
    engine.MoveMouse(150.0f, 150.0f);
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyDown(HGEK_RBUTTON);
    engine.Step();
    engine.MoveMouse(500.0f, 500.0f);
    engine.Step();
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    EXPECT_EQ(journal, (std::vector<std::string>{"p:over", "p:down", "p:rdown", "p:leave", "p:up"}));

    // Hidden while held: the release still arrives.
    p->Hide();
    engine.KeyUp(HGEK_RBUTTON);
    engine.Step();
    EXPECT_EQ(CountOf(journal, "p:rup"), 1);
}

}  // namespace
