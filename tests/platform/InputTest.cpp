#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FrameDriver.h"
#include "platform/InputScript.h"
#include "platform/InputState.h"
#include "platform/TextEncoding.h"
#include "support/HeadlessEngine.h"

TEST(InputState, PressAndReleaseInOneFrameBothShow) {
    InputState in;
    in.BeginFrame();
    in.KeyDown(HGEK_LBUTTON);
    in.KeyUp(HGEK_LBUTTON);
    in.EndEvents();
    EXPECT_TRUE(in.WentDown(HGEK_LBUTTON));
    EXPECT_TRUE(in.WentUp(HGEK_LBUTTON));
    EXPECT_FALSE(in.IsDown(HGEK_LBUTTON));
    EXPECT_EQ(in.FrameKey(), HGEK_LBUTTON);

    in.BeginFrame();
    in.EndEvents();
    EXPECT_FALSE(in.WentDown(HGEK_LBUTTON));
    EXPECT_FALSE(in.WentUp(HGEK_LBUTTON));
    EXPECT_EQ(in.FrameKey(), 0);
}

TEST(InputState, HeldKeyAndAutoRepeatMakeNoNewPress) {
    InputState in;
    in.BeginFrame();
    in.KeyDown(HGEK_A);
    in.EndEvents();
    EXPECT_TRUE(in.WentDown(HGEK_A));
    for (int f = 0; f < 3; ++f) {
        in.BeginFrame();
        in.KeyDown(HGEK_A, true);  // auto-repeat
        in.KeyDown(HGEK_A);        // a second down without an up
        in.EndEvents();
        EXPECT_FALSE(in.WentDown(HGEK_A));
        EXPECT_TRUE(in.IsDown(HGEK_A));
        EXPECT_EQ(in.FrameKey(), 0);
    }
    in.BeginFrame();
    in.KeyUp(HGEK_A);
    in.EndEvents();
    EXPECT_TRUE(in.WentUp(HGEK_A));
    EXPECT_FALSE(in.IsDown(HGEK_A));
}

TEST(InputState, EditKeysTypeCharactersOtherKeysDoNot) {
    InputState in;
    const int keys[] = {HGEK_BACKSPACE, HGEK_ENTER, HGEK_ESCAPE, HGEK_A, HGEK_F1};
    const int chars[] = {8, 13, 27, 0, 0};
    for (int i = 0; i < 5; ++i) {
        in.BeginFrame();
        in.KeyDown(keys[i]);
        in.KeyUp(keys[i]);
        in.EndEvents();
        EXPECT_EQ(in.FrameChar(), chars[i]) << "key " << keys[i];
    }
}

TEST(InputState, HeldBackspaceRepeatsLikeLettersAndTheSnapshotKeyTypesNothing) {
    InputState in;
    auto frame = [&in](auto events) {
        in.BeginFrame();
        events();
        in.EndEvents();
    };
    frame([&] { in.KeyDown(HGEK_BACKSPACE); });
    EXPECT_EQ(in.FrameChar(), 8);
    EXPECT_TRUE(in.WentDown(HGEK_BACKSPACE));
    for (int f = 0; f < 3; ++f) {
        frame([&] { in.KeyDown(HGEK_BACKSPACE, true); });
        EXPECT_EQ(in.FrameChar(), 8) << "repeat " << f;
        EXPECT_FALSE(in.WentDown(HGEK_BACKSPACE)) << "no new key press";
        EXPECT_EQ(in.FrameKey(), 0);
    }
    frame([&] { in.KeyUp(HGEK_BACKSPACE); });
    EXPECT_EQ(in.FrameChar(), 0);
    // A repeat after the release (a stale event) types nothing; other held keys
    // repeat only through their typed characters.
    frame([&] {
        in.KeyDown(HGEK_BACKSPACE, true);
        in.KeyDown(HGEK_ENTER);
        in.KeyDown(HGEK_ENTER, true);
    });
    EXPECT_EQ(in.FrameChar(), 13);
    frame([] {});
    EXPECT_EQ(in.FrameChar(), 0);

    // The grave-accent key and its character in one frame: a snapshot, no text
    // and no key press of the frame (a screen that waits for any key goes on).
    frame([&] {
        in.KeyDown(HGEK_GRAVE);
        in.TypeChar('`');
    });
    EXPECT_TRUE(in.WentDown(HGEK_GRAVE));
    EXPECT_EQ(in.FrameChar(), 0);
    EXPECT_EQ(in.FrameKey(), 0);
    frame([&] {
        in.TypeChar('`');  // held: repeated text
        in.KeyUp(HGEK_GRAVE);
    });
    EXPECT_EQ(in.FrameChar(), 0);
    frame([&] { in.TypeChar('`'); });  // typed some other way
    EXPECT_EQ(in.FrameChar(), '`');
}

