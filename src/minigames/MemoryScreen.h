// The memory game: pairs of face-down bottles on a brick field, dealt anew at
// every opening; emptying the field wins. "Skip" shows no solution and leaves
// the field in play: clearing it before "Ok" still counts as a finish.
#pragma once

#include <string>

#include "minigames/MiniGameScreen.h"

namespace ZOLTFramework {
class CBricksField;
}

class MemoryScreen : public MiniGameScreen, public ZOLTFramework::CFieldListener {
public:
    MemoryScreen(const std::string& path, ZOLTFramework::CQuestionListener* level);
    ~MemoryScreen() override;

    void Update(float dt) override;
    void OnFieldSolved() override;
    // The brick field is the child "BricksField".

protected:
    void OnSkip() override;

private:
    void BuildField();

    ZOLTFramework::CBricksField* field = nullptr;
};
