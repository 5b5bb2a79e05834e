// The screens test engine with what the story screens need: the audio device
// open on the dummy driver with their event sounds (so tests count plays),
// the "Comics" and "Score" fonts, an active player, and fixture files in the
// engine's folder.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "ScreensTestEngine.h"
#include "engine/AudioManager.h"
#include "entities/core/CEntity.h"
#include "graphics/FontRegistry.h"
#include "profiles/PlayerManager.h"

class StoryEngine : public ScreensTestEngine {
public:
    explicit StoryEngine(float stepSeconds) : ScreensTestEngine(stepSeconds), dt(stepSeconds) {
        FontRegistry::Instance().LoadFont("Comics", "data\\Font\\comics.fnt");
        FontRegistry::Instance().LoadFont("Score", "data\\Font\\Score.fnt");
        ZOLTFramework::CAudioManager* audio = GetAudioManager();
        hasSound = audio->OpenDevice();
        if (hasSound) {
            for (const char* sound : {"OnScoreCount", "OnButtonPress", "OnRewarding", "OnSalute", "OnKiss", "OnWindow",
                                      "MouseOver", "OnComicsStart", "OnCharAppear", "OnCharCame", "OnObjectClick"})
                audio->LoadSound(sound, std::string("data/Sound/") + sound + ".ogg");
            audio->LoadMusic("OnFinal", "data/Sound/OnFinal.ogg");
        }
        PlayerManager* players = PlayerManager::Instance();
        players->AddPlayer("Tess");
        players->SetActivePlayer("Tess");
    }

    bool HasSound() const { return hasSound; }
    int Plays(const std::string& sound) { return GetAudioManager()->GetSoundPlayCount(sound); }
    Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }
    // A fixture file in the engine's folder; its full path.
    std::string Write(const std::string& file, const std::string& text) {
        Dir().Write(file, text);
        return Dir() / file;
    }
    // Frames for that many seconds.
    void Run(float seconds) { Step(int(std::lround(seconds / dt))); }
    // Runs frames until the test holds (true) or the time is up (false); the
    // seconds it took go to *took.
    template <class Test>
    bool RunUntil(Test test, float limit, float* took = nullptr) {
        float t = 0.0f;
        while (t < limit) {
            Step();
            t += dt;
            if (test()) {
                if (took) *took = t;
                return true;
            }
        }
        return false;
    }
    template <class T>
    T* TopAs() {
        return dynamic_cast<T*>(Top());
    }
    bool OnStack(const ZOLTFramework::CEntity* screen) const {
        for (const auto* s : const_cast<StoryEngine*>(this)->Manager().GetScreenStack())
            if (s == screen) return true;
        return false;
    }

    const float dt;
    bool hasSound = false;
};

// The live children of an entity of a type.
template <class T>
std::vector<T*> ChildrenOf(const ZOLTFramework::CEntity* parent) {
    std::vector<T*> found;
    for (ZOLTFramework::CEntity* child : parent->GetChildren())
        if (auto* t = dynamic_cast<T*>(child))
            if (!t->IsDead()) found.push_back(t);
    return found;
}
