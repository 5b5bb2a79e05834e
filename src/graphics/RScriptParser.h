// Tokenizer of the resource script, one token per request. Keywords match as
// case-sensitive prefixes of the text at the read position; numbers run on into
// hexadecimal letters (unquoted colours); ';' starts a comment to the line end.
// Errors are reported as one System_Log line:
// "<script>, line <n>: <first part>'<token>'<second part>".
#pragma once

#include <string>

#include "platform/hge.h"

enum {
    TTNONE,
    TTEND,
    TTNUMBER,
    TTSTRING,

    TTEQUALS,
    TTBASED,
    TTSEPARATOR,
    TTOPENBLOCK,
    TTCLOSEBLOCK,

    TTBOOL,  // "true" and "false"

    TTRES__FIRST,
    TTRES_INCLUDE = TTRES__FIRST,
    TTRES_RESOURCE,
    TTRES_TEXTURE,
    TTRES_SOUND,
    TTRES_MUSIC,
    TTRES_STREAM,
    TTRES_TARGET,
    TTRES_SPRITE,
    TTRES_ANIMATION,
    TTRES_FONT,
    TTRES_PARTICLE,
    TTRES_DISTORT,
    TTRES_STRTABLE,
    TTRES__LAST = TTRES_STRTABLE,

    TTPAR__FIRST,
    TTPAR_FILENAME = TTPAR__FIRST,
    TTPAR_RESGROUP,
    TTPAR_MIPMAP,
    TTPAR_AMPLIFY,
    TTPAR_SIZE,
    TTPAR_ZBUFFER,
    TTPAR_TEXTURE,
    TTPAR_RECT,
    TTPAR_HOTSPOT,
    TTPAR_BLENDMODE,
    TTPAR_COLOR,
    TTPAR_ZORDER,
    TTPAR_FLIP,
    TTPAR_SCALE,
    TTPAR_PROPORTION,
    TTPAR_ROTATION,
    TTPAR_FRAMES,
    TTPAR_FPS,
    TTPAR_MODE,
    TTPAR_TRACKING,
    TTPAR_SPACING,
    TTPAR_SPRITE,
    TTPAR_MESH,
    TTPAR__LAST = TTPAR_MESH,

    TTCON__FIRST,
    TTCON_COLORMUL = TTCON__FIRST,
    TTCON_COLORADD,
    TTCON_ALPHABLND,
    TTCON_ALPHAADD,
    TTCON_ZWRITE,
    TTCON_NOZWRITE,
    TTCON_FORWARD,
    TTCON_REVERSE,
    TTCON_PINGPONG,
    TTCON_NOPINGPONG,
    TTCON_LOOP,
    TTCON_NOLOOP,
    TTCON_CIRCLE,
    TTCON_RECT,
    TTCON_ALPHA,
    TTCON__LAST = TTCON_ALPHA
};

class RScriptParser {
public:
    // The text ends at its first zero byte or after size bytes.
    RScriptParser(const std::string& scriptName, const char* script, size_t size);
    ~RScriptParser();
    RScriptParser(const RScriptParser&) = delete;
    RScriptParser& operator=(const RScriptParser&) = delete;

    int get_token();
    // Moves the read position back to the start of the last token read.
    void put_back();

    int tokentype = TTNONE;
    const std::string& tkn_string() const { return tokenvalue; }
    // atoi: blanks, a sign, decimal digits; 0 without digits (held to int range).
    int tkn_int() const;
    float tkn_float() const;
    // True when the text begins with 't' or 'T'.
    bool tkn_bool() const;
    // Hexadecimal digits, 4 bits each, the last eight kept.
    DWORD tkn_hex() const;

    bool IsResourceWord() const { return tokentype >= TTRES__FIRST && tokentype <= TTRES__LAST; }
    bool IsParameterWord() const { return tokentype >= TTPAR__FIRST && tokentype <= TTPAR__LAST; }

    void ScriptPostError(const char* msg1, const char* msg2);

    int GetLine() const { return line; }

private:
    HGE* hge;
    std::string name;
    std::string text;
    size_t pos = 0;
    size_t tokenStart = 0;
    int line = 1;
    int tokenLine = 1;
    std::string tokenvalue;
};
