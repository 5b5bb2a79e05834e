#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <utility>

#include "entities/core/CTimer.h"
#include "entities/core/GameTimer.h"
#include "entities/core/CTimerListener.h"
#include "support/runtime/CoreTestEngine.h"
#include "support/runtime/DrawList.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CTimer;
using ZOLTFramework::CTimerListener;
using ZOLTFramework::GameManager::Timer;

namespace {

struct MarkLog : CTimerListener {
    void OnTimer(int timerId, int markId) override {
        marks.push_back(markId);
        if (onMark) onMark(markId);
    }
    std::vector<int> marks;
    std::function<void(int)> onMark;
};

class CTimerTest : public ::testing::Test {
protected:
    CTimer* MakeTimer(int mode) {
        auto* owner = new CEntity;
        engine.Manager().Add(owner);
        auto* timer = new CTimer(1, &log);
        timer->AttachTo(owner);
        timer->mode = mode;
        engine.Manager().Add(timer);
        return timer;
    }
    // A timer of the mode with its marks (id, time), started and merged.
    CTimer* Start(int mode, std::initializer_list<std::pair<int, float>> marks) {
        CTimer* timer = MakeTimer(mode);
        for (const auto& [id, time] : marks) timer->AddMark(id, time);
        timer->Resume();
        engine.Manager().Update(0.0f);
        return timer;
    }
    void Frames(int n, float dt) {
        for (int i = 0; i < n; ++i) engine.Manager().Update(dt);
    }

