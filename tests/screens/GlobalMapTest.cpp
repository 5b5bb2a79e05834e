// The global map on the game's resources: edge scrolling, hover and clicks on
// nodes, the new game's overview with its tutorial, the banner flight, the
// way in from a level (next scene, won level, a level in progress) and out
// to a level or the menu, and broken map files.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "StoryTestSupport.h"
#include "entities/core/CAnimEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityServices.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/OKScreen.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeSprite.h"
#include "platform/RenderStats.h"
#include "profiles/Player.h"
#include "screens/CMenuScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelScreen.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/runtime/DialogMessage.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CMenuScreen;
using ZOLTFramework::GlobalMapScreen;
using ZOLTFramework::LevelNode;

namespace {

class MapEngine : public StoryEngine {
public:
    explicit MapEngine(float stepSeconds) : StoryEngine(stepSeconds) {
        if (HasSound())
            for (const char* sound : {"FlagStuck", "OnFlyingIn"})
                GetAudioManager()->LoadSound(sound, std::string("data/Sound/") + sound + ".ogg");
        MoveMouse(400.0f, 300.0f);
    }
    // Opened as the main menu opens it: fading in from nothing.
    GlobalMapScreen* OpenMap(const std::string& file = GlobalMapScreen::kMapFile) {
        auto* map = Manager().OpenScreen<GlobalMapScreen>(file);
        map->SetOpacity(0.0f);
        map->Open();
        return map;
    }
    // A window point that passes the test, scanned row by row over the
    // rectangle; false when none does.
    static bool FindPoint(const std::function<bool(float, float)>& test, float x0, float y0, float x1, float y1,
                          float* px, float* py) {
        for (float y = y0; y <= y1; y += 2.0f)
            for (float x = x0; x <= x1; x += 2.0f)
                if (test(x, y)) {
                    *px = x;
                    *py = y;
                    return true;
                }
        return false;
    }
    // A point on the node's picture.
    static bool PointOn(const LevelNode* node, float* px, float* py) {
        const float cx = node->GetAbsoluteX(), cy = node->GetAbsoluteY();
        return FindPoint([node](float x, float y) { return node->HitTest(x, y); }, cx - 20.0f, cy - 20.0f, cx + 20.0f,
                         cy + 20.0f, px, py);
    }
    // Off every node first: a hovered node stays hovered while the mouse
    // jumps onto another one.
    void ClickNode(const LevelNode* node) {
        float px = 0.0f, py = 0.0f;
        ASSERT_TRUE(PointOn(node, &px, &py)) << node->GetNodeName();
        MoveMouse(1.0f, 1.0f);
        Step();
        Click(px, py);
    }
};

bool Alive(const std::weak_ptr<void>& token) { return !token.expired(); }

// The banner flight's frames, in order.
std::vector<CEntity*> BannerFrames(const CEntity* map) {
    std::vector<CEntity*> frames;
    for (CEntity* child : map->GetChildren())
        if (child->GetName() == "GlobalMapBannerFrame") frames.push_back(child);
    return frames;
}

// Four nodes around the window's middle once the view stands at (400, 300):
// A, B and C on one spot (depths 10, 5, 5), D 40 pixels to the right, on top.
const char* const kStackedMap = R"(<GlobalMapScreen LevelTime="600" CigarCount="2">
  <FlagAppearing Name="Flag" StaffStaying="FlagStaffStaying" BannerStaying="FlagBannerStaying" StayingDx="56" StayingDy="34"/>
  <LevelNode Name="A" X="1200" Y="900" Z="10" Sprite="MapNodeHouse" Level="a.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <LevelNode Name="B" X="1200" Y="900" Z="5" Sprite="MapNodeHouse" Level="b.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <LevelNode Name="C" X="1200" Y="900" Z="5" Sprite="MapNodeHouse" Level="data/Scenes/Study.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <LevelNode Name="D" X="1240" Y="900" Z="20" Sprite="MapNodeHouse" Level="d.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
</GlobalMapScreen>)";

}  // namespace

