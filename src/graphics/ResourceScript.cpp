#include "graphics/ResourceScript.h"

#include <memory>
#include <string>

#include "graphics/RScriptParser.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/hgeResourceManager.h"
#include "platform/AppLog.h"

namespace {

class ScriptReader {
public:
    explicit ScriptReader(hgeResourceManager* manager) : rm(manager), hge(hgeCreate(HGE_VERSION)) {}
    ~ScriptReader() { hge->Release(); }

    void ReadFile(const std::string& name, RScriptParser* including);
    void ReadText(const std::string& name, const char* text, size_t size);

private:
    void ParseResource(RScriptParser& sp, int type, const std::string& name, const ResDesc* base);
    bool FindNextParam(RScriptParser& sp);
    bool ReadParam(RScriptParser& sp, int type, ResDesc* desc);
    static void SkipToResource(RScriptParser& sp);

    hgeResourceManager* rm;
    HGE* hge;
};

// Each value is preceded by its own separator token ("=" or ","), whatever it is.
RScriptParser& NextValue(RScriptParser& sp) {
    sp.get_token();
    sp.get_token();
    return sp;
}
std::string NextString(RScriptParser& sp) { return NextValue(sp).tkn_string(); }
int NextInt(RScriptParser& sp) { return NextValue(sp).tkn_int(); }
float NextFloat(RScriptParser& sp) { return NextValue(sp).tkn_float(); }
bool NextBool(RScriptParser& sp) { return NextValue(sp).tkn_bool(); }
DWORD NextColor(RScriptParser& sp) { return NextValue(sp).tkn_hex(); }

void SetBit(int* value, int bit, bool on) { *value = on ? (*value | bit) : (*value & ~bit); }

// A list of words, each after a "=" or ",". A word changes one bit.
template <class Apply>
void ReadWordList(RScriptParser& sp, Apply apply) {
    sp.get_token();
    do {
        sp.get_token();
        if (!apply(sp.tokentype)) sp.ScriptPostError("Unsupported value ", ".");
        sp.get_token();
    } while (sp.tokentype == TTEQUALS || sp.tokentype == TTSEPARATOR);
    sp.put_back();
}

void ReadBlendMode(RScriptParser& sp, int* blend) {
    ReadWordList(sp, [blend](int word) {
        switch (word) {
            case TTCON_COLORMUL: SetBit(blend, BLEND_COLORADD, false); return true;
            case TTCON_COLORADD: SetBit(blend, BLEND_COLORADD, true); return true;
            case TTCON_ALPHABLND: SetBit(blend, BLEND_ALPHABLEND, true); return true;
            case TTCON_ALPHAADD: SetBit(blend, BLEND_ALPHABLEND, false); return true;
            case TTCON_ZWRITE: SetBit(blend, BLEND_ZWRITE, true); return true;
            case TTCON_NOZWRITE: SetBit(blend, BLEND_ZWRITE, false); return true;
            default: return false;
        }
    });
}

void ReadAnimMode(RScriptParser& sp, int* mode) {
    ReadWordList(sp, [mode](int word) {
        switch (word) {
            case TTCON_FORWARD: SetBit(mode, 1, false); return true;
            case TTCON_REVERSE: SetBit(mode, 1, true); return true;
            case TTCON_PINGPONG: SetBit(mode, 2, true); return true;
            case TTCON_NOPINGPONG: SetBit(mode, 2, false); return true;
            case TTCON_LOOP: SetBit(mode, 4, true); return true;
            case TTCON_NOLOOP: SetBit(mode, 4, false); return true;
            default: return false;
        }
    });
}

// How a sprite, a distortion mesh or a font is drawn: blending, colour and depth.
template <class Desc>
bool ReadLookParam(RScriptParser& sp, Desc* d) {
    switch (sp.tokentype) {
        case TTPAR_BLENDMODE: ReadBlendMode(sp, &d->blend); return true;
        case TTPAR_COLOR: d->color = NextColor(sp); return true;
        case TTPAR_ZORDER: d->z = NextFloat(sp); return true;
        default: return false;
    }
}

// A textured area (sprites, animations, distortion meshes): its group, its
// texture and rectangle, and how it is drawn.
template <class Desc>
bool ReadAreaParam(RScriptParser& sp, Desc* d) {
    switch (sp.tokentype) {
        case TTPAR_RESGROUP: d->resgroup = NextInt(sp); return true;
        case TTPAR_TEXTURE: d->texname = NextString(sp); return true;
        case TTPAR_RECT:
            d->tx = NextFloat(sp);
            d->ty = NextFloat(sp);
            d->w = NextFloat(sp);
            d->h = NextFloat(sp);
            return true;
        default: return ReadLookParam(sp, d);
    }
}

// Parameters of a sprite, shared by animations.
bool ReadSpriteParam(RScriptParser& sp, RSprite* d) {
    switch (sp.tokentype) {
        case TTPAR_HOTSPOT:
            d->hotx = NextFloat(sp);
            d->hoty = NextFloat(sp);
            return true;
        case TTPAR_FLIP:
            d->bXFlip = NextBool(sp);
            d->bYFlip = NextBool(sp);
            return true;
        default: return ReadAreaParam(sp, d);
    }
}

bool ReadFileParam(RScriptParser& sp, ResDesc* d, std::string* filename) {
    switch (sp.tokentype) {
        case TTPAR_FILENAME: *filename = NextString(sp); return true;
        case TTPAR_RESGROUP: d->resgroup = NextInt(sp); return true;
        default: return false;
    }
}

void ScriptReader::ReadFile(const std::string& name, RScriptParser* including) {
    // Each script is read once.
    if (rm->FindRes(RES_SCRIPT, name.c_str())) {
        if (including) including->ScriptPostError("Script ", " already has been parsed.");
        return;
    }
    DWORD size = 0;
    void* data = hge->Resource_Load(name.c_str(), &size);
    if (!data) {
        if (including) {
            including->ScriptPostError("Script ", " not found.");
        } else {
            hge->System_Log("Script '%s' not found.", name.c_str());
            AppLog::ReportFailure(name, "Script '" + name + "' not found.");
        }
        return;
    }
    std::string text(static_cast<const char*>(data), size);
    hge->Resource_Free(data);
    ReadText(name, text.data(), text.size());
}

void ScriptReader::ReadText(const std::string& name, const char* text, size_t size) {
    RScript* script = new RScript();
    script->name = name;
    rm->AddRes(RES_SCRIPT, script);
    RScriptParser sp(name, text, size);

    sp.get_token();
    while (sp.tokentype != TTEND) {
        if (sp.tokentype == TTRES_INCLUDE) {
            sp.get_token();
            ReadFile(sp.tkn_string(), &sp);
            sp.get_token();
            continue;
        }
        if (!sp.IsResourceWord()) {
            sp.ScriptPostError("Unrecognized resource specificator ", ".");
            SkipToResource(sp);
            continue;
        }

        int type = sp.tokentype - TTRES__FIRST;
        sp.get_token();
        std::string resName = sp.tkn_string();
        if (rm->FindRes(type, resName.c_str())) {
            sp.ScriptPostError("Resource ", " of the same type already has been defined.");
            SkipToResource(sp);
            continue;
        }

        const ResDesc* base = nullptr;
        sp.get_token();
        if (sp.tokentype == TTBASED) {
            sp.get_token();
            base = rm->FindRes(type, sp.tkn_string().c_str());
            if (!base) sp.ScriptPostError("Base resource ", " is not defined.");
            sp.get_token();
        }

        if (sp.tokentype == TTOPENBLOCK) {
            ParseResource(sp, type, resName, base);
            sp.get_token();
        } else {
            sp.ScriptPostError("Illegal resource syntax, ", " found; '{' expected.");
            SkipToResource(sp);
        }
    }
}

void ScriptReader::SkipToResource(RScriptParser& sp) {
    // Leaves the resource word (or the end) as the current token.
    do {
        sp.get_token();
    } while (sp.tokentype != TTEND && !sp.IsResourceWord());
}

bool ScriptReader::FindNextParam(RScriptParser& sp) {
    sp.get_token();
    if (sp.tokentype == TTCLOSEBLOCK) return false;
    if (sp.tokentype == TTEND || sp.IsResourceWord()) {
        sp.ScriptPostError("'}' missed, ", " encountered.");
        sp.put_back();
        return false;
    }
    return true;
}

bool ScriptReader::ReadParam(RScriptParser& sp, int type, ResDesc* desc) {
    switch (type) {
        case RES_RESOURCE: return ReadFileParam(sp, desc, &static_cast<RResource*>(desc)->filename);
        case RES_EFFECT: return ReadFileParam(sp, desc, &static_cast<REffect*>(desc)->filename);
        case RES_STREAM: return ReadFileParam(sp, desc, &static_cast<RStream*>(desc)->filename);
        case RES_STRTABLE: return ReadFileParam(sp, desc, &static_cast<RStringTable*>(desc)->filename);
        case RES_TEXTURE: {
            RTexture* d = static_cast<RTexture*>(desc);
            if (sp.tokentype == TTPAR_MIPMAP) {
                d->mipmap = NextBool(sp);
                return true;
            }
            return ReadFileParam(sp, desc, &d->filename);
        }
        case RES_MUSIC: {
            RMusic* d = static_cast<RMusic*>(desc);
            if (sp.tokentype == TTPAR_AMPLIFY) {
                d->amplify = NextInt(sp);
                return true;
            }
            return ReadFileParam(sp, desc, &d->filename);
        }
        case RES_TARGET: {
            RTarget* d = static_cast<RTarget*>(desc);
            switch (sp.tokentype) {
                case TTPAR_RESGROUP: d->resgroup = NextInt(sp); return true;
                case TTPAR_SIZE:
                    d->width = NextInt(sp);
                    d->height = NextInt(sp);
                    return true;
                case TTPAR_ZBUFFER: d->zbuffer = NextBool(sp); return true;
                default: return false;
            }
        }
        case RES_SPRITE: return ReadSpriteParam(sp, static_cast<RSprite*>(desc));
        case RES_ANIMATION: {
            RAnimation* d = static_cast<RAnimation*>(desc);
            switch (sp.tokentype) {
                case TTPAR_FRAMES: d->frames = NextInt(sp); return true;
                case TTPAR_FPS: d->fps = NextFloat(sp); return true;
                case TTPAR_MODE: ReadAnimMode(sp, &d->mode); return true;
                default: return ReadSpriteParam(sp, d);
            }
        }
        case RES_FONT: {
            RFont* d = static_cast<RFont*>(desc);
            switch (sp.tokentype) {
                case TTPAR_MIPMAP: d->mipmap = NextBool(sp); return true;
                case TTPAR_SCALE: d->scale = NextFloat(sp); return true;
                case TTPAR_PROPORTION: d->proportion = NextFloat(sp); return true;
                case TTPAR_ROTATION: d->rotation = NextFloat(sp); return true;
                case TTPAR_TRACKING: d->tracking = NextFloat(sp); return true;
                case TTPAR_SPACING: d->spacing = NextFloat(sp); return true;
                default: return ReadLookParam(sp, d) || ReadFileParam(sp, desc, &d->filename);
            }
        }
        case RES_PARTICLE: {
            RParticle* d = static_cast<RParticle*>(desc);
            if (sp.tokentype == TTPAR_SPRITE) {
                d->spritename = NextString(sp);
                return true;
            }
            return ReadFileParam(sp, desc, &d->filename);
        }
        case RES_DISTORT: {
            RDistort* d = static_cast<RDistort*>(desc);
            if (sp.tokentype == TTPAR_MESH) {
                d->cols = NextInt(sp);
                d->rows = NextInt(sp);
                return true;
            }
            return ReadAreaParam(sp, d);
        }
        default: return false;
    }
}

void ScriptReader::ParseResource(RScriptParser& sp, int type, const std::string& name, const ResDesc* base) {
    std::unique_ptr<ResDesc> desc(MakeResDesc(type, base));
    if (!desc) return;
    desc->name = name;
    desc->handle = 0;

    while (FindNextParam(sp)) {
        if (!ReadParam(sp, type, desc.get())) {
            sp.ScriptPostError("Unsupported resource parameter ", ".");
            do {
                sp.get_token();
            } while (sp.tokentype != TTEND && sp.tokentype != TTCLOSEBLOCK && !sp.IsParameterWord() &&
                     !sp.IsResourceWord());
            sp.put_back();
        }
    }
    rm->AddRes(type, desc.release());
}

}  // namespace

void ReadResourceScript(hgeResourceManager* rm, const char* scriptname) {
    if (!rm || !scriptname) return;
    ScriptReader reader(rm);
    reader.ReadFile(scriptname, nullptr);
    // The scripts read are forgotten, so that a later read may read them again.
    rm->RemoveType(RES_SCRIPT);
}

void ReadResourceScriptText(hgeResourceManager* rm, const char* scriptname, const char* text, size_t size) {
    if (!rm || !text) return;
    ScriptReader reader(rm);
    reader.ReadText(scriptname ? scriptname : "", text, size);
    rm->RemoveType(RES_SCRIPT);
}
