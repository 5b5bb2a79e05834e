// Inputs the fuzz targets once stopped on, kept in fuzz/regressions/<target>/ and
// read again by the reader they broke. Each must load or be refused without a
// fault; what loads must survive the writer. (scripts/test.sh also runs every
// fuzz target over its folder, with the sanitizers of the fuzz build.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"
#include "engine/XMLParser.h"
#include "entities/effects/PathMoveParser.h"
#include "platform/IniFile.h"
#include "FuzzRegressions.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/ScratchFolder.h"

namespace {

class FuzzRegressionTest : public ::testing::Test {
protected:
    HtmlLogCapture log;
    ScratchFolder scratch;
};

TEST_F(FuzzRegressionTest, XmlDocumentsLoadOrFailCleanlyAndSurviveTheWriter) {
    const std::vector<std::string> paths = Regressions("fuzz_xml_document");
    ASSERT_FALSE(paths.empty());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        XMLDocument doc("any");
        if (!doc.Load(path)) {
            EXPECT_FALSE(doc.GetLastError().empty());
            continue;
        }
        ASSERT_TRUE(doc.Save(scratch.File("saved.xml")));
        XMLDocument again("any");
        ASSERT_TRUE(again.Load(scratch.File("saved.xml"))) << again.GetLastError();
        EXPECT_EQ(again.GetRoot()->GetName(), doc.GetRoot()->GetName());
        EXPECT_EQ(again.GetRoot()->GetAttributes().size(), doc.GetRoot()->GetAttributes().size());
    }
}

TEST_F(FuzzRegressionTest, UnfinishedMultiByteSequenceAtTheEndIsRefused) {
    // An element name that ends the file on the lead byte of a two-byte sequence.
    for (const std::string& tail : {std::string("<a><b\xC4"), std::string("<a x=\"1\" \xF0"),
                                    std::string("<a>\xE2\x82"), std::string("\xEF\xBB\xBF<a \xC3")}) {
        WriteWholeFile(scratch.File("cut.xml"), tail);
        XMLDocument doc("kept");
        EXPECT_FALSE(doc.Load(scratch.File("cut.xml")));
        EXPECT_EQ(doc.GetRoot()->GetName(), "kept");
    }
}

TEST_F(FuzzRegressionTest, PathFilesParseOrFailCleanly) {
    for (const std::string& path : Regressions("fuzz_path_file")) {
        SCOPED_TRACE(path);
        ZOLTFramework::PathMoveParser parser;
        ZOLTFramework::XMLParser::ParseFile(path, &parser);
        EXPECT_LE(parser.GetText().size(), std::filesystem::file_size(path)) << "kept whole, never more than the file";
    }
}

TEST_F(FuzzRegressionTest, IniFilesReadAndTakeANewKey) {
    for (const std::string& path : Regressions("fuzz_ini_file")) {
        SCOPED_TRACE(path);
        WriteWholeFile(scratch.File("app.ini"), ReadWholeFile(path));
        IniFile ini;
        ini.SetPath(scratch.File("app.ini"));
        (void)ini.GetFloat("GAME", "MusicVolume", 0.5f);
        ASSERT_TRUE(ini.Set("HGE", "Windowed", "1"));
        EXPECT_EQ(ini.GetInt("HGE", "Windowed", 0), 1);
    }
}

}  // namespace

namespace {

TEST_F(FuzzRegressionTest, IniNumbersOutOfRangeGiveTheDefault) {
    WriteWholeFile(scratch.File("app.ini"),
                   "[GAME]\nMusicVolume=1e300\nSoundVolume=nan\nLow=-1e39\nFine=0.25\n"
                   "[HGE]\nWindowed=99999999999999999999\nNegative=-3000000000\nDepth=32\n");
    IniFile ini;
    ini.SetPath(scratch.File("app.ini"));
    EXPECT_EQ(ini.GetFloat("GAME", "MusicVolume", 0.5f), 0.5f);
    EXPECT_EQ(ini.GetFloat("GAME", "SoundVolume", 0.5f), 0.5f);
    EXPECT_EQ(ini.GetFloat("GAME", "Low", 0.5f), 0.5f);
    EXPECT_EQ(ini.GetFloat("GAME", "Fine", 0.5f), 0.25f);
    EXPECT_EQ(ini.GetInt("HGE", "Windowed", 1), 1);
    EXPECT_EQ(ini.GetInt("HGE", "Negative", 7), 7);
    EXPECT_EQ(ini.GetInt("HGE", "Depth", 7), 32);
}

}  // namespace
