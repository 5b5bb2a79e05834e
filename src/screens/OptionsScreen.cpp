#include "screens/OptionsScreen.h"
#include "scene/LevelEvents.h"

#include "engine/AudioManager.h"
#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CSliderEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/ScreenLayers.h"
#include "graphics/FontFit.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/TextEntity.h"
#include "entities/widgets/TriggerEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"
#include "profiles/PlayerManager.h"
#include "screens/HighScoreTable.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CSliderEntity;
using ZOLTFramework::CSpriteEntity;
using ZOLTFramework::CWindowEntity;
namespace Services = ZOLTFramework::Services;

namespace {

const char* const kSection = "SYSTEM";
const float kExitQuestionDepth = 90000.0f;
const float kDefaultVolume = 0.5f;
const float kSelectedTabDepth = 3.0f;
const float kOtherTabDepth = 2.0f;
const float kOtherTabCaptionOpacity = 0.9f;
const float kRowTop = -150.0f;
const float kRowStep = 30.0f;
// A high-score name ends 10 before its score's column (x -150 to 70).
const float kNameWidth = 210.0f;

void SetCaptionOpacity(ButtonExEntity* button, float value) {
    if (!button) return;
    if (TextEntity* caption = button->GetCaption()) caption->SetOpacity(value);
}

}  // namespace

OptionsScreen::OptionsScreen(const std::string& file, ZOLTFramework::CQuestionListener* screenOwner)
    : CScreenEntity(file), owner(screenOwner) {
    playOpenSound = true;

    window = SpawnChild<CWindowEntity>();
    window->SetName("Window");
    window->SetSpriteName("InGameMenuWindow");
    window->SetPosXY(400.0f, 280.0f);
    window->SetDepth(-5.0f);
    window->SetSizeCentered(0.0f, 0.0f);

    XMLDocument document("screen");
    const bool loaded = document.Load(file);
    if (!loaded) HtmlLog::Instance()->Error("Options screen cannot be loaded: " + file);

    ReadSettings();
    BuildSliders();
    CreateHighscorePanel();
    if (loaded) {
        for (const auto& child : document.GetRoot()->GetChildren()) {
            if (!child) continue;
            CreateMenuButtons(*child);
            CreateTabs(*child);
            BuildOptionsTab(*child);
        }
    }

    if (EntityManager* manager = Manager()) manager->OpenScreen(this);

    // The options tab starts selected, pressed on the player's behalf.
    if (optionsTab)
        optionsTab->OnLeftButton(true);
    else
        OnButtonPress("OPTIONS");

    SetOpacity(0.0f);
    Open();
}

bool OptionsScreen::CurrentFullScreen() const {
    HGE* hge = Services::Hge(engine);
    return hge ? !hge->System_GetStateBool(HGE_WINDOWED) : false;
}

void OptionsScreen::ReadSettings() {
    ZOLTFramework::CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr;
    HGE* hge = Services::Hge(engine);
    if (audio) {
        soundVolume = audio->GetSoundVolume();
        musicVolume = audio->GetMusicVolume();
    } else if (hge) {
        soundVolume = hge->Ini_GetFloat(kSection, "SoundVolume", kDefaultVolume);
        musicVolume = hge->Ini_GetFloat(kSection, "MusicVolume", kDefaultVolume);
    }
    fullScreen = CurrentFullScreen();
}

void OptionsScreen::SaveSettings() {
    HGE* hge = Services::Hge(engine);
    if (!hge) return;
    hge->Ini_SetFloat(kSection, "SoundVolume", soundVolume);
    hge->Ini_SetFloat(kSection, "MusicVolume", musicVolume);
    hge->Ini_SetInt(kSection, "Windowed", fullScreen ? 0 : 1);
}

void OptionsScreen::MakeSlider(const std::string& sliderName, float sx, float sy, float value) {
    CSliderEntity* slider = optionsPanel->SpawnChild<CSliderEntity>(sliderName, this);
    slider->SetPosXY(sx, sy);
    slider->SetSpriteName("InGameSliderBackground");
    if (hgeSprite* track = Services::Sprite(engine, "InGameSliderBackground"))
        slider->SetSizeCentered(track->GetWidth() - 20.0f, track->GetHeight());
    slider->SetCursorSpriteName("InGameSlider");
    if (hgeSprite* handle = Services::Sprite(engine, "InGameSlider"))
        slider->SetCursorSizeCentered(handle->GetWidth(), handle->GetHeight());
    slider->SetValue(value);
}

