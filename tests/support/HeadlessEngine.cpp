#include "support/HeadlessEngine.h"

void HeadlessEngineTest::SetUp() {
    m_headlessEnv = std::make_unique<ScopedEnv>("DROVALIN_HEADLESS", "1");
    hge = hgeCreate(HGE_VERSION);
    hge->System_SetState(HGE_INIFILE, (m_dir / "app.ini").c_str());
    hge->System_SetState(HGE_LOGFILE, (m_dir / "app.log").c_str());
    ASSERT_TRUE(hge->System_Initiate());
}

void HeadlessEngineTest::TearDown() {
    if (hge) {
        hge->System_Shutdown();
        hge->Release();
        hge = nullptr;
    }
    m_headlessEnv.reset();
}
