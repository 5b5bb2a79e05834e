// Frame cost of the real game: starts it in a fresh storage folder with one
// player, lets the three logos run their course, waits for the load screen's
// bar and presses a key, then runs one minute of frame time in the main menu
// with its fish and bubbles. Then every demo scene is opened once (its load
// time: the level screen built to its first drawn frame) and the busiest one
// (most objects and particle systems) is played for one minute of level time:
// the lens moving over the scene, an object found every 4 s, a miss every 3 s,
// cigar hints, the level opened again when won. Last comes the scaling run:
// the study's pictures scattered as 50, 200 and 800 objects, each on the list,
// in scenes generated into the storage folder; each is loaded once and played
// the same way for 10 s of level time, and its load time and frame cost are
// printed side by side, with the cost each 100 objects added bring.
//
// Prints, per phase, the mean and 99th percentile update and render cost per
// frame, the quads, draw-call runs and draw calls per frame; the scene loads;
// the start-up steps and the time to the first logo frame; the peak resident
// memory. With DROVALIN_BENCH_STARTS=N it then starts the game in N fresh
// processes to their first logo frame and prints the median and the worst.
//
// Headless (DROVALIN_HEADLESS=1): fixed 1/300 s steps, no GL. With a window
// (e.g. under xvfb-run) set DROVALIN_NOCAP=1 to lift the 300 fps cap.
// DROVALIN_BENCH_SECONDS=S changes the minute of menu and of level time;
// DROVALIN_BENCH_SCALE=50,200,800 sets the scaling run's object counts (0 leaves
// it out), DROVALIN_BENCH_SCALE_SECONDS its level time per scene;
// DROVALIN_BENCH_VERBOSE=1 names the frames where the phases change;
// DROVALIN_BENCH_KEEP=1 keeps the storage folder (and its Log.html).
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/GameApp.h"
#include "entities/core/EntityManager.h"
#include "entities/screens/CLoadScreen.h"
#include "game_frames/FrameStats.h"
#include "game_frames/LevelRun.h"
#include "game_frames/ScaleScene.h"
#include "game_frames/StartTimes.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/RenderStats.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"

using Clock = std::chrono::steady_clock;
using ZOLTFramework::g_pEngine;

namespace {

const Clock::time_point g_processStart = Clock::now();

enum Phase { kLogos, kLoad, kMenu, kSceneLoads, kLevel, kScaling, kPhases };
const char* const kPhaseNames[kPhases] = {"logos",        "load screen",  "main menu",
                                          "scene loads",  "busiest level", "scaling run"};

std::vector<FrameCost> g_frames[kPhases];
Phase g_phase = kLogos;
FrameCost g_current;
double g_menuTime = 0;
double g_seconds = 60;
double g_firstLogoFrame = -1;  // seconds from process start
int g_frameNumber = 0;
int g_lastKey = -1000;
size_t g_fish = 0;  // most fish alive at once in the menu
bool g_startChild = false;
std::unique_ptr<LevelRun> g_levels;
std::vector<std::pair<int, std::string>> g_scaleScenes;  // objects, generated scene
double g_scaleSeconds = 10;
double g_peakBeforeScaling = -1;  // MB, when the scaling run starts
ZOLTFramework::GameApp* g_app = nullptr;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double PeakResidentMb() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Logos, load screen or menu by the screens up; the level phases once the
// menu's time is over.
Phase CurrentPhase() {
    if (g_levels) {
        const LevelRun::Stage stage = g_levels->GetStage();
        return stage == LevelRun::kLoads ? kSceneLoads : stage == LevelRun::kPlay ? kLevel : kScaling;
    }
    Phase phase = kLogos;
    if (!g_pEngine || !g_pEngine->GetEntityManager()) return phase;
    for (ZOLTFramework::CEntity* screen : g_pEngine->GetEntityManager()->GetDrawList()) {
        if (dynamic_cast<ZOLTFramework::CMenuScreen*>(screen)) return kMenu;
        if (dynamic_cast<ZOLTFramework::CLoadScreen*>(screen)) phase = kLoad;
    }
    return phase;
}

bool BenchFrame() {
    ++g_frameNumber;
    if (g_startChild && g_firstLogoFrame >= 0) return true;
    if (!g_levels && g_menuTime >= g_seconds) {
        g_levels = std::make_unique<LevelRun>(*g_pEngine->GetEntityManager(), g_seconds);
        for (const auto& scene : g_scaleScenes) g_levels->AddScaleScene(scene.first, scene.second, g_scaleSeconds);
    }
    const Phase phase = CurrentPhase();
    if (phase == kScaling && g_peakBeforeScaling < 0) g_peakBeforeScaling = PeakResidentMb();
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
    if (g_levels) g_levels->BeforeFrame();
    const Clock::time_point t0 = Clock::now();
    const bool quit = g_pEngine->Frame();
    const float dt = g_pEngine->GetHGE()->Timer_GetDelta();
    if (g_phase == kMenu) {
        g_fish = std::max(g_fish, PlayerManager::Instance()->GetFish().size());
        g_menuTime += dt;
    }
    g_current = FrameCost();
    g_current.update = Ms(Clock::now() - t0);
    if (g_levels) g_levels->CountTime(dt);
    return quit || (g_levels && g_levels->GetStage() == LevelRun::kDone);
}

bool BenchRender() {
    // The scaling run records the quads of one frame in 50 only (copying
    // them would weigh on its larger scenes) and times the others.
    const bool recorded = g_phase != kScaling || g_frameNumber % 50 == 0;
    RenderStats::SetRecording(recorded);
    RenderStats::ClearRecorded();
    const bool starting = !g_app->IsStartUpFinished();
    const Clock::time_point t0 = Clock::now();
    g_pEngine->Render();
    // The first frame's drawing ends where the rest of the start-up begins.
    const Clock::time_point drawn = starting && g_app->IsStartUpFinished() ? g_app->GetFirstFrameShownAt() : Clock::now();
    g_current.render = Ms(drawn - t0);
    const RenderStats::Frame stats = RenderStats::LastFrame();
    g_current.quads = stats.quads;
    g_current.drawCalls = stats.drawCalls;
    g_current.runs = CountRuns(RenderStats::Recorded());
    g_current.fill = CountFill(RenderStats::Recorded());
    g_frames[g_phase].push_back(g_current);
    if (g_firstLogoFrame < 0 && g_phase == kLogos && g_current.quads > 0) {
        g_firstLogoFrame = std::chrono::duration<double>(drawn - g_processStart).count();
        if (g_startChild) StartTimes::PrintFirstLogoFrame(drawn);
    }
    if (g_levels) g_levels->AfterRender(g_current, recorded);
    return false;
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

void ReportStarts(int starts) {
    std::vector<double> seconds = StartTimes::Measure(starts);
    if (seconds.empty()) {
        std::printf("fresh starts: none reached the first logo frame\n");
        return;
    }
    std::sort(seconds.begin(), seconds.end());
    const size_t n = seconds.size();
    const double median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) * 0.5;
    std::printf("fresh starts to the first logo frame: %zu of %d, median %.3f s, worst %.3f s\n", n, starts, median,
                seconds.back());
}

}  // namespace

