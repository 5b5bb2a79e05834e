// The software cursor: drawn from the resource manager's "Cursor" sprite only
// while the system cursor is hidden and a screen has switched it on.
#include <memory>
#include <gtest/gtest.h>

#include <string>

#include "runtime/CEngine.h"
#include "graphics/hgeResourceManager.h"
#include "platform/FrameDriver.h"
#include "platform/RenderStats.h"
#include "support/ScratchFolder.h"

using ZOLTFramework::CEngine;

namespace {

class CursorEngine : public CEngine {
public:
    explicit CursorEngine(const std::string& folder) { m_storageFolder = folder; }
    // The engine owns it from here and deletes it at shut-down.
    void UseResources(const std::string& script) { SetResourceManager(std::make_unique<hgeResourceManager>(script.c_str())); }
};

int QuadsOfOneFrame() {
    FrameDriver::RunFrames(1);
    return RenderStats::LastFrame().quads;
}

TEST(Cursor, DrawnOnlyWhenSwitchedOnWithTheSystemCursorHidden) {
    ScratchFolder folder;
    WriteWholeFile(folder.File("cursor.res"), "Sprite Cursor\n{\n rect=0,0,16,16\n hotspot=2,2\n}\n");
    WriteWholeFile(folder.File("app.ini"), "[SYSTEM]\nSysCursor=0\n");
    {
        CursorEngine engine(folder.Path());
        ASSERT_TRUE(engine.Init());
        EXPECT_EQ(QuadsOfOneFrame(), 0);  // no resource manager
        engine.SetDrawCursor(true);
        EXPECT_EQ(QuadsOfOneFrame(), 0);
        engine.UseResources(folder.File("cursor.res"));
        EXPECT_EQ(QuadsOfOneFrame(), 1);
        engine.SetDrawCursor(false);
        EXPECT_EQ(QuadsOfOneFrame(), 0);
    }
    WriteWholeFile(folder.File("app.ini"), "[SYSTEM]\nSysCursor=1\n");
    {
        CursorEngine engine(folder.Path());
        ASSERT_TRUE(engine.Init());
        engine.UseResources(folder.File("cursor.res"));
        engine.SetDrawCursor(true);
        EXPECT_EQ(QuadsOfOneFrame(), 0);  // the system cursor is shown instead
    }
}

}  // namespace
