#include "platform/Random.h"

#include <cstdlib>

void Random::Seed(uint32_t seed) {
    // SplitMix64 spreads small seeds over the whole state.
    uint64_t z = uint64_t(seed) + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    m_state = z ^ (z >> 31);
    std::srand(seed);
}

uint32_t Random::Next() {
    // PCG-XSH-RR 64/32.
    const uint64_t old = m_state;
    m_state = old * 6364136223846793005ULL + 1442695040888963407ULL;
    const uint32_t xorshifted = uint32_t(((old >> 18u) ^ old) >> 27u);
    const uint32_t rot = uint32_t(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

int Random::Int(int min, int max) {
    if (max <= min) return min;
    const uint64_t span = uint64_t(int64_t(max) - int64_t(min)) + 1;
    return int(int64_t(min) + int64_t(Next() % span));
}

float Random::Float(float min, float max) {
    const float u = float(Next() >> 8) * (1.0f / 16777216.0f);
    return min + u * (max - min);
}
