#include <gtest/gtest.h>

#include "FileText.h"
#include "support/TempDir.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "platform/FileSystem.h"

using Element = XMLDocument::XMLElement;

namespace {

RefPtr<Element> Root(const std::string& text, const std::string& file) {
    WriteWholeFile(file, text);
    XMLDocument doc("any");
    EXPECT_TRUE(doc.Load(file)) << doc.GetLastError();
    return doc.GetRoot();
}

}  // namespace

// Empty elements close themselves, children stand on their own indented
// lines, text stays on its tag's line, typed attributes take the system's text
// forms, and markup in values and text is escaped.
TEST(XmlWriter, IndentsTypesAndEscapes) {
    XMLDocument users("Users");
    EXPECT_EQ(users.ToText(), "<Users/>");
    EXPECT_EQ(XMLDocument::ElementText(*users.GetRoot(), "    "), "    <Users/>");

    XMLDocument tree("root");
    tree.GetRoot()->CreateChild("a");
    tree.GetRoot()->CreateChild("b");
    EXPECT_EQ(tree.ToText(), "<root>\n    <a/>\n    <b/>\n</root>");
    RefPtr<Element> deep = tree.GetRoot()->GetChildren()[0]->CreateChild("c");
    deep->AddAttribute("n", 3);
    EXPECT_EQ(tree.ToText(), "<root>\n    <a>\n        <c n=\"3\"/>\n    </a>\n    <b/>\n</root>");

    XMLDocument player("Player");
    RefPtr<Element> name = player.GetRoot()->CreateChild("Name");
    name->AddAttribute("slot", 2);
    name->SetValue("Holmes");
    EXPECT_EQ(player.ToText(), "<Player>\n    <Name slot=\"2\">Holmes</Name>\n</Player>");
    // Text and children: children follow the text, the closing tag starts a line.
    player.GetRoot()->SetValue("t");
    EXPECT_EQ(player.ToText(), "<Player>t    <Name slot=\"2\">Holmes</Name>\n</Player>");

    XMLDocument typed("e");
    RefPtr<Element> e = typed.GetRoot();
    e->AddAttribute("b1", true);
    e->AddAttribute("b0", false);
    e->AddAttribute("i", -300);
    e->AddAttribute("u", 4294967295u);
    e->AddAttribute("f", 0.5f);
    e->AddAttribute("g", 1234567.0f);
    e->AddAttribute("c", "chars");
    e->AddAttribute("s", std::string("text"));
    EXPECT_EQ(typed.ToText(),
              "<e b1=\"1\" b0=\"0\" i=\"-300\" u=\"4294967295\" f=\"0.5\" g=\"1.23457e+06\" c=\"chars\" s=\"text\"/>");

    XMLDocument escaped("u");
    escaped.GetRoot()->AddAttribute("name", "Tom & \"Jerry\" <it's>");
    escaped.GetRoot()->CreateChild("t")->SetValue("a<b & c>d 'q' \"w\"");
    EXPECT_EQ(escaped.ToText(),
              "<u name=\"Tom &amp; &quot;Jerry&quot; &lt;it&apos;s&gt;\">\n"
              "    <t>a&lt;b &amp; c&gt;d &apos;q&apos; &quot;w&quot;</t>\n</u>");
}

TEST(XmlFiles, SavedBytesAreExactAndRoundTripWithEscapesAndDuplicates) {
    TempDir dir;
    XMLDocument doc("root");
    doc.GetRoot()->CreateChild("a");
    doc.GetRoot()->CreateChild("b")->AddAttribute("x", 1);
    const std::string file = dir / "out.xml";
    ASSERT_TRUE(doc.Save(file));
    const std::string bytes = ReadWholeFile(file);
    EXPECT_EQ(bytes, "<root>\n    <a/>\n    <b x=\"1\"/>\n</root>");
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    // Escaped text round-trips, and a second save gives the same bytes.
    const std::string nasty = "Tom & \"Jerry\" <it's> &amp;";
    XMLDocument users("users");
    RefPtr<Element> user = users.GetRoot()->CreateChild("user");
    user->AddAttribute("name", nasty);
    user->SetValue(nasty);
    const std::string usersFile = dir / "users.xml";
    ASSERT_TRUE(users.Save(usersFile));
    XMLDocument usersBack = XMLDocument::FromFile(usersFile);
    ASSERT_TRUE(usersBack.IsLoaded()) << usersBack.GetLastError();
    RefPtr<Element> u = usersBack.GetRoot()->FindChild("user");
    ASSERT_TRUE(u);
    EXPECT_EQ(u->GetStringAttribute("name"), nasty);
    EXPECT_EQ(u->GetValue(), nasty);
    ASSERT_TRUE(usersBack.Save(usersFile + "2"));
    EXPECT_EQ(ReadWholeFile(usersFile + "2"), ReadWholeFile(usersFile));

    // Duplicate attributes are kept; the first one wins for the readers.
    XMLDocument dup("e");
    dup.GetRoot()->AddAttribute("k", 1);
    dup.GetRoot()->AddAttribute("k", 2);
    EXPECT_EQ(dup.ToText(), "<e k=\"1\" k=\"2\"/>");
    const std::string dupFile = dir / "dup.xml";
    ASSERT_TRUE(dup.Save(dupFile));
    XMLDocument dupBack("x");
    ASSERT_TRUE(dupBack.Load(dupFile)) << dupBack.GetLastError();
    ASSERT_EQ(dupBack.GetRoot()->GetAttributes().size(), 2u);
    EXPECT_EQ(dupBack.GetRoot()->GetIntAttribute("k"), 1);
    EXPECT_EQ(dupBack.GetRoot()->GetAttributes()[1]->GetValue(), "2");
    ASSERT_TRUE(dupBack.Save(dupFile));
    EXPECT_EQ(ReadWholeFile(dupFile), "<e k=\"1\" k=\"2\"/>");
}

