// The credits: a dialog window with a fixed title over a clipped column in
// which logos, headings and names scroll up at 30 pixels a second and start
// again from below once they have passed. Any button closes it at once. The
// column's first picture, the publisher's logo, is drawn centred 300 pixels
// above the window's centre plus the scroll offset.
#pragma once

#include <string>

#include "entities/screens/Dialog.h"

class CreditsScreen : public Dialog {
public:
    static constexpr float kStartOffset = 520.0f;
    static constexpr float kEndOffset = -1600.0f;
    static constexpr float kScrollSpeed = 30.0f;

    CreditsScreen(const std::string& screenName, const std::string& dialogFile);
    ~CreditsScreen() override = default;

    // The fade, then the scroll.
    void Update(float dt) override;
    void Render() override;
    // Every message closes the credits at once (no fade-out).
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;

private:
    float scrollOffset = kStartOffset;
};
