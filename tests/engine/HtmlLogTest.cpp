#include <gtest/gtest.h>

#include "FileText.h"
#include "support/TempDir.h"
#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"

namespace {

const char* const kRunMarker = "Computername: ";

class HtmlLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir / "Log.html";
        HtmlLog::Instance()->Open(path);
    }
    std::string Page() const { return ReadWholeFile(path); }

    TempDir dir;
    std::string path;
};

}  // namespace

TEST(HtmlLogText, DateIsDayFirstWithLeadingZerosAndHexHasEightDigits) {
    std::tm t{};
    t.tm_mday = 3;
    t.tm_mon = 3;  // April
    t.tm_year = 2011 - 1900;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    EXPECT_EQ(HtmlLog::FormatDate(t), "03.04.2011, 09:05");
    EXPECT_EQ(HtmlLog::FormatTime(t), "09:05:07:  ");
    t.tm_hour = 23;
    t.tm_mday = 31;
    t.tm_mon = 11;
    EXPECT_EQ(HtmlLog::FormatDate(t), "31.12.2011, 23:05");

    EXPECT_EQ(UIntToHexString(10), "0x0000000A");
    EXPECT_EQ(UIntToHexString(0), "0x00000000");
    EXPECT_EQ(UIntToHexString(0xFFFFFFFFu), "0xFFFFFFFF");
    EXPECT_EQ(UIntToHexString(0xab12u), "0x0000AB12");
    EXPECT_EQ(CharPlusString('/', "x"), "/x");
    EXPECT_EQ(CharPlusString('a', ""), "a");
}

