// The help text a mini-game file opens with, and the launch from a level: the
// game's screen (OpenMiniGame picks it by the file name) opens over the paused
// level and reports its one result back through OnQuestion after its fade-out.
#include <algorithm>

#include "engine/HtmlLog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "minigames/MiniGameScreen.h"
#include "minigames/OpenMiniGame.h"
#include "scene/LevelEvents.h"
#include "screens/LevelPanel.h"
#include "screens/LevelScreen.h"

namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string LevelScreen::MiniGameHelpKeyFor(const std::string& path) {
    std::string stem = FileNameOf(path);
    stem = stem.size() >= 4 ? stem.substr(0, stem.size() - 4) : std::string();
    std::replace(stem.begin(), stem.end(), '.', '_');
    return "HELP_MINIGAME_" + stem;
}

void LevelScreen::LaunchMiniGame() {
    const std::string path = requestedMiniGame;
    helpKey = MiniGameHelpKeyFor(path);
    // The new screen takes the focus while it is made: the level's LostFocus
    // then slides the panel out (the play field has been paused since the
    // request).
    creatingMiniGame = true;
    MiniGameScreen* game = OpenMiniGame(path, this, kMiniGameLayer);
    creatingMiniGame = false;
    if (game) {
        // Parked after its result, it lives until the level goes.
        game->AttachTo(this);
        runningMiniGame = game;
    }
    requestedMiniGame.clear();
    if (ButtonExEntity* bag = panel->BagButton()) bag->Pause();
    if (ButtonExEntity* exit = panel->ExitButton()) exit->Pause();
    if (!game) {
        // Nothing to play: the waiting click is put off, not lost.
        HtmlLog::Instance()->Error("Level: the mini-game " + HtmlLog::Shown(path) + " could not be opened; it is put off");
        OnQuestion(LevelEvents::kMiniGameSolveLater, path);
    }
}
