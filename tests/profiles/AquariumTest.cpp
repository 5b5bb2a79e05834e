// The menu aquarium: fish spawned, swimming, replaced and killed on the
// shared timer, with parents and engines that go away.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CCountBase.h"
#include "entities/effects/CAnimationEffector.h"
#include "graphics/ResourceScript.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "profiles/PlayerManager.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/TempDir.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CAnimEntity;
using ZOLTFramework::CCountBase;
using ZOLTFramework::CEntity;

namespace {

// A headless engine with an entity manager and a resource manager that knows
// the fish animations.
class FishEngine : public ZOLTFramework::CEngine {
public:
    // withManager false: the entity manager comes later (StartManager), as
    // with an application object made before its start-up.
    explicit FishEngine(const TempDir& dir, bool withManager = true) {
        m_pHGE = hgeCreate(HGE_VERSION);
        m_pHGE->System_SetState(HGE_INIFILE, (dir / "app.ini").c_str());
        m_pHGE->System_SetState(HGE_LOGFILE, (dir / "app.log").c_str());
        started = m_pHGE->System_Initiate();
        if (withManager) StartManager();
        SetResourceManager(std::make_unique<hgeResourceManager>());
        std::string script = "Texture \"FishTexture\" { filename = \"data\\Texture\\Cursor.png\" }\n";
        for (const char* kind : {"Fish01", "Fish02", "Fish03", "Fish04", "Fish05", "Fish06", "Fish07", "Fish08",
                                 "Fish09", "Shark", "Fish1", "Goldfish", "Scat"})
            script += "Animation \"" + std::string(kind) +
                      "\" { texture = \"FishTexture\" rect = 0,0,16,16 frames = 2 fps = 8 }\n";
        dir.Write("fish.res", script);
        ReadResourceScript(m_pResourceManager, (dir / "fish.res").c_str());
    }
    ~FishEngine() override {
        SetResourceManager(nullptr);
    }
    void StartManager() { SetEntityManager(std::make_unique<EntityManager>()); }
    EntityManager& Manager() { return *m_pEntityManager; }
    void Step(float dt, int times = 1) {
        for (int i = 0; i < times; ++i) m_pEntityManager->Update(dt);
    }
    bool started = false;
};

class AquariumTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine.reset(new FishEngine(dir));
        ASSERT_TRUE(engine->started);
        pm.reset(new PlayerManager());
        screen = new CEntity();
        engine->Manager().Add(screen);
        engine->Step(0.0f);
    }
    void TearDown() override {
        pm.reset();
        engine.reset();
    }

    static CAnimationEffector* SwimOf(CEntity* fish) {
        for (CEntity* child : fish->GetChildren())
            if (auto* swim = dynamic_cast<CAnimationEffector*>(child)) return swim;
        return nullptr;
    }
    static bool Flipped(CEntity* fish) {
        hgeQuad look = LookOf(static_cast<CAnimEntity*>(fish)->GetAnimation());
        return look.v[0].tx > look.v[1].tx && look.v[0].ty < look.v[3].ty;
    }

    ScopedEnv headless{"DROVALIN_HEADLESS", "1"};
    TempDir dir;
    HtmlLogCapture log;
    std::unique_ptr<FishEngine> engine;
    std::unique_ptr<PlayerManager> pm;
    CEntity* screen = nullptr;
};

}  // namespace

TEST_F(AquariumTest, TheSharedTimerRunsInTheEntityManager) {
    EXPECT_TRUE(pm->Timer.IsRunning());
    int calls = 0;
    pm->Timer->Add(0.5f, [&] { ++calls; }, nullptr);
    engine->Step(0.25f, 3);
    EXPECT_EQ(calls, 1);
}

