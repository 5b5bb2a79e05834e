// The windows a level opens over itself: the queued comic pages and hint
// windows, help, the in-game options, pause, the evidence case and its
// tutorial, the extra-cigar window and, at the end, the score window with the
// node's score. A plain helper the level owns, given what it needs at
// construction (the entity its windows hang from and their listener, the
// level's status, the panel's slide they wait for, the hint queue, the
// level's hand on the scene, the level's settings and the map it returns to)
// and a view of the play field once that is built. Windows it may have to close
// again (help, options) are held by life token, so a window that died on its
// own is never touched.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "scene/LevelEvents.h"
#include "scene/PlayFieldView.h"
#include "screens/LevelParts.h"
#include "screens/LevelSettings.h"

class ComicScreen;
class EntityManager;
class HelpScreen;
class LevelCompleteScreen;
class Player;

namespace ZOLTFramework {
class CEntity;
}  // namespace ZOLTFramework

class LevelWindows {
public:
    static constexpr const char* kInGameOptions = "data/screens/OptionsScreenInGame.xml";

    LevelWindows(const LevelHost& host, LevelStatus& status, PanelSlide& slide, HintQueue& hints,
                 SceneRequests& scene, const LevelSettings& settings, std::string returnScreen);
    ~LevelWindows();
    LevelWindows(const LevelWindows&) = delete;
    LevelWindows& operator=(const LevelWindows&) = delete;
    // The scene the windows are over.
    void AttachField(PlayFieldView view);

    // ---- the queue, opened by the level's Update when the field is shown
    void QueueComic(const std::string& path) { comicQueue.push_back(path); }
    bool HasComic() const { return !comicQueue.empty(); }
    bool HasHint() const { return !hints.IsEmpty(); }
    // No page or hint waits and no hint window is open.
    bool IsQuiet() const { return comicQueue.empty() && hints.IsEmpty() && !hintWindowOpen; }
    bool IsHintWindowOpen() const { return hintWindowOpen; }
    void ShowNextTutorial();
    void ShowHintScreen();
    // "TutorialShown": the hint window closed.
    void OnTutorialShown();
    // True once after a comic page was shown.
    bool TakeTutorialShown();

    // ---- help, options, pause, the evidence case
    // The help window with the text of the key.
    void ShowHelp(const std::string& helpKey);
    HelpScreen* GetHelpScreen() const;
    void CloseHelpWindow();
    // The help window that answered "SetPaused" is done.
    void ForgetClosingHelp();
    void OpenOptions();
    void OpenPause();
    void OpenBag();
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
    // The game ends after the story's last find, before its final screen:
    // the player keeps the mark and the comic pages still showing or queued,
    // which Continue shows before the final screen.
    void KeepStoryEnding(Player& player) const;
    void RecordNodeScore();
    bool EndsPlace() const;

private:
    EntityManager* Manager() const;
    // The six scores of the window, the node's score and record updated; false
    // without a player or a field.
    bool RecordLevelScores(uint32_t scores[6]);
    // True when the level awards its medal this time.
    bool DrawMedal() const;

    LevelHost host;
    LevelStatus& status;
    PanelSlide& slide;
    HintQueue& hints;
    SceneRequests& scene;
    const LevelSettings& settings;
    std::string returnScreen;
    PlayFieldView field;
    std::list<std::string> comicQueue;
    // The comic page on screen, and its file.
    ComicScreen* comic = nullptr;
    std::weak_ptr<void> comicToken;
    std::string comicPath;
    bool hintWindowOpen = false;  // from the hint window's opening to "TutorialShown"
    bool tutorialShown = false;
    ZOLTFramework::CEntity* readyWindow = nullptr;
    HelpScreen* helpScreen = nullptr;
    std::weak_ptr<void> helpScreenToken;
    ZOLTFramework::CEntity* optionsWindow = nullptr;
    std::weak_ptr<void> optionsToken;
    LevelCompleteScreen* scoreWindow = nullptr;
    std::weak_ptr<void> scoreWindowToken;
};
