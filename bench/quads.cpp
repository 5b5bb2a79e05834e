// Cost of submitting quads: for N quads a frame, on one texture (one run) and on
// alternating textures (a run per quad), the time per frame and per quad and the
// draw calls per frame, headless and (with an X display) through SDL2 + OpenGL.
//   bench_quads [frames]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/RenderStats.h"
#include "platform/hge.h"

namespace {

void Run(const char* backend, int frames) {
    HGE* hge = hgeCreate(HGE_VERSION);
    hge->System_SetState(HGE_WINDOWED, true);
    hge->System_SetState(HGE_TITLE, "bench_quads");
    if (!hge->System_Initiate()) {
        std::printf("%-9s cannot start: %s\n", backend, hge->System_GetErrorMessage());
        hge->Release();
        return;
    }
    HTEXTURE tex[2] = {hge->Texture_Create(64, 64), hge->Texture_Create(64, 64)};
    for (int n : {100, 1000, 10000}) {
        for (int alternate = 0; alternate < 2; ++alternate) {
            hgeQuad q;
            const auto start = std::chrono::steady_clock::now();
            for (int f = 0; f < frames; ++f) {
                hge->Gfx_BeginScene();
                hge->Gfx_Clear(0xFF000000);
                for (int i = 0; i < n; ++i) {
                    const float x = float((i * 37) % 780), y = float((i * 53) % 580);
                    q.tex = tex[alternate ? (i & 1) : 0];
                    q.v[0].x = x, q.v[0].y = y, q.v[0].tx = 0, q.v[0].ty = 0;
                    q.v[1].x = x + 16, q.v[1].y = y, q.v[1].tx = 1, q.v[1].ty = 0;
                    q.v[2].x = x + 16, q.v[2].y = y + 16, q.v[2].tx = 1, q.v[2].ty = 1;
                    q.v[3].x = x, q.v[3].y = y + 16, q.v[3].tx = 0, q.v[3].ty = 1;
                    for (auto& v : q.v) v.col = 0xFFFFFFFF;
                    hge->Gfx_RenderQuad(&q);
                }
                hge->Gfx_EndScene();
            }
            const double us =
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / frames;
            std::printf("%-9s %6d quads %-11s %10.1f us/frame %8.1f ns/quad %6d draw calls/frame\n", backend, n,
                        alternate ? "alternating" : "one texture", us, us * 1000.0 / n,
                        RenderStats::LastFrame().drawCalls);
        }
    }
    hge->System_Shutdown();
    hge->Release();
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    setenv("DROVALIN_HEADLESS", "1", 1);
    Run("headless", frames);
    const char* display = std::getenv("DISPLAY");
    if (display && *display) {
        unsetenv("DROVALIN_HEADLESS");
        Run("opengl", frames);
    } else {
        std::printf("opengl    skipped: no X display (try xvfb-run -a bench_quads)\n");
    }
    return 0;
}
