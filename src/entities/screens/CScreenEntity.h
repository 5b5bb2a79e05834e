// The base of every screen, window and dialog: a root entity that fades in when
// opened and out when closed (half a second each), may kill itself when the
// fade-out ends, plays "OnWindow" once while opening, knows whether it is the
// focused top of the screen stack, and turns its keyboard shortcuts into the
// same named messages its buttons send.
#pragma once

#include <map>
#include <string>

#include "entities/core/CEntity.h"

namespace ZOLTFramework {

class CScreenEntity : public CEntity {
public:
    explicit CScreenEntity(const std::string& screenName);
    ~CScreenEntity() override;

    // Fades and shortcuts.
    void Update(float dt) override;
    void GotFocus() override { hasFocus = true; }
    // Also takes the hover from every GUI entity of the screen's subtree: no
    // update would, while the screen above has the mouse.
    void LostFocus() override;

    // Called for a shortcut key and, in screens that are also button
    // listeners, for their buttons (the same virtual serves both).
    virtual void OnButtonPress(const std::string& message) {}
    virtual bool HasFocus() { return hasFocus; }
    // Once, when the fade-in reaches full opacity.
    virtual void OnOpened() {}

    // Starts the fade-in from the current opacity (set it to 0 first to fade in
    // from nothing) and shows the screen and its subtree.
    void Open();
    // Starts the fade-out; at opacity 0 the screen hides.
    void Close();
    // As Close; the screen is killed when the fade-out ends.
    void CloseAndDestroy();

    bool IsClosing() const { return closing; }
    void SetPlayOpenSound(bool on) { playOpenSound = on; }
    // Adds {key, message}; a key that already has a shortcut keeps its first one.
    void AddShortcut(int key, const std::string& message) { shortcuts.insert({key, message}); }
    const std::map<int, std::string>& GetShortcuts() const { return shortcuts; }

protected:
    bool closing = false;
    bool opening = false;
    bool destroyOnClose = false;
    bool playOpenSound = false;
    bool openSoundPlayed = false;
    std::map<int, std::string> shortcuts;
    bool hasFocus = false;

private:
    void FinishClose();
};

}  // namespace ZOLTFramework
