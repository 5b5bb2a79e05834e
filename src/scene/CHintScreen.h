// A small tutorial window of a level: a text from the string table in the
// window "Window04", placed as far as it can be from the one or two screen
// points it explains, arrows from the window to those points, and an "OK"
// button (also the Enter key). "OK" tells the owner ("TutorialShown", "") and
// takes the screen off the screen stack.
//
// The level names the screen "HintScreen", attaches it, gives it layer 15 and
// sets its text; the screen pushes itself on the screen stack and must be
// owned by the entity manager (Spawn it).
#pragma once

#include <string>

#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"
#include "graphics/hgeVector.h"

class hgeSprite;
class TextEntity;

namespace ZOLTFramework {

class CButtonEntity;
class CWindowEntity;

class CHintScreen : public CScreenEntity, public CButtonListener {
public:
    // Texts longer than this are drawn with a tighter tracking.
    static const size_t kLongText = 175;

    // A point (0, 0) means none.
    CHintScreen(CQuestionListener* owner, float point1X, float point1Y, float point2X, float point2Y);
    ~CHintScreen() override;

    void Render() override;
    void GotFocus() override;
    void LostFocus() override;
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;

    void SetText(const std::string& key);

    // The window position for the points: the candidate farthest from them.
    static void ChooseWindowPosition(float p1x, float p1y, float p2x, float p2y, float* wx, float* wy);

    // The window is the child "Window"; in it the text "Text" and the
    // button "OK".

private:
    void DrawArrow(float px, float py);

    // The screen points explained; (0, 0) means none.
    hgeVector point1, point2;
    CWindowEntity* window = nullptr;
    CButtonEntity* okButton = nullptr;
    TextEntity* text = nullptr;
    hgeSprite* arrowHead = nullptr;
    hgeSprite* arrowTail = nullptr;
    CQuestionListener* owner = nullptr;
};

}  // namespace ZOLTFramework
