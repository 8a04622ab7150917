// SPDX-License-Identifier: MIT
// The real application with the desktop services a session offers standing in on its private
// bus: the portal's global shortcuts of a Wayland desktop, and the notification server.
#include "common/keycombo/KeyCombo.h"
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/RivalClient.h"
#include "tests/support/TemporaryHome.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace AppDriver;

const QString StandIn = QStringLiteral(BRISKO_BINARY_DIR "/tests/brisko-desktop-stand-in");

class HotKeyDesktopE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        ASSERT_TRUE(display.isRunning()) << qPrintable(display.problem());
        ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("ShowSplash"),
                                 QStringLiteral("-bool"), QStringLiteral("NO")}),
                  0);
        monitor = std::make_unique<ChildProcess>(Ctl, QStringList{QStringLiteral("monitor")});
        ASSERT_TRUE(monitor->waitForError(QStringLiteral("monitoring"), Timeout))
            << qPrintable(monitor->standardError());
    }

    void startDesktop(const QStringList &services)
    {
        desktop = std::make_unique<ChildProcess>(StandIn, services);
        ASSERT_TRUE(desktop->waitForLine(QStringLiteral("ready"), Timeout))
            << qPrintable(desktop->standardError());
    }

    /// Starts Brisko as a session of `sessionType` would, with `backend` in
    /// BRISKO_HOTKEY_BACKEND unless it is empty.
    void launch(const QString &sessionType, const QString &backend = QString())
    {
        QProcessEnvironment environment = display.environment();
        environment.insert(QStringLiteral("XDG_SESSION_TYPE"), sessionType);
        environment.remove(QStringLiteral("BRISKO_HOTKEY_BACKEND"));
        if (!backend.isEmpty())
            environment.insert(QStringLiteral("BRISKO_HOTKEY_BACKEND"), backend);
        app = std::make_unique<ChildProcess>(Brisko, QStringList(), environment);
        ASSERT_TRUE(app->started()) << "could not start " << qPrintable(Brisko);
        ASSERT_TRUE(monitor->waitForLine(QStringLiteral("AppDidLaunch"), Timeout))
            << "Brisko did not announce its launch: " << qPrintable(app->standardError());
    }

    /// The stand-in's next line that starts with `prefix`, split in words; empty when none
    /// comes in time.
    QStringList desktopSays(const QString &prefix, int timeoutMs = Timeout)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            const auto line = desktop->readLine(int(std::max<qint64>(1, deadline.remainingTime())));
            if (line && line->startsWith(prefix))
                return line->split(QLatin1Char(' '));
        }
        return {};
    }

    QJsonObject nextNotification(int timeoutMs = Timeout)
    {
        const QStringList words = desktopSays(QStringLiteral("notify "), timeoutMs);
        if (words.isEmpty())
            return {};
        return QJsonDocument::fromJson(words.mid(1).join(QLatin1Char(' ')).toUtf8()).object();
    }

    bool shows()
    {
        return waitUntil([this] { return searchWindowVisible(display); }, Timeout);
    }
    /// Activates `trigger` on the portal's side; true when the application has handled the
    /// activation (it answers a ping only after the signal that came in before) and shows
    /// nothing.
    bool activationShowsNothing(const QString &trigger)
    {
        desktop->writeLine(QStringLiteral("activate ") + trigger);
        return !desktopSays(QStringLiteral("activated ")).isEmpty() && caughtUp() &&
               !searchWindowVisible(display);
    }

    /// The notifications the stand-in has shown by now: it handles its input in order, so the
    /// echo comes after every notification that reached it before.
    std::string notificationsSoFar()
    {
        desktop->writeLine(QStringLiteral("echo caught-up"));
        QStringList said;
        if (!desktop->waitForLine(QStringLiteral("caught-up"), Timeout, &said))
            return "(no echo from the stand-in)";
        return said.filter(QRegularExpression(QStringLiteral("^notify ")))
            .join(QLatin1Char('\n'))
            .toStdString();
    }

    TemporaryHome home;
    PrivateSessionBus bus;
    PrivateDisplay display;
    std::unique_ptr<ChildProcess> monitor;
    std::unique_ptr<ChildProcess> desktop;
    std::unique_ptr<ChildProcess> app;
};

