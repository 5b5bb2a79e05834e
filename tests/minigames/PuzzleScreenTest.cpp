#include <gtest/gtest.h>

#include <algorithm>

#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "MiniGameTestSupport.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/PuzzleScreen.h"
#include "support/engine/RecordedQuads.h"

using ZOLTFramework::CButtonEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

const char* const kTwoPieceScene = R"(<scene res_group="55">
  <unit><id>1</id><sprite>watch_Study</sprite></unit>
  <unit><id>2</id><sprite>coin_cool_Study</sprite></unit>
  <unit><id>3</id><sprite>no_such_picture</sprite></unit>
  <object><id>1</id><name>watch</name><x>400</x><y>300</y><z>1</z></object>
  <object><id>2</id><name>coin</name><x>600</x><y>400</y><z>2</z></object>
  <object><id>3</id><name>ghost</name><x>600</x><y>400</y><z>2</z></object>
</scene>)";

std::string DragGame(MiniGameTestEngine& engine, const std::string& extra = "") {
    const std::string scene = engine.File("pieces.xml", kTwoPieceScene);
    return engine.File("15.2.xml", "<MiniGame Scene=\"" + scene +
                                       "\" IsRotatable=\"true\" RandomAngleStep=\"90\" MinDistToTargetToDock=\"20\""
                                       " MinDAngleToDock=\"0.1\" RectX1=\"100\" RectY1=\"100\" RectX2=\"700\" RectY2=\"500\" " +
                                       extra + "><IgnoreRandomAngle>0</IgnoreRandomAngle></MiniGame>");
}

void WaitOpened(MiniGameTestEngine& engine, MiniGameScreen* screen) {
    ASSERT_TRUE(engine.FadeIn(screen));
    engine.Step();
}

// Right clicks the piece until it stands upright; each turn takes 0.3 s.
void TurnUpright(MiniGameTestEngine& engine, PuzzleScreen* screen, PuzzlePiece* piece) {
    for (int turn = 0; turn < 4 && piece->GetRotation() != 0.0f; ++turn) {
        float px = 0, py = 0;
        ASSERT_TRUE(OpaquePoint(piece, &px, &py));
        engine.MoveMouse(px, py);
        engine.Step();
        ASSERT_EQ(screen->PieceAt(px, py), piece);
        const float before = piece->GetRotation();
        engine.Press(HGEK_RBUTTON);
        EXPECT_GT(piece->GetRotation(), before) << "turning";
        EXPECT_LT(piece->GetRotation(), before + PuzzlePiece::kTwoPi / 4.0f);
        // A second right click while it turns does nothing.
        engine.Press(HGEK_RBUTTON);
        engine.Step(4);
        EXPECT_NEAR(std::fmod(before + PuzzlePiece::kTwoPi / 4.0f, PuzzlePiece::kTwoPi), piece->GetRotation(), 1e-4f);
    }
    ASSERT_EQ(piece->GetRotation(), 0.0f);
}

void DragHome(MiniGameTestEngine& engine, PuzzleScreen* screen, PuzzlePiece* piece) {
    float px = 0, py = 0;
    ASSERT_TRUE(OpaquePoint(piece, &px, &py));
    ASSERT_EQ(screen->PieceAt(px, py), piece);
    engine.Drag(px, py, px + piece->targetX - piece->GetX(), py + piece->targetY - piece->GetY());
}

}  // namespace

