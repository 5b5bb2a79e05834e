// A first program entry: creates the engine interface, runs frames until the
// window closes (or DROVALIN_FRAMES ends the run) and shuts down.
#include <string>

#include "platform/FileSystem.h"
#include "platform/StorageFolder.h"
#include "platform/hge.h"

namespace {

HGE* g_hge = nullptr;

bool FrameFunc() { return g_hge->Input_KeyDown(HGEK_ESCAPE); }

bool RenderFunc() {
    g_hge->Gfx_BeginScene();
    g_hge->Gfx_Clear(0xFF000000);
    hgeQuad q;
    const DWORD colours[4] = {0xFFC03030, 0xFF30C030, 0xFF3030C0, 0xFFC0C030};
    const float x = 300, y = 200, w = 200, h = 200;
    const float xs[4] = {x, x + w, x + w, x}, ys[4] = {y, y, y + h, y + h};
    for (int i = 0; i < 4; ++i) {
        q.v[i].x = xs[i];
        q.v[i].y = ys[i];
        q.v[i].z = 0.5f;
        q.v[i].col = colours[i];
    }
    g_hge->Gfx_RenderQuad(&q);
    g_hge->Gfx_EndScene();
    return false;
}

}  // namespace

int main() {
    const std::string storage = FindStorageFolder();
    FileSystem::CopyFileIfAbsent(FileSystem::ProgramDir() + "app.ini", storage + "app.ini");

    g_hge = hgeCreate(HGE_VERSION);
    g_hge->System_SetState(HGE_INIFILE, (storage + "app.ini").c_str());
    g_hge->System_SetState(HGE_LOGFILE, (storage + "app.log").c_str());
    g_hge->System_SetState(HGE_FRAMEFUNC, FrameFunc);
    g_hge->System_SetState(HGE_RENDERFUNC, RenderFunc);
    g_hge->System_SetState(HGE_TITLE, "Drovalin 1.0.0");
    g_hge->System_SetState(HGE_SCREENWIDTH, 800);
    g_hge->System_SetState(HGE_SCREENHEIGHT, 600);
    g_hge->System_SetState(HGE_WINDOWED, g_hge->Ini_GetInt("SYSTEM", "Windowed", 0) != 0);
    g_hge->System_SetState(HGE_HIDEMOUSE, false);
    g_hge->System_SetState(HGE_FPS, 300);
    g_hge->System_SetState(HGE_SHOWSPLASH, false);
    g_hge->System_SetState(HGE_USESOUND, false);

    int rc = 0;
    if (g_hge->System_Initiate()) {
        g_hge->Random_Seed(0);
        g_hge->System_Start();
    } else {
        rc = 1;
    }
    g_hge->System_Shutdown();
    g_hge->Release();
    return rc;
}
