// The load screen in a real (virtual) window: once its bar is full and the
// product logo has popped up, the snapshot shows the logo over the background
// and the blue bar. Started by CTest through xvfb-run; skipped when there is no
// display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/CEngine.h"
#include "engine/EntityManager.h"
#include "engine/StringManager.h"
#include "entities/CLoadScreen.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/ImageCodec.h"
#include "platform/hge.h"
#include "support/TempDir.h"

namespace {

// The engine's frame and render path over a real window, with the game's
// resources, English text and caption font.
class LoadScreenEngine : public ZOLTFramework::CEngine {
public:
    explicit LoadScreenEngine(const TempDir& dir) {
        m_pHGE = hgeCreate(HGE_VERSION);
        m_pHGE->System_SetState(HGE_LOGFILE, (dir / "app.log").c_str());
        m_pHGE->System_SetState(HGE_INIFILE, (dir / "app.ini").c_str());
        m_pHGE->System_SetState(HGE_WINDOWED, true);
        m_pHGE->System_SetState(HGE_SCREENWIDTH, 800);
        m_pHGE->System_SetState(HGE_SCREENHEIGHT, 600);
        m_pHGE->System_SetState(HGE_FPS, 300);
        m_pHGE->System_SetState(HGE_FRAMEFUNC, ZOLTFramework::EngineFrameFunc);
        m_pHGE->System_SetState(HGE_RENDERFUNC, ZOLTFramework::EngineRenderFunc);
        started = m_pHGE->System_Initiate();
        m_pEntityManager = new EntityManager();
        m_pResourceManager = new hgeResourceManager("data\\Resource\\main.res");
        m_pStringManager = new StringManager();
        m_pStringManager->Load("data\\Text\\English.txt");
        // As the application sets it up.
        if (hgeFont* font = FontRegistry::Instance().LoadFont("Default", "data\\Font\\default.fnt"))
            font->SetTracking(-8.0f);
    }
    EntityManager& Manager() { return *m_pEntityManager; }
    bool started = false;
};

struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    template <class Test>
    int Count(int x1, int y1, int x2, int y2, Test test) const {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) {
                const uint32_t c = px[size_t(y) * size_t(w) + size_t(x)];
                n += test(int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF));
            }
        return n;
    }
};

}  // namespace

TEST(LoadScreenSnapshot, ShowsTheLogoAndTheFullBar) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    TempDir dir;
    ScopedEnv headless("DROVALIN_HEADLESS", nullptr);
    ScopedEnv xdg("XDG_DATA_HOME", dir.Path().c_str());

    LoadScreenEngine engine(dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    auto* load = new ZOLTFramework::CLoadScreen("");
    engine.Manager().Add(load);

    // The loading phase, then a little more than the logo's one-second pop.
    int frames = 0;
    while (!load->IsReady() && frames < 2000) frames += FrameDriver::RunFrames(1);
    ASSERT_TRUE(load->IsReady());
    const auto ready = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - ready < std::chrono::milliseconds(1300)) FrameDriver::RunFrames(1);

    // Kept in the build folder for a person to look at.
    const std::string shot = FileSystem::ProgramDir() + "load_screen_snapshot.png";
    engine.GetHGE()->System_Snapshot(shot.c_str());
    FrameDriver::RunFrames(1);
    std::string data, reason;
    Picture pic;
    ASSERT_TRUE(FileSystem::ReadFile(shot, data));
    ASSERT_TRUE(ImageCodec::Decode(data.data(), data.size(), pic.w, pic.h, pic.px, reason)) << reason;
    ASSERT_EQ(pic.w, 800);
    ASSERT_EQ(pic.h, 600);

    // The bar: blue from x 80 to 720 between y 555 and 585 (its clip), over
    // the dark ground of the picture; the caption covers its middle.
    auto isBlue = [](int r, int g, int b) { return b > r + 40 && b > 120; };
    const int barArea = 2 * (200 - 90) * (583 - 557);
    const int blue = pic.Count(90, 557, 200, 583, isBlue) + pic.Count(600, 557, 710, 583, isBlue);
    EXPECT_GT(blue, barArea * 9 / 10) << blue << " of " << barArea;
    // Nothing of it shows beyond its ends.
    EXPECT_EQ(pic.Count(730, 557, 790, 583, isBlue), 0);
    // The product logo at the centre, scaled to 0.6: its brass title.
    const int brass = pic.Count(250, 240, 550, 360, [](int r, int g, int b) { return r > 200 && g > 150 && b < 160; });
    EXPECT_GT(brass, 400);
    // The night sky of the background around it.
    const int sky = pic.Count(20, 20, 200, 120, [](int r, int g, int b) { return b > r && r < 80; });
    EXPECT_GT(sky, 180 * 100 * 9 / 10);
}
