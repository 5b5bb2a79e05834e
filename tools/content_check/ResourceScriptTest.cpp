// The bundled resource script: every resource quoted, every file present,
// group 1 complete, sprites inside their textures, the names the game asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "ContentFiles.h"

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

struct Param {
    std::vector<Token> values;
};

struct Resource {
    std::string type, name;
    bool nameQuoted = false;
    std::map<std::string, Param> params;
    int Group() const {
        auto it = params.find("resgroup");
        return it == params.end() ? 0 : std::stoi(it->second.values.at(0).text);
    }
    std::string Value(const std::string& key) const {
        auto it = params.find(key);
        return it == params.end() || it->second.values.empty() ? "" : it->second.values[0].text;
    }
};

std::vector<Token> Tokenize(const std::string& s) {
    std::vector<Token> out;
    size_t p = 0;
    while (p < s.size()) {
        char c = s[p];
        if (std::isspace((unsigned char)c)) { ++p; continue; }
        if (c == ';') {
            while (p < s.size() && s[p] != '\n') ++p;
            continue;
        }
        if (c == '"') {
            size_t end = s.find('"', p + 1);
            out.push_back({s.substr(p + 1, end - p - 1), true});
            p = end + 1;
            continue;
        }
        if (c == '{' || c == '}' || c == '=' || c == ',' || c == ':') {
            out.push_back({std::string(1, c), false});
            ++p;
            continue;
        }
        size_t start = p;
        while (p < s.size() && !std::isspace((unsigned char)s[p]) && std::string("{}=,:;\"").find(s[p]) == std::string::npos) ++p;
        out.push_back({s.substr(start, p - start), false});
    }
    return out;
}

// Blocks of the form: Type "name" { key = value , value ... }
bool ParseScript(const std::string& text, std::vector<Resource>& out) {
    std::vector<Token> t = Tokenize(text);
    size_t i = 0;
    while (i < t.size()) {
        if (i + 2 >= t.size()) return false;
        Resource r;
        r.type = t[i].text;
        r.name = t[i + 1].text;
        r.nameQuoted = t[i + 1].quoted;
        i += 2;
        if (t[i].text != "{") return false;
        ++i;
        while (i < t.size() && t[i].text != "}") {
            std::string key = t[i++].text;
            Param param;
            while (i + 1 < t.size() && (t[i].text == "=" || t[i].text == ",") && !t[i].quoted) {
                param.values.push_back(t[i + 1]);
                i += 2;
            }
            if (param.values.empty()) return false;
            r.params[key] = param;
        }
        if (i >= t.size()) return false;
        ++i;
        out.push_back(r);
    }
    return true;
}

std::string Slashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class ResourceScript : public ::testing::Test {
protected:
    void SetUp() override {
        std::string text;
        ASSERT_TRUE(contenttest::ReadAll("data/Resource/main.res", text));
        ASSERT_TRUE(ParseScript(text, resources));
        ASSERT_FALSE(resources.empty());
    }
    const Resource* Find(const std::string& type, const std::string& name) const {
        for (const Resource& r : resources)
            if (r.type == type && r.name == name) return &r;
        return nullptr;
    }
    std::vector<Resource> resources;
};

TEST_F(ResourceScript, NamesFilesAndColoursAreQuotedAndFilesExist) {
    for (const Resource& r : resources) {
        SCOPED_TRACE(r.type + " " + r.name);
        EXPECT_TRUE(r.nameQuoted);
        EXPECT_TRUE(r.type != "Sound" && r.type != "Music" && r.type != "Stream" && r.type != "Target")
            << "sound and render targets are not resources of this game";
        EXPECT_EQ(Find(r.type, r.name), &r) << "declared twice";
        for (const char* key : {"filename", "texture", "sprite", "color"}) {
            auto it = r.params.find(key);
            if (it == r.params.end()) continue;
            EXPECT_TRUE(it->second.values[0].quoted) << key;
        }
        std::string file = r.Value("filename");
        if (!file.empty()) {
            std::string bytes;
            EXPECT_TRUE(contenttest::ReadAll(Slashes(file), bytes)) << file;
        }
    }
}

TEST_F(ResourceScript, StartupGroupHoldsCursorAndCaptionFontsAndNothingMissing) {
    const Resource* cursor = Find("Sprite", "Cursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->Group(), 1);
    // The button captions' font, and its lower-set twin for list rows.
    const std::pair<const char*, const char*> fonts[] = {{"Main", "data/Font/main.fnt"},
                                                         {"Main1", "data/Font/list.fnt"}};
    for (const auto& font : fonts) {
        const Resource* f = Find("Font", font.first);
        ASSERT_NE(f, nullptr) << font.first;
        EXPECT_EQ(f->Group(), 1);
        EXPECT_EQ(Slashes(f->Value("filename")), font.second);
    }
    // Everything of group 1 must load: a sprite's texture must be declared in
    // group 1 too (otherwise it is loaded into another group), and exist.
    for (const Resource& r : resources) {
        if (r.Group() != 1 || r.type != "Sprite") continue;
        const Resource* tex = Find("Texture", r.Value("texture"));
        ASSERT_NE(tex, nullptr) << r.name;
        EXPECT_EQ(tex->Group(), 1) << r.name;
    }
}

TEST_F(ResourceScript, SpritesLieInsideTheirTextures) {
    for (const Resource& r : resources) {
        if (r.type != "Sprite") continue;
        SCOPED_TRACE(r.name);
        const Resource* tex = Find("Texture", r.Value("texture"));
        ASSERT_NE(tex, nullptr);
        int w = 0, h = 0;
        ASSERT_TRUE(contenttest::DecodePng(Slashes(tex->Value("filename")), w, h));
        const std::vector<Token>& rect = r.params.at("rect").values;
        ASSERT_EQ(rect.size(), 4u);
        float x = std::stof(rect[0].text), y = std::stof(rect[1].text);
        float rw = std::stof(rect[2].text), rh = std::stof(rect[3].text);
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
        EXPECT_GT(rw, 0);
        EXPECT_GT(rh, 0);
        EXPECT_LE(x + rw, w);
        EXPECT_LE(y + rh, h);
    }
}

TEST_F(ResourceScript, GameNamesAreDeclared) {
    for (const char* sprite : {"Cursor", "SmallStarParticle", "FourAngleStarParticle", "CigarAppearingParticle",
                               "ObjectMissParticle", "ObjectPickParticle", "SolveLaterObjectParticle",
                               "SmokeParticle", "BBuble", "CustomLogo", "PellicoLogo", "OrvelLogo", "DRLogo",
                               "LoadBackground", "Window04", "ButtonUp", "ButtonOver", "ButtonDown"})
        EXPECT_NE(Find("Sprite", sprite), nullptr) << sprite;
    for (const char* texture : {"ButtonYes", "TutorialArrow", "MagnifyingGlassMask"})
        EXPECT_NE(Find("Texture", texture), nullptr) << texture;
    for (const Resource& r : resources) {
        if (r.type != "Particle") continue;
        EXPECT_NE(Find("Sprite", r.Value("sprite")), nullptr) << r.name;
    }
}

}  // namespace
