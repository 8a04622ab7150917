// SPDX-License-Identifier: MIT
// The preferences host with the real pane and the real application: in this process (the
// host's window on the offscreen platform), and as real processes on a private X display.
#include "app/controller/SearchPanel.h"
#include "host/PreferencesHost.h"
#include "host/PreferencesWindow.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/e2e/support/ControlMonitor.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>

namespace {

constexpr int Timeout = 30000;
const QString PaneId = QStringLiteral("com.ambertide.BriskoPane");
const QString HostProgram = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-preferences");
const QString Brisko = QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko");
const QString Defaults = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-defaults");

/// The pane ends the processes of an old copy in /opt and asks about it each time it shows:
/// on such a machine these tests would end the user's own Brisko.
#define SKIP_WITH_AN_OLD_COPY_IN_OPT()                                                             \
    if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())                                      \
    GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user"

/// One bus for the binary: the pane loaded into this process keeps the bus it first met.
class HostEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        bus = std::make_unique<PrivateSessionBus>();
        ASSERT_TRUE(bus->isRunning()) << "dbus-daemon did not start a session bus";
        qputenv("BRISKO_PREFPANE_PATH", BRISKO_BINARY_DIR);
    }
    void TearDown() override { bus.reset(); }
    std::unique_ptr<PrivateSessionBus> bus;
};

[[maybe_unused]] ::testing::Environment *const hostEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostEnvironment);

/// The running copies of the application that belong to this test: those with its home.
QList<int> applicationsOf(const TemporaryHome &home)
{
    QList<int> pids;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile environ(QStringLiteral("/proc/%1/environ").arg(entry));
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (!environ.open(QIODevice::ReadOnly) || !commandLine.open(QIODevice::ReadOnly))
            continue;
        const QByteArray program = commandLine.readAll().split('\0').value(0);
        if (program.endsWith("/Brisko") &&
            environ.readAll().split('\0').contains("HOME=" + home.path().toUtf8()))
            pids.append(entry.toInt());
    }
    return pids;
}

class HostInThisProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITH_AN_OLD_COPY_IN_OPT();
        bool answered = false;
        QString error;
        host.showPane(PaneId, [&](bool shown, const QString &why) {
            answered = shown;
            error = why;
        });
        ASSERT_TRUE(waitUntil([&] { return answered; }, Timeout)) << qPrintable(error);
        window = host.window();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Brisko"));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        runState = window->findChild<QLabel *>(QStringLiteral("appRunStateLabel"));
        ASSERT_NE(runState, nullptr) << "the pane's view is not in the window";
    }
    void TearDown() override
    {
        for (const int pid : applicationsOf(home))
            ::kill(pid, SIGTERM);
        waitUntil([this] { return applicationsOf(home).isEmpty(); }, 5000);
    }

    bool says(const char *state)
    {
        return waitUntil([&] { return runState->text() == QLatin1String(state); }, Timeout);
    }

    TemporaryHome home;
    ControlMonitor monitor;
    PreferencesHost host;
    PreferencesWindow *window = nullptr;
    QLabel *runState = nullptr;
};

TEST_F(HostInThisProcess, StartBriskoStartsTheApplicationAndStopBriskoEndsIt)
{
    EXPECT_EQ(runState->text(), QStringLiteral("Brisko is stopped"));
    QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(says("Brisko is running")) << qPrintable(runState->text());
    EXPECT_EQ(applicationsOf(home).size(), 1);

    QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(says("Brisko is stopped")) << qPrintable(runState->text());
    EXPECT_TRUE(waitUntil([this] { return applicationsOf(home).isEmpty(); }, Timeout))
        << "the application still runs";
}

TEST(HostAndApplication, AnApplicationStartedElsewhereShowsAsRunning)
{
    SKIP_WITH_AN_OLD_COPY_IN_OPT();
    TemporaryHome home;
    ControlMonitor monitor;
    ChildProcess application(Brisko, {});
    ASSERT_TRUE(monitor.hears(ControlCommands::AppDidLaunch))
        << qPrintable(application.standardError());

    PreferencesHost host;
    bool shown = false;
    host.showPane(PaneId, [&](bool ok, const QString &) { shown = ok; });
    ASSERT_TRUE(waitUntil([&] { return shown; }, Timeout));
    auto *runState = host.window()->findChild<QLabel *>(QStringLiteral("appRunStateLabel"));
    ASSERT_NE(runState, nullptr);
    EXPECT_TRUE(
        waitUntil([&] { return runState->text() == QLatin1String("Brisko is running"); }, Timeout))
        << qPrintable(runState->text());
}

