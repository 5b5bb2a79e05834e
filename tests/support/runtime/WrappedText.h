// A text wrapped into a box as the font draws it there (hgeFont::printfb),
// with the font's scale, tracking and spacing as they are set: its lines, the
// widest of them and the height they take. For the text-fit tests.
#pragma once

#include <string>
#include <vector>

class hgeFont;

struct WrappedText {
    std::vector<std::string> lines;
    float widest = 0.0f;
    float height = 0.0f;
};

WrappedText WrapAsDrawn(const hgeFont& font, const std::string& text, float width);
