// The level screen on the game's resources: the clock under each window and
// its one time-out, the events of the scene, a press made as a window opens,
// the cigars, the node score on the map, events that arrive while the level is
// built, the saved state of a scene left unfinished and the evidence case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "LevelTestSupport.h"
#include "StoryTestSupport.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityServices.h"
#include "entities/core/SpriteExEntity.h"
#include "entities/screens/CPauseScreen.h"
#include "entities/screens/OKScreen.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "platform/FileSystem.h"
#include "profiles/Player.h"
#include "scene/LevelEvents.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldStateWriter.h"
#include "scene/SceneObject.h"
#include "screens/BagScreen.h"
#include "screens/ComicScreen.h"
#include "screens/CMenuScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/HelpScreen.h"
#include "screens/LevelPanel.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"
#include "screens/OptionsScreen.h"
#include "support/TestFiles.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/scene/ScenePlayHelpers.h"

using ZOLTFramework::CEntity;

namespace {

// Three pictures of the study, two clues, a hint and a counted-out clue.
const char* const kScene = R"(<scene res_file="data\Resource\main.res" res_group="10" type="FindAll" MedalToAdd="2" MedalAddingProbability="0">
  <unit><sprite>background_Study</sprite><id>1</id></unit>
  <unit><sprite>watch_Study</sprite><id>3</id></unit>
  <unit><sprite>quill_Study</sprite><id>6</id></unit>
  <object><id>1</id><name>background</name><x>0</x><y>0</y><z>1</z></object>
  <object><id>3</id><name>watch</name><x>300</x><y>300</y><z>20</z></object>
  <object><id>6</id><name>quill</name><x>500</x><y>300</y><z>20</z></object>
  <task name="Watch" type="And" text_singular="STUDY_WATCH" text_plural="STUDY_WATCH_P"><object name="watch"/></task>
  <task name="Quill" type="And" text_singular="STUDY_QUILL" text_plural="STUDY_QUILL_P"><object name="quill"/></task>
  <task_condition><action type="ShowHint" name="TUTORIAL_BAG/0x01EB0056"/><action type="AddMagnifyingGlass" name=""/></task_condition>
  <task_condition><finished_task name="Quill"/><action type="IgnoreAdding" name="IgnoreAdding"/></task_condition>
  <task_condition><finished_task name="Watch"/><action type="AddCigars" name="2"/></task_condition>
  <pair name1="watch" name2="quill"/>
</scene>)";

const char* const kMap = R"(<GlobalMapScreen LevelTime="600" CigarCount="2.7">
  <LevelNode Name="NodeA" Level="a.xml"/>
  <FlagAppearing Name="Flag" StaffStart="s"/>
  <LevelNode Name="NodeB" Level="b.xml"/>
  <LevelNode Name="NodeC" Level="c.xml"/>
</GlobalMapScreen>)";

// The document as the writer writes it; empty when it does not load.
std::string DocumentText(const std::string& path) {
    XMLDocument document("none");
    return document.Load(path) ? document.ToText() : std::string();
}

}  // namespace

