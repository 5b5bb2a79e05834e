// A save killed at any point of any file it writes: every file is afterwards
// either what it was or one of the complete versions the save writes, never
// empty or half-written, and every player the users file lists gets back its
// own progress, also when a slot freed in the session went to a new player.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "SaveTestSupport.h"

namespace {

class SaveKillTest : public SaveTest {
protected:
    // Runs the session's save in a child process that stops itself just before
    // write step number `stopAt` (counting every step of every file), kills it
    // there and returns true; false when the save ended before that step.
    bool KillSaveAt(int stopAt) const {
        const pid_t child = ::fork();
        if (child == 0) {
            int calls = 0;
            FileSystem::SetWriteHook([&calls, stopAt](FileSystem::WriteStep, const std::string&) {
                if (calls++ == stopAt) ::raise(SIGSTOP);
                return true;
            });
            auto pm = LoadedManager();
            ThisSession(*pm);
            pm->Save();
            ::_exit(0);
        }
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, WUNTRACED), child);
        if (WIFSTOPPED(status)) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status));
            return true;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return false;
    }
};

}  // namespace

TEST_F(SaveKillTest, EveryFileIsOldOrNewAndEveryPlayerKeepsItsOwnProgress) {
    WriteEarlierSession();
    // A level's state left half-written by a killed run goes at the next start too.
    WriteFile(SlotFile(2) + "_playfield.xml.tmp", "<scene res_file=");
    const Files before = Snapshot();

    // One save run through to the end: the complete versions it writes.
    // The points to kill it at: in the middle of each file (half of it
    // written to the temporary file) and after each file (renamed into place,
    // the next not begun).
    std::map<std::string, std::set<std::string>> versions;
    std::vector<int> killPoints;
    int steps = 0;
    FileSystem::SetWriteHook([&](FileSystem::WriteStep step, const std::string& target) {
        if (step == FileSystem::WriteStep::WriteRest || step == FileSystem::WriteStep::Done) killPoints.push_back(steps);
        if (step == FileSystem::WriteStep::Rename) versions[Key(target)].insert(ReadFile(target + ".tmp"));
        ++steps;
        return true;
    });
    {
        auto pm = LoadedManager();
        ThisSession(*pm);
        pm->Save();
    }
    FileSystem::SetWriteHook({});
    ASSERT_GE(versions.size(), 4u);  // users file, Bob, Carl, Dora
    EXPECT_GE(versions[Key(UsersPath())].size(), 2u);  // slot 1 released first, then everything
    const Files after = Snapshot();
    ASSERT_EQ(after.at(Key(SlotFile(1))), *versions[Key(SlotFile(1))].begin());

    ASSERT_EQ(killPoints.size(), 10u);  // five writes: the users file releasing slot 1, three profiles, the users file
    for (int stopAt : killPoints) {
        SCOPED_TRACE("killed before write step " + std::to_string(stopAt));
        Restore(before);
        ASSERT_TRUE(KillSaveAt(stopAt));

        const std::set<std::string> temporaries = Temporaries();
        for (const auto& file : Snapshot()) {
            const std::string& path = file.first;
            if (temporaries.count(path)) continue;
            const bool old = before.count(path) && before.at(path) == file.second;
            const bool written = versions.count(path) && versions.at(path).count(file.second);
            EXPECT_TRUE(old || written) << path << " holds:\n" << file.second;
        }
        for (const auto& file : before)
            EXPECT_TRUE(Exists(file.first) || (file.first.size() > 4 && file.first.compare(file.first.size() - 4, 4, ".tmp") == 0))
                << file.first << " is gone";

        const std::set<std::string> leftovers = Temporaries();
        const int warnings = log.CountRows("Warning", "Removed ");
        auto pm = LoadedManager();
        EXPECT_EQ(log.CountRows("Error", "Cannot read"), 0);
        // Loading clears what the killed save left.
        EXPECT_TRUE(Temporaries().empty());
        const std::set<std::string> names = CheckOwnership(*pm);
        EXPECT_TRUE(names.count("Bob"));
        EXPECT_FALSE(names.count("Anna") && names.count("Carl"));
        // The next save goes through.
        pm->Save();
        EXPECT_TRUE(Temporaries().empty());
        EXPECT_EQ(log.CountRows("Warning", "Removed ") - warnings, int(leftovers.size()));
    }
    // A stop after the last step is never reached: the save runs to its end.
    Restore(before);
    EXPECT_FALSE(KillSaveAt(steps));
    EXPECT_EQ(Snapshot(), after);
}
