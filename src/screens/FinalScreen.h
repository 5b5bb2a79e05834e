// The end of the story: the final picture, two kisses flying in one after the
// other, sparkles on the figures, then fireworks, over the music "OnFinal". Any
// key returns to the main menu: exactly one menu for one key, and nothing of
// the final screen (sounds, fireworks) goes on after that key.
//
// Its delayed calls go on the player manager's shared timer under a call
// anchor of its own; the key kills the anchor, which cancels them at once,
// and the screen's death does the same. Other screens' entries on that timer
// (the menu's fish) are never touched.
//
// Its opening ends a story's end that was due (a game quit after the last
// find and continued): the player's mark is cleared and the players saved.
//
// The screen is owned by the entity manager from its construction on (it
// adds and pushes itself): create it with new and never add it again.
#pragma once

#include <vector>

#include "entities/screens/CScreenEntity.h"

namespace ZOLTFramework {

class CSpriteEntity;

class FinalScreen : public CScreenEntity {
public:
    static constexpr const char* kScreenName = "FinalScreen";
    static constexpr float kSaluteDelay = 2.0f;

    FinalScreen();
    ~FinalScreen() override;

    // Fades; then a key (while the screen has the focus) leaves for the menu.
    void Update(float dt) override;
    void GotFocus() override;
    // Keys are ignored until the focus comes back; the screen stays.
    void LostFocus() override;

    // The two kisses ("Kiss1", "Kiss2") and their landing sounds.
    void CreateKiss();
    // Fireworks over the sky ("Salute"), one salvo a second; the sparkles
    // of the picture are "Sparkles".
    void CreateSalute();


private:
    void Leave();
    // A sprite entity of the resource sprite (or, without one, the texture of
    // that name, centred); a Warning row when there is neither.
    CSpriteEntity* MakePicture(const std::string& name, float depth);

    bool leaving = false;
    bool left = false;
    std::vector<CEntity*> particles;
    std::vector<CSpriteEntity*> sprites;
    // Owner of the calls on the shared timer.
    CEntity* callAnchor = nullptr;
};

}  // namespace ZOLTFramework
