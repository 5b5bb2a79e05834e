#include "graphics/hgeAnimation.h"

#include <cmath>

hgeAnimation::hgeAnimation(HTEXTURE tex, int nframes, float FPS, float x, float y, float w, float h)
    : hgeSprite(tex, x, y, w, h) {
    orig_width = tex ? hge->Texture_GetWidth(tex, true) : 0;
    fSpeed = 0.0f;
    SetSpeed(FPS);
    nFrames = nframes < 1 ? 1 : nframes;
    SetFrame(0);
}

void hgeAnimation::SetSpeed(float FPS) { fSpeed = (FPS > 0.0f && std::isfinite(FPS)) ? 1.0f / FPS : 0.0f; }

void hgeAnimation::SetFrames(int n) { nFrames = n < 1 ? 1 : n; }

void hgeAnimation::Play() {
    bPlaying = true;
    fSinceLastFrame = -1.0f;
    if (Mode & HGEANIM_REV) {
        nDelta = -1;
        SetFrame(nFrames - 1);
    } else {
        nDelta = 1;
        SetFrame(0);
    }
}

void hgeAnimation::SetMode(int mode) {
    Mode = mode;
    if (mode & HGEANIM_REV) {
        nDelta = -1;
        SetFrame(nFrames - 1);
    } else {
        nDelta = 1;
        SetFrame(0);
    }
}

void hgeAnimation::SetTexture(HTEXTURE tex) {
    hgeSprite::SetTexture(tex);
    orig_width = tex ? hge->Texture_GetWidth(tex, true) : 0;
}

void hgeAnimation::SetTextureRect(float x1, float y1, float x2, float y2) {
    hgeSprite::SetTextureRect(x1, y1, x2, y2);
    SetFrame(nCurFrame);
}

void hgeAnimation::SetFrame(int n) {
    int iw = (int)std::lround(width);
    // A frame of no width, or one wider than the texture, has a single column.
    int ncols = iw > 0 ? orig_width / iw : 0;
    if (ncols < 1) ncols = 1;

    n %= nFrames;
    if (n < 0) n += nFrames;
    nCurFrame = n;

    float tx1 = tx + n * width;
    float ty1 = ty;
    if (tx1 > orig_width - width) {
        int firstRow = (int)width > 0 ? (int)(orig_width - tx) / (int)width : 0;
        n -= firstRow;
        int col = n % ncols;
        if (col < 0) col += ncols;
        int row = n / ncols;
        if (n < 0 && col != 0) row--;
        tx1 = width * col;
        ty1 = ty + height * (1 + row);
    }
    SetQuadTexCoords(tx1, ty1, tx1 + width, ty1 + height);
}

void hgeAnimation::Update(float fDeltaTime) {
    if (!bPlaying) return;

    if (fSinceLastFrame == -1.0f)
        fSinceLastFrame = 0.0f;
    else
        fSinceLastFrame += fDeltaTime;

    if (!(fSpeed > 0.0f)) return;
    // A pause far longer than the whole animation would spin here for ages;
    // whole turns of the loop change nothing in the looping modes.
    if (fSinceLastFrame > fSpeed * 1000000.0f) fSinceLastFrame = std::fmod(fSinceLastFrame, fSpeed * nFrames * 2);

    while (fSinceLastFrame >= fSpeed) {
        fSinceLastFrame -= fSpeed;

        if (nCurFrame + nDelta == nFrames) {
            switch (Mode) {
                case HGEANIM_FWD:
                case HGEANIM_REV | HGEANIM_PINGPONG:
                    bPlaying = false;
                    break;
                case HGEANIM_FWD | HGEANIM_PINGPONG:
                case HGEANIM_FWD | HGEANIM_PINGPONG | HGEANIM_LOOP:
                case HGEANIM_REV | HGEANIM_PINGPONG | HGEANIM_LOOP:
                    nDelta = -nDelta;
                    break;
            }
        } else if (nCurFrame + nDelta < 0) {
            switch (Mode) {
                case HGEANIM_REV:
                case HGEANIM_FWD | HGEANIM_PINGPONG:
                    bPlaying = false;
                    break;
                case HGEANIM_REV | HGEANIM_PINGPONG:
                case HGEANIM_FWD | HGEANIM_PINGPONG | HGEANIM_LOOP:
                case HGEANIM_REV | HGEANIM_PINGPONG | HGEANIM_LOOP:
                    nDelta = -nDelta;
                    break;
            }
        }

        if (!bPlaying) break;
        SetFrame(nCurFrame + nDelta);
    }
}
