// The text widget: layout attributes in document order, wrapping in a scaled
// box, clipping, literal text and a shared font left as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "support/engine/RecordedQuads.h"
#include "support/runtime/GuiTestEngine.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeFont.h"

using ZOLTFramework::CSpriteEntity;

namespace {

class TextEntityTest : public ::testing::Test {
protected:
    static GuiTestOptions Options() {
        GuiTestOptions o;
        o.fonts = true;
        o.textTable = "[HGESTRINGTABLE]\nGreeting=\"Hello\"\n";
        return o;
    }
    TextEntityTest() : engine(Options()) {}

    TextEntity* AddText(const std::string& text, float tx, float ty) {
        TextEntity* t = new TextEntity("text", nullptr);
        t->SetText(text);
        t->SetPosXY(tx, ty);
        engine.Manager().Add(t);
        return t;
    }
    // Quads of the next frame.
    std::vector<RenderStats::RecordedQuad> DrawFrame() {
        return RecordQuads([&] { engine.Step(); });
    }
    static size_t Rows(const std::vector<RenderStats::RecordedQuad>& quads) {
        std::set<long> tops;
        for (const auto& q : quads) tops.insert(std::lround(q.quad.v[0].y));
        return tops.size();
    }

    GuiTestEngine engine;
};

TEST_F(TextEntityTest, AttributesApplyInDocumentOrder) {
    hgeFont* comics = FontRegistry::GetFont("Comics");
    ASSERT_NE(comics, nullptr);
    comics->SetColor(0xFF112233);
    auto element = engine.LoadLayout(
        "<text message=\"Title\" text=\"plain\" text_alias=\"Greeting\" color=\"0x80FF0000\" font=\"Comics\""
        " x=\"10\" y=\"20\" z=\"4\" alignment=\"1\" tracking=\"-2\" spacing=\"0.5\" unknown=\"x\">"
        "<border w=\"200\" h=\"50\"/><clipping x=\"1\" y=\"2\" w=\"3\" h=\"4\"/>"
        "<rect x=\"-5\" y=\"-6\" w=\"30\" h=\"40\"/></text>");
    ASSERT_TRUE(element);
    TextEntity& text = *new TextEntity(*element, nullptr);
    EXPECT_EQ(text.GetName(), "Title");
    EXPECT_EQ(text.GetTextRef(), "Hello");  // the later of text and text_alias
    EXPECT_EQ(text.GetFont(), comics);
    EXPECT_EQ(text.GetColor(), 0xFF112233u);  // the font came after the colour
    EXPECT_FLOAT_EQ(text.GetX(), 10.0f);
    EXPECT_FLOAT_EQ(text.GetDepth(), 4.0f);
    EXPECT_EQ(text.GetAlignment(), 1);
    EXPECT_FLOAT_EQ(text.GetBoxWidth(), 200.0f);
    text.Update(0.0f);  // the hit rectangle follows on the next update
    EXPECT_TRUE(text.HitTest(5.0f, 14.0f));
    EXPECT_FALSE(text.HitTest(35.0f, 14.0f));
    engine.Manager().Add(&text);
    const auto quads = DrawFrame();
    ASSERT_FALSE(quads.empty());
    EXPECT_TRUE(quads[0].clipped);
    EXPECT_EQ(quads[0].clipY, 2);
    EXPECT_EQ(quads[0].clipH, 4);

    auto reversed = engine.LoadLayout(
        "<text text_alias=\"Greeting\" font=\"Comics\" text=\"plain\" color=\"2164195328\"/>");
    TextEntity second(*reversed, nullptr);
    EXPECT_EQ(second.GetTextRef(), "plain");
    EXPECT_EQ(second.GetColor(), 0x80FF0000u);  // decimal and "0x" forms agree
    EXPECT_FLOAT_EQ(second.GetDepth(), 1.0f);

    // Unknown font and unknown key: the font is kept, the text is empty.
    auto missing = engine.LoadLayout("<text font=\"NoFont\" text_alias=\"NoKey\"/>");
    TextEntity third(*missing, nullptr);
    EXPECT_EQ(third.GetFont(), FontRegistry::GetFont("Main"));
    EXPECT_TRUE(third.GetTextRef().empty());
}

TEST_F(TextEntityTest, BoxWrapsAtTheScaledWidth) {
    hgeFont* font = FontRegistry::GetFont("Main");
    const std::string words = "wordy wordy";
    const float full = font->GetLineWidth(words.c_str());
    const float firstWord = font->GetLineWidth("wordy");
    ASSERT_GT(full, 2.0f * firstWord);

    TextEntity* text = AddText(words, 400.0f, 300.0f);
    text->SetScale(0.5f);
    // Drawn at half size, the words need full / 2: a box of 0.75 full, scaled
    // to 0.375 full, is too narrow for both.
    text->SetBox(0.75f * full, 200.0f);
    EXPECT_EQ(Rows(DrawFrame()), 2u);
    text->SetBox(1.1f * full, 200.0f);
    EXPECT_EQ(Rows(DrawFrame()), 1u);
    EXPECT_FLOAT_EQ(text->GetTextWidth(), 1.1f * full);
    text->SetBox(-1.0f, -1.0f);
    EXPECT_NEAR(text->GetTextWidth(), 0.5f * full, 0.01f);
    EXPECT_FLOAT_EQ(font->GetScale(), 1.0f);
}

TEST_F(TextEntityTest, ClippingIsRestoredAfterTheText) {
    TextEntity* text = AddText("Hi", 400.0f, 300.0f);
    text->SetClipRect(380.0f, 280.0f, 40.0f, 40.0f);
    CSpriteEntity* after = new CSpriteEntity();
    after->SetSprite("");
    after->SetDepth(5.0f);
    engine.Manager().Add(after);
    const auto quads = DrawFrame();
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_TRUE(quads[0].clipped);
    EXPECT_EQ(quads[0].clipX, 380);
    EXPECT_EQ(quads[0].clipW, 40);
    EXPECT_TRUE(quads[1].clipped);
    EXPECT_FALSE(quads[2].clipped);

    // Relative to the parent's position when the clip rectangle is set.
    auto* child = new TextEntity("child", nullptr);
    child->SetText("Yo");
    child->AttachTo(text);
    child->SetClipRect(5.0f, 6.0f, 7.0f, 8.0f);
    engine.Manager().Add(child);
    int childClips = 0;
    for (const auto& q : DrawFrame()) childClips += q.clipped && q.clipX == 405 && q.clipY == 306;
    EXPECT_EQ(childClips, 2);  // "Yo"
}

TEST_F(TextEntityTest, TextIsDrawnLiterallyWithItsOpacityAndTheFontStaysAsItWas) {
    hgeFont* font = FontRegistry::GetFont("Main");
    font->SetTracking(-3.0f);
    const DWORD fontColor = font->GetColor();
    TextEntity* text = AddText("%d%s", 400.0f, 300.0f);
    text->SetColor(0xFF00FF00);
    text->SetOpacity(0.5f);
    auto quads = DrawFrame();
    ASSERT_EQ(quads.size(), 4u);  // four characters, no formatting
    EXPECT_EQ(quads[0].quad.v[0].col, 0x7F00FF00u);
    EXPECT_FLOAT_EQ(font->GetTracking(), -3.0f);
    EXPECT_EQ(font->GetColor(), fontColor);

    text->SetTracking(5.0f);
    text->SetSpacing(2.0f);
    text->SetTextScale(2.0f);
    DrawFrame();
    EXPECT_FLOAT_EQ(font->GetTracking(), -3.0f);
    EXPECT_FLOAT_EQ(font->GetSpacing(), 1.0f);
    EXPECT_FLOAT_EQ(font->GetScale(), 1.0f);

    // Long texts are cut to what the font's buffer holds.
    text->SetText(std::string(3000, 'a'));
    EXPECT_EQ(DrawFrame().size(), TextEntity::kMaxDrawnLength);
    text->SetText("");
    EXPECT_TRUE(DrawFrame().empty());
}

TEST_F(TextEntityTest, HoverReachesOnlyAListenerOfAnUnpausedText) {
    JournalListener listener;
    TextEntity* quiet = AddText("quiet", 100.0f, 100.0f);
    quiet->SetLayout(-50.0f, -20.0f, 100.0f, 40.0f);
    TextEntity* heard = new TextEntity("heard", &listener);
    heard->SetText("heard");
    heard->SetPosXY(400.0f, 300.0f);
    heard->SetLayout(-50.0f, -20.0f, 100.0f, 40.0f);
    engine.Manager().Add(heard);
    engine.Step();

    engine.MoveMouse(100.0f, 100.0f);
    engine.Step();
    EXPECT_TRUE(quiet->HitTest(100.0f, 100.0f)) << "the mouse is over the text without a listener";
    EXPECT_TRUE(listener.events.empty());

    heard->Pause();
    engine.MoveMouse(400.0f, 300.0f);
    engine.Step();
    EXPECT_TRUE(listener.events.empty());
    heard->Resume();
    engine.Step();
    engine.MoveMouse(10.0f, 10.0f);
    engine.Step();
    EXPECT_EQ(listener.events, (std::vector<std::string>{"over:heard", "leave:heard"}));
}

}  // namespace
