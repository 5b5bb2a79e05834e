// The common frame of every mini-game screen: built from a mini-game file on
// top of a paused level, it fades in, asks the level for its help window, is
// played, and after "Ok" or "SolveLater" fades out and reports exactly one
// result ("MiniGameFinished", "MiniGameSkip" or "MiniGameSolveLater", with the
// file path as value) to its question listener. Then it leaves the screen
// stack and parks at (5000, 5000); the level decides when it goes.
//
// The games differ only by the values of MiniGameStyle and by their own rules.
// A game's constructor builds its board after this base has read the common
// attributes, then calls Finish, which makes the three buttons and starts the
// fade-in. OpenMiniGame makes the screen through the entity manager, which
// owns it and pushes it on the screen stack.
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"

namespace ZOLTFramework {
class CButtonEntity;
class CSpriteEntity;
}

// Result states.
enum MiniGameState {
    kMiniGamePlaying = 0,
    kMiniGameSolved = 1,
    kMiniGameSkipping = 2,
    kMiniGameSkipped = 3,
    kMiniGameSolveLater = 4,
};

struct MiniGameButtonSpec {
    std::string sprite;
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;
    std::string captionKey;
    float captionX = 0.0f;
    float captionY = 0.0f;
    float captionScale = 1.0f;
    float captionDepth = 110.0f;
    bool hasTracking = false;
    float tracking = 0.0f;
    // The sprite covers three stacked looks: one look is its top third.
    bool looksStacked = false;
};

struct MiniGameStyle {
    float startOpacity = 0.3f;
    MiniGameButtonSpec solveLater;
    MiniGameButtonSpec skip;
    MiniGameButtonSpec ok;
    // True: the Ok button pulses in place between its scale and 1.5; false: it
    // slides up from below the screen and pulses.
    bool okPulseOnly = false;
    // True: showing the Ok button does nothing while it is already shown.
    bool keepShownOk = false;
    bool readBackgroundXY = true;
    // Honours "NoSolveLaterButton" and logs "Puzzle screen gained focus".
    bool puzzleExtras = false;
};

class MiniGameScreen : public ZOLTFramework::CScreenEntity, public ZOLTFramework::CButtonListener {
public:
    ~MiniGameScreen() override;

    void GotFocus() override;
    void OnOpened() override;
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;

    // The buttons are the children named by their messages: "Ok", "Skip",
    // "SolveLater".
    // True once the result has been sent.
    bool HasReported() const { return reported; }
    // Enabled, alive and visible.
    bool IsOkShown() const;

protected:
    MiniGameScreen(const std::string& path, ZOLTFramework::CQuestionListener* level, const MiniGameStyle& gameStyle);

    // The three buttons and the fade-in from the start opacity; AfterBuild
    // runs last.
    void Finish();
    // Called at the end of Finish, when the buttons exist.
    virtual void AfterBuild() {}
    // The game's part of "Skip" (the buttons, state and sound are its own).
    virtual void OnSkip() {}
    // Every press that is not ignored, before the common tests.
    virtual void BeforeButton(const std::string& message) {}
    // Every press that is not ignored, after the common tests.
    virtual void OnGameButton(const std::string& message) {}
    // When the result is sent.
    virtual void OnEnded() {}

    // The end of the game: when the absolute opacity is exactly 0, sends the
    // result by state, pauses, leaves the screen stack and parks. True when it
    // happened in this call.
    bool EndStep();
    // Shows and resumes the Ok button with its animation (see the style); the
    // Skip and SolveLater buttons are hidden first.
    void ShowOkButton();
    void HideButton(ZOLTFramework::CButtonEntity* button, bool pause);
    void PlaySound(const std::string& sound);
    // A sprite entity of a resource sprite, or null with an Error row.
    ZOLTFramework::CSpriteEntity* MakeSprite(const std::string& sprite, CEntity* parent, const char* what);
    void LogError(const std::string& text) const;
    void LogWarning(const std::string& text) const;

    // The loaded file (its root is null when the file could not be read).
    XMLDocument document{"MiniGame"};
    RefPtr<XMLDocument::XMLElement> root;
    ZOLTFramework::CQuestionListener* listener;
    MiniGameStyle style;
    int state = kMiniGamePlaying;
    ZOLTFramework::CSpriteEntity* background = nullptr;
    int resGroup = -1;
    ZOLTFramework::CButtonEntity* okButton = nullptr;
    ZOLTFramework::CButtonEntity* solveLaterButton = nullptr;
    ZOLTFramework::CButtonEntity* skipButton = nullptr;
    float skipDelay = 0.0f;
    // Set by the first "Ok" or "SolveLater": later presses are ignored.
    bool closeStarted = false;
    bool reported = false;

private:
    ZOLTFramework::CButtonEntity* MakeButton(const std::string& message, const MiniGameButtonSpec& spec);
};
