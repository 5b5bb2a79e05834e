#include "minigames/OpenMiniGame.h"

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/EntityManager.h"

#include "minigames/MemoryScreen.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"

namespace {

// Why the piece scene of a puzzle cannot be played, or "".
std::string PieceSceneProblem(const std::string& sceneFile) {
    if (sceneFile.empty()) return "it names no piece scene (\"Scene\")";
    XMLDocument scene("scene");
    if (!scene.Load(sceneFile)) return "its piece scene " + sceneFile + " cannot be read: " + scene.GetLastError();
    for (const auto& child : scene.GetRoot()->GetChildren())
        if (child && child->GetName() == "object") return std::string();
    return "its piece scene " + sceneFile + " holds no piece";
}

}  // namespace

MiniGameScreen* OpenMiniGame(const std::string& path, ZOLTFramework::CQuestionListener* level, float layer) {
    const size_t slash = path.find_last_of('/');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    ZOLTFramework::EngineContext* engine = ZOLTFramework::EngineContext::Current();
    EntityManager* manager = engine ? engine->GetEntityManager() : nullptr;
    if (!manager) {
        HtmlLog::Instance()->Error("Mini-game " + path + ": no entity manager to open it with");
        return nullptr;
    }
    // A game without its file has nothing to play and could only be "won" by
    // its Ok button: it is not opened at all.
    XMLDocument check("MiniGame");
    if (!check.Load(path)) {
        HtmlLog::Instance()->Error("Mini-game " + path + " is not opened: " + check.GetLastError());
        return nullptr;
    }
    const bool puzzle = file != "5.2.xml" && file != "11.1.xml" && file != "6.2.xml";
    if (puzzle) {
        // Nor is a puzzle without pieces: its Ok would count as solved.
        const std::string problem = PieceSceneProblem(check.GetRoot()->GetStringAttribute("Scene"));
        if (!problem.empty()) {
            HtmlLog::Instance()->Error("Mini-game " + path + " is not opened: " + problem);
            return nullptr;
        }
    }
    MiniGameScreen* screen = nullptr;
    if (file == "2.2.xml")
        screen = manager->OpenScreen<Puzzle2tScreen>(path, level);
    else if (file == "5.2.xml" || file == "11.1.xml")
        screen = manager->OpenScreen<RepeatScreen>(path, level);
    else if (file == "6.2.xml")
        screen = manager->OpenScreen<MemoryScreen>(path, level);
    else
        screen = manager->OpenScreen<PuzzleScreen>(path, level);
    screen->SetLayer(layer);
    return screen;
}
