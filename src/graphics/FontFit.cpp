#include "graphics/FontFit.h"

#include "graphics/hgeFont.h"

std::string FitLine(const hgeFont& font, const std::string& text, float width) {
    std::string line = text;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (font.GetStringWidth(line.c_str(), false) <= width) return line;
    // The longest start that fits (names may run to thousands of characters).
    size_t fits = 0, tooLong = line.size();
    while (tooLong - fits > 1) {
        const size_t mid = fits + (tooLong - fits) / 2;
        if (font.GetStringWidth(line.substr(0, mid).c_str(), false) <= width)
            fits = mid;
        else
            tooLong = mid;
    }
    return line.substr(0, fits);
}
