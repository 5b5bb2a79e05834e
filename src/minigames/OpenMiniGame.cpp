#include "minigames/OpenMiniGame.h"

#include "minigames/MemoryScreen.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"

MiniGameScreen* OpenMiniGame(const std::string& path, ZOLTFramework::CQuestionListener* level, float layer) {
    const size_t slash = path.find_last_of('/');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    MiniGameScreen* screen = nullptr;
    if (file == "2.2.xml")
        screen = new Puzzle2tScreen(path, level);
    else if (file == "5.2.xml" || file == "11.1.xml")
        screen = new RepeatScreen(path, level);
    else if (file == "6.2.xml")
        screen = new MemoryScreen(path, level);
    else
        screen = new PuzzleScreen(path, level);
    screen->SetLayer(layer);
    return screen;
}
