// A test fixture owning a fresh headless engine interface, initiated, with its
// ini and log files in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/hge.h"
#include "support/TempDir.h"

class HeadlessEngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<ScopedEnv> m_headlessEnv;
    TempDir m_dir;
    HGE* hge = nullptr;
};
