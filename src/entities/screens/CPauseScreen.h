// The screen that holds a level while the game is paused: a translucent shade
// over the whole screen, a mouse catcher so that nothing below is hovered or
// clicked, and the word "PAUSE". Any key or mouse button ends the pause: the
// owner hears ("SetPaused", false) and the screen fades out and dies.
//
// The screen stands twice on the screen stack (the constructor hands itself to
// the entity manager with OpenScreen and pushes itself once more, which also
// marks it for destruction on close; the creator's Open then fades it in). The key path takes one entry off with RemoveScreen; the other leaves
// when the dead screen is dropped. A pause screen that another screen covers
// ends itself: it fades out, leaves every stack entry when it dies and then
// answers ("SetPaused", false) as well, so the level never stays frozen
// without a pause screen. The owner hears exactly one answer either way.
#pragma once

#include "entities/screens/CScreenEntity.h"
#include "entities/core/Listeners.h"

namespace ZOLTFramework {

class CGUIEntity;
class CSpriteEntity;

class CPauseScreen : public CScreenEntity {
public:
    // The owner may be null. The creator makes it with
    // EntityManager::OpenScreen<CPauseScreen>, sets the layer and calls Open.
    explicit CPauseScreen(CQuestionListener* owner);
    ~CPauseScreen() override;

    void Update(float dt) override;
    void Render() override;
    void GotFocus() override;
    void LostFocus() override;

    CQuestionListener* GetOwner() const { return owner; }

private:
    void AnswerOnce();

    bool covered = false;
    bool answered = false;
    CQuestionListener* owner;
    CSpriteEntity* shade = nullptr;
    CGUIEntity* catcher = nullptr;
};

}  // namespace ZOLTFramework
