// The engine's random numbers: one generator of its own (the same sequence for
// the same seed on every machine), seeded together with the C library's rand.
#pragma once

#include <cstdint>

class Random {
public:
    void Seed(uint32_t seed);
    // Uniform in [min, max], both bounds included; min when max <= min.
    int Int(int min, int max);
    // Uniform in [min, max).
    float Float(float min, float max);
    uint32_t Next();

private:
    uint64_t m_state = 0x853c49e6748fea9bULL;
};
