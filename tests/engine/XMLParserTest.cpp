#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/XMLParser.h"
#include "platform/FileSystem.h"
#include "support/HeadlessEngine.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/TempDir.h"

using ZOLTFramework::XMLParser;

namespace {

// Writes a file into the folder and returns its full name.
inline std::string Put(const TempDir& dir, const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    return dir / name;
}

// Reads path files: the settings of "PathMove" and one point per "Point" (its
// first two attribute values, whatever their names).
class PathFileReader : public XMLParser {
public:
    struct Point {
        float x, y;
    };
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<Point> points;
    std::vector<std::string> ended;

    void startElement(const XML_Char* name, const XML_Char** atts) override {
        XMLParser::startElement(name, atts);
        const std::string element = name;
        if (element == "PathMove") {
            for (int i = 0; atts[i] && atts[i + 1]; i += 2) settings.emplace_back(atts[i], atts[i + 1]);
        } else if (element == "Point" && atts[0] && atts[1] && atts[2] && atts[3]) {
            points.push_back({std::strtof(atts[1], nullptr), std::strtof(atts[3], nullptr)});
        }
    }
    void endElement(const XML_Char* name) override {
        ended.push_back(name);
        XMLParser::endElement(name);
    }
};

// Throws at the element named "Boom"; counts the events that arrive.
class ThrowingReader : public XMLParser {
public:
    int starts = 0;
    int ends = 0;
    void startElement(const XML_Char* name, const XML_Char** atts) override {
        ++starts;
        if (std::string(name) == "Boom") throw std::runtime_error("boom");
    }
    void endElement(const XML_Char*) override { ++ends; }
    void charData(const XML_Char*, int) override {}
};

// A sub-parser that takes over an "Items" subtree and collects its item names.
int g_liveSubParsers = 0;

class ItemsReader : public XMLParser {
public:
    ItemsReader(expatppNesting* outer, std::vector<std::string>* items) : XMLParser(outer), m_items(items) {
        ++g_liveSubParsers;
    }
    ~ItemsReader() override { --g_liveSubParsers; }
    void startElement(const XML_Char* name, const XML_Char** atts) override {
        if (std::string(name) == "Item" && atts[0] && atts[1]) m_items->push_back(atts[1]);
        if (std::string(name) == "Bad") throw std::logic_error("bad item");
    }

private:
    std::vector<std::string>* m_items;
};

class SceneReader : public XMLParser {
public:
    std::vector<std::string> items;
    std::vector<std::string> topEvents;
    void startElement(const XML_Char* name, const XML_Char** atts) override {
        topEvents.push_back(std::string("+") + name);
        if (std::string(name) == "Items") new ItemsReader(this, &items);
    }
    void endElement(const XML_Char* name) override { topEvents.push_back(std::string("-") + name); }
};

// A document of exactly `size` bytes (padded inside a comment).
std::string DocumentOfSize(size_t size, bool closed) {
    const std::string head = "<PathMove Velocity=\"5\">\n<Point x=\"1\" y=\"2\"/>\n<!--";
    const std::string tail = closed ? "-->\n</PathMove>\n" : "-->\n";
    std::string doc = head + std::string(size - head.size() - tail.size(), 'x') + tail;
    return doc;
}

}  // namespace

TEST(XMLParserText, KeepsWordsAndDropsBlankChunks) {
    PathFileReader r;
    auto feed = [&r](const std::string& s) { r.charData(s.data(), static_cast<int>(s.size())); };
    feed("  \n  ");
    feed("\n");
    feed("\r\n");
    feed("   ");
    feed("");
    EXPECT_EQ(r.GetText(), "");
    feed("word");
    EXPECT_EQ(r.GetText(), "word");
    feed("\tword");
    EXPECT_EQ(r.GetText(), "word") << "a chunk that begins with a tab is dropped";
    feed(" word ");
    EXPECT_EQ(r.GetText(), "word word ");

    // No fixed buffer: long text is kept whole.
    const std::string longText(5000, 'a');
    feed(longText);
    EXPECT_EQ(r.GetText().size(), 5000u + 10u);
    r.startElement("Any", nullptr);
    EXPECT_EQ(r.GetText(), "");
}

TEST(XMLParserFile, ReadsAPathFile) {
    TempDir folder;
    const std::string path = Put(folder, "Path.xml",
        "<?xml version=\"1.0\"?>\r\n"
        "<Root>\r\n"
        "  <PathMove PathSmoothType=\"1\" IsCyclic=\"false\" Velocity=\"120.5\" Unknown=\"x\"/>\r\n"
        "  <Points>\r\n"
        "    <Point x=\"10\" y=\"20\"/>\r\n"
        "    <Point b=\"30.5\" a=\"-4\">text &amp; more</Point>\r\n"
        "  </Points>\r\n"
        "</Root>\r\n");
    PathFileReader r;
    HtmlLogCapture log;
    EXPECT_TRUE(XMLParser::ParseFile(path, &r));
    ASSERT_EQ(r.settings.size(), 4u);
    EXPECT_EQ(r.settings[0].first, "PathSmoothType");
    EXPECT_EQ(r.settings[2].second, "120.5");
    ASSERT_EQ(r.points.size(), 2u);
    EXPECT_FLOAT_EQ(r.points[0].x, 10.0f);
    EXPECT_FLOAT_EQ(r.points[0].y, 20.0f);
    EXPECT_FLOAT_EQ(r.points[1].x, 30.5f) << "by position, not by name";
    EXPECT_FLOAT_EQ(r.points[1].y, -4.0f);
    ASSERT_FALSE(r.ended.empty());
    EXPECT_EQ(r.ended.back(), "Root");
    EXPECT_EQ(log.Count("XML Error"), 0);
}

