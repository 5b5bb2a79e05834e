#include <gtest/gtest.h>

#include <climits>

#include "engine/Conversions.h"

TEST(StringToNumber, FloatsAndDegrees) {
    EXPECT_FLOAT_EQ(StringToFloat("1.5"), 1.5f);
    EXPECT_FLOAT_EQ(StringToFloat("  -2.25xyz"), -2.25f);
    EXPECT_FLOAT_EQ(StringToFloat("45"), 45.0f);
    EXPECT_EQ(StringToFloat("45d"), 0.7853982f);
    EXPECT_EQ(StringToFloat("180d"), 3.1415927f);
    EXPECT_FLOAT_EQ(StringToFloat("-90d"), -1.5707964f);
    // Only a "d" at the very end means degrees.
    EXPECT_FLOAT_EQ(StringToFloat("4d5"), 4.0f);
    EXPECT_EQ(StringToFloat("d"), 0.0f);
    EXPECT_EQ(StringToFloat(""), 0.0f);
    EXPECT_EQ(StringToFloat("abc"), 0.0f);
}

TEST(StringToNumber, Integers) {
    EXPECT_EQ(StringToInt("42"), 42);
    EXPECT_EQ(StringToInt("-300"), -300);
    EXPECT_EQ(StringToInt(" 7 apples"), 7);
    EXPECT_EQ(StringToInt("3.9"), 3);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt("x1"), 0);
    EXPECT_EQ(StringToInt("99999999999"), INT_MAX);  // clamped, no undefined overflow
    EXPECT_EQ(StringToValue("123"), 123u);
    EXPECT_EQ(StringToValue("0xff"), 0u);  // no hexadecimal form
}

TEST(StringToNumber, UnsignedWithHexPrefix) {
    EXPECT_EQ(StringToUInt("0xFF00FF00"), 0xFF00FF00u);
    EXPECT_EQ(StringToUInt("0xFF00FF00"), 4278255360u);
    EXPECT_EQ(StringToUInt("0xff"), 255u);
    EXPECT_EQ(StringToUInt("0XFF"), 0u);  // capital X is decimal text
    EXPECT_EQ(StringToUInt("4294967295"), 4294967295u);
    EXPECT_EQ(StringToUInt("17"), 17u);
    EXPECT_EQ(StringToUInt("0x"), 0u);
    EXPECT_EQ(StringToUInt(""), 0u);
    // Screen points: x in the low, y in the high 16 bits.
    EXPECT_EQ(StringToUInt("0x012C0190"), (300u << 16) | 400u);
}

TEST(StringToNumber, HexDigits) {
    EXPECT_EQ(HexToUInt(""), 0u);
    EXPECT_EQ(HexToUInt("aBcD"), 0xABCDu);
    EXPECT_EQ(HexToUInt("0123456789"), 0x23456789u);  // only the last eight digits stay
    EXPECT_EQ(HexToUInt("g"), 15u);
}

TEST(StringToNumber, Booleans) {
    EXPECT_TRUE(StringToBool("true"));
    EXPECT_FALSE(StringToBool("false"));
    EXPECT_TRUE(StringToBool("1"));
    EXPECT_FALSE(StringToBool("0"));
    EXPECT_TRUE(StringToBool("2"));
    EXPECT_FALSE(StringToBool("TRUE"));  // the words are lower case only
    EXPECT_FALSE(StringToBool("True"));
    EXPECT_FALSE(StringToBool(""));
    EXPECT_FALSE(StringToBool("yes"));
}

TEST(ValueToText, StreamForms) {
    EXPECT_EQ(ValueToString(0.5f), "0.5");
    EXPECT_EQ(ValueToString(0.1f), "0.1");
    EXPECT_EQ(ValueToString(2.5f), "2.5");
    EXPECT_EQ(ValueToString(1234567.0f), "1.23457e+06");
    EXPECT_EQ(ValueToString(-300), "-300");
    EXPECT_EQ(ValueToString(4294967295u), "4294967295");
    EXPECT_EQ(ValueToString(-5L), "-5");
    EXPECT_EQ(ValueToString(true), "1");
    EXPECT_EQ(ValueToString(false), "0");
    EXPECT_EQ(ValueToString(std::string("abc")), "abc");
    EXPECT_EQ(ValueToString("lit"), "lit");
    const char* none = nullptr;
    EXPECT_EQ(ValueToString(none), "");
    EXPECT_EQ(ValueToString<float>(2.5f), "2.5");
    EXPECT_EQ(ValueToString<unsigned>(7u), "7");
    int x = 0;
    EXPECT_EQ(ValueToString(static_cast<const void*>(&x)).substr(0, 2), "0x");
}

TEST(ValueToText, RoundTripsThroughText) {
    for (int v : {0, 1, -1, 12345, INT_MIN, INT_MAX}) EXPECT_EQ(StringToInt(ValueToString(v)), v);
    for (unsigned v : {0u, 1u, 0xFFFFFFFFu}) EXPECT_EQ(StringToUInt(ValueToString(v)), v);
    for (bool v : {true, false}) EXPECT_EQ(StringToBool(ValueToString(v)), v);
}

TEST(Split, PiecesBetweenSeparators) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitString(';', "a;;b;"), (V{"a", "", "b", ""}));
    EXPECT_EQ(SplitString(';', ";a"), (V{"", "a"}));
    EXPECT_EQ(SplitString(';', "abc"), (V{"abc"}));
    EXPECT_EQ(SplitString(';', ""), (V{""}));
    EXPECT_EQ(SplitString(',', "1,2,3"), (V{"1", "2", "3"}));
    EXPECT_EQ(SplitString(';', ";"), (V{"", ""}));
}
