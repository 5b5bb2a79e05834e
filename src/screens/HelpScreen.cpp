#include "screens/HelpScreen.h"

#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"

namespace Services = ZOLTFramework::Services;

HelpScreen::HelpScreen(const std::string& screenName, ZOLTFramework::CQuestionListener* owner)
    : CScreenEntity(screenName), listener(owner) {
    SetPlayOpenSound(true);
    window = SpawnChild<ZOLTFramework::CWindowEntity>();
    window->SetSizeCentered(0.0f, 0.0f);
    window->SetSpriteName("InGameMenuWindow");
    window->SetPosXY(400.0f, 280.0f);
    window->SetDepth(0.0f);

    auto* exitButton = window->SpawnChild<ZOLTFramework::CButtonEntity>("Exit", this);
    if (hgeSprite* yes = Services::Sprite(engine, "ButtonYes"))
        exitButton->SetSprite("ButtonYes", 0.0f, 0.0f, yes->GetWidth(), yes->GetHeight() / 3.0f);
    else
        HtmlLog::Instance()->Error("Help window: no sprite \"ButtonYes\"; its button is not drawn.");
    exitButton->SetPosXY(0.0f, 200.0f);
    exitButton->SetDepth(2.0f);
    exitButton->SetSizeCentered(51.0f, 44.0f);
    exitButton->SetHotKey(13);

    text = window->SpawnChild<TextEntity>("Text", nullptr);
    text->SetFont(FontRegistry::GetFont("Default14"));
    text->SetAlignment(0);
    text->SetPosXY(-120.0f, -170.0f);
    text->SetBox(300.0f, 230.0f);
    window->OnMove();

    SetOpacity(0.0f);
    Open();
}

void HelpScreen::SetTextKey(const std::string& key) {
    const std::string value = Services::Text(engine, key);
    if (value.size() > kLongText) text->SetSpacing(kLongTextSpacing);
    text->SetText(value);
}

void HelpScreen::OnButtonPress(const std::string& name) {
    Services::PlaySound(engine, "OnButtonPress");
    // A closing window answers once, whatever else arrives in its last frames.
    if (name != "Exit" || answered) return;
    answered = true;
    Close();
    if (listener) listener->OnAnswer("SetPaused", false);
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}

void HelpScreen::OnButtonOver(const std::string&) { Services::PlaySound(engine, "MouseOver"); }
