// SPDX-License-Identifier: MIT
// Pictures of the preference pane's three tabs in the host's window, with the real
// application running, for people to judge. Meant for Xvfb with QT_QPA_PLATFORM=xcb (see
// Screenshot.h for where they go).
#include "PreferencesHost.h"
#include "PreferencesWindow.h"
#include "Screenshot.h"
#include "TemporaryHome.h"
#include "WaitUntil.h"
#include "notifications/ControlCommands.h"
#include "notifications/DistributedNotificationCenter.h"
#include "support/TestProcesses.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Timeout = 30000;

// Real programs start here, on a machine that may be busy.
bool eventually(const std::function<bool()> &probe, int timeoutMs = Timeout)
{
    return waitUntil(probe, timeoutMs);
}

TEST(PaneScreenshots, GeneralPreferencesAndAbout)
{
    if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())
        GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
    TemporaryHome home;
    qputenv("BRISKO_PREFPANE_PATH", BRISKO_BINARY_DIR);
    ChildProcess application(QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko"), {});

    PreferencesHost host;
    bool shown = false;
    host.showPane(QStringLiteral("com.ambertide.BriskoPane"),
                  [&](bool ok, const QString &) { shown = ok; });
    ASSERT_TRUE(eventually([&] { return shown; }));
    PreferencesWindow *window = host.window();
    auto *runState = window->findChild<QLabel *>(QStringLiteral("appRunStateLabel"));
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("tabView"));
    ASSERT_TRUE(runState && tabs);
    ASSERT_TRUE(eventually([&] { return runState->text() == QLatin1String("Brisko is running"); }))
        << "the application did not answer";

    const char *names[] = {"pane-general.png", "pane-preferences.png", "pane-about.png"};
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const QString name = QString::fromLatin1(names[tab]);
        EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(Screenshot::grabbed(*window)), name))
            << "could not write " << qPrintable(name);
    }
    DistributedNotificationCenter::defaultCenter().postNotification(
        ControlCommands::NotificationName, ControlCommands::Shutdown);
    DistributedNotificationCenter::defaultCenter().flush();
    EXPECT_TRUE(application.waitForFinished(10000));
}

} // namespace
