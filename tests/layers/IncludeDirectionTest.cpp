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

TEST(IncludeDirection, TheProjectHasNoUpwardOrUnreadableInclude) {
    ASSERT_TRUE(std::filesystem::is_directory(SourceRoot() + "/src"));
    const auto found = layers::FindForbiddenIncludes(SourceRoot());
    for (const auto& line : found) ADD_FAILURE() << line;
}

TEST(IncludeDirection, CheckerFindsEachKindOfUpwardOrUnreadableIncludeAndAllowsDownwardOnes) {
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
    // ".." is refused whichever way it climbs: beside the file, from a layer's
    // root, between the entities' sub-layers, even down a layer.
    WriteFile(root / "src/scene/PlayField.cpp", "#include \"profiles/Player.h\"\n#include \"minigames/Open.h\"\n"
                                               "#include \"../engine/Log.h\"\n#include \"../screens/LevelScreen.h\"\n"
                                               "#include \"scene/../screens/LevelScreen.h\"\n"
                                               "#include <scene/../screens/LevelScreen.h>\n#include \"./PlayField.h\"\n");
    WriteFile(root / "src/minigames/Open.cpp", "#include \"scene/LiveGroups.h\"\n#include \"./../screens/Help.h\"\n");
    WriteFile(root / "src/entities/core/Timer.cpp", "#include \"entities/core/../widgets/CButtonEntity.h\"\n"
                                                   "#include \"../effects/Glow.h\"\n");
    // A header named by a macro, and directives written so that a line scan
    // would miss them: continued, a comment before or inside, the digraph.
    WriteFile(root / "src/engine/Audio.cpp", "#define AUDIO_HEADER \"runtime/CEngine.h\"\n#include AUDIO_HEADER\n"
                                            "  #  include_next MAKE_PATH(screens, Menu)\n"
                                            "#include \\\n  \"screens/Menu.h\"\n"
                                            "/* why */ #include \"app/GameApp.h\"\n"
                                            "# /* why */ include \"app/GameApp.h\"\n"
                                            "%:include \"app/GameApp.h\"\n"
                                            "#include \"engine/Log.h\"  // a comment after it is fine\n");
    // Not directives: comments and string literals.
    WriteFile(root / "src/graphics/Notes.cpp", "// #include \"../screens/Menu.h\"\n/*\n#include \"app/GameApp.h\"\n*/\n"
                                              "const char* kText = R\"x(\n#include \"app/GameApp.h\"\n)x\";\n"
                                              "const char* kLine = \"/*\"; // */ \n#include \"platform/hge.h\"\n");
    // An absolute path, quoted or in angle brackets, reaches any folder.
    WriteFile(root / "src/graphics/Font.cpp", "#include \"/work/src/screens/Menu.h\"\n#include </work/src/app/GameApp.h>\n"
                                             "#include \"platform/Menu.h\"\n");
    // A symbolic link under src/ or tests/ passes on what it points to under its
    // folder's name: each link is refused, and so is an include through one (a
    // linked file, a linked folder, beside the including file, a test helper).
    WriteFile(root / "src/screens/Menu.h", "#include \"app/GameApp.h\"\n");
    WriteFile(root / "src/app/GameApp.h", "");
    std::filesystem::create_directories(root / "src/platform");
    std::filesystem::create_directories(root / "tests/support/platform");
    std::filesystem::create_symlink("../screens/Menu.h", root / "src/platform/Menu.h");
    std::filesystem::create_symlink("../app", root / "src/engine/up");
    std::filesystem::create_symlink("Nowhere.h", root / "src/engine/Gone.h");
    WriteFile(root / "src/engine/Store.cpp", "#include \"engine/up/GameApp.h\"\n#include \"./up/GameApp.h\"\n"
                                            "#include <engine/up/GameApp.h>\n");
    std::filesystem::create_symlink("../../../src/screens/Menu.h", root / "tests/support/platform/Menu.h");
    WriteFile(root / "tests/platform/FileTest.cpp", "#include \"support/platform/Menu.h\"\n");
    WriteFile(root / "src/scene/Detail.inl", "#include \"screens/Menu.h\"\n");
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

    const auto found = layers::FindForbiddenIncludes(root.string());
    const std::string dots = ": a name that climbs with \"..\" (name the header from its layer's folder)";
    const std::string macro = ": an include built from a macro (the scan cannot tell the header)";
    const std::string unread = ": an include this scan cannot read (write it on one line: #include \"layer/Name.h\")";
    const std::string absolute = ": an absolute path (name the header from its layer's folder)";
    const std::string link = ": a symbolic link (a header reached through it would count as its folder's; put the file itself there)";
    const std::string through = ": resolves through the symbolic link ";
    std::vector<std::string> expected = {
        "src/engine/Gone.h" + link,
        "src/engine/Store.cpp:1: includes engine/up/GameApp.h" + through + "src/engine/up",
        "src/engine/Store.cpp:2: includes ./up/GameApp.h" + through + "src/engine/up",
        "src/engine/Store.cpp:3: includes engine/up/GameApp.h" + through + "src/engine/up",
        "src/engine/up" + link,
        "src/graphics/Font.cpp:1: includes /work/src/screens/Menu.h" + absolute,
        "src/graphics/Font.cpp:2: includes /work/src/app/GameApp.h" + absolute,
        "src/graphics/Font.cpp:3: includes platform/Menu.h" + through + "src/platform/Menu.h",
        "src/platform/Menu.h" + link,
        "src/platform/Menu.h:1: includes app/GameApp.h",
        "src/screens/Menu.h:1: includes app/GameApp.h",
        "tests/platform/FileTest.cpp:1: includes support/platform/Menu.h" + through + "tests/support/platform/Menu.h",
        "tests/support/platform/Menu.h" + link,
        "tests/support/platform/Menu.h:1: includes app/GameApp.h",
        "src/engine/Audio.cpp:2: includes AUDIO_HEADER" + macro,
        "src/engine/Audio.cpp:3: includes MAKE_PATH(screens, Menu)" + macro,
        "src/engine/Audio.cpp:4: includes \"screens/Menu.h\"" + unread,
        "src/engine/Audio.cpp:6: includes \"app/GameApp.h\"" + unread,
        "src/engine/Audio.cpp:7: includes \"app/GameApp.h\"" + unread,
        "src/engine/Audio.cpp:8: includes \"app/GameApp.h\"" + unread,
        "src/engine/Log.cpp:2: includes entities/core/CEntity.h",
        "src/entities/core/CEntity.cpp:1: includes runtime/CEngine.h",
        "src/entities/core/Timer.cpp:1: includes entities/core/../widgets/CButtonEntity.h" + dots,
        "src/entities/core/Timer.cpp:2: includes ../effects/Glow.h" + dots,
        "src/entities/effects/Glow.cpp:2: includes entities/widgets/CButtonEntity.h",
        "src/entities/screens/Load.cpp:1: includes screens/CMenuScreen.h",
        "src/entities/widgets/Title.cpp:2: includes entities/screens/CScreenEntity.h",
        "src/minigames/Open.cpp:2: includes ./../screens/Help.h" + dots,
        "src/profiles/Player.cpp:2: includes scene/PlayField.h",
        "src/scene/Detail.inl:1: includes screens/Menu.h",
        "src/scene/PlayField.cpp:2: includes minigames/Open.h",
        "src/scene/PlayField.cpp:3: includes ../engine/Log.h" + dots,
        "src/scene/PlayField.cpp:4: includes ../screens/LevelScreen.h" + dots,
        "src/scene/PlayField.cpp:5: includes scene/../screens/LevelScreen.h" + dots,
        "src/scene/PlayField.cpp:6: includes scene/../screens/LevelScreen.h" + dots,
        "src/screens/Menu.cpp:2: includes app/GameApp.h",
        "tests/platform/IniTest.cpp:1: includes support/runtime/GuiTestEngine.h",
        "tests/platform/IniTest.cpp:2: includes graphics/hgeSprite.h",
        "tests/scene/PlayTest.cpp:2: includes support/scene/Solver.h",
    };
    std::vector<std::string> sorted = found;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
}