// The letter-like drag puzzle from opening to the result: help on opening,
// start angles that are never upright, quarter turns on right clicks, drags
// home, the win, Ok, and one "MiniGameFinished" after the fade-out.
TEST(PuzzleScreen, DragTurnSolveAndReportOnce) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    const std::string path = DragGame(engine);
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(path, &level));
    EXPECT_EQ(screen->GetName(), path);
    EXPECT_EQ(screen->GetLayer(), 2000.0f);
    EXPECT_EQ(engine.Manager().GetTopScreen(), screen);
    EXPECT_FLOAT_EQ(screen->GetOpacity(), 0.3f);
    // The undeclared picture is left out.
    ASSERT_EQ(screen->GetLoosePieces().size(), 2u);
    for (PuzzlePiece* piece : screen->GetLoosePieces()) {
        EXPECT_NE(piece->GetRotation(), 0.0f);
        EXPECT_EQ(piece->GetParent(), screen);
    }
    EXPECT_TRUE(level.events.empty());
    WaitOpened(engine, screen);
    EXPECT_EQ(level.events, std::vector<std::string>{"ShowHelp="});

    PuzzlePiece* watch = PieceLabelled(screen, "watch");
    PuzzlePiece* coin = PieceLabelled(screen, "coin");
    ASSERT_TRUE(watch && coin);
    EXPECT_FLOAT_EQ(watch->targetX, 312.5f);
    TurnUpright(engine, screen, watch);
    DragHome(engine, screen, watch);
    EXPECT_EQ(screen->GetLoosePieces(), std::vector<PuzzlePiece*>{coin}) << "the watch docked";
    EXPECT_FLOAT_EQ(watch->GetX(), 312.5f);
    EXPECT_FALSE(screen->IsOkShown()) << "still playing";

    TurnUpright(engine, screen, coin);
    DragHome(engine, screen, coin);
    if (engine.HasDevice()) {
        EXPECT_EQ(engine.Plays("OnWinMiniGame"), 1);
    }
    EXPECT_TRUE(screen->IsOkShown());
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden());
    engine.Step(40);
    EXPECT_TRUE(level.Results().empty());  // no game closes itself

    screen->OnButtonPress("Ok");
    screen->OnButtonPress("Skip");  // ignored once the close has started
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
    EXPECT_NE(engine.Manager().GetTopScreen(), screen);
    EXPECT_FLOAT_EQ(screen->GetX(), 5000.0f);
    engine.Step(10);
    EXPECT_EQ(level.Results().size(), 1u);
    // The scene's resource group goes with the game.
    HTEXTURE inGroup = engine.GetResourceManager()->GetTexture("data/Texture/LoadBackground.png", 55);
    screen->Kill();
    engine.Step();
    EXPECT_EQ(engine.Hge()->Texture_GetWidth(inGroup), 0);
}

// The dock angle test, both ways round a full turn, and the board pull.
TEST(PuzzleScreen, DockingAnglesAndBoard) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(DragGame(engine), &level));
    PuzzlePiece* watch = PieceLabelled(screen, "watch");
    PuzzlePiece* coin = PieceLabelled(screen, "coin");
    coin->SetPosXY(coin->targetX, coin->targetY);
    coin->SetRotation(3.1f);
    screen->OnPieceDropped(coin);
    EXPECT_EQ(screen->GetLoosePieces().size(), 2u);
    // Dropped right of the board: pulled back to its edge (all but the widest).
    coin->SetPosXY(790.0f, 300.0f);
    screen->OnPieceDropped(coin);
    EXPECT_FLOAT_EQ(coin->GetX(), 700.0f);
    watch->SetPosXY(790.0f, 300.0f);
    screen->OnPieceDropped(watch);
    EXPECT_FLOAT_EQ(watch->GetX(), 790.0f) << "the widest picture stays where it is dropped";
    watch->SetPosXY(watch->targetX + 5.0f, watch->targetY);
    watch->SetRotation(6.2f);
    screen->OnPieceDropped(watch);
    EXPECT_EQ(screen->GetLoosePieces(), std::vector<PuzzlePiece*>{coin}) << "the watch docked";
    EXPECT_EQ(watch->GetRotation(), 0.0f);

    float angle = -0.5f;
    PuzzlePiece::NormalizeAngle(angle);
    EXPECT_FLOAT_EQ(angle, 5.7831855f);
    angle = PuzzlePiece::kTwoPi;
    PuzzlePiece::NormalizeAngle(angle);
    EXPECT_EQ(angle, 0.0f);
}

