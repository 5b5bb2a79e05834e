#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "GraphicsTestUtil.h"
#include "graphics/hgeParticleSystem.h"

namespace {

// A ".psi" record with the given fields; unset fields are 0.
class PsiRecord {
public:
    PsiRecord() : bytes(128, '\0') {
        SetInt(0, 0x12345678);  // a stale pointer from the writer
    }
    PsiRecord& SetInt(int field, int32_t v) {
        for (int i = 0; i < 4; i++) bytes[field * 4 + i] = (char)((uint32_t)v >> (8 * i));
        return *this;
    }
    PsiRecord& SetFloat(int field, float f) {
        int32_t v;
        std::memcpy(&v, &f, 4);
        return SetInt(field, v);
    }
    std::string bytes;
};

PsiRecord Emitter(int emission, float lifetime) {
    PsiRecord r;
    r.SetInt(1, emission).SetFloat(2, lifetime);
    r.SetFloat(3, 10.0f).SetFloat(4, 10.0f);  // particles live 10 s
    r.SetFloat(16, 1.0f).SetFloat(17, 1.0f);  // size
    for (int f = 22; f < 30; f++) r.SetFloat(f, 1.0f);
    return r;
}

}  // namespace

TEST(ParticleInfoTest, RecordIsReadFieldByFieldAndShortFilesAreRejected) {
    PsiRecord r;
    r.SetInt(1, 25).SetFloat(2, -1.0f).SetFloat(3, 0.5f).SetFloat(4, 1.5f).SetFloat(5, 3.0f).SetFloat(6, 0.25f);
    r.bytes[28] = 1;  // relative flag, padding after it
    r.bytes[29] = 0x55;
    r.SetFloat(8, 10).SetFloat(9, 20).SetFloat(18, 0.75f).SetFloat(22, -1.0f).SetFloat(29, 0.125f).SetFloat(31, 0.5f);

    hgeSprite* sentinel = reinterpret_cast<hgeSprite*>(uintptr_t(0x40));
    hgeParticleSystemInfo info;
    info.sprite = sentinel;
    ASSERT_TRUE(ParseParticleInfo(r.bytes.data(), r.bytes.size(), &info));
    EXPECT_EQ(info.sprite, sentinel);  // the file's pointer slot is never used
    EXPECT_EQ(info.nEmission, 25);
    EXPECT_FLOAT_EQ(info.fLifetime, -1.0f);
    EXPECT_FLOAT_EQ(info.fParticleLifeMin, 0.5f);
    EXPECT_FLOAT_EQ(info.fParticleLifeMax, 1.5f);
    EXPECT_FLOAT_EQ(info.fDirection, 3.0f);
    EXPECT_FLOAT_EQ(info.fSpread, 0.25f);
    EXPECT_TRUE(info.bRelative);
    EXPECT_FLOAT_EQ(info.fSpeedMax, 20);
    EXPECT_FLOAT_EQ(info.fSizeVar, 0.75f);
    EXPECT_FLOAT_EQ(info.colColorStart.r, -1.0f);
    EXPECT_FLOAT_EQ(info.colColorEnd.a, 0.125f);
    EXPECT_FLOAT_EQ(info.fAlphaVar, 0.5f);

    hgeParticleSystemInfo untouched;
    untouched.nEmission = 7;
    EXPECT_FALSE(ParseParticleInfo(r.bytes.data(), 127, &untouched));
    EXPECT_EQ(untouched.nEmission, 7);
    EXPECT_FALSE(ParseParticleInfo(nullptr, 128, &untouched));

    gfxtest::TempDir dir;
    gfxtest::Engine();
    hgeParticleSystem shortFile(dir.Write("short.psi", r.bytes.substr(0, 100)).c_str(), nullptr);
    EXPECT_FALSE(shortFile.IsLoaded());
    shortFile.Fire();
    shortFile.Update(1.0f);
    EXPECT_EQ(shortFile.GetParticlesAlive(), 0);
    EXPECT_NE(gfxtest::ReadLog().find("short.psi"), std::string::npos);

    hgeParticleSystem missing(dir.File("none.psi").c_str(), nullptr);
    EXPECT_FALSE(missing.IsLoaded());

    hgeParticleSystem fromFile(dir.Write("ok.psi", r.bytes).c_str(), nullptr);
    EXPECT_TRUE(fromFile.IsLoaded());
    EXPECT_EQ(fromFile.info.nEmission, 25);
    EXPECT_EQ(fromFile.info.sprite, nullptr);
}

