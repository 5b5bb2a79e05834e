#include "screens/PlayersScreen.h"

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/TextEntity.h"
#include "profiles/PlayerManager.h"
#include "screens/CPNameScreen.h"

namespace ZOLTFramework {

namespace {
const float kDialogLayer = 15.0f;
const float kDeleteCaptionScale = 0.7f;
// Rows in alpha 150, RGB (130, 60, 20).
const DWORD kListColor = 0x96823C14;
}  // namespace

PlayersScreen::PlayersScreen(const std::string& screenName) : CScreenEntity(screenName) {
    playOpenSound = true;

    window = SpawnChild<CWindowEntity>();
    window->SetName("Window");
    window->SetPosXY(400.0f, 280.0f);
    window->SetDepth(-1.0f);
    window->SetSpriteName("Window05");
    window->SetSizeCentered(0.0f, 0.0f);

    list = window->SpawnChild<CListboxEntity>("PL", this);
    list->SetPosXY(30.0f, -10.0f);
    list->SetDepth(1.0f);
    list->SetRectCentered(230.0f, 350.0f);
    list->SetFontName("Main1");
    list->SetHighlightColor(kListColor);
    FillList();

    BuildWidgets(kScreenFile);

    if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    SetOpacity(0.0f);
    Open();
}

void PlayersScreen::FillList() {
    PlayerManager* players = PlayerManager::Instance();
    for (Player* player : players->Players) {
        if (!player) continue;
        list->AddItem(player->Name, 0);
        if (player->IsActive) list->SetSelected(list->FindItem(player->Name));
    }
}

ButtonExEntity* PlayersScreen::MakeButton(const XMLDocument::XMLElement& element, const char* message) {
    ButtonExEntity* button = window->SpawnChild<ButtonExEntity>(element, this);
    // The screen acts on these messages whatever the file says.
    button->SetName(message);
    return button;
}

void PlayersScreen::BuildWidgets(const std::string& file) {
    XMLDocument document("screen");
    if (!document.Load(file)) {
        HtmlLog::Instance()->Error("Players screen cannot be loaded: " + file);
        return;
    }
    for (const auto& child : document.GetRoot()->GetChildren()) {
        if (!child) continue;
        const std::string& id = child->GetName();
        if (id == "button_ok") {
            okButton = MakeButton(*child, "OK");
            okButton->SetHotKey(HGEK_ENTER);
        } else if (id == "button_new") {
            newButton = MakeButton(*child, "NP");
        } else if (id == "button_delete") {
            deleteButton = MakeButton(*child, "DL");
            if (TextEntity* caption = deleteButton->GetCaption()) caption->SetTextScale(kDeleteCaptionScale);
        } else if (id == "window_caption") {
            window->SpawnChild<TextEntity>(*child, nullptr);
        }
    }
}

void PlayersScreen::GotFocus() {
    CScreenEntity::GotFocus();
    if (window) window->Resume();
    if (deleteButton) deleteButton->Resume();
    if (newButton) newButton->Resume();
    if (okButton) okButton->Resume();
}

void PlayersScreen::LostFocus() {
    CScreenEntity::LostFocus();
    if (window) window->Pause();
    if (deleteButton) deleteButton->Pause();
    if (newButton) newButton->Pause();
    if (okButton) okButton->Pause();
}

void PlayersScreen::OnButtonPress(const std::string& message) {
    Services::PlaySound(engine, "OnButtonPress");
    EntityManager* manager = Manager();
    if (message == "OK") {
        if (list->GetSelected() < 0) return;
        PlayerManager::Instance()->SetActivePlayer(list->GetSelectedText());
        Kill();
        if (manager) manager->RemoveScreen(this);
    } else if (message == "DL") {
        if (list->GetSelected() < 0 || !manager) return;
        Dialog* question = manager->OpenScreen<Dialog>("DL", kQuestionFile, this);
        question->SetLayer(kDialogLayer);
        question->SetText("Q_DELETE");
    } else if (message == "NP") {
        if (list->GetItemCount() >= kMaxPlayers || !manager) return;
        CPNameScreen* entry = manager->OpenScreen<CPNameScreen>("NP", kQuestionFile, this);
        entry->SetLayer(kDialogLayer);
    }
}

void PlayersScreen::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "MouseOver"); }

void PlayersScreen::OnListboxSelect(const std::string& listboxName, const std::string& text) {
    Services::PlaySound(engine, "OnButtonPress");
}

void PlayersScreen::OnQuestion(const std::string& name, const std::string& value) {
    if (name != "NP") return;
    if (list->FindItem(value) >= 0) return;
    // A row only for a player the manager really has.
    if (!PlayerManager::Instance()->AddPlayer(value)) return;
    list->AddItem(value, 0);
    list->SetSelected(list->GetItemCount() - 1);
}

void PlayersScreen::OnAnswer(const std::string& questionId, bool yes) {
    if (questionId != "DL" || !yes) return;
    const int selected = list->GetSelected();
    if (selected < 0) return;
    PlayerManager::Instance()->RemovePlayer(list->GetSelectedText());
    list->RemoveItem(selected);
}

}  // namespace ZOLTFramework