TEST(HtmlLogText, MakeAbsolutePathUsesProgramFolderForRelativePaths) {
    const std::string program = FileSystem::ProgramDir();
    ASSERT_FALSE(program.empty());
    ASSERT_EQ(program.back(), '/');

    // One character is not read past; a leading backslash is the root.
    const std::pair<std::string, std::string> cases[] = {{"/var/tmp\\a/b\\c.xml", "/var/tmp/a/b/c.xml"},
                                                         {"data\\Map/1.xml", program + "data/Map/1.xml"},
                                                         {"", program},
                                                         {"a", program + "a"},
                                                         {"\\etc", "/etc"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        std::string path = c.first;
        MakeAbsolutePath(path);
        EXPECT_EQ(path, c.second);
    }
    // A tool working on data elsewhere puts that folder in front instead.
    FileSystem::SetDataRoot("/srv/copy");
    std::string elsewhere = "data\\Scenes\\Study.xml";
    MakeAbsolutePath(elsewhere);
    EXPECT_EQ(elsewhere, "/srv/copy/data/Scenes/Study.xml");
    FileSystem::SetDataRoot("");
    EXPECT_EQ(FileSystem::DataRoot(), program);
}

TEST_F(HtmlLogFile, FirstRunMakesACompletePage) {
    HtmlLog::Instance()->WriteHeader();
    const std::string page = Page();
    EXPECT_EQ(page.rfind("<html>\n<head>\n<title>Game log</title></head>\n<body>\n", 0), 0u);
    EXPECT_TRUE(EndsWith(page, HtmlLog::PageFoot()));
    EXPECT_TRUE(EndsWith(page, "</body></html>"));
    EXPECT_EQ(CountOf(page, kRunMarker), 1u);
    EXPECT_EQ(CountOf(page, std::string(224, '-')), 3u);
    for (const char* label : {"OS: ", "Language: ", "Processor: ", "Video: ", "Memory status: "})
        EXPECT_EQ(CountOf(page, label), 1u) << label;
}

TEST_F(HtmlLogFile, EveryRowKeepsThePageComplete) {
    HtmlLog* log = HtmlLog::Instance();
    log->WriteHeader();
    log->Info("HGE is created.");
    EXPECT_TRUE(EndsWith(Page(), HtmlLog::PageFoot()));
    log->Debug("a <b> & c");
    log->Error("broken");
    log->Warning("careful");
    const std::string page = Page();
    EXPECT_TRUE(EndsWith(page, HtmlLog::PageFoot()));
    EXPECT_EQ(CountOf(page, HtmlLog::PageFoot()), 1u);
    EXPECT_NE(page.find("<FONT color=\"black\">Info:</FONT>\n\t\t</STRONG></FONT>HGE is created.\t</FONT></TD>"),
              std::string::npos);
    EXPECT_NE(page.find("<FONT color=\"green\">Debug:</FONT>\n\t\t</STRONG></FONT>a <b> & c"), std::string::npos);
    EXPECT_NE(page.find("<FONT color=\"red\">Error:</FONT>"), std::string::npos);
    EXPECT_NE(page.find("<FONT color=\"blue\">Warning:</FONT>"), std::string::npos);
    // Rows in the order written, after the run block.
    EXPECT_LT(page.find(kRunMarker), page.find("HGE is created."));
    EXPECT_LT(page.find("HGE is created."), page.find("broken"));
    EXPECT_LT(page.find("broken"), page.find("careful"));
}

TEST_F(HtmlLogFile, RowsCarryTheLocalTime) {
    HtmlLog::Instance()->WriteHeader();
    HtmlLog::Instance()->Info("x");
    const std::string page = Page();
    const std::size_t at = page.find("size=\"2\">\n", page.find("<TD width=\"12\""));
    ASSERT_NE(at, std::string::npos);
    const std::string time = page.substr(at + 10, 11);  // "hh:mm:ss:  "
    ASSERT_EQ(time.size(), 11u);
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');
    EXPECT_EQ(time.substr(8), ":  ");
}

TEST_F(HtmlLogFile, LaterRunsAddBlocksNewestLast) {
    HtmlLog* log = HtmlLog::Instance();
    for (int run = 1; run <= 3; ++run) {
        log->WriteHeader();
        log->Info("row of run " + std::to_string(run));
    }
    const std::string page = Page();
    EXPECT_EQ(CountOf(page, kRunMarker), 3u);
    EXPECT_EQ(CountOf(page, "<title>Game log</title>"), 1u);
    EXPECT_EQ(CountOf(page, "</body></html>"), 1u);
    EXPECT_LT(page.find("row of run 1"), page.find("row of run 2"));
    EXPECT_LT(page.find("row of run 2"), page.find("row of run 3"));
    // The third block comes after the second run's row.
    EXPECT_LT(page.find("row of run 2"), page.rfind(kRunMarker));
    EXPECT_TRUE(EndsWith(page, HtmlLog::PageFoot()));
}

TEST_F(HtmlLogFile, KeepsAtMostFiveEarlierRunsWhole) {
    HtmlLog* log = HtmlLog::Instance();
    for (int run = 1; run <= 9; ++run) {
        log->WriteHeader();
        log->Info("marker-" + std::to_string(run) + "-end");
    }
    const std::string page = Page();
    EXPECT_EQ(CountOf(page, kRunMarker), static_cast<std::size_t>(HtmlLog::kKeptRuns + 1));
    // Every kept block is whole: its date row and its three rules are there.
    EXPECT_EQ(CountOf(page, "<P><STRONG><FONT color=\"black\" size=\"2\">"), 6u);
    EXPECT_EQ(CountOf(page, std::string(224, '-')), 18u);
    for (int run = 1; run <= 3; ++run) EXPECT_EQ(page.find("marker-" + std::to_string(run) + "-end"), std::string::npos);
    for (int run = 4; run <= 9; ++run) EXPECT_NE(page.find("marker-" + std::to_string(run) + "-end"), std::string::npos);
    EXPECT_EQ(page.rfind("<html>\n", 0), 0u);
    EXPECT_TRUE(EndsWith(page, HtmlLog::PageFoot()));
}

TEST_F(HtmlLogFile, ARowNeverWritesInFrontOfAShortFile) {
    HtmlLog* log = HtmlLog::Instance();
    log->WriteHeader();
    WriteWholeFile(path, "junk");  // shorter than the foot
    log->Info("after damage");
    const std::string page = Page();
    EXPECT_EQ(page.rfind("<html>\n", 0), 0u);
    EXPECT_EQ(page.find("junk"), std::string::npos);
    EXPECT_NE(page.find("after damage"), std::string::npos);
    EXPECT_TRUE(EndsWith(page, HtmlLog::PageFoot()));

    WriteWholeFile(path, "");
    log->Info("empty file");
    EXPECT_TRUE(EndsWith(Page(), HtmlLog::PageFoot()));
    EXPECT_NE(Page().find("empty file"), std::string::npos);
}

TEST_F(HtmlLogFile, AFileWithoutItsFootKeepsWhatItHolds) {
    HtmlLog* log = HtmlLog::Instance();
    log->WriteHeader();
    const std::string before = Page();
    WriteWholeFile(path, before + "<P>appended by someone else, long enough to hold a foot and more of it</P>\n");
    log->Info("next row");
    const std::string page = Page();
    EXPECT_NE(page.find("appended by someone else"), std::string::npos);
    EXPECT_LT(page.find("appended by someone else"), page.find("next row"));
    EXPECT_TRUE(EndsWith(page, HtmlLog::PageFoot()));
}

TEST_F(HtmlLogFile, RowsWithoutAFileAreDropped) {
    HtmlLog::Instance()->Info("nowhere");
    EXPECT_FALSE(Exists(path));
}

TEST_F(HtmlLogFile, AForeignFileIsReplacedByAFreshPage) {
    WriteWholeFile(path, "line\nline\nline\nline\nline\nline\nline\nline\nline\nline\n");
    HtmlLog::Instance()->WriteHeader();
    const std::string page = Page();
    EXPECT_EQ(page.find("line\n"), std::string::npos);
    EXPECT_EQ(CountOf(page, kRunMarker), 1u);
}
