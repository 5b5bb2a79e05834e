#include "entities/screens/OKScreen.h"

#include "entities/core/EntityServices.h"

namespace Services = ZOLTFramework::Services;

OKScreen::OKScreen(const std::string& screenName, const std::string& layoutFile,
                   ZOLTFramework::CQuestionListener* owner)
    : Dialog(screenName, layoutFile, owner) {}

void OKScreen::OnButtonPress(const std::string& message) {
    if (!BeginFinish()) return;
    Services::PlaySound(engine, "OnButtonPress");
    Answer(true);
    CloseDialog();
}

void OKScreen::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "MouseOver"); }
