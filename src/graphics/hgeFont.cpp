#include "graphics/hgeFont.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "graphics/FontPictures.h"
#include "platform/AppLog.h"

namespace {

const char kFontHeader[] = "[HGEFONT]";
const size_t kMaxLine = 255;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The formatted text (cut to the buffer); empty without a format.
void FormatText(char* buffer, size_t size, const char* format, va_list args) {
    if (format) std::vsnprintf(buffer, size, format, args);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// " , %d": blanks, a comma, blanks, a decimal integer (held within int range).
bool ReadCommaInt(const std::string& s, size_t& p, int* out) {
    while (p < s.size() && IsSpace(s[p])) p++;
    if (p >= s.size() || s[p] != ',') return false;
    p++;
    while (p < s.size() && IsSpace(s[p])) p++;
    bool neg = false;
    if (p < s.size() && (s[p] == '-' || s[p] == '+')) neg = s[p++] == '-';
    if (p >= s.size() || s[p] < '0' || s[p] > '9') return false;
    long long v = 0;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
        if (v < 100000000) v = v * 10 + (s[p] - '0');
        p++;
    }
    *out = (int)(neg ? -v : v);
    return true;
}

}  // namespace

hgeFont::hgeFont(const char* filename, bool bMipmap, Build b) : hge(hgeCreate(HGE_VERSION)), build(b) {
    if (filename) Load(filename, bMipmap);
}

hgeFont::~hgeFont() {
    for (hgeSprite*& l : letters) {
        delete l;
        l = nullptr;
    }
    FontPictures::Release(hge, texture);
    hge->Release();
}

void hgeFont::Load(const char* filename, bool bMipmap) {
    DWORD size = 0;
    void* data = hge->Resource_Load(filename, &size);
    if (!data) {
        if (filename && *filename) AppLog::ReportFailure(filename, std::string("Font ") + filename + " not found.");
        return;
    }
    std::string copy(static_cast<const char*>(data), size);
    hge->Resource_Free(data);
    LoadFromMemory(copy.data(), copy.size(), filename, bMipmap);
}

void hgeFont::LoadFromMemory(const char* data, size_t size, const char* filename, bool bMipmap) {
    if (!data) return;
    if (!filename) filename = "";
    std::string desc(data, size);
    desc.resize(std::strlen(desc.c_str()));  // the text ends at a zero byte

    size_t pos = 0;
    auto nextLine = [&](std::string& line) {
        if (pos >= desc.size()) return false;
        size_t end = pos;
        while (end < desc.size() && desc[end] != '\r' && desc[end] != '\n') end++;
        line.assign(desc, pos, std::min(end - pos, kMaxLine));
        pos = end;
        while (pos < desc.size() && (desc[pos] == '\r' || desc[pos] == '\n')) pos++;
        return true;
    };

    std::string line;
    if (!nextLine(line) || line != kFontHeader) {
        hge->System_Log("Font %s has incorrect format.", filename);
        AppLog::ReportFailure(filename, std::string("Font ") + filename + " has incorrect format.");
        return;
    }

    while (nextLine(line)) {
        if (line.compare(0, 6, "Bitmap") == 0) {
            // "Bitmap = <word>", the word relative to the font file's folder.
            size_t p = 6;
            while (p < line.size() && IsSpace(line[p])) p++;
            std::string word;
            if (p < line.size() && line[p] == '=') {
                p++;
                while (p < line.size() && IsSpace(line[p])) p++;
                while (p < line.size() && !IsSpace(line[p])) word += line[p++];
            }
            std::string path(filename);
            size_t slash = path.rfind('\\');
            if (slash == std::string::npos) slash = path.rfind('/');
            path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + word;
            HTEXTURE tex = word.empty() ? 0 : FontPictures::Acquire(hge, path, bMipmap);
            if (!tex) return;
            FontPictures::Release(hge, texture);
            texture = tex;
            continue;
        }

        if (line.compare(0, 4, "Char") != 0) continue;
        size_t p = line.find('=');
        if (p == std::string::npos) continue;
        p++;
        while (p < line.size() && IsSpace(line[p])) p++;
        if (p >= line.size()) continue;

        unsigned code = 0;
        if (line[p] == '"') {
            if (p + 1 >= line.size()) continue;
            code = (unsigned char)line[p + 1];
            p += 2;
            if (p < line.size() && line[p] == '"') p++;
        } else {
            int digits = 0;
            for (int d; p < line.size() && (d = HexDigit(line[p])) >= 0; p++, digits++) {
                if (code <= 0xFFFF) code = code * 16 + (unsigned)d;
            }
            if (digits == 0) continue;
        }
        if (code > 0xFF) continue;

        int v[6];
        bool ok = true;
        for (int i = 0; i < 6 && ok; i++) ok = ReadCommaInt(line, p, &v[i]);
        if (!ok) continue;

        delete letters[code];
        letters[code] = new hgeSprite(texture, (float)v[0], (float)v[1], (float)v[2], (float)v[3]);
        letters[code]->SetColor(color);
        letters[code]->SetZ(z);
        letters[code]->SetBlendMode(blend);
        pre[code] = (float)v[4];
        post[code] = (float)v[5];
        height = std::max(height, (float)v[3]);
    }
}

// Text entities sharing a font set their own colour before every draw: the
// colour reaches a glyph when it is drawn, not all 256 glyphs at each call.
void hgeFont::SetColor(DWORD col) { color = col; }

void hgeFont::SetZ(float value) {
    z = value;
    for (hgeSprite* l : letters)
        if (l) l->SetZ(value);
}