TEST(InputState, FastTypingSpreadsOverFramesAndBadKeysAreIgnored) {
    InputState in;
    in.BeginFrame();
    in.TypeChar('a');
    in.TypeChar('b');
    in.KeyDown(-1);
    in.KeyDown(400);
    in.EndEvents();
    EXPECT_EQ(in.FrameChar(), 'a');
    EXPECT_FALSE(in.IsDown(-1));
    in.BeginFrame();
    in.EndEvents();
    EXPECT_EQ(in.FrameChar(), 'b');
    in.BeginFrame();
    in.EndEvents();
    EXPECT_EQ(in.FrameChar(), 0);
}

TEST(InputScript, ParsesEventsAndSkipsBadLines) {
    InputScript s;
    const int skipped = s.Parse(
        "# a comment\n"
        "1 move 10 20   # trailing comment\n"
        "1 down 1\n"
        "2 press 13\n"
        "3 char Ab\n"
        "4 close\n"
        "4 snapshot\n"
        "x move 1 2\n"
        "5 jump\n"
        "6 down\n"
        "7 move 1\n"
        "0 close\n"
        "8 down 999\n",
        "test");
    EXPECT_EQ(skipped, 6);
    std::vector<InputEvent> f1 = s.Take(1);
    ASSERT_EQ(f1.size(), 2u);
    EXPECT_EQ(f1[0].kind, InputEvent::Move);
    EXPECT_FLOAT_EQ(f1[0].x, 10);
    EXPECT_FLOAT_EQ(f1[0].y, 20);
    EXPECT_EQ(f1[1].kind, InputEvent::Down);
    EXPECT_EQ(f1[1].key, 1);
    std::vector<InputEvent> f2 = s.Take(2), f3 = s.Take(3), f4 = s.Take(4);
    ASSERT_EQ(f2.size(), 1u);
    EXPECT_EQ(f2[0].kind, InputEvent::Down);
    ASSERT_EQ(f3.size(), 2u);
    EXPECT_EQ(f3[0].kind, InputEvent::Up) << "press comes up in the next frame";
    EXPECT_EQ(f3[1].kind, InputEvent::Char);
    EXPECT_EQ(f3[1].text, "Ab");
    ASSERT_EQ(f4.size(), 2u);
    EXPECT_EQ(f4[0].kind, InputEvent::Close);
    EXPECT_EQ(f4[1].kind, InputEvent::Snapshot);
    EXPECT_TRUE(s.Take(1000).empty());
}

TEST(InputScript, TypedTextBecomesWindows1250) {
    InputScript s;
    s.Parse("1 char \xC5\xBEluv\n");  // "žluv" in UTF-8
    std::vector<InputEvent> f = s.Take(1);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].text, "\x9Eluv");

    // Characters Windows-1250 lacks are refused, not typed as "?".
    EXPECT_EQ(s.Parse("2 char \xD0\x96\xC5\xBE\xF0\x9F\x98\x80" "a\n"  // Cyrillic Zhe, z with caron, an emoji, a
                      "3 char \xF0\x9F\x98\x80\n"),                       // only refused: nothing to type
              0);
    f = s.Take(2);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].text, "\x9E" "a");
    EXPECT_TRUE(s.Take(3).empty());
    EXPECT_EQ(TypedToCp1250("\xD0\x9F\xD1\x91\xD1\x82\xD1\x80 ok"), " ok");
}

