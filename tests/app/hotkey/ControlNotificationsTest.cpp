// SPDX-License-Identifier: MIT
#include "app/notifications/ControlNotifications.h"
#include "app/hotkey/HotKeyCenter.h"
#include "tests/doubles/RecordingHotKeyBackend.h"
#include "tests/e2e/support/PrivateBusTest.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Timeout = 10000;
const QString Name = ControlCommands::NotificationName;
const QString Marker = QStringLiteral("Marker");

/// The controller's side as the handlers see it: every call in order.
class RecordingTarget final : public ControlNotificationTarget
{
public:
    void terminate() override { log << QStringLiteral("terminate"); }
    void synchronizeUserDefaults() override { log << QStringLiteral("synchronize"); }
    void preferenceDidChange() override
    {
        log << QStringLiteral("preferenceDidChange");
        // Tells the pane side that everything posted before this point has been handled.
        if (notifications)
            notifications->_postNotificationObject(Marker);
    }
    void activateIgnoringOtherApps() override { log << QStringLiteral("activate"); }
    void checkForUpdates() override { log << QStringLiteral("checkForUpdates"); }
    void forgetSearchHistory() override { log << QStringLiteral("forgetSearchHistory"); }

    QStringList log;
    ControlNotifications *notifications = nullptr;
};

class ControlNotificationsTest : public PrivateBusTest
{
protected:
    void SetUp() override
    {
        PrivateBusTest::SetUp();
        if (HasFatalFailure())
            return;
        auto backend = std::make_unique<RecordingHotKeyBackend>();
        recorder = backend.get();
        hotKeys = std::make_unique<HotKeyCenter>(std::move(backend));
        ASSERT_TRUE(hotKeys->addHotKey(QStringLiteral("HotKey"), KeyCombo(49, 0x1800), &context,
                                       [](HotKeyCenter *) {}));
        appCenter = std::make_unique<DistributedNotificationCenter>();
        paneCenter = std::make_unique<DistributedNotificationCenter>();
        ASSERT_TRUE(appCenter->isAvailable()) << qPrintable(appCenter->unavailableReason());
        notifications =
            std::make_unique<ControlNotifications>(target, hotKeys.get(), appCenter.get());
        target.notifications = notifications.get();
        paneCenter->addObserver(&context, Name, QString(),
                                [this](const DistributedNotification &n) { heard << n; });
        ASSERT_TRUE(paneCenter->flush());
        notifications->applicationDidFinishLaunching();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !heard.isEmpty(); }, Timeout))
            << "no AppDidLaunch at the end of the launch within 10 s";
        ASSERT_EQ(heardObjects(), QStringList{ControlCommands::AppDidLaunch});
        heard.clear();
    }

    QStringList heardObjects() const
    {
        QStringList objects;
        for (const auto &n : heard)
            objects << n.object;
        return objects;
    }

    /// Posts from the pane's side, then "Refresh" as a closing mark, and waits until the
    /// application has handled all of it and its answers have come back.
    void postFromPane(const QList<std::pair<QString, QString>> &notifications)
    {
        for (const auto &[name, object] : notifications)
            paneCenter->postNotification(name, object);
        paneCenter->postNotification(Name, ControlCommands::Refresh);
        ASSERT_TRUE(QTest::qWaitFor([this] { return heardObjects().contains(Marker); }, Timeout))
            << "the application side did not handle the closing Refresh within 10 s; log: "
            << qPrintable(target.log.join(QLatin1Char(',')));
    }

    QObject context;
    RecordingHotKeyBackend *recorder = nullptr;
    std::unique_ptr<HotKeyCenter> hotKeys;
    std::unique_ptr<DistributedNotificationCenter> appCenter;
    std::unique_ptr<DistributedNotificationCenter> paneCenter;
    RecordingTarget target;
    std::unique_ptr<ControlNotifications> notifications;
    QList<DistributedNotification> heard;
};

TEST_F(ControlNotificationsTest, EachCommandReachesItsHandlerInOrder)
{
    postFromPane({{Name, ControlCommands::Shutdown},
                  {Name, ControlCommands::CheckForUpdates},
                  {Name, ControlCommands::ForgetSearchHistory}});
    EXPECT_EQ(target.log,
              (QStringList{QStringLiteral("terminate"), QStringLiteral("activate"),
                           QStringLiteral("checkForUpdates"), QStringLiteral("forgetSearchHistory"),
                           QStringLiteral("synchronize"), QStringLiteral("preferenceDidChange")}));
}

