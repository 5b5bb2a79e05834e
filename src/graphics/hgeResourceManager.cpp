#include "graphics/hgeResourceManager.h"

#include "graphics/ResourceDescriptions.h"
#include "graphics/ResourceScript.h"
#include "graphics/hgeStringTable.h"

hgeResourceManager::hgeResourceManager(const char* scriptname) : hge(hgeCreate(HGE_VERSION)) {
    if (scriptname) ReadResourceScript(this, scriptname);
}

hgeResourceManager::~hgeResourceManager() {
    RemoveAll();
    hge->Release();
}

void hgeResourceManager::ChangeScript(const char* scriptname) {
    RemoveAll();
    if (scriptname) ReadResourceScript(this, scriptname);
}

void hgeResourceManager::RemoveAll() {
    // Objects built from others (sprites on textures) go before what they use.
    for (int type = RESTYPES - 1; type >= 0; type--) RemoveType(type);
}

void hgeResourceManager::RemoveType(int type) {
    if (type < 0 || type >= RESTYPES) return;
    for (size_t i = lists[type].size(); i-- > 0;) {
        lists[type][i]->Free();
        delete lists[type][i];
    }
    lists[type].clear();
    index[type].clear();
}

bool hgeResourceManager::Precache(int groupid) {
    bool ok = true;
    for (int type = 0; type < RESTYPES; type++) {
        // By index: a Get may register textures in another list meanwhile.
        for (size_t i = lists[type].size(); i-- > 0;) {
            ResDesc* desc = lists[type][i];
            if (!ok) break;
            if (groupid == 0 || desc->resgroup == groupid) {
                if (!desc->Get(this)) ok = false;
            }
        }
    }
    return ok;
}

void hgeResourceManager::Purge(int groupid) {
    for (int type = 0; type < RESTYPES; type++) {
        for (ResDesc* desc : lists[type]) {
            if (groupid == 0 || desc->resgroup == groupid) desc->Free();
        }
    }
}

ResDesc* hgeResourceManager::FindRes(int type, const char* name) const {
    if (type < 0 || type >= RESTYPES || !name) return nullptr;
    auto it = index[type].find(name);
    return it == index[type].end() ? nullptr : it->second;
}

void hgeResourceManager::AddRes(int type, ResDesc* desc) {
    if (type < 0 || type >= RESTYPES || !desc) {
        delete desc;
        return;
    }
    lists[type].push_back(desc);
    // The first declaration of a name stays the one found.
    index[type].emplace(desc->name, desc);
}

ResHandle hgeResourceManager::GetDeclared(int type, const char* name) {
    ResDesc* desc = FindRes(type, name);
    return desc ? desc->Get(this) : 0;
}

void* hgeResourceManager::GetResource(const char* name, int resgroup) {
    if (ResDesc* desc = FindRes(RES_RESOURCE, name)) return (void*)desc->Get(this);
    if (!name || !*name) return nullptr;
    void* data = hge->Resource_Load(name);
    if (data) {
        RResource* desc = new RResource();
        desc->name = desc->filename = name;
        desc->resgroup = resgroup;
        desc->handle = (ResHandle)data;
        AddRes(RES_RESOURCE, desc);
    }
    return data;
}

HTEXTURE hgeResourceManager::GetTexture(const char* name, int resgroup) {
    if (ResDesc* desc = FindRes(RES_TEXTURE, name)) return desc->Get(this);
    if (!name || !*name) return 0;
    HTEXTURE tex = hge->Texture_Load(name);
    if (tex) {
        RTexture* desc = new RTexture();
        desc->name = desc->filename = name;
        desc->resgroup = resgroup;
        desc->handle = tex;
        AddRes(RES_TEXTURE, desc);
    }
    return tex;
}

HEFFECT hgeResourceManager::GetEffect(const char* name, int resgroup) {
    if (ResDesc* desc = FindRes(RES_EFFECT, name)) return desc->Get(this);
    if (!name || !*name) return 0;
    HEFFECT eff = hge->Effect_Load(name);
    if (eff) {
        REffect* desc = new REffect();
        desc->name = desc->filename = name;
        desc->resgroup = resgroup;
        desc->handle = eff;
        AddRes(RES_EFFECT, desc);
    }
    return eff;
}

HMUSIC hgeResourceManager::GetMusic(const char* name, int resgroup) {
    if (ResDesc* desc = FindRes(RES_MUSIC, name)) return desc->Get(this);
    if (!name || !*name) return 0;
    HMUSIC mus = hge->Music_Load(name);
    if (mus) {
        RMusic* desc = new RMusic();
        desc->name = desc->filename = name;
        desc->resgroup = resgroup;
        desc->amplify = 50;
        desc->handle = mus;
        AddRes(RES_MUSIC, desc);
    }
    return mus;
}

HSTREAM hgeResourceManager::GetStream(const char* name, int resgroup) {
    if (ResDesc* desc = FindRes(RES_STREAM, name)) return desc->Get(this);
    if (!name || !*name) return 0;
    HSTREAM str = hge->Stream_Load(name);
    if (str) {
        RStream* desc = new RStream();
        desc->name = desc->filename = name;
        desc->resgroup = resgroup;
        desc->handle = str;
        AddRes(RES_STREAM, desc);
    }
    return str;
}

hgeStringTable* hgeResourceManager::GetStringTable(const char* name, int resgroup) {
    if (ResDesc* desc = FindRes(RES_STRTABLE, name)) return (hgeStringTable*)desc->Get(this);
    if (!name || !*name) return nullptr;
    hgeStringTable* table = new hgeStringTable(name);
    RStringTable* desc = new RStringTable();
    desc->name = desc->filename = name;
    desc->resgroup = resgroup;
    desc->handle = (ResHandle)table;
    AddRes(RES_STRTABLE, desc);
    return table;
}

HTARGET hgeResourceManager::GetTarget(const char* name) { return GetDeclared(RES_TARGET, name); }

hgeSprite* hgeResourceManager::GetSprite(const char* name) { return (hgeSprite*)GetDeclared(RES_SPRITE, name); }

hgeAnimation* hgeResourceManager::GetAnimation(const char* name) {
    return (hgeAnimation*)GetDeclared(RES_ANIMATION, name);
}

hgeFont* hgeResourceManager::GetFont(const char* name) { return (hgeFont*)GetDeclared(RES_FONT, name); }

hgeParticleSystem* hgeResourceManager::GetParticleSystem(const char* name) {
    return (hgeParticleSystem*)GetDeclared(RES_PARTICLE, name);
}

hgeDistortionMesh* hgeResourceManager::GetDistortionMesh(const char* name) {
    return (hgeDistortionMesh*)GetDeclared(RES_DISTORT, name);
}
