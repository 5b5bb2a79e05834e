// A title animates in a real (virtual) window: its letters fade in one after
// another through the whole frame path (entity manager, effectors, font), and
// the snapshot shows every letter. Started by CTest through xvfb-run; skipped
// when there is no display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/CEngine.h"
#include "engine/EntityManager.h"
#include "entities/CLetterEntity.h"
#include "entities/CTitleEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/ImageCodec.h"
#include "platform/hge.h"
#include "support/TempDir.h"

namespace {

// The engine's own frame and render path over a real window.
class WindowEngine : public ZOLTFramework::CEngine {
public:
    explicit WindowEngine(const TempDir& dir) {
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
    }
    ~WindowEngine() override {
        delete m_pEntityManager;  // entities first, fonts while the window lives
        m_pEntityManager = nullptr;
        FontRegistry::Clear();
    }
    EntityManager& Manager() { return *m_pEntityManager; }
    bool started = false;
};

struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
    // Lit pixels of the rectangle: red and green at least `level` (the glyphs
    // are a warm white).
    int Bright(int x1, int y1, int x2, int y2, int level = 120) const {
        int n = 0;
        for (int y = std::max(0, y1); y < std::min(h, y2); ++y)
            for (int x = std::max(0, x1); x < std::min(w, x2); ++x) {
                const uint32_t c = At(x, y);
                n += int((c >> 16) & 0xFF) >= level && int((c >> 8) & 0xFF) >= level;
            }
        return n;
    }
};

bool LoadPng(const std::string& path, Picture& pic) {
    std::string data, reason;
    return FileSystem::ReadFile(path, data) && ImageCodec::Decode(data.data(), data.size(), pic.w, pic.h, pic.px, reason);
}

}  // namespace

TEST(TitleSnapshot, LettersFadeInAndShowInTheSnapshot) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    TempDir dir;
    ScopedEnv headless("DROVALIN_HEADLESS", nullptr);
    ScopedEnv xdg("XDG_DATA_HOME", dir.Path().c_str());

    WindowEngine engine(dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    hgeFont* font = FontRegistry::Instance().LoadFont("Main", "data\\Font\\main.fnt");
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->GetTexture(), 0u);

    auto* title = new ZOLTFramework::CTitleEntity();
    title->SetPosXY(400, 300);
    title->SetLayer(70.0f);
    engine.Manager().Add(title);
    const std::string text = "DROVALIN";
    const float end = title->SetText(text, "Main", 2);  // fade style
    EXPECT_NEAR(end, 0.35f + 2.8f, 1e-4f);
    const auto letters = title->GetLetters();
    ASSERT_EQ(letters.size(), text.size());

    // Frames until the last letter is fully visible (0.55 s in); the first one
    // stays so until 2.5 s, so every letter shows in the next frame.
    int frames = 0;
    float halfWay = -1.0f;
    while (letters.back()->GetOpacity() < 1.0f && frames < 20000) {
        FrameDriver::RunFrames(1);
        ++frames;
        if (halfWay < 0.0f && letters.front()->GetOpacity() >= 1.0f) halfWay = letters.back()->GetOpacity();
    }
    ASSERT_GE(letters.back()->GetOpacity(), 1.0f) << "the animation ran in " << frames << " frames";
    EXPECT_LT(halfWay, 1.0f) << "letters appear one after another, not all at once";
    EXPECT_GE(letters.front()->GetOpacity(), 1.0f);

    engine.GetHGE()->System_Snapshot((dir / "title.png").c_str());
    FrameDriver::RunFrames(1);
    Picture pic;
    ASSERT_TRUE(LoadPng(dir / "title.png", pic));
    ASSERT_EQ(pic.w, 800);
    ASSERT_EQ(pic.h, 600);

    // Each letter leaves white pixels in its own column, in the band above the
    // title's anchor where letters are drawn (anchor − 50 and one line down).
    const int top = 300 - 50 - 4, bottom = 300 - 50 + int(font->GetHeight()) + 4;
    for (size_t i = 0; i < letters.size(); ++i) {
        const int x1 = int(letters[i]->GetAbsoluteX());
        const int x2 = i + 1 < letters.size() ? int(letters[i + 1]->GetAbsoluteX()) : x1 + int(font->GetLineWidth("N"));
        EXPECT_GT(pic.Bright(x1, top, x2, bottom), 20) << "letter " << i << " '" << text[i] << "' at x " << x1;
    }
    // Nothing far from the title.
    EXPECT_EQ(pic.Bright(0, 0, 800, 150), 0);
    EXPECT_EQ(pic.Bright(0, 400, 800, 600), 0);
}
