#include "minigames/OpenMiniGame.h"

#include <map>
#include <utility>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/EntityManager.h"
#include "minigames/MemoryScreen.h"
#include "minigames/MiniGameXml.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzlePiece.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"

namespace {

// Whether a piece scene gives anything to play, read as the game builds its
// pieces: an object gives a piece when its unit names a picture the resource
// script declares (the two-part puzzle reads "sprite" units only); the rack
// counts only the pieces that are placed, not its decor. Quiet: the game's
// own build reports each piece it leaves out.
bool GivesPieces(const XMLDocument::XMLElement& scene, bool rack) {
    ZOLTFramework::EngineContext* engine = ZOLTFramework::EngineContext::Current();
    std::map<int, std::pair<std::string, bool>> units;  // id: picture, animated
    for (const auto& child : scene.GetChildren()) {
        if (!child || child->GetName() != "unit") continue;
        const std::string sprite = MiniGameXml::ChildText(*child, "sprite");
        if (!sprite.empty() || rack)
            units[MiniGameXml::ChildInt(*child, "id")] = {sprite, false};
        else
            units[MiniGameXml::ChildInt(*child, "id")] = {MiniGameXml::ChildText(*child, "animation"), true};
    }
    for (const auto& child : scene.GetChildren()) {
        if (!child || child->GetName() != "object") continue;
        const auto unit = units.find(MiniGameXml::ChildInt(*child, "id"));
        if (unit == units.end() || !PuzzlePiece::IsDeclared(engine, unit->second.first, unit->second.second)) continue;
        if (!rack || !Puzzle2tScreen::IsDecorName(unit->second.first)) return true;
    }
    return false;
}

// Why the piece scene of a puzzle cannot be played, or "".
std::string PieceSceneProblem(const std::string& sceneFile, bool rack) {
    if (sceneFile.empty()) return "it names no piece scene (\"Scene\")";
    XMLDocument scene("scene");
    if (!scene.Load(sceneFile)) return "its piece scene " + sceneFile + " cannot be read: " + scene.GetLastError();
    bool anyObject = false;
    for (const auto& child : scene.GetRoot()->GetChildren()) anyObject = anyObject || (child && child->GetName() == "object");
    if (!anyObject) return "its piece scene " + sceneFile + " holds no piece";
    if (GivesPieces(*scene.GetRoot(), rack)) return std::string();
    return rack ? "its piece scene " + sceneFile + " holds no piece to place (decor alone, or pictures not declared)"
                : "none of the pictures its piece scene " + sceneFile + " names is declared";
}

}  // namespace

MiniGameScreen* OpenMiniGame(const std::string& path, ZOLTFramework::CQuestionListener* level, float layer) {
    const size_t slash = path.find_last_of('/');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    ZOLTFramework::EngineContext* engine = ZOLTFramework::EngineContext::Current();
    EntityManager* manager = engine ? engine->GetEntityManager() : nullptr;
    if (!manager) {
        HtmlLog::Instance()->Error("Mini-game " + HtmlLog::Shown(path) + ": no entity manager to open it with");
        return nullptr;
    }
    // A game without its file has nothing to play and could only be "won" by
    // its Ok button: it is not opened at all.
    XMLDocument check("MiniGame");
    if (!check.Load(path)) {
        HtmlLog::Instance()->Error("Mini-game " + HtmlLog::Shown(path) + " is not opened: " + HtmlLog::Shown(check.GetLastError()));
        return nullptr;
    }
    const bool puzzle = file != "5.2.xml" && file != "11.1.xml" && file != "6.2.xml";
    if (puzzle) {
        // Nor is a puzzle without a piece to play (no piece scene, no piece
        // whose picture is declared, a rack of decor alone): built, it would
        // be solved at once and its Ok would count as a win.
        const std::string problem = PieceSceneProblem(check.GetRoot()->GetStringAttribute("Scene"), file == "2.2.xml");
        if (!problem.empty()) {
            HtmlLog::Instance()->Error("Mini-game " + HtmlLog::Shown(path) + " is not opened: " + HtmlLog::Shown(problem));
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