TEST(XMLParserFile, WholeBlocksStillGetTheirFinalCall) {
    TempDir folder;
    HtmlLogCapture log;
    for (size_t size : {size_t(1023), size_t(1024), size_t(2048)}) {
        PathFileReader good;
        const std::string goodPath = Put(folder, "good.xml", DocumentOfSize(size, true));
        EXPECT_TRUE(XMLParser::ParseFile(goodPath, &good)) << size;
        EXPECT_EQ(good.points.size(), 1u);

        // An unclosed document is caught only by the final call.
        PathFileReader bad;
        const std::string badPath = Put(folder, "bad.xml", DocumentOfSize(size, false));
        EXPECT_FALSE(XMLParser::ParseFile(badPath, &bad)) << size;
        EXPECT_EQ(bad.points.size(), 1u) << "what was read stays";
    }
    EXPECT_EQ(log.CountRows("Error", "XML Error (" + (folder / "bad.xml") + "): no element found at line 4"), 3);
}

TEST(XMLParserNesting, SubParsersTakeASubtreeHandItBackAndAreFreedOnFailure) {
    TempDir folder;
    const std::string path = Put(folder, "scene.xml",
        "<Scene><Items><Item name=\"vase\"/><Group><Item name=\"key\"/></Group></Items><Tail/></Scene>");
    SceneReader r;
    EXPECT_TRUE(XMLParser::ParseFile(path, &r));
    EXPECT_EQ(r.items, (std::vector<std::string>{"vase", "key"}));
    EXPECT_EQ(r.topEvents, (std::vector<std::string>{"+Scene", "+Items", "-Items", "+Tail", "-Tail", "-Scene"}));
    EXPECT_EQ(g_liveSubParsers, 0) << "deleted at the end tag of its subtree";
    EXPECT_EQ(r.GetDepth(), 0);

    // The top object never hands itself away.
    EXPECT_EQ(r.returnToParent(), &r);

    // A failure inside a subtree frees the sub-parser.
    HtmlLogCapture log;
    const std::string thrown = Put(folder, "thrown.xml", "<Scene><Items><Item name=\"a\"/><Bad/></Items></Scene>");
    {
        SceneReader r;
        EXPECT_FALSE(XMLParser::ParseFile(thrown, &r));
        EXPECT_EQ(g_liveSubParsers, 0);
        EXPECT_EQ(r.items, std::vector<std::string>{"a"});
    }
    const std::string broken = Put(folder, "broken.xml", "<Scene><Items><Item name=\"a\"></Items></Scene>");
    {
        SceneReader r;
        EXPECT_FALSE(XMLParser::ParseFile(broken, &r));
        EXPECT_EQ(g_liveSubParsers, 0);
    }
    {
        // A reader dropped with a sub-parser still in charge frees it too.
        SceneReader r;
        new ItemsReader(&r, &r.items);
        EXPECT_EQ(g_liveSubParsers, 1);
    }
    EXPECT_EQ(g_liveSubParsers, 0);
    EXPECT_EQ(log.CountRows("Error", "ERROR: Unknown XML error (" + thrown + ")"), 1);
}

namespace {

class XMLParserEngineLog : public HeadlessEngineTest {
protected:
    std::string EngineLogText() { return audio_test_read(m_dir / "app.log"); }
    static std::string audio_test_read(const std::string& path) {
        std::string text;
        FileSystem::ReadFile(path, text);
        return text;
    }
};

}  // namespace

// Failures are reported with the path, the parser's text and the line, to the
// game log and the engine log; a missing file to the engine log only; and no
// exception crosses the parser.
TEST_F(XMLParserEngineLog, FailuresAreReportedAndNoExceptionCrossesTheParser) {
    HtmlLogCapture log;
    TempDir folder;
    const std::string broken = Put(folder, "broken.xml", "<PathMove>\n<Point x=\"1\" y=\"2\">\n</PathMove>\n");
    PathFileReader r;
    EXPECT_FALSE(XMLParser::ParseFile(broken, &r));
    EXPECT_EQ(log.CountRows("Error", "XML Error (" + broken + "): mismatched tag at line 3"), 1);
    EXPECT_NE(r.GetErrorCode(), 0);
    EXPECT_EQ(r.GetCurrentLineNumber(), 3);
    EXPECT_FALSE(XMLParser::ParseFile(Put(folder, "empty.xml", ""), &r));
    EXPECT_FALSE(XMLParser::ParseFile(broken, nullptr));

    PathFileReader missing;
    EXPECT_FALSE(XMLParser::ParseFile(folder / "absent.xml", &missing));
    EXPECT_EQ(log.Count("absent.xml"), 0) << "a missing file goes to the engine log only";

    // A throw in a handler ends the parse: no event after it, later blocks unread.
    const int xmlErrors = log.Count("XML Error (");
    std::string doc = "<Root>\n<A/>\n<Boom/>\n<B/>\n<C/>\n";
    doc += std::string(3000, ' ');
    doc += "</Root>\n";
    const std::string boom = Put(folder, "boom.xml", doc);
    ThrowingReader t;
    EXPECT_FALSE(XMLParser::ParseFile(boom, &t));
    EXPECT_EQ(t.starts, 3) << "no event after the throw";
    EXPECT_EQ(t.ends, 1);
    EXPECT_EQ(log.CountRows("Error", "ERROR: Unknown XML error (" + boom + ")"), 1);
    EXPECT_EQ(log.Count("XML Error ("), xmlErrors);

    const std::string text = EngineLogText();
    EXPECT_NE(text.find("ERROR: Can't open XML file (" + (folder / "absent.xml") + ")"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR: XML Error (" + broken + "): mismatched tag at line 3"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR: Unknown XML error (" + boom + ")"), std::string::npos) << text;
}
