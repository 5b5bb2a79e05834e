#include <gtest/gtest.h>

#include "MiniGameTestSupport.h"
#include "minigames/MemoryScreen.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"
#include "support/engine/HtmlLogCapture.h"

// Files with faults open all the same, with a row in the log for each fault:
// missing required attributes read as 0, impossible counts as 1, all start
// angles ignored gives upright pieces, a non-positive angle step is left out,
// and a screen does not free a start-up group when it goes.
TEST(MiniGameBadData, RowsAndSoundDefaults) {
    MiniGameTestEngine engine;
    HtmlLogCapture log;
    MiniGameJournal level;

    const std::string scene = engine.File("one.xml", R"(<scene res_group="2">
      <unit><id>1</id><sprite>watch_Study</sprite></unit>
      <object><id>1</id><name>watch</name><x>100</x><y>100</y></object>
      <object><id>9</id><name>nothing</name><x>100</x><y>100</y></object>
    </scene>)");
    auto* puzzle = static_cast<PuzzleScreen*>(OpenMiniGame(
        engine.File("7.1.xml", "<MiniGame Scene=\"" + scene +
                                   "\" RandomAngleStep=\"0\"><IgnoreRandomAngle>0</IgnoreRandomAngle>"
                                   "<IgnoreRandomAngle>450</IgnoreRandomAngle><IgnoreRandomAngle>-180</IgnoreRandomAngle>"
                                   "<IgnoreRandomAngle>270</IgnoreRandomAngle></MiniGame>"),
        &level));
    // "IsRotatable", the dock distance and angle and the board are missing.
    EXPECT_EQ(log.CountRows("Error", "Mini-game " + engine.Dir().Path()), 9);
    EXPECT_EQ(log.Count("the required attribute"), 7);
    EXPECT_EQ(log.Count("unknown unit 9"), 1);
    ASSERT_EQ(puzzle->GetLoosePieces().size(), 1u);
    EXPECT_EQ(PieceLabelled(puzzle, "watch")->GetRotation(), 0.0f);  // every quarter ignored
    EXPECT_EQ(log.Count("\"RandomAngleStep\" must be positive; it is ignored"), 1);

    const std::string repeatPath =
        engine.File("11.1.xml", R"(<MiniGame CellNumber="-2" VariantNumber="0" RowLength="0" OffsetX="1" OffsetY="1"
            CellWidth="1" CellHeight="1"><PaletteElement id="0" sprite_name="nowhere"/></MiniGame>)");
    auto* repeat = dynamic_cast<RepeatScreen*>(OpenMiniGame(repeatPath, &level));
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(repeat->GetSequence(), std::vector<int>{0});
    EXPECT_EQ(log.Count("must be positive; 1 is used"), 2);
    EXPECT_EQ(log.Count("must not be 0"), 1);
    EXPECT_EQ(log.Count("\"nowhere\""), 1);
    // Without a finish picture the win counts it as shown.
    ASSERT_TRUE(engine.StepUntil([&] { return repeat->GetShowTime() == 0.0f; }, 80));
    repeat->OnButtonPress("0");
    engine.Step();
    EXPECT_TRUE(repeat->IsOkShown());
    repeat->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return repeat->HasReported(); }));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + repeatPath}) << "solved";

    const std::string memoryPath = engine.File("6.2.xml", R"(<MiniGame res_group="3"/>)");
    auto* memory = dynamic_cast<MemoryScreen*>(OpenMiniGame(memoryPath, &level));
    ASSERT_NE(memory, nullptr);
    engine.Step(2);
    EXPECT_TRUE(memory->IsOkShown()) << "nothing to turn up";
    memory->OnButtonPress("Ok");
    ASSERT_TRUE(engine.StepUntil([&] { return memory->HasReported(); }));
    EXPECT_EQ(level.Results().back(), "MiniGameFinished=" + memoryPath) << "solved";
    memory->Kill();
    puzzle->Kill();
    engine.Step(2);
    EXPECT_EQ(log.CountRows("Warning", "Mini-game "), 2) << "groups 2 and 3 are not the games' to free";
}
