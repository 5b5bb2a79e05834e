#include "graphics/hgeParticleSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/ParticleRecord.h"

namespace {

const float kHalfPi = 1.5707963705062866f;

}  // namespace

bool ParseParticleInfo(const void* data, size_t size, hgeParticleSystemInfo* info) {
    ParticleRecord f;
    if (!info || !ParticleRecord::Decode(data, size, &f)) return false;
    hgeParticleSystemInfo r;
    r.nEmission = f.emission;
    r.fLifetime = f.lifetime;
    r.fParticleLifeMin = f.lifeMin;
    r.fParticleLifeMax = f.lifeMax;
    r.fDirection = f.direction;
    r.fSpread = f.spread;
    r.bRelative = f.relative;
    r.fSpeedMin = f.speedMin;
    r.fSpeedMax = f.speedMax;
    r.fGravityMin = f.gravityMin;
    r.fGravityMax = f.gravityMax;
    r.fRadialAccelMin = f.radialMin;
    r.fRadialAccelMax = f.radialMax;
    r.fTangentialAccelMin = f.tangentialMin;
    r.fTangentialAccelMax = f.tangentialMax;
    r.fSizeStart = f.sizeStart;
    r.fSizeEnd = f.sizeEnd;
    r.fSizeVar = f.sizeVar;
    r.fSpinStart = f.spinStart;
    r.fSpinEnd = f.spinEnd;
    r.fSpinVar = f.spinVar;
    r.colColorStart = hgeColorRGB(f.colorStart[0], f.colorStart[1], f.colorStart[2], f.colorStart[3]);
    r.colColorEnd = hgeColorRGB(f.colorEnd[0], f.colorEnd[1], f.colorEnd[2], f.colorEnd[3]);
    r.fColorVar = f.colorVar;
    r.fAlphaVar = f.alphaVar;
    r.sprite = info->sprite;
    *info = r;
    return true;
}

hgeParticleSystem::hgeParticleSystem(const char* filename, hgeSprite* sprite)
    : hge(hgeCreate(HGE_VERSION)), particles(new hgeParticle[MAX_PARTICLES]) {
    DWORD size = 0;
    void* data = filename ? hge->Resource_Load(filename, &size) : nullptr;
    if (!data) {
        bLoaded = false;
        hge->System_Log("Particle system %s not found.", filename ? filename : "");
    } else {
        if (!ParseParticleInfo(data, size, &info)) {
            bLoaded = false;
            hge->System_Log("Particle system %s has incorrect format (%u bytes, %u expected).", filename,
                            (unsigned)size, (unsigned)PSI_RECORD_SIZE);
        }
        hge->Resource_Free(data);
    }
    info.sprite = sprite;
}

hgeParticleSystem::hgeParticleSystem(const hgeParticleSystemInfo* psi)
    : hge(hgeCreate(HGE_VERSION)), particles(new hgeParticle[MAX_PARTICLES]) {
    if (psi)
        info = *psi;
    else
        bLoaded = false;
}

hgeParticleSystem::hgeParticleSystem(const hgeParticleSystem& ps)
    : hge(hgeCreate(HGE_VERSION)), particles(new hgeParticle[MAX_PARTICLES]) {
    CopyState(ps);
}

hgeParticleSystem& hgeParticleSystem::operator=(const hgeParticleSystem& ps) {
    if (this != &ps) CopyState(ps);
    return *this;
}

void hgeParticleSystem::CopyState(const hgeParticleSystem& ps) {
    info = ps.info;
    bLoaded = ps.bLoaded;
    fAge = ps.fAge;
    fEmissionResidue = ps.fEmissionResidue;
    vecPrevLocation = ps.vecPrevLocation;
    vecLocation = ps.vecLocation;
    fTx = ps.fTx;
    fTy = ps.fTy;
    fScale = ps.fScale;
    nParticlesAlive = ps.nParticlesAlive;
    rectBoundingBox = ps.rectBoundingBox;
    bUpdateBoundingBox = ps.bUpdateBoundingBox;
    std::copy(ps.particles, ps.particles + MAX_PARTICLES, particles);
}

