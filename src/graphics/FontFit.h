// Text from editable files (player names) drawn in a box of fixed width: one
// line, line breaks and other control characters as blanks, cut at the end to
// the width at the font's current scale.
#pragma once

#include <string>

class hgeFont;

std::string FitLine(const hgeFont& font, const std::string& text, float width);
