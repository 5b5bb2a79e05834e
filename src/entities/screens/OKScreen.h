// The message window: a Dialog that answers yes to its owner whatever is
// pressed (either button, Enter or Escape), once, and closes.
#pragma once

#include "entities/screens/Dialog.h"

class OKScreen : public Dialog {
public:
    OKScreen(const std::string& screenName, const std::string& layoutFile, ZOLTFramework::CQuestionListener* owner);

    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;
};
