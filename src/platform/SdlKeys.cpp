#include "platform/SdlKeys.h"

#include "platform/hge.h"

int EngineKeyFromSdl(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return HGEK_A + int(k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return HGEK_0 + int(k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return HGEK_F1 + int(k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return 0x61 + int(k - SDLK_KP_1);
    switch (k) {
        case SDLK_ESCAPE: return HGEK_ESCAPE;
        case SDLK_BACKSPACE: return HGEK_BACKSPACE;
        case SDLK_TAB: return HGEK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return HGEK_ENTER;
        case SDLK_SPACE: return HGEK_SPACE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return HGEK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return HGEK_CTRL;
        case SDLK_LALT:
        case SDLK_RALT: return HGEK_ALT;
        case SDLK_PAUSE: return HGEK_PAUSE;
        case SDLK_CAPSLOCK: return HGEK_CAPSLOCK;
        case SDLK_PAGEUP: return HGEK_PGUP;
        case SDLK_PAGEDOWN: return HGEK_PGDN;
        case SDLK_END: return HGEK_END;
        case SDLK_HOME: return HGEK_HOME;
        case SDLK_LEFT: return HGEK_LEFT;
        case SDLK_UP: return HGEK_UP;
        case SDLK_RIGHT: return HGEK_RIGHT;
        case SDLK_DOWN: return HGEK_DOWN;
        case SDLK_INSERT: return HGEK_INSERT;
        case SDLK_DELETE: return HGEK_DELETE;
        case SDLK_BACKQUOTE: return HGEK_GRAVE;
        case SDLK_KP_0: return 0x60;
        case SDLK_KP_MULTIPLY: return 0x6A;
        case SDLK_KP_PLUS: return 0x6B;
        case SDLK_KP_MINUS: return 0x6D;
        case SDLK_KP_PERIOD: return 0x6E;
        case SDLK_KP_DIVIDE: return 0x6F;
        case SDLK_SEMICOLON: return 0xBA;
        case SDLK_EQUALS: return 0xBB;
        case SDLK_COMMA: return 0xBC;
        case SDLK_MINUS: return 0xBD;
        case SDLK_PERIOD: return 0xBE;
        case SDLK_SLASH: return 0xBF;
        case SDLK_LEFTBRACKET: return 0xDB;
        case SDLK_BACKSLASH: return 0xDC;
        case SDLK_RIGHTBRACKET: return 0xDD;
        case SDLK_QUOTE: return 0xDE;
        default: return 0;
    }
}

int EngineButtonFromSdl(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return HGEK_LBUTTON;
        case SDL_BUTTON_RIGHT: return HGEK_RBUTTON;
        case SDL_BUTTON_MIDDLE: return HGEK_MBUTTON;
        default: return 0;
    }
}
