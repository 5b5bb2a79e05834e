// Task changes, the win check and the lens: what the field sends and draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "entities/effects/PathMoveEffector.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "platform/RenderStats.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectsLayer.h"
#include "SceneFixtures.h"
#include "ScenePlaySupport.h"
#include "support/engine/RecordedQuads.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/scene/SceneTestEngine.h"

namespace {

// The mask texel under a screen point, for an upright lens quad.
void MaskTexelAt(HGE* hge, const hgeQuad& q, float px, float py, float* mx, float* my) {
    const float texW = float(hge->Texture_GetWidth(q.tex)), texH = float(hge->Texture_GetHeight(q.tex));
    const float w = (q.v[1].tx - q.v[0].tx) * texW, h = (q.v[3].ty - q.v[0].ty) * texH;
    const float u = (px - q.v[0].x) / (q.v[1].x - q.v[0].x) * w;
    const float v = (py - q.v[0].y) / (q.v[3].y - q.v[0].y) * h;
    *mx = u - q.tx2Offset;
    *my = v - q.ty2Offset;
}

}  // namespace

TEST(PlayFieldRules, TaskChangesAndTheWinCheck) {
    SceneTestEngine engine;
    auto* level = new LevelStandIn(engine.WriteScene("finished.xml", kFinishedScene));
    PlayField* field = level->Field();
    engine.Step();

    // The cigar is still to be found: no win (the rules' own test walks the win).
    EXPECT_FALSE(field->Rules().Done());
    level->events.clear();
    field->CheckWin();
    EXPECT_TRUE(level->events.empty());
    EXPECT_EQ(field->Rules().Conditions().size(), 4u);


    // A tool picked up flies into the bag: the bag takes it at its scale as it
    // lands (the pulse ends at 1) with the tool name of the task it serves,
    // and "TaskChanged" follows for the task it counted for, once.
    auto* tools = new LevelStandIn(engine.WriteScene("tool.xml", R"(<scene res_file="x" res_group="10" type="FindAll">
  <unit><sprite>Square</sprite><id>1</id></unit>
  <object><id>1</id><name>square</name><x>400</x><y>300</y><z>1</z></object>
  <object><id>1</id><name>box</name><x>700</x><y>300</y><z>1</z></object>
  <task name="Cigar" type="And"><item name="square"/></task>
  <task name="Box" type="Use" tool_to_find="square" tool_sprite="pliers"><item name="box"/></task>
</scene>)"));
    OpenPanel(engine, tools);
    Inventory* bag = tools->Field()->GetInventory();
    SceneObject* square = SceneObjectNamed(tools->Field(), "square");
    ASSERT_TRUE(ClickSceneObject(tools->Field(), "square"));
    for (int i = 0; i < 1000 && bag->GetObjects().empty(); ++i) engine.Step();
    EXPECT_TRUE(square->IsDead());
    ASSERT_EQ(bag->GetObjects().size(), 1u);
    EXPECT_EQ(bag->GetObjects()[0]->GetToolName(), "pliers");
    EXPECT_EQ(bag->GetObjects()[0]->GetScaleX(), 1.0f);
    EXPECT_EQ(tools->EventsNamed("TaskChanged"), (std::vector<std::string>{"TaskChanged=Cigar"}));
    EXPECT_TRUE(tools->Field()->Rules().ToolRecords().empty()) << "its flying record left on arrival";
}

// A condition's events that mean nothing to the field (a comic page...) reach
// the level once, when the click finishes the task. A find flies to the middle
// of the panel (180 wide here), to its clue's line, or to the line 150 for a
// task without one or for "Dummy"; in scene units.
TEST(PlayFieldRules, ConditionEventsGoToTheLevelWhenTheTaskIsDoneAndFindsFlyToTheirClue) {
    SceneTestEngine engine;
    auto* level = new LevelStandIn(engine.WriteScene("seal.xml", R"(<scene res_file="x" res_group="10" type="FindAll">
  <unit><sprite>Square</sprite><id>1</id></unit>
  <object><id>1</id><name>seal</name><x>300</x><y>150</y><z>1</z></object>
  <object><id>1</id><name>case</name><x>500</x><y>150</y><z>1</z></object>
  <object><id>1</id><name>stamp</name><x>700</x><y>150</y><z>1</z></object>
  <task name="Seal" type="And"><item name="seal"/><item name="case"/></task>
  <task name="Dummy" type="And"><item name="stamp"/></task>
  <task_condition><finished_task name="Seal"/><action type="ShowComics" name="page.xml"/><action type="Say" name="Hi"/></task_condition>
</scene>)"));
    PlayField* field = level->Field();
    OpenPanel(engine, level);
    level->events.clear();
    level->clueLines = {{"Seal", 206.0f}, {"Dummy", 206.0f}};
    const std::pair<const char*, float> finds[] = {{"seal", 206.0f}, {"stamp", 150.0f}, {"case", 150.0f}};
    for (const auto& find : finds) {
        SCOPED_TRACE(find.first);
        if (std::string(find.first) == "case") {
            EXPECT_TRUE(level->EventsNamed("ShowComics").empty()) << "the task is not done yet";
            level->clueLines.clear();
        }
        SceneObject* object = SceneObjectNamed(field, find.first);
        ASSERT_TRUE(ClickSceneObject(field, find.first));
        engine.Run(1.25f);  // the pulse, then the flight
        const auto* path = object->FindChild<ZOLTFramework::PathMoveEffector>("");
        ASSERT_NE(path, nullptr);
        EXPECT_FLOAT_EQ(path->GetPoints().back().x, 90.0f / 0.78125f);
        EXPECT_FLOAT_EQ(path->GetPoints().back().y, find.second / 0.78125f);
    }
    EXPECT_EQ(level->EventsNamed("ShowComics"), (std::vector<std::string>{"ShowComics=page.xml"}));
    EXPECT_EQ(level->EventsNamed("Say"), (std::vector<std::string>{"Say=Hi"}));
    EXPECT_TRUE(field->Rules().Conditions().empty());
}

TEST(PlayFieldRules, LensEnlargesEveryObjectAroundTheMouse) {
    SceneTestEngine engine;
    auto* level = new LevelStandIn(engine.WriteScene("fixture.xml", kFixtureScene));
    PlayField* field = level->Field();
    SceneObjectsLayer* lensLayer = field->FindChild<SceneObjectsLayer>("ObjectsLayer");
    HGE* hge = engine.Hge();
    const HTEXTURE frameTexture = engine.GetResourceManager()->GetSprite("MagnifyingGlassTool")->GetTexture();
    engine.MoveMouse(300.0f, 220.0f);
    engine.Run(0.6f);

    RenderStats::ClearRecorded();
    RenderStats::SetRecording(true);
    engine.Step(2);
    for (const auto& recorded : RenderStats::Recorded()) {
        EXPECT_EQ(recorded.quad.tex2, 0u) << "no lens quad without the lens";
        EXPECT_NE(recorded.quad.tex, frameTexture) << "no lens frame without an enrolled object";
    }

    field->OnRightButton(true);  // the glass, kept as the cursor of the field
    EXPECT_FLOAT_EQ(field->GetScaleX(), PlayField::kLensScale);
    EXPECT_EQ(lensLayer->GetCursorSprite(), nullptr);
    const size_t objectCount = field->GetSceneObjects().size();
    const float mice[3][2] = {{300.0f, 220.0f}, {412.5f, 333.25f}, {620.0f, 410.0f}};
    for (const auto& mouse : mice) {
        RenderStats::ClearRecorded();
        engine.MoveMouse(mouse[0], mouse[1]);
        engine.Step(2);
        EXPECT_EQ(lensLayer->GetEnrolled().size(), objectCount) << "every object enrols each frame";
        std::map<int, int> framesDrawn, lensQuads;
        for (const auto& recorded : RenderStats::Recorded()) {
            const hgeQuad& q = recorded.quad;
            if (q.tex == frameTexture) ++framesDrawn[recorded.frame];
            if (!q.tex2) continue;
            ++lensQuads[recorded.frame];
            float mx, my;
            MaskTexelAt(hge, q, mouse[0], mouse[1], &mx, &my);
            EXPECT_NEAR(mx, 37.0f, 1.0f) << "mask texel under the mouse " << mouse[0] << "," << mouse[1];
            EXPECT_NEAR(my, 37.0f, 1.0f);
            // One lens texel is 1.3 screen pixels: the scene is enlarged 1.664 times.
            EXPECT_NEAR((q.v[1].x - q.v[0].x) / ((q.v[1].tx - q.v[0].tx) * hge->Texture_GetWidth(q.tex)),
                        PlayField::kLensScale * SceneObject::kSceneToScreen, 1e-3f);
        }
        ASSERT_EQ(framesDrawn.size(), 2u);
        for (const auto& frame : framesDrawn) EXPECT_EQ(frame.second, 1) << "the lens frame once a frame";
        for (const auto& frame : lensQuads) EXPECT_EQ(size_t(frame.second), objectCount);
    }

    // An object scaled on its own never enrols; back to the plain cursor, nothing does.
    field->GetSceneObjects()[0]->SetScale(1.5f);
    engine.Step();
    EXPECT_EQ(lensLayer->GetEnrolled().size(), objectCount - 1);
    field->SetCursor(PlayField::CURSOR_PLAIN, "", "");
    RenderStats::ClearRecorded();
    engine.Step(2);
    EXPECT_TRUE(lensLayer->GetEnrolled().empty());
    for (const auto& recorded : RenderStats::Recorded()) EXPECT_NE(recorded.quad.tex, frameTexture);
    EXPECT_EQ(lensLayer->GetCursorSprite(), static_cast<hgeSprite*>(engine.GetResourceManager()->GetAnimation("PlayCursor")));
    RenderStats::SetRecording(false);
}

TEST(PlayFieldRules, SplitViewServesTheOtherHalf) {
    SceneTestEngine engine;
    auto* level = new LevelStandIn(engine.WriteScene("differences.xml", kDifferencesScene));
    PlayField* field = level->Field();
    HGE* hge = engine.Hge();
    ASSERT_EQ(field->GetSceneObjects().size(), 3u) << "the two halves and the dividing line";
    EXPECT_EQ(field->GetSceneObjects()[2]->GetResourceName(), "InGameDividingLine");
    engine.Run(0.6f);
    engine.MoveMouse(390.0f, 160.0f);
    const auto plain = RecordQuads([&] { engine.Step(); });
    EXPECT_EQ(std::count_if(plain.begin(), plain.end(), [](const RenderStats::RecordedQuad& r) {
                  return r.quad.v[0].x == 378.0f && r.quad.v[0].y == 450.0f && r.quad.v[2].x == 410.0f &&
                         r.quad.v[2].y == 482.0f;
              }), 1) << "the cursor's 32 x 32 twin with its hot spot (12, 10) at the mirrored point";
    field->OnRightButton(true);  // the glass, kept as the cursor of the field

    for (const float mouseY : {160.0f, 450.0f}) {
        engine.MoveMouse(390.0f, mouseY);
        const auto quads = RecordQuads([&] { engine.Step(); });
        const float mirroredY = mouseY + SceneObjectsLayer::MirrorOffset(mouseY);
        int first = 0, second = 0;
        for (const auto& recorded : quads) {
            const hgeQuad& q = recorded.quad;
            if (!q.tex2) continue;
            float mx, my, sx, sy;
            MaskTexelAt(hge, q, 390.0f, mouseY, &mx, &my);
            MaskTexelAt(hge, q, 390.0f, mirroredY, &sx, &sy);
            if (std::fabs(mx - 37.0f) <= 1.0f && std::fabs(my - 37.0f) <= 1.0f) ++first;
            if (std::fabs(sx - 37.0f) <= 1.0f && std::fabs(sy - 37.0f) <= 0.01f) ++second;
        }
        EXPECT_EQ(first, 3) << "mouse y " << mouseY;
        EXPECT_EQ(second, 3) << "the second pass centres its hole on the mirrored point";
    }
}
