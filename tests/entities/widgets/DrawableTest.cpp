// Drawable entities: tint and opacity arithmetic, shared sprites left as they
// were, particle bursts and their generator, the ring layout and the blinker.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/engine/RecordedQuads.h"
#include "support/runtime/GuiTestEngine.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CCountBase.h"
#include "entities/effects/CParticleEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/effects/CircleEffectEntity.h"
#include "entities/widgets/ColorSwitcher.h"
#include "entities/effects/PSGeneratorEntity.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/core/SpriteExEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeSprite.h"

using ZOLTFramework::CAnimEntity;
using ZOLTFramework::CEntity;
using ZOLTFramework::CParticleEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

std::vector<RenderStats::RecordedQuad> DrawFrame(GuiTestEngine& engine) {
    return RecordQuads([&] { engine.Step(); });
}

// A ".psi" record: emission per second, lifetime (-1 endless), particle life.
std::string PsiRecord(int emission, float lifetime, float life) {
    uint32_t fields[32] = {};
    auto setFloat = [&](int i, float v) { std::memcpy(&fields[i], &v, 4); };
    fields[1] = uint32_t(emission);
    setFloat(2, lifetime);
    setFloat(3, life);
    setFloat(4, life);
    setFloat(16, 1.0f);
    setFloat(17, 1.0f);
    for (int i = 22; i < 30; ++i) setFloat(i, 1.0f);
    std::string bytes(128, '\0');
    for (int i = 0; i < 32; ++i) {
        for (int b = 0; b < 4; ++b) bytes[size_t(i * 4 + b)] = char((fields[i] >> (8 * b)) & 0xFF);
    }
    return bytes;
}

TEST(DrawableTest, SpriteAlphaIsTintTimesAbsoluteOpacityTruncated) {
    GuiTestEngine engine;
    CSpriteEntity* parent = new CSpriteEntity();
    parent->SetOpacity(0.5f);
    CSpriteEntity* sprite = new CSpriteEntity();
    sprite->SetSprite("");
    sprite->AttachTo(parent);
    sprite->SetOpacity(0.5f);
    sprite->SetColor(0xFF123456);
    engine.Manager().Add(parent);
    engine.Manager().Add(sprite);
    auto quads = DrawFrame(engine);
    ASSERT_EQ(quads.size(), 1u);  // the parent has no sprite
    EXPECT_EQ(quads[0].quad.v[0].col, 0x3F123456u);  // 255 x 0.25 = 63.75 -> 63
    EXPECT_EQ(quads[0].quad.v[3].col, 0x3F123456u);

    sprite->SetColor(0x80FFFFFF);
    parent->SetOpacity(1.0f);
    sprite->SetOpacity(0.999f);
    quads = DrawFrame(engine);
    EXPECT_EQ(quads[0].quad.v[0].col >> 24, 127u);  // 127.87 -> 127
}

TEST(DrawableTest, SpritesSetUpFromTexturesAndCopiesLeaveSharedOnesAsTheyWere) {
    GuiTestOptions o;
    o.resources = true;
    GuiTestEngine engine(o);
    CSpriteEntity entity;
    entity.SetSprite("");
    ASSERT_NE(entity.GetSprite(), nullptr);
    EXPECT_EQ(entity.GetSprite()->GetTexture(), 0u);
    EXPECT_FLOAT_EQ(entity.GetSprite()->GetWidth(), 1.0f);
    EXPECT_FLOAT_EQ(entity.GetSprite()->GetHotSpotX(), 0.0f);

    entity.SetSprite("Button");  // the whole image, hot spot in its middle
    EXPECT_NE(entity.GetSprite()->GetTexture(), 0u);
    EXPECT_FLOAT_EQ(entity.GetSprite()->GetWidth(), 180.0f);
    EXPECT_FLOAT_EQ(entity.GetSprite()->GetHeight(), 132.0f);
    EXPECT_FLOAT_EQ(entity.GetSprite()->GetHotSpotY(), 66.0f);

    entity.SetSpriteRect("Button", 0.0f, 44.0f, 180.0f, 44.0f);
    EXPECT_FLOAT_EQ(entity.GetSprite()->GetHotSpotY(), 22.0f);

    hgeSprite* shared = engine.GetResourceManager()->GetSprite("ButtonUp");
    shared->SetColor(0xFF00FF00);
    entity.AttachSprite(shared);
    EXPECT_EQ(entity.GetColor(), 0xFF00FF00u);
    entity.SetSpriteCopy(*shared);  // the borrowed sprite is not deleted
    EXPECT_NE(entity.GetSprite(), shared);
    EXPECT_EQ(engine.GetResourceManager()->GetSprite("ButtonUp"), shared);

    // A SpriteEx draws with its own colour and puts the shared one back.
    shared->SetColor(0xFF445566);
    SpriteExEntity* ex = new SpriteExEntity();
    ex->AttachSprite(shared);
    ex->SetColor(0xFFFF0000);
    ex->SetOpacity(0.5f);
    ex->SetScaleX(1.0f);
    ex->SetScaleY(2.0f);  // drawn at one uniform scale: the larger, 2
    ex->SetPosXY(400.0f, 300.0f);
    engine.Manager().Add(ex);
    auto quads = DrawFrame(engine);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].quad.v[0].col, 0x7FFF0000u);
    EXPECT_FLOAT_EQ(quads[0].quad.v[1].x - quads[0].quad.v[0].x, 360.0f);
    EXPECT_EQ(shared->GetColor(), 0xFF445566u);
    shared->SetColor(0xFFFFFFFF);
}

