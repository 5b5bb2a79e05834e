// The windows a level opens over itself: comic pages, hint windows, help,
// options, pause, the evidence case and its tutorial, the extra-cigar window
// and the score window with the node's score.
#include "screens/LevelWindows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/EngineContext.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/screens/CPauseScreen.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "scene/CHintScreen.h"
#include "scene/PlayFieldStateWriter.h"
#include "scene/ShowScorePopup.h"
#include "screens/BagScreen.h"
#include "screens/ComicScreen.h"
#include "screens/GlobalMapData.h"
#include "screens/HelpScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/MedalList.h"
#include "screens/OptionsScreen.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::EngineContext;
using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

LevelWindows::LevelWindows(const LevelHost& levelHost, LevelStatus& levelStatus, PanelSlide& panelSlide,
                           HintQueue& hintQueue, SceneRequests& requests, const LevelSettings& levelSettings,
                           std::string returnTo)
    : host(levelHost), status(levelStatus), slide(panelSlide), hints(hintQueue), scene(requests),
      settings(levelSettings), returnScreen(std::move(returnTo)) {}

void LevelWindows::AttachField(PlayFieldView view) { field = view; }

LevelWindows::~LevelWindows() {
    // An options window this level opened goes with it: its answers would
    // reach a level that no longer exists.
    if (!optionsToken.expired() && optionsWindow) optionsWindow->Kill();
}

EntityManager* LevelWindows::Manager() const { return host.entity.Manager(); }

// ---- comic pages and hint windows

void LevelWindows::ShowNextTutorial() {
    EntityManager* manager = Manager();
    if (comicQueue.empty() || !manager) return;
    const std::string path = comicQueue.front();
    comicQueue.pop_front();
    comic = manager->OpenScreen<ComicScreen>(path);
    comic->SetOpacity(1.0f);
    comic->SetLayer(15.0f);
    comicToken = comic->GetLifeToken();
    comicPath = path;
    if (readyWindow) readyWindow->Hide();
    slide.KillSlide();
    slide.SlidePanelOut();
    tutorialShown = true;
}

bool LevelWindows::TakeTutorialShown() {
    const bool was = tutorialShown;
    tutorialShown = false;
    return was;
}

void LevelWindows::ShowHintScreen() {
    if (hints.IsEmpty()) return;
    EntityManager* manager = Manager();
    if (!manager) return;
    const LevelEvents::TutorialInfo info = hints.Take();
    auto* window = manager->Spawn<ZOLTFramework::CHintScreen>(
        &host.questions, float(info.firstPoint & 0xFFFFu), float(info.firstPoint >> 16), float(info.secondPoint & 0xFFFFu),
        float(info.secondPoint >> 16));  // pushes itself
    window->SetName("HintScreen");
    window->AttachTo(&host.entity);
    window->SetLayer(15.0f);
    window->SetText(info.textKey);
    window->SetOpacity(1.0f);
    // The extra-cigar window waits under it, shown again once nothing is queued.
    if (readyWindow) readyWindow->Hide();
    slide.KillSlide();
    slide.Pause();
    // The clock waits for the window's "TutorialShown".
    hintWindowOpen = true;
}

void LevelWindows::OnTutorialShown() {
    slide.Resume();
    hintWindowOpen = false;
}

// ---- help, options, pause

void LevelWindows::ShowHelp(const std::string& helpKey) {
    EntityManager* manager = Manager();
    if (!manager) return;
    // One help window at a time.
    HelpScreen* open = GetHelpScreen();
    if (open && !open->IsClosing()) return;
    auto* help = manager->OpenScreen<HelpScreen>("", &host.questions);
    help->AttachTo(&host.entity);
    help->SetTextKey(helpKey);
    help->SetLayer(2004.0f);
    helpScreen = help;
    helpScreenToken = help->GetLifeToken();
    status.StopClock(true);
    if (ZOLTFramework::CScreenEntity* game = status.RunningMiniGame()) {
        game->Pause();
        slide.Pause();
    }
    HtmlLog::Instance()->Info("Show help");
}