hgeParticleSystem::~hgeParticleSystem() {
    delete[] particles;
    hge->Release();
}

void hgeParticleSystem::Fire() {
    if (!bLoaded) return;
    fAge = (info.fLifetime == -1.0f) ? -1.0f : 0.0f;
}

void hgeParticleSystem::Stop(bool bKillParticles) {
    fAge = -2.0f;
    if (bKillParticles) {
        nParticlesAlive = 0;
        rectBoundingBox.Clear();
    }
}

void hgeParticleSystem::FireAt(float x, float y) {
    Stop();
    MoveTo(x, y);
    Fire();
}

void hgeParticleSystem::MoveTo(float x, float y, bool bMoveParticles) {
    if (bMoveParticles) {
        float dx = x - vecLocation.x;
        float dy = y - vecLocation.y;
        for (int i = 0; i < nParticlesAlive; i++) {
            particles[i].vecLocation.x += dx;
            particles[i].vecLocation.y += dy;
        }
        vecPrevLocation.x += dx;
        vecPrevLocation.y += dy;
    } else {
        if (fAge == -2.0f) {
            vecPrevLocation.x = x;
            vecPrevLocation.y = y;
        } else {
            vecPrevLocation = vecLocation;
        }
    }
    vecLocation.x = x;
    vecLocation.y = y;
}

hgeRect* hgeParticleSystem::GetBoundingBox(hgeRect* rect) const {
    *rect = rectBoundingBox;
    rect->x1 *= fScale;
    rect->y1 *= fScale;
    rect->x2 *= fScale;
    rect->y2 *= fScale;
    return rect;
}

