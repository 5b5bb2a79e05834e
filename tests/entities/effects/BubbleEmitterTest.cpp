#include <memory>
#include <algorithm>
#include <cmath>

#include "EffectorTestSupport.h"
#include "entities/effects/CBubble.h"
#include "entities/effects/CBubbleEmitter.h"
#include "entities/core/CSpriteEntity.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "support/runtime/DrawList.h"

using ZOLTFramework::CBubble;
using ZOLTFramework::CBubbleEmitter;
using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

TEST_F(EffectorTest, EmitterReleasesABubbleEveryIntervalAtMostOneAFrame) {
    auto* emitter = new CBubbleEmitter(0.5f);
    emitter->SetPosXY(100.0f, 300.0f);
    engine.Manager().Add(emitter);
    Frame(0.0f);
    EXPECT_FALSE(InDrawList(engine.Manager(), emitter));  // an invisible anchor

    std::vector<int> spawnFrames;
    for (int frame = 1; frame <= 15; ++frame) {
        const size_t before = emitter->GetChildren().size();
        Frame(0.125f);
        if (emitter->GetChildren().size() > before) spawnFrames.push_back(frame);
    }
    EXPECT_EQ(spawnFrames, (std::vector<int>{5, 10, 15}));

    // Each bubble: a 16 x 16 "BBubble" sprite near the emitter, carrying its mover.
    auto* sprite = dynamic_cast<CSpriteEntity*>(emitter->GetChildren().front());
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(sprite->GetSprite(), nullptr);
    EXPECT_LE(std::abs(sprite->GetAbsoluteX() - 100.0f), 10.0f);
    EXPECT_GE(sprite->scaleX, 0.3f);
    EXPECT_LE(sprite->scaleX, 0.7f);
    EXPECT_FLOAT_EQ(sprite->scaleX, sprite->scaleY);
    EXPECT_LE(std::abs(sprite->GetDepth()), 0.1f);
    ASSERT_EQ(sprite->GetChildren().size(), 1u);
    EXPECT_NE(dynamic_cast<CBubble*>(sprite->GetChildren().front()), nullptr);
}

TEST_F(EffectorTest, BubblesRiseOffTheScreenAndAreCleanedUp) {
    auto* emitter = new CBubbleEmitter(0.5f);
    emitter->SetPosXY(400.0f, 100.0f);
    emitter->SetOpacity(0.8f);
    engine.Manager().Add(emitter);
    Frame(0.0f);
    // 110 pixels at 80 per second: each bubble lives under two seconds, so
    // never more than a handful exist at once.
    size_t most = 0;
    for (int i = 0; i < 600; ++i) {
        Frame(0.02f);
        most = std::max(most, emitter->GetChildren().size());
    }
    EXPECT_GE(most, 2u);
    EXPECT_LE(most, 5u);
    for (CEntity* child : emitter->GetChildren()) {
        EXPECT_GE(child->GetAbsoluteY(), -10.5f);
        EXPECT_FLOAT_EQ(child->GetAbsoluteOpacity(), 0.8f);  // bubbles take the emitter's opacity
    }
}

}  // namespace

namespace {

// An engine with the engine interface and the game's resource script.
class ResourceEngine : public ZOLTFramework::CEngine {
public:
    ResourceEngine() {
        m_pHGE = hgeCreate(HGE_VERSION);
        SetEntityManager(std::make_unique<EntityManager>());
        SetResourceManager(std::make_unique<hgeResourceManager>("data/Resource/main.res"));
    }
    ~ResourceEngine() override {
        SetEntityManager(nullptr);
        SetResourceManager(nullptr);
    }
    EntityManager& Manager() { return *m_pEntityManager; }
};

TEST(BubbleEmitterContentTest, BubblesAreCutFromTheBubbleTexture) {
    ResourceEngine engine;
    auto* emitter = new CBubbleEmitter(0.0f);
    engine.Manager().Add(emitter);
    engine.Manager().Update(0.0f);
    engine.Manager().Update(0.1f);
    ASSERT_EQ(emitter->GetChildren().size(), 1u);
    auto* sprite = dynamic_cast<CSpriteEntity*>(emitter->GetChildren().front());
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(sprite->GetSprite(), nullptr);
    EXPECT_NE(sprite->GetSprite()->GetTexture(), 0u);
}

}  // namespace
