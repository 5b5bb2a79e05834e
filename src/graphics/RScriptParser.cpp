#include "graphics/RScriptParser.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/AppLog.h"

namespace {

struct Keyword {
    const char* word;
    int type;
};

// Matching order matters: the first keyword that prefixes the text wins.
const Keyword kKeywords[] = {
    {"=", TTEQUALS},           {":", TTBASED},
    {",", TTSEPARATOR},        {"{", TTOPENBLOCK},
    {"}", TTCLOSEBLOCK},       {"true", TTBOOL},
    {"false", TTBOOL},

    {"Include", TTRES_INCLUDE},       {"Resource", TTRES_RESOURCE},
    {"Texture", TTRES_TEXTURE},       {"Sound", TTRES_SOUND},
    {"Music", TTRES_MUSIC},           {"Stream", TTRES_STREAM},
    {"Target", TTRES_TARGET},         {"Sprite", TTRES_SPRITE},
    {"Animation", TTRES_ANIMATION},   {"Font", TTRES_FONT},
    {"Particle", TTRES_PARTICLE},     {"Distortion", TTRES_DISTORT},
    {"StringTable", TTRES_STRTABLE},

    {"filename", TTPAR_FILENAME},     {"resgroup", TTPAR_RESGROUP},
    {"mipmap", TTPAR_MIPMAP},         {"amplify", TTPAR_AMPLIFY},
    {"size", TTPAR_SIZE},             {"zbuffer", TTPAR_ZBUFFER},
    {"texture", TTPAR_TEXTURE},       {"rect", TTPAR_RECT},
    {"hotspot", TTPAR_HOTSPOT},       {"blendmode", TTPAR_BLENDMODE},
    {"color", TTPAR_COLOR},           {"zorder", TTPAR_ZORDER},
    {"flip", TTPAR_FLIP},             {"scale", TTPAR_SCALE},
    {"proportion", TTPAR_PROPORTION}, {"rotation", TTPAR_ROTATION},
    {"frames", TTPAR_FRAMES},         {"fps", TTPAR_FPS},
    {"mode", TTPAR_MODE},             {"tracking", TTPAR_TRACKING},
    {"spacing", TTPAR_SPACING},       {"sprite", TTPAR_SPRITE},
    {"mesh", TTPAR_MESH},

    {"COLORMUL", TTCON_COLORMUL},     {"COLORADD", TTCON_COLORADD},
    {"ALPHABLEND", TTCON_ALPHABLND},  {"ALPHAADD", TTCON_ALPHAADD},
    {"ZWRITE", TTCON_ZWRITE},         {"NOZWRITE", TTCON_NOZWRITE},
    {"FORWARD", TTCON_FORWARD},       {"REVERSE", TTCON_REVERSE},
    {"PINGPONG", TTCON_PINGPONG},     {"NOPINGPONG", TTCON_NOPINGPONG},
    {"LOOP", TTCON_LOOP},             {"NOLOOP", TTCON_NOLOOP},
    {"CIRCLE", TTCON_CIRCLE},         {"RECT", TTCON_RECT},
    {"ALPHA", TTCON_ALPHA},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexLetter(char c) { return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsDelimiter(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == '=' || c == '{' || c == '}' ||
           c == ':' || c == '\0';
}

}  // namespace

RScriptParser::RScriptParser(const std::string& scriptName, const char* script, size_t size)
    : hge(hgeCreate(HGE_VERSION)), name(scriptName) {
    if (script) {
        text.assign(script, size);
        text.resize(std::strlen(text.c_str()));
    }
}

RScriptParser::~RScriptParser() { hge->Release(); }

int RScriptParser::get_token() {
    const char* s = text.c_str();  // zero-terminated: s[text.size()] == 0

    // Blanks, line breaks and comments.
    for (;;) {
        char c = s[pos];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (c == '\n') line++;
            pos++;
        } else if (c == ';') {
            while (s[pos] && s[pos] != '\r' && s[pos] != '\n') pos++;
        } else {
            break;
        }
    }

    tokenStart = pos;
    tokenLine = line;
    tokenvalue.clear();

    char c = s[pos];
    if (!c) {
        tokentype = TTEND;
        return tokentype;
    }

    if (IsDigit(c) || c == '.' || c == '-') {
        tokentype = TTNUMBER;
        while (IsDigit(s[pos]) || s[pos] == '.' || s[pos] == '-') tokenvalue += s[pos++];
        if (IsHexLetter(s[pos])) {
            tokentype = TTSTRING;
            while (IsHexLetter(s[pos])) tokenvalue += s[pos++];
        }
        return tokentype;
    }

    if (c == '"') {
        tokentype = TTSTRING;
        pos++;
        while (s[pos] && s[pos] != '"' && s[pos] != '\r' && s[pos] != '\n') tokenvalue += s[pos++];
        if (s[pos] == '"') pos++;
        return tokentype;
    }

    for (const Keyword& kw : kKeywords) {
        size_t len = std::strlen(kw.word);
        if (std::strncmp(s + pos, kw.word, len) == 0) {
            tokentype = kw.type;
            tokenvalue = kw.word;
            pos += len;
            return tokentype;
        }
    }

    tokentype = TTSTRING;
    while (!IsDelimiter(s[pos])) tokenvalue += s[pos++];
    return tokentype;
}

void RScriptParser::put_back() {
    pos = tokenStart;
    line = tokenLine;
}

int RScriptParser::tkn_int() const {
    long v = std::strtol(tokenvalue.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return (int)v;
}

float RScriptParser::tkn_float() const { return std::strtof(tokenvalue.c_str(), nullptr); }

bool RScriptParser::tkn_bool() const { return !tokenvalue.empty() && (tokenvalue[0] == 't' || tokenvalue[0] == 'T'); }

DWORD RScriptParser::tkn_hex() const {
    DWORD v = 0;
    for (unsigned char c : tokenvalue) {
        int d = c;
        if (d >= 'a') d -= 39;
        if (d >= 'A') d -= 7;
        d -= '0';
        if (d < 0 || d > 15) d = 15;
        v = (v << 4) | (DWORD)d;
    }
    return v;
}

void RScriptParser::ScriptPostError(const char* msg1, const char* msg2) {
    const std::string text = name + ", line " + std::to_string(line) + ": " + msg1 + "'" +
                             (tokenvalue.empty() ? "<EOF>" : tokenvalue) + "'" + msg2;
    hge->System_Log("%s", text.c_str());
    AppLog::ReportFailure(text, text);
}
