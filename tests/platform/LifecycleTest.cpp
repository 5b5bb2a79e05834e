#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/RenderStats.h"
#include "platform/TextEncoding.h"
#include "support/HeadlessEngine.h"
#include "support/TempDir.h"

namespace {

HGE* g_hge = nullptr;
int g_frames = 0, g_renders = 0;
float g_lastDt = 0;

bool CountFrame() {
    ++g_frames;
    g_lastDt = g_hge->Timer_GetDelta();
    return false;
}
bool CountRender() {
    ++g_renders;
    g_hge->Gfx_BeginScene();
    hgeQuad q;
    g_hge->Gfx_RenderQuad(&q);
    g_hge->Gfx_EndScene();
    return false;
}
bool QuitAtThree() { return ++g_frames == 3; }

}  // namespace

TEST(Lifecycle, OneSharedObjectThenAFreshOneAfterTheLastRelease) {
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    HGE* a = hgeCreate(HGE_VERSION);
    HGE* b = hgeCreate(HGE_VERSION);
    EXPECT_EQ(a, b);
    a->System_SetState(HGE_TITLE, "changed");
    b->Release();
    EXPECT_STREQ(a->System_GetState(HGE_TITLE), "changed") << "still alive with one reference";
    a->Release();
    for (int i = 0; i < 20; ++i) {
        HGE* c = hgeCreate(HGE_VERSION);
        EXPECT_STREQ(c->System_GetState(HGE_TITLE), "HGE") << "a fresh object";
        ASSERT_TRUE(c->System_Initiate());
        c->System_SetState(HGE_TITLE, "changed");
        c->System_Shutdown();
        c->Release();
    }
}

TEST(Lifecycle, CallsAfterShutdownAreSafe) {
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    HGE* hge = hgeCreate(HGE_VERSION);
    ASSERT_TRUE(hge->System_Initiate());
    HTEXTURE tex = hge->Texture_Create(4, 4);
    hge->System_Shutdown();
    hge->Texture_Free(tex);
    EXPECT_EQ(hge->Texture_GetWidth(tex), 0);
    EXPECT_FALSE(hge->Gfx_BeginScene());
    hgeQuad q;
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_EndScene();
    hge->System_Shutdown();
    EXPECT_FALSE(hge->System_Start());
    hge->Release();
}

TEST(Lifecycle, StatesRoundTripAndUnknownOnesAreIgnored) {
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    HGE* hge = hgeCreate(HGE_VERSION);
    hge->System_SetState(HGE_SCREENWIDTH, 800);
    hge->System_SetState(HGE_SCREENHEIGHT, 600);
    hge->System_SetState(HGE_FPS, 300);
    hge->System_SetState(HGE_HIDEMOUSE, true);
    hge->System_SetState(HGE_SHOWSPLASH, false);
    hge->System_SetState(HGE_USESOUND, false);
    hge->System_SetState(HGE_WINDOWED, true);
    hge->System_SetState(HGE_ICON, "106");
    EXPECT_EQ(hge->System_GetState(HGE_SCREENWIDTH), 800);
    EXPECT_EQ(hge->System_GetState(HGE_FPS), 300);
    EXPECT_TRUE(hge->System_GetState(HGE_HIDEMOUSE));
    EXPECT_FALSE(hge->System_GetState(HGE_SHOWSPLASH));
    EXPECT_FALSE(hge->System_GetState(HGE_USESOUND));
    EXPECT_TRUE(hge->System_GetStateBool(HGE_WINDOWED));
    hge->System_SetStateBool(HGE_WINDOWED, false);
    EXPECT_FALSE(hge->System_GetStateBool(HGE_WINDOWED));
    EXPECT_EQ(hge->System_GetState(HGE_INIFILE), nullptr);

    hge->System_SetStateBool(hgeBoolState(8), true);  // not a boolean state: ignored
    EXPECT_FALSE(hge->System_GetStateBool(hgeBoolState(8)));
    hge->System_SetStateInt(hgeIntState(999), 5);
    EXPECT_EQ(hge->System_GetStateInt(hgeIntState(999)), 0);
    hge->System_SetStateString(hgeStringState(77), "x");
    EXPECT_EQ(hge->System_GetStateString(hgeStringState(77)), nullptr);
    hge->System_SetStateFunc(hgeFuncState(3), CountFrame);
    EXPECT_EQ(hge->System_GetStateFunc(hgeFuncState(3)), nullptr);
    EXPECT_EQ(hge->Effect_Load("a.ogg"), 0u);
    EXPECT_EQ(hge->Music_Load("a.ogg"), 0u);
    EXPECT_EQ(hge->Stream_Load("a.ogg"), 0u);
    hge->Release();
}

