// The whole menu as a player sees it, in a real (virtual) window with the game
// as it starts (Czech text): snapshots of the load screen, the name entry, the
// menu, the players window, both tabs of the options and the credits (as the
// title plaque leaves the column, and after ninety seconds), each checked at
// the pixels where a layout fault would show.
// Started by CTest through xvfb-run; skipped when there is no display.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "app/GameApp.h"
#include "entities/core/EntityManager.h"
#include "entities/screens/CLoadScreen.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "platform/FileSystem.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "platform/RenderStats.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/PlayersScreen.h"
#include "SnapshotPicture.h"
#include "support/TestInput.h"

using ZOLTFramework::CEntity;

namespace {

bool IsBrass(int r, int g, int b) { return r > 150 && r < 215 && g > 100 && g < 170 && b < 100; }
// The caption fonts' cream and gold letters, and white letters.
bool IsLetter(int r, int g, int b) { return r > 215 && g > 180 && b > 100; }
bool IsWhite(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
int Brightness(uint32_t c) { return Picture::Red(c) + Picture::Green(c) + Picture::Blue(c); }

// The rows of a rectangle in which some pixel passes the test: first and last.
template <class Test>
bool RowsWith(const Picture& pic, int x1, int y1, int x2, int y2, Test test, int* first, int* last) {
    *first = -1;
    *last = -1;
    for (int y = y1; y < y2; ++y)
        if (pic.Count(x1, y, x2, y + 1, test) > 0) {
            if (*first < 0) *first = y;
            *last = y;
        }
    return *first >= 0;
}

class MenuScreensSnapshot : public ::testing::Test {
protected:
    EntityManager& Manager() { return *app->GetEntityManager(); }
    template <class T>
    T* OnStack() {
        for (CEntity* screen : Manager().GetScreenStack())
            if (auto* s = dynamic_cast<T*>(screen)) return s;
        return nullptr;
    }
    bool RunUntil(const std::function<bool()>& done, int maxFrames = 6000) {
        for (int i = 0; i < maxFrames && !done(); ++i) FrameDriver::RunFrames(1);
        return done();
    }
    void Press(int key) {
        TestInput::Key(InputEvent::Press, key);
        FrameDriver::RunFrames(3);
    }
    void Click(const ZOLTFramework::CGUIEntity* entity) {
        const hgeRect& r = entity->GetRect();
        TestInput::Move((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
        FrameDriver::RunFrames(2);
        Press(HGEK_LBUTTON);
    }
    // Moves the pointer out of the way and lets the screen fade in (real time).
    void Settle(const CEntity* screen) {
        TestInput::Move(790, 590);
        RunUntil([&] { return screen->GetAbsoluteOpacity() >= 1.0f; }, 3000);
        FrameDriver::RunFrames(3);
    }
    // The menu's fish gone (they swim anywhere, in any colour).
    void NoFish() {
        PlayerManager::Instance()->KillEntities();
        FrameDriver::RunFrames(2);
    }
    // The snapshot, kept in the build folder for a person to look at.
    Picture Shot(const std::string& name) {
        const std::string path = FileSystem::ProgramDir() + "menu_" + name + ".png";
        app->GetHGE()->System_Snapshot(path.c_str());
        FrameDriver::RunFrames(2);
        Picture pic;
        std::string reason;
        EXPECT_TRUE(LoadPng(path, pic, &reason)) << name << ": " << reason;
        return pic;
    }

    WindowFolder folder;
    // Frames as fast as the virtual display draws them: fades still take their time.
    ScopedEnv noCap{"DROVALIN_NOCAP", "1"};
    std::unique_ptr<ZOLTFramework::GameApp> app;
};

TEST_F(MenuScreensSnapshot, LoadScreenNameEntryPlayersOptionsAndCredits) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    app = std::make_unique<ZOLTFramework::GameApp>();
    ASSERT_TRUE(app->Init());

    // The load screen while its bar fills: a brass frame around the bar and
    // an empty dark track right of the filled part. (The logos before it are
    // skipped: the load screen is made as the last logo makes it.)
    FrameDriver::RunFrames(1);
    for (CEntity* e : Manager().GetDrawList())
        if (!e->GetParent()) e->Kill();
    FrameDriver::RunFrames(1);
    auto* load = Manager().Spawn<ZOLTFramework::CLoadScreen>("LoadScreen");
    ASSERT_TRUE(RunUntil([&] { return load->GetProgressWidth() >= 150; }, 200));
    ASSERT_LT(load->GetProgressWidth(), 500);
    {
        Picture pic = Shot("load");
        ASSERT_EQ(pic.w, 800);
        EXPECT_GT(pic.Count(100, 547, 700, 551, IsBrass), 1000) << "the bar's frame above it";
        EXPECT_GT(pic.Count(100, 589, 700, 593, IsBrass), 1000) << "the bar's frame below it";
        const int filled = pic.Count(90, 560, 150, 580, [](int r, int, int b) { return b > r + 40 && b > 120; });
        EXPECT_GT(filled, 60 * 20 * 9 / 10);
        const int track = pic.Count(650, 560, 710, 580, [](int r, int g, int b) { return r + g + b < 120; });
        EXPECT_GT(track, 60 * 20 * 9 / 10) << "an empty track where the bar has not come yet";
    }

    // The menu, then the name entry that opens by itself: the typed name lies
    // on the dark card of the dialog, darker than the window around it.
    int frame = 0;
    ASSERT_TRUE(RunUntil([&] {
        if (++frame % 30 == 0) TestInput::Key(InputEvent::Press, HGEK_SPACE);
        return OnStack<CPNameScreen>() != nullptr;
    }));
    Settle(OnStack<CPNameScreen>());
    TestInput::Text("Marlowe");
    FrameDriver::RunFrames(12);
    {
        Picture pic = Shot("name_entry");
        int top = 0, bottom = 0;
        ASSERT_TRUE(RowsWith(pic, 330, 240, 470, 300, IsWhite, &top, &bottom)) << "the typed name";
        // Card above and below the name, the window's own ground below the card.
        const int card = Brightness(pic.At(250, bottom + 8));
        const int ground = Brightness(pic.At(250, 330));
        EXPECT_LT(card + 30, ground) << card << " against " << ground;
        EXPECT_LT(Brightness(pic.At(250, top - 8)) + 30, ground);
    }
    Press(HGEK_ENTER);
    auto* menu = OnStack<ZOLTFramework::CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(Manager().GetTopScreen(), menu);
    TestInput::Move(790, 590);
    FrameDriver::RunFrames(10);

    // The menu: every caption's letters on its button's face, none beside it.
    {
        NoFish();
        Picture pic = Shot("menu");
        for (ButtonExEntity* button : {menu->FindChild<ButtonExEntity>("Play"), menu->FindChild<ButtonExEntity>("SelectPlayer"), menu->FindChild<ButtonExEntity>("Options"),
                                       menu->FindChild<ButtonExEntity>("Credits"), menu->FindChild<ButtonExEntity>("Exit")}) {
            const int bx = int(button->GetAbsoluteX()), by = int(button->GetAbsoluteY());
            EXPECT_GT(pic.Count(bx - 80, by - 18, bx + 80, by + 18, IsLetter), 40) << button->GetName();
            EXPECT_EQ(pic.Count(bx - 100, by - 18, bx - 88, by + 18, IsLetter), 0) << button->GetName();
            EXPECT_EQ(pic.Count(bx + 88, by - 18, bx + 100, by + 18, IsLetter), 0) << button->GetName();
        }
    }

    // The players window: the frame hugs the buttons and the list, both
    // button captions are the same size and centred, the name is centred in
    // its selection bar.
    Click(menu->FindChild<ButtonExEntity>("SelectPlayer"));
    auto* players = OnStack<ZOLTFramework::PlayersScreen>();
    ASSERT_NE(players, nullptr);
    Settle(players);
    {
        NoFish();
        Picture pic = Shot("players");
        EXPECT_GT(pic.Count(160, 200, 168, 400, IsBrass), 200) << "the frame's left side";
        EXPECT_GT(pic.Count(558, 200, 566, 400, IsBrass), 200) << "the frame's right side";
        EXPECT_LT(pic.Count(576, 60, 600, 180, IsBrass), 100) << "nothing of the frame beyond it";
        // The first letter of each caption (a capital without accent in
        // both tables): the same height, in the middle of the button.
        int heights[2] = {0, 0};
        int i = 0;
        for (ButtonExEntity* button : {players->FindChild<ButtonExEntity>("NP"), players->FindChild<ButtonExEntity>("DL")}) {
            const int bx = int(button->GetAbsoluteX()), by = int(button->GetAbsoluteY());
            int first = bx - 50;
            while (first < bx && pic.Count(first, by - 16, first + 1, by + 16, IsWhite) == 0) ++first;
            int top = 0, bottom = 0;
            ASSERT_TRUE(RowsWith(pic, first, by - 16, first + 5, by + 16, IsWhite, &top, &bottom));
            heights[i++] = bottom - top;
            EXPECT_NEAR((top + bottom) * 0.5, by, 3.0) << button->GetName();
        }
        EXPECT_NEAR(heights[0], heights[1], 2) << "the two captions' capitals";
        const hgeRect& rows = players->FindChild<ZOLTFramework::CListboxEntity>("PL")->GetRect();
        int barTop = 0, barBottom = 0;
        ASSERT_TRUE(RowsWith(pic, int(rows.x1) + 4, int(rows.y1) - 2, int(rows.x1) + 10, int(rows.y1) + 60,
                             [](int r, int g, int b) { return r > g + 25 && r > b + 40; }, &barTop, &barBottom));
        int top = 0, bottom = 0;
        ASSERT_TRUE(RowsWith(pic, int(rows.x1) + 40, barTop, int(rows.x2) - 40, barBottom + 1, IsLetter, &top, &bottom));
        EXPECT_NEAR((top + bottom) * 0.5, (barTop + barBottom) * 0.5, 3.0) << "the name in its bar";
    }
    Press(HGEK_ENTER);
    ASSERT_EQ(Manager().GetTopScreen(), menu);
    FrameDriver::RunFrames(10);

    // The options: the chosen tab stands in front of the other (its side
    // drawn over the other tab), and no caption runs over the window's frame.
    Click(menu->FindChild<ButtonExEntity>("Options"));
    auto* options = OnStack<OptionsScreen>();
    ASSERT_NE(options, nullptr);
    Settle(options);
    const int leftTabEdge = int(options->FindChild<ButtonExEntity>("OPTIONS")->GetAbsoluteX()) + 100;
    const int rightTabEdge = int(options->FindChild<ButtonExEntity>("HIGHSCORES")->GetAbsoluteX()) - 100;
    ASSERT_LT(rightTabEdge, leftTabEdge) << "the tabs overlap";
    {
        Picture pic = Shot("options");
        EXPECT_GT(pic.Count(leftTabEdge - 2, 90, leftTabEdge + 1, 115, IsBrass), 20) << "options tab in front";
        EXPECT_LT(pic.Count(rightTabEdge - 1, 90, rightTabEdge + 2, 115, IsBrass), 10);
        EXPECT_EQ(pic.Count(140, 130, 158, 420, IsLetter), 0) << "a caption over the left frame";
    }
    Click(options->FindChild<ButtonExEntity>("HIGHSCORES"));
    FrameDriver::RunFrames(10);
    TestInput::Move(790, 590);
    FrameDriver::RunFrames(5);
    {
        Picture pic = Shot("highscores");
        EXPECT_GT(pic.Count(rightTabEdge - 1, 90, rightTabEdge + 2, 115, IsBrass), 20) << "high-score tab in front";
        EXPECT_LT(pic.Count(leftTabEdge - 2, 90, leftTabEdge + 1, 115, IsBrass), 10);
    }
    Press(HGEK_ENTER);
    ASSERT_EQ(Manager().GetTopScreen(), menu);
    FrameDriver::RunFrames(10);

    // The credits after ninety seconds of scrolling: the frame centred, the
    // names and headings still drawn over the window in the column.
    Click(menu->FindChild<ButtonExEntity>("Credits"));
    auto* credits = OnStack<CreditsScreen>();
    ASSERT_NE(credits, nullptr);
    Settle(credits);
    // About 21 s in, the title plaque leaves the column at its top: it slides
    // under the brass rim of the column's slot, not into the window's ground.
    for (int i = 0; i < 200; ++i) Manager().Update(0.1f);
    // Until the scroll reaches -108: the column's first logo (the first clipped
    // picture) is drawn that far below its place 300 px above the window.
    const float logoBase = credits->FindChild<CEntity>("Window")->GetAbsoluteY() - 300.0f;
    float scroll = 0.0f;
    for (int i = 0; i < 2000 && scroll > -108.0f; ++i) {
        Manager().Update(0.02f);
        RenderStats::ClearRecorded();
        RenderStats::SetRecording(true);
        FrameDriver::RunFrames(1);
        RenderStats::SetRecording(false);
        for (const auto& q : RenderStats::Recorded())
            if (q.clipped) {
                scroll = (q.quad.v[0].y + q.quad.v[2].y) / 2.0f - logoBase;
                break;
            }
    }
    FrameDriver::RunFrames(3);
    {
        Picture pic = Shot("credits_plaque");
        int rim = 0;
        for (int y = 128; y < 138; ++y) rim = std::max(rim, pic.Count(320, y, 480, y + 1, IsBrass));
        EXPECT_GT(rim, 160 * 9 / 10) << "the slot's rim runs on over the plaque";
        // Its brass rim and pale line below the slot's edge.
        EXPECT_GT(pic.Count(320, 136, 480, 170, [](int r, int g, int b) { return r > 150 && g > 100 && b < 220; }), 40)
            << "the plaque's lower part in the column";
        EXPECT_EQ(pic.Count(320, 118, 480, 129, IsBrass), 0) << "nothing of it above the slot";
    }
    for (int i = 0; i < 700; ++i) Manager().Update(0.1f);
    FrameDriver::RunFrames(3);
    {
        Picture pic = Shot("credits");
        EXPECT_GT(pic.Count(60, 200, 68, 400, IsBrass), 200) << "the frame's left side";
        EXPECT_GT(pic.Count(732, 200, 740, 400, IsBrass), 200) << "the frame's right side";
        EXPECT_GT(pic.Count(100, 135, 700, 485, IsWhite), 300) << "names in the column";
        EXPECT_GT(pic.Count(100, 135, 700, 485, [](int r, int g, int b) { return r > 220 && g > 220 && b < 180; }),
                  100)
            << "headings in the column";
        EXPECT_GT(pic.Count(360, 90, 440, 125, IsWhite), 50) << "the title";
    }
    Click(credits->FindChild<ButtonExEntity>("YES"));
    EXPECT_EQ(Manager().GetTopScreen(), menu);
    app.reset();
}

}  // namespace
