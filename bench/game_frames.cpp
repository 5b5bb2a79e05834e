// Frame cost of the real game: starts it in a fresh storage folder with one
// player, lets the three logos run their course, waits for the load screen's
// bar and presses a key, then runs one minute of frame time in the main menu
// with its fish and bubbles. Prints, per phase, the mean and 99th percentile
// update and render cost per frame, the quads, draw-call runs (quads of equal
// texture, blend, mask and clipping in draw order) and draw calls per frame;
// then the start-up time to the first logo frame and the peak resident memory.
//
// Headless (DROVALIN_HEADLESS=1): fixed 1/300 s steps, no GL. With a window
// (e.g. under xvfb-run) set DROVALIN_NOCAP=1 to lift the 300 fps cap.
// DROVALIN_BENCH_SECONDS=S changes the minute of menu time; DROVALIN_BENCH_VERBOSE=1
// names the frames where the phases change.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "entities/core/EntityManager.h"
#include "entities/screens/CLoadScreen.h"
#include "entities/screens/CLogoScreen.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/RenderStats.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"

using Clock = std::chrono::steady_clock;
using ZOLTFramework::g_pEngine;

namespace {

const Clock::time_point g_processStart = Clock::now();

enum Phase { kLogos, kLoad, kMenu, kPhases };
const char* const kPhaseNames[kPhases] = {"logos", "load screen", "main menu"};

struct FrameCost {
    double update = 0, render = 0;  // milliseconds
    int quads = 0, runs = 0, drawCalls = 0;
};

std::vector<FrameCost> g_frames[kPhases];
Phase g_phase = kLogos;
FrameCost g_current;
double g_menuTime = 0;
double g_menuSeconds = 60;
double g_firstLogoFrame = -1;  // seconds from process start
int g_frameNumber = 0;
int g_lastKey = -1000;
size_t g_fish = 0;
double g_initSeconds = 0;  // the application's start-up (engine, window, text, players, fonts, audio)  // most fish alive at once in the menu

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

Phase CurrentPhase() {
    Phase phase = kLogos;
    if (!g_pEngine || !g_pEngine->GetEntityManager()) return phase;
    for (ZOLTFramework::CEntity* screen : g_pEngine->GetEntityManager()->GetDrawList()) {
        if (dynamic_cast<ZOLTFramework::CMenuScreen*>(screen)) return kMenu;
        if (dynamic_cast<ZOLTFramework::CLoadScreen*>(screen)) phase = kLoad;
    }
    return phase;
}

// Draw-call runs of the recorded quads: a new run wherever texture, blend,
// mask or clipping change from the quad before.
int CountRuns(const std::vector<RenderStats::RecordedQuad>& quads) {
    auto blend = [](const hgeQuad& q) { return q.blend & (BLEND_COLORADD | BLEND_ALPHABLEND); };
    auto mask = [](const hgeQuad& q) { return q.stage2Mode == 2 ? q.tex2 : 0; };
    int runs = 0;
    const RenderStats::RecordedQuad* last = nullptr;
    for (const RenderStats::RecordedQuad& q : quads) {
        const bool same = last && last->quad.tex == q.quad.tex && blend(last->quad) == blend(q.quad) &&
                          mask(last->quad) == mask(q.quad) && last->clipped == q.clipped &&
                          (!q.clipped || (last->clipX == q.clipX && last->clipY == q.clipY &&
                                          last->clipW == q.clipW && last->clipH == q.clipH));
        if (!same) ++runs;
        last = &q;
    }
    return runs;
}

bool BenchFrame() {
    ++g_frameNumber;
    const Phase phase = CurrentPhase();
    if (phase != g_phase && std::getenv("DROVALIN_BENCH_VERBOSE"))
        std::fprintf(stderr, "frame %d: %s\n", g_frameNumber, kPhaseNames[phase]);
    g_phase = phase;
    // A key every 30 frames on the load screen: it opens the menu once the bar is full.
    if (g_phase == kLoad && g_frameNumber - g_lastKey >= 30) {
        g_lastKey = g_frameNumber;
        InputEvent press;
        press.kind = InputEvent::Press;
        press.key = HGEK_SPACE;
        FrameDriver::Inject(press);
    }
    const Clock::time_point t0 = Clock::now();
    const bool quit = g_pEngine->Frame();
    if (g_phase == kMenu) g_fish = std::max(g_fish, PlayerManager::Instance()->GetFish().size());
    g_current = FrameCost();
    g_current.update = Ms(Clock::now() - t0);
    if (g_phase == kMenu) g_menuTime += g_pEngine->GetHGE()->Timer_GetDelta();
    return quit || g_menuTime >= g_menuSeconds;
}

bool BenchRender() {
    RenderStats::ClearRecorded();
    const Clock::time_point t0 = Clock::now();
    g_pEngine->Render();
    g_current.render = Ms(Clock::now() - t0);
    const RenderStats::Frame stats = RenderStats::LastFrame();
    g_current.quads = stats.quads;
    g_current.drawCalls = stats.drawCalls;
    g_current.runs = CountRuns(RenderStats::Recorded());
    g_frames[g_phase].push_back(g_current);
    if (g_firstLogoFrame < 0 && g_phase == kLogos && g_current.quads > 0)
        g_firstLogoFrame = std::chrono::duration<double>(Clock::now() - g_processStart).count();
    return false;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t i = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[i];
}

void Report(Phase phase) {
    const std::vector<FrameCost>& frames = g_frames[phase];
    if (frames.empty()) {
        std::printf("%-12s no frames\n", kPhaseNames[phase]);
        return;
    }
    std::vector<double> update, render, total;
    double quads = 0, runs = 0, calls = 0;
    int callsOverRuns = 0;
    for (const FrameCost& f : frames) {
        update.push_back(f.update);
        render.push_back(f.render);
        total.push_back(f.update + f.render);
        quads += f.quads;
        runs += f.runs;
        calls += f.drawCalls;
        if (f.drawCalls > f.runs) ++callsOverRuns;
    }
    const double n = double(frames.size());
    auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v) s += x;
        return v.empty() ? 0 : s / double(v.size());
    };
    std::printf("%-12s %6zu frames  update %.3f ms (p99 %.3f)  render %.3f ms (p99 %.3f)  total %.3f ms (p99 %.3f)\n",
                kPhaseNames[phase], frames.size(), mean(update), Percentile(update, 0.99), mean(render),
                Percentile(render, 0.99), mean(total), Percentile(total, 0.99));
    std::printf("%-12s quads %.1f  draw-call runs %.1f  draw calls %.1f per frame; frames with more calls than runs: %d\n",
                "", quads / n, runs / n, calls / n, callsOverRuns);
}

