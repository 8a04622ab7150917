// SPDX-License-Identifier: MIT
#include "keycombo/KeyCombo.h"
#include "archive/ObjectArchive.h"
#include "keycombo/KeyComboAdditions.h"
#include "keycombo/PaneBundle.h"

#include <gtest/gtest.h>

namespace {

const QString kCommand = QStringLiteral("\u2318");
const QString kOption = QStringLiteral("\u2325");
const QString kControl = QStringLiteral("^");
const QString kShift = QStringLiteral("\u21E7");

class KeyComboTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The pane reads its key names from its own bundle, as the module arranges at load.
        PaneKeyComboBuild::setBundle(Bundle(QStringLiteral(BRISKO_PANE_BUNDLE_PATH)));
        // Not left to the environment: ctest runs these without BRISKO_MAIN_BUNDLE.
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    }
};

} // namespace

TEST_F(KeyComboTest, ClearedCombinationIsInvalidWithEachBuildsText)
{
    for (const KeyCombo &combo : {KeyCombo(), KeyCombo::keyCombo(), KeyCombo::clearKeyCombo()}) {
        EXPECT_EQ(combo.keyCode(), -1);
        EXPECT_EQ(combo.modifiers(), -1);
        EXPECT_FALSE(combo.isValid());
        EXPECT_EQ(combo.userDisplayRep(), QStringLiteral("Click to Set"));
        EXPECT_EQ(combo.description(), QStringLiteral("Click to Set"));
    }
    EXPECT_EQ(PaneKeyCombo::clearKeyCombo().userDisplayRep(), QStringLiteral("None"));
    EXPECT_EQ(PaneKeyCombo().fullModifiers(), -1);
    EXPECT_EQ(KeyCombo(), KeyCombo::clearKeyCombo());
    EXPECT_FALSE(KeyCombo(0, 0x0100) == KeyCombo(0, 0x0200));
    EXPECT_FALSE(KeyCombo(0, 0x0100) == KeyCombo(1, 0x0100));
}

TEST_F(KeyComboTest, ValidityNeedsAModifierExceptForFunctionKeys)
{
    EXPECT_FALSE(KeyCombo(0, 0).isValid());
    EXPECT_TRUE(KeyCombo(0, 0x0100).isValid());
    EXPECT_FALSE(KeyCombo(49, -1).isValid()); // no modifiers recorded
    EXPECT_FALSE(KeyCombo(-1, 0x0100).isValid());
    const qint16 functionKeys[] = {122, 120, 99,  118, 96,  97,  98,  100,
                                   101, 109, 103, 111, 105, 107, 113, 106};
    for (const qint16 code : functionKeys) {
        EXPECT_TRUE(KeyCombo(code, 0).isValid()) << code;
        EXPECT_TRUE(PaneKeyCombo(code, -1).isValid()) << code;
    }
    EXPECT_FALSE(KeyCombo(123, 0).isValid()); // an arrow alone
    // The pane's 64-bit flags are read as a signed number.
    EXPECT_FALSE(PaneKeyCombo(0, qint64(-1) << 40).isValid());
}

TEST_F(KeyComboTest, DisplayShowsGlyphsInFixedOrderThenTheKeyName)
{
    EXPECT_EQ(KeyCombo(96, 0).userDisplayRep(), QStringLiteral("F5"));
    EXPECT_EQ(KeyCombo(122, -1).userDisplayRep(),
              kCommand + kOption + kControl + kShift + QStringLiteral("F1"));
    EXPECT_EQ(KeyCombo(49, 0x1B00).userDisplayRep(),
              kCommand + kOption + kControl + kShift + QStringLiteral("Space"));
    EXPECT_EQ(KeyCombo(0, 0x1200).userDisplayRep(), kControl + kShift + QStringLiteral("A"));
    EXPECT_EQ(PaneKeyCombo(36, 0x0900).userDisplayRep(),
              kCommand + kOption + QStringLiteral("Return"));
    EXPECT_EQ(KeyCombo::_stringForModifiers(0x0200 | 0x0100), kCommand + kShift);
    EXPECT_EQ(KeyCombo::_stringForModifiers(0), QString());
}

TEST_F(KeyComboTest, UnnamedKeysShowInHexadecimal)
{
    EXPECT_EQ(KeyCombo::_stringForKeyCode(10, {}), QStringLiteral("A"));
    EXPECT_EQ(KeyCombo::_stringForKeyCode(49, {}), QStringLiteral("31"));
    EXPECT_EQ(PaneKeyCombo::_stringForKeyCode(255, {}), QStringLiteral("FF"));
    EXPECT_EQ(KeyCombo::_stringForKeyCode(-1, {}), QStringLiteral("FFFF"));
    const QVariantMap names{{QStringLiteral("49"), QStringLiteral("Space")}};
    EXPECT_EQ(KeyCombo::_stringForKeyCode(49, names), QStringLiteral("Space"));
    EXPECT_EQ(KeyCombo::_stringForKeyCode(1000, KeyCombo::keyCodesDictionary()),
              QStringLiteral("3E8"));
}

