#include "graphics/ResourceDescriptions.h"

#include "graphics/hgeAnimation.h"
#include "graphics/hgeDistortionMesh.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"

namespace {

template <class T>
ResDesc* Make(const ResDesc* base) {
    const T* typed = dynamic_cast<const T*>(base);
    return typed ? new T(*typed) : new T();
}

}  // namespace

ResDesc* MakeResDesc(int type, const ResDesc* base) {
    if (base && base->Type() != type) base = nullptr;
    switch (type) {
        case RES_RESOURCE: return Make<RResource>(base);
        case RES_TEXTURE: return Make<RTexture>(base);
        case RES_EFFECT: return Make<REffect>(base);
        case RES_MUSIC: return Make<RMusic>(base);
        case RES_STREAM: return Make<RStream>(base);
        case RES_TARGET: return Make<RTarget>(base);
        case RES_SPRITE: return Make<RSprite>(base);
        case RES_ANIMATION: return Make<RAnimation>(base);
        case RES_FONT: return Make<RFont>(base);
        case RES_PARTICLE: return Make<RParticle>(base);
        case RES_DISTORT: return Make<RDistort>(base);
        case RES_STRTABLE: return Make<RStringTable>(base);
        default: return nullptr;
    }
}

// Raw file data.
ResHandle RResource::Get(hgeResourceManager*) {
    if (!handle && !filename.empty()) handle = (ResHandle)hge->Resource_Load(filename.c_str());
    return handle;
}
void RResource::Free() {
    if (handle) hge->Resource_Free((void*)handle);
    handle = 0;
}

ResHandle RTexture::Get(hgeResourceManager*) {
    if (!handle && !filename.empty()) handle = hge->Texture_Load(filename.c_str(), 0, mipmap);
    return handle;
}
void RTexture::Free() {
    if (handle) hge->Texture_Free(handle);
    handle = 0;
}

ResHandle REffect::Get(hgeResourceManager*) {
    if (!handle && !filename.empty()) handle = hge->Effect_Load(filename.c_str());
    return handle;
}
void REffect::Free() {
    if (handle) hge->Effect_Free(handle);
    handle = 0;
}

ResHandle RMusic::Get(hgeResourceManager*) {
    if (!handle && !filename.empty()) {
        handle = hge->Music_Load(filename.c_str());
        if (handle) hge->Music_SetAmplification(handle, amplify);
    }
    return handle;
}
void RMusic::Free() {
    if (handle) hge->Music_Free(handle);
    handle = 0;
}

ResHandle RStream::Get(hgeResourceManager*) {
    if (!handle && !filename.empty()) handle = hge->Stream_Load(filename.c_str());
    return handle;
}
void RStream::Free() {
    if (handle) hge->Stream_Free(handle);
    handle = 0;
}

ResHandle RTarget::Get(hgeResourceManager*) {
    if (!handle) handle = hge->Target_Create(width, height, zbuffer);
    return handle;
}
void RTarget::Free() {
    if (handle) hge->Target_Free(handle);
    handle = 0;
}

ResHandle RSprite::Get(hgeResourceManager* rm) {
    if (!handle) {
        hgeSprite* spr = new hgeSprite(rm->GetTexture(texname.c_str(), resgroup), tx, ty, w, h);
        spr->SetColor(color);
        spr->SetZ(z);
        spr->SetBlendMode(blend);
        spr->SetHotSpot(hotx, hoty);
        spr->SetFlip(bXFlip, bYFlip, false);
        handle = (ResHandle)spr;
    }
    return handle;
}
void RSprite::Free() {
    delete (hgeSprite*)handle;
    handle = 0;
}

ResHandle RAnimation::Get(hgeResourceManager* rm) {
    if (!handle) {
        hgeAnimation* anim = new hgeAnimation(rm->GetTexture(texname.c_str(), resgroup), frames, fps, tx, ty, w, h);
        anim->SetColor(color);
        anim->SetZ(z);
        anim->SetBlendMode(blend);
        anim->SetHotSpot(hotx, hoty);
        anim->SetFlip(bXFlip, bYFlip, false);
        anim->SetMode(mode);
        handle = (ResHandle)anim;
    }
    return handle;
}
void RAnimation::Free() {
    delete (hgeAnimation*)handle;
    handle = 0;
}

ResHandle RFont::Get(hgeResourceManager*) {
    if (!handle) {
        hgeFont* fnt = new hgeFont(filename.c_str(), mipmap, hgeFont::BUILD_RESOURCE);
        fnt->SetColor(color);
        fnt->SetZ(z);
        fnt->SetBlendMode(blend);
        fnt->SetScale(scale);
        fnt->SetProportion(proportion);
        fnt->SetRotation(rotation);
        fnt->SetTracking(tracking);
        fnt->SetSpacing(spacing);
        handle = (ResHandle)fnt;
    }
    return handle;
}
void RFont::Free() {
    delete (hgeFont*)handle;
    handle = 0;
}

ResHandle RParticle::Get(hgeResourceManager* rm) {
    if (!handle) handle = (ResHandle) new hgeParticleSystem(filename.c_str(), rm->GetSprite(spritename.c_str()));
    return handle;
}
void RParticle::Free() {
    delete (hgeParticleSystem*)handle;
    handle = 0;
}

ResHandle RDistort::Get(hgeResourceManager* rm) {
    if (!handle) {
        hgeDistortionMesh* mesh = new hgeDistortionMesh(cols, rows);
        mesh->SetTexture(rm->GetTexture(texname.c_str(), resgroup));
        mesh->SetTextureRect(tx, ty, w, h);
        mesh->SetBlendMode(blend);
        mesh->Clear(color, z);
        handle = (ResHandle)mesh;
    }
    return handle;
}
void RDistort::Free() {
    delete (hgeDistortionMesh*)handle;
    handle = 0;
}

ResHandle RStringTable::Get(hgeResourceManager*) {
    if (!handle) handle = (ResHandle) new hgeStringTable(filename.c_str());
    return handle;
}
void RStringTable::Free() {
    delete (hgeStringTable*)handle;
    handle = 0;
}
