// SPDX-License-Identifier: MIT
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TemporaryHome.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Timeout = 15000;
const QString Brisko = QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko");
const QString Ctl = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-ctl");
const QString Defaults = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-defaults");
const QString Domain = QStringLiteral("com.ambertide.Brisko");
const QString SearchWindowOrSplash = QStringLiteral("^Brisko$");
const QString NewVersionAlert = QStringLiteral("^New Version Available!");

/// The real application launched with an automatic update check due, against a version file
/// on a loopback server, with the splash switched on.
class LaunchCheckE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());
        ASSERT_TRUE(site.isListening());
        for (const QStringList &setting :
             {QStringList{QStringLiteral("ShowSplash"), QStringLiteral("-bool"),
                          QStringLiteral("YES")},
              QStringList{QStringLiteral("AutoVersionCheck"), QStringLiteral("-bool"),
                          QStringLiteral("YES")},
              // Due since long ago.
              QStringList{QStringLiteral("NextCheckVersion"), QStringLiteral("-int"),
                          QStringLiteral("1")}}) {
            ChildProcess tool(Defaults, QStringList{QStringLiteral("write"), Domain} + setting);
            ASSERT_TRUE(tool.waitForFinished(Timeout));
            ASSERT_EQ(tool.exitCode(), 0) << qPrintable(tool.standardError());
        }
        // Whatever the application opens in a browser is noted here instead.
        QFile opener(programs.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/opened\"\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        monitor = std::make_unique<ChildProcess>(Ctl, QStringList{QStringLiteral("monitor")});
        ASSERT_TRUE(monitor->waitForError(QStringLiteral("monitoring"), Timeout))
            << qPrintable(monitor->standardError());
    }

    void launch()
    {
        QProcessEnvironment environment = display.environment();
        environment.insert(QStringLiteral("BRISKO_VERSION_CHECK_ADDRESS"),
                           QString::fromLatin1(site.address()));
        environment.insert(QStringLiteral("PATH"), programs.path() + QLatin1Char(':') +
                                                       environment.value(QStringLiteral("PATH")));
        app = std::make_unique<ChildProcess>(Brisko, QStringList(), environment);
        ASSERT_TRUE(app->started()) << "could not start " << qPrintable(Brisko);
    }

    QString xdotool(const QStringList &arguments)
    {
        ChildProcess tool(QStringLiteral("xdotool"), arguments, display.environment());
        return tool.waitForFinished(Timeout) && tool.exitCode() == 0
                   ? tool.remainingOutput().trimmed()
                   : QString();
    }

    /// The application's visible windows whose names match `name`. (xdotool's own search by
    /// name misses windows Qt names after the application.)
    QStringList visibleWindows(const QString &name)
    {
        const QRegularExpression pattern(name);
        QStringList matching;
        const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--class"), QStringLiteral("^Brisko$")});
        for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (pattern.match(xdotool({QStringLiteral("getwindowname"), id})).hasMatch())
                matching.append(id);
        }
        return matching;
    }

    bool press(const QString &keys) { return display.xdotool({QStringLiteral("key"), keys}); }

    /// Presses Escape once the only window named `name` has the keyboard.
    bool escapeFrom(const QString &name)
    {
        return waitUntil(
                   [&] {
                       const QStringList windows = visibleWindows(name);
                       return windows.size() == 1 &&
                              xdotool({QStringLiteral("getwindowfocus")}) == windows.first();
                   },
                   Timeout) &&
               press(QStringLiteral("Escape"));
    }

    /// What the application has written on standard error so far.
    std::string appErrors()
    {
        app->waitForError(QStringLiteral("\n\n\n"), 500);
        return app->standardError().toStdString();
    }

    bool openedAnything() const
    {
        return QFile::exists(programs.filePath(QStringLiteral("opened")));
    }

    TemporaryHome home;
    PrivateSessionBus bus;
    PrivateDisplay display;
    LoopbackHttpServer site;
    QTemporaryDir programs;
    std::unique_ptr<ChildProcess> monitor;
    std::unique_ptr<ChildProcess> app;
};

TEST_F(LaunchCheckE2ETest, ASiteThatDoesNotAnswerHoldsNeitherTheLaunchNorTheHotKey)
{
    site.setSilent(true);
    launch();
    ASSERT_TRUE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), Timeout))
        << "Brisko did not announce its launch: " << appErrors();
    ASSERT_TRUE(waitUntil([this] { return !site.requestTargets().isEmpty(); }, Timeout))
        << "Brisko did not ask for the version file";
    EXPECT_TRUE(site.holdsOpenRequest()) << "the launch waited until the update check gave up";
    EXPECT_TRUE(visibleWindows(SearchWindowOrSplash).isEmpty())
        << "the splash came before the update check had answered";

    ASSERT_TRUE(press(QStringLiteral("ctrl+alt+space")));
    EXPECT_TRUE(
        waitUntil([this] { return !visibleWindows(SearchWindowOrSplash).isEmpty(); }, Timeout))
        << "the hot key did not bring the search window up";
    EXPECT_TRUE(site.holdsOpenRequest()) << "the hot key answered only once the check gave up";
    ASSERT_TRUE(escapeFrom(SearchWindowOrSplash)) << "the search window did not take the keyboard";
    ASSERT_TRUE(
        waitUntil([this] { return visibleWindows(SearchWindowOrSplash).isEmpty(); }, Timeout))
        << "Escape did not hide the search window";

    site.setAnswer(200, "403");
    site.releaseHeldRequests();
    EXPECT_TRUE(
        waitUntil([this] { return !visibleWindows(SearchWindowOrSplash).isEmpty(); }, Timeout))
        << "the splash did not follow the update check";
}

TEST_F(LaunchCheckE2ETest, TheSplashWaitsUntilTheNewVersionAlertIsDismissed)
{
    site.setAnswer(200, "404");
    launch();
    ASSERT_TRUE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), Timeout))
        << "Brisko did not announce its launch: " << appErrors();
    ASSERT_TRUE(waitUntil([this] { return visibleWindows(NewVersionAlert).size() == 1; }, Timeout))
        << "no alert told of the newer version";
    EXPECT_TRUE(visibleWindows(SearchWindowOrSplash).isEmpty())
        << "the splash came up over the alert";

    ASSERT_TRUE(escapeFrom(NewVersionAlert)) << "the alert did not take the keyboard";
    EXPECT_TRUE(waitUntil([this] { return visibleWindows(NewVersionAlert).isEmpty(); }, Timeout))
        << "Escape did not dismiss the alert";
    EXPECT_TRUE(
        waitUntil([this] { return !visibleWindows(SearchWindowOrSplash).isEmpty(); }, Timeout))
        << "the splash did not follow the alert";
    EXPECT_FALSE(openedAnything()) << "Escape opened a page";
}

} // namespace
