#include <gtest/gtest.h>

#include <string>

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "entities/core/CEntity.h"
#include "support/ScratchFolder.h"

using ZOLTFramework::CEngine;
using ZOLTFramework::CEntity;
using ZOLTFramework::g_bConfirmExit;
using ZOLTFramework::g_pEngine;

namespace {

class TestEngine : public CEngine {
public:
    explicit TestEngine(const std::string& folder) { m_storageFolder = folder; }
    void SetPack(const std::string& pack) { m_resourcePack = pack; }
    bool OnFrame(float dt) override {
        ++frames;
        lastDt = dt;
        return true;  // not used by the engine
    }
    bool OnExit() override {
        ++exitRequests;
        return false;
    }
    int frames = 0;
    float lastDt = -1.0f;
    int exitRequests = 0;
};

class Counter : public CEntity {
public:
    explicit Counter(int* updates) : m_updates(updates) {}
    void Update(float) override { ++*m_updates; }

private:
    int* m_updates;
};

TEST(EngineLifecycle, StartsRunsFramesAndShutsDownWithBothLogs) {
    ScratchFolder folder;
    int updates = 0;
    {
        TestEngine engine(folder.Path());
        EXPECT_EQ(g_pEngine, &engine);
        ASSERT_TRUE(engine.Init());
        ASSERT_NE(engine.GetHGE(), nullptr);
        ASSERT_NE(engine.GetEntityManager(), nullptr);
        EXPECT_FALSE(engine.GetDrawCursor());

        engine.GetEntityManager()->Add(new Counter(&updates));
        EXPECT_FALSE(engine.Frame());
        EXPECT_FALSE(engine.Render());
        EXPECT_FALSE(engine.Frame());
        EXPECT_EQ(updates, 1);  // joined at the end of the first frame
        EXPECT_EQ(engine.frames, 2);
        EXPECT_GE(engine.lastDt, 0.0f);

        engine.SetQuit(true);
        EXPECT_TRUE(engine.Frame());
    }
    EXPECT_EQ(g_pEngine, nullptr);

    // The shipped settings were copied into the storage folder.
    EXPECT_EQ(ReadWholeFile(folder.File("app.ini")), ReadWholeFile("app.ini"));
    const std::string textLog = ReadWholeFile(folder.File("app.log"));
    EXPECT_NE(textLog.find("----HINT: HGE is created."), std::string::npos) << textLog;
    EXPECT_NE(textLog.find("----HINT: EntityManager is created."), std::string::npos);
    EXPECT_NE(textLog.find("----HINT: EntityManager is destroyed (0)."), std::string::npos);
    EXPECT_NE(textLog.find("----HINT: HGE is destroyed."), std::string::npos);
    const std::string html = ReadWholeFile(folder.File("Log.html"));
    EXPECT_NE(html.find("HGE is created."), std::string::npos);
    EXPECT_NE(html.find("EntityManager is destroyed: 0"), std::string::npos);
}

TEST(EngineLifecycle, LeakedEntityShowsInTheShutDownCount) {
    ScratchFolder folder;
    auto* leaked = new CEntity;  // never handed to the manager
    {
        TestEngine engine(folder.Path());
        ASSERT_TRUE(engine.Init());
    }
    const std::string textLog = ReadWholeFile(folder.File("app.log"));
    EXPECT_NE(textLog.find("----HINT: EntityManager is destroyed (1)."), std::string::npos) << textLog;
    delete leaked;
}

TEST(EngineLifecycle, FailedStartUpShutsDownWithoutACrash) {
    ScratchFolder folder;
    {
        TestEngine engine(folder.Path());
        engine.SetPack("no-such-pack.zip");
        EXPECT_FALSE(engine.Init());
        EXPECT_EQ(engine.GetEntityManager(), nullptr);
        // Nothing of the main loop runs; the frame and render calls stay harmless.
        EXPECT_FALSE(engine.Frame());
    }
    const std::string textLog = ReadWholeFile(folder.File("app.log"));
    EXPECT_NE(textLog.find("ERORR: Error ResPack attaching."), std::string::npos) << textLog;
    EXPECT_NE(textLog.find("----HINT: EntityManager is destroyed (0)."), std::string::npos);
    EXPECT_NE(textLog.find("----HINT: HGE is destroyed."), std::string::npos);
    const std::string html = ReadWholeFile(folder.File("Log.html"));
    EXPECT_NE(html.find("Error ResPack attaching."), std::string::npos);
}

TEST(EngineLifecycle, KeepsThePlayersSettingsOnLaterRuns) {
    ScratchFolder folder;
    WriteWholeFile(folder.File("app.ini"), "[SYSTEM]\nWindowed=1\nSysCursor=1\n");
    {
        TestEngine engine(folder.Path());
        ASSERT_TRUE(engine.Init());
        EXPECT_TRUE(engine.GetHGE()->System_GetState(HGE_WINDOWED));
        EXPECT_FALSE(engine.GetHGE()->System_GetState(HGE_HIDEMOUSE));
    }
    EXPECT_EQ(ReadWholeFile(folder.File("app.ini")), "[SYSTEM]\nWindowed=1\nSysCursor=1\n");
}

TEST(EngineLifecycle, CloseRequestGoesToOnExitOnlyWhileConfirming) {
    ScratchFolder folder;
    TestEngine engine(folder.Path());
    ASSERT_TRUE(engine.Init());
    ASSERT_FALSE(g_bConfirmExit);
    EXPECT_TRUE(ZOLTFramework::EngineExitFunc());
    EXPECT_EQ(engine.exitRequests, 0);
    g_bConfirmExit = true;
    EXPECT_FALSE(ZOLTFramework::EngineExitFunc());
    EXPECT_EQ(engine.exitRequests, 1);
    g_bConfirmExit = false;
}

}  // namespace
