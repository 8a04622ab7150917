// SPDX-License-Identifier: MIT
#include "common/DictionaryAccess.h"
#include "common/MutableDictionaryAccess.h"
#include "common/SettingsKeys.h"
#include "common/keycombo/KeyComboAdditions.h"
#include "platform/archive/ObjectArchive.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = QStringLiteral("key");

QVariantMap with(const QVariant &value)
{
    return {{kKey, value}};
}
} // namespace

TEST(DictionaryAccess, NumbersBooleansAndNumericTextAnswerTypedReads)
{
    EXPECT_EQ(DictionaryAccess::integerForKey(with(qint64(42)), kKey), 42);
    EXPECT_EQ(DictionaryAccess::integerForKey(with(QStringLiteral(" -12 apples")), kKey), -12);
    EXPECT_EQ(DictionaryAccess::integerForKey(with(2.9), kKey), 2);
    EXPECT_EQ(DictionaryAccess::integerForKey(with(true), kKey), 1);
    EXPECT_EQ(DictionaryAccess::integerForKey(with(qint64(1) << 40), kKey),
              std::numeric_limits<int>::max());
    EXPECT_EQ(DictionaryAccess::longLongForKey(with(QStringLiteral("9223372036854775807")), kKey),
              std::numeric_limits<qint64>::max());
    EXPECT_EQ(DictionaryAccess::longLongForKey(with(QStringLiteral("99999999999999999999")), kKey),
              std::numeric_limits<qint64>::max());
    EXPECT_FLOAT_EQ(DictionaryAccess::floatForKey(with(QStringLiteral("2.5e1x")), kKey), 25.0f);
    EXPECT_FLOAT_EQ(DictionaryAccess::floatForKey(with(qint64(3)), kKey), 3.0f);

    EXPECT_TRUE(DictionaryAccess::boolForKey(with(QStringLiteral("YES")), kKey));
    EXPECT_TRUE(DictionaryAccess::boolForKey(with(QStringLiteral("true")), kKey));
    EXPECT_TRUE(DictionaryAccess::boolForKey(with(QStringLiteral(" 007")), kKey));
    EXPECT_FALSE(DictionaryAccess::boolForKey(with(QStringLiteral("NO")), kKey));
    EXPECT_FALSE(DictionaryAccess::boolForKey(with(QStringLiteral("000")), kKey));
    EXPECT_TRUE(DictionaryAccess::boolForKey(with(0.5), kKey));

    // Values that do not answer number reads, and absent keys, read as zero.
    for (const QVariant &other : {QVariant(QVariantList{1, 2}), QVariant(QByteArray("1")),
                                  QVariant(QVariantMap{}), QVariant()}) {
        EXPECT_EQ(DictionaryAccess::integerForKey(with(other), kKey), 0);
        EXPECT_FALSE(DictionaryAccess::boolForKey(with(other), kKey));
        EXPECT_EQ(DictionaryAccess::floatForKey(with(other), kKey), 0.0f);
    }
    EXPECT_EQ(DictionaryAccess::longLongForKey({}, kKey), 0);
}

TEST(DictionaryAccess, PointsNeedTwoLeadingNumbers)
{
    EXPECT_EQ(DictionaryAccess::pointForKey(
                  with(QVariantList{1.5, qint64(-2), QStringLiteral("z")}), kKey),
              QPointF(1.5, -2));
    EXPECT_EQ(DictionaryAccess::pointForKey(with(QVariantList{1.5}), kKey), QPointF());
    EXPECT_EQ(DictionaryAccess::pointForKey(with(QVariantList{QStringLiteral("1"), 2.0}), kKey),
              QPointF());
    EXPECT_EQ(DictionaryAccess::pointForKey(with(QStringLiteral("{1, 2}")), kKey), QPointF());
}

