// Text inside the game is Windows-1250, one byte a character; UTF-8 appears only
// at the system boundary (window title, typed characters, input scripts).
#pragma once

#include <string>

// Typed text: characters Windows-1250 lacks (Cyrillic, emoji) are refused, left
// out rather than turned into "?"; malformed bytes are skipped.
std::string TypedToCp1250(const std::string& utf8);
std::string Cp1250ToUtf8(const std::string& text);
// The Windows-1250 byte of one code point, 0 when it has none.
unsigned char CodePointToCp1250(unsigned codePoint);
