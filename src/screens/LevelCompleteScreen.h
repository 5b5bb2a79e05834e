// The score window of a won level. Its rows (items, speed, mini-games, time
// bonus, level, game total) appear one every half second, each counting its
// number up for a second with "OnScoreCount"; any key shows them all at once.
// "Exit" (or Enter) closes it, or, when the level grants a medal the player
// lacks, awards it: the detective fades in beside the window, the medal pops
// large, flies onto his coat among the medals he owns, stars burst, and a key
// closes the window once the flight is over.
//
// The window is owned by the entity manager from its construction on (it adds
// and pushes itself): create it with new and never add it again.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"
#include "entities/core/GameTimer.h"
#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"
#include "screens/MedalList.h"

class TextEntity;

namespace ZOLTFramework {
class CButtonEntity;
class CWindowEntity;
}  // namespace ZOLTFramework

class LevelCompleteScreen : public ZOLTFramework::CScreenEntity, public ZOLTFramework::CButtonListener {
public:
    static constexpr const char* kScreenFile = "data/Screens/LevelCompleteScreen.xml";
    // The six values in the order the level passes them.
    enum ScoreIndex { kItems, kSpeed, kMiniGame, kTime, kLevel, kGameTotal, kScoreCount };
    using Scores = std::array<uint32_t, kScoreCount>;
    // The row widgets' ids in the screen file, in score order. Each widget is
    // a child of the window under its id; the close button is the child "Exit".
    static constexpr const char* kCaptionIds[kScoreCount] = {"caption_items", "caption_speed", "caption_minigame",
                                                             "caption_time", "caption_level", "caption_gametotal"};
    static constexpr const char* kScoreIds[kScoreCount] = {"score_items", "score_speed", "score_minigame",
                                                           "score_time", "score_level", "score_gametotal"};

    static constexpr float kRowInterval = 0.5f;
    static constexpr float kRowHeight = 30.0f;
    static constexpr float kFirstRowY = -150.0f;
    static constexpr float kCountTime = 1.0f;
    static constexpr float kSaluteDelay = 3.5f;
    static constexpr float kCloseOnKeyDelay = 4.1f;

    // scores: the six level scores (copied; null counts as all 0). The files
    // are the game's unless a caller names others.
    LevelCompleteScreen(const std::string& screenName, const uint32_t* scores,
                        const std::string& screenFile = kScreenFile,
                        const std::string& medalsFile = MedalList::kFile);
    ~LevelCompleteScreen() override;

    // Skip on a key, close on a key once allowed, fades, then the timed work.
    void Update(float dt) override;
    // Everything the window shows is an entity of its own.
    void Render() override {}
    void OnButtonPress(const std::string& name) override;
    void OnButtonOver(const std::string& name) override;

    // The medal to award on "Exit" (0: none).
    void SetMedalToAdd(int medal) { medalToAdd = medal; }
    // The game ends with the window up: the medal it would award joins the
    // active player's medals now.
    void KeepMedal();
    void SetCloseOnKey() { closeOnKey = true; }

    // Kills the window with everything in it and takes it off the screen stack.
    void Close();
    // The detective, the owned medals and the flight of the new one, which
    // joins the active player's medals.
    void AwardMedal();
    // Star bursts over the window, one a second, for as long as it lives.
    void Salute();

private:
    struct Row {
        TextEntity* caption = nullptr;
        TextEntity* score = nullptr;
        std::string finalText;
    };

    void BuildWindow();
    void LoadRows(const std::string& file);
    TextEntity* MakeRowWidget(const XMLDocument::XMLElement& element, float delay, float rowY);
    void ScheduleCountUp(TextEntity* widget, uint32_t value, float delay);
    // Every row shown with its final number; the count-up is over.
    void FinishCount();
    bool KeyThisFrame() const;
    // A sprite entity showing a copy of the resource sprite (hot spot kept),
    // child of parent; null with a Warning row when there is no such sprite.
    ZOLTFramework::CEntity* MakeSprite(const std::string& spriteName, ZOLTFramework::CEntity* parent, float depth);

    std::vector<Row> rows;
    ZOLTFramework::CWindowEntity* window = nullptr;
    ZOLTFramework::CButtonEntity* exitButton = nullptr;
    int medalToAdd = 0;
    bool closeOnKey = false;
    float lastRowY = 0.0f;
    bool counting = true;
    ZOLTFramework::GameManager::Timer timer;
    Scores scores{};
    std::string medalsFile;
};
