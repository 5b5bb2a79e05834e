// The name entry: a yes/no dialog in which the player types the name of a new
// player, at most 16 characters, shown with a caret. "YES" (its button or
// Enter) with a name hands the name to the listener's OnQuestion under the
// dialog's id and closes; "YES" without a name does nothing; "NO" (its button
// or Escape) closes without a word to the listener.
#pragma once

#include <string>

#include "entities/screens/Dialog.h"

class CPNameScreen : public Dialog {
public:
    CPNameScreen(const std::string& id, const std::string& dialogFile, ZOLTFramework::CQuestionListener* listener);
    ~CPNameScreen() override = default;

    // The fade and the shortcuts, then the typed character of the frame.
    void Update(float dt) override;
    // The prompt "ENTERNAME" and the name with its caret.
    void Render() override;
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;

    void SetTypedName(const std::string& text) { typedName = text; }

private:
    // Kills the dialog and takes it off the screen stack.
    void Leave();

    std::string typedName;
};
