// Pixel reads of sprites. Every pixel test of the game goes through
// SpriteAlphaAt: it locks one texel read-only (the lock points at that texel in
// the texture's CPU copy) and reads its alpha.
#pragma once

class hgeSprite;

// Alpha (0..255) of the sprite's texel at a point measured in texels from the
// top-left corner of its texture rectangle; -1 when the point lies outside the
// rectangle or the texture, or the texel cannot be read.
int SpriteAlphaAt(const hgeSprite* sprite, float px, float py);

// True when the point, measured from the sprite's hot spot, lies on a texel
// whose alpha is not 0.
bool HitTestTexturePixel(const hgeSprite* sprite, float x, float y);