TEST_F(AquariumTest, AFishSwimsFromOneEndToTheOther) {
    const int liveBefore = CCountBase::GetLiveCount();
    for (int i = 0; i < 24; ++i) pm->SpawnFishCallback(false, screen, 100.0f, 200.0f, 5.0f, 10.0f, false);
    std::vector<CEntity*> fish = pm->GetFish();
    ASSERT_EQ(fish.size(), 24u);
    std::vector<float> startX;
    int leftward = 0;
    for (CEntity* f : fish) {
        EXPECT_EQ(f->GetParent(), screen);
        EXPECT_TRUE(static_cast<CAnimEntity*>(f)->GetAnimation()->IsPlaying());
        EXPECT_GE(f->GetScaleX(), 0.7f);
        EXPECT_LE(f->GetScaleX(), 1.0f);
        EXPECT_EQ(f->GetScaleX(), f->GetScaleY());
        EXPECT_GE(f->GetDepth(), 0.1f);
        EXPECT_LE(f->GetDepth(), 1.2f);
        CAnimationEffector* swim = SwimOf(f);
        ASSERT_NE(swim, nullptr);
        // Enters outside the screen; mirrored exactly when swimming leftward.
        ASSERT_NE(swim->FindKey(CAnimationEffector::TRACK_X, 0.0f), nullptr);
        EXPECT_EQ(f->GetX(), swim->FindKey(CAnimationEffector::TRACK_X, 0.0f)->value);
        EXPECT_TRUE(f->GetX() == -200.0f || f->GetX() == 1000.0f);
        const bool left = f->GetX() == 1000.0f;
        leftward += left;
        EXPECT_EQ(Flipped(f), left);
        startX.push_back(f->GetX());
    }
    EXPECT_GT(leftward, 0);
    EXPECT_LT(leftward, 24);

    // Each crosses to the other end in 5 to 10 s within its band, and is gone
    // then: without respawn no fish is left.
    std::vector<float> lastX(fish.size()), goneAt(fish.size(), 0.0f);
    for (int step = 1; step <= 110; ++step) {
        engine->Step(0.1f);
        const std::vector<CEntity*> alive = pm->GetFish();
        for (size_t i = 0; i < fish.size(); ++i) {
            if (goneAt[i] > 0.0f) continue;
            if (std::find(alive.begin(), alive.end(), fish[i]) == alive.end()) goneAt[i] = step * 0.1f;
            else lastX[i] = fish[i]->GetX();
            EXPECT_TRUE(goneAt[i] > 0.0f || (fish[i]->GetY() >= 100.0f && fish[i]->GetY() <= 200.0f));
        }
    }
    for (size_t i = 0; i < fish.size(); ++i) {
        EXPECT_GE(goneAt[i], 5.0f);
        EXPECT_LE(goneAt[i], 10.2f);
        EXPECT_NEAR(lastX[i], startX[i] == 1000.0f ? -200.0f : 1000.0f, 50.0f) << "fish " << i;
    }
    EXPECT_TRUE(pm->GetFish().empty());
    engine->Step(0.0f);
    EXPECT_EQ(CCountBase::GetLiveCount(), liveBefore) << "the fish and their swims are deleted";
}

TEST_F(AquariumTest, FishOfTheFirstBatchStartAnywhereOnTheirPath) {
    for (int i = 0; i < 10; ++i) pm->SpawnFishCallback(true, screen, 0.0f, 600.0f, 5.0f, 5.0f, false);
    int inside = 0;
    for (CEntity* f : pm->GetFish()) {
        EXPECT_GE(f->GetX(), -200.0f);
        EXPECT_LE(f->GetX(), 1000.0f);
        inside += f->GetX() > -200.0f && f->GetX() < 1000.0f;
    }
    EXPECT_EQ(inside, 10);
}

TEST_F(AquariumTest, AGoneFishIsReplacedInTheFullBand) {
    // Below the screen: the replacement's band (0 to 600) cannot be mistaken for it.
    pm->SpawnFishCallback(false, screen, 700.0f, 710.0f, 1.0f, 1.0f, true);
    ASSERT_EQ(pm->GetFish().size(), 1u);
    engine->Step(0.25f, 17);  // the swim is over, and at most 2.5 s later  // at most 2.5 s later the next one swims
    std::vector<CEntity*> fish = pm->GetFish();
    ASSERT_EQ(fish.size(), 1u);
    EXPECT_EQ(fish[0]->GetParent(), screen);
    EXPECT_GE(fish[0]->GetY(), 0.0f);
    EXPECT_LE(fish[0]->GetY(), 600.0f);
    ASSERT_NE(SwimOf(fish[0])->FindKey(CAnimationEffector::TRACK_X, 0.0f), nullptr);
    const float x = SwimOf(fish[0])->FindKey(CAnimationEffector::TRACK_X, 0.0f)->value;
    EXPECT_TRUE(x == -200.0f || x == 1000.0f);  // a replacement never starts inside
}

TEST_F(AquariumTest, KilledFishNeverComeBack) {
    const int liveBefore = CCountBase::GetLiveCount();
    for (int i = 0; i < 5; ++i) pm->ScheduleFish(0.0f, true, screen, 0.0f, 600.0f, 1.0f, 2.0f, true);
    engine->Step(0.1f, 2);
    std::vector<CEntity*> fish = pm->GetFish();
    ASSERT_EQ(fish.size(), 5u);
    pm->KillEntities();
    for (CEntity* f : fish) EXPECT_TRUE(f->IsDead());
    EXPECT_TRUE(pm->GetFish().empty());
    engine->Step(0.5f, 20);
    EXPECT_TRUE(pm->GetFish().empty());
    EXPECT_EQ(CCountBase::GetLiveCount(), liveBefore);
    EXPECT_TRUE(pm->Timer->IsEmpty());
}

