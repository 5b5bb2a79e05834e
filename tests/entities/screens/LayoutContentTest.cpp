// The dialog layouts of the content pack: every sprite they name is declared
// in main.res, every caption key is in both text tables, and so are the texts
// the dialogs and the pause screen show.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "engine/XMLDocument.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeStringTable.h"

namespace {

const char* const kLayouts[] = {"data/Screens/DialogYesNo.xml", "data/Screens/DialogOk.xml"};
const char* const kTables[] = {"data\\Text\\English.txt", "data\\Text\\Czech.txt"};

TEST(LayoutContentTest, SpritesAndCaptionsOfTheDialogLayoutsExist) {
    GuiTestEngine engine(DialogOptions());
    hgeResourceManager* resources = engine.GetResourceManager();
    ASSERT_NE(resources, nullptr);
    for (const char* table : kTables) {
        hgeStringTable texts(table);
        for (const char* key : {"Q_QUIT", "PAUSE", "TIME_OUT", "YES", "NO", "OK"})
            EXPECT_NE(texts.GetString(key), nullptr) << key << " in " << table;
    }
    for (const char* layout : kLayouts) {
        XMLDocument doc("dialog");
        ASSERT_TRUE(doc.Load(layout)) << doc.GetLastError();
        const auto& root = *doc.GetRoot();
        EXPECT_GT(root.GetFloatAttribute("text_width"), 0.0f) << layout;
        ASSERT_FALSE(root.GetChildren().empty());
        EXPECT_EQ(root.GetChildren().front()->GetName(), "window") << "the window comes first in " << layout;
        int buttons = 0;
        for (const auto& child : root.GetChildren()) {
            if (child->GetName() == "window") {
                EXPECT_NE(resources->GetSprite(child->GetStringAttribute("texture").c_str()), nullptr) << layout;
                continue;
            }
            ++buttons;
            EXPECT_EQ(child->GetStringAttribute("message"), child->GetName() == "button_ok" ? "YES" : "NO");
            for (const char* look : {"sprite_up", "sprite_over", "sprite_down"}) {
                const std::string sprite = child->GetStringAttribute(look);
                EXPECT_NE(resources->GetSprite(sprite.c_str()), nullptr) << look << " " << sprite << " in " << layout;
            }
            EXPECT_TRUE(child->FindChild("rect")) << "a clickable button in " << layout;
            if (auto caption = child->FindChild("caption")) {
                for (const char* table : kTables) {
                    hgeStringTable texts(table);
                    EXPECT_NE(texts.GetString(caption->GetStringAttribute("text_alias").c_str()), nullptr) << table;
                }
            }
        }
        EXPECT_GE(buttons, 1) << layout;
    }
}

}  // namespace
