// The main menu: play (continue or a new game with the play-mode question),
// players, options, credits and exit, over the underwater background, with a
// greeting for the active player. While there is no active player it opens the
// name entry by itself (the players list when all eight slots are taken).
//
// The screens a game leaves the menu for (the global map, the intro) are made
// by the screen factory's makers of kinds ScreenFactory::kGlobalMap (argument:
// the map file) and ScreenFactory::kIntro; while one is not registered, the
// menu writes a Warning row and stays, with its aquarium running again.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "entities/screens/CScreenEntity.h"
#include "entities/core/Listeners.h"

class ButtonExEntity;

namespace ZOLTFramework {

class CMenuBGScreen;

class CMenuScreen : public CScreenEntity, public CButtonListener, public CQuestionListener {
public:
    static constexpr const char* kScreenFile = "data/Screens/MenuScreen.xml";
    static constexpr const char* kYesNoFile = "data/Screens/DialogYesNo.xml";
    static constexpr const char* kModeFile = "data/Screens/DialogMode.xml";
    static constexpr const char* kGlobalMapFile = "data/GlobalMapScreen.xml";
    static constexpr const char* kOptionsFile = "data/screens/OptionsScreenMain.xml";
    static constexpr const char* kCreditsFile = "data/Screens/Credits.xml";
    static const int kMaxPlayers = 8;

    explicit CMenuScreen(const std::string& screenName);
    ~CMenuScreen() override = default;

    void Update(float dt) override;
    // The greeting.
    void Render() override;
    void GotFocus() override;
    void LostFocus() override;

    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& name) override;
    void OnButtonLeave(const std::string& name) override;
    // "NP": the typed name of a new player, who becomes the active one.
    void OnQuestion(const std::string& name, const std::string& value) override;
    // "CONT" (continue the saved game) and "MODE" (yes: timed, no: relaxed).
    void OnAnswer(const std::string& questionId, bool yes) override;

    // The background while it lives, else null.
    CMenuBGScreen* GetBackground() const;
    bool HasLostFocus() const { return lostFocus; }

private:
    void LoadButtons(const std::string& file);
    void MakeBackground();
    // Stops the aquarium: the shared timer's entries and the fish go.
    void StopAquarium();
    // A new background in place of the old one (after a hand-over that could
    // not happen), so the menu keeps its fish and bubbles.
    void RestartBackground();
    // Hands over to the screen: the menu leaves the stack and fades away, the
    // background goes, the new screen fades in.
    void HandOver(CScreenEntity* next);
    // The factory's screen of that kind (owned by the manager), or null when
    // the kind has no maker or it made no screen.
    CScreenEntity* OpenByKind(const char* kind, const std::string& argument);
    void AskQuestion(const std::string& id, const std::string& file, const std::string& textKey);
    void OpenPlayerEntry();
    bool BackgroundOpaque() const;
    template <class F>
    void ForEachButton(F f) const;

    ButtonExEntity* playButton = nullptr;
    ButtonExEntity* optionsButton = nullptr;
    ButtonExEntity* exitButton = nullptr;
    ButtonExEntity* selectButton = nullptr;
    ButtonExEntity* creditsButton = nullptr;
    CMenuBGScreen* background = nullptr;
    std::weak_ptr<void> backgroundAlive;
    bool lostFocus = false;
};

}  // namespace ZOLTFramework
