// The hint smoke's flight and circling, its end when the target dies, the
// hint windows' placement and answer, and the scene locked on its cigar.
#include <gtest/gtest.h>

#include <string>

#include "entities/core/EntityManager.h"
#include "entities/effects/PathMoveEffector.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeParticleSystem.h"
#include "scene/CHintScreen.h"
#include "scene/Hint.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "support/engine/RecordedQuads.h"
#include "support/runtime/GuiTestEngine.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/ScenePlayHelpers.h"
#include "support/scene/SceneTestEngine.h"
#include "ScenePlaySupport.h"

using ZOLTFramework::CHintScreen;

namespace {

SceneTestOptions GameOptions(const std::string& textTable = "") { return GameSceneOptions("", textTable); }

}  // namespace

TEST(HintSmoke, FliesCirclesAndThinsOutOrStopsWithItsTarget) {
    SceneTestEngine engine(GameOptions());
    auto* level = new LevelStandIn(FixtureScene("LockingTask.xml"));
    PlayField* field = level->Field();
    engine.Run(0.6f);
    auto* hint = new Hint();  // the entity manager owns it
    ASSERT_NE(hint->GetParticleSystem(), nullptr);
    EXPECT_EQ(hint->GetParticleSystem()->info.nEmission, 230);
    const float trail = hint->GetParticleSystem()->info.fParticleLifeMax;  // ten times longer while circling
    auto circles = [&] { return hint->GetParticleSystem()->info.fParticleLifeMax > trail; };
    SceneObject* boat = SceneObjectNamed(field, "fixture_boat");
    ASSERT_NE(boat, nullptr);

    hint->FlyTo(boat);
    EXPECT_EQ(hint->GetX(), 100.0f);
    EXPECT_EQ(hint->GetY(), 370.0f);
    auto* mover = hint->FindChild<ZOLTFramework::PathMoveEffector>("Mover");
    ASSERT_NE(mover, nullptr);
    const auto& points = mover->GetPoints();
    ASSERT_EQ(points.size(), 4u);
    EXPECT_FLOAT_EQ(points[3].x, boat->GetAbsoluteX() * 0.78125f);
    EXPECT_FLOAT_EQ(points[3].y, boat->GetAbsoluteY() * 0.78125f + 60.0f);
    float circling = -1.0f, stopped = -1.0f;
    for (float t = 0.0f; t < 6.0f && stopped < 0.0f; t += engine.Dt()) {
        engine.Step();
        if (circling < 0.0f && circles()) circling = t;
        if (circling >= 0.0f && !circles()) stopped = t;
    }
    ASSERT_GE(circling, 0.0f) << "the flight ends in circling";
    ASSERT_GE(stopped, 0.0f);
    EXPECT_NEAR(stopped - circling, 1.0f, 0.15f) << "230 particles a second less every second";
    EXPECT_EQ(hint->GetParticleSystem()->info.nEmission, 230) << "emission back for the next hint";

    // A target killed in flight ends the flight untouched.
    auto* target = engine.Manager().Spawn<ZOLTFramework::CEntity>();
    target->SetPosXY(640.0f, 300.0f);
    hint->FlyTo(target);
    engine.Run(0.2f);
    target->Kill();
    engine.Run(3.0f);
    EXPECT_FALSE(circles());
    EXPECT_EQ(hint->FindChild<ZOLTFramework::PathMoveEffector>("Mover"), nullptr);
}

