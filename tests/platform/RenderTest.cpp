#include <gtest/gtest.h>

#include "platform/FrameDriver.h"
#include "platform/QuadBatcher.h"
#include "platform/RenderStats.h"
#include "support/HeadlessEngine.h"

namespace {

hgeQuad MakeQuad(HTEXTURE tex, int blend, float x = 10, float y = 20) {
    hgeQuad q;
    q.tex = tex;
    q.blend = blend;
    const float xs[4] = {x, x + 8, x + 8, x}, ys[4] = {y, y, y + 8, y + 8};
    for (int i = 0; i < 4; ++i) {
        q.v[i].x = xs[i];
        q.v[i].y = ys[i];
        q.v[i].col = 0xFFFFFFFF;
    }
    return q;
}

}  // namespace

TEST(BlendBits, ValuesOfTheInterface) {
    EXPECT_EQ(BLEND_DEFAULT, 2);
    EXPECT_EQ(BLEND_COLORADD, 1);
    EXPECT_EQ(BLEND_ALPHABLEND, 2);
    EXPECT_EQ(BLEND_ZWRITE, 4);
    EXPECT_EQ(BLEND_DEFAULT_Z, 6);
    EXPECT_EQ(hgeQuad().blend, BLEND_DEFAULT);
    EXPECT_EQ(sizeof(hgeVertex), 32u);
    // The z-write bit draws the same, so it does not split a run.
    EXPECT_EQ(QuadBatcher::KeyOf(MakeQuad(1, BLEND_DEFAULT)), QuadBatcher::KeyOf(MakeQuad(1, BLEND_DEFAULT_Z)));
    EXPECT_NE(QuadBatcher::KeyOf(MakeQuad(1, BLEND_DEFAULT)),
              QuadBatcher::KeyOf(MakeQuad(1, BLEND_COLORADD | BLEND_ALPHABLEND)));
    EXPECT_NE(QuadBatcher::KeyOf(MakeQuad(1, BLEND_DEFAULT)), QuadBatcher::KeyOf(MakeQuad(1, BLEND_ALPHAADD)));
    hgeQuad masked = MakeQuad(1, BLEND_DEFAULT);
    masked.tex2 = 9;
    EXPECT_EQ(QuadBatcher::KeyOf(masked).mask, 0u) << "a second texture without mask mode is no mask";
    masked.stage2Mode = 2;
    EXPECT_EQ(QuadBatcher::KeyOf(masked).mask, 9u);
}

class Rendering : public HeadlessEngineTest {
protected:
    void SetUp() override {
        HeadlessEngineTest::SetUp();
        a = hge->Texture_Create(8, 8);
        b = hge->Texture_Create(8, 8);
    }
    HTEXTURE a = 0, b = 0;
};

TEST_F(Rendering, QuadsOnOneTextureShareOneDrawCall) {
    hge->Gfx_BeginScene();
    hge->Gfx_Clear(0);
    for (int i = 0; i < 100; ++i) {
        hgeQuad q = MakeQuad(a, BLEND_DEFAULT, float(i), 0);
        hge->Gfx_RenderQuad(&q);
    }
    hge->Gfx_EndScene();
    EXPECT_EQ(RenderStats::LastFrame().quads, 100);
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 1);
}

TEST_F(Rendering, AlternatingTexturesOrBlendsBreakTheRuns) {
    hge->Gfx_BeginScene();
    for (int i = 0; i < 100; ++i) {
        hgeQuad q = MakeQuad(i % 2 ? a : b, BLEND_DEFAULT);
        hge->Gfx_RenderQuad(&q);
    }
    hge->Gfx_EndScene();
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 100);

    hge->Gfx_BeginScene();
    for (int i = 0; i < 10; ++i) {
        hgeQuad q = MakeQuad(a, i < 5 ? BLEND_DEFAULT : BLEND_COLORADD | BLEND_ALPHAADD);
        hge->Gfx_RenderQuad(&q);
    }
    hge->Gfx_EndScene();
    EXPECT_EQ(RenderStats::LastFrame().quads, 10);
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 2);
}

TEST_F(Rendering, ClippingChangesEndRunsAndFullScreenSwitchesItOff) {
    RenderStats::SetRecording(true);
    hge->Gfx_BeginScene();
    hgeQuad q = MakeQuad(a, BLEND_DEFAULT);
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_SetClipping(100, 50, 200, 300);
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_SetClipping(100, 50, 200, 300);  // same rectangle: the run goes on
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_SetClipping(0, 0, 800, 600);
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_SetClipping(-10, 500, 100, 500);  // kept on the screen
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_SetClipping();
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_EndScene();
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 5);

    const auto& rec = RenderStats::Recorded();
    ASSERT_EQ(rec.size(), 6u);
    EXPECT_FALSE(rec[0].clipped);
    EXPECT_TRUE(rec[1].clipped);
    EXPECT_EQ(rec[1].clipX, 100);
    EXPECT_EQ(rec[1].clipY, 50);
    EXPECT_EQ(rec[1].clipW, 200);
    EXPECT_EQ(rec[1].clipH, 300);
    EXPECT_FALSE(rec[3].clipped) << "the full screen is no clipping";
    EXPECT_TRUE(rec[4].clipped);
    EXPECT_EQ(rec[4].clipX, 0);
    EXPECT_EQ(rec[4].clipW, 90);
    EXPECT_EQ(rec[4].clipH, 100);
    EXPECT_FALSE(rec[5].clipped);
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(false);
}

TEST_F(Rendering, RecordingKeepsTextureBlendAndVertices) {
    RenderStats::SetRecording(true);
    hge->Gfx_BeginScene();
    hgeQuad q = MakeQuad(b, BLEND_COLORADD | BLEND_ALPHABLEND | BLEND_ZWRITE, 33, 44);
    q.v[0].col = 0x80FF0000;
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_EndScene();
    const auto& rec = RenderStats::Recorded();
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec[0].quad.tex, b);
    EXPECT_EQ(rec[0].quad.blend, 7);
    EXPECT_FLOAT_EQ(rec[0].quad.v[0].x, 33);
    EXPECT_FLOAT_EQ(rec[0].quad.v[0].y, 44);
    EXPECT_EQ(rec[0].quad.v[0].col, 0x80FF0000u);
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(false);
}

TEST_F(Rendering, QuadsOutsideAScenAreIgnoredAndTargetsAreInert) {
    hgeQuad q = MakeQuad(a, BLEND_DEFAULT);
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_RenderQuad(nullptr);
    EXPECT_FALSE(hge->Gfx_BeginScene(1234));
    EXPECT_EQ(hge->Target_Create(64, 64, false), 0u);
    hge->Gfx_BeginScene();
    hge->Gfx_EndScene();
    EXPECT_EQ(RenderStats::LastFrame().quads, 0);
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 0);
}

TEST_F(Rendering, FreedTextureInAQuadIsDrawnAsNone) {
    RenderStats::SetRecording(true);
    hge->Gfx_BeginScene();
    hgeQuad q = MakeQuad(a, BLEND_DEFAULT);
    hge->Gfx_RenderQuad(&q);
    hge->Texture_Free(a);
    hge->Gfx_RenderQuad(&q);
    hge->Gfx_EndScene();
    EXPECT_EQ(RenderStats::LastFrame().quads, 2);
    EXPECT_EQ(RenderStats::LastFrame().drawCalls, 2);
    RenderStats::ClearRecorded();
    RenderStats::SetRecording(false);
}
