// Which screen class plays a mini-game file, the help text it opens with, and
// the launch from a level. Until the mini-game screens are opened from here a
// requested mini-game counts as skipped.
#include <algorithm>

#include "engine/HtmlLog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "screens/LevelScreen.h"

namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string LevelScreen::MiniGameClassFor(const std::string& path) {
    const std::string file = FileNameOf(path);
    if (file == "2.2.xml") return "Puzzle2tScreen";
    if (file == "5.2.xml" || file == "11.1.xml") return "RepeatScreen";
    if (file == "6.2.xml") return "MemoryScreen";
    return "PuzzleScreen";
}

std::string LevelScreen::MiniGameHelpKeyFor(const std::string& path) {
    std::string stem = FileNameOf(path);
    stem = stem.size() >= 4 ? stem.substr(0, stem.size() - 4) : std::string();
    std::replace(stem.begin(), stem.end(), '.', '_');
    return "HELP_MINIGAME_" + stem;
}

void LevelScreen::LaunchMiniGame() {
    const std::string path = requestedMiniGame;
    helpKey = MiniGameHelpKeyFor(path);
    requestedMiniGame.clear();
    PauseEntity(bagButton);
    PauseEntity(exitButton);
    HtmlLog::Instance()->Warning("Level: no mini-games yet; " + path + " counts as skipped (" +
                                 MiniGameClassFor(path) + ")");
    OnQuestion("MiniGameSkip", path);
}
