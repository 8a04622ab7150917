// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/support/TestProcesses.h"

#include <gtest/gtest.h>

/// A test suite whose tests share one private session bus, started before the first test
/// and stopped after the last.
class PrivateBusTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bus = new PrivateSessionBus; }
    static void TearDownTestSuite()
    {
        delete bus;
        bus = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(bus->isRunning()) << "dbus-daemon did not start a session bus";
    }

    static inline PrivateSessionBus *bus = nullptr;
};
