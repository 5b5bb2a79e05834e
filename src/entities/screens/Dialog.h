// A modal question window built from a small layout file: a window sprite, a
// text box for the message and two buttons. Its buttons and the Enter and
// Escape shortcuts send "YES" and "NO"; the dialog answers its owner's
// OnAnswer with its own name as the question id, exactly once, and closes.
//
// Layout (any root name): attributes "text_offset_x", "text_offset_y",
// "text_width", "text_height"; children in document order: "window" ("x", "y",
// "z", "texture": the name of a resource sprite), "button_ok" and
// "button_cancel" (button elements, attached to the window read before them).
// A layout that cannot be read or has no window leaves the dialog without a
// window and text box; Enter and Escape still answer it, so it never traps
// the player.
#pragma once

#include <string>

#include "engine/XMLDocument.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/core/Listeners.h"

class ButtonExEntity;

namespace ZOLTFramework {
class CWindowEntity;
}

class Dialog : public ZOLTFramework::CScreenEntity, public ZOLTFramework::CButtonListener {
public:
    // The screen name is the question id of the answer; the owner may be null.
    // The dialog hands itself to the entity manager and pushes itself on the
    // screen stack (OpenScreen) and opens; its creator, who makes it with
    // EntityManager::OpenScreen<Dialog>, sets its text and layer.
    Dialog(const std::string& screenName, const std::string& layoutFile, ZOLTFramework::CQuestionListener* owner);
    ~Dialog() override;

    void Render() override;
    // The window (and so its buttons) is resumed with the focus and paused
    // without it.
    void GotFocus() override;
    void LostFocus() override;

    // "YES" answers yes, "NO" answers no, anything else answers nothing; in
    // every case the dialog closes, is destroyed and leaves the screen stack.
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;

    ZOLTFramework::CQuestionListener* GetListener() const { return owner; }
    // The window is the child "Window" (null when the layout has none); its
    // buttons are named by their messages ("YES", "NO").
    ZOLTFramework::CWindowEntity* GetWindow() const { return window; }
    float GetTextOffsetX() const { return textOffsetX; }
    float GetTextOffsetY() const { return textOffsetY; }
    float GetTextWidth() const { return textWidth; }
    float GetTextHeight() const { return textHeight; }
    // The text-table key of the message.
    void SetText(const std::string& key) { text = key; }
    // True once the dialog has answered or closed itself: later messages are
    // ignored.
    bool IsFinished() const { return finished; }

protected:
    // True the first time: the dialog is finished from then on and ignores
    // later messages (one answer per dialog, even when a button and a key
    // arrive in the same frame).
    bool BeginFinish();
    // Sends the answer to the owner, when there is one.
    void Answer(bool yes);
    // Closes and destroys the dialog and takes it off the screen stack.
    void CloseDialog();

    ZOLTFramework::CQuestionListener* owner;
    ZOLTFramework::CWindowEntity* window = nullptr;
    // The buttons of "button_ok" and "button_cancel", children of the window;
    // null when the layout has none (or gives it before the window).
    ButtonExEntity* okButton = nullptr;
    ButtonExEntity* cancelButton = nullptr;
    std::string text;
    float textOffsetX = 0.0f;
    float textOffsetY = 0.0f;
    float textWidth = 0.0f;
    float textHeight = 0.0f;

private:
    void LoadLayout(const std::string& layoutFile);
    ButtonExEntity* MakeButton(const XMLDocument::XMLElement& element, int key, const char* message);

    bool finished = false;
};
