#include "screens/CMenuScreen.h"

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/ScreenFactory.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontFit.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuBGScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/EndingScreen.h"
#include "screens/NewGame.h"
#include "screens/OptionsScreen.h"
#include "screens/PlayersScreen.h"
#include "screens/WelcomeText.h"

namespace ZOLTFramework {

namespace {

const float kQuestionLayer = 15.0f;
const float kQuestionDepth = 70000.0f;
const float kOptionsLayer = 15000.0f;
const float kOptionsDepth = 50000.0f;
const float kPlayersLayer = 10.0f;
const float kSelectCaptionOpacity = 0.8f;
// The welcome line stays inside the screen, 20 from either side.
const float kWelcomeWidth = 760.0f;

}  // namespace

CScreenEntity* CMenuScreen::OpenByKind(const char* kind, const std::string& argument) {
    // Unregistered kinds are an expected state here (the menu's own Warning
    // row says what is missing): the factory is asked only for known ones.
    if (!ScreenFactory::IsRegistered(kind)) return nullptr;
    CEntity* screen = ScreenFactory::Open(Manager(), kind, argument);
    if (auto* made = dynamic_cast<CScreenEntity*>(screen)) return made;
    if (screen) screen->Kill();
    return nullptr;
}

CMenuScreen::CMenuScreen(const std::string& screenName) : CScreenEntity(screenName) {
    MakeBackground();
    LoadButtons(kScreenFile);
    AddShortcut(HGEK_ESCAPE, "Exit");
    AddShortcut(HGEK_P, "SelectPlayer");

    lostFocus = false;
    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    // From now on closing the window asks before quitting.
    g_bConfirmExit = true;

    SetDepth(-1.0f);
    SetOpacity(0.0f);
    Open();
    SetLayer(1.0f);
}

void CMenuScreen::MakeBackground() {
    // The background is a screen of its own beside the menu, not a part of it:
    // without a manager there is none.
    EntityManager* manager = Manager();
    if (!manager) {
        background = nullptr;
        return;
    }
    background = manager->Spawn<CMenuBGScreen>("MenuBGScreen");
    backgroundAlive = background->GetLifeToken();
    background->SetDepth(-1.0f);
}

CMenuBGScreen* CMenuScreen::GetBackground() const {
    if (backgroundAlive.expired() || !background || background->IsDead()) return nullptr;
    return background;
}

void CMenuScreen::LoadButtons(const std::string& file) {
    XMLDocument document("screen");
    if (!document.Load(file)) {
        HtmlLog::Instance()->Error("Menu screen cannot be loaded: " + file);
        return;
    }
    struct Slot {
        const char* element;
        const char* message;
        ButtonExEntity** member;
    };
    const Slot slots[] = {{"button_play", "Play", &playButton},
                          {"button_credits", "Credits", &creditsButton},
                          {"button_options", "Options", &optionsButton},
                          {"button_exit", "Exit", &exitButton},
                          {"button_select", "SelectPlayer", &selectButton}};
    for (const auto& child : document.GetRoot()->GetChildren()) {
        if (!child) continue;
        for (const Slot& slot : slots) {
            if (child->GetName() != slot.element) continue;
            ButtonExEntity* button = SpawnChild<ButtonExEntity>(*child, this);
            button->SetName(slot.message);
            *slot.member = button;
        }
    }
    for (const Slot& slot : slots)
        if (!*slot.member) HtmlLog::Instance()->Error(std::string("Menu screen has no ") + slot.element);
    if (selectButton)
        if (TextEntity* caption = selectButton->GetCaption()) caption->SetOpacity(kSelectCaptionOpacity);
}

template <class F>
void CMenuScreen::ForEachButton(F f) const {
    for (ButtonExEntity* button : {playButton, optionsButton, exitButton, creditsButton, selectButton})
        if (button) f(button);
}

bool CMenuScreen::BackgroundOpaque() const {
    CMenuBGScreen* bg = GetBackground();
    return bg && bg->GetAbsoluteOpacity() >= 1.0f;
}

void CMenuScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (IsPausedInChain() || IsDead()) return;

    PlayerManager* players = PlayerManager::Instance();
    if (!players->GetActivePlayer() && !lostFocus && BackgroundOpaque()) OpenPlayerEntry();

    const DWORD color = Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity());
    ForEachButton([color](ButtonExEntity* button) {
        if (TextEntity* caption = button->GetCaption()) caption->SetColor(color);
    });
}

void CMenuScreen::OpenPlayerEntry() {
    EntityManager* manager = Manager();
    if (!manager) return;
    if (PlayerManager::Instance()->Players.size() >= size_t(kMaxPlayers)) {
        // No slot left for a new name: the player picks one of the eight.
        PlayersScreen* list = manager->OpenScreen<PlayersScreen>("PlayersScreen");
        list->SetLayer(kPlayersLayer);
        return;
    }
    CPNameScreen* entry = manager->OpenScreen<CPNameScreen>("NP", kYesNoFile, this);
    entry->SetLayer(kQuestionLayer);
}

void CMenuScreen::Render() {
    Player* active = PlayerManager::Instance()->GetActivePlayer();
    if (!active) return;
    hgeFont* font = FontRegistry::GetFont("Default1");
    if (!font) return;
    bool found = false;
    const std::string entry = Services::Text(engine, "WELCOME", &found);
    const std::string greeting = found ? WelcomeText::Format(entry, active->Name) : active->Name;
    const DWORD previous = font->GetColor();
    font->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
    font->Render(400.0f, 15.0f, HGETEXT_CENTER, FitLine(*font, greeting, kWelcomeWidth).c_str());
    font->SetColor(previous);
}

