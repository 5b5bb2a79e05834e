// The include graph between layers points one way: down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "IncludeDirection.h"
#include "SourceTree.h"
#include "support/TempDir.h"

using layers::SourceRoot;
using layers::WriteFile;

TEST(IncludeDirection, TheProjectHasNoUpwardInclude) {
    ASSERT_TRUE(std::filesystem::is_directory(SourceRoot() + "/src"));
    const auto found = layers::FindUpwardIncludes(SourceRoot());
    for (const auto& line : found) ADD_FAILURE() << line;
}

TEST(IncludeDirection, CheckerFindsAPlantedUpwardIncludeAndAllowsDownwardOnes) {
    TempDir dir;
    const std::filesystem::path root = dir.Path();
    WriteFile(root / "src/graphics/Sprite.h", "#include \"platform/hge.h\"\n");
    WriteFile(root / "src/engine/Log.cpp", "#include \"engine/Log.h\"\n  #  include \"entities/core/CEntity.h\"\n");
    WriteFile(root / "src/entities/core/CEntity.cpp", "#include \"runtime/CEngine.h\"\n");
    WriteFile(root / "src/entities/screens/Load.cpp", "#include \"screens/CMenuScreen.h\"\n");
    WriteFile(root / "src/screens/Menu.cpp", "#include \"runtime/CEngine.h\"\n#include \"app/GameApp.h\"\n");
    WriteFile(root / "tests/platform/IniTest.cpp", "#include \"support/runtime/GuiTestEngine.h\"\n"
                                                  "#include \"graphics/hgeSprite.h\"\n");
    WriteFile(root / "tests/entities/widgets/ButtonTest.cpp", "#include \"runtime/CEngine.h\"\n");
    WriteFile(root / "tests/scenarios/menu/MenuTest.cpp", "#include \"app/GameApp.h\"\n");

    const auto found = layers::FindUpwardIncludes(root.string());
    std::vector<std::string> expected = {
        "src/engine/Log.cpp:2: includes entities/core/CEntity.h",
        "src/entities/core/CEntity.cpp:1: includes runtime/CEngine.h",
        "src/entities/screens/Load.cpp:1: includes screens/CMenuScreen.h",
        "src/screens/Menu.cpp:2: includes app/GameApp.h",
        "tests/platform/IniTest.cpp:1: includes support/runtime/GuiTestEngine.h",
        "tests/platform/IniTest.cpp:2: includes graphics/hgeSprite.h",
    };
    std::vector<std::string> sorted = found;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
}
