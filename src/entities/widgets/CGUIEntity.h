// The entity that reacts to the mouse. There is no central dispatcher: every GUI
// entity, in its own Update, asks whether the mouse is over its hit rectangle and
// whether it is the topmost GUI entity there, and turns the button edges of the
// frame into hover and press/release calls on itself.
//
// Topmost: no other eligible GUI entity under the mouse lies above it (larger
// layer, or equal layer and larger absolute depth); ties leave both topmost.
// Eligible: enabled, alive, not paused and not hidden in its chain. The rule
// applies to the entity itself as well: an ineligible entity is not hit and
// loses its hover, but a release still reaches the entity that got the press.
#pragma once

#include <vector>

#include "entities/core/CEntity.h"
#include "graphics/hgeRect.h"

namespace ZOLTFramework {

class CGUIEntity : public CEntity {
public:
    CGUIEntity();
    ~CGUIEntity() override;

    // Runs ProcessMouse; subclasses that override Update call it.
    void Update(float dt) override;
    // Drops the hover (of the whole subtree) first: a paused entity is not
    // updated, so its own dispatch could not.
    void Pause() override;
    // Children first, then the hit rectangle is re-centred on the new absolute
    // position, keeping its size.
    void OnMove() override;

    virtual void OnMouseOver(bool entered) {}
    virtual void OnLeftButton(bool down) {}
    virtual void OnRightButton(bool down) {}
    // Half-open: left and top edges inside, right and bottom edges outside.
    virtual bool HitTest(float px, float py);

    void SetRect(float rx, float ry, float w, float h);
    // A w x h rectangle centred on the absolute position.
    void SetRectCentered(float w, float h);
    const hgeRect& GetRect() const { return rect; }

    // The mouse dispatch of one frame.
    void ProcessMouse();

    // Enabled, alive, not paused and not hidden in its chain.
    bool IsMouseEligible() const;
    bool IsRightDown() const { return rightDown; }

    // Forgets the hover at once, telling the entity (OnMouseOver(false)).
    virtual void DropHover();
    // DropHover on every GUI entity of root's subtree, root included.
    static void DropHoverBelow(CEntity* root);


protected:
    hgeRect rect;
    bool hover = false;
    bool leftDown = false;
    bool rightDown = false;

private:
    // True when another eligible GUI entity under (mx, my) lies above this one.
    bool IsCovered(float mx, float my);
    void LoseHover();
    void DeliverReleases();
};

}  // namespace ZOLTFramework
