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

TEST(IncludeDirection, CheckerFindsEachKindOfUpwardIncludeAndAllowsDownwardOnes) {
    TempDir dir;
    const std::filesystem::path root = dir.Path();
    WriteFile(root / "src/graphics/Sprite.h", "#include \"platform/hge.h\"\n#include <vector>\n");
    WriteFile(root / "src/engine/Log.cpp", "#include \"engine/Log.h\"\n  #  include \"entities/core/CEntity.h\"\n");
    WriteFile(root / "src/entities/core/CEntity.cpp", "#include \"runtime/CEngine.h\"\n");
    WriteFile(root / "src/entities/effects/Glow.cpp", "#include \"entities/core/CEntity.h\"\n"
                                                     "#include \"entities/widgets/CButtonEntity.h\"\n");
    WriteFile(root / "src/entities/widgets/Title.cpp", "#include \"entities/effects/CAnimationEffector.h\"\n"
                                                      "#include \"entities/screens/CScreenEntity.h\"\n");
    WriteFile(root / "src/entities/screens/Load.cpp", "#include \"screens/CMenuScreen.h\"\n");
    WriteFile(root / "src/profiles/Player.cpp", "#include <runtime/CEngine.h>\n#include <scene/PlayField.h>\n");
    WriteFile(root / "src/scene/PlayField.cpp", "#include \"profiles/Player.h\"\n#include \"minigames/Open.h\"\n"
                                               "#include \"../engine/Log.h\"\n#include \"../screens/LevelScreen.h\"\n");
    WriteFile(root / "src/minigames/Open.cpp", "#include \"scene/LiveGroups.h\"\n#include \"./../screens/Help.h\"\n");
    WriteFile(root / "src/screens/Menu.cpp", "#include \"minigames/Open.h\"\n#include \"app/GameApp.h\"\n");
    WriteFile(root / "tests/platform/IniTest.cpp", "#include \"support/runtime/GuiTestEngine.h\"\n"
                                                  "#include \"graphics/hgeSprite.h\"\n");
    WriteFile(root / "tests/entities/widgets/ButtonTest.cpp", "#include \"runtime/CEngine.h\"\n");
    WriteFile(root / "tests/scenarios/menu/MenuTest.cpp", "#include \"app/GameApp.h\"\n");
    // A helper of the game tests reaches what its header includes.
    WriteFile(root / "tests/support/scene/Engine.h", "#include \"support/runtime/GuiTestEngine.h\"\n");
    WriteFile(root / "tests/support/scene/Solver.h", "#include \"minigames/Open.h\"\n");
    WriteFile(root / "tests/support/scene/Solver.cpp", "#include \"screens/Help.h\"\n");
    WriteFile(root / "tests/scene/PlayTest.cpp", "#include \"support/scene/Engine.h\"\n"
                                                "#include \"support/scene/Solver.h\"\n");

    const auto found = layers::FindUpwardIncludes(root.string());
    std::vector<std::string> expected = {
        "src/engine/Log.cpp:2: includes entities/core/CEntity.h",
        "src/entities/core/CEntity.cpp:1: includes runtime/CEngine.h",
        "src/entities/effects/Glow.cpp:2: includes entities/widgets/CButtonEntity.h",
        "src/entities/screens/Load.cpp:1: includes screens/CMenuScreen.h",
        "src/entities/widgets/Title.cpp:2: includes entities/screens/CScreenEntity.h",
        "src/minigames/Open.cpp:2: includes ./../screens/Help.h",
        "src/profiles/Player.cpp:2: includes scene/PlayField.h",
        "src/scene/PlayField.cpp:2: includes minigames/Open.h",
        "src/scene/PlayField.cpp:4: includes ../screens/LevelScreen.h",
        "src/screens/Menu.cpp:2: includes app/GameApp.h",
        "tests/platform/IniTest.cpp:1: includes support/runtime/GuiTestEngine.h",
        "tests/platform/IniTest.cpp:2: includes graphics/hgeSprite.h",
        "tests/scene/PlayTest.cpp:2: includes support/scene/Solver.h",
    };
    std::vector<std::string> sorted = found;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
}