TEST(LevelScreen, TheClockRunsOnlyWithThePanelInAndNoWindowOver) {
    LevelEngine engine;
    LevelScreen* level = engine.Open(engine.Write("scene.xml", kScene));
    Player* player = engine.Active();
    EXPECT_FLOAT_EQ(level->FindChild<ZOLTFramework::CWindowEntity>("Panel")->GetX(), LevelPanel::kPanelOutX);
    ASSERT_TRUE(engine.PanelIn(level));
    engine.DismissHints(level);

    // Running: a second of play takes a second.
    float before = player->Time;
    engine.Run(1.0f);
    EXPECT_NEAR(before - player->Time, 1.0f, 0.11f);
    EXPECT_EQ(level->FindChild<TextEntity>("text_time")->GetTextRef(), LevelPanel::FormatTime(player->Time));

    // Help: stopped until its button answers.
    level->OnButtonPress("Help");
    ASSERT_NE(level->Windows().GetHelpScreen(), nullptr);
    level->OnButtonPress("Help");  // one help window at a time
    EXPECT_EQ(engine.Named("").size() >= 1, true);
    before = player->Time;
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(player->Time, before);
    HelpScreen* help = level->Windows().GetHelpScreen();
    help->OnButtonPress("Exit");
    help->OnButtonPress("Exit");  // answers once
    EXPECT_TRUE(help->IsClosing());
    ASSERT_TRUE(engine.PanelIn(level));
    before = player->Time;
    engine.Run(1.0f);
    EXPECT_LT(player->Time, before);

    // Pause: stopped until any key.
    level->OnButtonPress("Pause");
    ASSERT_NE(engine.TopAs<ZOLTFramework::CPauseScreen>(), nullptr);
    before = player->Time;
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(player->Time, before);
    engine.Press(HGEK_SPACE);
    ASSERT_TRUE(engine.PanelIn(level));
    engine.Run(0.6f);
    EXPECT_LT(player->Time, before);

    // Options: the clock waits under the window; "Resume" lets it go on.
    level->OnButtonPress("Exit");
    auto* options = engine.TopAs<OptionsScreen>();
    ASSERT_NE(options, nullptr);
    std::weak_ptr<void> optionsAlive = options->GetLifeToken();
    before = player->Time;
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(player->Time, before);
    options->OnButtonPress("OK");  // closes and tells the level "Resume"
    EXPECT_TRUE(engine.RunUntil([&] { return engine.Top() == level; }, 2.0f));
    ASSERT_TRUE(engine.PanelIn(level));
    engine.Run(0.5f);
    EXPECT_LT(player->Time, before);

    // A hint window stops it until "TutorialShown".
    level->OnQuestion("ShowHint", "TUTORIAL_CIGAR/90");
    engine.Step(2);
    ASSERT_EQ(engine.Top()->GetName(), "HintScreen");
    before = player->Time;
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(player->Time, before);
    engine.Press(HGEK_ENTER);
    engine.Run(0.5f);
    EXPECT_LT(player->Time, before);

    // The level's death takes an options window it opened with it.
    level->OnButtonPress("Exit");
    ASSERT_NE(engine.TopAs<OptionsScreen>(), nullptr);
    std::weak_ptr<void> second = engine.Top()->GetLifeToken();
    level->Kill();
    engine.Step(2);
    EXPECT_TRUE(second.expired());
    (void)optionsAlive;
}

TEST(LevelScreen, OneTimeOutOpensTheLoseWindowAndItsAnswerLeavesTheLevel) {
    LevelEngine engine;
    LevelScreen* level = engine.Open(engine.Write("scene.xml", kScene));
    ASSERT_TRUE(engine.PanelIn(level));
    engine.DismissHints(level);
    Player* player = engine.Active();
    player->Time = 21.0f;
    engine.Run(1.5f);
    EXPECT_EQ(level->FindChild<TextEntity>("text_time")->GetColor(), 0xFFFF0000u);
    player->Time = 0.3f;
    engine.Run(1.0f);
    EXPECT_FLOAT_EQ(player->Time, 0.0f);
    EXPECT_EQ(engine.Named("Lose").size(), 1u);
    level->Panel().RunClock(0.5f);  // already out: no second window
    engine.Step();
    EXPECT_EQ(engine.Named("Lose").size(), 1u);
    player->TempEvidences.insert("TornTicket");
    player->PlayFieldPath = "kept.xml";
    std::weak_ptr<void> alive = level->GetLifeToken();
    engine.Press(HGEK_ENTER);
    EXPECT_TRUE(player->TempEvidences.empty());
    EXPECT_TRUE(player->PlayFieldPath.empty());
    ASSERT_TRUE(engine.RunUntil([&] { return alive.expired(); }, 3.0f));
    EXPECT_NE(engine.TopAs<ZOLTFramework::GlobalMapScreen>(), nullptr);
}