TEST(XmlFiles, DuplicateAttributesInHandWrittenFiles) {
    TempDir dir;
    RefPtr<Element> root = Root(
        "<!-- <x a='1' a='2'> -->\n<list>\n  <item a = '1>' b=\"x\" a=\"2\"\ta='3'/>\n"
        "  <item _drovalin_dup0=\"real\" a=\"4\"></item>\n</list>",
        dir / "hand.xml");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->GetChildren().size(), 2u);
    const auto& attrs = root->GetChildren()[0]->GetAttributes();
    ASSERT_EQ(attrs.size(), 4u);
    EXPECT_EQ(attrs[0]->ToString(), "a=\"1&gt;\"");
    EXPECT_EQ(attrs[1]->ToString(), "b=\"x\"");
    EXPECT_EQ(attrs[2]->ToString(), "a=\"2\"");
    EXPECT_EQ(attrs[3]->ToString(), "a=\"3\"");
    EXPECT_EQ(root->GetChildren()[0]->GetStringAttribute("a"), "1>");
    // A name that looks like the internal placeholder stays what it is.
    EXPECT_EQ(root->GetChildren()[1]->GetStringAttribute("_drovalin_dup0"), "real");
}

TEST(XmlFiles, LoadBuildsTheModel) {
    TempDir dir;
    RefPtr<Element> root = Root(
        "<?xml version=\"1.0\"?>\r\n<!-- comment -->\r\n<Scene name=\"Hall\" w=\"1024\">lead<Obj id=\"1\"/>tail"
        "<Obj id=\"2\">\r\n  inner\r\n</Obj><!-- x --></Scene>\r\n",
        dir / "scene.xml");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetName(), "Scene");
    EXPECT_EQ(root->GetValue(), "lead");  // text after a child is lost
    ASSERT_EQ(root->GetAttributes().size(), 2u);
    EXPECT_EQ(root->GetAttributes()[0]->ToString(), "name=\"Hall\"");
    ASSERT_EQ(root->GetChildren().size(), 2u);
    EXPECT_EQ(root->GetChildren()[1]->GetIntAttribute("id"), 2);
    EXPECT_EQ(root->GetChildren()[1]->GetValue().find('\r'), std::string::npos);
    EXPECT_NE(root->GetChildren()[1]->GetValue().find("inner"), std::string::npos);
    EXPECT_EQ(root->GetChildren()[0]->GetValue(), "");
}

TEST(XmlFiles, FailedLoadsKeepTheRoot) {
    TempDir dir;
    XMLDocument doc("keep");
    EXPECT_FALSE(doc.Load(dir / "missing.xml"));
    EXPECT_FALSE(doc.GetLastError().empty());

    WriteWholeFile(dir / "comment.xml", "<?xml version=\"1.0\"?>\n<!-- only a comment -->\n");
    EXPECT_FALSE(doc.Load(dir / "comment.xml"));

    WriteWholeFile(dir / "broken.xml", "<a><b></a>");
    EXPECT_FALSE(doc.Load(dir / "broken.xml"));

    WriteWholeFile(dir / "empty.xml", "");
    EXPECT_FALSE(doc.Load(dir / "empty.xml"));

    EXPECT_EQ(doc.GetRoot()->GetName(), "keep");
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_FALSE(XMLDocument::FromFile(dir / "missing.xml").IsLoaded());
}

TEST(XmlFiles, DeepNestingIsRefusedNotACrash) {
    TempDir dir;
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    WriteWholeFile(dir / "deep.xml", deep);
    XMLDocument doc("keep");
    EXPECT_FALSE(doc.Load(dir / "deep.xml"));
    EXPECT_EQ(doc.GetRoot()->GetName(), "keep");

    std::string fine;
    for (int i = 0; i < 200; ++i) fine += "<a><b/><c x='1'/>";
    for (int i = 0; i < 200; ++i) fine += "</a>";
    WriteWholeFile(dir / "fine.xml", fine);
    EXPECT_TRUE(doc.Load(dir / "fine.xml")) << doc.GetLastError();
}

