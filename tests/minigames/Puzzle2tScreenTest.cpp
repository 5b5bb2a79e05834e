#include <gtest/gtest.h>

#include "entities/widgets/CButtonEntity.h"
#include "MiniGameTestSupport.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/Puzzle2tScreen.h"

using ZOLTFramework::CButtonEntity;

namespace {

std::string RackGame(MiniGameTestEngine& engine) {
    const std::string scene = engine.File("rack.xml", R"(<scene res_group="60">
      <unit><id>1</id><sprite>fx_ramko</sprite></unit>
      <unit><id>2</id><sprite>fx_slut</sprite></unit>
      <unit><id>3</id><sprite>fx_dubinko</sprite></unit>
      <unit><id>4</id><sprite>fx_svistko</sprite></unit>
      <unit><id>5</id><sprite>fx_lantern</sprite></unit>
      <unit><id>6</id><sprite>fx_Cleaner</sprite></unit>
      <object><id>1</id><x>400</x><y>300</y><z>0</z></object>
      <object><id>2</id><x>200</x><y>200</y><z>0</z></object>
      <object><id>2</id><x>300</x><y>200</y><z>0</z></object>
      <object><id>2</id><x>600</x><y>200</y><z>0</z></object>
      <object><id>2</id><x>700</x><y>200</y><z>0</z></object>
      <object><id>3</id><x>150</x><y>450</y><z>0</z></object>
      <object><id>4</id><x>300</x><y>450</y><z>0</z></object>
      <object><id>5</id><x>600</x><y>450</y><z>0</z></object>
      <object><id>6</id><x>700</x><y>80</y><z>0</z></object>
    </scene>)");
    return engine.File("2.2.xml", "<MiniGame Scene=\"" + scene +
                                      "\" IsRotatable=\"false\" NoScale=\"true\" MinDistToTargetToDock=\"30\" MinDAngleToDock=\"0\""
                                      " RectX1=\"20\" RectY1=\"20\" RectX2=\"780\" RectY2=\"580\"/>");
}

void DragTo(MiniGameTestEngine& engine, Puzzle2tScreen* screen, const std::string& name, float tx, float ty) {
    PuzzlePiece* piece = screen->FindPiece(name);
    ASSERT_NE(piece, nullptr);
    float px = 0, py = 0;
    ASSERT_TRUE(OpaquePoint(piece, &px, &py));
    engine.Drag(px, py, px + tx - piece->GetX(), py + ty - piece->GetY());
}

}  // namespace

// The watchman's rack: a tool dropped on a right-hand slot goes home and then
// scores 500 on a left one, the others 1000; the last placement wins and
// sends the cleaner to the middle; Ok reports the finish once.
TEST(Puzzle2tScreen, PlaceToolsAndFinish) {
    MiniGameTestEngine engine;
    MiniGameJournal level;
    const std::string path = RackGame(engine);
    auto* screen = dynamic_cast<Puzzle2tScreen*>(OpenMiniGame(path, &level));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->GetPlayablePieces().size(), 3u);
    EXPECT_EQ(screen->GetLeftSlots().size(), 2u);
    EXPECT_EQ(screen->GetRightSlots().size(), 2u);
    ASSERT_TRUE(engine.FadeIn(screen));

    DragTo(engine, screen, "fx_dubinko", 600, 200);
    EXPECT_FLOAT_EQ(screen->FindPiece("fx_dubinko")->GetX(), 150.0f);  // home again
    DragTo(engine, screen, "fx_dubinko", 205, 195);
    DragTo(engine, screen, "fx_svistko", 290, 210);
    EXPECT_EQ(screen->GetLeftSlots().size(), 0u);
    EXPECT_FLOAT_EQ(screen->FindPiece("fx_svistko")->GetX(), 300.0f);
    EXPECT_FALSE(screen->IsOkShown()) << "still playing";
    DragTo(engine, screen, "fx_lantern", 700, 200);
    EXPECT_EQ(level.events, (std::vector<std::string>{"ShowHelp=", "AddItemScore=500", "AddItemScore=1000",
                                                      "AddItemScore=1000"}));
    EXPECT_TRUE(screen->IsOkShown());
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("SolveLater")->IsHidden());
    engine.Step(20);
    PuzzlePiece* cleaner = screen->FindPiece("fx_Cleaner");
    ASSERT_NE(cleaner, nullptr);
    EXPECT_NEAR(cleaner->GetX(), 450.0f, 0.01f);
    EXPECT_NEAR(cleaner->GetScaleX(), 1.5f, 0.01f);
    ASSERT_TRUE(engine.ClickOk(screen));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
    // The scene's resource group goes with the game.
    HTEXTURE inGroup = engine.GetResourceManager()->GetTexture("data/Texture/LoadBackground.png", 60);
    screen->Kill();
    engine.Step();
    EXPECT_EQ(engine.Hge()->Texture_GetWidth(inGroup), 0);
}

// Skip shows Ok at once and ends 0.1 s later without points; a game put off
// keeps "MiniGameSolveLater" though Skip is pressed in its fade-out.
TEST(Puzzle2tScreen, SkipAndPutOff) {
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    const std::string path = RackGame(engine);
    auto* screen = dynamic_cast<Puzzle2tScreen*>(OpenMiniGame(path, &level));
    ASSERT_TRUE(engine.FadeIn(screen));
    engine.MoveMouse(185, 55);
    engine.Step();
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden()) << "skipping";
    EXPECT_TRUE(screen->IsOkShown());
    engine.KeyUp(HGEK_LBUTTON);
    engine.Step(2);
    EXPECT_TRUE(screen->GetPlayablePieces().empty());
    EXPECT_EQ(level.Count("AddItemScore=1000") + level.Count("AddItemScore=500"), 0);
    ASSERT_TRUE(engine.ClickOk(screen));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameSkip=" + path});

    MiniGameJournal other;
    auto* later = dynamic_cast<Puzzle2tScreen*>(OpenMiniGame(path, &other));
    ASSERT_TRUE(engine.FadeIn(later));
    engine.ClickEntity(later->FindChild<CButtonEntity>("SolveLater"));
    engine.ClickEntity(later->FindChild<CButtonEntity>("Skip"));
    ASSERT_TRUE(engine.StepUntil([&] { return later->HasReported(); }));
    EXPECT_EQ(other.Results(), std::vector<std::string>{"MiniGameSolveLater=" + path});
}
