// Particle-file writer: the 128-byte ".psi" record of every particle effect the
// game names, written field by field at fixed little-endian offsets.
//
//   psigen <data folder>
//
// Writes <data>/ParticleSystem/*.psi and <data>/Particle/smoke.psi.
// Directions are radians where 0 points up the screen; colours are 0..1.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/ParticleRecord.h"

namespace {

const float kPi = 3.14159265f;

using ParticleInfo = ParticleRecord;

struct Range {
    float min, max;
};
struct Color {
    float r, g, b, a;
};

// Particles that fly out in every direction: the emission rate, the seconds of
// emission (-1 endless), the life and the starting speed of each particle.
ParticleInfo RoundEffect(int32_t emission, float lifetime, Range life, Range speed) {
    ParticleInfo p;
    p.emission = emission;
    p.lifetime = lifetime;
    p.lifeMin = life.min, p.lifeMax = life.max;
    p.spread = 2 * kPi;
    p.speedMin = speed.min, p.speedMax = speed.max;
    return p;
}

void SetSize(ParticleInfo& p, float start, float end, float var) {
    p.sizeStart = start, p.sizeEnd = end, p.sizeVar = var;
}

void SetSpin(ParticleInfo& p, float start, float end, float var = 0) {
    p.spinStart = start, p.spinEnd = end, p.spinVar = var;
}

void SetColors(ParticleInfo& p, Color start, Color end, float colorVar, float alphaVar = 0) {
    const float s[4] = {start.r, start.g, start.b, start.a}, e[4] = {end.r, end.g, end.b, end.a};
    std::memcpy(p.colorStart, s, sizeof s);
    std::memcpy(p.colorEnd, e, sizeof e);
    p.colorVar = colorVar;
    p.alphaVar = alphaVar;
}

// Fireworks of the level-complete and final screens: a short round burst that
// falls and turns from gold to red.
ParticleInfo Salute() {
    ParticleInfo p = RoundEffect(600, 0.1f, {0.9f, 1.5f}, {90, 200});
    p.gravityMin = 90, p.gravityMax = 130;
    SetSize(p, 0.9f, 0.3f, 0.4f);
    SetSpin(p, 3, 1, 0.5f);
    SetColors(p, {1.0f, 0.9f, 0.4f, 1.0f}, {1.0f, 0.3f, 0.2f, 0.0f}, 0.5f, 0.2f);
    return p;
}

// Sparks that follow the new cigar and run round a memory brick: endless until
// stopped, small and golden.
ParticleInfo Cigar() {
    ParticleInfo p = RoundEffect(160, -1, {0.3f, 0.7f}, {10, 45});
    p.gravityMin = -20, p.gravityMax = 10;
    SetSize(p, 0.7f, 0.1f, 0.3f);
    SetSpin(p, 2, 4);
    SetColors(p, {1.0f, 0.95f, 0.6f, 1.0f}, {1.0f, 0.55f, 0.15f, 0.0f}, 0.3f);
    return p;
}

// A few twinkling stars around a point (load screen, final screen).
ParticleInfo KeyBlick() {
    ParticleInfo p = RoundEffect(120, 0.08f, {0.5f, 0.9f}, {15, 50});
    SetSize(p, 0.3f, 1.0f, 0.5f);
    SetSpin(p, 3, 0.5f, 0.5f);
    SetColors(p, {1.0f, 1.0f, 0.85f, 1.0f}, {1.0f, 0.9f, 0.5f, 0.0f}, 0.2f);
    return p;
}

// The burst that greets a new magnifying glass: four-pointed stars flying out.
ParticleInfo MagnifyingGlass() {
    ParticleInfo p = RoundEffect(150, 0.25f, {0.6f, 1.1f}, {50, 140});
    p.radialMin = -30, p.radialMax = 0;
    SetSize(p, 1.0f, 0.2f, 0.3f);
    SetSpin(p, 1.5f, 0.5f, 0.5f);
    SetColors(p, {1.0f, 1.0f, 1.0f, 1.0f}, {0.6f, 0.8f, 1.0f, 0.0f}, 0.3f);
    return p;
}

// A click on nothing: a small red puff.
ParticleInfo ObjectMiss() {
    ParticleInfo p = RoundEffect(250, 0.08f, {0.3f, 0.5f}, {30, 90});
    SetSize(p, 0.7f, 0.15f, 0.2f);
    SetColors(p, {1.0f, 0.25f, 0.15f, 0.9f}, {0.6f, 0.05f, 0.05f, 0.0f}, 0.2f);
    return p;
}

// The soft bubble trail behind a found object on its flight; drawn additive.
ParticleInfo ObjectMoveTail() {
    ParticleInfo p = RoundEffect(90, -1, {0.3f, 0.6f}, {0, 20});
    SetSize(p, 0.9f, 0.2f, 0.3f);
    SetColors(p, {0.7f, 0.9f, 1.0f, 0.8f}, {0.3f, 0.5f, 1.0f, 0.0f}, 0.3f);
    return p;
}

// A found object: a golden ring of sparks.
ParticleInfo ObjectPick() {
    ParticleInfo p = RoundEffect(350, 0.12f, {0.4f, 0.8f}, {80, 160});
    p.radialMin = -60, p.radialMax = -20;
    SetSize(p, 0.8f, 0.1f, 0.2f);
    SetSpin(p, 2, 2);
    SetColors(p, {1.0f, 0.95f, 0.5f, 1.0f}, {1.0f, 0.6f, 0.1f, 0.0f}, 0.3f);
    return p;
}

// The hint smoke: a dense endless trail of short-lived puffs (the hint lengthens
// their lives while it circles); 230 per second is the rate the hint restores.
ParticleInfo Smoke() {
    ParticleInfo p = RoundEffect(230, -1, {0.1f, 0.2f}, {5, 20});
    SetSize(p, 0.5f, 1.2f, 0.3f);
    SetSpin(p, 0.5f, 0.2f, 0.5f);
    SetColors(p, {0.95f, 0.95f, 1.0f, 0.7f}, {0.8f, 0.8f, 0.9f, 0.0f}, 0.1f, 0.2f);
    return p;
}

// A puzzle kept for later: a calm green glow around the object, endless.
ParticleInfo SolveLaterObject() {
    ParticleInfo p = RoundEffect(35, -1, {0.8f, 1.3f}, {10, 30});
    SetSize(p, 0.5f, 1.4f, 0.3f);
    SetColors(p, {0.6f, 1.0f, 0.6f, 0.7f}, {0.3f, 0.9f, 0.5f, 0.0f}, 0.2f);
    return p;
}

// Slow grey smoke rising from a point (a chimney or a cigar in a picture).
ParticleInfo MenuSmoke() {
    ParticleInfo p = RoundEffect(20, -1, {2.0f, 3.0f}, {20, 40});
    p.direction = 0;  // up
    p.spread = 0.5f;
    p.gravityMin = -6, p.gravityMax = 0;
    p.tangentialMin = -5, p.tangentialMax = 5;
    SetSize(p, 0.5f, 2.0f, 0.3f);
    SetSpin(p, 0.3f, 0.1f, 0.5f);
    SetColors(p, {0.8f, 0.8f, 0.8f, 0.45f}, {0.6f, 0.6f, 0.65f, 0.0f}, 0.1f);
    return p;
}

bool Write(const std::string& path, const ParticleInfo& info) {
    std::vector<uint8_t> bytes = info.Encode();
    if (bytes.size() != 128) {
        std::fprintf(stderr, "internal error: %s record is %zu bytes\n", path.c_str(), bytes.size());
        return false;
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (ok) std::printf("%s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: psigen <data folder>\n");
        return 2;
    }
    const std::string data = argv[1];
    const std::string ps = data + "/ParticleSystem/";
    struct Entry {
        std::string path;
        ParticleInfo info;
    };
    const Entry entries[] = {
        {ps + "Salute.psi", Salute()},
        {ps + "Cigar.psi", Cigar()},
        {ps + "KeyBlick.psi", KeyBlick()},
        {ps + "MagnifyingGlass.psi", MagnifyingGlass()},
        {ps + "ObjectMiss.psi", ObjectMiss()},
        {ps + "ObjectMoveTail.psi", ObjectMoveTail()},
        {ps + "ObjectPick.psi", ObjectPick()},
        {ps + "Smoke.psi", Smoke()},
        {ps + "SolveLaterObject.psi", SolveLaterObject()},
        {data + "/Particle/smoke.psi", MenuSmoke()},
    };
    bool ok = true;
    for (const Entry& e : entries) ok = Write(e.path, e.info) && ok;
    return ok ? 0 : 1;
}
