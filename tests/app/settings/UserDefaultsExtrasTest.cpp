// SPDX-License-Identifier: MIT
#include "app/settings/UserDefaultsExtras.h"
#include "common/SettingsKeys.h"
#include "platform/core/PropertyList.h"
#include "tests/support/TemporaryHome.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

const QString kDomain = QStringLiteral("org.example.BriskoExtrasTest");

class UserDefaultsExtrasTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Not left to the environment: ctest runs these without BRISKO_MAIN_BUNDLE.
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    }

    QVariantMap onDisk() const
    {
        return PropertyList::readFile(UserDefaults::pathForDomain(kDomain)).toMap();
    }

    TemporaryHome home;
    UserDefaults defaults{kDomain};
};

} // namespace

TEST_F(UserDefaultsExtrasTest, IncrementStartsFromZeroAndIsOnDiskAtOnce)
{
    EXPECT_EQ(UserDefaultsExtras::incrementIntegerForKey(defaults, DefActivationCount), 1);
    EXPECT_EQ(onDisk().value(DefActivationCount).toLongLong(), 1);
    defaults.registerDefaults({{DefActivationCount, qint64(0)}});
    UserDefaultsExtras::incrementIntegerForKey(defaults, DefActivationCount);
    EXPECT_EQ(UserDefaults(kDomain).integerForKey(DefActivationCount), 2);
}

TEST_F(UserDefaultsExtrasTest, DatesAreWholeSecondsAfterTheReferenceDate)
{
    const QString key = QStringLiteral("date");
    EXPECT_FALSE(UserDefaultsExtras::dateForKey(defaults, key).isValid());
    defaults.setInteger(0, key);
    EXPECT_FALSE(UserDefaultsExtras::dateForKey(defaults, key).isValid());
    defaults.setInteger(-5, key);
    EXPECT_FALSE(UserDefaultsExtras::dateForKey(defaults, key).isValid());

    const QDateTime date(QDate(2024, 2, 29), QTime(12, 30, 5, 900), QTimeZone::utc());
    UserDefaultsExtras::setDate(defaults, date, key);
    EXPECT_EQ(defaults.integerForKey(key), 730902605); // 730902605.9 s after 2001-01-01, truncated
    EXPECT_EQ(UserDefaultsExtras::dateForKey(defaults, key),
              QDateTime(QDate(2024, 2, 29), QTime(12, 30, 5), QTimeZone::utc()));
}

TEST_F(UserDefaultsExtrasTest, KeyComboIsNeverNothing)
{
    EXPECT_EQ(UserDefaultsExtras::keyComboForKey(defaults, DefHotKey), KeyCombo::clearKeyCombo());
    defaults.setObject(QByteArray("not an archive"), DefHotKey);
    EXPECT_EQ(UserDefaultsExtras::keyComboForKey(defaults, DefHotKey), KeyCombo::clearKeyCombo());
    defaults.setObject(QStringLiteral("49"), DefHotKey);
    EXPECT_FALSE(UserDefaultsExtras::keyComboForKey(defaults, DefHotKey).isValid());

    UserDefaultsExtras::setKeyCombo(defaults, KeyCombo(3, 0x0900), DefHotKey);
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaultsExtras::keyComboForKey(UserDefaults(kDomain), DefHotKey),
              KeyCombo(3, 0x0900));
    UserDefaultsExtras::setKeyCombo(defaults, std::optional<KeyCombo>(), DefHotKey);
    EXPECT_FALSE(defaults.objectForKey(DefHotKey).isValid());
}

TEST_F(UserDefaultsExtrasTest, ColoursFontsPointsAndStringsRoundTrip)
{
    UserDefaultsExtras::setColor(defaults, QColor(47, 68, 97, 200), DefCardHeaderBgColor);
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults reader(kDomain);
    EXPECT_EQ(UserDefaultsExtras::colorForKey(reader, DefCardHeaderBgColor),
              QColor(47, 68, 97, 200));
    EXPECT_FALSE(UserDefaultsExtras::colorForKey(reader, DefLargeTypeFgColor).isValid());

    QFont font(QStringLiteral("DejaVu Sans"), 20);
    font.setItalic(true);
    UserDefaultsExtras::setFont(defaults, font, QStringLiteral("font"));
    EXPECT_TRUE(UserDefaultsExtras::fontForKey(defaults, QStringLiteral("font"))->italic());
    EXPECT_FALSE(UserDefaultsExtras::fontForKey(defaults, DefCardHeaderBgColor).has_value());

    UserDefaultsExtras::setPoint(defaults, QPointF(0.1, -3.5), QStringLiteral("origin"));
    const QPointF point = UserDefaultsExtras::pointForKey(defaults, QStringLiteral("origin"));
    EXPECT_FLOAT_EQ(static_cast<float>(point.x()), 0.1f); // single precision
    EXPECT_EQ(point.y(), -3.5);
    EXPECT_EQ(UserDefaultsExtras::pointForKey(defaults, QStringLiteral("none")), QPointF());

    EXPECT_EQ(UserDefaultsExtras::stringForKey(defaults, DefVonageName, QStringLiteral("x")),
              QStringLiteral("x"));
    defaults.setObject(QString(), DefVonageName);
    EXPECT_EQ(UserDefaultsExtras::stringForKey(defaults, DefVonageName, QStringLiteral("x")),
              QString());
    defaults.setObject(QVariantList{QStringLiteral("a")}, DefVonageName);
    EXPECT_EQ(UserDefaultsExtras::stringForKey(defaults, DefVonageName, QStringLiteral("x")),
              QStringLiteral("x"));
    defaults.setInteger(42, DefVonageName);
    EXPECT_EQ(UserDefaultsExtras::stringForKey(defaults, DefVonageName, QStringLiteral("x")),
              QStringLiteral("42"));
}

TEST_F(UserDefaultsExtrasTest, FactoryDefaultsRegisterFromTheBundle)
{
    ASSERT_TRUE(UserDefaultsExtras::registerDefaultsWithResource(
        defaults, QStringLiteral("FactoryDefaults")));
    EXPECT_EQ(UserDefaultsExtras::keyComboForKey(defaults, DefHotKey), KeyCombo(49, 0x1800));
    EXPECT_TRUE(UserDefaultsExtras::colorForKey(defaults, DefLargeTypeBgColor).isValid());
    EXPECT_TRUE(defaults.boolForKey(DefShowSplash));
    EXPECT_FALSE(
        UserDefaultsExtras::registerDefaultsWithResource(defaults, QStringLiteral("Missing")));
    // Registered values are served, never written.
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_TRUE(onDisk().isEmpty());
}
