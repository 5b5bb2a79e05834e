// What a level does with its play field, for scene tests: a screen that is
// the field's question listener, owning the field at (0, 0) and a panel
// entity at (0, 0) that the bag is moved onto (depth -1), recording every event
// in order ("ShowPanel=", "HidePanel=2.5", "answer:AddCigars=1"), and pausing
// field and bag at once on "MiniGame".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"
#include "scene/ClueTargets.h"

class PlayField;

// The field is built as the level builds it: with the active player, the
// shared timer and the stand-in's clue lines as its clue targets.
class LevelStandIn : public ZOLTFramework::CScreenEntity,
                     public ZOLTFramework::CQuestionListener,
                     public ClueTargets {
public:
    // Opens itself on the entity manager's screen stack.
    explicit LevelStandIn(const std::string& scenePath);
    ~LevelStandIn() override;

    void OnQuestion(const std::string& event, const std::string& value) override;
    void OnAnswer(const std::string& id, bool yes) override;

    // A mini-game's result as a level hands it to the field: the field and
    // the bag resume, then "MiniGameFinished" and "MiniGameSkip" end the
    // held-back click and "MiniGameSolveLater" puts it off.
    void ReportMiniGame(const std::string& result, const std::string& file);

    PlayField* Field() const { return field; }
    ZOLTFramework::CEntity* Panel() const { return panel; }
    // The recorded events whose name is that, with their frame time.
    std::vector<std::string> EventsNamed(const std::string& event) const;
    // Frame time (seconds since construction) at which the event was first
    // recorded; -1 when never.
    float TimeOf(const std::string& event) const;

    void Update(float dt) override;
    float Clock() const { return clock; }
    bool ClueTarget(const std::string& task, float& screenY) const override;

    std::map<std::string, float> clueLines;  // task to the screen line of its clue
    std::vector<std::string> events;
    std::vector<float> eventTimes;

private:
    PlayField* field = nullptr;
    ZOLTFramework::CEntity* panel = nullptr;
    float clock = 0.0f;
};