// Skip: the pieces glide home for 1.0 s, dock at 1.5 s without the win
// sound, the Ok button comes, and "MiniGameSkip" follows Ok and the fade-out.
// Solve later pressed first keeps its result even when Skip follows.
TEST(PuzzleScreen, SkipTimelineAndSolveLater) {
    MiniGameTestEngine engine(0.1f);
    MiniGameJournal level;
    const std::string path = DragGame(engine);
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(path, &level));
    WaitOpened(engine, screen);
    // A turn that would dock its piece is under way when Skip comes: its end
    // must not dock (and so finish) during the glide.
    PuzzlePiece* watch = PieceLabelled(screen, "watch");
    watch->SetPosXY(watch->targetX, watch->targetY);
    watch->SetRotation(4.712389f);
    float px = 0, py = 0;
    ASSERT_TRUE(OpaquePoint(watch, &px, &py));
    engine.MoveMouse(px, py);
    engine.Step();
    engine.KeyDown(HGEK_RBUTTON);
    engine.Step();
    engine.KeyUp(HGEK_RBUTTON);
    engine.Step();
    ASSERT_GT(watch->GetRotation(), 4.712389f) << "turning";
    screen->OnButtonPress("Skip");
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden()) << "skipping";
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("SolveLater")->IsHidden());
    engine.Step(4);  // the turn has ended (0.3 s)
    EXPECT_EQ(screen->GetLoosePieces().size(), 2u);
    engine.Step(7);  // 1.1 s: home, still loose
    for (PuzzlePiece* piece : screen->GetLoosePieces()) {
        EXPECT_NEAR(piece->GetX(), piece->targetX, 0.01f);
        EXPECT_NEAR(piece->GetRotation(), 0.0f, 1e-4f);
    }
    EXPECT_EQ(screen->GetLoosePieces().size(), 2u);
    engine.Step(5);  // past 1.5 s
    EXPECT_TRUE(screen->GetLoosePieces().empty());
    EXPECT_TRUE(screen->IsOkShown()) << "skipped";
    if (engine.HasDevice()) {
        EXPECT_EQ(engine.Plays("OnWinMiniGame"), 0);
    }
    screen->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameSkip=" + path});

    MiniGameJournal second;
    auto* later = static_cast<PuzzleScreen*>(OpenMiniGame(path, &second));
    WaitOpened(engine, later);
    engine.ClickEntity(later->FindChild<CButtonEntity>("SolveLater"));
    engine.Step();
    later->OnButtonPress("Skip");  // ignored: the game closes to be solved later
    ASSERT_TRUE(engine.StepUntil([&] { return later->HasReported(); }));
    EXPECT_EQ(second.Results(), std::vector<std::string>{"MiniGameSolveLater=" + path});
}

// A puzzle whose piece scene cannot be read has nothing to dock: built all the
// same, it is solved at once, with its Ok button, and "NoSolveLaterButton"
// hides that button. (A level never opens such a game: it is put off.)
TEST(PuzzleScreen, NothingToDockSolvesAtOnce) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    const std::string path = engine.File("9.9.xml", R"(<MiniGame Scene="missing.xml" IsRotatable="false"
        MinDistToTargetToDock="10" MinDAngleToDock="0" RectX1="0" RectY1="0" RectX2="800" RectY2="600" NoSolveLaterButton="0"/>)");
    EXPECT_EQ(OpenMiniGame(path, &level), nullptr);
    auto* screen = engine.Manager().OpenScreen<PuzzleScreen>(path, &level);
    EXPECT_TRUE(screen->IsOkShown());
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("SolveLater")->IsHidden());
    screen->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path}) << "solved";
}

