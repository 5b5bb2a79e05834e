// Shared pieces of the save tests: an earlier session's files on disk, the
// session that saves over them, and a look at every file of the storage folder.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"
#include "profiles/ProfilesTestSupport.h"

// Storage in memory where the system has it: these tests are about processes
// that die and writes that fail, and a disk's sync delay would only slow them.
struct InMemoryTemporaryFolder {
    ScopedEnv tmpdir{"TMPDIR", std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::getenv("TMPDIR")};
};

class SaveTest : private InMemoryTemporaryFolder, public ProfilesTest {
protected:
    using Files = std::map<std::string, std::string>;  // full path -> bytes

    ~SaveTest() override { FileSystem::SetWriteHook({}); }

    // Anna in slot 1 and Bob in slot 2, each with progress marked with the
    // owner's name.
    void WriteEarlierSession() {
        auto pm = LoadedManager();
        ASSERT_TRUE(pm->AddPlayer("Anna"));
        ASSERT_TRUE(pm->AddPlayer("Bob"));
        Find(*pm, "Anna")->Evidences = {"Anna: gun"};
        Find(*pm, "Anna")->NodeScores = {{"Anna: park", 10}};
        Find(*pm, "Bob")->Evidences = {"Bob: hat"};
        pm->Save();
    }

    // Bob finds more; Anna is deleted and Carl takes her slot; Dora joins.
    static void ThisSession(PlayerManager& pm) {
        Find(pm, "Bob")->Evidences.insert("Bob: cane");
        pm.RemovePlayer("Anna");
        pm.AddPlayer("Carl");
        Find(pm, "Carl")->Evidences = {"Carl: pipe"};
        pm.AddPlayer("Dora");
        Find(pm, "Dora")->Medals = {3};
        Find(pm, "Dora")->Evidences = {"Dora: key"};
        pm.SetActivePlayer("Carl");
    }

    static Player* Find(PlayerManager& pm, const std::string& name) {
        for (Player* p : pm.Players)
            if (p->Name == name) return p;
        return nullptr;
    }

    // Every file below the storage folder.
    Files Snapshot() const {
        Files files;
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(Folder(), ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file()) files[Key(it->path().string())] = ReadFile(it->path().string());
        return files;
    }
    // Puts exactly these files back (everything else below data/ goes).
    void Restore(const Files& files) const {
        std::filesystem::remove_all(Folder() + "data");
        for (const auto& file : files) WriteFile(file.first, file.second);
    }
    static std::string Key(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

    // Names of temporary files left in the storage folder.
    std::set<std::string> Temporaries() const {
        std::set<std::string> names;
        for (const auto& file : Snapshot())
            if (file.first.size() > 4 && file.first.compare(file.first.size() - 4, 4, ".tmp") == 0)
                names.insert(file.first);
        return names;
    }

    // Loads the storage folder afresh and checks that every listed player's
    // progress is its own. Returns the names listed.
    std::set<std::string> CheckOwnership(PlayerManager& pm) const {
        std::set<std::string> names;
        for (Player* p : pm.Players) {
            names.insert(p->Name);
            for (const std::string& e : p->Evidences)
                EXPECT_EQ(e.compare(0, p->Name.size() + 1, p->Name + ":"), 0) << p->Name << " holds " << e;
            for (const auto& node : p->NodeScores)
                EXPECT_EQ(node.first.compare(0, p->Name.size() + 1, p->Name + ":"), 0)
                    << p->Name << " holds " << node.first;
        }
        return names;
    }
};
