// Title letters: one letter per character centred on the title, each animated
// 0.05 s after the one before; the three styles' timings; a missing font.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "entities/core/CCountBase.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/CLetterEntity.h"
#include "entities/widgets/CTitleEntity.h"
#include "graphics/hgeFont.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CLetterEntity;
using ZOLTFramework::CTitleEntity;

namespace {

GuiTestOptions TitleOptions(float dt = 0.05f) {
    GuiTestOptions o = DialogOptions();
    o.dt = dt;
    return o;
}

CTitleEntity* MakeTitle(GuiTestEngine& engine) {
    CTitleEntity* title = new CTitleEntity();
    title->SetPosXY(400, 300);
    engine.Manager().Add(title);
    return title;
}

// The title's letters in text order: its letter children.
std::vector<CLetterEntity*> LettersOf(const CTitleEntity* title) {
    std::vector<CLetterEntity*> letters;
    for (auto* child : title->GetChildren())
        if (auto* letter = dynamic_cast<CLetterEntity*>(child)) letters.push_back(letter);
    return letters;
}

CAnimationEffector* EffectorOf(const CLetterEntity* letter) {
    for (auto* child : letter->GetChildren()) {
        if (auto* fx = dynamic_cast<CAnimationEffector*>(child)) return fx;
    }
    return nullptr;
}

TEST(TitleTest, ReturnsWhenTheLastLetterEndsAndAMissingFontCreatesNothing) {
    GuiTestEngine engine(TitleOptions());
    EXPECT_NEAR(MakeTitle(engine)->SetText("abc", "Main", 2), 0.1f + 2.8f, 1e-5f);
    EXPECT_NEAR(MakeTitle(engine)->SetText("abc", "Main", 1), 0.1f + 2.5f, 1e-5f);
    EXPECT_NEAR(MakeTitle(engine)->SetText("abcd", "Main", 0), 0.15f + 4.3f, 1e-5f);
    EXPECT_FLOAT_EQ(MakeTitle(engine)->SetText("", "Main", 0), 0.0f);
    CTitleEntity* odd = MakeTitle(engine);
    odd->SetText("ab", "Main", 7);
    ASSERT_EQ(LettersOf(odd).size(), 2u) << "an unknown style still lays the letters out";
    EXPECT_EQ(EffectorOf(LettersOf(odd)[1])->FindKey(CAnimationEffector::TRACK_OPACITY, 0.0f), nullptr)
        << "every style's fade starts with a key at 0";

    // A missing font creates nothing.
    HtmlLogCapture log;
    CTitleEntity* fontless = MakeTitle(engine);
    EXPECT_FLOAT_EQ(fontless->SetText("abc", "NoSuchFont", 0), 0.0f);
    EXPECT_TRUE(fontless->GetChildren().empty());
    EXPECT_EQ(log.CountRows("Warning", "Title"), 1);
    CLetterEntity* orphan = new CLetterEntity('a', "NoSuchFont");
    engine.Manager().Add(orphan);
    engine.Step(2);  // draws nothing, no crash
}

TEST(TitleTest, LettersAreCentredSideBySide) {
    GuiTestEngine engine(TitleOptions());
    const int liveBefore = ZOLTFramework::CCountBase::GetLiveCount();
    hgeFont* font = FontRegistry::GetFont("Main");
    CTitleEntity* title = MakeTitle(engine);
    title->SetText("Drovalin", "Main", 2);
    const auto letters = LettersOf(title);
    ASSERT_EQ(letters.size(), 8u);
    EXPECT_FLOAT_EQ(letters[0]->GetX(), -font->GetLineWidth("Drovalin") * 0.5f);
    EXPECT_FLOAT_EQ(letters[1]->GetX(), letters[0]->GetX() + font->GetLineWidth("D"));
    const auto drawn = DrawnBy(engine.Hge(), letters[3]);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(Shows(drawn[0], font->GetSprite('v')));
    EXPECT_EQ(letters[3]->GetParent(), title);
    EXPECT_FLOAT_EQ(letters[3]->GetAbsoluteY(), 300.0f);

    // A second text adds a second set beside the first.
    title->SetText("X", "Main", 2);
    EXPECT_EQ(LettersOf(title).size(), 9u);

    // The letters die with the title.
    title->Kill();
    engine.Step(2);
    EXPECT_EQ(ZOLTFramework::CCountBase::GetLiveCount(), liveBefore);
}

TEST(TitleTest, DropAndBounceStyle) {
    GuiTestEngine engine(TitleOptions(0.05f));
    CTitleEntity* title = MakeTitle(engine);
    title->SetText("ab", "Main", 0);
    CLetterEntity* second = LettersOf(title)[1];  // starts at t = 0.05
    EXPECT_FLOAT_EQ(second->GetY(), -180.0f) << "starts 180 above its place";
    EXPECT_FLOAT_EQ(second->GetOpacity(), 0.0f) << "invisible";
    engine.Step();  // the letters join the manager; their clocks start with the next frame

    std::vector<float> ys, alphas;
    for (int frame = 1; frame <= 90; ++frame) {  // 4.5 s
        engine.Step();
        ys.push_back(second->GetY());
        alphas.push_back(second->GetOpacity());
    }
    auto at = [](const std::vector<float>& v, float seconds) { return v[size_t(seconds / 0.05f + 0.5f) - 1]; };
    EXPECT_NEAR(at(alphas, 0.05f), 1.0f, 1e-4f) << "fully visible at its start time";
    EXPECT_NEAR(at(ys, 0.45f), 0.0f, 1e-3f);
    EXPECT_NEAR(at(ys, 0.85f), -15.0f, 1e-3f) << "first bounce";
    EXPECT_NEAR(at(ys, 1.25f), 0.0f, 1e-3f);
    EXPECT_NEAR(at(ys, 1.65f), -8.0f, 1e-3f) << "second bounce";
    EXPECT_NEAR(at(ys, 2.05f), 0.0f, 1e-3f);
    EXPECT_NEAR(at(ys, 3.0f), 0.0f, 1e-3f) << "at rest";
    EXPECT_NEAR(at(alphas, 4.0f), 1.0f, 1e-4f);
    EXPECT_NEAR(at(alphas, 4.35f), 0.0f, 1e-4f) << "gone after t + 4.3";
}

TEST(TitleTest, PopStyle) {
    GuiTestEngine engine(TitleOptions(0.05f));
    CTitleEntity* title = MakeTitle(engine);
    title->SetText("a", "Main", 1);
    CLetterEntity* letter = LettersOf(title)[0];
    const float penX = letter->GetX();
    EXPECT_FLOAT_EQ(letter->GetScaleX(), 0.0f);
    engine.Step();  // joins
    engine.Step(2);  // 0.1 s
    EXPECT_NEAR(letter->GetScaleX(), 1.3f, 1e-4f);
    EXPECT_NEAR(letter->GetScaleY(), 1.3f, 1e-4f);
    EXPECT_NEAR(letter->GetX(), penX - 3.0f, 1e-4f);
    EXPECT_NEAR(letter->GetY(), 3.0f, 1e-4f);
    engine.Step(2);  // 0.2 s
    EXPECT_NEAR(letter->GetScaleX(), 1.0f, 1e-4f);
    EXPECT_NEAR(letter->GetX(), penX, 1e-4f);
    EXPECT_NEAR(letter->GetOpacity(), 1.0f, 1e-4f);
    engine.Step(42);  // 2.3 s: fading
    EXPECT_LT(letter->GetOpacity(), 1.0f);
    engine.Step(6);  // 2.6 s
    EXPECT_NEAR(letter->GetOpacity(), 0.0f, 1e-4f);
}

TEST(TitleTest, FadeStyleStartsEachLetterLater) {
    GuiTestEngine engine(TitleOptions(0.05f));
    CTitleEntity* title = MakeTitle(engine);
    title->SetText("abc", "Main", 2);
    const auto letters = LettersOf(title);
    engine.Step();   // joins
    engine.Step(2);  // 0.1 s: letter 0 half way (0.1 of 0.2), letter 2 just starting
    EXPECT_NEAR(letters[0]->GetOpacity(), 0.5f, 1e-4f);
    EXPECT_NEAR(letters[1]->GetOpacity(), 0.25f, 1e-4f);
    EXPECT_NEAR(letters[2]->GetOpacity(), 0.0f, 1e-4f);
    engine.Step(4);  // 0.3 s
    for (auto* letter : letters) EXPECT_NEAR(letter->GetOpacity(), 1.0f, 1e-4f);
    engine.Step(54);  // 3.0 s: past 2.9
    for (auto* letter : letters) EXPECT_NEAR(letter->GetOpacity(), 0.0f, 1e-4f);
}

TEST(TitleTest, LetterDrawsWithItsOwnLargerScaleAboveItsAnchor) {
    GuiTestEngine engine(TitleOptions());
    hgeFont* font = FontRegistry::GetFont("Main");
    font->SetColor(0xFF102030);
    CLetterEntity* letter = new CLetterEntity('%', "Main");
    letter->SetPosXY(100, 200);
    letter->scaleX = 2.0f;
    letter->scaleY = 1.0f;
    engine.Manager().Add(letter);
    const auto quads = RecordQuads([&] { engine.Step(); });
    int glyphs = 0;
    for (const auto& q : quads) {
        if (q.quad.tex != TextureOf(font)) continue;
        ++glyphs;
        EXPECT_EQ(q.quad.v[0].col >> 24, 0xFFu);
        // Drawn 2 x 30 + 20 above the anchor, at font scale 2.
        const float top = q.quad.v[0].y, bottom = q.quad.v[2].y;
        EXPECT_NEAR(bottom - top, 2.0f * (font->GetSprite('%')->GetHeight()), 0.01f);
        EXPECT_LT(top, 200.0f - 80.0f + 1.0f);
    }
    EXPECT_EQ(glyphs, 1) << "the percent sign is a character, not a format";
    EXPECT_FLOAT_EQ(font->GetScale(), 1.0f);
    EXPECT_EQ(font->GetColor(), 0xFF102030u);
}

}  // namespace