TEST(ParticleSystemTest, EmissionRateResidueAndCap) {
    HGE* hge = gfxtest::Engine();
    hge->Random_Seed(1234);
    PsiRecord r = Emitter(10, -1.0f);
    hgeParticleSystemInfo info;
    ASSERT_TRUE(ParseParticleInfo(r.bytes.data(), r.bytes.size(), &info));

    hgeParticleSystem ps(&info);
    ps.Fire();
    EXPECT_EQ(ps.GetAge(), -1.0f);  // endless
    int counts[6];
    for (int& c : counts) {
        ps.Update(0.05f);
        c = ps.GetParticlesAlive();
    }
    // 10 per second at 0.05 s: one every second update.
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(counts[2], 1);
    EXPECT_EQ(counts[3], 2);
    EXPECT_EQ(counts[5], 3);

    PsiRecord flood = Emitter(100000, -1.0f);
    ASSERT_TRUE(ParseParticleInfo(flood.bytes.data(), flood.bytes.size(), &info));
    hgeParticleSystem big(&info);
    big.Fire();
    big.Update(1.0f);
    EXPECT_EQ(big.GetParticlesAlive(), MAX_PARTICLES);
    big.Update(1.0f);
    EXPECT_EQ(big.GetParticlesAlive(), MAX_PARTICLES);

    // Stop lets particles live on; with killing they vanish.
    big.Stop();
    big.Update(1.0f);
    EXPECT_EQ(big.GetParticlesAlive(), MAX_PARTICLES);
    big.Stop(true);
    EXPECT_EQ(big.GetParticlesAlive(), 0);

    // A lifetime ends the emission; particles die at their terminal age.
    PsiRecord brief = Emitter(100, 0.5f);
    ASSERT_TRUE(ParseParticleInfo(brief.bytes.data(), brief.bytes.size(), &info));
    hgeParticleSystem once(&info);
    once.Fire();
    once.Update(0.25f);
    int after = once.GetParticlesAlive();
    EXPECT_EQ(after, 25);
    once.Update(0.25f);  // the lifetime is reached: no more emission
    EXPECT_EQ(once.GetAge(), -2.0f);
    EXPECT_EQ(once.GetParticlesAlive(), after);
    once.Update(20.0f);
    EXPECT_EQ(once.GetParticlesAlive(), 0);
}

TEST(ParticleSystemTest, SameSeedSameParticlesAndMotion) {
    HGE* hge = gfxtest::Engine();
    PsiRecord r = Emitter(50, -1.0f);
    r.SetFloat(6, 6.28f).SetFloat(8, 10).SetFloat(9, 100).SetFloat(10, 5).SetFloat(11, 50);
    hgeParticleSystemInfo info;
    ASSERT_TRUE(ParseParticleInfo(r.bytes.data(), r.bytes.size(), &info));

    hgeSprite dot(0, 0, 0, 1, 1);  // hot spot 0, 0: each particle's quad starts at its position
    info.sprite = &dot;
    auto firstDrawn = [](hgeParticleSystem& ps) {
        std::vector<hgeQuad> quads = gfxtest::Drawn([&] { ps.Render(); });
        return quads.empty() ? hgeVertex() : quads[0].v[0];
    };
    auto run = [&](int seed) {
        hge->Random_Seed(seed);
        hgeParticleSystem ps(&info);
        ps.TrackBoundingBox(true);
        ps.FireAt(100, 100);
        for (int i = 0; i < 10; i++) ps.Update(0.1f);
        hgeRect box;
        ps.GetBoundingBox(&box);
        hgeVertex p = firstDrawn(ps);
        EXPECT_TRUE(box.x1 <= p.x && p.x <= box.x2 && box.y1 <= p.y && p.y <= box.y2);
        return std::make_tuple(ps.GetParticlesAlive(), p.x, p.y);
    };
    auto a = run(99), b = run(99);
    EXPECT_EQ(std::get<0>(a), 50);
    EXPECT_EQ(a, b);

    // Moving with the particles shifts them by the same step.
    hge->Random_Seed(5);
    hgeParticleSystem ps(&info);
    ps.FireAt(0, 0);
    ps.Update(0.1f);
    ASSERT_GT(ps.GetParticlesAlive(), 0);
    hgeVertex before = firstDrawn(ps);
    ps.MoveTo(10, -5, true);
    EXPECT_FLOAT_EQ(firstDrawn(ps).x, before.x + 10);
    EXPECT_FLOAT_EQ(firstDrawn(ps).y, before.y - 5);

    // No sprite: nothing is drawn and nothing breaks.
    ps.info.sprite = nullptr;
    EXPECT_TRUE(gfxtest::Drawn([&] { ps.Render(); }).empty());
    hgeParticleSystem copy(ps);
    EXPECT_EQ(copy.GetParticlesAlive(), ps.GetParticlesAlive());
}

TEST(ParticleSystemTest, RenderTakesParticleColoursAndRestoresTheSprite) {
    gfxtest::Engine();
    hgeSprite spr(0, 0, 0, 4, 4);
    spr.SetColor(0xFF102030);
    PsiRecord r = Emitter(10, -1.0f);
    r.SetFloat(22, -1.0f);  // negative start red: keep the sprite's colour
    r.SetFloat(25, 0.5f).SetFloat(29, 0.5f);
    hgeParticleSystemInfo info;
    ASSERT_TRUE(ParseParticleInfo(r.bytes.data(), r.bytes.size(), &info));
    info.sprite = &spr;
    hgeParticleSystem ps(&info);
    ps.Fire();
    ps.Update(0.5f);
    ASSERT_GT(ps.GetParticlesAlive(), 0);
    ps.Render();
    EXPECT_EQ(spr.GetColor(0), 0xFF102030u);

    EXPECT_EQ(hgeColorRGB(1, 0.5f, 0, 1).GetHWColor(), 0xFFFF8000u);
    EXPECT_EQ(hgeColorRGB(2, -1, 0, 0.5f).GetHWColor(), 0x80FF0000u);
}
