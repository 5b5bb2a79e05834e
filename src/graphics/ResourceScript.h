// Reading a resource script into a manager: the top script, the scripts it
// includes and every resource block. Errors are logged through the parser and
// reading goes on; a script is never rejected as a whole.
#pragma once

#include <cstddef>

class hgeResourceManager;

// Loads the named script through the engine's resource loader and reads it;
// "Script '<name>' not found." in the log when it cannot be loaded.
void ReadResourceScript(hgeResourceManager* rm, const char* scriptname);

// Reads a top script given as text (includes are still loaded as files).
void ReadResourceScriptText(hgeResourceManager* rm, const char* scriptname, const char* text, size_t size);
