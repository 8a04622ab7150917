// SPDX-License-Identifier: MIT
// The real application in a real KDE Plasma Wayland session of the test's own: kwin_wayland
// on a virtual screen with its own global shortcuts, the real desktop portal with KDE's back
// end, and keys pressed on KWin's keyboard.
#include "common/keycombo/KeyCombo.h"
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/PrivateKdeSession.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace AppDriver;

const QString Caption = QStringLiteral("Brisko");

class WaylandE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.isRunning()) << qPrintable(session.problem());
        ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("ShowSplash"),
                                 QStringLiteral("-bool"), QStringLiteral("NO")}),
                  0);
    }

    /// Starts Brisko as the desktop would; `platform` names Qt's platform when not empty.
    void launch(const QString &platform = QString())
    {
        QProcessEnvironment environment = session.environment();
        // The samples by name: the expected files beside them hold no cards.
        environment.insert(QStringLiteral("BRISKO_ADDRESS_BOOK"),
                           QStringLiteral(BRISKO_TEST_DATA_DIR
                                          "/vcards/broken.vcf:" BRISKO_TEST_DATA_DIR
                                          "/vcards/quoted-parameters.vcf"));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                           QStringLiteral("brisko.launch.info=true"));
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        app = std::make_unique<ChildProcess>(Brisko, QStringList(), environment);
        ASSERT_TRUE(app->started());
        ASSERT_TRUE(app->waitForError(QStringLiteral("contacts in"), Timeout))
            << qPrintable(app->standardError());
        ASSERT_TRUE(waitUntil([] { return caughtUp(); }, Timeout));
    }

    int timesShown()
    {
        app->process().waitForReadyRead(20);
        return int(app->standardError().count(QLatin1String("search window shown")));
    }

    /// Presses `chord` until the search window is KWin's active window (the desktop binds the
    /// key a moment after the start); the time from the press that worked to the
    /// application's "shown", or -1.
    qint64 showWith(const QString &chord)
    {
        const int before = timesShown();
        QDeadlineTimer deadline(Timeout);
        qint64 elapsed = -1;
        while (elapsed < 0 && !deadline.hasExpired()) {
            QElapsedTimer timer;
            timer.start();
            if (!session.press(chord))
                return -1;
            if (waitUntil([&] { return timesShown() > before; }, 2000))
                elapsed = timer.elapsed();
        }
        if (elapsed < 0)
            return -1;
        const bool active = waitUntil(
            [this] {
                const auto all = session.windows();
                seen = all ? QString::fromUtf8(QJsonDocument(*all).toJson(QJsonDocument::Compact))
                           : QStringLiteral("(KWin did not answer)");
                const auto window = session.window(Caption);
                return window && window->value(QStringLiteral("active")).toBool();
            },
            Timeout);
        if (!active) {
            std::printf("the search window was shown, but KWin's windows are %s\n",
                        qPrintable(seen));
        }
        return active ? elapsed : -1;
    }

    /// Whether `chord` leaves the search window hidden for a while.
    bool showsNothing(const QString &chord)
    {
        if (!session.press(chord) || !caughtUp())
            return false;
        QThread::msleep(500);
        return !session.window(Caption).has_value();
    }

    void hide()
    {
        ASSERT_TRUE(session.press(QStringLiteral("escape")));
        ASSERT_TRUE(waitUntil([this] { return !session.window(Caption).has_value(); }, Timeout))
            << "Escape left the search window up";
    }

    /// What Brisko said on standard error beyond what it says at every start.
    QString complaints()
    {
        QStringList lines;
        for (const QString &line : app->standardError().split(QLatin1Char('\n'))) {
            if (!line.isEmpty() && !line.contains(QLatin1String("brisko.launch")) &&
                !line.contains(QLatin1String("address book:")))
                lines.append(line);
        }
        return lines.join(QLatin1Char('\n'));
    }

    PrivateKdeSession session;
    std::unique_ptr<ChildProcess> app;
    QString seen;
};

