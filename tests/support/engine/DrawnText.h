// The letters a font drew, read back from the quads it drew: each quad that
// shows one of the font's letters counts as that letter, in drawing order.
// Blanks and line breaks draw nothing that can be read, so texts are compared
// by their Ink.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "graphics/hgeFont.h"
#include "support/engine/RecordedQuads.h"

// The text without its blanks and line breaks.
inline std::string Ink(const std::string& text) {
    std::string ink;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') ink += c;
    return ink;
}

inline std::string LettersDrawn(const std::vector<RenderStats::RecordedQuad>& drawn, hgeFont* font) {
    std::vector<std::pair<hgeQuad, char>> looks;
    for (int code = 1; font && code < 256; ++code) {
        const char c = char(code);
        if (Ink(std::string(1, c)).empty()) continue;
        if (hgeSprite* letter = font->GetSprite(c)) looks.emplace_back(LookOf(letter), c);
    }
    std::string text;
    for (const RenderStats::RecordedQuad& quad : drawn) {
        const hgeQuad& q = quad.quad;
        for (const auto& [look, c] : looks) {
            if (q.tex == look.tex && q.v[0].tx == look.v[0].tx && q.v[0].ty == look.v[0].ty &&
                q.v[2].tx == look.v[2].tx && q.v[2].ty == look.v[2].ty) {
                text += c;
                break;
            }
        }
    }
    return text;
}

// The picture a font's letters are cut from; 0 when it has no letter.
inline HTEXTURE TextureOf(const hgeFont* font) {
    for (int code = 0; font && code < 256; ++code)
        if (hgeSprite* letter = font->GetSprite(char(code))) return letter->GetTexture();
    return 0;
}
