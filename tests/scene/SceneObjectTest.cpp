// Scene objects' animation patterns, sounds and fades, and the bag's slots,
// slides and pick-ups.
#include <gtest/gtest.h>

#include "engine/AudioManager.h"
#include "entities/core/EntityManager.h"
#include "graphics/hgeAnimation.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/SceneObject.h"
#include "scene/ShowScorePopup.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeFont.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/scene/SceneTestEngine.h"
#include "support/engine/DrawnText.h"
#include "ScenePlaySupport.h"

// The animation an animated object shows (its display sprite).
static hgeAnimation* AnimationOf(const SceneObject* object) {
    return dynamic_cast<hgeAnimation*>(object->GetDisplaySprite());
}

TEST(SceneObject, AnimationPatternsSoundsAndFades) {
    SceneTestEngine engine(SceneTestOptions::WithDt(0.125f));
    ZOLTFramework::CAudioManager* audio = engine.GetAudioManager();
    const bool sound = audio->OpenDevice() && audio->LoadSound("Igrushka", SourceFile("tests/fixtures/tone.ogg"));
    ASSERT_TRUE(sound) << "the dummy audio device plays the chime";
    EntityManager& manager = engine.Manager();

    // A music box plays at once (4 frames at 8 a second, then a 0.5 s pause)
    // and chimes after each run and pause.
    auto* box = manager.Spawn<SceneObject>("box_Fixture", true, 0.5f, 0.0f, true, "box", nullptr);
    // Starts after 2 s and then loops; no chime is armed for it.
    auto* late = manager.Spawn<SceneObject>("box_Fixture", true, 0.0f, 2.0f, false, "late", nullptr);
    auto* still = manager.Spawn<SceneObject>("Square", false, 0.0f, 0.0f, false, "still", nullptr);
    EXPECT_TRUE(AnimationOf(box)->IsPlaying());
    EXPECT_FALSE(AnimationOf(late)->IsPlaying());
    EXPECT_NE(still->GetLensSprite1(), still->GetDisplaySprite());
    EXPECT_NE(LookOf(still->GetLensSprite1()).tex2, 0u);
    engine.Step();  // they join

    engine.Step(5);  // one run: four frames after the first update
    EXPECT_FALSE(AnimationOf(box)->IsPlaying());
    hgeAnimation frame(*AnimationOf(box));  // the frames of both boxes
    frame.SetFrame(3);
    EXPECT_TRUE(SameLook(AnimationOf(box), &frame)) << "rests on its last frame";
    EXPECT_EQ(audio->GetSoundPlayCount("Igrushka"), 0);
    engine.Step(3);  // the pause, counted from the frame the run ended
    EXPECT_TRUE(AnimationOf(box)->IsPlaying()) << "runs again after the pause";
    EXPECT_EQ(audio->GetSoundPlayCount("Igrushka"), 1);
    engine.Step(8);
    EXPECT_EQ(audio->GetSoundPlayCount("Igrushka"), 2);
    frame.SetFrame(0);
    EXPECT_TRUE(AnimationOf(late)->IsPlaying() || !SameLook(AnimationOf(late), &frame));

    // Script methods: stop now, start after a delay; nothing on a still object.
    box->StopAnimation(0.0f);
    EXPECT_FALSE(AnimationOf(box)->IsPlaying());
    still->StartAnimation(0.5f);
    still->StopAnimation(0.0f);

    // A fade from full opacity removes the object after its time, never below 0.
    still->SetOpacity(1.0f);
    still->StartFadeOut(0.5f);
    engine.Step(3);
    EXPECT_GT(still->GetOpacity(), 0.0f);
    EXPECT_FALSE(still->IsDead());
    engine.Step();
    EXPECT_EQ(still->GetOpacity(), 0.0f);
    EXPECT_TRUE(still->IsDead());
    engine.Step();
}