TEST(LevelScreen, EventsOfTheSceneChangeTimeHintsCigarsAndScores) {
    LevelEngine engine;
    Player* player = engine.Active();
    LevelScreen* level = engine.Open(engine.Write("scene.xml", kScene));
    // Sent while the level was built, handled once it stood: the panel comes
    // in, the hint waits, the glass stands once.
    EXPECT_EQ(level->LastEvent(), "AddMagnifyingGlass");
    EXPECT_TRUE(level->Windows().HasHint());
    level->OnQuestion("ShowExtraCigarTutorial", "");
    ASSERT_NE(level->FindChild<ZOLTFramework::CSpriteEntity>("MagnifyingGlass"), nullptr);
    int glasses = 0;
    for (CEntity* child : level->FindChild("Panel")->GetChildren())
        if (child->GetName() == "MagnifyingGlass") ++glasses;
    EXPECT_EQ(glasses, 1);
    EXPECT_EQ(level->FindChild<TextEntity>("CigarCounter")->GetTextRef(), "3");
    // "Quill" is counted out: only "Watch" has a clue.
    EXPECT_NE(level->FindChild("Panel")->FindChild<TextEntity>("Watch"), nullptr);
    EXPECT_EQ(level->FindChild("Panel")->FindChild<TextEntity>("Quill"), nullptr);

    // The help text for a requested file (the launch: LevelMiniGamesTest).
    EXPECT_EQ(LevelScreen::MiniGameHelpKeyFor("data/MiniGames/11.1.xml"), "HELP_MINIGAME_11_1");
    ASSERT_TRUE(engine.PanelIn(level));
    // The first hint window is the bag's, at its point.
    ASSERT_TRUE(engine.RunUntil([&] { return level->FindChild("HintScreen") != nullptr; }, 3.0f));
    EXPECT_EQ(level->FindChild("HintScreen")->FindChild<TextEntity>("Text")->GetTextRef(),
              ZOLTFramework::Services::Text(level->GetEngine(), "TUTORIAL_BAG"));
    // The extra-cigar window waits while a hint is queued or shown, then comes.
    CEntity* cigarWindow = level->FindChild("ExtraCigarWindow");
    ASSERT_NE(cigarWindow, nullptr);
    EXPECT_TRUE(cigarWindow->IsHidden());
    engine.DismissHints(level);
    engine.Run(0.1f);
    EXPECT_FALSE(cigarWindow->IsHidden());
    level->OnQuestion("ShowHint", "ONLY_KEY");
    ASSERT_TRUE(engine.RunUntil([&] { return level->Windows().IsHintWindowOpen(); }, 3.0f));
    EXPECT_TRUE(cigarWindow->IsHidden()) << "not left under a later hint";
    engine.DismissHints(level);
    engine.Run(0.1f);
    EXPECT_FALSE(cigarWindow->IsHidden());
    player->Time = 300.0f;
    level->OnQuestion("AddTime", "-60");
    EXPECT_FLOAT_EQ(player->Time, 240.0f);
    // The "-1:00" falls from the clock and goes: no ghost over the clues.
    TextEntity* penalty = level->FindChild<TextEntity>("text_time")->FindChild<TextEntity>("TimePenalty");
    ASSERT_NE(penalty, nullptr);
    EXPECT_EQ(penalty->GetTextRef(), "-1:00");
    engine.Run(1.2f);
    EXPECT_EQ(level->FindChild<TextEntity>("text_time")->FindChild<TextEntity>("TimePenalty"), nullptr);
    player->Time = 50.0f;
    level->OnQuestion("AddTime", "-60");
    EXPECT_FLOAT_EQ(player->Time, 0.0f);
    EXPECT_EQ(engine.Named("Lose").size(), 1u);
    player->Time = 100.0f;
    level->OnQuestion("AddTime", "30");
    EXPECT_FLOAT_EQ(player->Time, 130.0f);
    player->RelaxedMode = true;
    level->OnQuestion("AddTime", "30");
    EXPECT_FLOAT_EQ(player->Time, 130.0f);
    player->RelaxedMode = false;

    const auto inventory = LevelEvents::ParseTutorialInfo("TUTORIAL_INVENTORY/0x02100104");
    const auto cigar = LevelEvents::ParseTutorialInfo("TUTORIAL_CIGAR/90/0x10");
    const auto key = LevelEvents::ParseTutorialInfo("ONLY_KEY");
    level->OnQuestion("ShowHint", "ONLY_KEY");
    EXPECT_TRUE(level->Windows().HasHint());
    EXPECT_EQ(inventory.textKey, "TUTORIAL_INVENTORY");
    EXPECT_EQ(inventory.firstPoint & 0xFFFF, 260u);
    EXPECT_EQ(inventory.firstPoint >> 16, 528u);
    EXPECT_EQ(inventory.secondPoint, 0u);
    EXPECT_EQ(cigar.firstPoint, 90u);
    EXPECT_EQ(cigar.secondPoint, 16u);
    EXPECT_EQ(key.firstPoint, 0u);

    level->OnQuestion("AddCigars", "0");
    level->OnQuestion("AddCigars", "-2");
    EXPECT_EQ(player->CigarCount, 3);
    level->OnQuestion("AddCigars", "2");
    EXPECT_EQ(player->CigarCount, 5);
    EXPECT_EQ(level->FindChild<TextEntity>("CigarCounter")->GetTextRef(), "5");

    level->OnQuestion("AddItemScore", "500");
    level->OnQuestion("AddSpeedScore", "1000");
    level->OnQuestion("AddMinigameScore", "5000");
    EXPECT_EQ(player->ScoreItems, 500);
    EXPECT_EQ(player->ScoreSpeed, 1000);
    EXPECT_EQ(player->ScoreMiniGames, 5000);
    // Scores saturate: a hand-edited users file may bring any number.
    player->ScoreMiniGames = INT32_MAX;
    level->OnQuestion("AddMinigameScore", "5000");
    EXPECT_EQ(player->ScoreMiniGames, INT32_MAX);
    player->ScoreItems = INT32_MIN;
    level->OnQuestion("AddItemScore", "-500");
    EXPECT_EQ(player->ScoreItems, INT32_MIN);
    // A name that does nothing is handled; one nothing handles is a Warning
    // row, once however often it comes.
    HtmlLogCapture log;
    level->OnQuestion("AddToInventory", "x");
    EXPECT_EQ(level->LastEvent(), "AddToInventory");
    for (int i = 0; i < 2; ++i) level->OnQuestion("NoSuchEvent", "v");
    EXPECT_EQ(log.CountRows("Warning", "Level "), 1);
    EXPECT_NE(log.Text().find("NoSuchEvent"), std::string::npos);
    EXPECT_TRUE(LevelScreen::HandlesEvent("ShowHint"));
    for (const char* none : {"NoSuchEvent", "EnableHinting", "LockingTask", "AddToInventory"})
        EXPECT_FALSE(LevelScreen::HandlesEvent(none)) << none << ": the level does nothing with it";

    level->OnQuestion("AddToBag", "TornTicket");
    EXPECT_FALSE(level->FindChild<ButtonExEntity>("BagButton")->IsHidden());
    EXPECT_EQ(player->TempEvidences.count("TornTicket"), 1u);

}

