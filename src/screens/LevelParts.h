// What a level lends its parts (the panel, the windows over it) in place of
// itself: each part is given these at construction and knows nothing else of
// the level or of the other part.
#pragma once

#include <functional>
#include <list>
#include <string>

#include "entities/core/Listeners.h"
#include "scene/LevelEvents.h"

namespace ZOLTFramework {
class CEntity;
class CScreenEntity;
}  // namespace ZOLTFramework

class SceneObject;

// The entity a part's windows and widgets hang from (the level screen; the
// engine is reached through it) and the listeners they report to.
struct LevelHost {
    ZOLTFramework::CEntity& entity;
    ZOLTFramework::CQuestionListener& questions;
    ZOLTFramework::CButtonListener& buttons;
};

// What the parts ask of the level as it runs.
struct LevelStatus {
    // The mini-game screen over the level, or null.
    virtual ZOLTFramework::CScreenEntity* RunningMiniGame() const = 0;
    // The name of the last event the level heard.
    virtual const std::string& LastEvent() const = 0;
    // Stops (or lets go on) the level's clock.
    virtual void StopClock(bool stopped) = 0;

protected:
    ~LevelStatus() = default;
};

// The few things the panel and the windows have the scene do; the level,
// which holds the scene, does them. What they show of the scene they read
// through a PlayFieldView.
struct SceneRequests {
    // The time ran out: the scene loses the focus (its cursor leaves it).
    virtual void TimeOutScene() = 0;
    // A window opens over the scene (the options, the pause): the pointer
    // leaves it, its cursor kept for when it comes back.
    virtual void LeaveScene() = 0;
    // A cigar's hint: the thing it flies to (never the one picked last time
    // when there is another), or null.
    virtual SceneObject* PickHintObject() = 0;
    // The panel stands in: the clue list's tutorial, while the glass is still
    // to be found.
    virtual void ShowClueListTutorial() = 0;

protected:
    ~SceneRequests() = default;
};

// The panel's slide, which the windows over the level wait for and move.
struct PanelSlide {
    // The panel stands fully in.
    virtual bool IsIn() const = 0;
    virtual void SlidePanelIn() = 0;
    virtual void SlidePanelOut() = 0;
    // Stops the slide where it stands.
    virtual void KillSlide() = 0;
    // The panel and what is on it stop (or go on) taking the mouse.
    virtual void Pause() = 0;
    virtual void Resume() = 0;

protected:
    ~PanelSlide() = default;
};

// The hint windows waiting to be shown, first first: the panel's tools and
// the scene queue them, the windows show them one at a time.
class HintQueue {
public:
    void Queue(const LevelEvents::TutorialInfo& hint) { hints.push_back(hint); }
    bool IsEmpty() const { return hints.empty(); }
    // Takes the first; an empty record when none waits.
    LevelEvents::TutorialInfo Take() {
        if (hints.empty()) return {};
        LevelEvents::TutorialInfo first = hints.front();
        hints.pop_front();
        return first;
    }

private:
    std::list<LevelEvents::TutorialInfo> hints;
};