TEST(Inventory, SlotsSlidesAndPickUps) {
    HtmlLogCapture log;
    SceneTestEngine engine(SceneTestOptions::WithDt(0.05f));
    auto* bag = engine.Manager().Spawn<Inventory>(0);
    bag->SetDepth(-1.0f);  // as the level puts it on its panel
    std::vector<std::string> calls;
    bag->pickUpCallback = [&](const std::string& sprite, const std::string& item) {
        calls.push_back("pick:" + sprite + "/" + item);
    };
    bag->pressCallback = [&] { calls.push_back("press"); };
    engine.Step();

    for (const char* item : {"a", "b", "c", "d"}) bag->AddObject("Disc", item, "tool", 1.0f);
    const auto& items = bag->GetObjects();
    ASSERT_EQ(items.size(), 4u);
    const float slots[4][2] = {{45, 45}, {45, -25}, {-15, 45}, {-15, -25}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->GetX(), slots[i][0]) << i;
        EXPECT_EQ(items[i]->GetY(), slots[i][1]) << i;
    }
    // A fifth lies on the last slot without one of its own.
    bag->AddObject("Disc", "e", "tool", 1.0f);
    EXPECT_EQ(log.CountRows("Warning", "Inventory: no free slot for \"e\""), 1);
    EXPECT_EQ(items.back()->GetX(), 45.0f);

    // Closed: a press into the bag does nothing.
    engine.Click(bag->GetAbsoluteX() + 45.0f, bag->GetAbsoluteY() + 45.0f);
    EXPECT_TRUE(calls.empty());

    // Opening slides 0.25 s to x 160, in front of the panel's stile and all on
    // the panel (buttons and glass at 1, the cigar at 2); the next slot is
    // known in screen units.
    bag->Open();
    EXPECT_GT(bag->GetDepth(), 2.0f);
    EXPECT_FALSE(bag->IsOpened());
    engine.Step(7);
    EXPECT_TRUE(bag->IsOpened());
    EXPECT_EQ(bag->GetX(), Inventory::kOpenX);
    bag->Open();
    EXPECT_TRUE(bag->IsOpened()) << "at its target it is open at once";

    // A press on an empty spot runs only the press callback; one on an item
    // takes it (an opaque texel of the disc's rim).
    engine.Click(bag->GetAbsoluteX() - 95.0f, bag->GetAbsoluteY() - 80.0f);
    EXPECT_EQ(calls, (std::vector<std::string>{"press"}));
    const float edge = 23.0f * SceneObject::kSceneToScreen;
    engine.Click(bag->GetAbsoluteX() + 45.0f, bag->GetAbsoluteY() - 25.0f + edge);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], "pick:Disc/b");
    engine.Step();
    EXPECT_EQ(bag->GetObjects().size(), 4u);
    EXPECT_EQ(bag->GetNextSlotPosition().x, Inventory::kClosedX + 45.0f + 135.0f);
    bag->AddObject("Disc", "f", "tool", 1.0f);
    EXPECT_EQ(bag->GetObjects().back()->GetY(), -25.0f) << "the freed slot is used next";

    // Taking the slotless one frees nothing.
    bag->PickUp(bag->GetObjects()[3]);
    EXPECT_EQ(log.CountRows("Warning", "Inventory: \"e\" lay without a slot"), 1);
    bag->AddObject("Disc", "g", "tool", 1.0f);
    EXPECT_EQ(log.CountRows("Warning", "Inventory: no free slot for \"g\""), 1) << "the one freed slot went to \"f\"";

    // Busy: it neither opens nor closes; closing otherwise slides 0.75 s home.
    bag->SetBusy();
    bag->Close();
    EXPECT_TRUE(bag->IsOpened());
    bag->ClearBusy();
    engine.MoveMouse(700.0f, 100.0f);
    engine.Step();
    bag->Close();
    EXPECT_FALSE(bag->IsOpened());
    engine.Step(14);
    EXPECT_GT(bag->GetX(), Inventory::kClosedX);
    engine.Step(3);
    EXPECT_EQ(bag->GetX(), Inventory::kClosedX);
    EXPECT_EQ(bag->GetDepth(), -1.0f) << "home again, below the glass";
}

// Near each edge, with or without the panel standing in (the left bound), and
// under a field whose scale the magnifying glass changes while the pop-up
// rises: every letter stays inside the play field the whole time, at one size.
TEST(ScorePopup, StaysInThePlayFieldThroughItsRiseAndGoes) {
    SceneTestEngine engine(SceneTestOptions::WithDt(0.05f));
    const struct {
        float x, y, left, scaleFirst, scaleLater;
    } cases[] = {{798.0f, 598.0f, 0.0f, 1.0f, 1.0f},   {2.0f, 2.0f, 0.0f, 1.0f, 1.0f},
                 {790.0f, 300.0f, 180.0f, 1.0f, 1.664f}, {200.0f, 300.0f, 180.0f, 1.664f, 1.0f},
                 {10.0f, 300.0f, 180.0f, 1.0f, 1.0f},   {400.0f, 300.0f, 180.0f, 1.0f, 1.664f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "at (" << c.x << ", " << c.y << "), left " << c.left);
        auto* field = engine.Manager().Spawn<ZOLTFramework::CEntity>();
        field->SetScale(c.scaleFirst);
        TextEntity* text = ShowScorePopup(500.0f, c.x, c.y, nullptr, field, "Bonus za rychlost!", SCORE_SPEED, c.left);
        ASSERT_NE(text, nullptr);
        const HTEXTURE letters = TextureOf(text->GetFont());
        std::weak_ptr<void> alive = text->GetLifeToken();
        float width = -1.0f;
        for (int frame = 0; frame < 64 && !alive.expired(); ++frame) {
            if (frame == 20) field->SetScale(c.scaleLater);
            const auto drawn = RecordQuads([&] { engine.Step(); });
            float x1 = 1e9f, x2 = -1e9f, y1 = 1e9f, y2 = -1e9f;
            for (const auto& q : drawn)
                if (q.quad.tex == letters)
                    for (const hgeVertex& v : q.quad.v)
                        x1 = std::min(x1, v.x), x2 = std::max(x2, v.x), y1 = std::min(y1, v.y), y2 = std::max(y2, v.y);
            if (x2 < x1) continue;  // faded out
            // A letter's cell may stand out a pixel past its advance, blank.
            EXPECT_GE(x1, c.left - 2.0f) << "frame " << frame;
            EXPECT_LE(x2, 802.0f) << "frame " << frame;
            EXPECT_GE(y1, -2.0f) << "frame " << frame;
            EXPECT_LE(y2, 602.0f) << "frame " << frame;
            if (width < 0.0f) width = x2 - x1;
            EXPECT_NEAR(x2 - x1, width, 1.0f) << "one size, frame " << frame;
        }
        engine.Run(3.2f);
        EXPECT_TRUE(alive.expired());
        field->Kill();
    }
}