void OptionsScreen::BuildSliders() {
    optionsPanel = window->SpawnChild<CEntity>();
    optionsPanel->SetName("OptionsPanel");
    optionsPanel->SetDepth(1.0f);

    trigger = optionsPanel->SpawnChild<TriggerEntity>("SCREEN", this, this);
    trigger->SetPosXY(100.0f, 30.0f);
    trigger->SetDepth(1.0f);
    if (hgeSprite* look = Services::Sprite(engine, "InGameTrigger"))
        trigger->SetSprite("InGameTrigger", 0.0f, 0.0f, look->GetWidth(), look->GetHeight() / 3.0f);
    trigger->SetSizeCentered(30.0f, 40.0f);
    trigger->SetState(fullScreen);

    CSpriteEntity* frame = optionsPanel->SpawnChild<CSpriteEntity>();
    frame->SetPosXY(100.0f, 30.0f);
    if (hgeSprite* look = Services::Sprite(engine, "InGameRect"))
        frame->SetSpriteRect("InGameRect", 0.0f, 0.0f, look->GetWidth(), look->GetHeight());

    MakeSlider("Music", 15.0f, -43.0f, musicVolume);
    MakeSlider("Sound", 15.0f, -110.0f, soundVolume);
}

void OptionsScreen::CreateHighscorePanel() {
    highscorePanel = window->SpawnChild<CEntity>();
    highscorePanel->SetName("HighscorePanel");
    highscorePanel->SetDepth(1.0f);
}

ButtonExEntity* OptionsScreen::MakeButton(const XMLDocument::XMLElement& element, CEntity* parent) {
    return parent->SpawnChild<ButtonExEntity>(element, this);
}

void OptionsScreen::CreateMenuButtons(const XMLDocument::XMLElement& element) {
    const std::string& id = element.GetName();
    if (id == "button_ok") {
        MakeButton(element, window)->SetName("OK");
        AddShortcut(HGEK_ENTER, "OK");
    } else if (id == "button_resume") {
        ButtonExEntity* resume = MakeButton(element, window);
        resume->SetName("OK");
        AddShortcut(HGEK_ESCAPE, "OK");
        SetCaptionOpacity(resume, 0.9f);
    } else if (id == "button_exit") {
        MakeButton(element, window)->SetName("EXIT");
        AddBackdrop();
    }
}

void OptionsScreen::AddBackdrop() {
    if (backdropAdded) return;
    backdropAdded = true;
    // Darkens the whole view behind the window.
    CSpriteEntity* backdrop = SpawnChild<CSpriteEntity>();
    backdrop->SetSprite("");
    backdrop->SetDepth(-10.0f);
    backdrop->SetScaleX(800.0f);
    backdrop->SetScaleY(600.0f);
    backdrop->SetColor(0x99000000);
}

void OptionsScreen::CreateTabs(const XMLDocument::XMLElement& element) {
    if (element.GetName() != "tab_highscores") return;
    highscoreTab = MakeButton(element, window);
    highscoreTab->SetName("HIGHSCORES");
    BuildHighscoreRows();
}

void OptionsScreen::BuildHighscoreRows() {
    if (highscoresBuilt) return;
    highscoresBuilt = true;
    hgeFont* font = FontRegistry::GetFont("Default14");
    const std::vector<HighScoreTable::Row> rows = HighScoreTable::Build(PlayerManager::Instance()->Players);
    float rowY = kRowTop;
    for (const HighScoreTable::Row& row : rows) {
        TextEntity* label = highscorePanel->SpawnChild<TextEntity>("HighscoreName", nullptr);
        TextEntity* total = highscorePanel->SpawnChild<TextEntity>("HighscoreTotal", nullptr);
        // A long name stops short of its score.
        label->SetText(font ? FitLine(*font, row.label, kNameWidth) : row.label);
        total->SetText(row.total);
        label->SetPosXY(-150.0f, rowY);
        total->SetPosXY(70.0f, rowY);
        for (TextEntity* text : {label, total}) {
            text->SetFont(font);
            text->SetAlignment(0);
        }
        rowY += kRowStep;
    }
}

