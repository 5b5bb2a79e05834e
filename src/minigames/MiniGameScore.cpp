#include "minigames/MiniGameScore.h"

#include <string>
#include <utility>

namespace {

MiniGameScorePopup& Installed() {
    static MiniGameScorePopup popup;
    return popup;
}

}  // namespace

void SetMiniGameScorePopup(MiniGameScorePopup popup) { Installed() = std::move(popup); }

void ShowMiniGameScore(ZOLTFramework::CEntity* parent, ZOLTFramework::CQuestionListener* listener, float x, float y,
                       int points) {
    if (Installed()) {
        Installed()(parent, listener, x, y, points);
        return;
    }
    if (listener) listener->OnQuestion("AddItemScore", std::to_string(points));
}
