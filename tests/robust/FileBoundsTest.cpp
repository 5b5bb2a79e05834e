// What a data file may ask for is held to sound bounds: counts above 1000 are
// cut there with an Error row, floats that are not finite read as their
// defaults with an Error row, and nothing reaches an int unclamped (the
// sanitizer build checks). The inputs the mini-game targets once stopped on
// are read again through the real screens.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "FuzzRegressions.h"
#include "GameReaderFixture.h"
#include "minigames/CBricksField.h"
#include "platform/FileSystem.h"
#include "minigames/MemoryScreen.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/PuzzlePiece.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/GlobalMapData.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelPanel.h"
#include "screens/LevelScreen.h"
#include "support/scene/LevelStandIn.h"
#include "support/TestFiles.h"

namespace {

// The text repeated n times, "#" replaced by the running number.
std::string Repeated(const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        std::string one = text;
        for (size_t at = one.find('#'); at != std::string::npos; at = one.find('#')) one.replace(at, 1, std::to_string(i));
        out += one;
    }
    return out;
}

TEST_F(GameReaderRegressionTest, CountsAndNumbersFromFilesAreHeldToSoundBounds) {
    // The 29-byte repeat file that asks for two billion cells.
    const std::string cells = ReadWholeFile(RegressionFolder("fuzz_repeat") + "cell_number_2000000000.xml");
    ASSERT_LT(cells.size(), 30u);
    auto* repeat = dynamic_cast<RepeatScreen*>(OpenMiniGame(WriteMiniGame("5.2.xml", cells), nullptr));
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(repeat->GetSequence().size(), 1000u);
    EXPECT_EQ(log.Count("\"CellNumber\" asks for 2000000000, more than 1000; 1000 is used."), 1);
    SkipToTheResult(repeat);

    // Symbols beyond the limit, and places that are not finite numbers.
    repeat = dynamic_cast<RepeatScreen*>(OpenMiniGame(
        WriteMiniGame("5.2.xml", "<a CellNumber=\"4\" VariantNumber=\"2000000000\" RowLength=\"2\" OffsetX=\"nan\" "
                                 "OffsetY=\"-inf\" CellWidth=\"1e39\" CellHeight=\"7\"/>"),
        nullptr));
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(log.Count("\"VariantNumber\" asks for 2000000000, more than 1000; 1000 is used."), 1);
    for (int symbol : repeat->GetSequence()) EXPECT_TRUE(symbol >= 0 && symbol < 1000) << symbol;
    EXPECT_EQ(repeat->CellX(3), 0.0f);  // offset and width read as 0
    EXPECT_EQ(repeat->CellY(3), 7.0f);  // a row down from offset 0
    EXPECT_EQ(log.Count("not a finite number; 0 is used."), 3);
    SkipToTheResult(repeat);

    // 1001 kinds and 1001 bottles: the deal stops at 1000 of each.
    const std::string memoryFile = "<minigame>" + Repeated("<unit id=\"#\" Texture=\"BottleLabelRum6_2\"/>", 1001) +
                                   Repeated("<brick x=\"#\" y=\"200\" z=\"1\"/>", 1001) + "</minigame>";
    auto* memory = dynamic_cast<MemoryScreen*>(OpenMiniGame(WriteMiniGame("6.2.xml", memoryFile), nullptr));
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(memory->FindChild<ZOLTFramework::CBricksField>("BricksField")->GetBricks().size(), 1000u);
    EXPECT_EQ(log.Count("the units are more than 1000; the rest is left out."), 1);
    EXPECT_EQ(log.Count("the bricks are more than 1000; the rest is left out."), 1);
    SkipToTheResult(memory);

    // 1001 pieces, and an angle step so small that a turn would hold billions.
    const std::string puzzle =
        "<minigame Scene=\"%%scene%%\" IsRotatable=\"1\" RandomAngleStep=\"1e-30\" MinDistToTargetToDock=\"10\" "
        "MinDAngleToDock=\"0.1\" RectX1=\"0\" RectY1=\"0\" RectX2=\"800\" RectY2=\"600\" Scale=\"inf\"/>" +
        std::string(kSplit) + "<scene><unit><id>1</id><sprite>ButtonBrass1_1</sprite></unit>" +
        Repeated("<object><id>1</id><name>p#</name><x>#</x><y>nan</y><z>1</z></object>", 1001) + "</scene>";
    auto* pieces = dynamic_cast<PuzzleScreen*>(OpenMiniGame(WriteMiniGame("1.1.xml", puzzle), nullptr));
    ASSERT_NE(pieces, nullptr);
    EXPECT_EQ(pieces->GetLoosePieces().size(), 1000u);
    EXPECT_EQ(log.Count("the pieces are more than 1000; the rest is left out."), 1);
    EXPECT_EQ(log.Count("the angle steps of \"RandomAngleStep\" asks for 2147483647, more than 1000; 1000 is used."), 1);
    EXPECT_EQ(log.Count("The attribute \"Scale\" of &lt;minigame&gt; is \"inf\", not a finite number; 0.78125 is used."), 1);
    EXPECT_EQ(pieces->GetLoosePieces()[7]->targetX, 7.0f * 0.78125f);
    EXPECT_EQ(pieces->GetLoosePieces()[7]->targetY, 0.0f);
    engine.Step(3);
    SkipToTheResult(pieces);

    // A scene action that grants two billion cigars gives a thousand.
    Active().CigarCount = 2;
    auto* level = engine.Manager().OpenScreen<LevelScreen>("data/Scenes/Study.xml", LevelScreen::kReturnScreen);
    engine.Step(2);
    level->OnQuestion("AddCigars", "2000000000");
    EXPECT_EQ(Active().CigarCount, 1002);
    EXPECT_EQ(log.Count("the cigars of \"AddCigars\" asks for 2000000000, more than 1000; 1000 is used."), 1);
    // Seconds that are not finite change nothing; a huge finite gift of time
    // still shows on the clock (held to the int range there).
    Active().Time = 100.0f;
    level->OnQuestion("AddTime", "nan");
    EXPECT_EQ(Active().Time, 100.0f);
    EXPECT_EQ(log.Count("the seconds of \"AddTime\" is \"nan\", not a finite number; 0 is used."), 1);
    level->OnQuestion("AddTime", "3e38");
    engine.Step(2);
    EXPECT_EQ(Active().Time, 3e38f);
    EXPECT_EQ(LevelPanel::FormatTime(3e38f), "2147483647:07");
    CloseAll();

    // A map of 1001 nodes whose level time and cigars are not finite: the
    // nodes stop at 1000 and the player keeps his time and cigars.
    engine.Dir().Write("Map.xml", "<GlobalMap LevelTime=\"nan\" CigarCount=\"1e39\">" +
                                      Repeated("<LevelNode Name=\"N#\" X=\"inf\" Y=\"#\" Level=\"L#\"/>", 1001) +
                                      "</GlobalMap>");
    const GlobalMapData map = GlobalMapData::Read(engine.Dir() / "Map.xml");
    EXPECT_EQ(map.nodes.size(), 1000u);
    EXPECT_EQ(map.nodes[999].name, "N999");
    EXPECT_EQ(map.nodes[999].x, 0.0f);
    EXPECT_EQ(map.nodes[999].y, 999.0f);
    EXPECT_FALSE(map.hasLevelTime);
    EXPECT_FALSE(map.hasCigarCount);
    EXPECT_EQ(log.Count("the level nodes are more than 1000; the rest is left out."), 1);
    // Cigars beyond int are a finite float: held to the largest int.
    engine.Dir().Write("Map.xml", "<GlobalMap LevelTime=\"600\" CigarCount=\"3e9\"/>");
    const GlobalMapData cigars = GlobalMapData::Read(engine.Dir() / "Map.xml");
    EXPECT_TRUE(cigars.hasLevelTime && cigars.hasCigarCount);
    EXPECT_EQ(cigars.levelTime, 600.0f);
    EXPECT_EQ(cigars.cigarCount, INT_MAX);
}

