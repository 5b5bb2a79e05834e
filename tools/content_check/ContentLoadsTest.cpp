// The bundled content read by the game's own loaders on the headless engine:
// the resource script with its groups, every font, every particle file and the
// Czech text table.
#include <gtest/gtest.h>

#include "ContentFiles.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeParticleSystem.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "graphics/hgeStringTable.h"
#include "support/HeadlessEngine.h"
#include "support/TestFiles.h"

namespace {

class ContentLoads : public HeadlessEngineTest {
protected:
    std::string Log() const { return ReadWholeFile(m_dir / "app.log"); }
};

TEST_F(ContentLoads, ResourceScriptParsesCleanlyAndEveryGroupLoads) {
    hgeResourceManager rm("data\\Resource\\main.res");
    EXPECT_TRUE(rm.Precache(1)) << "the start-up group";
    EXPECT_TRUE(rm.Precache(2));
    EXPECT_TRUE(rm.Precache(0)) << "every resource";
    std::string log = Log();
    EXPECT_EQ(log.find("main.res, line"), std::string::npos) << log;
    EXPECT_EQ(log.find("incorrect format"), std::string::npos) << log;

    hgeSprite* cursor = rm.GetSprite("Cursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->GetWidth(), 32.0f);
    EXPECT_NE(cursor->GetTexture(), 0u);
    for (const char* font : {"Main", "Main1"}) {
        hgeFont* f = rm.GetFont(font);
        ASSERT_NE(f, nullptr) << font;
        EXPECT_GT(f->GetHeight(), 0.0f) << font;
    }
    hgeParticleSystem* smoke = rm.GetParticleSystem("MenuSmoke");
    ASSERT_NE(smoke, nullptr);
    EXPECT_TRUE(smoke->IsLoaded());
}

TEST_F(ContentLoads, EveryFontDrawsCzechLettersAndMeasuresText) {
    for (const char* file : {"data\\Font\\default.fnt", "data\\Font\\comics.fnt", "data\\Font\\Score.fnt",
                             "data\\Font\\default14.fnt", "data\\Font\\defaultcontourless.fnt",
                             "data\\Font\\main.fnt", "data\\Font\\list.fnt"}) {
        SCOPED_TRACE(file);
        hgeFont font(file);
        ASSERT_NE(font.GetSprite('?'), nullptr);
        EXPECT_NE(font.GetSprite('?')->GetTexture(), 0u) << "bitmap loaded";
        for (uint8_t code : contenttest::CzechCodes()) EXPECT_NE(font.GetSprite(char(code)), nullptr) << int(code);
        font.SetTracking(-8.0f);
        // "Příliš žluťoučký kůň" in Windows-1250.
        const char* czech = "P\xF8\xEDli\x9A \x9Elu\x9Do\xE8k\xFD k\xF9\xF2";
        float w = font.GetStringWidth(czech, false);
        EXPECT_GT(w, 100.0f);
        EXPECT_LT(w, 600.0f);
    }
    EXPECT_EQ(Log().find("incorrect format"), std::string::npos);
}

TEST_F(ContentLoads, EveryParticleFileFiresParticles) {
    hgeSprite sprite(0, 0, 0, 16, 16);
    for (const char* file : {"data/ParticleSystem/Salute.psi", "data/ParticleSystem/Cigar.psi",
                             "data/ParticleSystem/KeyBlick.psi", "data/ParticleSystem/MagnifyingGlass.psi",
                             "data/ParticleSystem/ObjectMiss.psi", "data/ParticleSystem/ObjectMoveTail.psi",
                             "data/ParticleSystem/ObjectPick.psi", "data/ParticleSystem/Smoke.psi",
                             "data/ParticleSystem/SolveLaterObject.psi", "data\\Particle\\smoke.psi"}) {
        SCOPED_TRACE(file);
        hgeParticleSystem ps(file, &sprite);
        ASSERT_TRUE(ps.IsLoaded());
        ps.FireAt(400, 300);
        int most = 0;
        for (int frame = 0; frame < 60; ++frame) {  // a fifth of a second at 300 frames per second
            ps.Update(1.0f / 300.0f);
            most = std::max(most, ps.GetParticlesAlive());
        }
        EXPECT_GT(most, 0);
        EXPECT_LE(most, 500);
    }
}

TEST_F(ContentLoads, CzechTableReadsBackItsWindows1250Text) {
    hgeStringTable table("data\\Text\\Czech.txt");
    ASSERT_NE(table.GetString("PAUSE"), nullptr);
    EXPECT_STREQ(table.GetString("LOADING"), "Nahr\xE1v\xE1m...");
    EXPECT_STREQ(table.GetString("WELCOME"), "V\xEDtejte, %s!");
    // A text written over three lines reads as one line.
    const char* story = table.GetString("NEW_GAME_TEXT");
    ASSERT_NE(story, nullptr);
    EXPECT_EQ(std::string(story).find('\n'), std::string::npos);
    EXPECT_EQ(std::string(story).find("  "), std::string::npos);
}

}  // namespace
