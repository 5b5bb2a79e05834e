#include "platform/KeyNames.h"

#include "platform/hge.h"

const char* KeyName(int key) {
    static const char* const kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                           "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    static const char* const kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const kF[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    if (key >= HGEK_A && key <= HGEK_Z) return kLetters[key - HGEK_A];
    if (key >= HGEK_0 && key <= HGEK_9) return kDigits[key - HGEK_0];
    if (key >= HGEK_F1 && key <= HGEK_F12) return kF[key - HGEK_F1];
    switch (key) {
        case HGEK_LBUTTON: return "Left Mouse Button";
        case HGEK_RBUTTON: return "Right Mouse Button";
        case HGEK_MBUTTON: return "Middle Mouse Button";
        case HGEK_ESCAPE: return "Escape";
        case HGEK_BACKSPACE: return "Backspace";
        case HGEK_TAB: return "Tab";
        case HGEK_ENTER: return "Enter";
        case HGEK_SPACE: return "Space";
        case HGEK_SHIFT: return "Shift";
        case HGEK_CTRL: return "Ctrl";
        case HGEK_ALT: return "Alt";
        case HGEK_PAUSE: return "Pause";
        case HGEK_CAPSLOCK: return "Caps Lock";
        case HGEK_PGUP: return "Page Up";
        case HGEK_PGDN: return "Page Down";
        case HGEK_END: return "End";
        case HGEK_HOME: return "Home";
        case HGEK_LEFT: return "Left Arrow";
        case HGEK_UP: return "Up Arrow";
        case HGEK_RIGHT: return "Right Arrow";
        case HGEK_DOWN: return "Down Arrow";
        case HGEK_INSERT: return "Insert";
        case HGEK_DELETE: return "Delete";
        case HGEK_GRAVE: return "`";
        default: return "?";
    }
}
