#include <gtest/gtest.h>

#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CShakeEffector.h"
#include "MiniGameTestSupport.h"
#include "minigames/CBrickEntity.h"
#include "minigames/CBrickMapIcon.h"
#include "minigames/CBricksField.h"
#include "minigames/CGlowEffector.h"

using ZOLTFramework::BrickType;
using ZOLTFramework::CBrickEntity;
using ZOLTFramework::CBricksField;

namespace {

class FieldJournal : public ZOLTFramework::CFieldListener {
public:
    void OnFieldCleared() override { ++cleared; }
    void OnFieldSolved() override { ++solved; }
    int cleared = 0;
    int solved = 0;
};

class ButtonJournal : public ZOLTFramework::CButtonListener {
public:
    void OnButtonPress(const std::string& name) override { events.push_back("press:" + name); }
    void OnButtonOver(const std::string& name) override { events.push_back("over:" + name); }
    void OnButtonLeave(const std::string& name) override { events.push_back("leave:" + name); }
    std::vector<std::string> events;
};

// A brick is open while its face shows.
bool Open(CBrickEntity* brick) { return !brick->FindChild<ZOLTFramework::CSpriteEntity>("Face")->IsHidden(); }

CBricksField* MakeField(MiniGameTestEngine& engine, FieldJournal* journal) {
    auto* field = engine.Manager().Spawn<CBricksField>("BricksField", journal);
    field->AddBrickType({'a', "coin_cool_Study"});
    field->AddBrickType({'b', "coin_warm_Study"});
    return field;
}

// A field of two brick kinds and the journal that hears it.
class BrickField : public ::testing::Test {
protected:
    MiniGameTestEngine engine{0.05f};
    FieldJournal journal;
    CBricksField* field = MakeField(engine, &journal);
};

}  // namespace

// Pairs and mismatches on the field: bricks pop in within a second; a turn
// opens two bricks with sparks, a third click is refused, different faces
// close at once when both open effects have ended (0.7 s), equal faces swell,
// spin and go in 0.6 s, and the emptied field reports OnFieldSolved once.
TEST_F(BrickField, TurnsPairsAndSolvesOnce) {
    CBrickEntity* a1 = field->AddBrick(100, 300, 1, 'a');
    CBrickEntity* a2 = field->AddBrick(200, 300, 1, 'a');
    CBrickEntity* b1 = field->AddBrick(300, 300, 1, 'b');
    CBrickEntity* b2 = field->AddBrick(400, 300, 1, 'b');
    EXPECT_EQ(field->AddBrick(500, 300, 1, 'z'), nullptr);  // unknown kind
    ASSERT_EQ(field->GetBricks().size(), 4u);
    engine.Step(10);
    EXPECT_NEAR(a1->GetScaleX(), 1.2f, 0.15f);
    engine.Step(12);
    EXPECT_FLOAT_EQ(a1->GetScaleX(), 1.0f);

    engine.Click(100, 300);
    EXPECT_TRUE(Open(a1));
    EXPECT_NE(a1->FindChild("OpenParticles"), nullptr);
    if (engine.HasDevice()) {
        EXPECT_EQ(engine.Plays("BrickOpn"), 1);
    }
    engine.Click(400, 300);
    engine.Click(200, 300);  // a third brick stays closed
    EXPECT_TRUE(Open(b2));
    EXPECT_FALSE(Open(a2));
    engine.Step(8);  // 0.6 s after the second opened: still open
    EXPECT_TRUE(Open(a1) && Open(b2));
    engine.Step(3);
    EXPECT_FALSE(Open(a1));
    EXPECT_FALSE(Open(b2));

    engine.Click(100, 300);
    engine.Click(100, 300);  // an open brick again: nothing
    engine.Click(200, 300);
    engine.Step(11);  // 0.6 s after the second opened: still comparing
    EXPECT_EQ(a1->FindChild("Destroy"), nullptr);
    engine.Step(3);
    EXPECT_TRUE(a1->FindChild("Destroy") && a2->FindChild("Destroy"));
    if (engine.HasDevice()) {
        EXPECT_EQ(engine.Plays("BrickDes"), 2);
    }
    engine.Step(13);
    EXPECT_EQ(field->GetBricks().size(), 2u);
    EXPECT_EQ(journal.solved, 0);
    engine.Click(300, 300);
    engine.Click(400, 300);
    engine.Step(30);
    EXPECT_TRUE(field->GetBricks().empty());
    EXPECT_EQ(journal.solved, 1);
    engine.Step(5);
    EXPECT_EQ(journal.solved, 1) << "the field stopped playing: solved once";
    EXPECT_EQ(journal.cleared, 0);
    (void)b1;
}

