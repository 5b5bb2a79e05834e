#include "ScreensTestEngine.h"

#include "engine/XMLDocument.h"
#include "profiles/PlayerManager.h"
#include "support/TestFiles.h"

namespace {
GuiTestOptions ScreensOptions(float dt) {
    GuiTestOptions options;
    options.dt = dt;
    options.settleBeforeClick = true;
    return options;
}
}  // namespace

void RemoveAllPlayers() {
    PlayerManager* players = PlayerManager::Instance();
    while (!players->Players.empty()) {
        const std::string name = players->Players.front()->Name;
        if (!players->RemovePlayer(name)) break;
    }
}

ScreensTestEngine::ScreensTestEngine(float dt) : GuiTestEngine(ScreensOptions(dt)) {
    UseResources();
    UseAudio(false);
    UseTextFile("data\\Text\\English.txt");
    UseFonts({{"Default", "data\\Font\\default.fnt"},
              {"Default1", "data\\Font\\default.fnt"},
              {"Default14", "data\\Font\\default14.fnt"},
              {"Main", "data\\Font\\main.fnt"},
              {"Main1", "data\\Font\\main.fnt"}});

    RemoveAllPlayers();
    PlayerManager* players = PlayerManager::Instance();
    players->SetSavePath(Dir().Path());
    players->SetUsersFile("data\\users.xml");
    players->Load();
    ZOLTFramework::g_bConfirmExit = false;
}

ScreensTestEngine::~ScreensTestEngine() {
    DeleteEntities();
    RemoveAllPlayers();
    ZOLTFramework::g_bConfirmExit = false;
}

std::string ScreensTestEngine::UsersFileText() const { return ReadWholeFile(Dir() / "data/users.xml"); }

std::vector<std::string> ScreensTestEngine::SaveAndReadUsers() const {
    PlayerManager::Instance()->Save();
    std::vector<std::string> names;
    XMLDocument users("users");
    if (!users.Load(Dir() / "data/users.xml")) return names;
    for (const auto& player : users.GetRoot()->GetChildren()) {
        if (!player) continue;
        names.push_back((player->GetBoolAttribute("IsActive") ? "*" : "") + player->GetStringAttribute("Name"));
    }
    return names;
}

std::string ScreensTestEngine::IniText() const { return ReadWholeFile(Dir() / "app.ini"); }
