// Keys, mouse buttons, mouse position and typed characters, with edges per frame.
// A press and a release inside one frame both show; auto-repeat makes no new
// press; Backspace, Enter and Escape also type 8, 13 and 27, and a held
// Backspace types 8 again with every repeat, as held letters repeat. The
// snapshot key (grave accent) types nothing. Characters typed faster than one a
// frame wait for the following frames, one each.
#pragma once

#include <deque>

class InputState {
public:
    static const int kKeyCount = 256;

    // Starts a frame: the edges, the key and the wheel of the last frame go.
    void BeginFrame();
    // Ends the event intake of a frame: picks the frame's character.
    void EndEvents();

    void KeyDown(int key, bool repeat = false);
    void KeyUp(int key);
    void TypeChar(unsigned char c);
    void MoveMouse(float x, float y);
    void Wheel(int steps) { m_wheel += steps; }
    void SetMouseOver(bool over) { m_mouseOver = over; }
    // Lets go of every held key (focus lost), with release edges.
    void ReleaseAll();

    bool IsDown(int key) const { return Valid(key) && m_held[key]; }
    bool WentDown(int key) const { return Valid(key) && m_pressed[key]; }
    bool WentUp(int key) const { return Valid(key) && m_released[key]; }
    int FrameKey() const { return m_frameKey; }
    int FrameChar() const { return m_frameChar; }
    int WheelSteps() const { return m_wheel; }
    float MouseX() const { return m_mouseX; }
    float MouseY() const { return m_mouseY; }
    bool MouseOver() const { return m_mouseOver; }

private:
    static bool Valid(int key) { return key > 0 && key < kKeyCount; }

    bool m_held[kKeyCount] = {};
    bool m_pressed[kKeyCount] = {};
    bool m_released[kKeyCount] = {};
    int m_frameKey = 0;
    int m_frameChar = 0;
    int m_wheel = 0;
    float m_mouseX = 0, m_mouseY = 0;
    bool m_mouseOver = true;
    std::deque<unsigned char> m_chars;
};
