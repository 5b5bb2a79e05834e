// Inputs the fuzz targets once stopped on, kept in tests/fixtures/fuzz/ and read
// again by the reader they broke (the file name's prefix names it). Each must
// load or be refused without a fault; what loads must survive the writer.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/XMLDocument.h"
#include "engine/XMLParser.h"
#include "entities/PathMoveParser.h"
#include "platform/IniFile.h"
#include "support/HtmlLogCapture.h"
#include "support/ScratchFolder.h"

namespace {

std::string FixtureFolder() {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    return std::string(source ? source : "..") + "/tests/fixtures/fuzz/";
}

std::vector<std::string> Fixtures(const std::string& prefix) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(FixtureFolder().c_str())) {
        while (struct dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FuzzRegressionTest : public ::testing::Test {
protected:
    HtmlLogCapture log;
    ScratchFolder scratch;
};

TEST_F(FuzzRegressionTest, XmlDocumentsLoadOrFailCleanlyAndSurviveTheWriter) {
    const std::vector<std::string> names = Fixtures("xml_");
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        XMLDocument doc("any");
        if (!doc.Load(FixtureFolder() + name)) {
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
    for (const std::string& name : Fixtures("path_")) {
        SCOPED_TRACE(name);
        ZOLTFramework::PathMoveParser parser;
        ZOLTFramework::XMLParser::ParseFile(FixtureFolder() + name, &parser);
        EXPECT_LE(parser.GetText().size(), 511u);
    }
}

TEST_F(FuzzRegressionTest, IniFilesReadAndTakeANewKey) {
    for (const std::string& name : Fixtures("ini_")) {
        SCOPED_TRACE(name);
        WriteWholeFile(scratch.File("app.ini"), ReadWholeFile(FixtureFolder() + name));
        IniFile ini;
        ini.SetPath(scratch.File("app.ini"));
        (void)ini.GetFloat("GAME", "MusicVolume", 0.5f);
        ASSERT_TRUE(ini.Set("HGE", "Windowed", "1"));
        EXPECT_EQ(ini.GetInt("HGE", "Windowed", 0), 1);
    }
}

}  // namespace
