// SPDX-License-Identifier: MIT
#include "TemporaryHome.h"
#include "keycombo/KeyCombo.h"
#include "support/AppDriver.h"
#include "support/RivalClient.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <memory>

namespace {

using namespace AppDriver;

constexpr uint16_t ControlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr uint16_t ControlShift = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;

class AppControlE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        ASSERT_TRUE(display.isRunning()) << "Xvfb did not report a display";
        // The splash would only add a window to look past.
        ASSERT_EQ(defaults({QStringLiteral("write"), Domain, QStringLiteral("ShowSplash"),
                            QStringLiteral("-bool"), QStringLiteral("NO")}),
                  0);
        monitor = std::make_unique<ChildProcess>(Ctl, QStringList{QStringLiteral("monitor")});
        ASSERT_TRUE(monitor->waitForError(QStringLiteral("monitoring"), Timeout))
            << qPrintable(monitor->standardError());
        app = std::make_unique<ChildProcess>(Brisko, QStringList(), display.environment());
        ASSERT_TRUE(app->started()) << "could not start " << qPrintable(Brisko);
        ASSERT_TRUE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), Timeout))
            << "Brisko did not announce its launch: " << qPrintable(app->standardError());
    }

    static int ctl(const QStringList &arguments) { return run(Ctl, arguments); }
    static int defaults(const QStringList &arguments) { return run(Defaults, arguments); }

    bool press(const QString &keys) { return display.xdotool({QStringLiteral("key"), keys}); }

    /// A press that should show nothing is given this long to prove it.
    bool staysHidden()
    {
        return !eventually([this] { return searchWindowVisible(); }, 1500);
    }

    bool searchWindowVisible() { return AppDriver::searchWindowVisible(display); }

    TemporaryHome home;
    PrivateSessionBus bus;
    PrivateDisplay display;
    std::unique_ptr<ChildProcess> monitor;
    std::unique_ptr<ChildProcess> app;
};

TEST_F(AppControlE2ETest, PingIsAnsweredOncePerControlDidStart)
{
    EXPECT_EQ(ctl({QStringLiteral("ping")}), 0);
    QStringList seen;
    ASSERT_TRUE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), Timeout, &seen));
    EXPECT_EQ(seen, QStringList{QStringLiteral("ControlDidStart")});
}

TEST_F(AppControlE2ETest, TheStoredHotKeyShowsTheSearchWindow)
{
    ASSERT_FALSE(searchWindowVisible());
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    EXPECT_TRUE(eventually([this] { return searchWindowVisible(); }, Timeout))
        << "the hot key did not bring the search window up";
}

TEST_F(AppControlE2ETest, SuspendSilencesTheHotKeyAndResumeBringsItBack)
{
    ASSERT_TRUE(command(QStringLiteral("Suspend")));
    EXPECT_TRUE(isFreeToGrab(display.display(), SpaceKeysym, ControlAlt))
        << "Suspend did not release the hot key";
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    EXPECT_TRUE(staysHidden()) << "a suspended hot key showed the search window";

    ASSERT_TRUE(command(QStringLiteral("Resume")));
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    EXPECT_TRUE(eventually([this] { return searchWindowVisible(); }, Timeout))
        << "after Resume the hot key did not bring the search window up";
}

TEST_F(AppControlE2ETest, RefreshTakesANewHotKeyWithoutARestart)
{
    const KeyCombo controlShiftK(40, KeyCombo::controlKey | KeyCombo::shiftKey);
    ASSERT_EQ(defaults({QStringLiteral("write"), Domain, QStringLiteral("HotKey"),
                        QStringLiteral("-data"),
                        QString::fromLatin1(controlShiftK.archivedData().toHex())}),
              0);
    ASSERT_TRUE(command(QStringLiteral("Refresh")));

    EXPECT_TRUE(isFreeToGrab(display.display(), SpaceKeysym, ControlAlt))
        << "the old hot key is still held";
    EXPECT_FALSE(isFreeToGrab(display.display(), KKeysym, ControlShift))
        << "the new hot key was not taken";
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    EXPECT_TRUE(staysHidden()) << "the old hot key still shows the search window";
    ASSERT_TRUE(press(QStringLiteral("ctrl+shift+k")));
    EXPECT_TRUE(eventually([this] { return searchWindowVisible(); }, Timeout))
        << "the new hot key did not bring the search window up";
}

TEST_F(AppControlE2ETest, UnknownCommandsChangeNothing)
{
    // Neither a command outside the table nor one that differs only in case is obeyed.
    ASSERT_EQ(ctl({QStringLiteral("post"), QStringLiteral("Shutdown now")}), 0);
    ASSERT_EQ(ctl({QStringLiteral("post"), QStringLiteral("shutdown")}), 0);
    ASSERT_EQ(ctl({QStringLiteral("ping")}), 0);
    EXPECT_FALSE(app->waitForFinished(500)) << "Brisko ended on a foreign notification";
}

TEST_F(AppControlE2ETest, ShutdownEndsTheApplicationWhichSaysSo)
{
    ASSERT_EQ(ctl({QStringLiteral("post"), QStringLiteral("Shutdown")}), 0);
    QStringList seen;
    EXPECT_TRUE(monitor->waitForLine(QStringLiteral("AppDidTerminate"), Timeout, &seen))
        << "no AppDidTerminate; saw " << qPrintable(seen.join(QLatin1Char(',')));
    ASSERT_TRUE(app->waitForFinished(Timeout)) << "Brisko still runs after Shutdown";
    EXPECT_EQ(app->exitCode(), 0);
    EXPECT_EQ(ctl({QStringLiteral("ping")}), 1);
}

TEST_F(AppControlE2ETest, TerminationSignalEndsTheApplicationLikeQuit)
{
    app->process().terminate();
    QStringList seen;
    EXPECT_TRUE(monitor->waitForLine(QStringLiteral("AppDidTerminate"), Timeout, &seen))
        << "no AppDidTerminate after SIGTERM; saw " << qPrintable(seen.join(QLatin1Char(',')));
    ASSERT_TRUE(app->waitForFinished(Timeout));
    EXPECT_EQ(app->process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app->exitCode(), 0);
}

TEST_F(AppControlE2ETest, ASecondLaunchShowsTheFirstOnesWindowAndLeaves)
{
    ASSERT_FALSE(searchWindowVisible());
    ChildProcess second(Brisko, QStringList(), display.environment());
    ASSERT_TRUE(second.waitForFinished(Timeout)) << "the second copy keeps running";
    EXPECT_EQ(second.exitCode(), 0) << qPrintable(second.standardError());
    EXPECT_TRUE(eventually([this] { return searchWindowVisible(); }, Timeout))
        << "the running copy did not show its search window";
    EXPECT_FALSE(app->waitForFinished(200)) << "the first copy ended";
    EXPECT_FALSE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), 500))
        << "the second copy announced a launch";
}

TEST_F(AppControlE2ETest, ShowBringsTheSearchWindowUpWithoutASecondCopy)
{
    ASSERT_FALSE(searchWindowVisible());
    EXPECT_EQ(ctl({QStringLiteral("show")}), 0);
    EXPECT_TRUE(eventually([this] { return searchWindowVisible(); }, Timeout))
        << "brisko-ctl show did not bring the search window up";
    EXPECT_FALSE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), 500))
        << "a second copy announced a launch";
}

} // namespace
