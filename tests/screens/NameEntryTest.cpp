// The name entry: what typing does to the name, and how Enter, Escape and the
// buttons answer.
#include <gtest/gtest.h>

#include "ScreensTestEngine.h"
#include "screens/CPNameScreen.h"
#include "screens/NameInput.h"

namespace {

class NameEntryTest : public ::testing::Test {
protected:
    CPNameScreen* Open() {
        auto* entry = new CPNameScreen("NP", "data/Screens/DialogYesNo.xml", &listener);
        entry->SetLayer(15.0f);
        engine.Manager().Add(entry);
        engine.Step();
        return entry;
    }
    bool IsOpen(CPNameScreen* entry) {
        const auto& stack = engine.Manager().GetScreenStack();
        return std::find(stack.begin(), stack.end(), entry) != stack.end();
    }

    ScreensTestEngine engine;
    QuestionJournal listener;
};

TEST(NameInputRules, TypingKeepsSixteenPrintableCharactersAndBackspaceErases) {
    std::string name;
    for (char c : std::string("ABCDEFGHIJKLMNOPQ")) NameInput::Apply(name, (unsigned char)c);
    EXPECT_EQ(name, "ABCDEFGHIJKLMNOP");
    EXPECT_TRUE(NameInput::Apply(name, 8));
    EXPECT_EQ(name, "ABCDEFGHIJKLMNO");
    std::string empty;
    EXPECT_FALSE(NameInput::Apply(empty, 8));
    EXPECT_EQ(empty, "");
}

TEST(NameInputRules, ControlCharactersAndCodePageHolesAreRefused) {
    std::string name;
    for (int c : {13, 27, 9, 1, 31, 127, 0x81, 0x83, 0x88, 0x90, 0x98, 0, -5}) EXPECT_FALSE(NameInput::Apply(name, c));
    EXPECT_EQ(name, "");
    // Printable: blanks, punctuation, digits and the Czech letters of the code page.
    for (int c : {int(' '), int('%'), int('"'), int('<'), int('7'), 0xE8, 0x8A}) EXPECT_TRUE(NameInput::Apply(name, c));
    EXPECT_EQ(name, std::string(" %\"<7\xE8\x8A"));
}

TEST(NameInputRules, CodePointsMapToTheCodePageOrAreRefused) {
    EXPECT_EQ(NameInput::PrintableByte(0x010D), 0xE8);  // c with caron
    EXPECT_EQ(NameInput::PrintableByte(0x0161), 0x9A);  // s with caron
    EXPECT_EQ(NameInput::PrintableByte(0x4E2D), 0);     // a CJK ideograph
    EXPECT_EQ(NameInput::PrintableByte(0x1F600), 0);    // an emoji
}

TEST_F(NameEntryTest, TypedCharactersBuildTheNameUpToSixteen) {
    Open();
    engine.Type("Sherlock Holmes, the detective");  // kept: "Sherlock Holmes,"
    engine.Press(HGEK_BACKSPACE);
    engine.Press(HGEK_BACKSPACE);
    EXPECT_TRUE(listener.events.empty());
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(listener.events, std::vector<std::string>{"question:NP=Sherlock Holme"});
}

TEST_F(NameEntryTest, BackspaceOnAnEmptyNameDoesNothing) {
    CPNameScreen* entry = Open();
    engine.Press(HGEK_BACKSPACE);
    EXPECT_TRUE(IsOpen(entry));
    engine.Type("A");
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(listener.events, std::vector<std::string>{"question:NP=A"});
}

TEST_F(NameEntryTest, EnterWithoutANameKeepsTheDialogOpen) {
    CPNameScreen* entry = Open();
    engine.Press(HGEK_ENTER);
    engine.Step(2);
    EXPECT_TRUE(IsOpen(entry));
    EXPECT_FALSE(entry->IsDead());
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(NameEntryTest, EnterHandsTheNameToTheListenerOnceAndCloses) {
    CPNameScreen* entry = Open();
    engine.Type("Ada");
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(listener.events, std::vector<std::string>{"question:NP=Ada"});
    EXPECT_FALSE(IsOpen(entry));
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(listener.events.size(), 1u);
}

TEST_F(NameEntryTest, EscapeClosesWithoutAWordToTheListener) {
    CPNameScreen* entry = Open();
    engine.Type("Ada");
    engine.Press(HGEK_ESCAPE);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_FALSE(IsOpen(entry));
}

TEST_F(NameEntryTest, TheYesButtonAnswersLikeEnter) {
    CPNameScreen* entry = Open();
    engine.Type("Bo");
    entry->OnButtonPress("YES");
    EXPECT_EQ(listener.events, std::vector<std::string>{"question:NP=Bo"});
    EXPECT_TRUE(entry->IsDead());
}

// A name read as a format would read or write stray memory: reported only
// under the sanitizers.
TEST_F(NameEntryTest, ANameThatLooksLikeAFormatIsDrawnSafelySanitizerChecked) {
    CPNameScreen* entry = Open();
    engine.Type("%s%n%s%s");
    engine.Step(3);  // drawn without a crash under the sanitizers
    EXPECT_TRUE(IsOpen(entry));
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(listener.events, std::vector<std::string>{"question:NP=%s%n%s%s"});
}

}  // namespace