TEST(DrawableTest, AnimationEntityAdvancesItsAnimation) {
    GuiTestEngine engine;
    CAnimEntity* anim = new CAnimEntity();
    anim->SetAnimationRect("", 4, 10.0f, 0.0f, 0.0f, 8.0f, 8.0f);
    ASSERT_NE(anim->GetAnimation(), nullptr);
    anim->GetAnimation()->Play();
    engine.Manager().Add(anim);
    engine.Step(3);  // merged, clock started, then 0.1 s per frame at 10 fps
    // Without a texture each frame lies on a row of its own: frame 2 is 3 rows of 8 down.
    EXPECT_FLOAT_EQ(DrawFrame(engine).at(0).quad.v[0].ty, 24.0f);
}

class ParticleTest : public ::testing::Test {
protected:
    ParticleTest() {
        engine.Dir().Write("endless.psi", PsiRecord(50, -1.0f, 0.5f));
        engine.Dir().Write("short.psi", PsiRecord(50, 0.25f, 0.15f));
    }
    GuiTestEngine engine;
    hgeSprite sprite{0, 0.0f, 0.0f, 4.0f, 4.0f};
};

TEST_F(ParticleTest, ParticleEntityFiresOnceAfterItsDelay) {
    CParticleEntity* now = new CParticleEntity();
    CParticleEntity* later = new CParticleEntity();
    for (CParticleEntity* p : {now, later}) {
        p->SetParticleSystem(engine.Dir() / "endless.psi", "");
        engine.Manager().Add(p);
    }
    now->Fire(0.0f, false);
    EXPECT_EQ(now->GetParticleSystem()->GetAge(), -1.0f);  // fired at once
    later->Fire(0.25f, false);
    engine.Step();  // merge
    engine.Step(2);
    EXPECT_EQ(later->GetParticleSystem()->GetAge(), -2.0f);
    engine.Step();
    EXPECT_EQ(later->GetParticleSystem()->GetAge(), -1.0f);

    // Moving the entity moves the system: its new particles start there.
    hgeParticleSystem* system = later->GetParticleSystem();
    system->info.sprite = &sprite;
    system->Stop(true);
    later->SetPosXY(30.0f, 40.0f);
    system->Fire();
    const auto quads = DrawFrame(engine);
    EXPECT_FALSE(quads.empty());
    for (const auto& q : quads)
        EXPECT_TRUE(std::fabs(q.quad.v[0].x - 30.0f) <= 2.0f && std::fabs(q.quad.v[0].y - 40.0f) <= 2.0f);
}

TEST_F(ParticleTest, BurstStartsOnItsFirstUpdateAndReportsWhenBurntOut) {
    ParticleSystemEntity* burst = new ParticleSystemEntity();
    burst->Load(engine.Dir() / "short.psi", &sprite);
    engine.Manager().Add(burst);
    engine.Step();
    EXPECT_EQ(burst->GetParticleSystem()->GetAge(), -2.0f);  // not fired yet
    engine.Step();
    EXPECT_NE(burst->GetParticleSystem()->GetAge(), -2.0f);
    EXPECT_FALSE(burst->IsFinished());
    engine.Step();
    EXPECT_GT(burst->GetParticleSystem()->GetParticlesAlive(), 0);
    EXPECT_FALSE(burst->IsFinished());
    engine.Step(4);
    EXPECT_TRUE(burst->IsFinished());
}

