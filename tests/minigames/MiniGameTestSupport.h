// A headless engine for the mini-game tests: the game's resource script, the
// caption font and English texts, an audio manager with the mini-game sounds
// and one music track, and a question listener that notes every message with
// the frame it came in.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/AudioManager.h"
#include "graphics/ResourceScript.h"
#include "graphics/hgeResourceManager.h"
#include "entities/core/Listeners.h"
#include "entities/widgets/CButtonEntity.h"
#include "minigames/MiniGameScreen.h"
#include "minigames/PuzzlePiece.h"
#include "profiles/PlayerManager.h"
#include "support/runtime/GuiTestEngine.h"

class MiniGameTestEngine : public GuiTestEngine {
public:
    explicit MiniGameTestEngine(float dt = 0.05f) : GuiTestEngine(Options(dt)) {
        UseResources();
        UseAudio(true);
        if (HasAudioDevice()) {
            for (const char* sound : {"OnWinMiniGame", "OnMiniGameSkip", "OnMiniGameSolveLater"})
                m_pAudioManager->LoadSound(sound, std::string("data/Sound/") + sound + ".ogg");
            m_pAudioManager->LoadSound("BrickOpn", Tone());
            m_pAudioManager->LoadSound("BrickDes", Tone());
        }
        DeclareFixtures();
        UseTextFile("data\\Text\\English.txt");
        UseFonts({{"Default14", "data\\Font\\default14.fnt"}});
        Hge()->Random_Seed(7);
        PlayerManager::Instance()->Timer->Clear();
    }
    ~MiniGameTestEngine() override { PlayerManager::Instance()->Timer->Clear(); }

    int Plays(const std::string& sound) const {
        return m_pAudioManager ? m_pAudioManager->GetSoundPlayCount(sound) : 0;
    }
    bool HasDevice() const { return HasAudioDevice(); }
    ZOLTFramework::CAudioManager* Audio() { return m_pAudioManager; }

    // Writes a file into the test folder and returns its path.
    std::string File(const std::string& name, const std::string& text) const {
        Dir().Write(name, text);
        return Dir() / name;
    }

    // Frames until the condition holds (at most `limit`); true when it did.
    template <class F>
    bool StepUntil(F condition, int limit = 200) {
        for (int i = 0; i < limit; ++i) {
            if (condition()) return true;
            Step();
        }
        return condition();
    }

    // Runs the screen's fade-in; true when it became opaque.
    bool FadeIn(MiniGameScreen* screen) {
        return StepUntil([screen] { return screen->GetOpacity() >= 1.0f; });
    }
    // Clicks the screen's Ok button and runs until the screen has reported.
    bool ClickOk(MiniGameScreen* screen) {
        ClickEntity(screen->FindChild<ZOLTFramework::CButtonEntity>("Ok"));
        return StepUntil([screen] { return screen->HasReported(); });
    }

    // Drags from one screen point to another with the left button.
    void Drag(float fromX, float fromY, float toX, float toY) {
        MoveMouse(fromX, fromY);
        Step();
        KeyDown(HGEK_LBUTTON);
        Step();
        MoveMouse(toX, toY);
        Step();
        KeyUp(HGEK_LBUTTON);
        Step();
    }

    // Reads resource declarations into the game's resources.
    void Declare(const std::string& script) {
        ReadResourceScript(m_pResourceManager, File("fixtures.res", script).c_str());
    }

    static std::string Tone() {
        const char* source = std::getenv("DROVALIN_SOURCE_DIR");
        return std::string(source ? source : ".") + "/tests/fixtures/tone.ogg";
    }

private:
    static std::string SpriteBlock(const char* name, const char* texture, int w, int h) {
        return std::string("Sprite \"") + name + "\"\n{\n  texture = \"" + texture + "\"\n  rect = 0,0," +
               std::to_string(w) + "," + std::to_string(h) + "\n  hotspot = " + std::to_string(w / 2) + "," +
               std::to_string(h / 2) + "\n}\n";
    }
    // Pictures with the names the two-part puzzle looks for, on the study's
    // textures; the skip button and the bottle back until the game's own exist.
    void DeclareFixtures() {
        std::string script = SpriteBlock("fx_dubinko", "StudyKnightTexture", 52, 84) +
                             SpriteBlock("fx_svistko", "StudyHorseshoeTexture", 84, 64) +
                             SpriteBlock("fx_lantern", "StudyTeacupTexture", 100, 72) +
                             SpriteBlock("fx_slut", "StudyCoinCoolTexture", 44, 44) +
                             SpriteBlock("fx_ramko", "StudyBackgroundTexture", 1024, 768) +
                             SpriteBlock("fx_Cleaner", "StudyGloveTexture", 84, 104);
        if (!m_pResourceManager->GetSprite("SkipButton"))
            script += "Texture \"SkipButton\"\n{\n  filename = \"data\\Texture\\Buttons\\InGameButton.png\"\n}\n" +
                      SpriteBlock("SkipButton", "SkipButton", 160, 288);
        if (!m_pResourceManager->GetSprite("Puzzle6.2Bottle"))
            script += SpriteBlock("Puzzle6.2Bottle", "StudyQuillTexture", 48, 132);
        Declare(script);
    }

    static GuiTestOptions Options(float dt) {
        GuiTestOptions options;
        options.dt = dt;
        options.settleBeforeClick = true;
        return options;
    }
};

// Notes "name=value" for every message.
class MiniGameJournal : public ZOLTFramework::CQuestionListener {
public:
    void OnQuestion(const std::string& name, const std::string& value) override {
        events.push_back(name + "=" + value);
    }
    int Count(const std::string& event) const {
        int n = 0;
        for (const auto& e : events)
            if (e == event) ++n;
        return n;
    }
    // The events that are results ("MiniGame...").
    std::vector<std::string> Results() const {
        std::vector<std::string> results;
        for (const auto& e : events)
            if (e.rfind("MiniGame", 0) == 0) results.push_back(e);
        return results;
    }
    std::vector<std::string> events;
};

// A screen point on an opaque pixel of the piece, near its middle.
// The piece of a puzzle with that label (its object's name in the piece
// scene), loose or docked: a part of the screen.
inline PuzzlePiece* PieceLabelled(const ZOLTFramework::CEntity* screen, const std::string& label) {
    std::vector<const ZOLTFramework::CEntity*> open{screen};
    while (!open.empty()) {
        const ZOLTFramework::CEntity* entity = open.back();
        open.pop_back();
        for (ZOLTFramework::CEntity* child : entity->GetChildren()) {
            auto* piece = dynamic_cast<PuzzlePiece*>(child);
            if (piece && piece->label == label) return piece;
            open.push_back(child);
        }
    }
    return nullptr;
}

inline bool OpaquePoint(const PuzzlePiece* piece, float* px, float* py) {
    for (float r = 0.0f; r < 60.0f; r += 3.0f)
        for (float a = 0.0f; a < 6.28f; a += 0.5f) {
            const float dx = r * std::cos(a), dy = r * std::sin(a);
            if (piece->HitTest(dx, dy)) {
                *px = piece->GetAbsoluteX() + dx;
                *py = piece->GetAbsoluteY() + dy;
                return true;
            }
        }
    return false;
}
