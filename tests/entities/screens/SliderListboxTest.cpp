// The slider (value clamping, presses on the track, dragging its cursor) and the
// list box (selection by click, removal rules, rows drawn inside its height).
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/widgets/CSlCurEntity.h"
#include "entities/widgets/CSliderEntity.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "support/engine/RecordedQuads.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::CListboxEntity;
using ZOLTFramework::CSlCurEntity;
using ZOLTFramework::CSliderEntity;

namespace {

class SliderJournal : public ZOLTFramework::CSliderListener {
public:
    void OnSliderChanged(const std::string& n, float v) override {
        names.push_back(n);
        values.push_back(v);
    }
    std::vector<std::string> names;
    std::vector<float> values;
};

class ListJournal : public ZOLTFramework::CListboxListener {
public:
    void OnListboxSelect(const std::string& n, const std::string& text) override { events.push_back(n + ":" + text); }
    std::vector<std::string> events;
};

// A 200 x 20 track centred on (400, 300): x1 = 300, x2 = 500.
CSliderEntity* MakeSlider(GuiTestEngine& engine, SliderJournal* listener) {
    CSliderEntity* slider = new CSliderEntity("Music", listener);
    slider->SetPosXY(400, 300);
    slider->SetSizeCentered(200, 20);
    slider->SetCursorSizeCentered(16, 24);
    engine.Manager().Add(slider);
    engine.Step();
    return slider;
}

// Values set by the program, presses on the track, the cursor dragged.
TEST(SliderTest, ValuesPressesAndDragsOfOneSlider) {
    GuiTestEngine engine(DialogOptions());
    SliderJournal listener;
    CSliderEntity* slider = MakeSlider(engine, &listener);
    CSlCurEntity* cursor = slider->GetCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_FLOAT_EQ(cursor->GetDepth(), 2.0f);
    EXPECT_FLOAT_EQ(cursor->GetRect().x1, 392.0f) << "cursor rectangle centred on the slider";

    slider->SetValue(1.5f);
    EXPECT_FLOAT_EQ(cursor->GetAbsoluteX(), 500.0f) << "clamped to 1";
    slider->SetValue(-1.0f);
    EXPECT_FLOAT_EQ(cursor->GetAbsoluteX(), 300.0f) << "clamped to 0";
    slider->SetValue(0.25f);
    EXPECT_FLOAT_EQ(cursor->GetAbsoluteX(), 350.0f);
    EXPECT_FLOAT_EQ(cursor->GetRect().x1, 342.0f) << "the cursor's rectangle follows it";
    EXPECT_TRUE(listener.values.empty()) << "SetValue reports nothing";

    // A press on the track sets the value.
    slider->SetValue(0.0f);
    engine.Click(450, 300);
    ASSERT_EQ(listener.values.size(), 1u);
    EXPECT_EQ(listener.names[0], "Music");
    EXPECT_FLOAT_EQ(listener.values[0], 0.75f);
    EXPECT_FLOAT_EQ(slider->GetCursor()->GetAbsoluteX(), 450.0f);

    // A press reported left of the track: value 0, cursor at the mouse.
    engine.MoveMouse(250, 300);
    engine.Step();
    slider->OnLeftButton(true);
    ASSERT_EQ(listener.values.size(), 2u);
    EXPECT_FLOAT_EQ(listener.values.back(), 0.0f);
    EXPECT_FLOAT_EQ(slider->GetCursor()->GetAbsoluteX(), 250.0f);
    slider->OnLeftButton(false);
    EXPECT_EQ(listener.values.size(), 2u) << "a release reports nothing";

    // Dragging the cursor follows the mouse strictly inside the track.
    slider->SetValue(0.5f);
    engine.MoveMouse(400, 300);
    engine.KeyDown(HGEK_LBUTTON);
    engine.Step();
    listener.values.clear();

    engine.MoveMouse(301, 300);
    engine.Step();
    ASSERT_EQ(listener.values.size(), 1u);
    EXPECT_NEAR(listener.values.back(), 0.005f, 1e-5f);
    engine.MoveMouse(300, 300);  // exactly x1: no change
    engine.Step();
    engine.MoveMouse(500, 300);  // exactly x2: no change
    engine.Step();
    EXPECT_EQ(listener.values.size(), 1u) << "the ends of the track change nothing";
    EXPECT_FLOAT_EQ(slider->GetCursor()->GetAbsoluteX(), 301.0f);
    engine.MoveMouse(499, 300);
    engine.Step();
    ASSERT_EQ(listener.values.size(), 2u);
    EXPECT_NEAR(listener.values.back(), 0.995f, 1e-5f);
    EXPECT_FLOAT_EQ(slider->GetCursor()->GetAbsoluteX(), 499.0f);

    engine.KeyUp(HGEK_LBUTTON);
    engine.Step();
    const size_t reports = listener.values.size();
    engine.MoveMouse(350, 300);
    engine.Step();
    EXPECT_EQ(listener.values.size(), reports) << "no drag after the release";
    for (float v : listener.values) {
        EXPECT_GE(v, 0.0f);
        EXPECT_LE(v, 1.0f);
    }
}

// The default row height: half a line of the "Main" font plus a margin.
float RowHeight(GuiTestEngine& engine) {
    return engine.GetResourceManager()->GetFont("Main")->GetHeight() * 0.5f + 15.0f;
}

// Rows in a list four rows high centred on (400, 300): y1 = 300 - 2 rows.
CListboxEntity* MakeList(GuiTestEngine& engine, ListJournal* listener, int count = 5) {
    CListboxEntity* list = new CListboxEntity("Players", listener);
    list->SetPosXY(400, 300);
    list->SetSizeCentered(200, 4.0f * RowHeight(engine));
    const char* names[] = {"A", "B", "C", "D", "E", "F"};
    for (int i = 0; i < count; ++i) list->AddItem(names[i], 10 + i);
    engine.Manager().Add(list);
    engine.Step();
    return list;
}

// Items, lookups and removal.
TEST(ListboxTest, ItemsLookupsAndRemoval) {
    GuiTestEngine engine(DialogOptions());
    ListJournal listener;
    CListboxEntity* list = MakeList(engine, &listener, 3);
    list->AddItem("", 99);
    EXPECT_EQ(list->GetItemCount(), 3) << "an empty text adds nothing";
    list->AddItem("B", 20);
    EXPECT_EQ(list->FindItem("B"), 1) << "the first match";
    EXPECT_EQ(list->FindItem(""), -1);
    EXPECT_EQ(list->FindItem("b"), -1);
    EXPECT_EQ(list->FindByValue(20), 3);
    EXPECT_EQ(list->FindByValue(7), -1);
    EXPECT_EQ(list->GetSelected(), -1);
    EXPECT_EQ(list->GetItem(5), nullptr);

    // Removal keeps the selection in range.
    list = MakeList(engine, nullptr);
    list->SetSelected(2);
    list->RemoveItem(2);
    EXPECT_EQ(list->GetSelected(), -1) << "removing the selected row clears the selection";

    list->SetSelected(1);
    list->RemoveItem(0);
    EXPECT_EQ(list->GetSelected(), 1) << "the index stays: it names the row that moved up";
    EXPECT_EQ(list->GetSelectedText(), "D");

    list->SetSelected(list->GetItemCount() - 1);  // the last row
    list->RemoveItem(0);                          // a row above it
    EXPECT_LT(list->GetSelected(), list->GetItemCount());
    EXPECT_EQ(list->GetSelected(), -1) << "nothing is left at that index";
    EXPECT_EQ(list->GetSelectedText(), "");

    list->SetSelected(7);
    EXPECT_EQ(list->GetSelected(), -1) << "out-of-range selections are refused";
    list->RemoveItem(-1);
    list->RemoveItem(list->GetItemCount());
    EXPECT_EQ(list->GetItemCount(), 2);
}

TEST(ListboxTest, ClicksSelectRowsAndAlwaysReport) {
    GuiTestEngine engine(DialogOptions());
    ListJournal listener;
    CListboxEntity* list = MakeList(engine, &listener);
    const float row = RowHeight(engine);
    engine.Click(400, 300 - 0.8f * row);  // 1.2 rows below the top: row 1
    EXPECT_EQ(list->GetSelected(), 1);
    EXPECT_EQ(list->GetSelectedText(), "B");
    EXPECT_EQ(listener.events, std::vector<std::string>{"Players:11111"});

    CListboxEntity* shortList = MakeList(engine, &listener, 2);
    shortList->SetPosXY(400, 500);  // two rows from 500 - 2 rows
    shortList->SetSelected(0);
    engine.Step();
    engine.Click(400, 500 + 0.5f * row);  // below the last row
    EXPECT_EQ(shortList->GetSelected(), 0) << "the selection stays";
    EXPECT_EQ(listener.events.size(), 2u) << "and the press is still reported";
}

TEST(ListboxTest, DrawsOnlyTheRowsThatFitAndHighlightsTheSelection) {
    GuiTestEngine engine(DialogOptions());
    CListboxEntity* list = MakeList(engine, nullptr);
    hgeFont* font = engine.GetResourceManager()->GetFont("Main");
    ASSERT_NE(font, nullptr);
    list->SetSelected(1);
    list->opacity = 0.5f;

    const auto quads = RecordQuads([&] { engine.Step(); });
    const float row = RowHeight(engine);
    int glyphs = 0, bars = 0;
    for (const auto& q : quads) {
        if (q.quad.tex == TextureOf(font)) {
            ++glyphs;
        } else if (q.quad.tex == 0) {
            ++bars;
            EXPECT_FLOAT_EQ(q.quad.v[0].x, 300.0f);
            EXPECT_FLOAT_EQ(q.quad.v[0].y, 300.0f - row);
            EXPECT_FLOAT_EQ(q.quad.v[2].x, 500.0f);
            EXPECT_FLOAT_EQ(q.quad.v[2].y, 300.0f);
            EXPECT_EQ(q.quad.v[0].col, 0x32646464u) << "highlight alpha times the opacity";
        }
    }
    EXPECT_EQ(glyphs, 3) << "rows k = 0, 1, 2 fit (k + 1 < 4 rows of the default height), a fourth does not";
    EXPECT_EQ(bars, 1);
    EXPECT_EQ(font->GetColor(), 0xFFFFFFFFu);

    // A missing font draws no text and does not crash.
    list->opacity = 1.0f;
    list->SetFontName("NoSuchFont");
    list->SetSelected(0);
    engine.Step(2);
    const auto unfonted = RecordQuads([&] { engine.Step(); });
    bars = 0;
    glyphs = 0;
    for (const auto& q : unfonted) (q.quad.tex == 0 ? bars : glyphs) += 1;
    EXPECT_EQ(glyphs, 0) << "no font: no row text";
    EXPECT_EQ(bars, 1) << "the selected row's highlight is still drawn";
}

}  // namespace