TEST(GlobalMap, EdgeScrollingSpeedsUpCoastsAndStopsAtThePictureEdges) {
    MapEngine engine(0.01f);
    Player* player = engine.Active();
    player->NodeScores = {{"NodeBrannoksHouse", 900}, {"NodeTownHall", 0}};
    player->GameInProgress = true;
    GlobalMapScreen* map = engine.OpenMap();
    // Without a solved level the view starts at (0, 0) and the first scroll
    // step puts it in the picture's corner.
    EXPECT_FLOAT_EQ(map->GetX(), 0.0f);
    engine.Step(2);
    EXPECT_FLOAT_EQ(map->GetX(), 400.0f);
    EXPECT_FLOAT_EQ(map->GetY(), 300.0f);
    EXPECT_TRUE(engine.GetDrawCursor());
    // The scroll speed as the view moves in one 0.01 s frame.
    const auto speed = [&] { const float x0 = map->GetX(); engine.Step(); return (map->GetX() - x0) / 0.01f; };

    // 45 pixels from the left border: the arrow at once, the motion after 0.3 s.
    engine.MoveMouse(45.0f, 300.0f);
    engine.Run(0.25f);
    EXPECT_FLOAT_EQ(map->GetX(), 400.0f);
    ZOLTFramework::CSpriteEntity* cursor = map->GetScrollCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_FALSE(cursor->IsHidden());
    EXPECT_EQ(cursor->GetSprite(), ZOLTFramework::Services::Sprite(&engine, "CurLeft"));
    EXPECT_FLOAT_EQ(cursor->GetX(), 45.0f);
    EXPECT_FALSE(engine.GetDrawCursor());
    // 350 pixels a second after a further 350 / 300 s, not before.
    engine.Run(1.14f);
    EXPECT_NEAR(speed(), 325.0f, 25.0f);
    EXPECT_GT(map->GetX(), 400.0f);
    engine.Run(0.1f);
    EXPECT_NEAR(speed(), 350.0f, 0.1f);

    // Away from the edges it coasts, losing 200 pixels a second each second.
    engine.MoveMouse(400.0f, 300.0f);
    engine.Run(0.99f);
    EXPECT_NEAR(speed(), 150.0f, 3.0f);
    EXPECT_TRUE(cursor->IsHidden());
    EXPECT_TRUE(engine.GetDrawCursor());
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(speed(), 0.0f);
    engine.MoveMouse(45.0f, 300.0f);
    engine.Run(3.0f);
    EXPECT_FLOAT_EQ(map->GetX(), 1200.0f);
    EXPECT_FLOAT_EQ(map->GetY(), 300.0f);

    // The top right corner heads up and right and stops in that corner.
    engine.MoveMouse(790.0f, 10.0f);
    const float x0 = map->GetX(), y0 = map->GetY();
    engine.Run(0.5f);
    EXPECT_GT(map->GetY(), y0);
    EXPECT_NEAR(x0 - map->GetX(), map->GetY() - y0, 0.01f);
    EXPECT_EQ(cursor->GetSprite(), ZOLTFramework::Services::Sprite(&engine, "CurUp"));
    engine.Run(6.0f);
    EXPECT_FLOAT_EQ(map->GetX(), 400.0f);
    EXPECT_FLOAT_EQ(map->GetY(), 900.0f);

    // The cursor goes with the map.
    std::weak_ptr<void> cursorAlive = cursor->GetLifeToken();
    map->Kill();
    engine.Step(2);
    EXPECT_FALSE(Alive(cursorAlive));
}

