// Writes that fail part-way (a full disk, a failing flush or close): the save
// reports an Error row naming the file, leaves no temporary file, and the file
// it could not write keeps its old bytes.
#include <cerrno>
#include <cstring>

#include "SaveTestSupport.h"

namespace {

using FileSystem::WriteStep;

struct Fault {
    WriteStep step;
    const char* reason;  // as the Error row gives it
};

const Fault kFaults[] = {
    {WriteStep::Open, "cannot open: No space left on device"},
    {WriteStep::WriteFirstHalf, "cannot write: No space left on device"},
    {WriteStep::WriteRest, "cannot write: No space left on device"},
    {WriteStep::Flush, "cannot flush: Input/output error"},
    {WriteStep::Sync, "cannot sync: Input/output error"},
    {WriteStep::Close, "cannot close: Input/output error"},
    {WriteStep::Rename, "cannot rename: Input/output error"},
};

class SaveFailureTest : public SaveTest {
protected:
    // Makes one step of every write of the target fail.
    static void FailOn(const std::string& target, WriteStep failing) {
        const std::string wanted = Key(target);
        FileSystem::SetWriteHook([wanted, failing](WriteStep step, const std::string& path) {
            return !(step == failing && Key(path) == wanted);
        });
    }
};

}  // namespace

TEST_F(SaveFailureTest, TheFileLayerReportsEachFailingStepAndKeepsTheOldFile) {
    const std::string path = Folder() + "file.txt";
    WriteFile(path, "old bytes");
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(FileSystem::WriteStepName(fault.step));
        FailOn(path, fault.step);
        std::string why;
        EXPECT_FALSE(FileSystem::WriteFileAtomic(path, "new bytes that do not fit", &why));
        EXPECT_EQ(why, fault.reason);
        EXPECT_EQ(ReadFile(path), "old bytes");
        EXPECT_FALSE(Exists(path + ".tmp"));
    }
    FileSystem::SetWriteHook({});
    std::string why = "unchanged?";
    EXPECT_TRUE(FileSystem::WriteFileAtomic(path, "new bytes", &why));
    EXPECT_EQ(why, "");
    EXPECT_EQ(ReadFile(path), "new bytes");
}

TEST_F(SaveFailureTest, AStaleTemporaryFileGoesWithAFailedWrite) {
    const std::string path = Folder() + "file.txt";
    WriteFile(path, "old bytes");
    WriteFile(path + ".tmp", "left by a killed run");
    FailOn(path, WriteStep::Open);
    EXPECT_FALSE(FileSystem::WriteFileAtomic(path, "new"));
    EXPECT_FALSE(Exists(path + ".tmp"));
    EXPECT_EQ(ReadFile(path), "old bytes");
}

TEST_F(SaveFailureTest, AFailingProfileOrUsersFileKeepsItsOldVersion) {
    WriteEarlierSession();
    const Files before = Snapshot();
    const std::string targets[] = {UsersPath(), SlotFile(2)};  // Bob's profile
    for (const std::string& target : targets) {
        for (const Fault& fault : {kFaults[1], kFaults[3], kFaults[5]}) {  // full disk, flush, close
            SCOPED_TRACE(target + " " + FileSystem::WriteStepName(fault.step));
            Restore(before);
            const std::string row = "Cannot write XML document " + Key(target) + " (" + fault.reason +
                                    "); the old file is kept";
            const int errors = log.CountRows("Error", row);
            FailOn(target, fault.step);
            {
                auto pm = LoadedManager();
                Find(*pm, "Bob")->Evidences.insert("Bob: cane");
                Find(*pm, "Bob")->CigarCount = 9;
                pm->Save();
            }
            FileSystem::SetWriteHook({});

            EXPECT_EQ(log.CountRows("Error", row), errors + 1);
            EXPECT_TRUE(Temporaries().empty());
            EXPECT_EQ(ReadFile(target), before.at(Key(target)));

            // The players still load, each with its own progress.
            auto pm = LoadedManager();
            EXPECT_EQ(CheckOwnership(*pm), (std::set<std::string>{"Anna", "Bob"}));
        }
    }
}

TEST_F(SaveFailureTest, ANewPlayerWhoseProfileCannotBeWrittenIsNotListedOverAnOldProfile) {
    WriteEarlierSession();
    FailOn(SlotFile(1), WriteStep::WriteRest);
    {
        auto pm = LoadedManager();
        pm->RemovePlayer("Anna");
        pm->AddPlayer("Carl");
        Find(*pm, "Carl")->Evidences = {"Carl: pipe"};
        pm->Save();
    }
    FileSystem::SetWriteHook({});
    EXPECT_TRUE(Temporaries().empty());
    auto pm = LoadedManager();
    const std::set<std::string> names = CheckOwnership(*pm);
    EXPECT_TRUE(names.count("Bob"));
    EXPECT_FALSE(names.count("Anna"));  // deleted, and her slot released
}
