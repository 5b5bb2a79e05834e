// The events a level hears (scene/LevelEvents.h), each turned into the
// level's operation that answers it: one table from the event's name to its
// handler, the level's own.
#include <cmath>
#include <unordered_map>

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/LevelEvents.h"
#include "screens/BagScreen.h"
#include "screens/LevelPanel.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"

namespace {

using Handler = void (*)(LevelScreen&, const std::string&);

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

void AddTime(LevelScreen& level, const std::string& value) {
    Player* player = Active();
    if (!player || player->RelaxedMode) return;
    const float v = FileNumbers::Finite(value, 0.0f, "Level: the seconds of \"AddTime\"");
    if (player->Time > std::fabs(v)) level.Panel().ShowTimePenalty(v);
    level.Panel().RunClock(-v);
}

// Scores saturate: a hand-edited file may bring any number.
void AddScore(int32_t Player::*score, const std::string& value) {
    if (Player* player = Active()) player->*score = FileNumbers::ClampToInt(double(player->*score) + StringToInt(value));
}

void TaskChanged(LevelScreen& level, const std::string& value) {
    // The bedroom's towel is the first thing the player uses from the inventory.
    if (level.GetScenePath() == "data/Scenes/Brannoks_bedroom.xml" && value == "Towel")
        level.OnQuestion(LevelEvents::kShowHint, "TUTORIAL_INVENTORY/0x02100104");
    level.Panel().OnTaskChanged(value);
}

void AddCigars(LevelScreen& level, const std::string& value) {
    const int count = FileNumbers::Count(StringToInt(value), "Level: the cigars of \"AddCigars\"");
    for (int i = 0; i < count; ++i) level.Panel().AddCigar(true);
}

void MiniGameResult(LevelScreen& level, const std::string& name, const std::string& value) {
    level.HandleMiniGameResult(name, value);
}

const std::unordered_map<std::string, Handler>& Table() {
    namespace E = LevelEvents;
    static const std::unordered_map<std::string, Handler> table = {
        {E::kShowHelp, [](LevelScreen& l, const std::string&) { l.ShowHelp(); }},
        // Names that do nothing here: the field acts on the lock itself, and a
        // scene's "AddToInventory" is kept for its scripts.
        {E::kLockingTask, [](LevelScreen&, const std::string&) {}},
        {E::kAddToInventory, [](LevelScreen&, const std::string&) {}},
        {E::kResume, [](LevelScreen& l, const std::string&) { l.ResumeAfterOptions(); }},
        {E::kEnableExit, [](LevelScreen& l, const std::string&) { l.SetExitEnabled(true); }},
        {E::kDisableExit, [](LevelScreen& l, const std::string&) { l.SetExitEnabled(false); }},
        {E::kShowPanel, [](LevelScreen& l, const std::string&) { l.Panel().SlidePanelIn(); }},
        {E::kHidePanel, [](LevelScreen& l, const std::string& v) { l.HoldPanelOut(StringToFloat(v)); }},
        {E::kMiniGameFinished, [](LevelScreen& l, const std::string& v) { MiniGameResult(l, E::kMiniGameFinished, v); }},
        {E::kMiniGameSolveLater,
         [](LevelScreen& l, const std::string& v) { MiniGameResult(l, E::kMiniGameSolveLater, v); }},
        {E::kMiniGameSkip, [](LevelScreen& l, const std::string& v) { MiniGameResult(l, E::kMiniGameSkip, v); }},
        {E::kAddTime, AddTime},
        {E::kAddItemScore, [](LevelScreen&, const std::string& v) { AddScore(&Player::ScoreItems, v); }},
        {E::kAddSpeedScore, [](LevelScreen&, const std::string& v) { AddScore(&Player::ScoreSpeed, v); }},
        {E::kAddMinigameScore, [](LevelScreen&, const std::string& v) { AddScore(&Player::ScoreMiniGames, v); }},
        {E::kShowComics, [](LevelScreen& l, const std::string& v) { l.Windows().QueueComic(v); }},
        {E::kShowHint, [](LevelScreen& l, const std::string& v) { l.Hints().Queue(E::ParseTutorialInfo(v)); }},
        {E::kTutorialShown, [](LevelScreen& l, const std::string&) { l.Windows().OnTutorialShown(); }},
        {E::kTaskChanged, TaskChanged},
        {E::kMiniGame, [](LevelScreen& l, const std::string& v) { l.RequestMiniGame(v); }},
        {E::kAddMagnifyingGlass, [](LevelScreen& l, const std::string&) { l.Panel().ShowMagnifyingGlass(true); }},
        {E::kAddCigars, AddCigars},
        {E::kExitToMenu, [](LevelScreen& l, const std::string&) { l.ExitToMenu(); }},
        {E::kExitToGlobalMap, [](LevelScreen& l, const std::string& v) { l.ExitToGlobalMap(v); }},
        {E::kActionLoadLevel, [](LevelScreen& l, const std::string& v) { l.OnQuestion(E::kExitToGlobalMap, v); }},
        {E::kWin, [](LevelScreen& l, const std::string&) { l.FinishScene(); }},
        {E::kOnObjectClick, [](LevelScreen& l, const std::string&) { l.Windows().CloseWaitingWindow(); }},
        {E::kAddToBag,
         [](LevelScreen& l, const std::string& v) {
             if (BagScreen::TakeItem(v)) l.Panel().ShowBagTutorial();
         }},
        {E::kShowExtraCigarTutorial, [](LevelScreen& l, const std::string&) { l.Windows().BuildExtraCigarWindow(); }},
    };
    return table;
}

}  // namespace

void LevelScreen::Dispatch(const std::string& name, const std::string& value) {
    const auto& table = Table();
    const auto found = table.find(name);
    if (found != table.end()) {
        found->second(*this, value);
        return;
    }
    if (unhandledEvents.insert(name).second)
        HtmlLog::Instance()->Warning("Level \"" + HtmlLog::Shown(scenePath) + "\": nothing handles the event \"" + HtmlLog::Shown(name) +
                                     "\" (value \"" + HtmlLog::Shown(value) + "\"); it is ignored.");
}

bool LevelScreen::HandlesEvent(const std::string& name) {
    // Heard without a word, but nothing is done: the field acts on the lock
    // itself, and "AddToInventory" is the scripts'.
    if (name == LevelEvents::kLockingTask || name == LevelEvents::kAddToInventory) return false;
    return Table().count(name) > 0;
}