void hgeFont::SetBlendMode(int mode) {
    blend = mode;
    for (hgeSprite* l : letters)
        if (l) l->SetBlendMode(mode);
}

hgeSprite* hgeFont::Letter(unsigned char c, unsigned char* code) const {
    if (!letters[c]) c = '?';
    *code = c;
    return letters[c];
}

float hgeFont::CharAdvance(unsigned char c) const {
    unsigned char code;
    hgeSprite* l = Letter(c, &code);
    if (!l) return 0.0f;
    return pre[code] + l->GetWidth() + post[code] + tracking;
}

float hgeFont::LineSum(const char* s) const {
    float w = 0.0f;
    for (; *s && *s != '\n'; s++) w += CharAdvance((unsigned char)*s);
    return w;
}

float hgeFont::GetLineWidth(const char* string) const {
    if (!string) return 0.0f;
    float w = LineSum(string) * scale * proportion;
    return w < 0.0f ? 0.0f : w;
}

float hgeFont::GetStringWidth(const char* string, bool bMultiline) const {
    if (!string) return 0.0f;
    if (!bMultiline) return LineSum(string) * scale * proportion;
    float widest = LineSum(string);
    for (const char* s = string;;) {
        while (*s && *s != '\n') s++;
        while (*s == '\n' || *s == '\r') s++;
        if (!*s) break;
        widest = std::max(widest, LineSum(s));
    }
    return widest * scale * proportion;
}

float hgeFont::AlignWidth(const char* s) const {
    return build == BUILD_REGISTRY ? GetLineWidth(s) : GetStringWidth(s, false);
}

float hgeFont::WholeNumber(float v) const { return build == BUILD_REGISTRY ? std::trunc(v) : std::round(v); }

void hgeFont::Render(float x, float y, int align, const char* string) {
    if (!string) return;
    int halign = align & HGETEXT_HORZMASK;
    auto lineStart = [&](const char* s) {
        if (halign == HGETEXT_RIGHT) return x - AlignWidth(s);
        if (halign == HGETEXT_CENTER) return x - WholeNumber(AlignWidth(s) / 2.0f);
        return x;
    };
    const float sx = scale * proportion;
    float step = scale * height * spacing;
    step = build == BUILD_REGISTRY ? std::fabs(std::trunc(step)) : std::round(step);
    const float c = std::cos(rotation), s = std::sin(rotation);

    float startX = lineStart(string);
    float pen = 0.0f;
    for (const char* p = string; *p; p++) {
        if (*p == '\n') {
            y += step;
            startX = lineStart(p + 1);
            pen = 0.0f;
            continue;
        }
        unsigned char code;
        hgeSprite* l = Letter((unsigned char)*p, &code);
        if (!l) continue;
        float d = pen + pre[code] * sx;
        l->SetColor(color);
        if (build == BUILD_REGISTRY)
            l->RenderEx(std::trunc(startX + d * c), std::trunc(y + d * s), rotation, sx, scale);
        else
            l->RenderEx(startX + d, y, rotation, sx, scale);
        pen = d + (post[code] + l->GetWidth() + tracking) * sx;
    }
}

void hgeFont::printf(float x, float y, int align, const char* format, ...) {
    char buffer[BUFFER_SIZE] = "";
    va_list args;
    va_start(args, format);
    FormatText(buffer, sizeof buffer, format, args);
    va_end(args);
    Render(x, y, align, buffer);
}

void hgeFont::printfb(float x, float y, float w, float h, int align, const char* format, ...) {
    char buffer[BUFFER_SIZE] = "";
    va_list args;
    va_start(args, format);
    FormatText(buffer, sizeof buffer, format, args);
    va_end(args);
    RenderBox(x, y, w, h, align, buffer);
}

int hgeFont::WrapText(char* text, float w) const {
    // Word by word: a line that grows wider than the box breaks at the blank
    // before the word that overflowed; a first word that is wider than the box on
    // its own keeps its line and the text after it moves on. Every line break
    // counts once.
    if (!text) return 0;
    int lines = 0;
    char* lineStart = text;
    char* prevBlank = nullptr;
    char* p = text;
    for (;;) {
        size_t i = 0;
        while (p[i] && p[i] != ' ' && p[i] != '\n') i++;
        char saved = p[i];
        p[i] = '\0';
        float lw = AlignWidth(lineStart);
        p[i] = saved;

        if (lw > w) {
            if (p == lineStart) {
                if (p[i]) p[i] = '\n';  // counted below as the line break it now is
            } else {
                *prevBlank = '\n';
                lineStart = prevBlank + 1;
                lines++;
            }
        }
        if (p[i] == '\n') {
            lines++;
            p += i + 1;
            lineStart = p;
            continue;
        }
        if (!p[i]) return lines + 1;
        prevBlank = p + i;
        p += i + 1;
    }
}

void hgeFont::RenderBox(float x, float y, float w, float h, int align, char* text) {
    int lines = WrapText(text, w);
    float textHeight = spacing * height * scale * lines;
    switch (align & HGETEXT_HORZMASK) {
        case HGETEXT_RIGHT:
            x += w;
            break;
        case HGETEXT_CENTER:
            x = WholeNumber(x + w * 0.5f);
            break;
        default:
            break;
    }
    switch (align & HGETEXT_VERTMASK) {
        case HGETEXT_BOTTOM:
            y += h - textHeight;
            break;
        case HGETEXT_MIDDLE:
            y = WholeNumber(y + (h - textHeight) * 0.5f);
            break;
        default:
            break;
    }
    Render(x, y, align, text);
}