// Pairs: a different second picture only clears the selection; matched pairs
// fade; the odd one left docks through the docking rule and solves the game.
TEST(PuzzleScreen, MatchPairsLeaveTheOddPiece) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    const std::string scene = engine.File("drawer.xml", R"(<scene res_group="56">
      <unit><id>1</id><sprite>coin_cool_Study</sprite></unit>
      <unit><id>2</id><sprite>coin_warm_Study</sprite></unit>
      <unit><id>3</id><sprite>ace_Study</sprite></unit>
      <object><id>1</id><name>c1</name><x>200</x><y>200</y><z>1</z></object>
      <object><id>1</id><name>c2</name><x>400</x><y>200</y><z>1</z></object>
      <object><id>2</id><name>w1</name><x>200</x><y>400</y><z>1</z></object>
      <object><id>2</id><name>w2</name><x>400</x><y>400</y><z>1</z></object>
      <object><id>3</id><name>ticket</name><x>600</x><y>300</y><z>1</z></object>
    </scene>)");
    const std::string path = engine.File("1.1.xml", "<MiniGame Scene=\"" + scene +
        "\" IsRotatable=\"false\" MatchPairs=\"true\" DisableMoving=\"true\" FinishPosAsStartPos=\"true\" ObjToFind=\"ticket\""
        " MinDistToTargetToDock=\"10\" MinDAngleToDock=\"0\" RectX1=\"0\" RectY1=\"0\" RectX2=\"800\" RectY2=\"600\" NoScale=\"1\"/>");
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(path, &level));
    WaitOpened(engine, screen);
    engine.Click(200, 200);
    engine.Click(200, 400);  // another picture: the selection is cleared
    engine.Click(400, 200);
    EXPECT_EQ(screen->GetLoosePieces().size(), 5u);
    engine.Click(200, 200);
    ASSERT_EQ(screen->GetLoosePieces().size(), 3u);
    EXPECT_EQ(screen->GetLoosePieces().back()->label, "ticket") << "docked only after the last pair";
    engine.Click(200, 400);
    engine.Click(400, 400);
    EXPECT_TRUE(screen->GetLoosePieces().empty());
    EXPECT_TRUE(screen->IsOkShown());
    screen->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path}) << "solved";

    // Skip completes the pairs at once and shows Ok; closed before the skip
    // delay has run out, the game is skipped all the same, not solved.
    MiniGameJournal second;
    auto* skipped = static_cast<PuzzleScreen*>(OpenMiniGame(path, &second));
    WaitOpened(engine, skipped);
    skipped->OnButtonPress("Skip");
    EXPECT_TRUE(skipped->GetLoosePieces().empty());
    EXPECT_TRUE(skipped->IsOkShown());
    skipped->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return skipped->HasReported(); }));
    EXPECT_EQ(second.Results(), std::vector<std::string>{"MiniGameSkip=" + path});
}

// Differences: the widest picture is the panel and starts docked; a click on
// one half works on the mirrored point of the other, docking the difference
// there and putting the match mark on it. A tap (down and up within one
// frame) is a click too.
TEST(PuzzleScreen, DifferencesUnderTheMirroredCursor) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    const std::string scene = engine.File("boat.xml", R"(<scene res_group="57">
      <unit><id>1</id><sprite>portrait_harbour</sprite></unit>
      <unit><id>2</id><sprite>coin_cool_Study</sprite></unit>
      <object><id>1</id><name>panel</name><x>400</x><y>300</y><z>0</z></object>
      <object><id>2</id><name>d1</name><x>150</x><y>300</y><z>5</z></object>
      <object><id>2</id><name>d2</name><x>250</x><y>200</y><z>5</z></object>
    </scene>)");
    const std::string path = engine.File("4.1.xml", "<MiniGame Scene=\"" + scene +
        "\" IsRotatable=\"false\" DifferenceType=\"Horizontal\" DifferencePanel=\"portrait_harbour\" DropOnClick=\"true\""
        " FinishPosAsStartPos=\"true\" NoScale=\"true\" IgnoreBiggestPiece=\"\" OnMatchMark=\"Cursor\""
        " MinDistToTargetToDock=\"10\" MinDAngleToDock=\"0\" RectX1=\"0\" RectY1=\"0\" RectX2=\"800\" RectY2=\"600\"/>");
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(path, &level));
    PuzzlePiece* d1 = PieceLabelled(screen, "d1");
    EXPECT_EQ(screen->GetLoosePieces(), (std::vector<PuzzlePiece*>{d1, PieceLabelled(screen, "d2")})) << "the panel docked";
    WaitOpened(engine, screen);
    engine.MoveMouse(662, 300);
    engine.Step();
    CSpriteEntity* cursor = screen->FindChild<CSpriteEntity>("DifferenceCursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_FLOAT_EQ(cursor->GetX(), 150.0f);
    EXPECT_FALSE(cursor->IsHidden());
    engine.Click(662, 300);
    ASSERT_EQ(screen->GetLoosePieces(), std::vector<PuzzlePiece*>{PieceLabelled(screen, "d2")}) << "d1 docked";
    EXPECT_EQ(d1->GetChildren().size() >= 1u, true);
    engine.MoveMouse(250 + 512, 200);
    engine.KeyDown(HGEK_LBUTTON);
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step(2);
    EXPECT_TRUE(screen->GetLoosePieces().empty()) << "tapped";
    EXPECT_TRUE(screen->IsOkShown());
    screen->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path}) << "solved";
}

