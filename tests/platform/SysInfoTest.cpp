#include <gtest/gtest.h>

#include "platform/SysInfo.h"
#include "support/TempDir.h"

// The memory text's format, the machine's facts, and no video text headless.
TEST(SysInfo, DescribesTheMachine) {
    EXPECT_EQ(SysInfo::FormatMemoryStatus(2048.0 * 1048576, 1024.5 * 1048576, 4096.0 * 1048576, 0),
              "physical 2048.0 mb (available 1024.5 mb), virtual 4096.0 mb (available 0.0 mb)");
    const std::string live = SysInfo::GetMemoryStatus();
    EXPECT_EQ(live.rfind("physical ", 0), 0u);
    EXPECT_NE(live.find(" mb), virtual "), std::string::npos);

    EXPECT_FALSE(SysInfo::GetComputerName().empty());
    EXPECT_FALSE(SysInfo::GetOSVersion().empty());
    EXPECT_FALSE(SysInfo::GetLocale().empty());
    const std::string cpu = SysInfo::GetCPU();
    if (!cpu.empty()) {
        EXPECT_NE(cpu.find(" Mhz"), std::string::npos);
    }

    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    EXPECT_EQ(SysInfo::GetVideoInfo(), "");
}