// A window that opens in the frame of a press takes that frame from the scene:
// the press that the player made as a hint window or a comic page came up
// takes nothing from under it. A page goes on only with presses made on it,
// however short: each shows the next line, and only that one.
TEST(LevelScreen, AWindowOpeningAsThePlayerPressesTakesThePressFromTheScene) {
    LevelEngine engine;
    LevelScreen* level = engine.Open(engine.Write("scene.xml", R"(<scene res_file="data\Resource\main.res" res_group="10" type="FindAll">
  <unit><sprite>background_Study</sprite><id>1</id></unit>
  <unit><sprite>watch_Study</sprite><id>3</id></unit>
  <object><id>1</id><name>background</name><x>0</x><y>0</y><z>1</z></object>
  <object><id>3</id><name>watch</name><x>300</x><y>300</y><z>20</z></object>
  <object><id>3</id><name>watch2</name><x>600</x><y>300</y><z>20</z></object>
  <task name="Watch" type="And" text_singular="STUDY_WATCH" text_plural="STUDY_WATCH_P"><object name="watch"/><object name="watch2"/></task>
</scene>)"));
    const std::string page = engine.Write("Page.xml", R"(<page>
  <appear character="Mara" from="left" string="COMIC1_1"><sprite name="InGameRect"/></appear>
  <replic string="COMIC1_2"/>
  <disappear character="Mara" to="left"/>
</page>)");
    PlayField* field = level->FindChild<PlayField>("PlayField");
    ASSERT_TRUE(engine.PanelIn(level));
    const ScreenPoint watch = OpaquePointOf(SceneObjectNamed(field, "watch"), field);
    ASSERT_TRUE(watch.found);
    engine.MoveMouse(watch.x, watch.y);
    engine.Step();

    // A hint window comes as the player clicks the watch.
    level->OnQuestion("ShowHint", "ONLY_KEY");
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    EXPECT_TRUE(level->Windows().IsHintWindowOpen());
    EXPECT_NE(SceneObjectNamed(field, "watch"), nullptr) << "the press went to the window's frame, not the scene";
    // The window takes a tap on its "OK" from its first frame on.
    auto* ok = level->FindChild("HintScreen")->FindChild<ZOLTFramework::CButtonEntity>("OK");
    ASSERT_NE(ok, nullptr);
    engine.MoveMouse(ok->GetAbsoluteX(), ok->GetAbsoluteY());
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    EXPECT_FALSE(level->Windows().IsHintWindowOpen());
    EXPECT_NE(SceneObjectNamed(field, "watch"), nullptr);
    ASSERT_TRUE(engine.PanelIn(level));
    engine.MoveMouse(watch.x, watch.y);

    // A comic page comes as the player presses on the watch and holds.
    level->OnQuestion("ShowComics", page);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    auto* comic = engine.TopAs<ComicScreen>();
    ASSERT_NE(comic, nullptr);
    EXPECT_NE(SceneObjectNamed(field, "watch"), nullptr);
    std::weak_ptr<void> comicAlive = comic->GetLifeToken();
    auto lines = [&] {
        std::vector<CEntity*> shown;
        for (CEntity* child : comic->GetChildren())
            if (dynamic_cast<SpriteExEntity*>(child) && !child->IsDead() && !child->IsHidden()) shown.push_back(child);
        return shown;
    };
    engine.Run(1.5f);
    ASSERT_EQ(lines().size(), 1u) << "the first line";
    CEntity* first = lines()[0];
    EXPECT_FLOAT_EQ(first->GetScaleX(), 1.0f) << "read in full: the press held from before the page is not one on it";
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    // A press and release inside one frame: the line goes, the next comes,
    // and no more.
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step(2);
    ASSERT_EQ(lines().size(), 1u);
    CEntity* second = lines()[0];
    EXPECT_NE(second, first);
    engine.Run(1.0f);
    EXPECT_EQ(lines(), std::vector<CEntity*>{second}) << "the second line waits for the next click";
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyUp(HGEK_LBUTTON);
    EXPECT_TRUE(engine.RunUntil([&] { return comicAlive.expired(); }, 2.0f)) << "the last click ends the page";
    EXPECT_NE(SceneObjectNamed(field, "watch"), nullptr);
}

TEST(LevelScreen, CigarsBurnOneAtATimeAndTheGlassShowsTheShadowOfAClue) {
    LevelEngine engine;
    Player* player = engine.Active();
    player->CigarCount = 1;
    LevelScreen* level = engine.Open(engine.Write("scene.xml", kScene));
    ASSERT_TRUE(engine.PanelIn(level));
    engine.DismissHints(level);
    ASSERT_NE(level->FindChild<ZOLTFramework::CButtonEntity>("CigarButton"), nullptr);
    level->Panel().UseCigar();
    EXPECT_EQ(player->CigarCount, 0);
    EXPECT_FLOAT_EQ(level->Panel().GetCigarCooldown(), LevelPanel::kCigarCooldown);
    level->Panel().UseCigar();  // during the cooldown
    EXPECT_EQ(player->CigarCount, 0);
    player->CigarCount = 2;
    level->Panel().UseCigar();
    EXPECT_EQ(player->CigarCount, 2);
    player->CigarCount = 0;
    engine.Run(15.2f);
    EXPECT_FLOAT_EQ(level->Panel().GetCigarCooldown(), 0.0f);
    EXPECT_TRUE(level->FindChild<ZOLTFramework::CButtonEntity>("CigarButton")->IsHidden());
    level->Panel().UseCigar();  // no cigar: nothing spent, no "-1"
    EXPECT_EQ(player->CigarCount, 0);
    EXPECT_FLOAT_EQ(level->Panel().GetCigarCooldown(), 0.0f);
    // The hidden cigar takes no click either.
    const auto* sprite = level->FindChild<ZOLTFramework::CSpriteEntity>("Cigar");
    engine.MoveMouse(sprite->GetAbsoluteX(), sprite->GetAbsoluteY());
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step(2);
    engine.KeyUp(HGEK_LBUTTON);
    EXPECT_EQ(player->CigarCount, 0);
    EXPECT_FLOAT_EQ(level->Panel().GetCigarCooldown(), 0.0f);

    // The pointer over a clue: the shadow of its task's picture in the glass
    // (dark, at most 60 px, centred at (58, 560) on the panel); the scene's
    // picture keeps its own hot spot, colour and blend.
    hgeSprite* watch = SceneObjectNamed(level->FindChild<PlayField>("PlayField"), "watch")->GetDisplaySprite();
    const hgeQuad before = LookOf(watch);
    level->OnButtonOver("Watch");
    const auto drawn = RecordQuads([&] { engine.Step(); });
    const float x = level->Panel().Window()->GetAbsoluteX() + 58.0f, y = 560.0f;
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(), [&](const RenderStats::RecordedQuad& q) {
                  const hgeVertex* v = q.quad.v;
                  return Shows(q, watch) && v[0].col == 0x77000000u &&
                         q.quad.blend == (BLEND_COLORMUL | BLEND_ALPHABLEND) && std::fabs((v[0].x + v[2].x) / 2 - x) < 0.5f && std::fabs((v[0].y + v[2].y) / 2 - y) < 0.5f &&
                         std::max(v[2].x - v[0].x, v[2].y - v[0].y) <= 60.01f;
              }), 1);
    const hgeQuad after = LookOf(watch);
    EXPECT_EQ(after.v[0].x, before.v[0].x) << "the hot spot";
    EXPECT_EQ(after.v[0].col, before.v[0].col);
    EXPECT_EQ(after.blend, before.blend);
}

