// SPDX-License-Identifier: MIT
#include "platform/hotkey/portal/PortalHotKeyBackend.h"
#include "platform/core/Bundle.h"
#include "tests/e2e/support/TestProcesses.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Cause = HotKeyFailure::Cause;

constexpr int Timeout = 10000;
const QString StandIn = QStringLiteral(BRISKO_BINARY_DIR "/tests/brisko-desktop-stand-in");
constexpr HotKeyIdentity Identity{0x484B7943, 7};
constexpr int Space = 49;
constexpr int ControlOption = HotKeyModifier::Control | HotKeyModifier::Option;

/// The next line of `process`, while this process keeps serving its own bus traffic.
std::optional<QString> nextLine(ChildProcess &process, int timeoutMs = Timeout)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (process.process().canReadLine())
            return process.readLine(0);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        process.process().waitForReadyRead(10);
    }
    return std::nullopt;
}

class PortalHotKeyBackendTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start"; }

    void startPortal(const QString &kind = QStringLiteral("portal"))
    {
        portal = std::make_unique<ChildProcess>(StandIn, QStringList{kind});
        ASSERT_TRUE(portal->waitForLine(QStringLiteral("ready"), Timeout))
            << qPrintable(portal->standardError());
    }
    void createBackend()
    {
        backend = std::make_unique<PortalHotKeyBackend>(
            PortalHotKeyBackend::Timeouts{Timeout, Timeout, 1000}, QStringLiteral("Show Brisko"));
    }

    /// Registers Ctrl+Alt+Space and reads the stand-in's lines up to its binding: "bound
    /// SESSION ID TRIGGER DESCRIPTION", split in words; the lines before go to `before`.
    QStringList registerAndBind(HotKeyRef *ref, QStringList *before = nullptr)
    {
        *ref = backend->registerHotKey(Space, ControlOption, Identity);
        EXPECT_NE(*ref, 0u) << qPrintable(backend->unavailableReason());
        for (auto line = nextLine(*portal); line; line = nextLine(*portal)) {
            if (line->startsWith(QLatin1String("bound ")))
                return line->split(QLatin1Char(' '));
            if (before)
                before->append(*line);
        }
        ADD_FAILURE() << "the stand-in portal bound nothing";
        return {};
    }

    void command(const QString &line, const QString &answer)
    {
        portal->writeLine(line);
        EXPECT_EQ(nextLine(*portal), answer) << qPrintable(line);
    }

    PrivateSessionBus bus;
    std::unique_ptr<ChildProcess> portal;
    std::unique_ptr<PortalHotKeyBackend> backend;
};

TEST_F(PortalHotKeyBackendTest, BindsTheTriggerAndTurnsActivationsIntoPressesAndReleases)
{
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    startPortal();
    createBackend();
    Bundle::setMainBundlePath(QString());
    ASSERT_TRUE(backend->isAvailable()) << qPrintable(backend->unavailableReason());
    // The application names itself before it asks the portal for anything.
    EXPECT_EQ(nextLine(*portal), QStringLiteral("registered com.ambertide.Brisko"));

    QSignalSpy events(backend.get(), &HotKeyBackend::hotKeyEvent);
    HotKeyRef ref = 0;
    const QStringList bound = registerAndBind(&ref);
    ASSERT_EQ(bound.size(), 6);
    EXPECT_EQ(bound.mid(2),
              (QStringList{QStringLiteral("CTRL+ALT+space"), QStringLiteral("CTRL+ALT+space"),
                           QStringLiteral("Show"), QStringLiteral("Brisko")}));

    command(QStringLiteral("activate CTRL+ALT+space"), QStringLiteral("activated 1"));
    command(QStringLiteral("deactivate CTRL+ALT+space"), QStringLiteral("deactivated 1"));
    ASSERT_TRUE(waitUntil([&] { return events.count() >= 2; }, Timeout))
        << "the portal's signals became " << events.count() << " events";
    const auto pressed = events.at(0).at(0).value<HotKeyEvent>();
    const auto released = events.at(1).at(0).value<HotKeyEvent>();
    EXPECT_EQ(pressed.kind, HotKeyEvent::KindPressed);
    EXPECT_EQ(pressed.identity, Identity);
    EXPECT_EQ(released.kind, HotKeyEvent::KindReleased);
    EXPECT_EQ(released.identity, Identity);
}