TEST(GlobalMap, TheHoveredNodeIsTheLowestOfTheLatestAndStaysWhileTheMouseIsOnIt) {
    MapEngine engine(0.05f);
    Player* player = engine.Active();
    player->NodeScores = {{"A", 100}, {"B", 100}, {"C", 100}, {"D", 100}};
    player->GameInProgress = true;
    engine.MoveMouse(700.0f, 500.0f);
    GlobalMapScreen* map = engine.OpenMap(engine.Write("map.xml", kStackedMap));
    engine.Run(0.6f);
    ASSERT_EQ(map->GetNodes().size(), 4u);
    LevelNode* c = map->FindNodeByName("C");
    LevelNode* d = map->FindNodeByName("D");
    ASSERT_TRUE(c && d);
    const DWORD plainColor = d->GetColor();
    const int plainBlend = d->GetSprite()->GetBlendMode();
    float dOnlyX = 0, dOnlyY = 0, bothX = 0, bothY = 0, cOnlyX = 0, cOnlyY = 0;
    const auto onC = [c](float x, float y) { return c->HitTest(x, y); };
    const auto onD = [d](float x, float y) { return d->HitTest(x, y); };
    ASSERT_TRUE(MapEngine::FindPoint([&](float x, float y) { return onD(x, y) && !onC(x, y); }, 300, 250, 560, 350,
                                     &dOnlyX, &dOnlyY));
    ASSERT_TRUE(MapEngine::FindPoint([&](float x, float y) { return onD(x, y) && onC(x, y); }, 300, 250, 560, 350,
                                     &bothX, &bothY));
    ASSERT_TRUE(MapEngine::FindPoint([&](float x, float y) { return onC(x, y) && !onD(x, y); }, 300, 250, 560, 350,
                                     &cOnlyX, &cOnlyY));

    engine.MoveMouse(dOnlyX, dOnlyY);
    engine.Step(2);
    EXPECT_EQ(d->GetColor(), GlobalMapScreen::kHoverColor);
    EXPECT_EQ(d->GetSprite()->GetBlendMode(), GlobalMapScreen::kHoverBlend);
    engine.MoveMouse(bothX, bothY);
    engine.Step(2);
    EXPECT_EQ(d->GetColor(), GlobalMapScreen::kHoverColor) << "kept on the overlap";
    // Off it onto the other node alone: that one is hovered, whose picture
    // the pointer is on (a press would start it).
    engine.MoveMouse(cOnlyX, cOnlyY);
    engine.Step(2);
    EXPECT_EQ(c->GetColor(), GlobalMapScreen::kHoverColor);
    EXPECT_EQ(d->GetColor(), plainColor);
    EXPECT_EQ(d->GetSprite()->GetBlendMode(), plainBlend);
    engine.MoveMouse(700.0f, 500.0f);
    engine.Step(2);
    EXPECT_NE(c->GetColor(), GlobalMapScreen::kHoverColor);
    // Fresh onto the overlap: of A, B, C, D the smallest depth, and of the
    // two at depth 5 the later one.
    engine.MoveMouse(bothX, bothY);
    engine.Step(2);
    EXPECT_EQ(c->GetColor(), GlobalMapScreen::kHoverColor);
    EXPECT_EQ(GlobalMapScreen::PickHovered({d, map->FindNodeByName("B"), c, map->FindNodeByName("A")}), c);
    if (engine.HasSound()) {
        EXPECT_EQ(engine.Plays("MouseOver"), 3);
    }

    // A solved node asks first; no leaves the map as it was.
    engine.Click(bothX, bothY);
    auto* question = engine.TopAs<Dialog>();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->GetName(), "START_LEVEL");
    EXPECT_TRUE(ShowsMessage(question, "Q_ALREADY_PASSED"));
    engine.Press(HGEK_ESCAPE);
    engine.Run(0.6f);
    EXPECT_EQ(engine.Top(), map);
    EXPECT_FLOAT_EQ(map->GetScaleX(), 1.0f) << "no zoom into a level";

    // Yes: into its level, and Esc asks nothing while the view zooms in.
    engine.Click(bothX, bothY);
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(player->CurrentNode, "C");
    engine.Press(HGEK_ESCAPE);
    EXPECT_EQ(engine.TopAs<Dialog>(), nullptr);
    ASSERT_TRUE(engine.RunUntil([&] { return engine.TopAs<LevelScreen>() != nullptr; }, 1.5f));
    EXPECT_EQ(engine.Top()->GetName(), "data/Scenes/Study.xml");
}

