// Entities are made through the entity manager's owning calls; the few
// places that hand an entity over by hand are listed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CreationSites.h"
#include "SourceTree.h"
#include "support/TempDir.h"

using layers::SourceRoot;
using layers::WriteFile;

namespace {

// A class that hands itself over from its constructor, and the shared timer's
// handle, which owns its timer until an entity manager runs.
const std::vector<std::string> kAllowed = {
    "entities/screens/CPauseScreen.cpp:manager->OpenScreen(this)",
    "entities/screens/CPauseScreen.cpp:manager->PushScreen(this)",
    "entities/screens/Dialog.cpp:manager->OpenScreen(this)",
    "profiles/SharedTimer.cpp:manager->Add(m_timer)",
    "scene/CHintScreen.cpp:manager->PushScreen(this)",
    "scene/Hint.cpp:manager->Add(this)",
    "scene/PlayField.cpp:manager->Add(this)",
    "profiles/SharedTimer.cpp:new GameTimer",
    "screens/CMenuScreen.cpp:manager->OpenScreen(this)",
    "screens/ComicScreen.cpp:manager->OpenScreen(this)",
    "screens/FinalScreen.cpp:manager->OpenScreen(this)",
    "screens/GlobalMapScreen.cpp:manager->OpenScreen(this)",
    "screens/IntroScreen.cpp:manager->OpenScreen(this)",
    "screens/LevelCompleteScreen.cpp:manager->OpenScreen(this)",
    "screens/OptionsScreen.cpp:manager->OpenScreen(this)",
    "screens/PlayersScreen.cpp:manager->OpenScreen(this)",
};

}  // namespace

TEST(CreationSites, OnlyTheListedPlacesHandEntitiesOverByHand) {
    ASSERT_TRUE(std::filesystem::is_directory(SourceRoot() + "/src"));
    std::vector<std::string> found = layers::FindCreationSites(SourceRoot());
    std::vector<std::string> allowed = kAllowed;
    std::sort(allowed.begin(), allowed.end());
    std::vector<std::string> extra;
    std::set_difference(found.begin(), found.end(), allowed.begin(), allowed.end(), std::back_inserter(extra));
    for (const auto& site : extra)
        ADD_FAILURE() << site << ": make the entity with EntityManager::Spawn or OpenScreen, or CEntity::SpawnChild";
    std::vector<std::string> gone;
    std::set_difference(allowed.begin(), allowed.end(), found.begin(), found.end(), std::back_inserter(gone));
    for (const auto& site : gone) ADD_FAILURE() << site << ": listed but no longer there; take it off the list";
}

TEST(CreationSites, CheckerFindsPlantedSitesAndAcceptsTheOwningCalls) {
    TempDir dir;
    const std::filesystem::path root = dir.Path();
    WriteFile(root / "src/entities/core/CEntity.h", "class CEntity : public CCountBase {};\n");
    WriteFile(root / "src/entities/widgets/Button.h",
              "class Button : public ZOLTFramework::CEntity, public Listener {};\n"
              "template <class T> class Fancy final : public Button {};\n"
              "using Plain = Fancy<int>;\nclass Sprite : public hgeThing {};\n");
    WriteFile(root / "src/screens/Menu.cpp",
              "void Menu::Build() {\n"
              "    auto* b = new Button(1);  // a planted site\n"
              "    if (EntityManager* manager = Manager()) manager->Add(b);\n"
              "    auto* p = new Plain();\n"
              "    engine->GetEntityManager()->PushScreen( p );\n"
              "    auto* s = new Sprite();\n"
              "    // new Button() in a comment\n"
              "    timer.Add(1.0f, []{});\n"
              "    manager->OpenScreen<Menu>(\"x\");\n"
              "    SpawnChild<Button>(2);\n"
              "}\n");
    const std::vector<std::string> classes = layers::FindEntityClasses(root.string());
    EXPECT_EQ(classes, (std::vector<std::string>{"Button", "CEntity", "Fancy", "Plain"}));
    EXPECT_EQ(layers::FindCreationSites(root.string()),
              (std::vector<std::string>{"screens/Menu.cpp:manager->Add(b)",
                                        "screens/Menu.cpp:manager->PushScreen(p)", "screens/Menu.cpp:new Button",
                                        "screens/Menu.cpp:new Plain"}));
}
