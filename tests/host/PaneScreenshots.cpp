// SPDX-License-Identifier: MIT
// Pictures of the preference pane's three tabs, and of its first one in German, in the host's
// window with the real application running, for people to judge. Meant for Xvfb with
// QT_QPA_PLATFORM=xcb (see Screenshot.h for where they go).
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
#include <QLocale>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Timeout = 30000;

// Real programs start here, on a machine that may be busy.
bool eventually(const std::function<bool()> &probe, int timeoutMs = Timeout)
{
    return waitUntil(probe, timeoutMs);
}

/// The pane shown by the host, with the real application running so the pane says so.
class PaneScreenshots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QFileInfo(QStringLiteral("/opt/Brisko.app")).isDir())
            GTEST_SKIP() << "/opt/Brisko.app exists; the pane would end every Brisko of this user";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        qputenv("BRISKO_PREFPANE_PATH", BRISKO_BINARY_DIR);
        application = std::make_unique<ChildProcess>(
            QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko"), QStringList());
    }
    void TearDown() override
    {
        if (!application)
            return;
        DistributedNotificationCenter::defaultCenter().postNotification(
            ControlCommands::NotificationName, ControlCommands::Shutdown);
        DistributedNotificationCenter::defaultCenter().flush();
        EXPECT_TRUE(application->waitForFinished(10000));
    }

    /// Shows the pane and waits until it says that `running` is the application's state.
    void showPane(const QString &running)
    {
        host.showPane(QStringLiteral("com.ambertide.BriskoPane"),
                      [&](bool ok, const QString &) { shown = ok; });
        ASSERT_TRUE(eventually([&] { return shown; }));
        window = host.window();
        runState = window->findChild<QLabel *>(QStringLiteral("appRunStateLabel"));
        tabs = window->findChild<QTabWidget *>(QStringLiteral("tabView"));
        ASSERT_TRUE(runState && tabs);
        ASSERT_TRUE(eventually([&] { return runState->text() == running; }))
            << "the application did not answer: " << qPrintable(runState->text());
    }

    void save(int tab, const char *name)
    {
        tabs->setCurrentIndex(tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_TRUE(Screenshot::save(Screenshot::onBackdrop(Screenshot::grabbed(*window)),
                                     QString::fromLatin1(name)))
            << "could not write " << name;
    }

    PrivateSessionBus bus;
    TemporaryHome home;
    std::unique_ptr<ChildProcess> application;
    PreferencesHost host;
    bool shown = false;
    PreferencesWindow *window = nullptr;
    QLabel *runState = nullptr;
    QTabWidget *tabs = nullptr;
};

TEST_F(PaneScreenshots, GeneralPreferencesAndAbout)
{
    ASSERT_NO_FATAL_FAILURE(showPane(QStringLiteral("Brisko is running")));
    const char *names[] = {"pane-general.png", "pane-preferences.png", "pane-about.png"};
    for (int tab = 0; tab < tabs->count(); ++tab)
        save(tab, names[tab]);
}

TEST_F(PaneScreenshots, GeneralInGerman)
{
    // The language a German desktop session asks for; the pane loads its catalogue from its
    // bundle for it.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_NO_FATAL_FAILURE(showPane(QStringLiteral("Brisko läuft")));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Allgemein"));
    save(0, "pane-general-de.png");
}

} // namespace