TEST(GlobalMap, ANewGameSeesTheWholeMapThenFliesDownAndGetsTheTutorial) {
    MapEngine engine(0.02f);
    Player* player = engine.Active();
    player->NodeScores = {{"NodeBrannoksHouse", 0}};
    player->GameInProgress = false;
    EXPECT_TRUE(GlobalMapScreen::WantsOverview(*player));
    Player other = *player;
    other.NodeScores["NodeBrannoksHouse"] = 5;
    EXPECT_FALSE(GlobalMapScreen::WantsOverview(other));
    other.NodeScores = {{"NodeBrannoksHouse", 0}, {"NodeTownHall", 0}};
    EXPECT_FALSE(GlobalMapScreen::WantsOverview(other));
    other.NodeScores = {{"NodeBrannoksHouse", 0}};
    other.GameInProgress = true;
    EXPECT_FALSE(GlobalMapScreen::WantsOverview(other));

    // As the intro opens it.
    auto* map = engine.Manager().OpenScreen<GlobalMapScreen>(GlobalMapScreen::kMapFile);
    map->StartAnimation();
    map->SetScale(0.5f);
    map->SetOpacity(0.0f);
    map->Open();
    map->HideAllNodes();
    TextEntity* prompt = map->GetPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->GetTextRef(), "Click to continue");
    EXPECT_FLOAT_EQ(map->GetX(), 600.0f);
    EXPECT_FLOAT_EQ(map->GetY(), 450.0f);
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(prompt->GetY(), 580.0f);
    EXPECT_FLOAT_EQ(map->GetScaleX(), 0.5f);  // no zoom while the prompt asks
    ASSERT_EQ(map->GetNodes().size(), 1u);
    LevelNode* house = map->GetNodes()[0];
    EXPECT_TRUE(house->IsHidden());

    // A key: down to the start in 0.8 s; the nodes and their ring at 1.2 s,
    // the tutorial once the ring has shrunk in (1 s); Enter closes it.
    engine.Press(HGEK_SPACE);
    EXPECT_EQ(map->GetPrompt(), nullptr);
    engine.Run(0.82f);
    EXPECT_FLOAT_EQ(map->GetScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(map->GetX(), 1200.0f);
    EXPECT_FLOAT_EQ(map->GetY(), 300.0f);
    EXPECT_EQ(engine.TopAs<OKScreen>(), nullptr);
    ASSERT_TRUE(engine.RunUntil([&] { return engine.TopAs<OKScreen>() != nullptr; }, 2.0f));
    EXPECT_FALSE(house->IsHidden());
    ASSERT_NE(house->FindChild<CEntity>("StarCircle"), nullptr);
    // The ring has shrunk in: the paused map would freeze its stars.
    EXPECT_FLOAT_EQ(house->FindChild<CEntity>("StarCircle")->GetScaleX(), 1.0f);
    EXPECT_EQ(engine.Top()->GetName(), "FirstTutorial");
    EXPECT_TRUE(ShowsMessage(engine.TopAs<OKScreen>(), "TUTORIAL_GLOBALMAP"));
    engine.Press(HGEK_ENTER);
    engine.Run(0.6f);
    engine.Run(1.0f);
    EXPECT_EQ(engine.Top(), map) << "the tutorial shows once";

    // Esc, yes: the menu; the prompt of a second overview goes too.
    map->Kill();
    engine.Step(2);
    EXPECT_TRUE(player->GameInProgress);
    player->GameInProgress = false;
    map = engine.OpenMap();
    std::weak_ptr<void> promptAlive = map->GetPrompt()->GetLifeToken();
    engine.Run(0.6f);
    engine.Press(HGEK_ESCAPE);
    ASSERT_NE(engine.TopAs<Dialog>(), nullptr);
    EXPECT_EQ(engine.Top()->GetName(), "EXIT_TO_MENU");
    EXPECT_TRUE(ShowsMessage(engine.TopAs<Dialog>(), "Q_QUIT"));
    std::weak_ptr<void> mapAlive = map->GetLifeToken();
    engine.Press(HGEK_ENTER);
    EXPECT_NE(engine.TopAs<CMenuScreen>(), nullptr);
    engine.Run(0.7f);
    EXPECT_FALSE(Alive(promptAlive));
    EXPECT_FALSE(Alive(mapAlive));
}