TEST_F(WaylandE2ETest, TheHotKeyShowsAFocusedLauncherWindowThatSearchesAndHides)
{
    launch();
    // Another program has the focus, as when the user works in it.
    ChildProcess rival(QStringLiteral("xmessage"), {QStringLiteral("rival")},
                       session.environment());
    ASSERT_TRUE(waitUntil(
        [this] {
            const auto window = session.window(QStringLiteral("xmessage"));
            return window && window->value(QStringLiteral("active")).toBool();
        },
        Timeout))
        << "the other program never had the focus";

    ASSERT_GE(showWith(QStringLiteral("ctrl+alt+space")), 0)
        << "the hot key did not bring up a focused search window: "
        << qPrintable(app->standardError());
    const auto shown = session.window(Caption);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->value(QStringLiteral("keepAbove")).toBool()) << "not kept above";
    EXPECT_TRUE(shown->value(QStringLiteral("skipTaskbar")).toBool()) << "in the taskbar";
    const int collapsed = shown->value(QStringLiteral("height")).toInt();

    // What is typed reaches the field: one person matches, and the card opens below it.
    ASSERT_TRUE(session.type(QStringLiteral("appleseed")));
    EXPECT_TRUE(waitUntil(
        [&] {
            const auto window = session.window(Caption);
            return window && window->value(QStringLiteral("height")).toInt() > collapsed;
        },
        Timeout))
        << "typing did not search";
    hide();
    EXPECT_EQ(complaints().toStdString(), std::string());
}

TEST_F(WaylandE2ETest, SuspendResumeAndANewKeyAreTakenOver)
{
    launch();
    ASSERT_TRUE(command(QStringLiteral("Suspend")));
    EXPECT_TRUE(showsNothing(QStringLiteral("ctrl+alt+space"))) << "a suspended key showed";
    ASSERT_TRUE(command(QStringLiteral("Resume")));
    ASSERT_TRUE(waitUntil([] { return caughtUp(); }, Timeout));
    ASSERT_GE(showWith(QStringLiteral("ctrl+alt+space")), 0) << "Resume lost the hot key";
    hide();

    const KeyCombo controlShiftK(40, KeyCombo::controlKey | KeyCombo::shiftKey);
    ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("HotKey"),
                             QStringLiteral("-data"),
                             QString::fromLatin1(controlShiftK.archivedData().toHex())}),
              0);
    ASSERT_TRUE(command(QStringLiteral("Refresh")));
    ASSERT_GE(showWith(QStringLiteral("ctrl+shift+k")), 0)
        << "the new key did not show: " << qPrintable(app->standardError());
    hide();
    EXPECT_TRUE(showsNothing(QStringLiteral("ctrl+alt+space"))) << "the old key still shows";
    EXPECT_EQ(complaints().toStdString(), std::string());
}

// What System Settings does when the user gives Brisko's shortcut another key: `qtKeys` in
// Qt's encoding, through kglobalaccel, which KWin runs.
bool rebind(const QString &component, const QString &action, int qtKeys)
{
    ChildProcess gdbus(QStringLiteral("gdbus"),
                       {QStringLiteral("call"), QStringLiteral("--session"),
                        QStringLiteral("--dest"), QStringLiteral("org.kde.kglobalaccel"),
                        QStringLiteral("--object-path"), QStringLiteral("/kglobalaccel"),
                        QStringLiteral("--method"),
                        QStringLiteral("org.kde.KGlobalAccel.setForeignShortcutKeys"),
                        QStringLiteral("['%1', '%2', '%1', 'Show Brisko']").arg(component, action),
                        QStringLiteral("[([%1, 0, 0, 0],)]").arg(qtKeys)});
    return gdbus.waitForFinished(Timeout) && gdbus.exitCode() == 0;
}

