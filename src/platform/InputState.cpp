#include "platform/InputState.h"

#include "platform/hge.h"

void InputState::BeginFrame() {
    for (int i = 0; i < kKeyCount; ++i) m_pressed[i] = m_released[i] = false;
    m_frameKey = 0;
    m_frameChar = 0;
    m_wheel = 0;
}

void InputState::EndEvents() {
    if (m_frameChar == 0 && !m_chars.empty()) {
        m_frameChar = m_chars.front();
        m_chars.pop_front();
    }
}

void InputState::KeyDown(int key, bool repeat) {
    if (!Valid(key)) return;
    if (repeat) {
        // Text editing repeats; key presses do not.
        if (key == HGEK_BACKSPACE && m_held[key]) m_chars.push_back((unsigned char)key);
        return;
    }
    if (m_held[key]) return;  // already down: no second press
    m_held[key] = true;
    m_pressed[key] = true;
    // The snapshot key takes a picture; it is no key press for the screens (a
    // picture of the intro does not end it).
    if (m_frameKey == 0 && key != HGEK_GRAVE) m_frameKey = key;
    if (key == HGEK_BACKSPACE || key == HGEK_ENTER || key == HGEK_ESCAPE) m_chars.push_back((unsigned char)key);
}

void InputState::KeyUp(int key) {
    if (!Valid(key) || !m_held[key]) return;
    m_held[key] = false;
    m_released[key] = true;
}

void InputState::TypeChar(unsigned char c) {
    // The character of the snapshot key: the key takes a picture, it types nothing.
    if (c == '`' && (m_held[HGEK_GRAVE] || m_released[HGEK_GRAVE])) return;
    if (c != 0) m_chars.push_back(c);
}

void InputState::MoveMouse(float x, float y) {
    m_mouseX = x;
    m_mouseY = y;
}

void InputState::ReleaseAll() {
    for (int k = 1; k < kKeyCount; ++k) KeyUp(k);
}