TEST(GlobalMap, TheBannerFlightUsesTheLatestRecordAndTheFlagTakesTheNodesColour) {
    MapEngine engine(1.0f / 300.0f);
    Player* player = engine.Active();
    player->NodeScores = {{"A", 300}, {"B", 0}};
    player->LastSolvedNode = "A";
    player->GameInProgress = true;
    // The nodes take their planted flag from the first record; the flight
    // comes from the second record of that name.
    const std::string file = engine.Write("map.xml", R"(<GlobalMapScreen LevelTime="600" CigarCount="2">
  <FlagAppearing Name="Flag" StaffStaying="FlagStaffStaying" BannerStaying="FlagBannerStaying" StayingDx="5" StayingDy="6"/>
  <LevelNode Name="A" X="1000" Y="800" Sprite="MapNodeHouse" Level="a.xml" Caption="MAP_HARBOUR" FlagColor="0x80D0342C" Description="Flag"/>
  <LevelNode Name="B" X="1100" Y="700" Sprite="MapNodeCrane" Level="b.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <FlagAppearing Name="Flag" StaffStart="FlagStaffStart" BannerStart="FlagBannerStart"
      StaffIntermediate="FlagStaffIntermediate" BannerIntermediate="FlagBannerIntermediate"
      StaffFinish="FlagStaffFinish" BannerFinish="FlagBannerFinish" BannerMoving="FlagBannerMoving"
      StaffMoving="NoSuchAnimation" FlyingFromDx="-40" FlyingFromDy="-80" FlyingToDx="0" FlyingToDy="-10" MovingDx="7"
      StaffStaying="Later"/>
</GlobalMapScreen>)");
    GlobalMapScreen* map = engine.OpenMap(file);
    LevelNode* a = map->FindNodeByName("A");
    ASSERT_NE(a, nullptr);
    EXPECT_FLOAT_EQ(map->GetX(), 600.0f);  // centred on A
    EXPECT_FLOAT_EQ(map->GetY(), 400.0f);
    const std::vector<CEntity*> frames = BannerFrames(map);
    ASSERT_EQ(frames.size(), 3u);
    const float expected[3][2] = {{-40.0f, -80.0f}, {-20.0f, -35.0f}, {0.0f, -10.0f}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(frames[i]->GetAbsoluteX() - a->GetAbsoluteX(), expected[i][0]) << i;
        EXPECT_FLOAT_EQ(frames[i]->GetAbsoluteY() - a->GetAbsoluteY(), expected[i][1]) << i;
        auto* banner = dynamic_cast<ZOLTFramework::CSpriteEntity*>(frames[i]->GetChildren().at(0));
        ASSERT_NE(banner, nullptr);
        EXPECT_EQ(banner->GetColor(), 0x80D0342Cu);
    }
    // The stuck flag: its one known animation, the absent offset 0.
    CEntity* stuck = a->FindChild<CEntity>("GlobalMapStuckFlag");
    ASSERT_NE(stuck, nullptr);
    EXPECT_EQ(stuck->GetChildren().size(), 1u);
    EXPECT_FLOAT_EQ(stuck->GetX(), 7.0f);
    EXPECT_FLOAT_EQ(stuck->GetY(), 0.0f);
    // Once the view has panned, A's planted flag stands 5 and 6 off it as the first record
    // says: white staff, banner opaque in A's colour (one texture and hot spot).
    engine.Run(2.2f);
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(true);
    engine.Step();
    const hgeSprite* staff = ZOLTFramework::Services::Sprite(&engine, "FlagStaffStaying");
    std::set<DWORD> planted;
    for (const auto& q : RenderStats::Recorded())
        if (q.quad.tex == staff->GetTexture() && q.quad.v[0].x + staff->GetHotSpotX() == a->GetAbsoluteX() + 5.0f &&
            q.quad.v[0].y + staff->GetHotSpotY() == a->GetAbsoluteY() + 6.0f)
            planted.insert(q.quad.v[0].col);
    EXPECT_EQ(planted, (std::set<DWORD>{0xFFFFFFFFu, 0xFFD0342Cu}));
    map->Kill();
    engine.Step(2);

    // The planted banner at opacity 0.5: the flag's red, green and blue,
    // alpha 127 whatever the flag colour's alpha.
    GlobalMapData::LevelNode data;
    data.name = "Lone";
    data.sprite = "MapNodeHouse";
    data.caption = "MAP_HARBOUR";
    data.flagColor = 0x10D0342C;
    auto* node = engine.Manager().Spawn<LevelNode>(data);
    node->SetLevelInfo("FlagStaffStaying", "FlagBannerStaying", 0.0f, 0.0f);
    node->SetOpacity(0.5f);
    EXPECT_EQ(LevelNode::BannerColor(0xFFD0342C, 0.5f), 0x7FD0342Cu);
    RenderStats::ClearRecorded();  // still recording
    engine.Step(2);
    RenderStats::SetRecording(false);
    int banners = 0;
    for (const auto& quad : RenderStats::Recorded())
        if ((quad.quad.v[0].col & 0x00FFFFFF) == 0xD0342C) {
            ++banners;
            EXPECT_EQ(quad.quad.v[0].col >> 24, 127u);
        }
    EXPECT_GE(banners, 1);

    // A node without a picture: its caption only, and never hit.
    data.sprite = "NoSuchSprite";
    auto* bare = engine.Manager().Spawn<LevelNode>(data);
    EXPECT_EQ(bare->GetSprite(), nullptr);
    EXPECT_FALSE(bare->HitTest(bare->GetAbsoluteX(), bare->GetAbsoluteY()));
    EXPECT_EQ(bare->GetCaption()->GetTextRef(), "The docks");
    engine.Step();
}

