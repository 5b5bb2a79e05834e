// DROVALIN_NOCAP lifts the frame cap of the window backend for benchmarks.
#include <gtest/gtest.h>

#include "platform/PlatformEnv.h"
#include "support/TempDir.h"

TEST(FrameCapSwitch, OnlyANonZeroValueLiftsTheCap) {
    {
        ScopedEnv unset("DROVALIN_NOCAP", nullptr);
        EXPECT_FALSE(PlatformEnv::Read().noCap);
    }
    {
        ScopedEnv on("DROVALIN_NOCAP", "1");
        EXPECT_TRUE(PlatformEnv::Read().noCap);
    }
    {
        ScopedEnv off("DROVALIN_NOCAP", "0");
        EXPECT_FALSE(PlatformEnv::Read().noCap);
    }
}
