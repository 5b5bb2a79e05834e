// The bundled particle files: 128-byte records with plausible values.
#include <gtest/gtest.h>

#include <cstring>

#include "ContentFiles.h"

namespace {

uint32_t U32At(const std::string& b, int field) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(b.data()) + field * 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

float F32At(const std::string& b, int field) {
    uint32_t bits = U32At(b, field);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

const char* const kFiles[] = {
    "data/ParticleSystem/Salute.psi",         "data/ParticleSystem/Cigar.psi",
    "data/ParticleSystem/KeyBlick.psi",       "data/ParticleSystem/MagnifyingGlass.psi",
    "data/ParticleSystem/ObjectMiss.psi",     "data/ParticleSystem/ObjectMoveTail.psi",
    "data/ParticleSystem/ObjectPick.psi",     "data/ParticleSystem/Smoke.psi",
    "data/ParticleSystem/SolveLaterObject.psi", "data/Particle/smoke.psi",
};

TEST(ParticleFiles, EveryRecordIs128BytesOfSensibleValues) {
    for (const char* file : kFiles) {
        SCOPED_TRACE(file);
        std::string b;
        ASSERT_TRUE(contenttest::ReadAll(file, b));
        ASSERT_EQ(b.size(), 128u);
        EXPECT_EQ(U32At(b, 0), 0u) << "the sprite slot holds no pointer";
        int emission = int(U32At(b, 1));
        EXPECT_GT(emission, 0);
        float lifetime = F32At(b, 2);
        EXPECT_TRUE(lifetime == -1.0f || lifetime > 0.0f);
        EXPECT_GT(F32At(b, 3), 0.0f);
        EXPECT_LE(F32At(b, 3), F32At(b, 4));
        EXPECT_EQ(b[29], 0);  // padding after the "relative" byte
        EXPECT_EQ(b[30], 0);
        EXPECT_EQ(b[31], 0);
        EXPECT_LE(F32At(b, 8), F32At(b, 9)) << "speed range";
        for (int f = 22; f <= 31; ++f) {
            EXPECT_GE(F32At(b, f), 0.0f) << "colour field " << f;
            EXPECT_LE(F32At(b, f), 1.0f) << "colour field " << f;
        }
        // A burst that ends must make at least one particle.
        if (lifetime > 0) {
            EXPECT_GE(emission * lifetime, 1.0f);
        }
    }
}

TEST(ParticleFiles, HintSmokeEmitsAtTheRateTheHintRestores) {
    std::string b;
    ASSERT_TRUE(contenttest::ReadAll("data/ParticleSystem/Smoke.psi", b));
    EXPECT_EQ(int(U32At(b, 1)), 230);
    EXPECT_EQ(F32At(b, 2), -1.0f) << "the trail runs until the hint stops it";
}

}  // namespace
