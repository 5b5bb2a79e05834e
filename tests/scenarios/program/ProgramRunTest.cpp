// Runs the built game headless for a few hundred frames, twice, in an empty
// data home, and checks what it leaves in the storage folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/HtmlLog.h"
#include "support/ScratchFolder.h"

namespace {

int RunGame(const std::string& dataHome) {
    const std::string command = "env XDG_DATA_HOME='" + dataHome +
                                "' DROVALIN_HEADLESS=1 DROVALIN_FRAMES=300 ./drovalin >/dev/null 2>&1";
    return std::system(command.c_str());
}

TEST(ProgramRun, WritesSettingsAndBothLogsOncePerRun) {
    ScratchFolder home;
    ASSERT_FALSE(home.Path().empty());
    const std::string storage = home.Path() + "Orvelworks/Drovalin/";

    ASSERT_EQ(RunGame(home.Path()), 0);
    const std::string ini = ReadWholeFile(storage + "app.ini");
    EXPECT_EQ(ini, ReadWholeFile("app.ini"));
    EXPECT_FALSE(ini.empty());

    const std::string textLog = ReadWholeFile(storage + "app.log");
    EXPECT_NE(textLog.find("----HINT: HGE is created."), std::string::npos) << textLog;
    EXPECT_NE(textLog.find("----HINT: EntityManager is destroyed (0)."), std::string::npos) << textLog;

    std::string html = ReadWholeFile(storage + "Log.html");
    EXPECT_EQ(CountOf(html, "HGE is created."), 1u);
    EXPECT_EQ(CountOf(html, "EntityManager is destroyed: 0"), 1u);
    EXPECT_EQ(CountOf(html, "Computername:"), 1u);
    const std::string& foot = HtmlLog::PageFoot();
    ASSERT_GE(html.size(), foot.size());
    EXPECT_EQ(html.substr(html.size() - foot.size()), foot);

    // The second run keeps the player's settings and adds a second run block.
    WriteWholeFile(storage + "app.ini", ini + "\n[TEST]\nKept=1\n");
    ASSERT_EQ(RunGame(home.Path()), 0);
    EXPECT_NE(ReadWholeFile(storage + "app.ini").find("Kept=1"), std::string::npos);
    html = ReadWholeFile(storage + "Log.html");
    EXPECT_EQ(CountOf(html, "Computername:"), 2u);
    EXPECT_EQ(CountOf(html, "EntityManager is destroyed: 0"), 2u);
    EXPECT_EQ(html.substr(html.size() - foot.size()), foot);
    EXPECT_EQ(CountOf(ReadWholeFile(storage + "app.log"), "HGE is created."), 1u);
}

}  // namespace

namespace {

TEST(ProgramRun, GraveAccentTakesOneScreenshotPerPress) {
    ScratchFolder home;
    ASSERT_FALSE(home.Path().empty());
    // Held for 55 frames, then pressed once more.
    WriteWholeFile(home.File("input.txt"), "5 down 192\n60 up 192\n80 press 192\n");
    const std::string command = "env XDG_DATA_HOME='" + home.Path() + "' DROVALIN_INPUT='" + home.File("input.txt") +
                                "' DROVALIN_HEADLESS=1 DROVALIN_FRAMES=100 ./drovalin >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string textLog = ReadWholeFile(home.Path() + "Orvelworks/Drovalin/app.log");
    EXPECT_EQ(CountOf(textLog, "Snapshot"), 2u) << textLog;
}

}  // namespace