HelpScreen* LevelWindows::GetHelpScreen() const { return helpScreenToken.expired() ? nullptr : helpScreen; }

void LevelWindows::CloseHelpWindow() {
    HelpScreen* help = GetHelpScreen();
    helpScreen = nullptr;
    helpScreenToken.reset();
    if (!help) return;
    help->Close();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(help);
}

void LevelWindows::ForgetClosingHelp() {
    HelpScreen* help = GetHelpScreen();
    if (help && help->IsClosing()) {
        helpScreen = nullptr;
        helpScreenToken.reset();
    }
}

void LevelWindows::OpenOptions() {
    EntityManager* manager = Manager();
    if (!manager) return;
    if (!optionsToken.expired()) return;  // one options window at a time
    auto* options = manager->OpenScreen<OptionsScreen>(kInGameOptions, &host.questions);
    options->SetLayer(15000.0f);
    options->SetDepth(50000.0f);
    options->SetOpacity(0.0f);
    options->Open();
    optionsWindow = options;
    optionsToken = options->GetLifeToken();
    slide.KillSlide();
    if (status.LastEvent() == LevelEvents::kMiniGame) slide.SlidePanelOut();
    scene.LeaveScene();
    if (ZOLTFramework::CScreenEntity* game = status.RunningMiniGame()) {
        slide.Pause();
        game->Pause();
    }
    // The clock waits while the window is open: a time-out under it would open
    // the "Lose" window below it. "Resume" lets the clock go on.
    slide.Pause();
    status.StopClock(true);
}

void LevelWindows::OpenPause() {
    EntityManager* manager = Manager();
    if (!manager) return;
    slide.KillSlide();
    auto* pause = manager->OpenScreen<ZOLTFramework::CPauseScreen>(&host.questions);
    pause->SetLayer(50000.0f);
    pause->Open();
    status.StopClock(true);
    scene.LeaveScene();
}

// ---- the evidence case

void LevelWindows::OpenBag() {
    EntityManager* manager = Manager();
    if (!manager) return;
    auto* bag = manager->OpenScreen<BagScreen>("");
    bag->SetLayer(15.0f);
    slide.SlidePanelOut();
}

// ---- the extra-cigar window

void LevelWindows::BuildExtraCigarWindow() {
    EntityManager* manager = Manager();
    if (!manager) return;
    EngineContext* engine = host.entity.GetEngine();
    // A second window replaces the first.
    if (readyWindow) readyWindow->Kill();
    auto* group = manager->Spawn<CEntity>();
    group->SetName("ExtraCigarWindow");
    group->AttachTo(&host.entity);
    auto* window = manager->Spawn<CSpriteEntity>();
    window->AttachSprite(Services::Sprite(engine, "Window04"));
    if (!window->GetSprite()) HtmlLog::Instance()->Error("Level: no sprite \"Window04\" for the extra-cigar window.");
    window->SetScaleX(0.7f);
    window->SetScaleY(0.7f);
    window->AttachTo(group);
    auto* text = manager->Spawn<TextEntity>("", nullptr);
    text->SetText(Services::Text(engine, "TUTORIAL_EXTRA_CIGAR"));
    text->SetPosXY(-115.0f, -50.0f);
    text->SetFont(FontRegistry::GetFont("Default14"));
    text->SetDepth(10.0f);
    text->SetAlignment(2);
    text->SetBox(230.0f, 200.0f);
    text->AttachTo(group);
    group->SetAbsolutePosition(350.0f, 130.0f);
    group->OnMove();
    group->Hide();
    readyWindow = group;
}

void LevelWindows::ShowWaitingWindow() {
    // Not under a hint or a comic page, nor between two queued ones (it would
    // flash up while the panel slides).
    if (hintWindowOpen || !comicQueue.empty() || !hints.IsEmpty()) return;
    EntityManager* manager = Manager();
    if (manager && manager->GetTopScreen() != &host.entity) return;
    if (readyWindow && readyWindow->IsHidden()) readyWindow->Show();
}