// Start positions drop their pieces where they start: one on its target docks
// while the screen is built. The win fades the level music out; the press of
// Ok brings it back.
TEST(PuzzleScreen, StartPositionsAndLevelMusic) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    const std::string start = engine.File("start.xml", R"(<scene>
      <unit><id>7</id><sprite>watch_Study</sprite></unit>
      <unit><id>8</id><sprite>coin_cool_Study</sprite></unit>
      <object><id>7</id><x>400</x><y>300</y></object>
      <object><id>8</id><x>200</x><y>200</y></object>
    </scene>)");
    const std::string scene = engine.File("pieces.xml", kTwoPieceScene);
    const std::string path = engine.File("3.3.xml", "<MiniGame Scene=\"" + scene + "\" StartPosScene=\"" + start +
                                                        "\" IsRotatable=\"false\" MinDistToTargetToDock=\"20\" MinDAngleToDock=\"0.1\""
                                                        " RectX1=\"100\" RectY1=\"100\" RectX2=\"700\" RectY2=\"500\"/>");
    const bool music = engine.HasDevice() && engine.Audio()->LoadMusic("music1", MiniGameTestEngine::Tone());
    if (music) engine.Audio()->PlayMusic("music1", false);
    PlayerManager::Instance()->CurrentMusic = "music1";

    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(path, &level));
    ASSERT_EQ(screen->GetLoosePieces().size(), 1u);
    PuzzlePiece* coin = screen->GetLoosePieces()[0];
    EXPECT_EQ(coin->label, "coin");
    EXPECT_FLOAT_EQ(coin->GetX(), 156.25f);
    ASSERT_TRUE(engine.FadeIn(screen));
    coin->SetPosXY(coin->targetX, coin->targetY);
    screen->OnPieceDropped(coin);
    EXPECT_TRUE(screen->IsOkShown()) << "solved";
    if (music) {
        EXPECT_EQ(engine.Audio()->GetCurrentMusicName(), "");
    }
    engine.Step(30);
    engine.ClickEntity(screen->FindChild<CButtonEntity>("Ok"));
    if (music) {
        EXPECT_EQ(engine.Audio()->GetCurrentMusicName(), "music1");
    }
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
    PlayerManager::Instance()->CurrentMusic.clear();
}

// An animated piece stands on its last frame; the idle scheduler plays it
// once (it vanishes when the run is over) and stops when the game has ended.
TEST(PuzzleScreen, IdleAnimationsPlayOnceAndStopWithTheGame) {
    MiniGameTestEngine engine(0.1f);
    MiniGameJournal level;
    const std::string scene = engine.File("fish.xml", R"(<scene res_group="58">
      <unit><id>1</id><animation>Fish01</animation></unit>
      <unit><id>2</id><sprite>watch_Study</sprite></unit>
      <object><id>1</id><name>fish</name><x>300</x><y>300</y></object>
      <object><id>2</id><name>watch</name><x>600</x><y>300</y></object>
    </scene>)");
    const std::string path = engine.File("8.1.xml", "<MiniGame Scene=\"" + scene +
        "\" IsRotatable=\"false\" MinDistToTargetToDock=\"10\" MinDAngleToDock=\"0\" RectX1=\"100\" RectY1=\"100\""
        " RectX2=\"700\" RectY2=\"500\"/>");
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame(path, &level));
    PuzzlePiece* fish = PieceLabelled(screen, "fish");
    ASSERT_NE(fish, nullptr);
    // The alpha the fish is drawn with, and that its colours stay plain.
    const auto drawnAlpha = [&] {
        DWORD alpha = 0;
        for (const auto& q : DrawnBy(engine.Hge(), fish)) {
            EXPECT_EQ(q.quad.v[0].col & 0x00FFFFFFu, 0x00FFFFFFu);
            alpha = std::max(alpha, q.quad.v[0].col >> 24);
        }
        return alpha;
    };
    // The scheduler's first pick played it at once.
    EXPECT_TRUE(fish->IsAnimationPlaying());
    EXPECT_GT(drawnAlpha(), 0u) << "plain colours";
    ASSERT_TRUE(engine.StepUntil([&] { return !fish->IsAnimationPlaying(); }, 100));
    EXPECT_EQ(drawnAlpha(), 0u) << "fully transparent once the run is over";
    ASSERT_TRUE(engine.StepUntil([&] { return fish->IsAnimationPlaying(); }, 60));

    screen->OnButtonPress("SolveLater");
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
    engine.Step(120);
    EXPECT_TRUE(PlayerManager::Instance()->Timer->IsEmpty());
}