// The token is inherited by every program started while it is in the environment; a huge one
// keeps them all from starting.
TEST_F(PortalHotKeyBackendTest, AnActivationTokenOfASaneLengthIsLentToThePressAlone)
{
    startPortal();
    createBackend();
    ASSERT_TRUE(backend->isAvailable()) << qPrintable(backend->unavailableReason());
    HotKeyRef ref = 0;
    ASSERT_EQ(registerAndBind(&ref).size(), 6);
    qunsetenv("XDG_ACTIVATION_TOKEN");
    QStringList duringPresses;
    QObject::connect(backend.get(), &HotKeyBackend::hotKeyEvent, [&](const HotKeyEvent &event) {
        if (event.kind == HotKeyEvent::KindPressed)
            duringPresses.append(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"));
    });
    const QString sane = QStringLiteral("kwin-4711_abc");
    const struct
    {
        QString token;
        QString lent;
    } cases[] = {{sane, sane}, {QString(200000, QLatin1Char('x')), QString()}};
    for (const auto &c : cases) {
        duringPresses.clear();
        command(QStringLiteral("activate CTRL+ALT+space ") + c.token,
                QStringLiteral("activated 1"));
        command(QStringLiteral("echo done"), QStringLiteral("done"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !duringPresses.isEmpty(); }, Timeout));
        EXPECT_EQ(duringPresses, QStringList{c.lent}) << c.token.size() << " characters";
        EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"))
            << "the token stayed in the environment after the press";
    }
}

TEST_F(PortalHotKeyBackendTest, AnswersThatBindNothingFailTheRegistrationAndCloseTheSession)
{
    startPortal();
    createBackend();
    const struct
    {
        const char *answer;
        Cause cause;
    } cases[] = {
        {"cancel", Cause::Refused},     {"refuse", Cause::Refused},  {"omit", Cause::Refused},
        {"unassigned", Cause::Refused}, {"silent", Cause::NoAnswer}, {"malformed", Cause::Refused},
    };
    for (const auto &c : cases) {
        command(QStringLiteral("answer ") + QLatin1String(c.answer),
                QStringLiteral("answer ") + QLatin1String(c.answer));
        QSignalSpy failures(backend.get(), &HotKeyBackend::registrationFailed);
        HotKeyRef ref = 0;
        const QStringList bound = registerAndBind(&ref);
        ASSERT_EQ(bound.size(), 6) << c.answer;
        ASSERT_TRUE(waitUntil([&] { return failures.count() >= 1; }, Timeout))
            << "no failure after " << c.answer;
        EXPECT_EQ(failures.at(0).at(0).value<HotKeyRef>(), ref);
        EXPECT_EQ(failures.at(0).at(1).value<HotKeyFailure>().cause, c.cause) << c.answer;
        EXPECT_EQ(nextLine(*portal), QStringLiteral("closed ") + bound.at(1)) << c.answer;
    }
}

// KDE Plasma 5.27 binds only what CreateSession brought, and files it under the session's
// token: the same token at every start keeps a key the user rebound in the desktop's settings.
TEST_F(PortalHotKeyBackendTest, ADesktopThatBindsOnlyAtSessionCreationGetsTheKeyUnderOneToken)
{
    startPortal();
    QStringList sessions;
    for (int start = 0; start < 2; ++start) {
        createBackend();
        command(QStringLiteral("answer create-only"), QStringLiteral("answer create-only"));
        QSignalSpy events(backend.get(), &HotKeyBackend::hotKeyEvent);
        QSignalSpy failures(backend.get(), &HotKeyBackend::registrationFailed);
        HotKeyRef ref = 0;
        QStringList before;
        const QStringList bound = registerAndBind(&ref, &before);
        ASSERT_EQ(bound.size(), 6) << "start " << start;
        EXPECT_TRUE(before.contains(
            QStringLiteral("offered %1 CTRL+ALT+space CTRL+ALT+space").arg(bound.at(1))))
            << qPrintable(before.join(QLatin1Char('\n')));
        // The stand-in signals the first start's session too, as a portal would for a
        // client that left without closing it; only this start's session is heard.
        command(QStringLiteral("activate CTRL+ALT+space"),
                QStringLiteral("activated %1").arg(start + 1));
        ASSERT_TRUE(waitUntil([&] { return events.count() >= 1; }, Timeout))
            << "start " << start << ": "
            << (failures.isEmpty()
                    ? "no failure"
                    : qPrintable(failures.at(0).at(1).value<HotKeyFailure>().detail));
        sessions.append(bound.at(1).section(QLatin1Char('/'), -1));
        backend.reset();
    }
    EXPECT_EQ(sessions, QStringList(2, PortalHotKeyBackend::sessionTokenFor(1)));
}

