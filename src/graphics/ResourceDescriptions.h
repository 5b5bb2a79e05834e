// The descriptions of each resource type and what their Get and Free do. Fields
// start at the defaults a script resource has when it names no base resource.
#pragma once

#include "graphics/ResDesc.h"

// A script that has been read, the top one or an "Include": it makes no object.
// The reader adds one for each script it reads, so that a second include of it
// is refused, and deletes them all once the top script is read.
class RScript : public ResDesc {
public:
    ResHandle Get(hgeResourceManager*) override { return 0; }
    void Free() override {}
    int Type() const override { return RES_SCRIPT; }
};

class RResource : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_RESOURCE; }
    std::string filename;
};

class RTexture : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_TEXTURE; }
    std::string filename;
    bool mipmap = false;
};

class REffect : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_EFFECT; }
    std::string filename;
};

class RMusic : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_MUSIC; }
    std::string filename;
    int amplify = 50;
};

class RStream : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_STREAM; }
    std::string filename;
};

class RTarget : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_TARGET; }
    int width = 256;
    int height = 256;
    bool zbuffer = false;
};

class RSprite : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_SPRITE; }
    std::string texname;
    float tx = 0, ty = 0, w = 0, h = 0;
    float hotx = 0, hoty = 0;
    int blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE;
    DWORD color = 0xFFFFFFFF;
    float z = 0.5f;
    bool bXFlip = false, bYFlip = false;
};

class RAnimation : public RSprite {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_ANIMATION; }
    int frames = 1;
    float fps = 12.0f;
    int mode = 4;  // forward loop
};

class RFont : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_FONT; }
    std::string filename;
    bool mipmap = false;
    int blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE;
    DWORD color = 0xFFFFFFFF;
    float z = 0.5f;
    float scale = 1.0f;
    float proportion = 1.0f;
    float tracking = 0.0f;
    float spacing = 1.0f;
    float rotation = 0.0f;
};

class RParticle : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_PARTICLE; }
    std::string filename;
    std::string spritename;
};

class RDistort : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_DISTORT; }
    std::string texname;
    float tx = 0, ty = 0, w = 0, h = 0;
    int cols = 2, rows = 2;
    int blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_NOZWRITE;
    DWORD color = 0xFFFFFFFF;
    float z = 0.5f;
};

class RStringTable : public ResDesc {
public:
    ResHandle Get(hgeResourceManager* rm) override;
    void Free() override;
    int Type() const override { return RES_STRTABLE; }
    std::string filename;
};

// A new description of the type: a copy of base when given (same type), else
// the defaults. Null for RES_SCRIPT and unknown types.
ResDesc* MakeResDesc(int type, const ResDesc* base);
