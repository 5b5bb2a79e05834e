// The level test engine: the story screens' engine with an active player
// (300 s left, three cigars), levels opened as the game flow opens them, and
// waits for the panel and the queued hint windows.
#pragma once

#include <string>

#include "StoryTestSupport.h"
#include "platform/hge.h"
#include "profiles/Player.h"
#include "scene/PlayField.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"

class LevelEngine : public StoryEngine {
public:
    LevelEngine() : StoryEngine(0.05f) {
        Active()->Time = 300.0f;
        Active()->CigarCount = 3;
    }
    // A level built and opened as the game flow does.
    template <class Level = LevelScreen>
    Level* Open(const std::string& scene, const std::string& map = LevelScreen::kReturnScreen) {
        auto* level = Manager().OpenScreen<Level>(scene, map);
        level->SetLayer(2.0f);
        level->SetOpacity(0.0f);
        level->Open();
        return level;
    }
    // Frames until the panel stands fully in.
    bool PanelIn(LevelScreen* level) {
        const PlayField* field = level->FindChild<PlayField>("PlayField");
        return RunUntil([level, field] { return level->IsPanelIn() && field->IsFullyShown(); }, 5.0f);
    }
    // Lets every queued hint window open and closes it.
    void DismissHints(LevelScreen* level) {
        for (int i = 0; i < 200 && (level->Windows().HasHint() || level->Windows().IsHintWindowOpen()); ++i) {
            Step();
            if (Top() && Top()->GetName() == "HintScreen") Press(HGEK_ENTER);
        }
        PanelIn(level);
    }
};
