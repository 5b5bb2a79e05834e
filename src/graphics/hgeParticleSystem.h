// A sprite drawn many times, each copy a particle with its own position, speed,
// size, spin and colour that change over its life. Systems come from ".psi"
// files (the 128-byte info record) and a sprite the system never owns.
#pragma once

#include <cstddef>

#include "graphics/hgeColor.h"
#include "graphics/hgeRect.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeVector.h"

#define MAX_PARTICLES 500

struct hgeParticle {
    hgeVector vecLocation;
    hgeVector vecVelocity;
    float fGravity = 0;
    float fRadialAccel = 0;
    float fTangentialAccel = 0;
    float fSpin = 0;
    float fSpinDelta = 0;
    float fSize = 0;
    float fSizeDelta = 0;
    hgeColorRGB colColor;
    hgeColorRGB colColorDelta;
    float fAge = 0;
    float fTerminalAge = 0;
};

struct hgeParticleSystemInfo {
    hgeSprite* sprite = nullptr;  // never read from a file
    int nEmission = 0;            // particles per second
    float fLifetime = 0;          // -1: endless
    float fParticleLifeMin = 0, fParticleLifeMax = 0;
    float fDirection = 0, fSpread = 0;
    bool bRelative = false;
    float fSpeedMin = 0, fSpeedMax = 0;
    float fGravityMin = 0, fGravityMax = 0;
    float fRadialAccelMin = 0, fRadialAccelMax = 0;
    float fTangentialAccelMin = 0, fTangentialAccelMax = 0;
    float fSizeStart = 0, fSizeEnd = 0, fSizeVar = 0;
    float fSpinStart = 0, fSpinEnd = 0, fSpinVar = 0;
    hgeColorRGB colColorStart, colColorEnd;
    float fColorVar = 0, fAlphaVar = 0;
};

// Size of the record in a ".psi" file (ParticleRecord).
const size_t PSI_RECORD_SIZE = 128;

// Reads the record (ParticleRecord::Decode). False (info untouched) when fewer than 128
// bytes are given; bytes past the record are ignored.
bool ParseParticleInfo(const void* data, size_t size, hgeParticleSystemInfo* info);

class hgeParticleSystem {
public:
    hgeParticleSystemInfo info;

    // Loads the record from a ".psi" file. A file that cannot be read or is too
    // short leaves the system unloaded (one log line): it never fires.
    hgeParticleSystem(const char* filename, hgeSprite* sprite);
    explicit hgeParticleSystem(const hgeParticleSystemInfo* psi);
    hgeParticleSystem(const hgeParticleSystem& ps);
    hgeParticleSystem& operator=(const hgeParticleSystem& ps);
    ~hgeParticleSystem();

    void Render();
    void FireAt(float x, float y);
    void Fire();
    void Stop(bool bKillParticles = false);
    void Update(float fDeltaTime);
    void MoveTo(float x, float y, bool bMoveParticles = false);
    void Transpose(float x, float y) { fTx = x; fTy = y; }
    void SetScale(float scale) { fScale = scale; }
    void TrackBoundingBox(bool bTrack) { bUpdateBoundingBox = bTrack; }

    bool IsLoaded() const { return bLoaded; }
    int GetParticlesAlive() const { return nParticlesAlive; }
    float GetAge() const { return fAge; }
    void GetTransposition(float* x, float* y) const { *x = fTx; *y = fTy; }
    float GetScale() const { return fScale; }
    hgeRect* GetBoundingBox(hgeRect* rect) const;

private:
    void CopyState(const hgeParticleSystem& ps);

    HGE* hge;
    bool bLoaded = true;
    float fAge = -2.0f;
    float fEmissionResidue = 0;
    hgeVector vecPrevLocation;
    hgeVector vecLocation;
    float fTx = 0, fTy = 0;
    float fScale = 1.0f;
    int nParticlesAlive = 0;
    hgeRect rectBoundingBox;
    bool bUpdateBoundingBox = false;
    hgeParticle* particles;
};
