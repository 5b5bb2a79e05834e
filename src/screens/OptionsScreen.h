// The options window, in two variants chosen by its screen file (which is also
// its name): the main menu's and the in-game one. The options tab sets the
// sound and music volumes (at once, through the audio manager) and switches
// full screen; the high-score tab lists the players by their map totals.
// "OK" saves the settings to the ini file, closes and tells the owner
// "Resume"; the in-game exit question, answered yes, saves the settings read
// when the window opened, closes at once and tells the owner "EXIT_TO_MENU".
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/core/Listeners.h"

class ButtonExEntity;
class TriggerEntity;

namespace ZOLTFramework {
class CSliderEntity;
class CWindowEntity;
}  // namespace ZOLTFramework

class OptionsScreen : public ZOLTFramework::CScreenEntity,
                      public ZOLTFramework::CButtonListener,
                      public TriggerListener,
                      public ZOLTFramework::CQuestionListener,
                      public ZOLTFramework::CSliderListener {
public:
    static constexpr const char* kMainMenuFile = "data/screens/OptionsScreenMain.xml";
    static constexpr const char* kInGameFile = "data/screens/OptionsScreenInGame.xml";

    // The owner hears "Resume" and "EXIT_TO_MENU"; it may be null.
    OptionsScreen(const std::string& file, ZOLTFramework::CQuestionListener* owner);
    ~OptionsScreen() override = default;

    // The fade and the shortcuts, then the check box follows the display mode.
    void Update(float dt) override;
    void GotFocus() override;
    void LostFocus() override;

    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;
    void OnTriggerChanged(const std::string& name, bool on) override;
    void OnSliderChanged(const std::string& sliderName, float value) override;
    void OnAnswer(const std::string& questionId, bool yes) override;

    // The volumes and the display mode into the fields, from the audio manager
    // (the ini file without one) and the engine.
    void ReadSettings();
    // The fields into the ini file: "SoundVolume", "MusicVolume", "Windowed".
    void SaveSettings();

    float GetSoundVolume() const { return soundVolume; }
    float GetMusicVolume() const { return musicVolume; }
    bool GetFullScreen() const { return fullScreen; }
    // Children by name: "Window"; in it the tabs "OPTIONS" and "HIGHSCORES",
    // the panels "OptionsPanel" (the sliders "Music" and "Sound", the check box
    // "SCREEN") and "HighscorePanel", and the buttons "OK" and "EXIT".

private:
    void BuildSliders();
    void CreateHighscorePanel();
    void CreateMenuButtons(const XMLDocument::XMLElement& element);
    void CreateTabs(const XMLDocument::XMLElement& element);
    void BuildOptionsTab(const XMLDocument::XMLElement& element);
    void BuildHighscoreRows();
    void AddBackdrop();
    void HidePanels();
    // Shows one tab's panel: the chosen tab is held down, the other one free.
    void SelectTab(ButtonExEntity* chosen, ButtonExEntity* other, ZOLTFramework::CEntity* panel);
    ButtonExEntity* MakeButton(const XMLDocument::XMLElement& element, ZOLTFramework::CEntity* parent);
    void MakeSlider(const std::string& sliderName, float sx, float sy, float value);
    void Leave();
    bool CurrentFullScreen() const;

    ZOLTFramework::CWindowEntity* window = nullptr;
    ButtonExEntity* soundDecrease = nullptr;
    ButtonExEntity* musicDecrease = nullptr;
    ButtonExEntity* soundIncrease = nullptr;
    ButtonExEntity* musicIncrease = nullptr;
    ZOLTFramework::CEntity* optionsPanel = nullptr;
    ZOLTFramework::CEntity* highscorePanel = nullptr;
    TriggerEntity* trigger = nullptr;
    ButtonExEntity* optionsTab = nullptr;
    ButtonExEntity* highscoreTab = nullptr;
    float soundVolume = 0.5f;
    float musicVolume = 0.5f;
    bool fullScreen = false;
    ZOLTFramework::CQuestionListener* owner;
    bool highscoresBuilt = false;
    bool backdropAdded = false;
};
