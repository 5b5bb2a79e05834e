#include <gtest/gtest.h>

#include <string>

#include "GraphicsTestUtil.h"
#include "graphics/hgeStringTable.h"

namespace {

hgeStringTable Parse(const std::string& body, const char* name = "test.txt") {
    std::string text = "[HGESTRINGTABLE]\n" + body;
    hgeStringTable t;
    t.LoadFromMemory(text.data(), text.size(), name);
    return t;
}

std::string Get(const hgeStringTable& t, const char* key) {
    const char* s = t.GetString(key);
    return s ? s : "<null>";
}

}  // namespace

TEST(StringTableTest, EntriesEscapesWrappingAndComments) {
    gfxtest::Engine();
    hgeStringTable t = Parse(
        "; a comment line\n"
        "Hello = \"Hi there\"\n"
        "Key=\"first\"\n"
        "Key=\"second\"\n"
        "Multi = \"one   \n"
        "          two\r\n"
        "\t\t  three\"\n"
        "Esc=\"a\\nb \\\"q\\\" back\\\\slash\"\n"
        "Semi=\"x; not a comment\"\n"
        "Czech=\"\xE8\xED\xF8\"\n");
    EXPECT_EQ(Get(t, "Hello"), "Hi there");
    EXPECT_EQ(Get(t, "Key"), "second");  // the later entry wins
    EXPECT_EQ(Get(t, "Multi"), "one two three");
    EXPECT_EQ(Get(t, "Esc"), "a\nb \"q\" back\\slash");
    EXPECT_EQ(Get(t, "Semi"), "x; not a comment");
    EXPECT_EQ(Get(t, "Czech"), "\xE8\xED\xF8");
    EXPECT_EQ(Get(t, "hello"), "<null>");  // case-sensitive
    EXPECT_EQ(t.GetString(nullptr), nullptr);
}

TEST(StringTableTest, LongNamesLongTextsAndEndsOfFile) {
    gfxtest::Engine();
    std::string name70(70, 'k');
    std::string longText(20000, 'x');
    hgeStringTable t = Parse(name70 + "=\"long name\"\nBig=\"" + longText + "\"\n; last comment without a break");
    EXPECT_EQ(Get(t, name70.substr(0, 63).c_str()), "long name");
    EXPECT_EQ(Get(t, name70.c_str()), "<null>");
    EXPECT_EQ(Get(t, "Big").size(), 20000u);  // no fixed text limit

    // A file of nothing but its head, with or without the line break.
    EXPECT_EQ(Get(Parse(""), ""), "<null>");
    hgeStringTable headOnly;
    headOnly.LoadFromMemory("[HGESTRINGTABLE]", 16, "h.txt");
    EXPECT_EQ(Get(headOnly, ""), "<null>");
    EXPECT_EQ(Get(headOnly, "[HGESTRINGTABLE]"), "<null>");

    // Endings in the middle of an entry.
    const hgeStringTable cut = Parse("A=\"ok\"\nName");
    EXPECT_EQ(Get(cut, "A"), "ok");
    EXPECT_EQ(Get(cut, "Name"), "<null>");
    EXPECT_EQ(Get(Parse("A=\"unterminated"), "A"), "unterminated");
    EXPECT_EQ(Get(Parse("A=\"trailing\\"), "A"), "trailing");
    EXPECT_EQ(Get(Parse("A="), "A"), "<null>");
}

TEST(StringTableTest, FormatErrorsKeepEarlierEntriesAndAreLogged) {
    gfxtest::Engine();
    hgeStringTable t = Parse("A=\"1\"\nB \"2\"\nC=\"3\"\n", "broken.txt");
    EXPECT_EQ(Get(t, "A"), "1");
    EXPECT_EQ(Get(t, "C"), "<null>");
    EXPECT_NE(gfxtest::ReadLog().find("String table broken.txt has incorrect format."), std::string::npos);

    hgeStringTable noQuote = Parse("A=\"1\"\nB = 2\n", "noquote.txt");
    EXPECT_EQ(Get(noQuote, "A"), "1");
    EXPECT_EQ(Get(noQuote, "B"), "<null>");

    hgeStringTable badHead;
    badHead.LoadFromMemory("[HGESTRINGTABL]\nA=\"1\"", 20, "head.txt");
    EXPECT_EQ(Get(badHead, "A"), "<null>");
    EXPECT_NE(gfxtest::ReadLog().find("String table head.txt has incorrect format."), std::string::npos);
}

TEST(StringTableTest, LoadsFromFile) {
    gfxtest::TempDir dir;
    gfxtest::Engine();
    std::string path = dir.Write("English.txt", "[HGESTRINGTABLE]\r\nOK=\"Fine\"\r\n");
    hgeStringTable t(path.c_str());
    EXPECT_EQ(Get(t, "OK"), "Fine");
    hgeStringTable missing(dir.File("none.txt").c_str());
    EXPECT_EQ(Get(missing, "OK"), "<null>");
}
