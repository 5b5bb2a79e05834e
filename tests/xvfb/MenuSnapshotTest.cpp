// The main menu in a real (virtual) window: after its fade-in the snapshot shows
// the underwater background, the fish and the five buttons. A fixed random seed
// and a fixed time step make every run draw the same picture, so the test
// judges fixed spots. Started by CTest through xvfb-run; skipped when there is
// no display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "entities/widgets/ButtonExEntity.h"
#include "graphics/FontRegistry.h"
#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuBGScreen.h"
#include "screens/CMenuScreen.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"

namespace {

class MenuWindowEngine : public WindowTestEngine {
public:
    explicit MenuWindowEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        FontRegistry::Instance().LoadFont("Main", "data\\Font\\main.fnt");
        FontRegistry::Instance().LoadFont("Default1", "data\\Font\\default.fnt");
    }
};

int Channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }

// Pixels of the square around (cx, cy) that differ clearly between the pictures.
int Differences(const Picture& a, const Picture& b, int cx, int cy, int half) {
    int n = 0;
    for (int y = std::max(0, cy - half); y < std::min(a.h, cy + half); ++y)
        for (int x = std::max(0, cx - half); x < std::min(a.w, cx + half); ++x) {
            const uint32_t p = a.At(x, y), q = b.At(x, y);
            int d = 0;
            for (int s : {0, 8, 16}) d += std::abs(Channel(p, s) - Channel(q, s));
            n += d > 60;
        }
    return n;
}

}  // namespace

TEST(MenuSnapshot, ShowsTheBackgroundTheFishAndTheButtons) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    const TempDir& dir = folder.dir;

    ScopedEnv seed("DROVALIN_SEED", "7");
    ScopedEnv step("DROVALIN_DT", "0.02");
    MenuWindowEngine engine(dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    engine.GetHGE()->Random_Seed(0);  // the DROVALIN_SEED seed
    PlayerManager* players = PlayerManager::Instance();
    players->SetSavePath(dir.Path());
    players->AddPlayer("Marlowe");
    players->SetActivePlayer("Marlowe");

    auto* menu = engine.GetEntityManager()->OpenScreen<ZOLTFramework::CMenuScreen>("MenuScreen");
    // The fade-in takes half a second: 25 steps of 0.02 s, then five more.
    FrameDriver::RunFrames(30);
    ASSERT_NE(menu->GetBackground(), nullptr);
    ASSERT_GE(menu->GetBackground()->GetAbsoluteOpacity(), 1.0f);
    ASSERT_GE(menu->GetAbsoluteOpacity(), 1.0f);

    engine.GetHGE()->System_Snapshot((dir / "menu.png").c_str());
    FrameDriver::RunFrames(1);
    Picture shot, sea;
    ASSERT_TRUE(LoadPng(dir / "menu.png", shot));
    ASSERT_EQ(shot.w, 800);
    ASSERT_EQ(shot.h, 600);
    ASSERT_TRUE(LoadPng("data/Texture/MainMenu/MenuBackground.png", sea));

    // The background: blue water up top, sand at the bottom (no fish is over
    // these spots with this seed and step).
    int blue = 0;
    for (const int wx : {420, 500, 580, 660, 740}) {
        const uint32_t water = shot.At(wx, 120);
        blue += Channel(water, 0) > Channel(water, 16) + 40;
    }
    EXPECT_EQ(blue, 5);
    const uint32_t sand = shot.At(330, 590);
    EXPECT_GT(Channel(sand, 16), Channel(sand, 0) + 30);

    // The five buttons: their brown bodies left of the captions.
    for (ButtonExEntity* button : {menu->FindChild<ButtonExEntity>("Play"), menu->FindChild<ButtonExEntity>("SelectPlayer"), menu->FindChild<ButtonExEntity>("Options"),
                                   menu->FindChild<ButtonExEntity>("Credits"), menu->FindChild<ButtonExEntity>("Exit")}) {
        ASSERT_NE(button, nullptr);
        const uint32_t body = shot.At(int(button->GetAbsoluteX()) - 70, int(button->GetAbsoluteY()));
        EXPECT_GT(Channel(body, 16), Channel(body, 0) + 20) << button->GetName();
    }

    // The fish: where a fish swims in open water the picture is not the bare sea.
    const auto fish = players->GetFish();
    ASSERT_FALSE(fish.empty());
    int seen = 0, checked = 0;
    for (ZOLTFramework::CEntity* f : fish) {
        const int fx = int(f->GetAbsoluteX()), fy = int(f->GetAbsoluteY());
        if (fx < 40 || fx > 480 || fy < 170 || fy > 440) continue;
        ++checked;
        seen += Differences(shot, sea, fx, fy, 12) > 20;
    }
    // With this seed and step three fish are in open water; each shows.
    EXPECT_EQ(checked, 3);
    EXPECT_EQ(seen, checked);
    players->KillEntities();
}