TEST(LevelScreen, TheNodeScoreKeepsTheBestAndOpensTheNextNodeOnce) {
    LevelEngine engine;
    Player* player = engine.Active();
    const std::string map = engine.Write("map.xml", kMap);
    const GlobalMapData data = GlobalMapData::Read(map);
    EXPECT_FLOAT_EQ(data.levelTime, 600.0f);
    EXPECT_EQ(data.cigarCount, 2);
    ASSERT_EQ(data.nodes.size(), 3u);
    ASSERT_EQ(data.flags.size(), 1u);
    EXPECT_EQ(data.flags[0].attributes.at("StaffStart"), "s");

    LevelScreen* level = engine.Open(engine.Write("scene.xml", kScene), map);
    player->NodeScores = {{"NodeA", 0}};
    player->CurrentNode = "NodeA";
    player->ScoreNode = 500;
    level->Windows().RecordNodeScore();
    EXPECT_EQ(player->NodeScores, (std::map<std::string, int32_t>{{"NodeA", 500}, {"NodeB", 0}}));
    EXPECT_EQ(player->LastSolvedNode, "NodeA");
    player->ScoreNode = 300;
    level->Windows().RecordNodeScore();
    EXPECT_EQ(player->NodeScores, (std::map<std::string, int32_t>{{"NodeA", 500}, {"NodeB", 0}}));
    EXPECT_EQ(player->LastSolvedNode, "");
    player->ScoreNode = 800;
    level->Windows().RecordNodeScore();
    EXPECT_EQ(player->NodeScores["NodeA"], 800);
    player->CurrentNode = "";
    level->Windows().RecordNodeScore();
    EXPECT_EQ(player->NodeScores, (std::map<std::string, int32_t>{{"NodeA", 800}, {"NodeB", 0}, {"NodeC", 0}}));

    // A level with a scene after it leaves the scores alone.
    LevelScreen* study = engine.Open("data/Scenes/Study.xml", map);
    player->CurrentNode = "NodeB";
    player->ScoreNode = 900;
    study->Windows().RecordNodeScore();
    EXPECT_EQ(player->NodeScores.at("NodeB"), 0);

    // A won place with the most time a file may give and a node score at the
    // top of its range: the bonus and the sums saturate.
    player->CurrentNode = "NodeA";
    player->RelaxedMode = false;
    player->Time = Player::kMaxTime;
    player->ScoreNode = INT32_MAX - 5;
    player->ScoreItems = 10;
    level->ShowLevelComplete();
    EXPECT_EQ(player->ScoreNode, INT32_MAX);
    EXPECT_EQ(player->NodeScores["NodeA"], INT32_MAX);
}