void LevelWindows::CloseWaitingWindow() {
    if (!readyWindow) return;
    readyWindow->Kill();
    readyWindow = nullptr;
}

// ---- the score window

bool LevelWindows::RecordLevelScores(uint32_t scores[6]) {
    Player* player = Active();
    if (!player || !field.HasField()) return false;
    PlayFieldStateWriter::ForgetStateFile(*player);
    // Scores saturate: a hand-edited file may bring any number.
    const int32_t level = FileNumbers::ClampToInt(double(player->ScoreItems) + player->ScoreSpeed + player->ScoreMiniGames);
    player->ScoreNode = FileNumbers::ClampToInt(double(player->ScoreNode) + level);
    scores[0] = uint32_t(player->ScoreItems);
    scores[1] = uint32_t(player->ScoreSpeed);
    scores[2] = uint32_t(player->ScoreMiniGames);
    scores[3] = 0;
    if (EndsPlace() && !player->RelaxedMode) {
        const int32_t bonus = FileNumbers::ClampToInt(std::trunc(double(player->Time)) * 10.0);
        scores[3] = uint32_t(bonus);
        player->ScoreNode = FileNumbers::ClampToInt(double(player->ScoreNode) + bonus);
    }
    RecordNodeScore();
    scores[4] = uint32_t(level);
    int64_t total = 0;
    for (const auto& node : player->NodeScores) total += node.second;
    scores[5] = uint32_t(total);
    return true;
}

bool LevelWindows::DrawMedal() const {
    HGE* hge = Services::Hge(host.entity.GetEngine());
    const float draw = hge ? hge->Random_Float(0.0f, 1.0f) : 1.0f;
    // A probability of 0 (or less) never awards the medal.
    return settings.scoreScreenAllowed && settings.medalProbability > 0.0f && draw <= settings.medalProbability;
}

void LevelWindows::ShowLevelComplete() {
    uint32_t scores[6];
    if (!RecordLevelScores(scores)) return;
    if (settings.scoreScreenAllowed) {
        EntityManager* manager = Manager();
        if (!manager) return;
        // Scores still rising would stand frozen under it.
        EndScorePopups(host.entity);
        auto* window = manager->OpenScreen<LevelCompleteScreen>("", scores);
        window->SetLayer(15.0f);
        if (DrawMedal()) window->SetMedalToAdd(settings.medalToAdd);
        scoreWindow = window;
        scoreWindowToken = window->GetLifeToken();
    } else {
        PlayerManager::Instance()->Timer->Clear();
    }
}

void LevelWindows::RecordWinOnQuit() {
    uint32_t scores[6];
    if (!RecordLevelScores(scores) || !DrawMedal() || settings.medalToAdd == 0) return;
    Player* player = Active();
    if (player && MedalList::Knows(settings.medalToAdd, MedalList::kFile, "Level " + HtmlLog::Shown(host.entity.GetName())))
        player->Medals.insert(uint32_t(settings.medalToAdd));
}

void LevelWindows::KeepStoryEnding(Player& player) const {
    player.EndingPending = true;
    player.EndingPages.clear();
    if (!comicToken.expired() && !comic->IsDead()) player.EndingPages.push_back(comicPath);
    player.EndingPages.insert(player.EndingPages.end(), comicQueue.begin(), comicQueue.end());
}

void LevelWindows::KeepScoreWindowMedal() {
    if (!scoreWindowToken.expired() && !scoreWindow->IsDead()) scoreWindow->KeepMedal();
}

// The last scene of a place leads back to the map, or, for the story's last
// place, to the final screen: either way the place is done.
bool LevelWindows::EndsPlace() const {
    const std::string next = field.HasField() ? field.NextScene() : std::string();
    return next.empty() || next == LevelEvents::kFinalScene;
}

void LevelWindows::RecordNodeScore() {
    Player* player = Active();
    if (!player || !field.HasField()) return;
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
