// A sprite whose texture rectangle steps through frames laid out on the texture:
// left to right from the first frame's rectangle, then on further rows from the
// texture's left border.
#pragma once

#include "graphics/hgeSprite.h"

// Mode bits.
#define HGEANIM_FWD 0
#define HGEANIM_REV 1
#define HGEANIM_PINGPONG 2
#define HGEANIM_NOPINGPONG 0
#define HGEANIM_LOOP 4
#define HGEANIM_NOLOOP 0

class hgeAnimation : public hgeSprite {
public:
    // A frame count below 1 counts as 1; fps <= 0 gives an animation that never
    // advances by itself.
    hgeAnimation(HTEXTURE tex, int nframes, float FPS, float x, float y, float w, float h);
    hgeAnimation(const hgeAnimation& anim) = default;

    void Play();
    void Stop() { bPlaying = false; }
    void Update(float fDeltaTime);
    bool IsPlaying() const { return bPlaying; }

    void SetTexture(HTEXTURE tex);
    void SetTextureRect(float x1, float y1, float x2, float y2);
    void SetMode(int mode);
    void SetSpeed(float FPS);
    void SetFrame(int n);
    void SetFrames(int n);

    int GetMode() const { return Mode; }
    float GetSpeed() const { return fSpeed > 0.0f ? 1.0f / fSpeed : 0.0f; }
    int GetFrames() const { return nFrames; }

private:
    int orig_width;
    bool bPlaying = false;
    float fSpeed;  // seconds per frame; 0 = never advances
    float fSinceLastFrame = -1.0f;
    int Mode = HGEANIM_FWD | HGEANIM_LOOP;
    int nDelta = 1;
    int nFrames;
    int nCurFrame = 0;
};
