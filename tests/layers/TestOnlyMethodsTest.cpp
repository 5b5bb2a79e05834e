// No product class keeps a method that only tests call. The framework's
// introspection and the named operations are allowed (test_only_allowed.txt,
// each with its reason); the methods still called only by tests are listed in
// test_only_baseline.txt, which may only shrink.
#include <gtest/gtest.h>

#include <filesystem>

#include "SourceTree.h"
#include "TestOnlyMethods.h"
#include "support/TempDir.h"

using layers::SourceRoot;
using layers::WriteFile;

TEST(TestOnlyMethods, NoNewMethodIsCalledOnlyByTestsAndTheBaselineOnlyShrinks) {
    ASSERT_TRUE(std::filesystem::is_directory(SourceRoot() + "/src"));
    const std::vector<std::string> found = layers::FindTestOnlyMethods(SourceRoot());

    const auto allowList = layers::ReadList(SourceRoot() + "/tests/layers/test_only_allowed.txt");
    for (const auto& [key, reason] : allowList) EXPECT_FALSE(reason.empty()) << key << ": give the reason it is allowed";
    const std::set<std::string> allowed = layers::AllowedKeys(allowList);
    std::set<std::string> baseline;
    for (const auto& [header, name] : layers::ReadList(SourceRoot() + "/tests/layers/test_only_baseline.txt"))
        baseline.insert(header + " " + name);
    ASSERT_FALSE(allowed.empty());
    for (const std::string& complaint : layers::CompareWithLists(found, allowed, baseline)) ADD_FAILURE() << complaint;
}

TEST(TestOnlyMethods, CheckerFindsAPlantedMethodOnlyTestsCallByItsClass) {
    TempDir dir;
    const std::filesystem::path root = dir.Path();
    WriteFile(root / "src/scene/Field.h",
              "#pragma once\n"
              "class Base {\n"
              "public:\n"
              "    void Reset();\n"
              "    void Tick();\n"
              "};\n"
              "class Field : public Base {\n"
              "public:\n"
              "    explicit Field(int size);\n"
              "    ~Field() override;\n"
              "    Field& operator=(const Field&) = delete;\n"
              "    void Click(int x, int y);\n"
              "    void Draw() const override;\n"
              "    int Score() const { return m_score; }  // only tests\n"
              "    int Size() const;                      // only tests, but a label's Size hides it from a bare-name scan\n"
              "    void Shake();                          // a fuzz entry's body calls it\n"
              "    void Tick();                           // an unreadable receiver calls some Tick: counted as used\n"
              "    Label* GetLabel() const;\n"
              "    template <class T> T* Find(const char* name) const;\n"
              "    static Field* Make();\n"
              "private:\n"
              "    void Flash();\n"
              "    struct Cell { bool Taken() const; };\n"
              "    int m_score = Count(\"x\");\n"
              "};\n"
              "class Label {\n"
              "public:\n"
              "    int Size() const;\n"
              "    void Tick();\n"
              "};\n"
              "int Count(const char* text);\n"
              "inline int Orphan() { return 0; }\n");
    WriteFile(root / "src/scene/Field.cpp",
              "#include \"scene/Field.h\"\n"
              "Field::Field(int size) : m_score(size) {}\n"
              "int Field::Score() const { return m_score; }\n"
              "bool Field::Cell::Taken() const { return false; }  // Score( in a comment\n"
              "int Count(const char* text) { return 1; }\n"
              "void Field::Click(int x, int y) {\n"
              "    auto s = \"Score\";\n"
              "    Find<int>(\"a\");\n"
              "    Flash();\n"
              "    GetLabel()->Size();\n"
              "}\n"
              "template <class T> void Poke(T& thing) { thing.Tick(); }\n");
    WriteFile(root / "bench/field.cpp",
              "int main() {\n"
              "    Field* field = Field::Make();\n"
              "    field->Click(1, 2);\n"
              "    field->Reset();\n"
              "}\n");
    WriteFile(root / "fuzz/field.cpp",
              "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {\n"
              "    auto* field = new Field(int(size));\n"
              "    field->Shake();\n"
              "    return 0;\n"
              "}\n");
    WriteFile(root / "tests/scene/FieldTest.cpp",
              "TEST(Field, Plays) {\n"
              "    Field f(3);\n"
              "    f.Click(1, 2);\n"
              "    f.Draw();\n"
              "    EXPECT_EQ(f.Score(), 0);\n"
              "    EXPECT_EQ(f.Size(), 3);\n"
              "    EXPECT_TRUE(Field::Cell().Taken());\n"
              "    f.Tick();\n"
              "    f.Shake();\n"
              "    f = f;\n"
              "}\n");

    const std::vector<std::string> found = layers::FindTestOnlyMethods(root.string());
    EXPECT_EQ(found, (std::vector<std::string>{"scene/Field.h Cell::Taken", "scene/Field.h Field::Score",
                                               "scene/Field.h Field::Size"}));
    // A new one fails the rule unless allowed or in the baseline; a stale
    // baseline or allow-list entry fails too, and so does one without its header.
    EXPECT_EQ(layers::CompareWithLists(found,
                                       layers::AllowedKeys({{"scene/Field.h:Field::Other,Cell::Taken,Field::Size", "why"},
                                                            {"Score", "why"}}),
                                       {"scene/Field.h Gone"}),
              (std::vector<std::string>{
                  "src/scene/Field.h Field::Score: only tests call it; test through the public operations instead",
                  "Score: name the header it is declared in (header:Name) in test_only_allowed.txt",
                  "scene/Field.h:Field::Other: no longer called only by tests; take it off test_only_allowed.txt",
                  "scene/Field.h Gone: no longer called only by tests; take it off test_only_baseline.txt"}));
}