TEST(HintScreen, PlacedAwayFromItsPointsWithTrackingForLongTextsAndEnterAnswersOnce) {
    float wx = 0.0f, wy = 0.0f;
    CHintScreen::ChooseWindowPosition(100.0f, 100.0f, 0.0f, 0.0f, &wx, &wy);
    EXPECT_EQ(wx, 600.0f);
    EXPECT_EQ(wy, 450.0f);
    CHintScreen::ChooseWindowPosition(0.0f, 0.0f, 0.0f, 0.0f, &wx, &wy);
    EXPECT_EQ(wx, 600.0f);
    EXPECT_EQ(wy, 450.0f);
    CHintScreen::ChooseWindowPosition(700.0f, 500.0f, 650.0f, 400.0f, &wx, &wy);
    EXPECT_EQ(wx, 200.0f);
    EXPECT_EQ(wy, 150.0f);
    CHintScreen::ChooseWindowPosition(400.0f, 300.0f, 400.0f, 300.0f, &wx, &wy);
    EXPECT_EQ(wx, 200.0f) << "a tie keeps the first of the farthest";
    EXPECT_EQ(wy, 150.0f);

    const std::string text175(175, 'a'), text176(176, 'b');
    SceneTestEngine engine(GameOptions("SHORT=\"" + text175 + "\"\nLONG=\"" + text176 + "\""));
    auto* level = new LevelStandIn(FixtureScene("LockingTask.xml"));
    engine.Run(0.2f);
    auto* screen = engine.Manager().Spawn<CHintScreen>(level, 100.0f, 100.0f, 0.0f, 0.0f);
    screen->SetLayer(15.0f);
    auto* window = screen->FindChild<ZOLTFramework::CWindowEntity>("Window");
    auto* text = screen->FindChild<TextEntity>("Text");
    ASSERT_TRUE(window && text);
    // The pen's step from the first letter to the second: as the text draws
    // them, and as its font draws two of them by itself.
    auto step = [](const std::vector<RenderStats::RecordedQuad>& q) { return q[1].quad.v[0].x - q[0].quad.v[0].x; };
    auto fontStep = [&](const char* pair) {
        return step(RecordQuads([&] {
            engine.Hge()->Gfx_BeginScene();
            text->GetFont()->Render(0.0f, 0.0f, HGETEXT_LEFT, pair);
            engine.Hge()->Gfx_EndScene();
        }));
    };
    screen->SetText("SHORT");
    EXPECT_EQ(text->GetTextRef(), text175);
    EXPECT_FLOAT_EQ(step(DrawnBy(engine.Hge(), text)), fontStep("aa")) << "the font's own tracking";
    screen->SetText("LONG");
    EXPECT_FLOAT_EQ(step(DrawnBy(engine.Hge(), text)), fontStep("bb") - 12.0f) << "tracked closer";
    EXPECT_EQ(window->GetX(), 600.0f);
    EXPECT_EQ(window->GetY(), 450.0f);
    EXPECT_EQ(engine.Top(), screen);
    engine.Run(0.5f);
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(level->EventsNamed("TutorialShown"), (std::vector<std::string>{"TutorialShown="}));
    EXPECT_NE(engine.Top(), screen);
    engine.Press(HGEK_ENTER);
    engine.Run(0.2f);
    EXPECT_EQ(level->EventsNamed("TutorialShown").size(), 1u);
}

TEST(LockingTask, OnlyTheCigarCanBeClickedUnderTheBouncingPointer) {
    SceneTestEngine engine(GameOptions());
    auto* level = new LevelStandIn(FixtureScene("LockingTask.xml"));
    PlayField* field = level->Field();
    engine.Run(0.6f);
    EXPECT_EQ(level->EventsNamed("LockingTask"), (std::vector<std::string>{"LockingTask=Cigar^45d"}));
    EXPECT_EQ(level->EventsNamed("ShowExtraCigarTutorial").size(), 1u);
    SceneObject* cigar = SceneObjectNamed(field, "Cigar_1");
    SceneObject* boat = SceneObjectNamed(field, "fixture_boat");
    ZOLTFramework::CEntity* pointer = field->FindChild<ZOLTFramework::CEntity>("ObjectPointer");
    ASSERT_NE(pointer, nullptr);
    std::weak_ptr<void> pointerAlive = pointer->GetLifeToken();
    EXPECT_NEAR(pointer->GetRotation(), 0.785398f, 1e-5f) << "45 degrees";

    const ScreenPoint boatAt = OpaquePointOf(boat);
    ASSERT_TRUE(boatAt.found);
    engine.Click(boatAt.x, boatAt.y);
    EXPECT_EQ(level->EventsNamed("OnObjectClick").size(), 0u) << "locked on the cigar";
    const ScreenPoint cigarAt = OpaquePointOf(cigar);
    ASSERT_TRUE(cigarAt.found);
    engine.Click(cigarAt.x, cigarAt.y);
    EXPECT_EQ(level->EventsNamed("OnObjectClick"), (std::vector<std::string>{"OnObjectClick=Cigar_1"}));
    EXPECT_TRUE(pointerAlive.expired() || pointer->IsDead()) << "the lock ends with its pointer";
    for (int i = 0; i < 200 && level->EventsNamed("AddCigars").empty(); ++i) engine.Step();
    EXPECT_EQ(level->EventsNamed("AddCigars"), (std::vector<std::string>{"AddCigars=1"}));
    EXPECT_EQ(field->Rules().ItemsOnTheirWay(), 0);

    // The boat now; the hint then has nothing left to show.
    engine.Click(boatAt.x, boatAt.y);
    EXPECT_EQ(level->EventsNamed("OnObjectClick").size(), 2u);
    EXPECT_EQ(field->FindHintObject(), nullptr);
    for (int i = 0; i < 200 && level->EventsNamed("Win").empty(); ++i) engine.Step();
    EXPECT_EQ(level->EventsNamed("Win").size(), 1u);
}