TEST_F(GameReaderRegressionTest, MiniGamesOfKeptInputsOpenPlayAndReport) {
    const std::pair<const char*, const char*> targets[] = {{"fuzz_repeat", "5.2.xml"},
                                                           {"fuzz_memory", "6.2.xml"},
                                                           {"fuzz_puzzle", "15.2.xml"},
                                                           {"fuzz_puzzle_two_part", "2.2.xml"}};
    int replayed = 0;
    for (const auto& target : targets) {
        for (const std::string& path : Regressions(target.first)) {
            SCOPED_TRACE(path);
            MiniGameScreen* screen = OpenMiniGame(WriteMiniGame(target.second, ReadWholeFile(path)), nullptr);
            engine.Run(1.5f);
            engine.Click(400.0f, 300.0f);
            SkipToTheResult(screen);
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

// A scene left after a few clicks, played again from its state file and left
// at once, writes the same state again.
TEST_F(GameReaderRegressionTest, KeptPlayFieldStatesSaveLoadAndSaveTheSame) {
    const std::vector<std::string> paths = Regressions("fuzz_play_field_state");
    ASSERT_FALSE(paths.empty());
    auto playAndSave = [&](const std::string& scene, bool click) {
        Active().PlayFieldPath = click ? std::string() : scene;
        auto* level = new LevelStandIn(scene);  // opens itself
        engine.Step(2);
        std::vector<std::pair<float, float>> places;
        for (const SceneObject* object : level->Field()->GetSceneObjects())
            if (click && places.size() < 4)
                places.push_back({object->GetX() / PlayField::kScreenToScene + 180.0f,
                                  object->GetY() / PlayField::kScreenToScene});
        for (const auto& place : places) engine.Click(place.first, place.second);
        engine.Run(click ? 1.5f : 0.0f);
        level->Field()->SaveState();
        std::string text;
        if (!Active().PlayFieldPath.empty()) FileSystem::ReadFile(Active().PlayFieldPath, text);
        CloseAll();
        return text;
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        engine.Dir().Write("scene.xml", ReadWholeFile(path));
        const std::string first = playAndSave(engine.Dir() / "scene.xml", true);
        ASSERT_FALSE(first.empty());
        engine.Dir().Write("state.xml", first);
        EXPECT_EQ(playAndSave(engine.Dir() / "state.xml", false), first);
    }
}

// Kept map files open as the map of a player back from a won level, run
// through the flight and close.
TEST_F(GameReaderRegressionTest, KeptMapFilesOpenRunAndClose) {
    const std::vector<std::string> paths = Regressions("fuzz_global_map");
    ASSERT_FALSE(paths.empty());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        Active().NodeScores = {{"NodeBrannoksHouse", 900}, {"NodeTownHall", 0}};
        Active().LastSolvedNode = "NodeBrannoksHouse";
        Active().GameInProgress = true;
        auto* map = engine.Manager().OpenScreen<ZOLTFramework::GlobalMapScreen>(path);
        std::weak_ptr<void> alive = map->GetLifeToken();
        engine.Run(3.0f);
        engine.MoveMouse(2.0f, 300.0f);
        engine.Run(1.0f);
        EXPECT_FALSE(alive.expired());
        CloseAll();
    }
}

}  // namespace
