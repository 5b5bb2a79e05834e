#include <vector>

#include "EffectorTestSupport.h"
#include "entities/effects/CAnimationEffector.h"

using ZOLTFramework::CAnimationEffector;

namespace {

class AnimationTest : public EffectorTest {
protected:
    CAnimationEffector* Animate(ZOLTFramework::CEntity* target, int mode) {
        auto* effector = new CAnimationEffector;
        effector->mode = mode;
        return AddEffector(effector, target);
    }
    // An x ramp from 0 at the start to `value` at `time`, prepared to play.
    CAnimationEffector* Ramp(ZOLTFramework::CEntity* target, int mode, float time = 1.0f, float value = 100.0f) {
        auto* effector = Animate(target, mode);
        effector->AddKey(1, 0.0f, 0.0f);
        effector->AddKey(1, time, value);
        effector->Prepare();
        return effector;
    }
    // Runs n frames and returns the target's x after each one.
    std::vector<float> XTrace(ZOLTFramework::CEntity* target, int n, float dt) {
        std::vector<float> trace;
        for (int i = 0; i < n; ++i) {
            Frame(dt);
            trace.push_back(target->x);
        }
        return trace;
    }
};

void ExpectTrace(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3) << "frame " << i + 1;
}

TEST_F(AnimationTest, KeysAreKeptSortedOnePerTimeAndBadTracksIgnored) {
    auto* target = AddTarget();
    CAnimationEffector& effector = *Animate(target, 0);
    effector.AddKey(0, 5.0f, 1.0f);
    effector.AddKey(8, 6.0f, 1.0f);
    EXPECT_EQ(effector.FindKey(0, 5.0f), nullptr);
    EXPECT_EQ(effector.FindKey(8, 6.0f), nullptr);

    effector.AddKey(1, 1.0f, 10.0f);
    effector.AddKey(1, 0.0f, 0.0f);
    effector.AddKey(1, 1.0f, 20.0f);  // replaces the key at 1.0
    ASSERT_NE(effector.FindKey(1, 1.0f), nullptr);
    EXPECT_FLOAT_EQ(effector.FindKey(1, 1.0f)->value, 20.0f);
    effector.RewindToStart();  // the key added second comes first
    EXPECT_FLOAT_EQ(target->x, 0.0f);
    effector.RewindToEnd();
    EXPECT_FLOAT_EQ(target->x, 20.0f);

    // Neither removing nor clearing shortens the 1 s play; the bad tracks never lengthened it.
    effector.RemoveKey(1, 1.0f);
    EXPECT_EQ(effector.FindKey(1, 1.0f), nullptr);
    EXPECT_NE(effector.FindKey(1, 0.0f), nullptr);
    effector.Clear();
    EXPECT_EQ(effector.FindKey(1, 0.0f), nullptr);
    effector.Prepare();
    Frame(1.0f);
    EXPECT_FALSE(effector.IsPaused());
    Frame(0.01f);
    EXPECT_TRUE(effector.IsPaused());
}

TEST_F(AnimationTest, ForwardPlayInterpolatesThenStopsOnTheLastValue) {
    auto* target = AddTarget(7.0f);
    auto* effector = Animate(target, 0);
    effector->AddKey(1, 1.0f, 100.0f);
    effector->AddKey(1, 0.0f, 0.0f);
    EXPECT_TRUE(effector->IsPaused());  // nothing happens before Prepare
    Frame(0.25f);
    EXPECT_FLOAT_EQ(target->x, 7.0f);

    effector->Prepare();
    EXPECT_FLOAT_EQ(target->x, 0.0f);  // the first key applies at once
    EXPECT_FALSE(effector->IsPaused());
    ExpectTrace(XTrace(target, 4, 0.25f), {25, 50, 75, 100});
    // Elapsed equal to the duration is not the end yet.
    EXPECT_FALSE(effector->IsPaused());
    Frame(0.25f);
    EXPECT_TRUE(effector->IsPaused());
    EXPECT_FLOAT_EQ(target->x, 100.0f);
    EXPECT_FALSE(effector->IsDead());

    // Paused: further frames change nothing.
    target->x = 3.0f;
    Frames(3, 0.25f);
    EXPECT_FLOAT_EQ(target->x, 3.0f);
}

TEST_F(AnimationTest, ATrackAdvancesAtMostOneKeyPerFrame) {
    auto* target = AddTarget();
    auto* effector = Animate(target, 0);
    effector->AddKey(1, 0.0f, 0.0f);
    effector->AddKey(1, 0.1f, 10.0f);
    effector->AddKey(1, 0.2f, 20.0f);
    effector->AddKey(1, 1.0f, 100.0f);
    effector->Prepare();
    // A long frame lands exactly on the key it reached; the next goes on from there.
    ExpectTrace(XTrace(target, 2, 0.5f), {10, 20});
    Frame(0.5f);
    EXPECT_TRUE(effector->IsPaused());
    EXPECT_FLOAT_EQ(target->x, 100.0f);
}