TEST_F(ParticleTest, GeneratorSpawnsEachPointOncePerCycleAndReapsBurntOutBursts) {
    std::vector<PSGeneratorEntity::Point> points;
    for (int i = 0; i < 9; ++i) points.push_back({float(i * 10), 0.0f});
    PSGeneratorEntity* generator =
        new PSGeneratorEntity(points, engine.Dir() / "endless.psi", &sprite, 0.3f, std::string());
    generator->SetPosXY(100.0f, 100.0f);
    engine.Manager().Add(generator);
    generator->Start();
    engine.Step();
    EXPECT_EQ(generator->GetChildren().size(), 0u);  // updated from the next frame on
    engine.Step();
    EXPECT_EQ(generator->GetChildren().size(), 1u);
    engine.Step(24);  // 2.5 s after the first burst
    EXPECT_EQ(generator->GetChildren().size(), 9u);
    std::set<float> xs;
    for (CEntity* child : generator->GetChildren()) {
        xs.insert(child->GetX());
        EXPECT_FLOAT_EQ(child->GetDepth(), 10.0f);
    }
    EXPECT_EQ(xs.size(), 9u);  // every point once, in some order
    engine.Step(3);            // 2.8 s: the next cycle has begun
    EXPECT_EQ(generator->GetChildren().size(), 10u);
}

TEST_F(ParticleTest, GeneratorOfShortBurstsKeepsFewEntitiesAliveAndNoPointsDoNotSpin) {
    std::vector<PSGeneratorEntity::Point> points = {{0.0f, 0.0f}, {10.0f, 0.0f}, {20.0f, 0.0f}};
    const int liveBefore = ZOLTFramework::CCountBase::GetLiveCount();
    PSGeneratorEntity* generator =
        new PSGeneratorEntity(points, engine.Dir() / "short.psi", &sprite, 0.2f, std::string());
    engine.Manager().Add(generator);
    generator->Start();
    engine.Step(200);  // 20 s: about a hundred bursts
    EXPECT_LE(generator->GetChildren().size(), 6u);
    EXPECT_LE(ZOLTFramework::CCountBase::GetLiveCount() - liveBefore, 8);

    // Without points it does not spin forever.
    PSGeneratorEntity* empty = new PSGeneratorEntity({}, engine.Dir() / "short.psi", &sprite, 0.2f, std::string());
    engine.Manager().Add(empty);
    empty->Start();
    engine.Step(3);
    EXPECT_TRUE(empty->GetChildren().empty());
}

TEST(DrawableTest, CircleLaysOutItsChildMembersEvenly) {
    GuiTestEngine engine;
    CircleEffectEntity circle(10.0f);
    circle.Layout();  // no members: nothing to do
    CEntity members[4];
    for (CEntity& m : members) {
        m.AttachTo(&circle);
        circle.AddEntity(&m);
    }
    const float expected[4][2] = {{10, 0}, {0, 10}, {-10, 0}, {0, -10}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(members[i].GetX(), expected[i][0], 1e-4f) << i;
        EXPECT_NEAR(members[i].GetY(), expected[i][1], 1e-4f) << i;
    }
    circle.SetScale(2.0f);
    members[3].Detach();  // no longer a child: left out of the ring
    members[3].SetPosXY(99.0f, 99.0f);
    circle.Update(0.0f);
    EXPECT_NEAR(members[1].GetX(), -10.0f, 1e-4f);
    EXPECT_NEAR(members[1].GetY(), 17.3205f, 1e-3f);
    EXPECT_FLOAT_EQ(members[3].GetX(), 99.0f);
}

TEST(DrawableTest, ColorSwitcherBlinksItsParentText) {
    GuiTestOptions o;
    o.dt = 0.125f;
    GuiTestEngine engine(o);
    TextEntity* text = new TextEntity("t", nullptr);
    text->SetColor(0xFF000000);
    ColorSwitcher* switcher = new ColorSwitcher(0xFFAAAAAA, 0xFFBBBBBB, 0.5f);
    switcher->AttachTo(text);
    engine.Manager().Add(text);
    engine.Manager().Add(switcher);
    engine.Step(2);
    EXPECT_EQ(text->GetColor(), 0xFF000000u);  // not started
    switcher->Start();
    engine.Step();
    EXPECT_EQ(text->GetColor(), 0xFFAAAAAAu);
    engine.Step(4);  // elapsed reaches 0.5 exactly: no switch yet
    EXPECT_EQ(text->GetColor(), 0xFFAAAAAAu);
    engine.Step();
    EXPECT_EQ(text->GetColor(), 0xFFBBBBBBu);
    engine.Step(5);
    EXPECT_EQ(text->GetColor(), 0xFFAAAAAAu);

    // Under a parent that is no text it does nothing.
    ColorSwitcher* orphan = new ColorSwitcher(1, 2, 0.1f);
    CSpriteEntity* sprite = new CSpriteEntity();
    orphan->AttachTo(sprite);
    orphan->Start();
    engine.Manager().Add(sprite);
    engine.Manager().Add(orphan);
    engine.Step(3);
}

}  // namespace
