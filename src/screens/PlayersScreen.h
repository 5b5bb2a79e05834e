// The players window: the list of players, with buttons to make the selected
// one the active player ("OK", also Enter), to create a new one through the
// name entry ("NP") and to delete the selected one after a question ("DL").
// The list mirrors the player manager; changes reach the files when the game
// saves its players.
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/core/Listeners.h"

class ButtonExEntity;

namespace ZOLTFramework {

class CListboxEntity;
class CWindowEntity;

class PlayersScreen : public CScreenEntity,
                      public CButtonListener,
                      public CListboxListener,
                      public CQuestionListener {
public:
    static constexpr const char* kScreenFile = "data/Screens/PlayersScreen.xml";
    static constexpr const char* kQuestionFile = "data/Screens/DialogYesNo.xml";
    static const int kMaxPlayers = 8;

    explicit PlayersScreen(const std::string& screenName);
    ~PlayersScreen() override = default;

    void GotFocus() override;
    void LostFocus() override;

    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;
    void OnListboxSelect(const std::string& listboxName, const std::string& text) override;
    // "NP": the typed name of a new player.
    void OnQuestion(const std::string& name, const std::string& value) override;
    // "DL": whether to delete the selected player.
    void OnAnswer(const std::string& questionId, bool yes) override;

    // Children by name: "Window", the list "PL" in it and its buttons "NP"
    // (new player), "DL" (delete) and "OK".

private:
    void FillList();
    void BuildWidgets(const std::string& file);
    ButtonExEntity* MakeButton(const XMLDocument::XMLElement& element, const char* message);

    CWindowEntity* window = nullptr;
    ButtonExEntity* newButton = nullptr;
    ButtonExEntity* okButton = nullptr;
    ButtonExEntity* deleteButton = nullptr;
    CListboxEntity* list = nullptr;
};

}  // namespace ZOLTFramework