// The player's values of a level: time, cigars, item, speed, mini-game and
// node scores, the place's evidences and those not yet seen in the bag.
struct LevelValues {
    float time;
    int32_t cigars, items, speed, games, node;
    std::set<std::string> evidences, unseen;

    void Put(Player& p) const {
        std::tie(p.Time, p.CigarCount, p.ScoreItems, p.ScoreSpeed, p.ScoreMiniGames, p.ScoreNode, p.TempEvidences,
                 p.TempLastEvidences) = std::tie(time, cigars, items, speed, games, node, evidences, unseen);
    }
    static LevelValues Of(const Player& p) {
        return {p.Time, p.CigarCount, p.ScoreItems, p.ScoreSpeed, p.ScoreMiniGames, p.ScoreNode, p.TempEvidences,
                p.TempLastEvidences};
    }
    bool operator==(const LevelValues& o) const {
        return std::tie(time, cigars, items, speed, games, node, evidences, unseen) ==
               std::tie(o.time, o.cigars, o.items, o.speed, o.games, o.node, o.evidences, o.unseen);
    }
};

TEST(LevelScreen, TheStateOfAnUnfinishedSceneIsSavedAndReadBack) {
    LevelEngine engine;
    Player* player = engine.Active();
    QuestionJournal journal;
    const std::string scene = engine.Write("scene.xml", kScene);
    // A level reads its scene file once: the field, the level's settings and
    // the saved state all come from that one document.
    int reads = 0;
    FileSystem::SetReadHook([&](const std::string& read) {
        reads += FileSystem::ResolvePath(read) == FileSystem::ResolvePath(scene) ? 1 : 0;
    });
    LevelScreen* level = engine.Open(scene);
    level->SaveOnQuit();
    FileSystem::SetReadHook({});
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(player->PlayFieldPath, PlayFieldStateWriter::StateFilePath(player->SaveFile));
    level->Kill();

    auto* field = engine.Manager().Spawn<PlayField>(scene, &journal, SceneContext{player});
    SceneObjectNamed(field, "watch")->Kill();  // taken: dead until the manager deletes it
    const LevelValues saved{412.5f, 2, 1500, 10, 5000, 7000, {"Letter", "Ring"}, {"Ring"}};
    saved.Put(*player);
    field->SaveState();
    const std::string path = PlayFieldStateWriter::StateFilePath(player->SaveFile);
    ASSERT_EQ(player->PlayFieldPath, path);
    const std::string first = DocumentText(path);
    EXPECT_EQ(first.find("watch_Study"), std::string::npos);
    EXPECT_NE(first.find("quill_Study"), std::string::npos);
    EXPECT_NE(first.find("name1=\"watch\""), std::string::npos);
    EXPECT_NE(first.find("IgnoreAdding"), std::string::npos);
    // The player's values of the level go with the scene, in an element of
    // their own (the root keeps the scene's attributes).
    EXPECT_NE(first.find("    <level_progress Time=\"412.5\" CigarCount=\"2\" ScoreItems=\"1500\" ScoreSpeed=\"10\""
                         " ScoreMiniGames=\"5000\" ScoreNode=\"7000\">\n"
                         "        <temp_evidence name=\"Letter\"/>\n"
                         "        <temp_evidence name=\"Ring\"/>\n"
                         "        <temp_last_evidence name=\"Ring\"/>\n"
                         "    </level_progress>\n"),
              std::string::npos)
        << first;

    // A level resumed from the state takes them; from a state written before
    // they were kept there (none in it), the players file's stand.
    XMLDocument older("scene");
    ASSERT_TRUE(older.Load(path));
    auto& parts = older.GetRoot()->GetChildren();
    parts.erase(std::remove_if(parts.begin(), parts.end(), [](const auto& c) { return c->GetName() == "level_progress"; }),
                parts.end());
    const std::string olderPath = engine.Write("older_state.xml", older.ToText());
    const LevelValues fromUsers{900.0f, 1, 50, 0, 0, 300, {"Hat"}, {}};
    for (const auto& [state, expected] : {std::make_pair(path, saved), std::make_pair(olderPath, fromUsers)}) {
        SCOPED_TRACE(state);
        fromUsers.Put(*player);
        player->PlayFieldPath = state;
        LevelScreen* resumed = engine.Open(state);
        EXPECT_TRUE(LevelValues::Of(*player) == expected);
        resumed->Kill();
        engine.Run(0.1f);
    }
    saved.Put(*player);
    player->PlayFieldPath = path;

    // Read back and saved again: the same document.
    auto* again = engine.Manager().Spawn<PlayField>(path, &journal, SceneContext{player});
    again->SaveState();
    EXPECT_EQ(DocumentText(path), first);

    // The locking object's angle in degrees: a scene locked on the quill.
    std::string locking = kScene;
    locking.insert(locking.find("</scene>"),
                   R"(<task_condition><action type="LockingTask" name="Quill^0"/></task_condition>)");
    auto* locked =
        engine.Manager().Spawn<PlayField>(engine.Write("locked.xml", locking), &journal, SceneContext{player});
    SceneObject* quill = SceneObjectNamed(locked, "quill");
    ASSERT_NE(quill, nullptr);
    quill->SetRotation(3.14159265f / 2.0f);
    locked->SaveState();
    EXPECT_NE(DocumentText(path).find("name=\"Quill^90d\""), std::string::npos);

    // A failed write keeps named what the player named (the atomic write left
    // the state whole), whichever field wrote.
    FileSystem::SetWriteHook([](FileSystem::WriteStep step, const std::string&) {
        return step != FileSystem::WriteStep::WriteRest;
    });
    again->SaveState();
    EXPECT_EQ(player->PlayFieldPath, path);
    EXPECT_NE(DocumentText(path).find("name=\"Quill^90d\""), std::string::npos);
    field->SaveState();
    FileSystem::SetWriteHook({});
    EXPECT_EQ(player->PlayFieldPath, path);

    // A finished scene writes nothing.
    auto* done = engine.Manager().Spawn<PlayField>(engine.Write("done.xml", R"(<scene><unit><sprite>background_Study</sprite><id>1</id></unit>
      <object><id>1</id><name>background</name><x>0</x><y>0</y></object></scene>)"),
                                &journal, SceneContext{player});
    player->PlayFieldPath = "old.xml";
    done->SaveState();
    EXPECT_TRUE(player->PlayFieldPath.empty());
    for (CEntity* f : {static_cast<CEntity*>(field), static_cast<CEntity*>(again), static_cast<CEntity*>(done)})
        f->Kill();
}

