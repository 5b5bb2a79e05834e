// SDL key and mouse-button codes to the engine's key codes.
#pragma once

#include <SDL.h>

// 0 for keys the engine has no code for.
int EngineKeyFromSdl(SDL_Keycode key);
int EngineButtonFromSdl(Uint8 button);
