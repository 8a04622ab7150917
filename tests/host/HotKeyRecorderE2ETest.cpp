// SPDX-License-Identifier: MIT
// The hot key recorder end to end, as a user meets it: the preferences host and its pane in
// this process, the real application beside them, both on an X display of this binary's own
// with a window manager, on a private bus. xdotool clicks and types.
#include "common/keycombo/KeyCombo.h"
#include "host/PreferencesHost.h"
#include "host/PreferencesWindow.h"
#include "platform/core/PropertyList.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/UserDefaults.h"
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/ControlMonitor.h"
#include "tests/e2e/support/RivalClient.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using AppDriver::Brisko;
using AppDriver::Ctl;
using AppDriver::Defaults;
using AppDriver::Domain;
using AppDriver::run;

// Real programs start here, on a machine that may be busy.
constexpr int Timeout = 30000;

/// An X server of this binary's own, started before Qt chooses its display: the keyboard
/// grab and the keys typed here never meet tests running alongside.
class OwnDisplay final
{
public:
    OwnDisplay()
    {
        int pipe[2];
        if (::pipe(pipe) != 0)
            return;
        _server = ::fork();
        if (_server == 0) {
            ::close(pipe[0]);
            // It reports each display number it finds taken on its way to a free one.
            if (const int null = ::open("/dev/null", O_WRONLY); null >= 0)
                ::dup2(null, STDERR_FILENO);
            const std::string fd = std::to_string(pipe[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(pipe[1]);
        std::string number;
        char c = 0;
        pollfd waiting{pipe[0], POLLIN, 0};
        while (::poll(&waiting, 1, 15000) > 0 && ::read(pipe[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(pipe[0]);
        if (!number.empty())
            _display = ':' + number;
    }
    ~OwnDisplay()
    {
        if (_server <= 0)
            return;
        ::kill(_server, SIGTERM);
        ::waitpid(_server, nullptr, 0);
    }

    const std::string &display() const { return _display; }

private:
    pid_t _server = -1;
    std::string _display;
};

bool xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments) == 0;
}

QDialog *recorder()
{
    auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    return modal && modal->objectName() == QLatin1String("KeyComboPanel") ? modal : nullptr;
}

QString recorded()
{
    QDialog *panel = recorder();
    auto *field = panel ? panel->findChild<QLineEdit *>(QStringLiteral("textField")) : nullptr;
    return field ? field->text() : QString();
}

TEST(HotKeyRecorder, ARecordedKeyIsStoredShownAndAnsweredAtOnce)
{
    if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())
        GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user";
    TemporaryHome home;
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    qputenv("BRISKO_PREFPANE_PATH", BRISKO_BINARY_DIR);
    ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("ShowSplash"),
                             QStringLiteral("-bool"), QStringLiteral("NO")}),
              0);
    // A window manager with shortcuts of its own (Alt+F4 closes the focused window).
    WindowManager windowManager(QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(windowManager.isRunning()) << qPrintable(windowManager.problem());

    ControlMonitor monitor;
    ChildProcess application(Brisko, {});
    ASSERT_TRUE(monitor.hears(ControlCommands::AppDidLaunch))
        << qPrintable(application.standardError());

    PreferencesHost host;
    bool paneShown = false;
    host.showPane(QStringLiteral("com.ambertide.BriskoPane"),
                  [&paneShown](bool ok, const QString &) { paneShown = ok; });
    ASSERT_TRUE(waitUntil([&paneShown] { return paneShown; }, Timeout))
        << "the pane did not come up";
    PreferencesWindow *window = host.window();
    auto *change = window->findChild<QPushButton *>(QStringLiteral("changeHotKeyButton"));
    auto *title = window->findChild<QLabel *>(QStringLiteral("hotKeyLabel"));
    ASSERT_TRUE(change && title);
    EXPECT_EQ(title->text(), QStringLiteral("Ctrl+Alt+Space"));

    // The recorder runs a modal loop of its own, so what a user does while it is up is played
    // from a timer: each step once the recorder shows what the step before typed.
    const QString display = qEnvironmentVariable("DISPLAY");
    QStringList shown;
    QTimer user;
    const QDeadlineTimer deadline(Timeout);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QDialog *panel = recorder();
        if (!panel)
            return;
        if (deadline.hasExpired())
            return panel->reject();
        const QString text = recorded();
        if (shown.isEmpty() && !isKeyboardFree(display)) {
            shown.append(text);
            // The window manager's own shortcut, recorded instead of closing the window.
            xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
        } else if (shown.size() == 1 && text != shown.last()) {
            shown.append(text);
            xdotool({QStringLiteral("key"), QStringLiteral("super+shift+k")});
        } else if (shown.size() == 2 && text != shown.last()) {
            shown.append(text);
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        }
    });
    user.start(50);
    // "Change Hot Key…", clicked where it is on the screen.
    const QPoint at = change->mapToGlobal(change->rect().center());
    ASSERT_TRUE(
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                 QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")}));
    ASSERT_TRUE(waitUntil([&] { return shown.size() == 3 && !recorder(); }, Timeout))
        << "the recorder did not come up holding the keyboard, or did not end; it showed "
        << qPrintable(shown.join(QLatin1String(", ")));
    user.stop();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Ctrl+Alt+Space"), QStringLiteral("Alt+F4"),
                                  QStringLiteral("Shift+Super+K")}));
    EXPECT_TRUE(isKeyboardFree(display)) << "the keyboard was not given back";
    ASSERT_TRUE(monitor.hears(ControlCommands::Suspend));

    const QByteArray stored = PropertyList::readFile(UserDefaults::pathForDomain(Domain))
                                  .toMap()
                                  .value(QStringLiteral("HotKey"))
                                  .toByteArray();
    EXPECT_EQ(PaneKeyCombo::unarchive(stored),
              PaneKeyCombo(40, PaneKeyCombo::cmdKey | PaneKeyCombo::shiftKey));
    EXPECT_EQ(title->text(), QStringLiteral("Shift+Super+K"));

    // Once the application has heard Resume, and a ping behind it, it holds the new key only.
    ASSERT_TRUE(monitor.hears(ControlCommands::Resume));
    ASSERT_EQ(run(Ctl, {QStringLiteral("ping")}), 0);
    EXPECT_TRUE(isFreeToGrab(display, SpaceKeysym, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1))
        << "the application still holds Ctrl+Alt+Space";
    EXPECT_FALSE(isFreeToGrab(display, KKeysym, XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT))
        << "the application does not hold Shift+Super+K";
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("super+shift+k")}));
    EXPECT_TRUE(waitUntil(
        [] {
            ChildProcess search(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QStringLiteral("^Brisko$")});
            return search.waitForFinished(Timeout) && search.exitCode() == 0;
        },
        Timeout))
        << "Shift+Super+K did not bring the search window up";

    DistributedNotificationCenter::defaultCenter().postNotification(
        ControlCommands::NotificationName, ControlCommands::Shutdown);
    DistributedNotificationCenter::defaultCenter().flush();
    EXPECT_TRUE(application.waitForFinished(10000));
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<OwnDisplay> display;
    if (GTEST_FLAG_GET(list_tests)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        display = std::make_unique<OwnDisplay>();
        if (display->display().empty()) {
            std::fprintf(stderr, "Xvfb did not report a display\n");
            return 1;
        }
        qputenv("DISPLAY", QByteArray::fromStdString(display->display()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("WAYLAND_DISPLAY");
    }
    setenv("LC_ALL", "C.UTF-8", 1);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