// A storage folder with one active player, so the menu opens as it does for
// a returning player.
std::string MakeStorage() {
    std::string pattern = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
    pattern += "/drovalin-bench-XXXXXX";
    const char* made = ::mkdtemp(&pattern[0]);
    if (!made) return "";
    const std::string home = std::string(made) + "/";
    const std::string storage = home + "Orvelworks/Drovalin/";
    std::filesystem::create_directories(storage + "data/Map");
    std::ofstream(storage + "data/users.xml")
        << "<Players>\n    <Player Name=\"Bench\" SaveFile=\"" << storage
        << "data\\Map\\1.xml\" IsActive=\"1\" Time=\"1200\" ScoreItems=\"0\" ScoreSpeed=\"0\" "
           "ScoreMiniGames=\"0\" ScoreNode=\"0\" CigarCount=\"3\"/>\n</Players>";
    return home;
}

}  // namespace

int main() {
    // Beside the content, like the game: the program folder, or the build
    // folder above it.
    const std::string programDir = FileSystem::ProgramDir();
    if (!programDir.empty() && ::chdir(programDir.c_str()) == 0 && !FileSystem::DirectoryExists("data"))
        if (::chdir("..") != 0) return 1;
    if (const char* s = std::getenv("DROVALIN_BENCH_SECONDS")) g_menuSeconds = std::max(1.0, std::atof(s));
    const std::string home = MakeStorage();
    if (home.empty()) return 1;
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);

    const Clock::time_point initStart = Clock::now();
    auto* app = new ZOLTFramework::GameApp();
    const bool started = app->Init();
    g_initSeconds = std::chrono::duration<double>(Clock::now() - initStart).count();
    if (!started) {
        std::fprintf(stderr, "the game did not start\n");
        delete app;
        return 1;
    }
    HGE* hge = app->GetHGE();
    const bool headless = std::getenv("DROVALIN_HEADLESS") && std::strcmp(std::getenv("DROVALIN_HEADLESS"), "0") != 0;
    RenderStats::SetRecording(true);
    hge->System_SetState(HGE_FRAMEFUNC, BenchFrame);
    hge->System_SetState(HGE_RENDERFUNC, BenchRender);
    const Clock::time_point runStart = Clock::now();
    app->Run();
    const double wall = std::chrono::duration<double>(Clock::now() - runStart).count();
    RenderStats::SetRecording(false);
    delete app;

    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);

    const char* cap = std::getenv("DROVALIN_NOCAP");
    std::printf("backend: %s%s; %.1f s of menu frame time in %.1f s\n", headless ? "headless" : "SDL2 + OpenGL",
                headless ? "" : (cap && std::strcmp(cap, "0") != 0 ? ", frame cap off" : ", frame cap on"),
                g_menuTime, wall);
    for (int p = 0; p < kPhases; ++p) Report(Phase(p));
    std::printf("most fish at once in the menu: %zu\n", g_fish);
    std::printf("start-up to the first logo frame: %.3f s (of which the application's start-up %.3f s)\n",
                g_firstLogoFrame, g_initSeconds);
    std::printf("peak resident memory: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return g_frames[kMenu].empty() ? 1 : 0;
}
