// SPDX-License-Identifier: MIT
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

namespace {

constexpr int Timeout = 15000;

TEST(SearchWindowOnX11, AnotherApplicationTakingTheFocusHidesTheSearchWindow)
{
    TemporaryHome home;
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    PrivateDisplay display;
    ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());

    ChildProcess probe(
        QStringLiteral(BRISKO_BINARY_DIR "/tests/app/controller/brisko-search-window-probe"),
        {QStringLiteral(BRISKO_TEST_DATA_DIR "/controller/people.vcf"),
         QStringLiteral(BRISKO_TEST_DATA_DIR "/controller/more.vcf")},
        display.environment());
    ASSERT_TRUE(probe.started()) << "could not start the search window probe";
    ASSERT_TRUE(probe.waitForLine(QStringLiteral("shown"), Timeout))
        << "the search window never became the active window: "
        << qPrintable(probe.standardError());

    ChildProcess other(QStringLiteral("xmessage"),
                       {QStringLiteral("-name"), QStringLiteral("briskoother"),
                        QStringLiteral("another application")},
                       display.environment());
    ASSERT_TRUE(other.started()) << "could not start xmessage (package x11-utils)";
    ASSERT_TRUE(display.xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                 QStringLiteral("--classname"), QStringLiteral("briskoother"),
                                 QStringLiteral("windowactivate"), QStringLiteral("--sync")}))
        << "xdotool could not activate the other application's window";
    EXPECT_TRUE(probe.waitForLine(QStringLiteral("hidden"), Timeout))
        << "the search window stayed up after another application took the focus: "
        << qPrintable(probe.standardError());
}

} // namespace