TEST_F(HotKeyDesktopE2ETest, AWaylandSessionBindsThroughThePortalAndFollowsSuspendAndRefresh)
{
    startDesktop({QStringLiteral("portal")});
    launch(QStringLiteral("wayland"));
    EXPECT_EQ(desktopSays(QStringLiteral("registered ")).value(1), Domain);
    const QStringList bound = desktopSays(QStringLiteral("bound "));
    ASSERT_EQ(bound.size(), 6) << "the portal bound nothing: " << qPrintable(app->standardError());
    EXPECT_EQ(bound.mid(2),
              (QStringList{QStringLiteral("CTRL+ALT+space"), QStringLiteral("CTRL+ALT+space"),
                           QStringLiteral("Show"), QStringLiteral("Brisko")}));

    // The stand-in signals closed sessions too, as a signal already on its way would.
    ASSERT_TRUE(command(QStringLiteral("Suspend")));
    EXPECT_EQ(desktopSays(QStringLiteral("closed ")).value(1), bound.at(1));
    EXPECT_TRUE(activationShowsNothing(QStringLiteral("CTRL+ALT+space")))
        << "a suspended hot key showed the search window";

    ASSERT_TRUE(command(QStringLiteral("Resume")));
    const QString resumed = desktopSays(QStringLiteral("bound ")).value(1);
    ASSERT_FALSE(resumed.isEmpty()) << "Resume bound nothing";

    const KeyCombo controlShiftK(40, KeyCombo::controlKey | KeyCombo::shiftKey);
    ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("HotKey"),
                             QStringLiteral("-data"),
                             QString::fromLatin1(controlShiftK.archivedData().toHex())}),
              0);
    ASSERT_TRUE(command(QStringLiteral("Refresh")));
    EXPECT_EQ(desktopSays(QStringLiteral("closed ")).value(1), resumed);
    EXPECT_EQ(desktopSays(QStringLiteral("bound ")).value(3), QStringLiteral("CTRL+SHIFT+k"));

    EXPECT_TRUE(activationShowsNothing(QStringLiteral("CTRL+ALT+space")))
        << "the old hot key still shows the search window";
    desktop->writeLine(QStringLiteral("activate CTRL+SHIFT+k"));
    EXPECT_TRUE(shows()) << "the portal's activation did not bring the search window up";
}

TEST_F(HotKeyDesktopE2ETest, AKeyTakenByAnotherProgramIsToldOnce)
{
    RivalClient rival(display.display());
    ASSERT_TRUE(rival.isConnected());
    ASSERT_TRUE(rival.grabSpace(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    startDesktop({QStringLiteral("notifications")});
    launch(QStringLiteral("x11"));

    const QJsonObject told = nextNotification();
    EXPECT_EQ(told[QStringLiteral("summary")].toString(),
              QStringLiteral("Brisko's hot key Ctrl+Alt+Space is taken by another program"))
        << qPrintable(app->standardError());
    EXPECT_TRUE(told[QStringLiteral("body")].toString().contains(QLatin1String("brisko-ctl show")));
    EXPECT_EQ(told[QStringLiteral("app")].toString(), QStringLiteral("Brisko"));

    // Every one of these registers the key again and fails again, and says nothing new.
    for (const char *again : {"Refresh", "Suspend", "Resume"})
        ASSERT_TRUE(command(QLatin1String(again)));
    EXPECT_EQ(notificationsSoFar(), "") << "the same trouble was told twice";
}

TEST_F(HotKeyDesktopE2ETest, AnAbsentPortalFailsTheHotKeyAndTheApplicationStillServes)
{
    startDesktop({QStringLiteral("notifications")});
    launch(QStringLiteral("wayland"), QStringLiteral("portal"));
    EXPECT_EQ(nextNotification()[QStringLiteral("summary")].toString(),
              QStringLiteral("Brisko's hot key Ctrl+Alt+Space cannot work in this session"))
        << qPrintable(app->standardError());
    EXPECT_TRUE(app->waitForError(QStringLiteral("No desktop portal"), Timeout))
        << "standard error does not say why: " << qPrintable(app->standardError());
    EXPECT_EQ(run(Ctl, {QStringLiteral("show")}), 0);
    EXPECT_TRUE(shows()) << "without a hot key, brisko-ctl show must still bring Brisko up";
}

} // namespace