TEST_F(ControlNotificationsTest, SuspendAndResumeSwitchTheHotKeyCenter)
{
    postFromPane({{Name, ControlCommands::Suspend}});
    EXPECT_FALSE(hotKeys->enabled());
    EXPECT_TRUE(recorder->registrations().isEmpty());
    EXPECT_FALSE(recorder->press(49, 0x1800));

    heard.clear();
    postFromPane({{Name, ControlCommands::Resume}});
    EXPECT_TRUE(hotKeys->enabled());
    EXPECT_EQ(recorder->registrationCount(49, 0x1800), 1);
}

TEST_F(ControlNotificationsTest, EveryControlDidStartGetsExactlyOneAppDidLaunch)
{
    postFromPane({{Name, ControlCommands::ControlDidStart}});
    EXPECT_EQ(heardObjects().count(ControlCommands::AppDidLaunch), 1);
    heard.clear();
    postFromPane(
        {{Name, ControlCommands::ControlDidStart}, {Name, ControlCommands::ControlDidStart}});
    EXPECT_EQ(heardObjects().count(ControlCommands::AppDidLaunch), 2);
}

TEST_F(ControlNotificationsTest, UnknownCommandsAndOtherNamesAreIgnored)
{
    postFromPane({{Name, QStringLiteral("Bogus")},
                  {Name, QStringLiteral("refresh")},
                  {Name, ControlCommands::AppDidLaunch},
                  {QStringLiteral("org.example.Other"), ControlCommands::Refresh},
                  {QStringLiteral("org.example.Other"), ControlCommands::Shutdown}});
    // Only the closing Refresh acted.
    EXPECT_EQ(target.log,
              (QStringList{QStringLiteral("synchronize"), QStringLiteral("preferenceDidChange")}));
}

TEST_F(ControlNotificationsTest, RegisteringTwiceKeepsOneObserverPerCommand)
{
    notifications->registerObservers();
    postFromPane({});
    EXPECT_EQ(target.log.count(QStringLiteral("preferenceDidChange")), 1);
}

TEST_F(ControlNotificationsTest, PostsCarryTheCommandAndUserInfo)
{
    ASSERT_TRUE(notifications->_postNotificationObject(
        ControlCommands::SetTab, {{QStringLiteral("identifier"), QStringLiteral("about")}}));
    notifications->applicationWillTerminate();
    ASSERT_TRUE(QTest::qWaitFor([this] { return heard.size() == 2; }, Timeout))
        << "heard " << qPrintable(heardObjects().join(QLatin1Char(',')));
    EXPECT_EQ(heard[0].name, Name);
    EXPECT_EQ(heard[0].object, ControlCommands::SetTab);
    EXPECT_EQ(heard[0].userInfo.value(QStringLiteral("identifier")).toString(),
              QStringLiteral("about"));
    EXPECT_EQ(heard[1].object, ControlCommands::AppDidTerminate);
    EXPECT_TRUE(heard[1].userInfo.isEmpty());
}

} // namespace

TEST_F(ControlNotificationsTest, AFloodOfRefreshesReloadsTheSettingsOnceBeforeTheNextCommand)
{
    for (int i = 0; i < 2000; ++i)
        paneCenter->postNotification(Name, ControlCommands::Refresh);
    paneCenter->postNotification(Name, ControlCommands::ControlDidStart);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return heardObjects().contains(ControlCommands::AppDidLaunch); }, Timeout))
        << "the command after the flood was not answered within 10 s";
    const qsizetype reloads = target.log.count(QStringLiteral("preferenceDidChange"));
    EXPECT_GE(reloads, 1);
    // Refreshes arriving together are read once; how many arrive together depends on the
    // machine's speed (sanitizers, load), so only a reload per Refresh is a fault.
    EXPECT_LT(reloads, 200) << "the settings were read again for each Refresh";
    // The Refresh waiting when the command came was carried out first.
    EXPECT_EQ(heardObjects().constLast(), ControlCommands::AppDidLaunch);
    EXPECT_TRUE(heardObjects().contains(Marker));
}
