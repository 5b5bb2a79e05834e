#include "screens/NewGame.h"

#include "profiles/Player.h"

namespace NewGame {

void ResetPlayer(Player& player, bool relaxed) {
    player.Time = Player::kStartTime;
    player.GameInProgress = false;
    player.ScoreItems = 0;
    player.ScoreSpeed = 0;
    player.ScoreMiniGames = 0;
    player.ScoreNode = 0;
    player.PlayFieldPath.clear();
    player.NodeScores.clear();
    player.Evidences.clear();
    player.LastEvidences.clear();
    player.Medals.clear();
    player.LastSolvedNode.clear();
    player.EndingPending = false;
    player.EndingPages.clear();
    player.RelaxedMode = relaxed;
    player.NodeScores[kStartNode] = 0;
}

}  // namespace NewGame