TEST(MutableDictionaryAccess, WritesReadBackThroughTheReads)
{
    QVariantMap dictionary;
    MutableDictionaryAccess::setInteger(dictionary, -7, QStringLiteral("i"));
    MutableDictionaryAccess::setFloat(dictionary, 0.5f, QStringLiteral("f"));
    MutableDictionaryAccess::setBool(dictionary, true, QStringLiteral("b"));
    MutableDictionaryAccess::setPoint(dictionary, QPointF(0.1, 2.25), QStringLiteral("p"));
    MutableDictionaryAccess::setColor(dictionary, QColor(10, 20, 30), QStringLiteral("c"));
    QFont font(QStringLiteral("DejaVu Serif"), 9);
    MutableDictionaryAccess::setFont(dictionary, font, QStringLiteral("font"));

    EXPECT_EQ(DictionaryAccess::integerForKey(dictionary, QStringLiteral("i")), -7);
    EXPECT_FLOAT_EQ(DictionaryAccess::floatForKey(dictionary, QStringLiteral("f")), 0.5f);
    EXPECT_TRUE(DictionaryAccess::boolForKey(dictionary, QStringLiteral("b")));
    // Double precision, so 0.1 survives exactly.
    EXPECT_EQ(DictionaryAccess::pointForKey(dictionary, QStringLiteral("p")), QPointF(0.1, 2.25));
    EXPECT_EQ(DictionaryAccess::colorForKey(dictionary, QStringLiteral("c")), QColor(10, 20, 30));
    EXPECT_EQ(ObjectArchive::unarchiveFont(dictionary.value(QStringLiteral("font")).toByteArray())
                  ->family(),
              QStringLiteral("DejaVu Serif"));
    EXPECT_FALSE(DictionaryAccess::colorForKey(dictionary, QStringLiteral("font")).isValid());

    MutableDictionaryAccess::setColor(dictionary, QColor(), QStringLiteral("c"));
    EXPECT_FALSE(dictionary.contains(QStringLiteral("c")));
}

TEST(FactoryDefaults, HoldEveryKeyInItsEncoding)
{
    // Not left to the environment: ctest runs these without BRISKO_MAIN_BUNDLE.
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    const QVariantMap defaults =
        DictionaryAccess::dictionaryWithContentsOfResource(QStringLiteral("FactoryDefaults"));
    ASSERT_FALSE(defaults.isEmpty()) << "FactoryDefaults.plist missing from the application bundle";
    for (const QString &key : allSettingsKeys())
        EXPECT_TRUE(defaults.contains(key)) << qPrintable(key);

    for (const QString &key : {DefCardHeaderBgColor, DefHeaderNameColor, DefHeaderCompanyColor,
                               DefLargeTypeFgColor, DefLargeTypeBgColor})
        EXPECT_TRUE(DictionaryAccess::colorForKey(defaults, key).isValid()) << qPrintable(key);

    const std::optional<KeyCombo> hotKey = KeyComboAdditions::keyComboForKey(defaults, DefHotKey);
    ASSERT_TRUE(hotKey.has_value());
    EXPECT_EQ(*hotKey, KeyCombo(49, 0x1800));
    EXPECT_TRUE(hotKey->isValid());
    EXPECT_EQ(KeyComboAdditions::keyComboForKey<PaneKeyCombo>(defaults, DefHotKey),
              PaneKeyCombo(49, 0x1800));

    EXPECT_TRUE(DictionaryAccess::boolForKey(defaults, DefShowSplash));
    EXPECT_FALSE(DictionaryAccess::boolForKey(defaults, DefHideAdvert));
    EXPECT_TRUE(DictionaryAccess::boolForKey(defaults, DefAutoVersionCheck));
    EXPECT_FALSE(DictionaryAccess::boolForKey(defaults, DefVonageEnabled));
    EXPECT_FALSE(DictionaryAccess::boolForKey(defaults, DefHasPromptedToShare));
    EXPECT_EQ(DictionaryAccess::longLongForKey(defaults, DefActivationCount), 0);
    EXPECT_EQ(DictionaryAccess::longLongForKey(defaults, DefNextCheckVersionDay), 0);
    EXPECT_EQ(defaults.value(DefVonageName), QVariant(QString()));
    EXPECT_EQ(defaults.value(DefVonageNumbers).metaType().id(), QMetaType::QVariantList);
    EXPECT_TRUE(DictionaryAccess::dictionaryWithContentsOfResource(QStringLiteral("NoSuchResource"))
                    .isEmpty());
}
