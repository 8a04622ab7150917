// SPDX-License-Identifier: MIT
#include "app/hotkey/HotKeyNotices.h"
#include "app/hotkey/StoredHotKey.h"
#include "common/SettingsKeys.h"
#include "platform/archive/ObjectArchive.h"
#include "platform/core/Bundle.h"
#include "tests/doubles/RecordingDesktopNotifier.h"
#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

namespace {

using Cause = HotKeyFailure::Cause;

const KeyCombo ControlOptionSpace(49, 0x1800);

class HotKeyNoticesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The key names come from the application's bundle.
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        auto notifier = std::make_unique<RecordingDesktopNotifier>();
        notifications = &notifier->notifications;
        DesktopNotifier::setShared(std::move(notifier));
    }
    void TearDown() override { DesktopNotifier::setShared(nullptr); }

    QList<RecordingDesktopNotifier::Notification> *notifications = nullptr;
};

TEST_F(HotKeyNoticesTest, EachCauseIsToldOncePerKeyWithTheWayOut)
{
    HotKeyNotices notices;
    EXPECT_TRUE(
        notices.registrationFailed(ControlOptionSpace, {Cause::Taken, QStringLiteral("a")}));
    // The settings are applied again after every change: the same trouble is not told again.
    EXPECT_FALSE(
        notices.registrationFailed(ControlOptionSpace, {Cause::Taken, QStringLiteral("b")}));
    EXPECT_TRUE(notices.registrationFailed(KeyCombo(40, 0x1200), {Cause::Taken, QString()}));
    EXPECT_TRUE(notices.registrationFailed(ControlOptionSpace, {Cause::Unavailable, QString()}));

    ASSERT_EQ(notifications->size(), 3);
    EXPECT_EQ(notifications->at(0).summary,
              QStringLiteral("Brisko's hot key Ctrl+Alt+Space is taken by another program"));
    EXPECT_EQ(notifications->at(1).summary,
              QStringLiteral("Brisko's hot key Ctrl+Shift+K is taken by another program"));
    EXPECT_EQ(notifications->at(2).summary,
              QStringLiteral("Brisko's hot key Ctrl+Alt+Space cannot work in this session"));
    // Another key helps against a taken one, not where no hot key works at all.
    for (const auto &notification : *notifications)
        EXPECT_TRUE(notification.body.contains(QLatin1String("\"brisko-ctl show\"")));
    EXPECT_TRUE(notifications->at(0).body.contains(QLatin1String("preferences")));
    EXPECT_FALSE(notifications->at(2).body.contains(QLatin1String("preferences")));
}

TEST(StoredHotKey, UnusableValuesGiveTheFactoryKeyWithAReasonAndStayStored)
{
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    TemporaryHome home;
    UserDefaults defaults(QStringLiteral("org.example.BriskoStoredHotKeyTest"));
    defaults.registerDefaults({{DefHotKey, ControlOptionSpace.archivedData()}});
    const QByteArray controlShiftK = KeyCombo(40, 0x1200).archivedData();
    const struct
    {
        const char *what;
        QVariant stored;
        KeyCombo expected;
        bool unusable;
    } cases[] = {
        {"nothing", QVariant(), ControlOptionSpace, false},
        {"a combination", controlShiftK, KeyCombo(40, 0x1200), false},
        {"no hot key", KeyCombo().archivedData(), KeyCombo(), false},
        {"F1 with every flag", KeyCombo(122, -1).archivedData(), KeyCombo(122, -1), false},
        {"a cut archive", controlShiftK.left(controlShiftK.size() - 1), ControlOptionSpace, true},
        {"a colour", ObjectArchive::archivedColor(Qt::red), ControlOptionSpace, true},
        {"text", QStringLiteral("Ctrl+Shift+K"), ControlOptionSpace, true},
        {"a key code no keyboard has", KeyCombo(300, 0x1000).archivedData(), ControlOptionSpace,
         true},
        // Valid by its flags, but a desktop would take the bare key and block typing "A".
        {"flags only beyond the four modifiers", KeyCombo(0, 0x10000).archivedData(),
         ControlOptionSpace, true},
    };
    for (const auto &c : cases) {
        if (c.stored.isValid())
            defaults.setObject(c.stored, DefHotKey);
        else
            defaults.removeObjectForKey(DefHotKey);
        QString problem;
        EXPECT_EQ(StoredHotKey::read(defaults, DefHotKey, &problem), c.expected) << c.what;
        EXPECT_EQ(!problem.isEmpty(), c.unusable) << c.what << ": " << qPrintable(problem);
        if (c.unusable) {
            EXPECT_TRUE(problem.contains(QLatin1String("Ctrl+Alt+Space"))) << qPrintable(problem);
        }
        EXPECT_EQ(defaults.objectForKey(DefHotKey),
                  c.stored.isValid() ? c.stored : QVariant(ControlOptionSpace.archivedData()))
            << c.what;
    }
}

} // namespace
