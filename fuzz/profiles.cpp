// Users files and profile documents: any bytes must load without a fault, and
// what loads must save again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzEngine.h"
#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"
#include "profiles/PlayerManager.h"

namespace {

// One storage folder for the whole run; in memory where possible (every save
// is synced to disk).
const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = FileSystem::DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp";
        pattern += "/drovalin-fuzz-profiles-XXXXXX";
        const char* made = mkdtemp(&pattern[0]);
        std::string path = made ? std::string(made) + "/" : std::string("/tmp/");
        FileSystem::MakeDirectories(path + "data/Map");
        if (made) {
            // Removed at exit by a copy that outlives the static strings.
            static char madeCopy[256];
            std::snprintf(madeCopy, sizeof madeCopy, "%s", made);
            std::atexit([] {
                std::error_code ec;
                std::filesystem::remove_all(madeCopy, ec);
            });
        }
        HtmlLog::Instance()->Open("");  // no log: rows would only slow the run down
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine();
    const std::string& folder = Folder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The bytes as the users file, and behind a valid users file as a profile.
    FileSystem::WriteFileAtomic(folder + "data/users.xml", bytes);
    FileSystem::WriteFileAtomic(folder + "data/Map/1.xml", bytes);
    {
        PlayerManager pm;
        pm.SetSavePath(folder);
        pm.SetUsersFile("data\\users.xml");
        pm.Load();
        pm.AddPlayer("Fuzz");
        pm.Save();
    }
    FileSystem::WriteFileAtomic(folder + "data/users.xml",
                                "<Players><Player Name=\"A\" SaveFile=\"" + folder + "data\\Map\\1.xml\"/></Players>");
    FileSystem::WriteFileAtomic(folder + "data/Map/1.xml", bytes);
    {
        PlayerManager pm;
        pm.SetSavePath(folder);
        pm.SetUsersFile("data\\users.xml");
        pm.Load();
        pm.Save();
    }
    return 0;
}
