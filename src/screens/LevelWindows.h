// The windows a level opens over itself: the queued comic pages and hint
// windows, help, the in-game options, pause, the evidence case and its
// tutorial, the extra-cigar window and, at the end, the score window with the
// node's score. A plain helper the level owns. Windows it may have to close
// again (help, options) are held by life token, so a window that died on its
// own is never touched.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "scene/LevelEvents.h"
#include "screens/LevelSettings.h"

class EntityManager;
class HelpScreen;
class LevelCompleteScreen;
class LevelScreen;

namespace ZOLTFramework {
class CEntity;
}  // namespace ZOLTFramework

class LevelWindows {
public:
    static constexpr const char* kInGameOptions = "data/screens/OptionsScreenInGame.xml";

    LevelWindows(LevelScreen& level, LevelSettings& settings);
    ~LevelWindows();
    LevelWindows(const LevelWindows&) = delete;
    LevelWindows& operator=(const LevelWindows&) = delete;

    // ---- the queue, opened by the level's Update when the field is shown
    void QueueComic(const std::string& path) { comicQueue.push_back(path); }
    void QueueHint(const LevelEvents::TutorialInfo& hint) { hintQueue.push_back(hint); }
    bool HasComic() const { return !comicQueue.empty(); }
    bool HasHint() const { return !hintQueue.empty(); }
    // No page or hint waits and no hint window is open.
    bool IsQuiet() const { return comicQueue.empty() && hintQueue.empty() && !hintWindowOpen; }
    bool IsHintWindowOpen() const { return hintWindowOpen; }
    void ShowNextTutorial();
    void ShowHintScreen();
    // "TutorialShown": the hint window closed.
    void OnTutorialShown();
    // True once after a comic page was shown.
    bool TakeTutorialShown();

    // ---- help, options, pause, the evidence case
    void ShowHelp();
    HelpScreen* GetHelpScreen() const;
    void CloseHelpWindow();
    // The help window that answered "SetPaused" is done.
    void ForgetClosingHelp();
    void OpenOptions();
    void OpenPause();
    void OpenBag();
    void ShowBagTutorial();
    void BuildExtraCigarWindow();
    // The extra-cigar window waits for the field to be shown.
    void ShowWaitingWindow();
    void CloseWaitingWindow();

    // ---- the end of the level
    // The scores of the won scene into the node's (its time bonus when it ends
    // the place), the node's record, then the score window with the medal it
    // may award.
    void ShowLevelComplete();
    // The game ends before the score window opened: what it would record and
    // the medal it would award are kept.
    void RecordWinOnQuit();
    // The game ends with the score window up: its medal is kept.
    void KeepScoreWindowMedal();
    void RecordNodeScore();
    bool EndsPlace() const;

private:
    EntityManager* Manager() const;
    // The six scores of the window, the node's score and record updated; false
    // without a player or a field.
    bool RecordLevelScores(uint32_t scores[6]);
    // True when the level awards its medal this time.
    bool DrawMedal() const;

    LevelScreen& level;
    LevelSettings& settings;
    std::list<std::string> comicQueue;
    std::list<LevelEvents::TutorialInfo> hintQueue;
    bool hintWindowOpen = false;  // from the hint window's opening to "TutorialShown"
    bool tutorialShown = false;
    ZOLTFramework::CEntity* readyWindow = nullptr;
    ZOLTFramework::CEntity* bagTutorialMarker = nullptr;
    HelpScreen* helpScreen = nullptr;
    std::weak_ptr<void> helpScreenToken;
    ZOLTFramework::CEntity* optionsWindow = nullptr;
    std::weak_ptr<void> optionsToken;
    LevelCompleteScreen* scoreWindow = nullptr;
    std::weak_ptr<void> scoreWindowToken;
};