void CMenuScreen::LostFocus() {
    CScreenEntity::LostFocus();
    ForEachButton([](ButtonExEntity* button) { button->Pause(); });
    lostFocus = true;
}

void CMenuScreen::GotFocus() {
    CScreenEntity::GotFocus();
    ForEachButton([](ButtonExEntity* button) { button->Resume(); });
    lostFocus = false;
    if (IsHiddenInChain()) Open();
}

void CMenuScreen::AskQuestion(const std::string& id, const std::string& file, const std::string& textKey) {
    EntityManager* manager = Manager();
    if (!manager) return;
    Dialog* question = manager->OpenScreen<Dialog>(id, file, this);
    question->SetLayer(kQuestionLayer);
    question->SetDepth(kQuestionDepth);
    question->SetText(textKey);
}

void CMenuScreen::OnButtonPress(const std::string& message) {
    Services::PlaySound(engine, "OnButtonPress");
    EntityManager* manager = Manager();
    if (message == "Play") {
        PlayerManager* players = PlayerManager::Instance();
        if (players->Players.empty()) return;
        Player* active = players->GetActivePlayer();
        if (!active) return;
        if (!active->GameInProgress)
            OnAnswer("CONT", false);
        else
            AskQuestion("CONT", kYesNoFile, "Q_CONTINUE");
    } else if (message == "Options") {
        if (!manager) return;
        OptionsScreen* options = manager->OpenScreen<OptionsScreen>(kOptionsFile, this);
        options->SetLayer(kOptionsLayer);
        options->SetDepth(kOptionsDepth);
    } else if (message == "SelectPlayer") {
        if (!manager) return;
        PlayersScreen* list = manager->OpenScreen<PlayersScreen>("PlayersScreen");
        list->SetLayer(kPlayersLayer);
    } else if (message == "Credits") {
        if (!manager) return;
        CreditsScreen* credits = manager->OpenScreen<CreditsScreen>("Credits", kCreditsFile);
        credits->SetLayer(kQuestionLayer);
        credits->SetDepth(kQuestionDepth);
    } else if (message == "Exit") {
        // With the confirm-exit switch on, the application asks first.
        if (g_pEngine && g_pEngine->OnExit()) g_pEngine->SetQuit(true);
    }
}

void CMenuScreen::OnButtonOver(const std::string& name) {
    Services::PlaySound(engine, "MouseOver");
    if (name == "SelectPlayer" && selectButton)
        if (TextEntity* caption = selectButton->GetCaption()) caption->SetOpacity(1.0f);
}

void CMenuScreen::OnButtonLeave(const std::string& name) {
    if (name == "SelectPlayer" && selectButton)
        if (TextEntity* caption = selectButton->GetCaption()) caption->SetOpacity(kSelectCaptionOpacity);
}

void CMenuScreen::OnQuestion(const std::string& name, const std::string& value) {
    if (name != "NP") return;
    PlayerManager* players = PlayerManager::Instance();
    if (players->AddPlayer(value)) players->SetActivePlayer(value);
}

void CMenuScreen::StopAquarium() {
    PlayerManager* players = PlayerManager::Instance();
    players->Timer->Clear();
    players->KillEntities();
}

void CMenuScreen::RestartBackground() {
    if (CMenuBGScreen* old = GetBackground()) old->Kill();
    MakeBackground();
    // The menu is already in view: so is its new background.
    if (background) background->SetOpacity(1.0f);
}

void CMenuScreen::HandOver(CScreenEntity* next) {
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
    CloseAndDestroy();
    next->SetOpacity(0.0f);
    next->Open();
    if (CMenuBGScreen* bg = GetBackground()) bg->Kill();
}

void CMenuScreen::OnAnswer(const std::string& questionId, bool yes) {
    if (questionId == "CONT") {
        StopAquarium();
        if (yes) {
            // A game quit after the story's last find goes on with its end.
            Player* active = PlayerManager::Instance()->GetActivePlayer();
            EntityManager* manager = Manager();
            if (active && active->EndingPending && manager) {
                HandOver(manager->OpenScreen<EndingScreen>(active->EndingPages));
                return;
            }
            CScreenEntity* map = OpenByKind(ScreenFactory::kGlobalMap, kGlobalMapFile);
            if (!map) {
                HtmlLog::Instance()->Warning("Main menu: the global map is not available; staying in the menu");
                RestartBackground();
                return;
            }
            HandOver(map);
        } else {
            AskQuestion("MODE", kModeFile, "CHOOSE_PLAY_MODE");
        }
    } else if (questionId == "MODE") {
        Player* active = PlayerManager::Instance()->GetActivePlayer();
        if (!active) return;
        // Yes plays against the clock, no is relaxed.
        NewGame::ResetPlayer(*active, !yes);
        CScreenEntity* intro = OpenByKind(ScreenFactory::kIntro, "IntroScreen");
        if (!intro) {
            HtmlLog::Instance()->Warning("Main menu: the intro is not available; staying in the menu");
            RestartBackground();
            return;
        }
        HandOver(intro);
    }
}

}  // namespace ZOLTFramework