int main() {
    // Beside the content, like the game: the program folder, or the build
    // folder above it.
    const std::string programDir = FileSystem::ProgramDir();
    if (!programDir.empty() && ::chdir(programDir.c_str()) == 0 && !FileSystem::DirectoryExists("data"))
        if (::chdir("..") != 0) return 1;
    if (const char* s = std::getenv("DROVALIN_BENCH_SECONDS")) g_seconds = std::max(1.0, std::atof(s));
    g_startChild = StartTimes::IsChild();
    const std::string home = MakeStorage();
    if (home.empty()) return 1;
    if (!g_startChild) {
        if (const char* s = std::getenv("DROVALIN_BENCH_SCALE_SECONDS")) g_scaleSeconds = std::max(1.0, std::atof(s));
        const char* counts = std::getenv("DROVALIN_BENCH_SCALE");
        std::istringstream list(counts ? counts : "50,200,800");
        for (std::string count; std::getline(list, count, ',');) {
            const int objects = std::atoi(count.c_str());
            if (objects <= 0) continue;
            const std::string path = WriteScaleScene(home, objects);
            if (!path.empty()) g_scaleScenes.push_back({objects, path});
        }
    }
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);

    auto* app = g_app = new ZOLTFramework::GameApp();
    const bool started = app->Init();
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
    const std::string steps = app->DescribeStartUpTimes();
    delete app;
    g_app = nullptr;

    const double peak = PeakResidentMb();
    std::error_code ec;
    if (!std::getenv("DROVALIN_BENCH_KEEP")) std::filesystem::remove_all(home, ec);
    else std::fprintf(stderr, "storage kept in %s\n", home.c_str());
    if (g_startChild) return 0;

    const char* cap = std::getenv("DROVALIN_NOCAP");
    std::printf("backend: %s%s; %.1f s of menu and %.1f s of level time in %.1f s\n",
                headless ? "headless" : "SDL2 + OpenGL",
                headless ? "" : (cap && std::strcmp(cap, "0") != 0 ? ", frame cap off" : ", frame cap on"), g_menuTime,
                g_levels ? g_levels->PlayedSeconds() : 0.0, wall);
    // The scaling run has its own table, in the level report.
    for (int p = 0; p < kScaling; ++p) ReportPhase(kPhaseNames[p], g_frames[p]);
    std::printf("most fish at once in the menu: %zu\n", g_fish);
    if (g_levels) g_levels->PrintReport();
    std::printf("start-up steps: %s\n", steps.c_str());
    std::printf("start-up to the first logo frame: %.3f s\n", g_firstLogoFrame);
    if (g_peakBeforeScaling >= 0)
        std::printf("peak resident memory: %.1f MB, %.1f MB before the scaling run\n", peak, g_peakBeforeScaling);
    else
        std::printf("peak resident memory: %.1f MB\n", peak);
    if (const char* starts = std::getenv("DROVALIN_BENCH_STARTS")) ReportStarts(std::max(1, std::atoi(starts)));
    return g_frames[kLevel].empty() ? 1 : 0;
}
