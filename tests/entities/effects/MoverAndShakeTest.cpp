#include <cmath>

#include "EffectorTestSupport.h"
#include "entities/effects/CAMovEffector.h"
#include "entities/effects/CBubble.h"
#include "entities/effects/CShakeEffector.h"
#include "support/runtime/DrawList.h"

using ZOLTFramework::CAMovEffector;
using ZOLTFramework::CBubble;
using ZOLTFramework::CShakeEffector;

namespace {

const float kHalfPi = 1.57079633f;

TEST_F(EffectorTest, EffectorsAreUpdatedButNeverDrawnAndTheMoverFollowsItsHeading) {
    auto* target = AddTarget(10.0f, 100.0f);
    auto* mover = AddEffector(new CAMovEffector, target);
    EXPECT_FALSE(mover->IsEnabled());
    EXPECT_FALSE(InDrawList(engine.Manager(), mover));
    EXPECT_EQ(mover->GetTarget(), target);
    EXPECT_TRUE(InDrawList(engine.Manager(), target));

    // The mover follows its heading at its speed.
    Frames(3, 0.5f);  // speed 0: standing, no notification
    EXPECT_FLOAT_EQ(target->x, 10.0f);
    EXPECT_FLOAT_EQ(target->y, 100.0f);
    EXPECT_EQ(target->moves, 0);

    mover->SetMotion(kHalfPi, 80.0f);  // up the screen
    Frame(0.5f);
    EXPECT_NEAR(target->x, 10.0f, 1e-4);
    EXPECT_NEAR(target->y, 60.0f, 1e-4);
    EXPECT_EQ(target->moves, 1);

    mover->SetMotion(0.0f, 10.0f);  // right
    Frame(1.0f);
    EXPECT_NEAR(target->x, 20.0f, 1e-4);
    EXPECT_NEAR(target->y, 60.0f, 1e-4);
}

TEST_F(EffectorTest, BubbleRisesFromItsSecondFrameAndDiesJustAboveTheScreen) {
    auto* sprite = AddTarget(50.0f, 300.0f);
    auto* bubble = AddEffector(new CBubble, sprite);
    Frame(0.5f);  // the first frame only picks a course
    EXPECT_FLOAT_EQ(sprite->y, 300.0f);
    EXPECT_FLOAT_EQ(bubble->GetSpeed(), 80.0f);
    const float y0 = sprite->y;
    Frame(0.5f);
    // Close to straight up; at 80 pixels per second.
    EXPECT_NEAR(std::hypot(sprite->x - 50.0f, sprite->y - y0), 40.0f, 1e-3);
    EXPECT_LT(sprite->y, y0 - 38.0f);
    EXPECT_NEAR(sprite->x, 50.0f, 40.0f * std::sin(0.2f));

    // It dies just above the screen, with its sprite.
    auto* holder = AddTarget(0.0f, 100.0f);
    auto* high = AddTarget(0.0f, -110.0f);  // absolute y -10 under the holder
    high->AttachTo(holder);
    auto* last = AddEffector(new CBubble, high);
    Frame(0.0f);  // course picked
    Frame(0.0f);
    EXPECT_FALSE(high->IsDead());
    high->y = -110.01f;
    Frame(0.0f);
    EXPECT_TRUE(high->IsDead());
    EXPECT_TRUE(last->IsDead());
    EXPECT_FALSE(holder->IsDead());
    const int before = ZOLTFramework::CCountBase::GetLiveCount();
    Frame(0.0f);
    EXPECT_EQ(ZOLTFramework::CCountBase::GetLiveCount(), before - 2);
}

TEST_F(EffectorTest, ShakeWalksToItsPointSnapsWhenCloseAndLandsOnAnOvershoot) {
    auto* target = AddTarget(100.0f, 50.0f);
    auto* shake = AddEffector(new CShakeEffector, target);
    shake->SetParams(0.0f, 0.0f, 15.0f);  // every point is home itself

    target->x = 103.0f;  // pushed off home
    Frame(0.1f);         // chooses a point, does not move
    EXPECT_FLOAT_EQ(target->x, 103.0f);
    Frame(0.1f);  // 1.5 pixels towards home
    EXPECT_NEAR(target->x, 101.5f, 0.01f);
    EXPECT_NEAR(target->y, 50.0f, 1e-4);
    Frame(0.1f);
    EXPECT_NEAR(target->x, 100.0f, 0.01f);
    Frame(0.1f);  // within a pixel: lands exactly on the point
    EXPECT_FLOAT_EQ(target->x, 100.0f);

    // An overshoot lands on the point too.
    auto* fast = AddTarget(0.0f, 0.0f);
    AddEffector(new CShakeEffector, fast)->SetParams(0.0f, 0.0f, 1000.0f);
    fast->x = 20.0f;
    Frame(0.1f);
    Frame(0.1f);  // a 100-pixel step towards a point 20 pixels away
    EXPECT_FLOAT_EQ(fast->x, 0.0f);
    EXPECT_FLOAT_EQ(fast->y, 0.0f);
}

TEST_F(EffectorTest, PausedShakePutsTheTargetBackHomeAndADecayingOneStopsByItself) {
    auto* target = AddTarget(10.0f, 20.0f);
    auto* shake = AddEffector(new CShakeEffector, target);
    shake->SetParams(2.0f, 2.0f, 15.0f);
    target->SetPosXY(11.3f, 18.9f);
    shake->Pause();
    EXPECT_TRUE(shake->IsPaused());
    EXPECT_EQ(target->x, 10.0f);
    EXPECT_EQ(target->y, 20.0f);
    Frames(3, 0.1f);
    EXPECT_EQ(target->x, 10.0f);

    // Without a target: no parameters, and a pause touches nothing.
    auto* loose = new CShakeEffector;
    loose->SetParams(5.0f, 5.0f, 10.0f);
    loose->Pause();
    EXPECT_TRUE(loose->IsPaused());
    loose->Update(0.1f);
    auto* still = AddTarget(10.0f, 20.0f);
    AddEffector(loose, still)->Resume();
    Frames(3, 0.1f);  // no speed: it never moves
    EXPECT_EQ(still->x, 10.0f);

    // A decaying shake stops by itself and restores its values.
    target = AddTarget(10.0f, 20.0f);
    shake = AddEffector(new CShakeEffector, target);
    shake->SetParams(2.0f, 2.0f, 15.0f);
    shake->decayRate = 100.0f;
    shake->decays = true;
    Frame(0.05f);  // speed 10: a point is chosen
    target->x = 30.0f;
    Frame(0.05f);  // speed 5
    EXPECT_NEAR(std::hypot(target->x - 30.0f, target->y - 20.0f), 0.25f, 0.01f);
    EXPECT_FALSE(shake->IsPaused());
    Frame(0.05f);  // the speed reaches 0: the shake pauses, home and initial values return
    EXPECT_TRUE(shake->IsPaused());
    EXPECT_FLOAT_EQ(target->x, 10.0f);
    EXPECT_FLOAT_EQ(target->y, 20.0f);
    shake->decays = false;
    shake->Resume();
    target->x = 30.0f;
    Frame(0.1f);  // a step at the initial speed towards a point near home
    EXPECT_NEAR(std::hypot(target->x - 30.0f, target->y - 20.0f), 1.5f, 0.01f);
}

}  // namespace
