// The windows a level opens over itself: comic pages, hint windows, help,
// the evidence-case tutorial and the score window with the node's score.
#include <cstdint>

#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/ColorSwitcher.h"
#include "entities/widgets/TextEntity.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/CHintScreen.h"
#include "scene/PlayField.h"
#include "screens/ComicScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/HelpScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"

namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

void LevelScreen::ShowNextTutorial() {
    EntityManager* manager = Manager();
    if (comicQueue.empty() || !manager) return;
    const std::string path = comicQueue.front();
    comicQueue.pop_front();
    auto* comic = manager->OpenScreen<ComicScreen>(path);
    comic->SetOpacity(1.0f);
    comic->SetLayer(15.0f);
    KillSlide();
    SlidePanelOut();
    tutorialShown = true;
}

void LevelScreen::ShowHintScreen() {
    if (hintQueue.empty()) return;
    EntityManager* manager = Manager();
    if (!manager) return;
    const TutorialInfo info = hintQueue.front();
    hintQueue.pop_front();
    auto* window = manager->Spawn<ZOLTFramework::CHintScreen>(
        this, float(info.firstPoint & 0xFFFFu), float(info.firstPoint >> 16), float(info.secondPoint & 0xFFFFu),
        float(info.secondPoint >> 16));  // pushes itself
    window->SetName("HintScreen");
    window->AttachTo(this);
    window->SetLayer(15.0f);
    window->SetText(info.textKey);
    window->SetOpacity(1.0f);
    KillSlide();
    PauseEntity(panel);
    // The clock waits for the window's "TutorialShown".
    hintWindowOpen = true;
}

void LevelScreen::ShowHelp() {
    EntityManager* manager = Manager();
    if (!manager) return;
    // One help window at a time.
    HelpScreen* open = GetHelpScreen();
    if (open && !open->IsClosing()) return;
    auto* help = manager->OpenScreen<HelpScreen>("", this);
    help->AttachTo(this);
    help->SetTextKey(helpKey);
    help->SetLayer(2004.0f);
    helpScreen = help;
    helpScreenToken = help->GetLifeToken();
    clockStopped = true;
    if (runningMiniGame) {
        runningMiniGame->Pause();
        PauseEntity(panel);
    }
    HtmlLog::Instance()->Info("Show help");
}

void LevelScreen::ShowBagTutorial() {
    EntityManager* manager = Manager();
    if (!bagButton || !manager) return;
    if (bagButton->IsHiddenInChain()) {
        panelInActions.push_back([this] { hintQueue.push_back(TutorialInfo{"TUTORIAL_BAG", (491u << 16) | 86u, 0u}); });
    }
    bagButton->Show();
    bagButton->Resume();
    if (bagTutorialMarker) bagTutorialMarker->Kill();
    bagTutorialMarker = nullptr;
    TextEntity* caption = bagButton->GetCaption();
    if (!caption) {
        HtmlLog::Instance()->Error("Level: the evidence-case button has no caption to blink.");
        return;
    }
    auto* marker = manager->Spawn<ColorSwitcher>(0xFFFFFFFFu, 0x99FFFF00u, 0.3f);
    marker->AttachTo(caption);
    marker->Start();
    bagTutorialMarker = marker;
}

void LevelScreen::ShowLevelComplete() {
    Player* player = Active();
    if (!player || !playField) return;
    player->PlayFieldPath.clear();
    player->ScoreNode += player->ScoreItems + player->ScoreSpeed + player->ScoreMiniGames;
    uint32_t scores[6] = {uint32_t(player->ScoreItems), uint32_t(player->ScoreSpeed),
                          uint32_t(player->ScoreMiniGames), 0, 0, 0};
    if (EndsPlace() && !player->RelaxedMode) {
        const int bonus = static_cast<int>(player->Time) * 10;
        scores[3] = uint32_t(bonus);
        player->ScoreNode += bonus;
    }
    RecordNodeScore();
    scores[4] = uint32_t(player->ScoreItems + player->ScoreSpeed + player->ScoreMiniGames);
    int64_t total = 0;
    for (const auto& node : player->NodeScores) total += node.second;
    scores[5] = uint32_t(total);
    if (scoreScreenAllowed) {
        EntityManager* manager = Manager();
        if (!manager) return;
        auto* window = manager->OpenScreen<LevelCompleteScreen>("", scores);
        window->SetLayer(15.0f);
        HGE* hge = Services::Hge(engine);
        const float draw = hge ? hge->Random_Float(0.0f, 1.0f) : 1.0f;
        // A probability of 0 (or less) never awards the medal.
        if (medalProbability > 0.0f && draw <= medalProbability) window->SetMedalToAdd(medalToAdd);
    } else {
        PlayerManager::Instance()->Timer->Clear();
    }
}

// The last scene of a place leads back to the map, or, for the story's last
// place, to the final screen: either way the place is done.
bool LevelScreen::EndsPlace() const {
    const std::string next = playField ? playField->GetNextScene() : std::string();
    return next.empty() || next == kFinalScene;
}

void LevelScreen::RecordNodeScore() {
    Player* player = Active();
    if (!player || !playField) return;
    const GlobalMapData map = GlobalMapData::Read(returnScreen);
    // The next node is found before the scores change.
    const GlobalMapData::LevelNode* next = map.FirstUnreached(*player);
    const std::string node = player->CurrentNode;
    player->LastSolvedNode.clear();
    if (!EndsPlace()) return;
    if (node.empty() || player->NodeScores[node] == 0) {
        // A level without a node still opens the next one but scores nothing.
        if (!node.empty()) player->NodeScores[node] = player->ScoreNode;
        if (next) player->NodeScores[next->name] = 0;
        player->LastSolvedNode = node;
    } else if (player->NodeScores[node] < player->ScoreNode) {
        player->NodeScores[node] = player->ScoreNode;
    }
}
