// Where the level's panel ends on the screen as it stands in its slide: the
// scene shows right of it. The level that shows the panel answers for the
// field.
#pragma once

struct PanelEdge {
    // The screen x of the panel's right edge now (0 or less when it is out).
    virtual float PanelRight() const = 0;

protected:
    ~PanelEdge() = default;
};