TEST_F(AquariumTest, FishOfADeadParentLeaveTheAquarium) {
    const int liveBefore = CCountBase::GetLiveCount();
    for (int i = 0; i < 3; ++i) pm->SpawnFishCallback(false, screen, 0.0f, 600.0f, 1.0f, 2.0f, true);
    pm->ScheduleFish(0.5f, false, screen, 0.0f, 600.0f, 1.0f, 2.0f, true);
    screen->Kill();  // the fish and their swims die with it
    EXPECT_TRUE(pm->GetFish().empty());
    engine->Step(0.1f);  // the entity manager deletes them
    engine->Step(0.5f, 10);
    EXPECT_TRUE(pm->GetFish().empty());  // the pending spawn did not run
    pm->KillEntities();                  // touches no deleted fish
    EXPECT_EQ(CCountBase::GetLiveCount(), liveBefore - 1) << "the screen is gone with its fish";
}

TEST_F(AquariumTest, ADeadParentNoKindsOrNoAnimationMeanNoFish) {
    CEntity* gone = new CEntity();
    engine->Manager().Add(gone);
    engine->Step(0.0f);
    gone->Kill();
    pm->SpawnFishCallback(false, gone, 0.0f, 600.0f, 1.0f, 2.0f, true);
    EXPECT_TRUE(pm->GetFish().empty());

    // No kinds, or no animation for the kind: no fish either.
    pm->FishKinds.clear();
    pm->SpawnFishCallback(false, screen, 0.0f, 600.0f, 1.0f, 2.0f, true);
    EXPECT_TRUE(pm->GetFish().empty());
    pm->FishKinds = {"NoSuchFish"};
    pm->SpawnFishCallback(false, screen, 0.0f, 600.0f, 1.0f, 2.0f, true);
    EXPECT_TRUE(pm->GetFish().empty());
    EXPECT_EQ(log.CountRows("Warning", "Aquarium: no animation"), 1);
}

TEST_F(AquariumTest, TheManagerOutlivesTheEngineWithoutTouchingItsEntities) {
    for (int i = 0; i < 4; ++i) pm->SpawnFishCallback(true, screen, 0.0f, 600.0f, 1.0f, 2.0f, true);
    engine.reset();  // deletes the timer and the fish
    EXPECT_FALSE(pm->Timer.IsRunning());
    pm->KillEntities();
    EXPECT_TRUE(pm->GetFish().empty());
    // Scheduling still works: a timer of its own until an engine runs again.
    pm->Timer->Add(1.0f, [] {}, nullptr);
    EXPECT_FALSE(pm->Timer.IsRunning());
    pm.reset();
}

TEST_F(AquariumTest, AManagerGoneBeforeTheEngineLeavesNoCallbackBehind) {
    pm->SpawnFishCallback(false, screen, 0.0f, 600.0f, 0.5f, 0.5f, true);
    pm.reset();
    engine->Step(0.25f, 20);  // the gone callback would reach a deleted manager
    SUCCEED();
}

TEST_F(AquariumTest, ATimerMadeBeforeTheEntityManagerJoinsIt) {
    pm.reset();
    engine.reset(new FishEngine(dir, false));
    PlayerManager early;
    EXPECT_FALSE(early.Timer.IsRunning());
    int calls = 0;
    early.Timer->Add(0.1f, [&] { ++calls; }, nullptr);
    engine->StartManager();
    early.Timer.Get();
    EXPECT_TRUE(early.Timer.IsRunning());
    engine->Step(0.0f);
    engine->Step(0.2f);
    EXPECT_EQ(calls, 1);  // the call made before the hand-over
}

TEST_F(AquariumTest, EveryKindHasAnAnimationInTheShippedContent) {
    hgeResourceManager shipped("data\\Resource\\main.res");
    for (const std::string& kind : pm->FishKinds) {
        hgeAnimation* animation = shipped.GetAnimation(kind.c_str());
        ASSERT_NE(animation, nullptr) << kind;
        EXPECT_EQ(animation->GetFrames(), 4) << kind;
        EXPECT_NE(animation->GetTexture(), 0u) << kind;
    }
}