TEST(GlobalMap, FromLevelsToTheMapAndBack) {
    MapEngine engine(1.0f / 300.0f);
    Player* player = engine.Active();
    player->NodeScores = {{"NodeBrannoksHouse", 0}};
    player->CurrentNode = "NodeBrannoksHouse";
    player->GameInProgress = true;
    player->Time = 500.0f;

    // A level with a next scene: that scene opens through a map nobody sees,
    // with the node score carried over.
    auto* study = engine.Manager().OpenScreen<LevelScreen>("data/Scenes/Study.xml", LevelScreen::kReturnScreen);
    engine.Step(2);
    player->ScoreNode = 700;
    study->OnQuestion("EXIT_TO_GLOBAL_MAP", "data/Scenes/Portrait.xml");
    auto* passing = engine.TopAs<GlobalMapScreen>();
    ASSERT_NE(passing, nullptr);
    std::weak_ptr<void> passingAlive = passing->GetLifeToken();
    engine.Step(3);
    auto* portrait = engine.TopAs<LevelScreen>();
    ASSERT_NE(portrait, nullptr);
    EXPECT_EQ(portrait->GetName(), "data/Scenes/Portrait.xml");
    EXPECT_EQ(player->ScoreNode, 700);
    EXPECT_FALSE(Alive(passingAlive));

    // The level won: the flag flies onto the house, the view pans to the
    // town hall, which gets its ring.
    player->NodeScores = {{"NodeBrannoksHouse", 900}, {"NodeTownHall", 0}};
    player->LastSolvedNode = "NodeBrannoksHouse";
    portrait->OnQuestion("EXIT_TO_GLOBAL_MAP", "");
    auto* map = engine.TopAs<GlobalMapScreen>();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(player->LastSolvedNode.empty());
    EXPECT_FLOAT_EQ(map->GetX(), 1600.0f - 560.0f);
    EXPECT_FLOAT_EQ(map->GetY(), 1200.0f - 800.0f);
    LevelNode* house = map->FindNodeByName("NodeBrannoksHouse");
    LevelNode* hall = map->FindNodeByName("NodeTownHall");
    ASSERT_TRUE(house && hall);
    EXPECT_FALSE(house->IsFlagVisible());
    EXPECT_FALSE(hall->IsFlagVisible());
    const std::vector<CEntity*> frames = BannerFrames(map);
    ASSERT_EQ(frames.size(), 3u);
    int shown[3] = {0, 0, 0};
    bool clickedDuringPan = false;
    for (int frame = 0; frame < 700; ++frame) {
        engine.Step();
        for (int i = 0; i < 3; ++i) shown[i] += frames[size_t(i)]->IsHidden() ? 0 : 1;
        if (frame == 150) {  // 0.5 s: a click on the house is refused
            engine.ClickNode(house);
            clickedDuringPan = true;
        }
    }
    EXPECT_TRUE(clickedDuringPan);
    EXPECT_EQ(engine.Top(), map) << "no level opened";
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(shown[i], 9) << i;
        EXPECT_LE(shown[i], 11) << i;
    }
    if (engine.HasSound()) {
        EXPECT_EQ(engine.Plays("FlagStuck"), 1);
    }
    EXPECT_FALSE(house->FindChild<CEntity>("GlobalMapStuckFlag")->IsHidden());
    EXPECT_FLOAT_EQ(hall->GetAbsoluteX(), 400.0f);
    EXPECT_FLOAT_EQ(hall->GetAbsoluteY(), 300.0f);
    EXPECT_NE(hall->FindChild<CEntity>("StarCircle"), nullptr);
    EXPECT_EQ(house->FindChild<CEntity>("StarCircle"), nullptr);
    EXPECT_TRUE(house->IsFlagVisible());
    EXPECT_FALSE(hall->IsFlagVisible());

    // Esc asks; no keeps the map.
    engine.Press(HGEK_ESCAPE);
    ASSERT_NE(engine.TopAs<Dialog>(), nullptr);
    engine.Press(HGEK_ESCAPE);
    engine.Run(0.6f);
    EXPECT_EQ(engine.Top(), map);

    // The new node: straight into its level with the map's time and cigars.
    player->Time = 20.0f;
    player->CigarCount = 0;
    std::weak_ptr<void> mapAlive = map->GetLifeToken();
    engine.ClickNode(hall);
    EXPECT_EQ(player->CurrentNode, "NodeTownHall");
    EXPECT_FLOAT_EQ(player->Time, 1200.0f);
    EXPECT_EQ(player->CigarCount, 3);
    LevelScreen* hallLevel = nullptr;
    ASSERT_TRUE(engine.RunUntil([&] { return (hallLevel = engine.TopAs<LevelScreen>()) != nullptr; }, 1.5f));
    EXPECT_EQ(hallLevel->GetName(), "data/Scenes/TownHall.xml");
    EXPECT_EQ(player->ScoreNode, 0);
    engine.Step(2);
    EXPECT_FALSE(Alive(mapAlive));

    // Left for the menu unfinished: the next map hands over to it at once.
    hallLevel->OnQuestion("EXIT_TO_MENU", "");
    const std::string saved = player->PlayFieldPath;
    ASSERT_FALSE(saved.empty());
    engine.Run(0.6f);
    map = engine.OpenMap();
    EXPECT_TRUE(map->IsDead());
    auto* resumed = engine.TopAs<LevelScreen>();
    ASSERT_NE(resumed, nullptr);
    EXPECT_EQ(resumed->GetName(), saved);
    EXPECT_EQ(player->PlayFieldPath, saved) << "named until replaced, won or lost";
    engine.Run(0.6f);

    // Esc, yes: the menu, and the map goes (once nothing is left to resume).
    player->PlayFieldPath.clear();
    map = engine.OpenMap();
    mapAlive = map->GetLifeToken();
    engine.Run(0.6f);
    engine.Press(HGEK_ESCAPE);
    engine.Press(HGEK_ENTER);
    EXPECT_NE(engine.TopAs<CMenuScreen>(), nullptr);
    EXPECT_TRUE(engine.RunUntil([&] { return !Alive(mapAlive); }, 1.0f));
    EXPECT_TRUE(player->GameInProgress);
}

