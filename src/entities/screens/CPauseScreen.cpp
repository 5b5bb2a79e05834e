#include "entities/screens/CPauseScreen.h"

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/CGUIEntity.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityServices.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

namespace ZOLTFramework {

namespace {
const DWORD kShadeColor = 0x99000000;
const DWORD kTextColor = 0xFFFF0000;
}  // namespace

CPauseScreen::CPauseScreen(CQuestionListener* questionOwner) : CScreenEntity("PauseScreen"), owner(questionOwner) {
    EntityManager* manager = Manager();
    if (manager) manager->OpenScreen(this);
    SetOpacity(0.0f);

    // A translucent shade over the whole screen (a 1 x 1 sprite stretched by
    // the entity's scale from the top-left corner).
    shade = SpawnChild<CSpriteEntity>();
    shade->SetName("Shade");
    shade->SetSprite("");
    shade->SetDepth(-10.0f);
    shade->scaleX = 800.0f;
    shade->scaleY = 600.0f;
    shade->OnScale();
    shade->SetColor(kShadeColor);

    // Catches the mouse over the whole screen: nothing below is hovered or clicked.
    catcher = SpawnChild<CGUIEntity>();
    catcher->SetName("MouseCatcher");
    catcher->SetRect(0.0f, 0.0f, 800.0f, 600.0f);

    hidden = false;
    UpdateRegistration();
    // The second entry: the screen is the top, so this push runs its own
    // LostFocus (which marks it closing and destroy-on-close) and GotFocus; the
    // creator's Open cancels the closing, the destroy mark stays.
    if (manager) manager->PushScreen(this);
}

CPauseScreen::~CPauseScreen() = default;

void CPauseScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (IsDead()) {
        // Its fade-out has ended. When another screen covered it, nobody has
        // heard that the pause is over yet.
        AnswerOnce();
        return;
    }
    if (covered || answered) return;
    HGE* hge = Services::Hge(engine);
    if (!hge || hge->Input_GetKey() == 0) return;

    EntityManager* manager = Manager();
    if (manager) manager->RemoveScreen(this);
    AnswerOnce();
    CloseAndDestroy();
}

void CPauseScreen::AnswerOnce() {
    if (answered) return;
    answered = true;
    if (owner) owner->OnAnswer("SetPaused", false);
}

void CPauseScreen::Render() {
    hgeFont* font = FontRegistry::GetFont("Default");
    if (!font) return;
    bool found = false;
    const std::string text = Services::Text(engine, "PAUSE", &found);
    if (!found) return;
    const DWORD previous = font->GetColor();
    font->SetColor(Services::FadeColor(kTextColor, GetAbsoluteOpacity()));
    font->Render(400.0f, 250.0f, HGETEXT_CENTER, text.c_str());
    font->SetColor(previous);
}

void CPauseScreen::GotFocus() {
    CScreenEntity::GotFocus();
    covered = false;
}

void CPauseScreen::LostFocus() {
    CScreenEntity::LostFocus();
    covered = true;
    CloseAndDestroy();
}

}  // namespace ZOLTFramework
