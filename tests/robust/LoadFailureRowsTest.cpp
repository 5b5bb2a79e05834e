// A texture, a font or a resource script that cannot be loaded is an Error row
// of "Log.html" once per name, however often it is asked for; "app.log" keeps a
// line for every attempt.
#include <gtest/gtest.h>

#include <string>

#include "engine/XMLDocument.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "runtime/CEngine.h"
#include "support/ScratchFolder.h"
#include "support/engine/HtmlLogCapture.h"

namespace {

class ScriptEngine : public ZOLTFramework::CEngine {
public:
    explicit ScriptEngine(const std::string& folder) {
        m_storageFolder = folder;
        m_resourceScript = folder + "main.res";
    }
};

}  // namespace

TEST(LoadFailureRows, EachMissingTextureFontAndScriptIsOneErrorRow) {
    HtmlLogCapture earlier;  // the engine opens its own log; this puts the earlier one back
    ScratchFolder folder;
    const std::string dir = folder.Path();
    WriteWholeFile(folder.File("bad.fnt"), "not a font");
    WriteWholeFile(folder.File("main.res"), "Include \"" + dir + "gone.res\"\n"
                                            "Texture \"Gone\" { filename = \"" + dir + "gone.png\" }\n"
                                            "Sprite \"Broken\" rect = 0,0,1,1\n");
    {
        ScriptEngine engine(dir);
        ASSERT_TRUE(engine.Init());
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_EQ(engine.GetResourceManager()->GetTexture("Gone"), 0u);
            EXPECT_EQ(engine.GetResourceManager()->GetTexture((dir + "undeclared.png").c_str()), 0u);
            FontRegistry::Instance().LoadFont("Gone", dir + "gone.fnt");
            FontRegistry::Instance().LoadFont("Bad", dir + "bad.fnt");
            engine.Frame();
        }
    }
    const std::string html = ReadWholeFile(folder.File("Log.html"));
    auto errors = [&](const std::string& text) {
        return CountOf(html, "Error:</FONT>\n\t\t</STRONG></FONT>" + XMLDocument::Escape(text));
    };
    EXPECT_EQ(errors(dir + "main.res, line 1: Script '" + dir + "gone.res' not found."), 1u) << html;
    EXPECT_EQ(errors(dir + "main.res, line 3: Illegal resource syntax, 'rect' found; '{' expected."), 1u);
    EXPECT_EQ(errors("Can't load texture: " + dir + "gone.png (file not found)"), 1u);
    EXPECT_EQ(errors("Can't load texture: " + dir + "undeclared.png (file not found)"), 1u);
    EXPECT_EQ(errors("Font " + dir + "gone.fnt not found."), 1u);
    EXPECT_EQ(errors("Font " + dir + "bad.fnt has incorrect format."), 1u);
    EXPECT_EQ(errors(""), 6u);
    EXPECT_EQ(CountOf(ReadWholeFile(folder.File("app.log")), "Can't load texture: " + dir + "gone.png"), 3u);
}