TEST_F(KeyComboTest, BothBundlesNameEveryKeyOfThePositionalKeyboard)
{
    for (const QVariantMap &names :
         {KeyCombo::keyCodesDictionary(), PaneKeyCombo::keyCodesDictionary()}) {
        ASSERT_FALSE(names.isEmpty());
        // The letter rows: every code from 0 to 17 is a single letter, except the ISO key.
        for (int code = 0; code <= 17; ++code) {
            if (code != 10) {
                EXPECT_EQ(names.value(QString::number(code)).toString().size(), 1) << code;
            }
        }
        const std::pair<int, const char *> expected[] = {{0, "A"},
                                                         {1, "S"},
                                                         {29, "0"},
                                                         {18, "1"},
                                                         {36, "Return"},
                                                         {48, "Tab"},
                                                         {49, "Space"},
                                                         {51, "Delete"},
                                                         {53, "Escape"},
                                                         {115, "Home"},
                                                         {119, "End"},
                                                         {116, "Page Up"},
                                                         {121, "Page Down"},
                                                         {123, "Left Arrow"},
                                                         {126, "Up Arrow"},
                                                         {122, "F1"},
                                                         {106, "F16"},
                                                         {82, "Keypad 0"},
                                                         {76, "Keypad Enter"},
                                                         {50, "`"}};
        for (const auto &[code, name] : expected)
            EXPECT_EQ(names.value(QString::number(code)).toString(), QString::fromUtf8(name))
                << code;
    }
}

TEST_F(KeyComboTest, ArchivesRoundTripWithinAndAcrossBuilds)
{
    const KeyCombo hotKey(49, 0x1800);
    const std::optional<KeyCombo> same = KeyCombo::unarchive(hotKey.archivedData());
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(*same, hotKey);

    const std::optional<PaneKeyCombo> inPane = PaneKeyCombo::unarchive(hotKey.archivedData());
    ASSERT_TRUE(inPane.has_value());
    EXPECT_EQ(inPane->keyCode(), 49);
    EXPECT_EQ(inPane->fullModifiers(), 0x1800);

    // The pane narrows to 32 bits and the reader sign-extends: -1 stays -1 in both builds.
    const PaneKeyCombo cleared;
    EXPECT_EQ(KeyCombo::unarchive(cleared.archivedData()), KeyCombo());
    EXPECT_EQ(PaneKeyCombo::unarchive(cleared.archivedData()), cleared);
    const PaneKeyCombo wide(122, (qint64(1) << 40) | 0x0100);
    EXPECT_EQ(PaneKeyCombo::unarchive(wide.archivedData())->fullModifiers(), 0x0100);
    EXPECT_EQ(KeyCombo::unarchive(PaneKeyCombo(0, 0x1B00).archivedData()), KeyCombo(0, 0x1B00));
}

TEST_F(KeyComboTest, ForeignDataIsNoCombination)
{
    EXPECT_FALSE(KeyCombo::unarchive(QByteArray()).has_value());
    EXPECT_FALSE(KeyCombo::unarchive(QByteArray("HotKey")).has_value());
    EXPECT_FALSE(PaneKeyCombo::unarchive(ObjectArchive::archivedColor(Qt::red)).has_value());
    const QByteArray archive = KeyCombo(49, 0x1800).archivedData();
    for (qsizetype length = 0; length < archive.size(); ++length)
        EXPECT_FALSE(KeyCombo::unarchive(archive.left(length)).has_value()) << length;
}

TEST_F(KeyComboTest, DictionariesHoldCombinationsInTheirStoredForm)
{
    QVariantMap dictionary;
    const QString key = QStringLiteral("HotKey");
    EXPECT_FALSE(KeyComboAdditions::keyComboForKey(dictionary, key).has_value());

    KeyComboAdditions::setKeyCombo(dictionary, PaneKeyCombo(3, 0x0100), key);
    EXPECT_EQ(dictionary.value(key).metaType().id(), QMetaType::QByteArray);
    EXPECT_EQ(KeyComboAdditions::keyComboForKey(dictionary, key), KeyCombo(3, 0x0100));
    EXPECT_EQ(KeyComboAdditions::keyComboForKey<PaneKeyCombo>(dictionary, key),
              PaneKeyCombo(3, 0x0100));

    KeyComboAdditions::setKeyCombo(dictionary, std::optional<KeyCombo>(), key);
    EXPECT_FALSE(dictionary.contains(key));

    dictionary.insert(key, ObjectArchive::archivedColor(Qt::red));
    EXPECT_FALSE(KeyComboAdditions::keyComboForKey<PaneKeyCombo>(dictionary, key).has_value());
    dictionary.insert(key, QStringLiteral("49"));
    EXPECT_FALSE(KeyComboAdditions::keyComboForKey(dictionary, key).has_value());
}

TEST(PaneBundle, FindsThePaneBundleAroundItsModule)
{
    EXPECT_EQ(PaneBundle::bundlePathForModule(
                  QStringLiteral("/opt/b/BriskoPane.prefPane/Contents/Linux/libBriskoPane.so")),
              QStringLiteral("/opt/b/BriskoPane.prefPane"));
    EXPECT_TRUE(
        PaneBundle::bundlePathForModule(QStringLiteral("/usr/lib/libBriskoPane.so")).isEmpty());
    EXPECT_TRUE(
        PaneBundle::bundlePathForModule(QStringLiteral("/opt/b/Brisko.app/Contents/Linux/Brisko"))
            .isEmpty());
    // This test program is no pane module.
    EXPECT_FALSE(PaneBundle::bundleOfThisModule().isValid());
}
