// Full screen under a bare X server (no window manager): the window keeps its
// 800 x 600 size whatever SDL asked for, and the picture and the mouse must
// follow the window as it is, not the desktop's size.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/FrameDriver.h"
#include "platform/hge.h"
#include "SnapshotPicture.h"

namespace {

HGE* g_hge = nullptr;

hgeQuad Solid(float x, float y, float w, float h, DWORD col) {
    hgeQuad q = {};
    q.blend = BLEND_DEFAULT;
    const float xs[4] = {x, x + w, x + w, x}, ys[4] = {y, y, y + h, y + h};
    for (int i = 0; i < 4; ++i) {
        q.v[i].x = xs[i];
        q.v[i].y = ys[i];
        q.v[i].z = 0.5f;
        q.v[i].col = col;
    }
    return q;
}

bool Frame() { return false; }

bool Render() {
    g_hge->Gfx_BeginScene();
    g_hge->Gfx_Clear(0xFF000040);
    hgeQuad q = Solid(0, 0, 40, 40, 0xFF00FF00);  // top left corner
    g_hge->Gfx_RenderQuad(&q);
    q = Solid(760, 560, 40, 40, 0xFFFF0000);  // bottom right corner
    g_hge->Gfx_RenderQuad(&q);
    g_hge->Gfx_EndScene();
    return false;
}

// The picture shows the whole screen, corner to corner, filling the window
// (4:3 like the screen, so no bars).
void ExpectWholeScreen(const std::string& path, int w, int h) {
    g_hge->System_Snapshot(path.c_str());
    FrameDriver::RunFrames(1);
    Picture pic;
    ASSERT_TRUE(LoadPng(path, pic));
    ASSERT_EQ(pic.w, w);
    ASSERT_EQ(pic.h, h);
    const uint32_t topLeft = pic.At(w / 40, h / 30), bottomRight = pic.At(w - w / 40, h - h / 30);
    EXPECT_GT(Picture::Green(topLeft), 200) << path;
    EXPECT_GT(Picture::Red(bottomRight), 200) << path;
    EXPECT_LT(Picture::Green(bottomRight), 50) << path;
}

// A pointer event at window point (x, y) reads as screen point (sx, sy).
void ExpectMouse(int x, int y, float sx, float sy) {
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
    FrameDriver::RunFrames(1);
    float mx = 0, my = 0;
    g_hge->Input_GetMousePos(&mx, &my);
    EXPECT_NEAR(mx, sx, 1.0f) << "window point " << x << ", " << y;
    EXPECT_NEAR(my, sy, 1.0f) << "window point " << x << ", " << y;
}

}  // namespace

TEST(FullScreen, WithoutAWindowManagerThePictureAndMouseFollowTheWindow) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    g_hge = hgeCreate(HGE_VERSION);
    g_hge->System_SetState(HGE_LOGFILE, (folder.dir / "app.log").c_str());
    g_hge->System_SetState(HGE_WINDOWED, true);
    g_hge->System_SetState(HGE_SCREENWIDTH, 800);
    g_hge->System_SetState(HGE_SCREENHEIGHT, 600);
    g_hge->System_SetState(HGE_FRAMEFUNC, Frame);
    g_hge->System_SetState(HGE_RENDERFUNC, Render);
    ASSERT_TRUE(g_hge->System_Initiate()) << g_hge->System_GetErrorMessage();
    FrameDriver::RunFrames(2);
    ExpectWholeScreen(folder.dir / "windowed.png", 800, 600);
    ExpectMouse(400, 300, 400, 300);

    // The desktop is 1024 x 768; with no window manager to grant it, the
    // window stays 800 x 600 while SDL reports the desktop's size.
    g_hge->System_SetState(HGE_WINDOWED, false);
    FrameDriver::RunFrames(5);
    ExpectWholeScreen(folder.dir / "full.png", 800, 600);
    ExpectMouse(400, 300, 400, 300);
    ExpectMouse(780, 580, 780, 580);

    // And back.
    g_hge->System_SetState(HGE_WINDOWED, true);
    FrameDriver::RunFrames(5);
    ExpectWholeScreen(folder.dir / "back.png", 800, 600);
    ExpectMouse(100, 50, 100, 50);

    g_hge->System_Shutdown();
    g_hge->Release();
}
