// The bundled text tables: head, entries, the same keys in both languages,
// Czech text the fonts can draw, and each table the Windows-1250 form of its
// UTF-8 source in tools/text/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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

// UTF-8 text as Windows-1250 bytes, for ASCII and the Czech letters; false at
// a byte sequence that is not one of them.
bool ToWindows1250(const std::string& utf8, std::string& out) {
    static const std::map<unsigned, uint8_t> czech = {
        {0x00E1, 0xE1}, {0x010D, 0xE8}, {0x010F, 0xEF}, {0x00E9, 0xE9}, {0x011B, 0xEC}, {0x00ED, 0xED},
        {0x0148, 0xF2}, {0x00F3, 0xF3}, {0x0159, 0xF8}, {0x0161, 0x9A}, {0x0165, 0x9D}, {0x00FA, 0xFA},
        {0x016F, 0xF9}, {0x00FD, 0xFD}, {0x017E, 0x9E}, {0x00C1, 0xC1}, {0x010C, 0xC8}, {0x010E, 0xCF},
        {0x00C9, 0xC9}, {0x011A, 0xCC}, {0x00CD, 0xCD}, {0x0147, 0xD2}, {0x00D3, 0xD3}, {0x0158, 0xD8},
        {0x0160, 0x8A}, {0x0164, 0x8D}, {0x00DA, 0xDA}, {0x016E, 0xD9}, {0x00DD, 0xDD}, {0x017D, 0x8E}};
    out.clear();
    for (size_t i = 0; i < utf8.size();) {
        const auto c = (unsigned char)utf8[i];
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        }
        if ((c & 0xE0) != 0xC0 || i + 1 >= utf8.size()) return false;
        const unsigned code = ((c & 0x1Fu) << 6) | ((unsigned char)utf8[i + 1] & 0x3Fu);
        const auto found = czech.find(code);
        if (found == czech.end()) return false;
        out += char(found->second);
        i += 2;
    }
    return true;
}

TEST(TextTables, EachTableIsItsSourceInWindows1250) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    const std::filesystem::path folder = std::filesystem::path(source ? source : ".") / "tools/text";
    for (const char* language : {"Czech", "English"}) {
        SCOPED_TRACE(language);
        std::string utf8, table, converted;
        ASSERT_TRUE(contenttest::ReadAll((folder / (std::string(language) + ".txt")).string(), utf8));
        ASSERT_TRUE(contenttest::ReadAll(std::string("data/Text/") + language + ".txt", table));
        ASSERT_TRUE(ToWindows1250(utf8, converted)) << "a letter the tables cannot hold";
        EXPECT_TRUE(converted == table) << "data/Text/" << language
                                        << ".txt is not its source converted (tools/make_content.sh)";
    }
}

}  // namespace