TEST(XmlFiles, RelativePathsUseTheProgramFolderForSaveAndLoad) {
    const std::string folder = "xml_relative_test_" + std::to_string(::getpid());
    const std::string relative = folder + "\\sub\\doc.xml";
    XMLDocument doc("r");
    doc.GetRoot()->AddAttribute("v", 7);
    ASSERT_TRUE(doc.Save(relative));
    const std::string absolute = FileSystem::ProgramDir() + folder + "/sub/doc.xml";
    EXPECT_EQ(ReadWholeFile(absolute), "<r v=\"7\"/>");

    XMLDocument back("x");
    EXPECT_TRUE(back.Load(relative));
    EXPECT_EQ(back.GetRoot()->GetIntAttribute("v"), 7);
    XMLDocument viaSlash("x");
    EXPECT_TRUE(viaSlash.Load(folder + "/sub/doc.xml"));

    ::remove(absolute.c_str());
    ::rmdir((FileSystem::ProgramDir() + folder + "/sub").c_str());
    ::rmdir((FileSystem::ProgramDir() + folder).c_str());
}

TEST(XmlFiles, SaveCreatesFoldersAndReportsFailure) {
    TempDir dir;
    HtmlLog::Instance()->Open(dir / "Log.html");
    HtmlLog::Instance()->WriteHeader();

    XMLDocument doc("p");
    ASSERT_TRUE(doc.Save(dir / "data/Map/1.xml"));
    EXPECT_EQ(ReadWholeFile(dir / "data/Map/1.xml"), "<p/>");

    WriteWholeFile(dir / "plain", "a file, not a folder");
    EXPECT_FALSE(doc.Save(dir / "plain/sub/x.xml"));
    const std::string log = ReadWholeFile(dir / "Log.html");
    EXPECT_NE(log.find("Saving XML document to " + (dir / "data/Map/1.xml")), std::string::npos);
    EXPECT_NE(log.find("Error:</FONT>\n\t\t</STRONG></FONT>Cannot write XML document " + (dir / "plain/sub/x.xml")),
              std::string::npos);
    HtmlLog::Instance()->Open("");
}

TEST(XmlModel, TypedReadersNeverNeedTheAttribute) {
    Element e("e");
    e.AddAttribute("f", "45d");
    e.AddAttribute("c", "0xFF00FF00");
    e.AddAttribute("t", "true");
    e.AddAttribute("one", "1");
    e.AddAttribute("n", "-4");
    EXPECT_FLOAT_EQ(e.GetFloatAttribute("f"), 0.7853982f);
    EXPECT_EQ(e.GetUIntAttribute("c"), 0xFF00FF00u);
    EXPECT_EQ(e.GetValueAttribute("c"), 0u);
    EXPECT_TRUE(e.GetBoolAttribute("t"));
    EXPECT_TRUE(XmlAttr::GetBool(e, "one"));
    EXPECT_TRUE(XmlAttr::GetBool(e.GetAttribute("t")));
    EXPECT_EQ(XmlAttr::GetUInt(e, "c"), 0xFF00FF00u);
    EXPECT_EQ(e.GetIntAttribute("n"), -4);

    EXPECT_FALSE(e.HasAttribute("missing"));
    EXPECT_FALSE(e.GetAttribute("missing"));
    EXPECT_FALSE(e.HasAttribute("F"));  // names are case-sensitive
    EXPECT_EQ(e.GetFloatAttribute("missing"), 0.0f);
    EXPECT_EQ(e.GetIntAttribute("missing"), 0);
    EXPECT_EQ(e.GetIntAttribute("missing", 9), 9);
    EXPECT_EQ(e.GetValueAttribute("missing"), 0u);
    EXPECT_EQ(e.GetUIntAttribute("missing"), 0u);
    EXPECT_EQ(e.GetStringAttribute("missing"), "");
    EXPECT_FALSE(e.GetBoolAttribute("missing"));
    EXPECT_FALSE(XmlAttr::GetBool(e, "missing"));
    EXPECT_EQ(XmlAttr::GetUInt(e.GetAttribute("missing")), 0u);
    EXPECT_FALSE(e.FindChild("none"));
}

TEST(XmlModel, SubTreesOutliveTheirDocument) {
    RefPtr<Element> kept;
    {
        XMLDocument doc("root");
        kept = doc.GetRoot()->CreateChild("child");
        kept->CreateChild("grandchild");
    }
    EXPECT_EQ(kept->GetChildren().size(), 1u);
    EXPECT_EQ(kept->GetChildren()[0]->GetName(), "grandchild");

    // The last counted reference deletes the object, an earlier one does not.
    struct Probe : RefCounted {
        explicit Probe(bool& gone) : gone(gone) {}
        ~Probe() override { gone = true; }
        bool& gone;
    };
    bool gone = false;
    RefPtr<Probe> first(new Probe(gone));
    RefPtr<Probe> copy = first;
    copy = nullptr;
    EXPECT_FALSE(gone);
    first = nullptr;
    EXPECT_TRUE(gone);
}