TEST(LevelScreen, TheEvidenceCaseIsDestroyedWhenClosed) {
    LevelEngine engine;
    Player* player = engine.Active();
    player->Evidences = {"TornTicket"};
    player->TempEvidences = {"PawnReceipt"};
    player->TempLastEvidences = {"PawnReceipt"};
    LevelScreen* level = engine.Open(engine.Write("scene.xml", kScene));
    ASSERT_TRUE(engine.PanelIn(level));
    engine.DismissHints(level);
    EXPECT_FALSE(level->FindChild<ButtonExEntity>("BagButton")->IsHidden());
    level->OnButtonPress("BagButton");
    auto* bag = engine.TopAs<BagScreen>();
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(bag->FindChild("TornTicket")->FindChild("Pulse"), nullptr);
    EXPECT_NE(bag->FindChild("PawnReceipt")->FindChild("Pulse"), nullptr);
    std::weak_ptr<void> alive = bag->GetLifeToken();
    engine.Run(0.6f);
    engine.Press(HGEK_ENTER);
    EXPECT_TRUE(player->TempLastEvidences.empty());
    ASSERT_TRUE(engine.RunUntil([&] { return alive.expired(); }, 2.0f));
    EXPECT_EQ(engine.Top(), level);
    EXPECT_FALSE(BagScreen::TakeItem("TornTicket"));
    EXPECT_TRUE(BagScreen::TakeItem("Handkerchief"));
    BagScreen::SyncPlayerItems();
    EXPECT_EQ(player->Evidences, (std::set<std::string>{"Handkerchief", "PawnReceipt", "TornTicket"}));
}