    CoreTestEngine engine;
    MarkLog log;
};

TEST_F(CTimerTest, OneShotReportsOneMarkPerFrameAndStopsPastTheEnd) {
    CTimer* t = MakeTimer(CTimer::MODE_ONCE);
    t->AddMark(1, 0.5f);
    t->AddMark(2, 1.0f);
    EXPECT_FALSE(InDrawList(engine.Manager(), t));  // draws nothing, stays disabled
    t->Resume();
    engine.Manager().Update(0.0f);  // merge
    Frames(1, 0.3f);
    EXPECT_TRUE(log.marks.empty());
    Frames(1, 0.3f);  // 0.6
    EXPECT_EQ(log.marks, std::vector<int>{1});
    Frames(1, 0.3f);  // 0.9
    Frames(1, 0.3f);  // 1.2: mark 2, then past the end
    EXPECT_EQ(log.marks, (std::vector<int>{1, 2}));
    EXPECT_TRUE(t->IsPaused());
    Frames(3, 0.3f);
    EXPECT_EQ(log.marks.size(), 2u);

    // Marks due together are reported in consecutive frames, and a one-shot
    // run that passes its end first loses the rest.
    log.marks.clear();
    Start(CTimer::MODE_ONCE, {{5, 0.5f}, {6, 0.6f}});
    Frames(1, 1.0f);
    Frames(2, 1.0f);
    EXPECT_EQ(log.marks, std::vector<int>{5});
}

TEST_F(CTimerTest, MarksAreSortedAndOneTimeHoldsOneMark) {
    // Out of order, and 7 replaces 3 at the same time: reported in time order, the length is 2.
    CTimer* t = Start(CTimer::MODE_ONCE, {{3, 2.0f}, {4, 1.0f}, {7, 2.0f}});
    EXPECT_EQ(t->FindMark(3), nullptr);
    Frames(4, 0.5f);
    EXPECT_EQ(log.marks, (std::vector<int>{4, 7}));
    EXPECT_FALSE(t->IsPaused());
    Frames(1, 0.5f);
    EXPECT_TRUE(t->IsPaused());

    // SetTime aims at the next mark in the running direction, clamped to the length.
    t->RemoveMark(4);
    t->AddMark(1, 0.5f);
    log.marks.clear();
    t->Resume();
    t->SetTime(0.7f);
    Frames(3, 0.5f);  // past the end at 2.2
    EXPECT_EQ(log.marks, std::vector<int>{7});
    t->Resume();
    t->SetTime(5.0f);
    Frames(1, 0.0f);  // at 2.0, not past it
    EXPECT_FALSE(t->IsPaused());
    t->mode = CTimer::MODE_BACKWARDS;
    t->SetTime(1.0f);
    Frames(2, 0.3f);   // 0.4: mark 1 at 0.5
    t->SetTime(0.1f);  // no mark behind: aims at the first
    Frames(1, 0.0f);
    EXPECT_EQ(log.marks, (std::vector<int>{7, 7, 1, 1}));
}

TEST_F(CTimerTest, LoopAndBackAndForthModes) {
    CTimer* loop = Start(CTimer::MODE_LOOP, {{1, 0.25f}, {2, 0.5f}});
    Frames(8, 0.2f);  // 1.6 s: two and a half rounds
    EXPECT_EQ(log.marks, (std::vector<int>{1, 2, 1, 2, 1}));
    loop->Kill();

    log.marks.clear();
    CTimer* swing = Start(CTimer::MODE_PINGPONG, {{1, 0.1f}, {2, 0.9f}});
    Frames(5, 0.25f);  // forwards past the end at 1.25: now backwards from 1.0
    EXPECT_EQ(swing->mode, CTimer::MODE_BACKWARDS | CTimer::MODE_PINGPONG);
    Frames(3, 0.25f);  // backwards past 0 at -0.1: forwards again
    EXPECT_EQ(swing->mode, CTimer::MODE_PINGPONG);
    // The turning point meets the end mark again on the way back.
    EXPECT_EQ(log.marks, (std::vector<int>{1, 2, 2, 1}));
    EXPECT_FALSE(swing->IsPaused());
}

TEST_F(CTimerTest, BackwardsOneShotRunsFromTheEndAndUnattachedNeverRuns) {
    CTimer* t = MakeTimer(CTimer::MODE_BACKWARDS);
    t->AddMark(1, 0.2f);
    t->AddMark(2, 0.8f);
    t->Resume();
    engine.Manager().Update(0.0f);
    Frames(4, 0.3f);
    EXPECT_EQ(log.marks, (std::vector<int>{2, 1}));
    EXPECT_TRUE(t->IsPaused());

    // An unattached timer never runs.
    auto* loose = new CTimer(9, &log);
    loose->AddMark(1, 0.1f);
    loose->Resume();
    EXPECT_TRUE(loose->IsPaused());
    engine.Manager().Add(loose);
    Frames(5, 0.1f);
    EXPECT_EQ(log.marks, (std::vector<int>{2, 1}));
}

TEST_F(CTimerTest, ListenerMayRestartTheTimerFromItsMark) {
    CTimer* t = MakeTimer(CTimer::MODE_ONCE);
    t->AddMark(1, 0.1f);
    t->AddMark(2, 0.2f);
    int restarts = 0;
    log.onMark = [&](int mark) {
        if (mark == 2 && restarts++ == 0) t->Resume();
    };
    t->Resume();
    engine.Manager().Update(0.0f);
    Frames(6, 0.15f);
    // The restart is not overridden by the step to the next mark.
    EXPECT_EQ(log.marks, (std::vector<int>{1, 2, 1, 2}));
}

class GameTimerTest : public ::testing::Test {
protected:
    CoreTestEngine engine;
    Timer timer;
    std::vector<std::string> fired;
    std::function<void()> Fire(const std::string& what) {
        return [this, what] { fired.push_back(what); };
    }
};

TEST_F(GameTimerTest, FiresDueEntriesInOrderKeepsTheRestAndCapsRunawayChains) {
    timer.Add(1.0f, Fire("one"), nullptr);
    timer.Add(0.5f, Fire("half"), nullptr);
    timer.Add(0.6f, Fire("exact"), nullptr);
    timer.Update(0.6f);
    EXPECT_EQ(fired, (std::vector<std::string>{"half", "exact"}));
    EXPECT_FALSE(timer.IsEmpty());
    timer.Update(0.3f);
    EXPECT_EQ(fired.size(), 2u);
    timer.Update(0.2f);
    EXPECT_EQ(fired.back(), "one");
    EXPECT_TRUE(timer.IsEmpty());

    // Runaway chains stop at the cap.
    fired.clear();
    std::function<void()> chain = [&] {
        fired.push_back("x");
        timer.Add(0.0f, chain, nullptr);
    };
    timer.Add(0.0f, chain, nullptr);
    timer.Update(0.01f);
    EXPECT_EQ(fired.size(), static_cast<size_t>(Timer::kMaxCallsPerPass));
    EXPECT_FALSE(timer.IsEmpty());
    timer.Clear();
}

TEST_F(GameTimerTest, CallbacksThatAddAndClearKeepTheOrder) {
    // A re-arming entry adds its successor: delay 0 fires in the same pass,
    // a longer one is counted from the start of the frame.
    timer.Add(0.125f, [&] {
        fired.push_back("a");
        timer.Add(0.0f, Fire("a-now"), nullptr);
        timer.Add(0.375f, Fire("a-later"), nullptr);
    }, nullptr);
    timer.Add(0.125f, Fire("b"), nullptr);
    timer.Update(0.125f);
    EXPECT_EQ(fired, (std::vector<std::string>{"a", "b", "a-now"}));
    timer.Update(0.125f);
    EXPECT_EQ(fired.size(), 3u);
    timer.Update(0.125f);
    EXPECT_EQ(fired.back(), "a-later");
    EXPECT_TRUE(timer.IsEmpty());

    // Clear then re-add inside a callback: the re-added entry runs in this
    // pass, nothing old survives, and nothing is erased by mistake.
    fired.clear();
    timer.Add(0.1f, [&] {
        fired.push_back("clearer");
        timer.Clear();
        timer.Add(0.05f, Fire("readded"), nullptr);
        timer.Add(5.0f, Fire("far"), nullptr);
    }, nullptr);
    timer.Add(0.1f, Fire("dropped"), nullptr);
    timer.Update(0.1f);
    EXPECT_EQ(fired, (std::vector<std::string>{"clearer", "readded"}));
    EXPECT_FALSE(timer.IsEmpty());
}

TEST_F(GameTimerTest, EntryOfADeletedOrKilledOwnerNeverRuns) {
    EntityManager& m = engine.Manager();
    auto* deleted = new CEntity;
    auto* killed = new CEntity;
    m.Add(killed);
    CEntity kept;
    timer.Add(0.1f, Fire("deleted"), deleted);
    timer.Add(0.1f, Fire("killed"), killed);
    timer.Add(0.1f, Fire("kept"), &kept);
    delete deleted;
    killed->Kill();
    EXPECT_FALSE(timer.IsEmpty());
    timer.Update(0.2f);
    EXPECT_EQ(fired, std::vector<std::string>{"kept"});
    EXPECT_TRUE(timer.IsEmpty());

    // An owner destroyed by an earlier callback of the same pass.
    auto* victim = new CEntity;
    timer.Add(0.1f, [&] { delete victim; }, nullptr);
    timer.Add(0.1f, Fire("victim"), victim);
    timer.Update(0.1f);
    EXPECT_EQ(fired.size(), 1u);
}

// A use of the deleted timer would show only under AddressSanitizer.
TEST_F(GameTimerTest, ACallbackMayDestroyTheTimerSanitizerChecked) {
    auto* own = new Timer;
    own->Add(0.1f, [&] { delete own; }, nullptr);
    own->Add(0.1f, Fire("never"), nullptr);
    own->Update(0.2f);
    EXPECT_TRUE(fired.empty());
}

TEST_F(GameTimerTest, PausedTimerInTheManagerWaits) {
    auto* shared = new Timer;
    engine.Manager().Add(shared);
    shared->Add(0.1f, Fire("tick"), nullptr);
    engine.Manager().Update(0.0f);
    shared->Pause();
    engine.Manager().Update(0.5f);
    EXPECT_TRUE(fired.empty());
    shared->Hide();  // hidden still runs
    shared->Resume();
    engine.Manager().Update(0.5f);
    EXPECT_EQ(fired, std::vector<std::string>{"tick"});
}

}  // namespace