TEST(Lifecycle, StartRunsFramesFromTheEnvironmentWithFixedStep) {
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    ScopedEnv frames("DROVALIN_FRAMES", "25");
    ScopedEnv dt("DROVALIN_DT", "0.02");
    g_hge = hgeCreate(HGE_VERSION);
    g_frames = g_renders = 0;
    EXPECT_FALSE(g_hge->System_Start()) << "not initiated";
    ASSERT_TRUE(g_hge->System_Initiate());
    EXPECT_FALSE(g_hge->System_Start()) << "no frame function";
    g_hge->System_SetState(HGE_FRAMEFUNC, CountFrame);
    g_hge->System_SetState(HGE_RENDERFUNC, CountRender);
    EXPECT_TRUE(g_hge->System_Start());
    EXPECT_EQ(g_frames, 25);
    EXPECT_EQ(g_renders, 25);
    EXPECT_FLOAT_EQ(g_lastDt, 0.02f);
    EXPECT_EQ(RenderStats::FramesRun(), 25);
    EXPECT_EQ(RenderStats::LastFrame().quads, 1);
    g_hge->Release();
    // The driver leaves with its interface: nothing to run or count any more.
    EXPECT_EQ(FrameDriver::Live(), nullptr);
    EXPECT_EQ(FrameDriver::RunFrames(3), 0);
    EXPECT_EQ(RenderStats::FramesRun(), 0);
}

TEST(Lifecycle, FrameFunctionEndsTheLoop) {
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    ScopedEnv frames("DROVALIN_FRAMES", nullptr);
    g_hge = hgeCreate(HGE_VERSION);
    g_frames = 0;
    ASSERT_TRUE(g_hge->System_Initiate());
    g_hge->System_SetState(HGE_FRAMEFUNC, QuitAtThree);
    EXPECT_TRUE(g_hge->System_Start());
    EXPECT_EQ(g_frames, 3);
    EXPECT_FLOAT_EQ(g_hge->Timer_GetDelta(), 1.0f / 300.0f);
    g_hge->Release();
}

TEST(Lifecycle, InputScriptFromTheEnvironment) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("input.txt", "2 press 65\n3 close\n"));
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    ScopedEnv input("DROVALIN_INPUT", (dir / "input.txt").c_str());
    g_hge = hgeCreate(HGE_VERSION);
    g_frames = 0;
    ASSERT_TRUE(g_hge->System_Initiate());
    g_hge->System_SetState(HGE_FRAMEFUNC, CountFrame);
    EXPECT_TRUE(g_hge->System_Start()) << "the close request ends the loop";
    EXPECT_EQ(g_frames, 2);
    EXPECT_EQ(g_hge->Input_GetKey(), 0);
    g_hge->Release();
}

TEST(Lifecycle, TextLogStartsAfreshAndTakesFormattedLines) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("app.log", "old run\n"));
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    HGE* hge = hgeCreate(HGE_VERSION);
    hge->System_SetState(HGE_LOGFILE, (dir / "app.log").c_str());
    hge->System_Log("----HINT: %s (%d).", "EntityManager is destroyed", 0);
    hge->Release();
    std::string text;
    ASSERT_TRUE(FileSystem::ReadFile(dir / "app.log", text));
    EXPECT_EQ(text.find("old run"), std::string::npos);
    EXPECT_NE(text.find("----HINT: EntityManager is destroyed (0).\n"), std::string::npos);
}

TEST(TextEncoding, Windows1250RoundTrip) {
    const std::string czech = "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2";  // Příliš žluťoučký kůň
    const std::string utf8 = Cp1250ToUtf8(czech);
    EXPECT_EQ(utf8, "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88");
    EXPECT_EQ(TypedToCp1250(utf8), czech);
    EXPECT_EQ(TypedToCp1250("\xE2\x82\xAC"), "\x80");  // euro sign
    EXPECT_EQ(TypedToCp1250("a\xE4\xB8\xAD" "b"), "ab");  // no such character
    EXPECT_EQ(TypedToCp1250("a\xC5"), "a") << "a cut sequence is dropped";
    EXPECT_EQ(TypedToCp1250("\x80x"), "x");
}
