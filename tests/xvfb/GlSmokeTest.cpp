// Runs the SDL2 + OpenGL backend in a real (virtual) X display, draws every kind
// of quad the game uses and checks the snapshot's pixels. Started by CTest
// through xvfb-run; skipped when there is no display.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/FrameDriver.h"
#include "platform/RenderStats.h"
#include "platform/hge.h"
#include "SnapshotPicture.h"

namespace {

HGE* g_hge = nullptr;
HTEXTURE g_green = 0, g_white = 0, g_addBase = 0, g_sprite = 0, g_mask = 0;
const DWORD kBackground = 0xFF000040;

hgeQuad Quad(HTEXTURE tex, float x, float y, float w, float h, DWORD col, int blend = BLEND_DEFAULT) {
    hgeQuad q;
    q.tex = tex;
    q.blend = blend;
    const float xs[4] = {x, x + w, x + w, x}, ys[4] = {y, y, y + h, y + h};
    const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        q.v[i].x = xs[i];
        q.v[i].y = ys[i];
        q.v[i].z = 0.5f;
        q.v[i].col = col;
        q.v[i].tx = us[i];
        q.v[i].ty = vs[i];
    }
    return q;
}

HTEXTURE Solid(int w, int h, DWORD argb) {
    HTEXTURE t = g_hge->Texture_Create(w, h);
    DWORD* p = g_hge->Texture_Lock(t, false);
    for (int i = 0; i < w * h; ++i) p[i] = argb;
    g_hge->Texture_Unlock(t);
    return t;
}

bool Frame() { return false; }
int g_restores = 0;
bool Restore() {
    ++g_restores;
    return false;
}

bool Render() {
    g_hge->Gfx_BeginScene();
    g_hge->Gfx_Clear(kBackground);
    hgeQuad q = Quad(0, 10, 10, 40, 40, 0xFFFF0000);  // untextured
    g_hge->Gfx_RenderQuad(&q);
    q = Quad(g_green, 60, 10, 40, 40, 0xFFFFFFFF);  // textured
    g_hge->Gfx_RenderQuad(&q);
    q = Quad(g_white, 110, 10, 40, 40, 0xFF8040C0);  // tinted
    g_hge->Gfx_RenderQuad(&q);
    q = Quad(g_white, 160, 10, 40, 40, 0x80FF0000);  // alpha blended
    g_hge->Gfx_RenderQuad(&q);
    q = Quad(g_addBase, 210, 10, 40, 40, 0xFF100000, BLEND_COLORADD | BLEND_ALPHABLEND);  // colour add
    g_hge->Gfx_RenderQuad(&q);
    q = Quad(g_white, 260, 10, 40, 40, 0xFF400000, BLEND_ALPHAADD);  // alpha add
    g_hge->Gfx_RenderQuad(&q);

    // Masked: a 16 x 16 sprite, the 8 x 8 mask's origin on sprite texel (4, 4).
    q = Quad(g_sprite, 300, 100, 16, 16, 0xFFFFFFFF);
    q.tex2 = g_mask;
    q.stage2Mode = 2;
    q.tx2Offset = 4;
    q.ty2Offset = 4;
    g_hge->Gfx_RenderQuad(&q);

    g_hge->Gfx_SetClipping(500, 10, 20, 20);  // clipped
    q = Quad(0, 490, 0, 60, 60, 0xFFFF0000);
    g_hge->Gfx_RenderQuad(&q);
    g_hge->Gfx_SetClipping();
    g_hge->Gfx_EndScene();
    return false;
}

::testing::AssertionResult Near(const Picture& pic, int x, int y, int r, int g, int b, int tol = 4) {
    const uint32_t c = pic.At(x, y);
    const int pr = int((c >> 16) & 0xFF), pg = int((c >> 8) & 0xFF), pb = int(c & 0xFF);
    if (std::abs(pr - r) <= tol && std::abs(pg - g) <= tol && std::abs(pb - b) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << pr << ", " << pg << ", " << pb
                                         << "), expected (" << r << ", " << g << ", " << b << ")";
}

}  // namespace