// Quarter-second frames: the level still opens though the map's fade-out
// ends before its call at 0.8 s.
TEST(GlobalMap, BrokenMapDataLeavesNodesOutAndTheMapStillOpens) {
    MapEngine engine(0.25f);
    HtmlLogCapture log;
    Player* player = engine.Active();
    player->NodeScores = {{"NoSprite", 0}, {"BadSprite", 0}, {"BadCaption", 0}, {"Good", 10}, {"Last", 0}};
    player->LastSolvedNode = "Elsewhere";
    player->GameInProgress = true;
    player->Time = 300.0f;
    player->CigarCount = 1;
    const std::string file = engine.Write("map.xml", R"(<GlobalMapScreen CigarCount="2.9">
  <LevelNode Name="NoSprite" X="1200" Y="900" Level="a.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <LevelNode Name="BadSprite" X="1200" Y="900" Sprite="NoSuchSprite" Level="a.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <LevelNode Name="BadCaption" X="1200" Y="900" Sprite="MapNodeHouse" Level="a.xml" Caption="NO_SUCH_KEY" FlagColor="0xFF2E9E4E" Description="Flag"/>
  <LevelNode Name="Good" X="1200" Y="900" Sprite="MapNodeHouse" Level="data/Scenes/Study.xml" Caption="MAP_HARBOUR" FlagColor="0xFF2E9E4E" Description="NoRecord"/>
  <LevelNode Name="Last" X="1400" Y="1100" Sprite="MapNodeCrane" Level="data/Scenes/Study.xml" Caption="MAP_WAREHOUSE" FlagColor="0xFF2E9E4E" Description="NoRecord"/>
  <LevelNode Name="Unreached" X="1400" Y="1100" Sprite="MapNodeCrane" Level="x.xml" Caption="MAP_WAREHOUSE" FlagColor="0" Description="Flag"/>
</GlobalMapScreen>)");
    GlobalMapScreen* map = engine.OpenMap(file);
    EXPECT_EQ(log.CountRows("Error", "Global map: the node"), 3);
    EXPECT_EQ(log.CountRows("Warning", "Global map: the last solved node"), 1);
    ASSERT_EQ(map->GetNodes().size(), 2u);
    EXPECT_NE(map->GetNewestNode()->FindChild<CEntity>("StarCircle"), nullptr);  // still ringed
    EXPECT_EQ(map->FindChild("GlobalMapBannerFrame"), nullptr);
    EXPECT_EQ(GlobalMapData::Read(engine.Write("huge.xml", R"(<m LevelTime="-1e30" CigarCount="99999999999"/>)")).cigarCount,
              2147483647);
    EXPECT_EQ(map->PopNextNodeName(), "Unreached");
    EXPECT_EQ(map->PopNextNodeName(), "");

    // The newest node still starts its level; without "LevelTime" the time
    // stays.
    engine.Run(0.6f);
    engine.ClickNode(map->FindNodeByName("Last"));
    EXPECT_EQ(engine.TopAs<Dialog>(), nullptr);
    EXPECT_EQ(player->CurrentNode, "Last");
    EXPECT_FLOAT_EQ(player->Time, 300.0f);
    EXPECT_EQ(player->CigarCount, 2);
    ASSERT_TRUE(engine.RunUntil([&] { return engine.TopAs<LevelScreen>() != nullptr; }, 1.5f));

    // A file that cannot be read: an empty map that Esc still leaves.
    map = engine.OpenMap(engine.Dir() / "missing.xml");
    EXPECT_EQ(log.CountRows("Error", "Global map: cannot read"), 1);
    EXPECT_TRUE(map->GetNodes().empty());
    engine.Run(0.6f);
    engine.Press(HGEK_ESCAPE);
    engine.Press(HGEK_ENTER);
    EXPECT_NE(engine.TopAs<CMenuScreen>(), nullptr);
}
