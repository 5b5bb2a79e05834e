// Names of the engine's key codes, for Input_GetKeyName.
#pragma once

// "?" for codes without a name.
const char* KeyName(int key);