void OptionsScreen::BuildOptionsTab(const XMLDocument::XMLElement& element) {
    const std::string& id = element.GetName();
    if (id == "tab_options") {
        optionsTab = MakeButton(element, window);
        optionsTab->SetName("OPTIONS");
    } else if (id == "button_sound_decrease") {
        soundDecrease = MakeButton(element, optionsPanel);
    } else if (id == "button_sound_increase") {
        soundIncrease = MakeButton(element, optionsPanel);
    } else if (id == "button_music_decrease") {
        musicDecrease = MakeButton(element, optionsPanel);
    } else if (id == "button_music_increase") {
        musicIncrease = MakeButton(element, optionsPanel);
    } else if (id == "sound_volume_caption" || id == "music_volume_caption" || id == "fullscreen_caption") {
        optionsPanel->SpawnChild<TextEntity>(element, nullptr);
    }
}

void OptionsScreen::HidePanels() {
    for (CEntity* panel : {optionsPanel, highscorePanel}) {
        if (!panel) continue;
        panel->Hide();
        panel->Pause();
    }
}

void OptionsScreen::SelectTab(ButtonExEntity* chosen, ButtonExEntity* other, CEntity* panel) {
    HidePanels();
    if (chosen) {
        chosen->Pause();
        chosen->SetDepth(kSelectedTabDepth);
        SetCaptionOpacity(chosen, 1.0f);
    }
    if (other) {
        other->Resume();
        other->SetDepth(kOtherTabDepth);
        SetCaptionOpacity(other, kOtherTabCaptionOpacity);
    }
    if (panel) {
        panel->Show();
        panel->Resume();
    }
}

void OptionsScreen::OnButtonPress(const std::string& message) {
    Services::PlaySound(engine, "OnButtonPress");
    if (message == "OK") {
        if (closing || IsDead()) return;
        ZOLTFramework::CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr;
        if (audio) {
            soundVolume = audio->GetSoundVolume();
            musicVolume = audio->GetMusicVolume();
        }
        if (trigger) fullScreen = trigger->IsOn();
        SaveSettings();
        CloseAndDestroy();
        if (owner) owner->OnQuestion(LevelEvents::kResume, "");
        Leave();
    } else if (message == "EXIT") {
        EntityManager* manager = Manager();
        if (!manager || closing || IsDead()) return;
        Dialog* question = manager->OpenScreen<Dialog>("EXIT_TO_MENU", "data/Screens/DialogYesNo.xml", this);
        question->SetLayer(ZOLTFramework::ScreenLayers::kExitQuestion);
        question->SetDepth(kExitQuestionDepth);
        question->SetText("Q_QUIT");
    } else if (message == "OPTIONS") {
        SelectTab(optionsTab, highscoreTab, optionsPanel);
    } else if (message == "HIGHSCORES") {
        SelectTab(highscoreTab, optionsTab, highscorePanel);
    }
}

void OptionsScreen::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "MouseOver"); }

void OptionsScreen::OnAnswer(const std::string& questionId, bool yes) {
    if (questionId != "EXIT_TO_MENU" || !yes || IsDead()) return;
    // The settings as read when the window opened (or as "OK" stored them).
    SaveSettings();
    Kill();
    if (owner) owner->OnQuestion(LevelEvents::kExitToMenu, "");
    Leave();
}

void OptionsScreen::Leave() {
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}

void OptionsScreen::OnSliderChanged(const std::string& sliderName, float value) {
    ZOLTFramework::CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr;
    if (!audio) return;
    if (sliderName == "Music") {
        if (value != audio->GetMusicVolume()) audio->SetMusicVolume(value, false);
    } else if (sliderName == "Sound") {
        if (value != audio->GetSoundVolume()) audio->SetSoundVolume(value);
    }
}

void OptionsScreen::OnTriggerChanged(const std::string& name, bool on) {
    if (on == CurrentFullScreen()) return;
    if (HGE* hge = Services::Hge(engine)) hge->System_SetStateBool(HGE_WINDOWED, !on);
}

void OptionsScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    // The check box always shows the real display mode.
    if (trigger) trigger->SetState(CurrentFullScreen());
}

void OptionsScreen::GotFocus() {
    CScreenEntity::GotFocus();
    if (window) window->Resume();
}

void OptionsScreen::LostFocus() {
    CScreenEntity::LostFocus();
    if (window) window->Pause();
}