TEST(LevelScreen, MissingPicturesAreReportedAndTheCaseStillOpens) {
    HtmlLogCapture log;
    LevelEngine engine;
    engine.Active()->Evidences = {"Ghost", "TornTicket"};
    const std::string file = engine.Write("bag.xml", R"(<Bag>
      <item name="Ghost" sprite="NoSuchPicture" scaling_sprite="NoSuchZoom" x="0" y="0"/>
      <item name="TornTicket" sprite="BagTornTicket" x="-100" y="-140"/>
      <item name="Unowned" sprite="BagBrassButton" x="100" y="-140"/>
    </Bag>)");
    auto* bag = engine.Manager().OpenScreen<BagScreen>("", file);
    bag->SetLayer(15.0f);
    engine.Run(0.6f);
    EXPECT_EQ(log.CountRows("Error", "Evidence case: no sprite \"NoSuchPicture\""), 1);
    ASSERT_NE(bag->FindChild("Ghost"), nullptr);
    ASSERT_NE(bag->FindChild("TornTicket"), nullptr);
    EXPECT_EQ(bag->FindChild("Unowned"), nullptr);
    // A click on the picture that has none opens nothing.
    engine.Click(400.0f, 300.0f);
    EXPECT_EQ(bag->FindChild("Zoom"), nullptr);

    // The help window: a long text gets tighter lines; Enter answers once.
    QuestionJournal journal;
    auto* help = engine.Manager().OpenScreen<HelpScreen>("", &journal);
    help->SetTextKey("HELP_FIND_ALL");
    engine.Run(0.6f);
    engine.Press(HGEK_ENTER);
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(journal.events, (std::vector<std::string>{"answer:SetPaused=0"}));
}
