// The bundled text tables: head, entries, the same keys in both languages, and
// Czech text the fonts can draw.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ContentFiles.h"

namespace {

// A small reader of the table format: comments, KEY="text" with escapes and
// texts wrapped over lines.
bool ReadTable(const std::string& path, std::map<std::string, std::string>& out) {
    std::string s;
    if (!contenttest::ReadAll(path, s) || s.compare(0, 16, "[HGESTRINGTABLE]") != 0) return false;
    size_t p = 17;
    auto space = [&](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (p < s.size()) {
        if (space(s[p])) { ++p; continue; }
        if (s[p] == ';') {
            while (p < s.size() && s[p] != '\n') ++p;
            continue;
        }
        size_t start = p;
        while (p < s.size() && s[p] != '=' && !space(s[p])) ++p;
        std::string key = s.substr(start, p - start);
        while (p < s.size() && space(s[p])) ++p;
        if (p >= s.size() || s[p] != '=') return false;
        ++p;
        while (p < s.size() && space(s[p])) ++p;
        if (p >= s.size() || s[p] != '"') return false;
        ++p;
        std::string text;
        while (p < s.size() && s[p] != '"') {
            if (s[p] == '\\' && p + 1 < s.size()) {
                text += s[p + 1] == 'n' ? '\n' : s[p + 1];
                p += 2;
            } else if (s[p] == '\r' || s[p] == '\n') {
                while (!text.empty() && space(text.back())) text.pop_back();
                while (p < s.size() && space(s[p])) ++p;
                text += ' ';
            } else {
                text += s[p++];
            }
        }
        if (p >= s.size()) return false;  // unterminated text
        ++p;
        if (out.count(key)) return false;  // a key given twice is a mistake here
        out[key] = text;
    }
    return true;
}

TEST(TextTables, BothLanguagesHoldTheSameKeys) {
    std::map<std::string, std::string> en, cz;
    ASSERT_TRUE(ReadTable("data/Text/English.txt", en));
    ASSERT_TRUE(ReadTable("data/Text/Czech.txt", cz));
    std::set<std::string> enKeys, czKeys;
    for (const auto& e : en) enKeys.insert(e.first);
    for (const auto& e : cz) czKeys.insert(e.first);
    EXPECT_EQ(enKeys, czKeys);
    for (const auto& e : cz) EXPECT_FALSE(e.second.empty()) << e.first;
}

TEST(TextTables, FrameworkKeysArePresentAndWelcomeTakesOneName) {
    for (const char* path : {"data/Text/English.txt", "data/Text/Czech.txt"}) {
        SCOPED_TRACE(path);
        std::map<std::string, std::string> t;
        ASSERT_TRUE(ReadTable(path, t));
        for (const char* key : {"Q_QUIT", "PAUSE", "TIME_OUT", "LOADING", "PRESS_ANY_KEY", "WELCOME", "ENTERNAME",
                                "Q_CONTINUE", "CHOOSE_PLAY_MODE", "Q_DELETE", "YES", "NO", "OK", "SKIP",
                                "SOLVE_LATER", "CLICK_TO_CONTINUE", "CREDITS", "USE_INVENTORY",
                                "CLUES_TO_FIND_SINGULAR", "CLUES_TO_FIND_PLURAL", "Q_ALREADY_PASSED"})
            EXPECT_TRUE(t.count(key)) << key;
        const std::string& welcome = t["WELCOME"];
        size_t first = welcome.find('%');
        ASSERT_NE(first, std::string::npos);
        EXPECT_EQ(welcome.substr(first, 2), "%s");
        EXPECT_EQ(welcome.find('%', first + 1), std::string::npos);
        // Only the greeting is used as a format.
        for (const auto& e : t) {
            if (e.first != "WELCOME") {
                EXPECT_EQ(e.second.find('%'), std::string::npos) << e.first;
            }
        }
    }
}

TEST(TextTables, CzechIsWindows1250WithGlyphsTheFontsHold) {
    std::string bytes;
    ASSERT_TRUE(contenttest::ReadAll("data/Text/Czech.txt", bytes));
    std::set<uint8_t> allowed(contenttest::CzechCodes().begin(), contenttest::CzechCodes().end());
    for (int c = 0x20; c <= 0x7E; ++c) allowed.insert(uint8_t(c));
    allowed.insert('\n');
    allowed.insert('\r');
    std::set<uint8_t> czechSeen;
    for (unsigned char c : bytes) {
        EXPECT_TRUE(allowed.count(c)) << "byte " << int(c) << " has no glyph";
        if (c >= 0x80) czechSeen.insert(c);
    }
    // Real Czech text: several accented letters, among them ř, č, ě and ů.
    for (uint8_t c : {0xF8, 0xE8, 0xEC, 0xF9}) EXPECT_TRUE(czechSeen.count(c)) << int(c);
    std::map<std::string, std::string> t;
    ASSERT_TRUE(ReadTable("data/Text/Czech.txt", t));
    EXPECT_EQ(t["LOADING"], "Nahr\xE1v\xE1m...");
}

}  // namespace
