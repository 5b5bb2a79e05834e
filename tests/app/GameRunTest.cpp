// The real game, run headless from an empty storage folder with an input
// script: logos skipped, the load screen, a key, the main menu, two window close
// requests and "yes" to the quit question. And a run over a corrupt users file,
// which is kept aside.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

namespace {

// Frames at the default step of 1/300 s. The load screen is ready about 125
// frames after the third logo hands over.
const char* const kScript =
    "# skip the three logos\n"
    "10 press 32\n"
    "20 press 32\n"
    "30 press 32\n"
    "# a key once the bar is full opens the main menu\n"
    "250 press 32\n"
    "# two close requests show one question; Enter answers yes\n"
    "400 close\n"
    "450 close\n"
    "500 press 13\n";

// Runs the game; with an empty script name, only a few frames without input.
int RunGame(const std::string& home, const std::string& script) {
    const std::string input = script.empty() ? " DROVALIN_FRAMES=30" : " DROVALIN_FRAMES=3000 DROVALIN_INPUT='" + script + "'";
    const std::string command = "env XDG_DATA_HOME='" + home + "'" + input +
                                " DROVALIN_HEADLESS=1 SDL_AUDIODRIVER=dummy ./drovalin >/dev/null 2>&1";
    return std::system(command.c_str());
}

bool HasProblemLine(const std::string& textLog, std::string* line) {
    std::istringstream in(textLog);
    while (std::getline(in, *line))
        if (line->find("ERORR") != std::string::npos || line->find("WARNING") != std::string::npos ||
            line->find(", line ") != std::string::npos || line->find(".fnt") != std::string::npos)
            return true;
    return false;
}

TEST(GameRun, FromLogosThroughTheMainMenuToTheQuitQuestion) {
    ScratchFolder home;
    ASSERT_FALSE(home.Path().empty());
    const std::string script = home.File("input.txt");
    WriteWholeFile(script, kScript);
    const std::string storage = home.Path() + "Orvelworks/Drovalin/";

    ASSERT_EQ(RunGame(home.Path(), script), 0);
    std::string html = ReadWholeFile(storage + "Log.html");
    EXPECT_EQ(CountOf(html, "Storage path is " + storage), 1u);
    // Once for the answer, once at shut-down: only the main menu turns a close
    // request into the question.
    EXPECT_EQ(CountOf(html, "Saving players to "), 2u) << html;
    EXPECT_TRUE(FileSystem::FileExists(storage + "data/users.xml"));
    EXPECT_EQ(CountOf(html, "Load screen created"), 1u);
    EXPECT_EQ(CountOf(html, "EntityManager is destroyed: 0"), 1u);
    EXPECT_EQ(CountOf(html, "AudioManager is destroyed: 0"), 1u);

    const std::string textLog = ReadWholeFile(storage + "app.log");
    for (const char* line : {"----HINT: HGE is created.",
                             "----HINT: ResourceManager is created. Resource file: data\\Resource\\main.res",
                             "----HINT: Init resource group is loaded.", "----HINT: AudioManager is created.",
                             "----HINT: Audio device is created.", "----HINT: EntityManager is created.",
                             "----HINT: StringManager is created.", "----HINT: StringManager is destroyed.",
                             "----HINT: EntityManager is destroyed (0).", "----HINT: AudioManager is destroyed (0).",
                             "----HINT: ResourceManager is destroyed.", "----HINT: HGE is destroyed."})
        EXPECT_NE(textLog.find(line), std::string::npos) << line << "\n" << textLog;
    std::string problem;
    EXPECT_FALSE(HasProblemLine(textLog, &problem)) << problem;

}

TEST(GameRun, CorruptUsersFileIsKeptAsideAndTheGameStarts) {
    ScratchFolder home;
    ASSERT_FALSE(home.Path().empty());
    const std::string storage = home.Path() + "Orvelworks/Drovalin/";
    ASSERT_TRUE(FileSystem::MakeDirectories(storage + "data"));
    const std::string corrupt = "<Players><Player Name=\"Ann\" SaveFile=";
    WriteWholeFile(storage + "data/users.xml", corrupt);

    ASSERT_EQ(RunGame(home.Path(), ""), 0);
    EXPECT_EQ(ReadWholeFile(storage + "data/users.xml.bad"), corrupt);
    // The shut-down saves the (empty) list over a file that holds nothing lost.
    const std::string users = ReadWholeFile(storage + "data/users.xml");
    EXPECT_NE(users, corrupt);
    EXPECT_NE(users.find("Players"), std::string::npos);
    const std::string html = ReadWholeFile(storage + "Log.html");
    EXPECT_EQ(CountOf(html, "Storage path is " + storage), 1u);
    EXPECT_EQ(CountOf(html, "Saving players to "), 1u);
    EXPECT_EQ(CountOf(html, "EntityManager is destroyed: 0"), 1u);
}

}  // namespace