// Ping-pong, loop and backward plays.
TEST_F(AnimationTest, PingPongLoopAndBackwardModesTurnAtTheirEnds) {
    auto* target = AddTarget();
    auto* effector = Ramp(target, 8 | 4);  // ping-pong (mode 9, then 8) wins over loop
    ExpectTrace(XTrace(target, 2, 0.5f), {50, 100});
    Frame(0.5f);  // past the end: turn, starting exactly at the end
    EXPECT_EQ(effector->mode, 9);
    EXPECT_FALSE(effector->IsPaused());
    ExpectTrace(XTrace(target, 2, 0.5f), {50, 0});
    Frame(0.5f);  // below 0: turn again
    EXPECT_EQ(effector->mode, 8);
    ExpectTrace(XTrace(target, 2, 0.5f), {50, 100});
    Frame(0.5f);
    EXPECT_EQ(effector->mode, 9);

    // A loop restarts exactly at zero, dropping the overshoot.
    auto* looped = AddTarget();
    auto* loop = Ramp(looped, 4);
    ExpectTrace(XTrace(looped, 4, 0.3f), {30, 60, 90, 0});
    EXPECT_FALSE(loop->IsPaused());
    ExpectTrace(XTrace(looped, 4, 0.3f), {30, 60, 90, 0});
    EXPECT_EQ(loop->mode, 4);

    // A backward loop replays from the last key.
    auto* back = AddTarget();
    Ramp(back, 5, 2.0f);
    EXPECT_FLOAT_EQ(back->x, 100.0f);
    ExpectTrace(XTrace(back, 6, 0.5f), {75, 50, 25, 0, 100, 75});

    // Backward once: stops on the first values.
    auto* other = AddTarget();
    auto* once = Ramp(other, 1);
    ExpectTrace(XTrace(other, 3, 0.5f), {50, 0, 0});
    EXPECT_TRUE(once->IsPaused());
}

TEST_F(AnimationTest, TracksWriteTheirPropertiesWithTheirNotifications) {
    auto* target = AddTarget();
    auto* effector = Animate(target, 0);
    effector->AddKey(2, 0.0f, 10.0f);
    effector->AddKey(3, 0.0f, 1.5f);
    effector->AddKey(4, 0.0f, 1.7f);  // opacity is clamped
    effector->AddKey(4, 1.0f, -0.2f);
    effector->AddKey(5, 0.0f, 2.0f);
    effector->AddKey(6, 1.0f, 3.0f);
    effector->AddKey(7, 1.0f, 4.0f);
    const int moves = target->moves;
    effector->Prepare();
    EXPECT_FLOAT_EQ(target->y, 10.0f);
    EXPECT_EQ(target->moves, moves + 1);
    EXPECT_FLOAT_EQ(target->rotation, 1.5f);
    EXPECT_FLOAT_EQ(target->GetOpacity(), 1.0f);
    // Uniform scale first, then the single-key X and Y tracks.
    EXPECT_FLOAT_EQ(target->scaleX, 3.0f);
    EXPECT_FLOAT_EQ(target->scaleY, 4.0f);
    EXPECT_EQ(target->scales, 3);

    Frame(1.5f);  // one frame past the end: last values
    EXPECT_FLOAT_EQ(target->GetOpacity(), 0.0f);
    EXPECT_FLOAT_EQ(target->y, 10.0f);  // a single key is held, never interpolated
    EXPECT_TRUE(effector->IsPaused());
}

TEST_F(AnimationTest, KeysOnlyAtZeroNoTargetAndShorterKeysAfterAClear) {
    auto* target = AddTarget();
    auto* effector = Animate(target, 0);
    effector->AddKey(1, 0.0f, 42.0f);
    effector->Prepare();
    Frame(0.01f);
    EXPECT_TRUE(effector->IsPaused());
    EXPECT_FLOAT_EQ(target->x, 42.0f);

    auto* loose = new CAnimationEffector;
    loose->AddKey(1, 0.0f, 5.0f);
    loose->AddKey(1, 1.0f, 105.0f);
    loose->Prepare();
    EXPECT_TRUE(loose->IsPaused());
    loose->Update(0.5f);  // no target: no time passes
    AddEffector(loose, target)->Update(0.0f);
    EXPECT_FLOAT_EQ(target->x, 5.0f);

    // Shorter keys after a clear hold until the old duration.
    target = AddTarget();
    effector = Ramp(target, 0, 2.0f, 200.0f);
    Frames(5, 0.5f);
    ASSERT_TRUE(effector->IsPaused());

    effector->Clear();
    effector->AddKey(1, 0.0f, 0.0f);
    effector->AddKey(1, 1.0f, 10.0f);
    effector->Prepare();
    ExpectTrace(XTrace(target, 4, 0.5f), {5, 10, 10, 10});
    EXPECT_FALSE(effector->IsPaused());
    Frame(0.5f);
    EXPECT_TRUE(effector->IsPaused());
}

TEST_F(AnimationTest, KeyPositionIsDefinedBeforeTheFirstRewind) {
    auto* target = AddTarget(9.0f);
    CAnimationEffector* effector = new CAnimationEffector;
    effector->AttachTo(target);
    effector->AddKey(1, 0.0f, 0.0f);
    effector->AddKey(1, 1.0f, 100.0f);
    // Driven without Prepare: it plays from the start instead of reading garbage.
    effector->Update(0.5f);
    EXPECT_NEAR(target->x, 50.0f, 1e-4);
    engine.Manager().Add(effector);
}

TEST_F(AnimationTest, APausedTargetHoldsTheAnimationAndKillTakesTheEffector) {
    auto* target = AddTarget();
    auto* effector = Ramp(target, 0);
    Frame(0.25f);
    target->Pause();
    Frames(4, 0.25f);
    EXPECT_FLOAT_EQ(target->x, 25.0f);
    target->Resume();
    Frame(0.25f);
    EXPECT_FLOAT_EQ(target->x, 50.0f);

    const int before = ZOLTFramework::CCountBase::GetLiveCount();
    target->Kill();
    EXPECT_TRUE(effector->IsDead());
    Frame(0.25f);
    EXPECT_EQ(ZOLTFramework::CCountBase::GetLiveCount(), before - 2);
}

}  // namespace
