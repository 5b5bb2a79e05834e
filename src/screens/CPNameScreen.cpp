#include "screens/CPNameScreen.h"

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/core/EntityServices.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "screens/NameInput.h"

namespace Services = ZOLTFramework::Services;

namespace {
const char* const kFontName = "Default14";
// The name line lies this far above the window's centre.
const float kNameLineOffset = 43.0f;
}  // namespace

CPNameScreen::CPNameScreen(const std::string& id, const std::string& dialogFile,
                           ZOLTFramework::CQuestionListener* listener)
    : Dialog(id, dialogFile, listener) {
    playOpenSound = true;
}

void CPNameScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    // Typing goes to the focused, unanswered dialog only.
    if (IsFinished() || !HasFocus() || IsDead()) return;
    HGE* hge = Services::Hge(engine);
    if (!hge) return;
    NameInput::Apply(typedName, hge->Input_GetChar());
}

void CPNameScreen::Render() {
    hgeFont* font = FontRegistry::GetFont(kFontName);
    if (!font) return;
    const float wx = window ? window->GetAbsoluteX() : GetAbsoluteX();
    const float wy = window ? window->GetAbsoluteY() : GetAbsoluteY();
    const DWORD previous = font->GetColor();
    font->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
    bool found = false;
    const std::string prompt = Services::Text(engine, "ENTERNAME", &found);
    if (found) font->Render(wx, wy - textOffsetY, HGETEXT_CENTER, prompt.c_str());
    // The name is the player's text, never a format.
    const std::string line = typedName + "|";
    font->Render(wx, wy - kNameLineOffset, HGETEXT_CENTER, line.c_str());
    font->SetColor(previous);
}

void CPNameScreen::OnButtonPress(const std::string& message) {
    if (IsFinished()) return;
    Services::PlaySound(engine, "OnButtonPress");
    if (message == "YES") {
        if (typedName.empty()) return;
        if (!BeginFinish()) return;
        // The answer arrives before the dialog goes.
        if (owner) owner->OnQuestion(GetName(), typedName);
        Leave();
    } else if (message == "NO") {
        if (!BeginFinish()) return;
        Leave();
    }
}

void CPNameScreen::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "MouseOver"); }

void CPNameScreen::Leave() {
    Kill();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}
