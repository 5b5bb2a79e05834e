#include "support/runtime/WrappedText.h"

#include <algorithm>

#include "graphics/hgeFont.h"

WrappedText WrapAsDrawn(const hgeFont& font, const std::string& text, float width) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    const int count = font.WrapText(buffer.data(), width);
    WrappedText wrapped;
    std::string line;
    for (const char* p = buffer.data();; ++p) {
        if (*p && *p != '\n') {
            line += *p;
            continue;
        }
        wrapped.widest = std::max(wrapped.widest, font.GetLineWidth(line.c_str()));
        wrapped.lines.push_back(line);
        line.clear();
        if (!*p) break;
    }
    wrapped.height = float(count) * font.GetHeight() * font.GetSpacing() * font.GetScale();
    return wrapped;
}
