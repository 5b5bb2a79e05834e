// One comic page: story characters slide or fade onto the screen, say their
// lines in speech bubbles one at a time while the player clicks the story on,
// and leave again. The hero ("Brannok") wears the medals the active player
// has earned.
//
// The page file becomes a queue of steps when the screen is built; every
// entity of the page is made then (characters hidden, bubbles hidden at scale
// 0, effectors paused) and the steps only show, start and kill them. The
// screen runs one step at a time and, when the queue is empty, leaves the
// screen stack and dies, which gives the screen below the focus back.
//
// Page file (root name free; children in document order):
//   root "res_group": the page's own resource group, freed when the page goes
//     (only a scene group, 10 or more, that no live scene holds);
//   "appear": "character", "from" (left, right, top, bottom, opacity), "X" and
//     "Y" (resting place for "opacity"), "string" (a line, text-table key),
//     "no_delay", "sound"; children "sprite" with "name" (a texture; the
//     sprite resource of that name gives the hot spot), "Z", "Scale";
//   "replic": "string";
//   "disappear": "character", "to" (left, right, top, bottom, opacity),
//     "no_delay".
//
// The screen is owned by the entity manager from its construction on (it adds
// and pushes itself): create it with new, set its layer, never add it again.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/FileNumbers.h"
#include "engine/XMLDocument.h"
#include "entities/screens/CScreenEntity.h"
#include "screens/MedalList.h"

class SpriteExEntity;
class TextEntity;

namespace ZOLTFramework {
class CAnimationEffector;
}

class ComicScreen : public ZOLTFramework::CScreenEntity {
public:
    using CEntity = ZOLTFramework::CEntity;
    using CAnimationEffector = ZOLTFramework::CAnimationEffector;

    static constexpr const char* kHeroName = "Brannok";
    static constexpr float kMoveTime = 0.4f;
    // A page holds at most this many steps; the children after that are left
    // out with an Error row.
    static constexpr size_t kMaxSteps = FileNumbers::kMaxCount;

    struct Step {
        std::vector<std::function<void()>> calls;
        float delay = 0.0f;
    };
    struct MedalPlace {
        uint32_t id = 0;
        float x = 0.0f, y = 0.0f, z = 0.0f;
        std::string sprite;
    };

    explicit ComicScreen(const std::string& path, const std::string& medalsFile = MedalList::kFile);
    // Frees the page's resource group (see above).
    ~ComicScreen() override;

    // Counts the delay down and runs the next step when it is due: at most one
    // a frame, and while waiting only for a left-button click made on the
    // page: held, it goes on as long as the button stays down; however short,
    // it runs the steps without a pause up to the next line.
    void Update(float dt) override;
    void Render() override {}

    // Runs the front step, or ends the page when none is left.
    void NextStep();
    void SetWaiting(bool on) { waiting = on; }

    void LoadAppear(const XMLDocument::XMLElement& element);
    void LoadReplica(const XMLDocument::XMLElement& element);
    void LoadDisappear(const XMLDocument::XMLElement& element);
    // The character of an "appear" with its pictures (and the hero's medals),
    // hidden, child of the screen.
    CEntity* ParseCharacter(const XMLDocument::XMLElement& element);
    // The entrance of the "from" keyword; sets the bubble anchor and side.
    void ParseStep(const XMLDocument::XMLElement& element, float& xFrom, float& xTo, float& yFrom, float& yTo,
                   float& opacityFrom, float& opacityTo);
    // The change of an exit's "to" keyword.
    static void ParsePosition(const std::string& keyword, float& dx, float& dy, float& dOpacity);
    // A speech bubble at scale 0 (hidden, its line too) at the current anchor
    // and side; the line's text entity goes to *line when given.
    SpriteExEntity* CreateBubble(const std::string& key, TextEntity** line = nullptr);
    TextEntity* CreateBubbleText(const std::string& key, ZOLTFramework::CEntity* bubble);
    // Starts an exit from where the character stands now.
    void AnimateLeave(CEntity* character, CAnimationEffector* effector, float dx, float dy, float dOpacity);

    bool HasResourceGroup() const { return hasResourceGroup; }
    const std::vector<MedalPlace>& GetMedalPlaces() const { return medalPlaces; }

private:
    // Adds a paused animation effector to the target.
    CAnimationEffector* MakeEffector(CEntity* target);
    void Queue(Step&& step);
    void Warn(const std::string& what) const;

    int resourceGroup = 0;
    bool hasResourceGroup = false;
    std::deque<Step> steps;
    size_t stepsMade = 0;  // every step the page queued, run or not
    std::map<std::string, CEntity*> characters;
    float delay = 0.0f;
    bool waiting = false;
    bool clickRunning = false;  // a click on the page runs on to the next line
    bool pressHeld = false;     // the button, pressed on the page, is still down
    float anchorX = 0.0f;
    float anchorY = 0.0f;
    float side = 1.0f;
    std::vector<MedalPlace> medalPlaces;
};