namespace {

struct FrameLog {
    int key = 0, ch = 0;
    bool leftDown = false, leftHeld = false, leftUp = false;
    float x = 0, y = 0;
};

std::vector<FrameLog> g_frames;
HGE* g_hge = nullptr;
bool g_allowExit = true;
int g_exitCalls = 0;

bool RecordFrame() {
    FrameLog f;
    f.key = g_hge->Input_GetKey();
    f.ch = g_hge->Input_GetChar();
    f.leftDown = g_hge->Input_KeyDown(HGEK_LBUTTON);
    f.leftHeld = g_hge->Input_GetKeyState(HGEK_LBUTTON);
    f.leftUp = g_hge->Input_KeyUp(HGEK_LBUTTON);
    g_hge->Input_GetMousePos(&f.x, &f.y);
    g_frames.push_back(f);
    return false;
}

bool ExitFunc() {
    ++g_exitCalls;
    return g_allowExit;
}

}  // namespace

class InputReplay : public HeadlessEngineTest {
protected:
    void SetUp() override {
        HeadlessEngineTest::SetUp();
        g_hge = hge;
        g_frames.clear();
        g_exitCalls = 0;
        g_allowExit = true;
        hge->System_SetState(HGE_FRAMEFUNC, RecordFrame);
        hge->System_SetState(HGE_EXITFUNC, ExitFunc);
    }
};

TEST_F(InputReplay, ScriptReplaysFrameByFrame) {
    EXPECT_EQ(FrameDriver::QueueScript("1 move 100 50\n"
                                       "2 down 1\n"
                                       "4 up 1\n"
                                       "5 press 13\n"
                                       "6 char hi\n"),
              0);
    EXPECT_EQ(FrameDriver::RunFrames(8), 8);
    ASSERT_EQ(g_frames.size(), 8u);
    EXPECT_FLOAT_EQ(g_frames[0].x, 100);
    EXPECT_FLOAT_EQ(g_frames[0].y, 50);
    EXPECT_FLOAT_EQ(g_frames[7].x, 100) << "the mouse stays where it was moved";
    EXPECT_TRUE(g_frames[1].leftDown);
    EXPECT_EQ(g_frames[1].key, HGEK_LBUTTON);
    EXPECT_TRUE(g_frames[2].leftHeld);
    EXPECT_FALSE(g_frames[2].leftDown);
    EXPECT_TRUE(g_frames[3].leftUp);
    EXPECT_FALSE(g_frames[3].leftHeld);
    EXPECT_EQ(g_frames[4].key, HGEK_ENTER);
    EXPECT_EQ(g_frames[4].ch, 13);
    EXPECT_EQ(g_frames[5].ch, 'h');
    EXPECT_EQ(g_frames[6].ch, 'i');
    EXPECT_EQ(g_frames[7].ch, 0);
}

TEST_F(InputReplay, InjectedEventsApplyNextFrame) {
    FrameDriver::RunFrames(2);
    InputEvent press;
    press.kind = InputEvent::Press;
    press.key = HGEK_ESCAPE;
    FrameDriver::Inject(press);
    FrameDriver::RunFrames(2);
    ASSERT_EQ(g_frames.size(), 4u);
    EXPECT_EQ(g_frames[1].key, 0);
    EXPECT_EQ(g_frames[2].key, HGEK_ESCAPE);
    EXPECT_EQ(g_frames[2].ch, 27);
    EXPECT_EQ(g_frames[3].key, 0);
    EXPECT_FALSE(hge->Input_GetKeyState(HGEK_ESCAPE));
}

TEST_F(InputReplay, CloseAsksTheExitFunction) {
    g_allowExit = false;
    FrameDriver::QueueScript("2 close\n");
    EXPECT_EQ(FrameDriver::RunFrames(3), 3) << "a refused close keeps running";
    EXPECT_EQ(g_exitCalls, 1);
    g_allowExit = true;
    FrameDriver::QueueScript("1 close\n");
    EXPECT_EQ(FrameDriver::RunFrames(5), 1);
    EXPECT_EQ(g_exitCalls, 2);
}
