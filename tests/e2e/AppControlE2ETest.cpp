// SPDX-License-Identifier: MIT
#include "common/keycombo/KeyCombo.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/RivalClient.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>

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
        ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());
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

    /// Once the application has handled a press that should show nothing, nothing shows.
    bool staysHidden() { return caughtUp() && !searchWindowVisible(); }

    /// The control notifications the monitor heard before the next ping, which the
    /// application must answer, one a line.
    std::string heardBeforeAPing()
    {
        QStringList heard;
        if (!caughtUp())
            return "(no answer to a ping)";
        monitor->waitForLine(QStringLiteral("ControlDidStart"), Timeout, &heard);
        return heard.join(QLatin1Char('\n')).toStdString();
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

// The window manager gives the search window the keyboard only if the activation carries the
// hot key's own time, which Qt keeps only when the key filter lets the press through.
TEST_F(AppControlE2ETest, TheStoredHotKeyBringsUpTheSearchWindowActiveAndTypingReachesIt)
{
    // The user was last busy in another application; the window manager saw that click.
    ChildProcess other(QStringLiteral("xmessage"),
                       {QStringLiteral("-name"), QStringLiteral("briskoother"),
                        QStringLiteral("another application")},
                       display.environment());
    ASSERT_TRUE(other.started()) << "could not start xmessage (package x11-utils)";
    ASSERT_TRUE(display.xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                 QStringLiteral("--classname"), QStringLiteral("briskoother"),
                                 QStringLiteral("mousemove"), QStringLiteral("--window"),
                                 QStringLiteral("%1"), QStringLiteral("5"), QStringLiteral("5"),
                                 QStringLiteral("click"), QStringLiteral("1")}));
    ASSERT_FALSE(searchWindowVisible());
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    QString window;
    ASSERT_TRUE(waitUntil(
        [&] { return !(window = visibleWindow(display, QStringLiteral("Brisko"))).isEmpty(); },
        Timeout))
        << "the hot key did not bring the search window up";
    EXPECT_TRUE(waitUntil(
        [&] { return display.xdotoolOutput({QStringLiteral("getactivewindow")}) == window; },
        Timeout))
        << "the search window is not the active window";

    // The one match of the sample book opens its card, and the window grows to show it.
    ASSERT_TRUE(display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"),
                                 QStringLiteral("30"), QStringLiteral("virtanen")}));
    EXPECT_TRUE(waitUntil([&] { return windowGeometry(display, window).height() > 62; }, Timeout))
        << "what was typed did not reach the search field";
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
    EXPECT_TRUE(waitUntil([this] { return searchWindowVisible(); }, Timeout))
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
    EXPECT_TRUE(waitUntil([this] { return searchWindowVisible(); }, Timeout))
        << "the new hot key did not bring the search window up";
}

TEST_F(AppControlE2ETest, UnknownCommandsChangeNothing)
{
    // Neither a command outside the table nor one that differs only in case is obeyed.
    ASSERT_EQ(ctl({QStringLiteral("post"), QStringLiteral("Shutdown now")}), 0);
    ASSERT_EQ(ctl({QStringLiteral("post"), QStringLiteral("shutdown")}), 0);
    EXPECT_EQ(heardBeforeAPing(), "\"Shutdown now\"\nshutdown")
        << "Brisko ended on a foreign notification";
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

// Logging out sends SIGTERM: a change the application could not write yet (here the
// activation count, while something stands in the place of its temporary file) is written on
// the way out.
TEST_F(AppControlE2ETest, TerminationSignalSavesTheSettingsAndEndsTheApplicationLikeQuit)
{
    const QString blocker = UserDefaults::pathForDomain(Domain) + QStringLiteral(".tmp");
    ASSERT_TRUE(QDir().mkpath(blocker + QStringLiteral("/in-the-way")));
    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    ASSERT_TRUE(app->waitForError(QStringLiteral("cannot write the settings file"), Timeout))
        << "the activation count was written at once after all";
    ASSERT_TRUE(QDir(blocker).removeRecursively());

    app->process().terminate();
    QStringList seen;
    EXPECT_TRUE(monitor->waitForLine(QStringLiteral("AppDidTerminate"), Timeout, &seen))
        << "no AppDidTerminate after SIGTERM; saw " << qPrintable(seen.join(QLatin1Char(',')));
    ASSERT_TRUE(app->waitForFinished(Timeout));
    EXPECT_EQ(app->process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app->exitCode(), 0);
    const QVariantMap saved = UserDefaults::persistentDomainForName(Domain);
    EXPECT_EQ(saved.value(QStringLiteral("ActivationCount")).toLongLong(), 1)
        << "the change made before the signal was lost";
}

TEST_F(AppControlE2ETest, ASecondLaunchShowsTheFirstOnesWindowAndLeaves)
{
    ASSERT_FALSE(searchWindowVisible());
    ChildProcess second(Brisko, QStringList(), display.environment());
    ASSERT_TRUE(second.waitForFinished(Timeout)) << "the second copy keeps running";
    EXPECT_EQ(second.exitCode(), 0) << qPrintable(second.standardError());
    EXPECT_TRUE(waitUntil([this] { return searchWindowVisible(); }, Timeout))
        << "the running copy did not show its search window";
    EXPECT_EQ(heardBeforeAPing(), "")
        << "the first copy ended, or the second one announced a launch";
}

TEST_F(AppControlE2ETest, ShowBringsTheSearchWindowUpWithoutASecondCopy)
{
    ASSERT_FALSE(searchWindowVisible());
    EXPECT_EQ(ctl({QStringLiteral("show")}), 0);
    EXPECT_TRUE(waitUntil([this] { return searchWindowVisible(); }, Timeout))
        << "brisko-ctl show did not bring the search window up";
    EXPECT_EQ(heardBeforeAPing(), "") << "a second copy announced a launch";
}

} // namespace