TEST_F(PortalHotKeyBackendTest, APortalWithoutGlobalShortcutsRegistersNothing)
{
    const struct
    {
        const char *portal;
        const char *reason;
    } cases[] = {
        {nullptr, "No desktop portal"},
        {"old-portal", "offers no global shortcuts"},
    };
    for (const auto &c : cases) {
        if (c.portal)
            startPortal(QLatin1String(c.portal));
        createBackend();
        EXPECT_FALSE(backend->isAvailable());
        EXPECT_TRUE(backend->unavailableReason().contains(QLatin1String(c.reason)))
            << qPrintable(backend->unavailableReason());
        HotKeyFailure failure;
        EXPECT_EQ(backend->registerHotKey(Space, ControlOption, Identity, &failure), 0u);
        EXPECT_EQ(failure.cause, Cause::Unavailable);
    }
}

TEST(PortalHotKeyTrigger, CombinationsBecomeShortcutsFormatTriggers)
{
    const struct
    {
        int keyCode;
        int modifiers;
        const char *trigger;
    } cases[] = {
        {49, 0x1800, "CTRL+ALT+space"},
        {40, 0x0300, "SHIFT+LOGO+k"},
        {122, 0, "F1"},
        {122, -1, "CTRL+ALT+SHIFT+LOGO+F1"},
        {116, 0x1000, "CTRL+Prior"},
        {87, 0x0800, "ALT+KP_5"},
        // No key of a PC keyboard: nothing to ask for.
        {52, 0x1000, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PortalHotKeyBackend::triggerFor(c.keyCode, c.modifiers),
                  QString::fromLatin1(c.trigger))
            << c.keyCode << " " << c.modifiers;
}

TEST(HotKeyBackendChoice, TheEnvironmentDecidesThenTheSessionAndThePortal)
{
    using Kind = HotKeyBackend::Kind;
    const struct
    {
        const char *requested;
        bool wayland;
        bool portalOffers;
        Kind kind;
        bool portalAsked;
        bool noted;
    } cases[] = {
        {"", false, true, Kind::X11, false, false},
        {"", true, true, Kind::Portal, true, false},
        {"", true, false, Kind::X11, true, false},
        {"x11", true, true, Kind::X11, false, false},
        {"portal", false, false, Kind::Portal, false, false},
        {" Portal ", false, false, Kind::Portal, false, false},
        {"kde", true, true, Kind::Portal, true, true},
        {"kde", false, true, Kind::X11, false, true},
    };
    for (const auto &c : cases) {
        bool asked = false;
        const HotKeyBackend::Choice choice =
            HotKeyBackend::choose(QString::fromLatin1(c.requested), c.wayland, [&] {
                asked = true;
                return c.portalOffers;
            });
        const QString label = QStringLiteral("\"%1\" wayland=%2 offers=%3")
                                  .arg(QLatin1String(c.requested))
                                  .arg(c.wayland)
                                  .arg(c.portalOffers);
        EXPECT_EQ(choice.kind, c.kind) << qPrintable(label);
        EXPECT_EQ(asked, c.portalAsked) << qPrintable(label);
        EXPECT_EQ(!choice.note.isEmpty(), c.noted) << qPrintable(label);
    }
}

} // namespace