// A covered brick takes no click, even on its uncovered part; touching edges
// do not cover. Clear destroys every brick and reports once; an empty field
// is solved in its first update.
TEST_F(BrickField, CoverClearAndEmpty) {
    CBrickEntity* under = field->AddBrick(300, 300, 1, 'a');
    CBrickEntity* over = field->AddBrick(330, 300, 2, 'a');
    CBrickEntity* left = field->AddBrick(500, 300, 1, 'b');
    CBrickEntity* right = field->AddBrick(540, 300, 2, 'b');
    engine.Step(22);
    engine.Click(285, 300);
    EXPECT_FALSE(Open(under));
    engine.Click(505, 300);
    EXPECT_TRUE(Open(left));
    engine.Step(20);
    EXPECT_FALSE(Open(over));
    EXPECT_FALSE(Open(right));

    // The shake never moves a brick while it is stopped.
    under->SetShaking(true);
    engine.Step(3);
    CBrickEntity::StopAllShaking();
    EXPECT_FLOAT_EQ(under->GetX(), 300.0f);
    field->OnTimer(10, 102);
    EXPECT_TRUE(under->FindChild<ZOLTFramework::CShakeEffector>("Shake")->IsPaused());

    field->Clear();
    engine.Step(15);
    EXPECT_TRUE(field->GetBricks().empty());
    EXPECT_EQ(journal.cleared, 1);
    engine.Step(3);
    EXPECT_EQ(journal.cleared, 1);
    EXPECT_EQ(journal.solved, 0);

    FieldJournal emptyJournal;
    MakeField(engine, &emptyJournal);
    engine.Step(2);
    EXPECT_EQ(emptyJournal.solved, 1);
    engine.Step(2);
    EXPECT_EQ(emptyJournal.solved, 1);
}

// The icon: swells under the mouse, reports over, press and leave only while
// active, refuses presses while glowing; the glow sprite breathes and turns.
TEST(BrickMapIcon, ActiveHoverPressAndGlow) {
    MiniGameTestEngine engine(0.05f);
    if (!ZOLTFramework::Services::Sprite(&engine, "Brick"))
        engine.Declare("Sprite \"Brick\"\n{\n  texture = \"StudyAceTexture\"\n  rect = 0,0,60,84\n  hotspot = 30,42\n}\n");
    ButtonJournal listener;
    auto* icon = engine.Manager().Spawn<ZOLTFramework::CBrickMapIcon>("Icon", &listener);
    icon->SetPosXY(200, 200);
    engine.Click(200, 200);
    EXPECT_TRUE(listener.events.empty());  // inactive
    icon->SetActive(true);
    engine.MoveMouse(200, 200);
    engine.Step(2);
    EXPECT_FLOAT_EQ(icon->GetScaleX(), 1.1f);
    engine.Click(200, 200);
    engine.MoveMouse(600, 500);
    engine.Step(2);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"over:Icon", "press:Icon", "leave:Icon"}));
    EXPECT_FLOAT_EQ(icon->GetScaleX(), 1.0f);

    icon->StartGlow(true);
    ZOLTFramework::CSpriteEntity* glow = icon->FindChild<ZOLTFramework::CSpriteEntity>("Glow");
    ASSERT_NE(glow, nullptr);
    engine.Click(200, 200);
    EXPECT_EQ(listener.events.size(), 4u);  // over again, no press
    engine.Step(20);
    EXPECT_NEAR(glow->GetScaleX(), 1.1f, 0.01f);
    EXPECT_NEAR(glow->GetRotation(), 0.33f, 0.02f);
    icon->StartGlow(false);
    EXPECT_TRUE(glow->IsDead());
}

// The glow turns back at its bounds: up to 1.5 times the scale it found, then
// down to it again.
TEST(CGlowEffector, BreathesBetweenItsBounds) {
    MiniGameTestEngine engine(0.1f);
    auto* target = engine.Manager().Spawn<ZOLTFramework::CSpriteEntity>();
    target->SetScale(2.0f);
    auto* glow = target->SpawnChild<ZOLTFramework::CGlowEffector>();
    glow->scaleSpeed = 1.0f;
    EXPECT_FLOAT_EQ(glow->minScale, 2.0f);
    EXPECT_FLOAT_EQ(glow->maxScale, 3.0f);
    float highest = 0.0f;
    for (int i = 0; i < 30; ++i) {
        engine.Step();
        highest = std::max(highest, target->GetScaleX());
        EXPECT_GE(target->GetScaleX(), 1.85f);
        EXPECT_LE(target->GetScaleX(), 3.15f);
    }
    EXPECT_GT(highest, 3.0f);
    EXPECT_EQ(glow->direction, 1);  // on its way up again after the turn at the top
}
