// A score won in a level: the listener hears it as ("AddSpeedScore", score)
// for kind 1, ("AddMinigameScore", score) for kind 2 and ("AddItemScore",
// score) for any other kind, and the score (or "caption score!") rises 75
// pixels from (x, y) under the parent while it fades in and out over 3 s,
// then dies. It keeps its size on the screen whatever the parent's scale (a
// play field under the magnifying glass). A point so near an edge that the
// text would be cut (from its start to the top of its rise) or stand over the
// panel (left of `left`, a screen x) is moved in.
#pragma once

#include <string>

namespace ZOLTFramework {
class CEntity;
class CQuestionListener;
}  // namespace ZOLTFramework

class TextEntity;

enum EScoreKind { SCORE_ITEM = 0, SCORE_SPEED = 1, SCORE_MINIGAME = 2 };

// Returns the flying text (null when there is no entity manager to own it),
// named "ScorePopup".
TextEntity* ShowScorePopup(float score, float x, float y, ZOLTFramework::CQuestionListener* listener,
                           ZOLTFramework::CEntity* parent, const std::string& caption, int kind,
                           float left = 0.0f);

// Ends every score still flying under the entity: a window that takes the
// scene for good (the score window) leaves none standing frozen under it.
void EndScorePopups(ZOLTFramework::CEntity& under);
