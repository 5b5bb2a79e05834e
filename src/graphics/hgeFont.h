// Bitmap font: one texture and up to 256 letter sprites cut from it, described by
// an "[HGEFONT]" text file. Text is 8-bit (Windows-1250): glyphs are indexed by
// unsigned byte.
//
// Two builds share the data and the file format and differ in how letters are
// placed: the registry build (fonts of the font registry, used by text widgets
// and screens) and the resource build (the resource manager's "Font" resources,
// used by button captions and list boxes).
#pragma once

#include <cstddef>

#include "graphics/hgeSprite.h"
#include "platform/hge.h"

#define HGETEXT_LEFT 0
#define HGETEXT_RIGHT 1
#define HGETEXT_CENTER 2
#define HGETEXT_HORZMASK 0x03
#define HGETEXT_TOP 0
#define HGETEXT_BOTTOM 4
#define HGETEXT_MIDDLE 8
#define HGETEXT_VERTMASK 0x0C

class hgeFont {
public:
    enum Build { BUILD_REGISTRY, BUILD_RESOURCE };

    // A missing file gives an empty font that draws nothing; a file whose first
    // line is not "[HGEFONT]" is logged and gives an empty font.
    hgeFont(const char* filename, bool bMipmap = false, Build build = BUILD_REGISTRY);
    ~hgeFont();
    hgeFont(const hgeFont&) = delete;
    hgeFont& operator=(const hgeFont&) = delete;

    // Reads a font description held in memory; filename names the file for the
    // log and is the folder the bitmap is taken from. Meant for an empty font.
    void LoadFromMemory(const char* data, size_t size, const char* filename, bool bMipmap = false);

    void Render(float x, float y, int align, const char* string);
    void printf(float x, float y, int align, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 5, 6)))
#endif
        ;
    // Wraps the text into the box (x, y, w, h) and aligns it there.
    void printfb(float x, float y, float w, float h, int align, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 7, 8)))
#endif
        ;

    void SetColor(DWORD col);
    void SetZ(float value);
    void SetBlendMode(int mode);
    void SetScale(float value) { scale = value; }
    void SetProportion(float value) { proportion = value; }
    void SetRotation(float value) { rotation = value; }
    void SetTracking(float value) { tracking = value; }
    void SetSpacing(float value) { spacing = value; }

    DWORD GetColor() const { return color; }
    int GetBlendMode() const { return blend; }
    float GetScale() const { return scale; }
    float GetProportion() const { return proportion; }
    float GetRotation() const { return rotation; }
    float GetTracking() const { return tracking; }
    float GetSpacing() const { return spacing; }
    float GetHeight() const { return height; }

    // A glyph takes the font's colour when it is drawn.
    hgeSprite* GetSprite(char chr) const { return letters[(unsigned char)chr]; }
    float GetPreWidth(char chr) const { return pre[(unsigned char)chr]; }

    // Width of the text up to its first line break; never negative.
    float GetLineWidth(const char* string) const;
    // The first line (unclamped), or with bMultiline the widest line.
    float GetStringWidth(const char* string, bool bMultiline = true) const;

    // Wraps the text in place into lines no wider than w (as printfb does):
    // blanks become line breaks. Returns the number of lines.
    int WrapText(char* text, float w) const;

    // Longest text that printf and printfb format.
    static const int BUFFER_SIZE = 1024;

private:
    void Load(const char* filename, bool bMipmap);
    // The letter drawn for a character ('?' stands in for a missing one); null
    // when neither exists. code receives the index whose pre/post apply.
    hgeSprite* Letter(unsigned char c, unsigned char* code) const;
    float CharAdvance(unsigned char c) const;
    float LineSum(const char* s) const;
    float AlignWidth(const char* s) const;
    float WholeNumber(float v) const;
    void RenderBox(float x, float y, float w, float h, int align, char* text);

    HGE* hge;
    Build build;
    HTEXTURE texture = 0;
    hgeSprite* letters[256] = {};
    float pre[256] = {};
    float post[256] = {};
    float height = 0;
    float scale = 1.0f;
    float proportion = 1.0f;
    float rotation = 0;
    float tracking = 0;
    float spacing = 1.0f;
    DWORD color = 0xFFFFFFFF;
    float z = 0.5f;
    int blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE;
};
