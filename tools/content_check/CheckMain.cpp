// The content checker: every check of the content pack, run on a data folder
// (the one beside the program by default), and the find-all scenes' measures
// printed as a table.
//
//   content_check [data folder] [GoogleTest options]
//
// The data files name each other from the folder that holds data/
// ("data\Scenes\..."), so the checker works from there, and makes it the data
// root, so that no file is read from the data beside the program. The art sources
// (tools/art) and the scene fixtures come from DROVALIN_SOURCE_DIR, else from
// that same folder. A find-all scene below the hidden-object thresholds fails.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string data = FileSystem::ProgramDir() + "data";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] == '-') {
            std::fprintf(stderr, "usage: %s [data folder] [GoogleTest options]\n", argv[0]);
            return 2;
        } else {
            data = arg;
        }
    }
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(data, error).lexically_normal();
    if (folder.filename().empty()) folder = folder.parent_path();
    if (error || folder.filename() != "data" || !std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "%s: %s is not a folder named data\n", argv[0], data.c_str());
        return 2;
    }
    const std::filesystem::path root = folder.parent_path();
    if (chdir(root.c_str()) != 0) {
        std::perror(root.c_str());
        return 2;
    }
    FileSystem::SetDataRoot(root.string());
    // Headless and silent, as the tests run; the sources beside the real data folder.
    setenv("DROVALIN_HEADLESS", "1", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("DROVALIN_SOURCE_DIR", std::filesystem::canonical(folder, error).parent_path().c_str(), 0);
    return RUN_ALL_TESTS();
}