/// Real host processes on a display of the test's own, whose window manager gives windows the
/// focus as on a desktop. Pages the host opens go to a stand-in for xdg-open.
class HostProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITH_AN_OLD_COPY_IN_OPT();
        ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());
        ASSERT_TRUE(QDir().mkpath(bin));
        QFile opener(bin + QStringLiteral("/xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$HOME/opened\"\n");
        opener.close();
        opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
    }
    void TearDown() override
    {
        if (const int pid = hostProcess(); pid > 0) {
            ::kill(pid, SIGTERM);
            waitUntil([this] { return hostProcess() == 0; }, 5000);
        }
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = display.environment();
        environment.insert(QStringLiteral("PATH"),
                           bin + QStringLiteral(":" BRISKO_BINARY_DIR "/bin:") +
                               environment.value(QStringLiteral("PATH")));
        environment.remove(QStringLiteral("BRISKO_PREFPANE_PATH"));
        return environment;
    }

    /// The window ids xdotool finds.
    QStringList xdotoolSearch(const QStringList &arguments) const
    {
        return display.xdotoolOutput(QStringList{QStringLiteral("search")} + arguments)
            .value_or(QString())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList hostWindows() const
    {
        return xdotoolSearch({QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                              QStringLiteral("brisko-preferences")});
    }

    /// Whether a window of the host is mapped. The window manager may still be mapping the frame
    /// around it, so it need not be viewable yet.
    bool hostWindowIsMapped() const
    {
        for (const QString &window :
             xdotoolSearch({QStringLiteral("--class"), QStringLiteral("brisko-preferences")})) {
            ChildProcess info(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window},
                              environment());
            info.waitForFinished(5000);
            const QString state = info.remainingOutput();
            if (state.contains(QLatin1String("IsViewable")) ||
                state.contains(QLatin1String("IsUnviewable")))
                return true;
        }
        return false;
    }

    /// The process that owns the host's name on the bus; 0 for none.
    static int hostProcess()
    {
        const QDBusReply<uint> pid =
            QDBusConnection::sessionBus().interface()->servicePid(PreferencesHost::ServiceName);
        return pid.isValid() ? int(pid.value()) : 0;
    }

    int showPane()
    {
        ChildProcess asking(HostProgram, {QStringLiteral("--show-pane"), PaneId}, environment());
        if (!asking.waitForFinished(Timeout))
            return -1;
        return asking.exitCode();
    }

    TemporaryHome home;
    QString bin = home.path() + QStringLiteral("/bin");
    PrivateDisplay display;
};

TEST_F(HostProcess, ASecondShowPaneHandsOverAndReturns)
{
    ASSERT_EQ(showPane(), 0);
    const int host = hostProcess();
    ASSERT_GT(host, 0) << "no host owns the name after --show-pane returned";
    EXPECT_TRUE(hostWindowIsMapped()) << "the pane is not on screen once --show-pane returned";

    ASSERT_EQ(showPane(), 0);
    EXPECT_EQ(hostProcess(), host) << "the second start did not hand over";
    EXPECT_TRUE(waitUntil([this] { return hostWindows().size() == 1; }, Timeout))
        << "the pane is not on screen, or on it twice";
}

TEST_F(HostProcess, TheAboutMenuItemBringsTheHostUpOnTheAboutTab)
{
    ChildProcess splashOff(
        Defaults, {QStringLiteral("write"), QStringLiteral("com.ambertide.Brisko"),
                   QStringLiteral("ShowSplash"), QStringLiteral("-bool"), QStringLiteral("NO")});
    ASSERT_TRUE(splashOff.waitForFinished(Timeout));
    ControlMonitor monitor;
    ChildProcess application(Brisko, {}, environment());
    ASSERT_TRUE(monitor.hears(ControlCommands::AppDidLaunch))
        << qPrintable(application.standardError());

    // The hot key, then the menu button at the right of the search field.
    ASSERT_TRUE(display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+space")}));
    QStringList search;
    ASSERT_TRUE(waitUntil(
        [&] {
            search = xdotoolSearch({QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral("^Brisko$")});
            return search.size() == 1;
        },
        Timeout))
        << "the search window did not come up";
    ChildProcess geometry(
        QStringLiteral("xdotool"),
        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), search.first()},
        environment());
    ASSERT_TRUE(geometry.waitForFinished(10000));
    QMap<QString, int> shell;
    for (const QString &line :
         geometry.remainingOutput().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        shell.insert(line.section(QLatin1Char('='), 0, 0),
                     line.section(QLatin1Char('='), 1).toInt());
    const int x = shell.value(QStringLiteral("X")) + shell.value(QStringLiteral("WIDTH")) -
                  SearchPanel::kMargin - SearchPanel::kMenuButtonWidth / 2;
    const int y =
        shell.value(QStringLiteral("Y")) + SearchPanel::kMargin + SearchPanel::kFieldHeight / 2;
    ASSERT_TRUE(
        display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
                         QString::number(y), QStringLiteral("click"), QStringLiteral("1")}));
    // The menu is up once a second window of the application shows.
    ASSERT_TRUE(waitUntil(
        [&] {
            return xdotoolSearch({QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                  QString::number(application.process().processId())})
                       .size() >= 2;
        },
        Timeout))
        << "the menu did not pop up";
    ASSERT_TRUE(
        display.xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return")}));

    ASSERT_TRUE(waitUntil([this] { return hostWindows().size() == 1; }, Timeout))
        << "the preferences host did not come up";
    ASSERT_TRUE(monitor.hears(ControlCommands::SetTab));
    EXPECT_EQ(monitor.tabs(), QStringList{QStringLiteral("about")});

    // "Visit Web Site" has its mnemonic on the About tab only: the page opens once that tab
    // is the one shown.
    QFile opened(home.path() + QStringLiteral("/opened"));
    const QString window = hostWindows().value(0);
    EXPECT_TRUE(waitUntil(
        [&] {
            display.xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
            display.xdotool({QStringLiteral("key"), QStringLiteral("alt+w")});
            return waitUntil([&] { return opened.exists(); }, 1000);
        },
        Timeout))
        << "the About tab is not the one shown";
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), QByteArray("http://www.ambertide.com/\n"));
}

} // namespace
