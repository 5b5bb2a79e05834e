// The rules for typing a player's name: one typed character a frame, as the
// engine gives it (a Windows-1250 byte, or a Unicode code point above 255).
#pragma once

#include <cstddef>
#include <string>

namespace NameInput {

// Longest player name, in characters (bytes of the 8-bit text).
const size_t kMaxLength = 16;

// The byte a typed character adds to a name, or 0 when it adds nothing: only
// printable characters count. Control characters (Enter 13 and Escape 27
// among them, backspace 8 too) and DEL give 0, as do the byte values
// Windows-1250 leaves undefined and code points it cannot show.
unsigned char PrintableByte(int typed);

// Applies one typed character to the name: 8 erases the last character,
// a printable one is appended while the name is shorter than the limit.
// Returns whether the name changed.
bool Apply(std::string& name, int typed, size_t limit = kMaxLength);

}  // namespace NameInput
