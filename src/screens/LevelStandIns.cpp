// What a new game does until the intro exists: it opens the level to play
// directly.
#include <algorithm>
#include <cmath>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/ButtonExEntity.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/LevelScreen.h"

ZOLTFramework::CScreenEntity* LevelScreen::OpenCurrentLevel(EntityManager& manager, const std::string& mapFile) {
    PlayerManager* players = PlayerManager::Instance();
    Player* player = players->GetActivePlayer();
    if (!player) return nullptr;
    players->Timer->Clear();
    players->KillEntities();
    std::string scene = player->PlayFieldPath;
    if (scene.empty()) {
        const GlobalMapData map = GlobalMapData::Read(mapFile);
        const GlobalMapData::LevelNode* chosen = nullptr;
        for (const GlobalMapData::LevelNode& node : map.nodes) {
            const auto score = player->NodeScores.find(node.name);
            if (score != player->NodeScores.end() && score->second == 0) {
                chosen = &node;
                break;
            }
        }
        if (!chosen)
            for (const GlobalMapData::LevelNode& node : map.nodes)
                if (player->NodeScores.count(node.name)) chosen = &node;
        if (!chosen) {
            HtmlLog::Instance()->Error("Main menu: the map \"" + mapFile + "\" has no level to open");
            return nullptr;
        }
        scene = chosen->level;
        player->CurrentNode = chosen->name;
        player->Time = map.levelTime;
        player->CigarCount = std::max(0, map.cigarCount);
        player->NodeScores[chosen->name];  // a missing entry is made with 0
        player->ScoreNode = 0;
    }
    HtmlLog::Instance()->Warning("Main menu: no global map yet; opening " + scene + " directly");
    auto* level = manager.OpenScreen<LevelScreen>(scene, kReturnScreen);
    if (player->PlayFieldPath.empty()) SetActivePlayerScoreNode(0);
    level->SetLayer(2.0f);
    // The level in progress keeps its saved state until it is won or left:
    // quitting inside it must find it again.
    player->LastSolvedNode.clear();
    player->GameInProgress = true;
    return level;
}