void hgeParticleSystem::Update(float fDeltaTime) {
    if (fAge >= 0) {
        fAge += fDeltaTime;
        if (fAge >= info.fLifetime) fAge = -2.0f;
    }

    if (bUpdateBoundingBox) rectBoundingBox.Clear();

    for (int i = 0; i < nParticlesAlive;) {
        hgeParticle* par = &particles[i];
        par->fAge += fDeltaTime;
        if (par->fAge >= par->fTerminalAge) {
            nParticlesAlive--;
            *par = particles[nParticlesAlive];
            continue;  // the slot now holds another particle
        }

        hgeVector vecAccel = par->vecLocation - vecLocation;
        vecAccel.Normalize();
        hgeVector vecAccel2(-vecAccel.y, vecAccel.x);
        vecAccel *= par->fRadialAccel;
        vecAccel2 *= par->fTangentialAccel;
        par->vecVelocity += (vecAccel + vecAccel2) * fDeltaTime;
        par->vecVelocity.y += par->fGravity * fDeltaTime;
        par->vecLocation += par->vecVelocity * fDeltaTime;

        par->fSpin += par->fSpinDelta * fDeltaTime;
        par->fSize += par->fSizeDelta * fDeltaTime;
        par->colColor += par->colColorDelta * fDeltaTime;

        if (bUpdateBoundingBox) rectBoundingBox.Encapsulate(par->vecLocation.x, par->vecLocation.y);
        i++;
    }

    if (fAge != -2.0f) {
        float needed = (float)info.nEmission * fDeltaTime + fEmissionResidue;
        int created = 0;
        if (needed > 0.0f) {
            // More than a full set in one update is clipped before the cast.
            created = needed >= (float)MAX_PARTICLES ? MAX_PARTICLES : (int)needed;
            fEmissionResidue = needed >= (float)MAX_PARTICLES ? 0.0f : needed - (float)created;
        } else {
            fEmissionResidue = 0.0f;
        }

        for (int i = 0; i < created && nParticlesAlive < MAX_PARTICLES; i++) {
            hgeParticle* par = &particles[nParticlesAlive];

            par->fAge = 0.0f;
            par->fTerminalAge = hge->Random_Float(info.fParticleLifeMin, info.fParticleLifeMax);

            par->vecLocation = vecPrevLocation + (vecLocation - vecPrevLocation) * hge->Random_Float(0.0f, 1.0f);
            par->vecLocation.x += hge->Random_Float(-2.0f, 2.0f);
            par->vecLocation.y += hge->Random_Float(-2.0f, 2.0f);

            float ang = info.fDirection - kHalfPi + hge->Random_Float(0, info.fSpread) - info.fSpread / 2.0f;
            if (info.bRelative) ang += (vecPrevLocation - vecLocation).Angle() + kHalfPi;
            par->vecVelocity.x = std::cos(ang);
            par->vecVelocity.y = std::sin(ang);
            par->vecVelocity *= hge->Random_Float(info.fSpeedMin, info.fSpeedMax);

            par->fGravity = hge->Random_Float(info.fGravityMin, info.fGravityMax);
            par->fRadialAccel = hge->Random_Float(info.fRadialAccelMin, info.fRadialAccelMax);
            par->fTangentialAccel = hge->Random_Float(info.fTangentialAccelMin, info.fTangentialAccelMax);

            // A particle of no life dies in its first update: its deltas stay 0.
            float life = par->fTerminalAge;
            auto perLife = [life](float d) { return life > 0.0f ? d / life : 0.0f; };

            par->fSize = hge->Random_Float(info.fSizeStart,
                                           info.fSizeStart + (info.fSizeEnd - info.fSizeStart) * info.fSizeVar);
            par->fSizeDelta = perLife(info.fSizeEnd - par->fSize);

            par->fSpin = hge->Random_Float(info.fSpinStart,
                                           info.fSpinStart + (info.fSpinEnd - info.fSpinStart) * info.fSpinVar);
            par->fSpinDelta = perLife(info.fSpinEnd - par->fSpin);

            const hgeColorRGB& cs = info.colColorStart;
            const hgeColorRGB& ce = info.colColorEnd;
            par->colColor.r = hge->Random_Float(cs.r, cs.r + (ce.r - cs.r) * info.fColorVar);
            par->colColor.g = hge->Random_Float(cs.g, cs.g + (ce.g - cs.g) * info.fColorVar);
            par->colColor.b = hge->Random_Float(cs.b, cs.b + (ce.b - cs.b) * info.fColorVar);
            par->colColor.a = hge->Random_Float(cs.a, cs.a + (ce.a - cs.a) * info.fAlphaVar);
            par->colColorDelta.r = perLife(ce.r - par->colColor.r);
            par->colColorDelta.g = perLife(ce.g - par->colColor.g);
            par->colColorDelta.b = perLife(ce.b - par->colColor.b);
            par->colColorDelta.a = perLife(ce.a - par->colColor.a);

            if (bUpdateBoundingBox) rectBoundingBox.Encapsulate(par->vecLocation.x, par->vecLocation.y);
            nParticlesAlive++;
        }
    }

    vecPrevLocation = vecLocation;
}

void hgeParticleSystem::Render() {
    hgeSprite* spr = info.sprite;
    if (!spr) return;  // nothing to draw with

    DWORD col = spr->GetColor(0);
    for (int i = 0; i < nParticlesAlive; i++) {
        const hgeParticle& par = particles[i];
        if (info.colColorStart.r < 0)
            spr->SetColor(SETA(col, hgeColorRGB::ToByte(par.colColor.a)));
        else
            spr->SetColor(par.colColor.GetHWColor());
        spr->RenderEx(par.vecLocation.x * fScale + fTx, par.vecLocation.y * fScale + fTy, par.fSpin * par.fAge,
                      par.fSize * fScale);
    }
    spr->SetColor(col);
}