// One window for every check: creating one takes most of the test's time.
TEST(GlSmoke, DrawsEveryKindOfQuadAndSnapshotsIt) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    const TempDir& dir = folder.dir;

    g_hge = hgeCreate(HGE_VERSION);
    g_hge->System_SetState(HGE_LOGFILE, (dir / "app.log").c_str());
    g_hge->System_SetState(HGE_WINDOWED, true);
    g_hge->System_SetState(HGE_SCREENWIDTH, 800);
    g_hge->System_SetState(HGE_SCREENHEIGHT, 600);
    g_hge->System_SetState(HGE_FPS, 300);
    g_hge->System_SetState(HGE_FRAMEFUNC, Frame);
    g_hge->System_SetState(HGE_RENDERFUNC, Render);
    g_hge->System_SetState(HGE_TITLE, "Drovalin \x9E");  // Windows-1250 title
    g_hge->System_SetState(HGE_GFXRESTOREFUNC, Restore);
    g_restores = 0;
    ASSERT_TRUE(g_hge->System_Initiate()) << g_hge->System_GetErrorMessage();

    g_green = Solid(4, 4, 0xFF00FF00);
    g_white = Solid(4, 4, 0xFFFFFFFF);
    g_addBase = Solid(4, 4, 0xFF204060);
    g_sprite = Solid(16, 16, 0xFFFFFFFF);
    g_mask = Solid(8, 8, 0x00000000);
    DWORD* m = g_hge->Texture_Lock(g_mask, false, 0, 0, 4, 8);  // left half opaque
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x) m[y * 8 + x] = 0xFFFFFFFF;
    g_hge->Texture_Unlock(g_mask);

    g_hge->System_Snapshot((dir / "windowed.png").c_str());
    EXPECT_EQ(FrameDriver::RunFrames(3), 3);
    EXPECT_EQ(RenderStats::LastFrame().quads, 8);
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 7) << "tinted and alpha-blended quads share a run";

    Picture pic;
    ASSERT_TRUE(LoadPng(dir / "windowed.png", pic));
    ASSERT_EQ(pic.w, 800);
    ASSERT_EQ(pic.h, 600);
    EXPECT_TRUE(Near(pic, 5, 5, 0, 0, 64)) << "background";
    EXPECT_TRUE(Near(pic, 30, 30, 255, 0, 0)) << "untextured";
    EXPECT_TRUE(Near(pic, 80, 30, 0, 255, 0)) << "textured";
    EXPECT_TRUE(Near(pic, 130, 30, 128, 64, 192)) << "tinted";
    EXPECT_TRUE(Near(pic, 180, 30, 128, 0, 32)) << "alpha blended";
    EXPECT_TRUE(Near(pic, 230, 30, 0x30, 0x40, 0x60)) << "colour add";
    EXPECT_TRUE(Near(pic, 280, 30, 64, 0, 64)) << "alpha add";
    EXPECT_TRUE(Near(pic, 305, 105, 255, 255, 255)) << "inside the mask, opaque part";
    EXPECT_TRUE(Near(pic, 309, 105, 0, 0, 64)) << "inside the mask, transparent part";
    EXPECT_TRUE(Near(pic, 301, 101, 0, 0, 64)) << "outside the mask";
    EXPECT_TRUE(Near(pic, 305, 114, 0, 0, 64)) << "below the mask";
    EXPECT_TRUE(Near(pic, 510, 20, 255, 0, 0)) << "inside the clip rectangle";
    EXPECT_TRUE(Near(pic, 495, 5, 0, 0, 64)) << "left of and above the clip rectangle";
    EXPECT_TRUE(Near(pic, 530, 35, 0, 0, 64)) << "right of and below the clip rectangle";

    // Textures changed through a lock reach the screen.
    DWORD* g = g_hge->Texture_Lock(g_green, false);
    for (int i = 0; i < 16; ++i) g[i] = 0xFF0000FF;
    g_hge->Texture_Unlock(g_green);
    g_hge->System_Snapshot((dir / "relocked.png").c_str());
    FrameDriver::RunFrames(1);
    ASSERT_TRUE(LoadPng(dir / "relocked.png", pic));
    EXPECT_TRUE(Near(pic, 80, 30, 0, 0, 255));

    // The mouse keeps screen units: the window is as large as the screen here.
    SDL_WarpMouseInWindow(SDL_GL_GetCurrentWindow(), 123, 45);
    FrameDriver::RunFrames(2);
    float mx = 0, my = 0;
    g_hge->Input_GetMousePos(&mx, &my);
    EXPECT_NEAR(mx, 123, 1.0);
    EXPECT_NEAR(my, 45, 1.0);

    // Full screen and back while running.
    EXPECT_EQ(g_restores, 0);
    FrameDriver::RunFrames(2);
    g_hge->System_SetState(HGE_WINDOWED, false);
    EXPECT_FALSE(g_hge->System_GetState(HGE_WINDOWED));
    FrameDriver::RunFrames(5);
    g_hge->System_Snapshot((dir / "full.png").c_str());
    FrameDriver::RunFrames(1);
    ASSERT_TRUE(LoadPng(dir / "full.png", pic));
    EXPECT_GE(pic.w, 800);
    // Without a window manager (plain Xvfb) the window may keep its size; with
    // one it fills the screen. Either way the frame is drawn and written.
    EXPECT_EQ(g_restores, 1) << "the graphics-restore callback follows the switch";
    g_hge->System_SetState(HGE_WINDOWED, true);
    EXPECT_EQ(g_restores, 2);
    FrameDriver::RunFrames(5);
    g_hge->System_Snapshot((dir / "back.png").c_str());
    FrameDriver::RunFrames(1);
    ASSERT_TRUE(LoadPng(dir / "back.png", pic));
    EXPECT_EQ(pic.w, 800);
    EXPECT_EQ(pic.h, 600);
    EXPECT_TRUE(Near(pic, 80, 30, 0, 0, 255));

    g_hge->System_Shutdown();
    g_hge->Texture_Free(g_green);  // after shut-down: harmless
    g_hge->Release();
}

