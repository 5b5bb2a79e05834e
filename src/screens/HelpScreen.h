// The help window of a level or a mini-game: one text of the text table in
// a window and a confirm button (also Enter). Confirming answers the owner
// ("SetPaused", false) once and takes the window off the screen stack; it
// fades out and stays a child of the level until the level goes.
//
// The level opens it through the entity manager (OpenScreen), attaches it and
// sets its text key and layer. Its window's children: the close button "Exit"
// and the text "Text".
#pragma once

#include <string>

#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"

class TextEntity;

namespace ZOLTFramework {
class CButtonEntity;
class CWindowEntity;
}  // namespace ZOLTFramework

class HelpScreen : public ZOLTFramework::CScreenEntity, public ZOLTFramework::CButtonListener {
public:
    // Texts longer than this many bytes get a tighter line spacing.
    static constexpr size_t kLongText = 350;
    static constexpr float kLongTextSpacing = 0.8f;

    HelpScreen(const std::string& screenName, ZOLTFramework::CQuestionListener* owner);
    ~HelpScreen() override = default;

    void Render() override {}
    void OnButtonPress(const std::string& name) override;
    void OnButtonOver(const std::string& name) override;
    void SetTextKey(const std::string& key);

private:
    ZOLTFramework::CWindowEntity* window = nullptr;
    TextEntity* text = nullptr;
    ZOLTFramework::CQuestionListener* listener = nullptr;
    bool answered = false;
};