TEST_F(WaylandE2ETest, ASecondStartKeepsTheKeyTheUserGaveItInTheDesktop)
{
    launch();
    app.reset();
    // Ctrl+Alt+J in Qt's encoding.
    ASSERT_TRUE(rebind(QStringLiteral("brisko_hotkey1"), QStringLiteral("CTRL+ALT+space"),
                       (Qt::CTRL | Qt::ALT | Qt::Key_J).toCombined()))
        << "kglobalaccel took no new key for Brisko's shortcut";
    launch();
    EXPECT_GE(showWith(QStringLiteral("ctrl+alt+j")), 0)
        << "the key the user chose in the desktop was lost at the second start";
    hide();

    QDBusMessage list = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/kglobalaccel"),
        QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("allComponents"));
    const QDBusMessage components = session.call(list);
    int brisko = 0;
    for (const QDBusObjectPath &path :
         qdbus_cast<QList<QDBusObjectPath>>(components.arguments().value(0)))
        brisko += path.path().contains(QLatin1String("brisko")) ? 1 : 0;
    EXPECT_EQ(brisko, 1) << "each start left a shortcut group of its own";
}

// Native Wayland next to XWayland, which a Wayland session gets by default: both show the
// window on the hot key; only XWayland keeps it above the others and out of the taskbar.
TEST_F(WaylandE2ETest, NativeWaylandAndXWaylandBothShowTheWindowQuietly)
{
    struct Run
    {
        const char *platform;
        qint64 milliseconds = -1;
        bool above = false;
    } runs[] = {{"wayland"}, {"xcb"}};
    for (Run &each : runs) {
        launch(QString::fromLatin1(each.platform));
        each.milliseconds = showWith(QStringLiteral("ctrl+alt+space"));
        ASSERT_GE(each.milliseconds, 0) << each.platform << ": " << qPrintable(complaints());
        each.above = session.window(Caption)->value(QStringLiteral("keepAbove")).toBool();
        hide();
        EXPECT_EQ(complaints().toStdString(), std::string()) << each.platform;
        RecordProperty(std::string("milliseconds_") + each.platform, int(each.milliseconds));
        std::printf("key press to window shown, %s: %lld ms\n", each.platform,
                    static_cast<long long>(each.milliseconds));
        app.reset();
    }
    EXPECT_FALSE(runs[0].above);
    EXPECT_TRUE(runs[1].above);
}

} // namespace

namespace {

// While the hot key recorder listens, it holds the keyboard: KWin's own Meta+W (its overview)
// reaches the recorder instead, and acts again once the recorder is closed.
TEST_F(WaylandE2ETest, TheRecorderKeepsTheDesktopsShortcutsFromActing)
{
    ChildProcess host(QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-preferences"), {},
                      session.environment());
    const auto activeWindow = [this](const QString &caption) {
        return waitUntil(
            [&] {
                const auto window = session.window(caption);
                return window && window->value(QStringLiteral("active")).toBool();
            },
            Timeout);
    };
    ASSERT_TRUE(activeWindow(Caption))
        << "the preferences did not come up: " << qPrintable(host.standardError());
    ASSERT_TRUE(session.press(QStringLiteral("alt+h")));
    ASSERT_TRUE(activeWindow(QStringLiteral("Change Hot Key"))) << "Alt+H opened no recorder";
    // The recorder takes the keyboard once the window system has mapped its sheet.
    QThread::msleep(500);

    session.kwinShortcutsFired();
    ASSERT_TRUE(session.press(QStringLiteral("super+w")));
    QThread::msleep(500);
    EXPECT_FALSE(session.kwinShortcutsFired().contains(QStringLiteral("Overview")))
        << "KWin carried out Meta+W while the recorder listened";

    ASSERT_TRUE(session.press(QStringLiteral("escape")));
    ASSERT_TRUE(
        waitUntil([&] { return !session.window(QStringLiteral("Change Hot Key")); }, Timeout))
        << "Escape left the recorder up";
    ASSERT_TRUE(session.press(QStringLiteral("super+w")));
    EXPECT_TRUE(waitUntil(
        [&] { return session.kwinShortcutsFired().contains(QStringLiteral("Overview")); }, Timeout))
        << "KWin's Meta+W does not act at all, so the check above proves nothing";
}

} // namespace
