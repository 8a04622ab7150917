// SPDX-License-Identifier: MIT
#include "common/keycombo/KeyCombo.h"
#include "common/keycombo/KeyComboAdditions.h"
#include "pane/keycombo/PaneBundle.h"
#include "platform/archive/ObjectArchive.h"
#include "platform/hotkey/KeyCodeTable.h"

#include <QSet>

#include <gtest/gtest.h>

#include <map>

namespace {

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

TEST_F(KeyComboTest, DisplayNamesTheModifiersInLinuxOrderThenTheKey)
{
    const struct
    {
        KeyCombo combo;
        const char *text;
    } cases[] = {
        {KeyCombo(96, 0), "F5"},
        {KeyCombo(49, 0x1800), "Ctrl+Alt+Space"},
        {KeyCombo(40, 0x0300), "Shift+Super+K"},
        // Whatever order the flags were set in, the text keeps one order.
        {KeyCombo(49, 0x1B00), "Ctrl+Alt+Shift+Super+Space"},
        // "Every flag" (-1) names all four.
        {KeyCombo(122, -1), "Ctrl+Alt+Shift+Super+F1"},
        {KeyCombo(51, 0x1000), "Ctrl+Backspace"},
        {KeyCombo(87, 0x0800), "Alt+Num 5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.combo.userDisplayRep(), QString::fromUtf8(c.text)) << c.text;
    EXPECT_EQ(PaneKeyCombo(36, 0x0900).userDisplayRep(), QStringLiteral("Alt+Super+Return"));
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

TEST_F(KeyComboTest, BothBundlesNameEveryKeyOfTheKeyboardAsLinuxDoes)
{
    // clang-format off
    const std::map<int, const char *> expected = {
        {0, "A"}, {1, "S"}, {2, "D"}, {3, "F"}, {4, "H"}, {5, "G"}, {6, "Z"}, {7, "X"}, {8, "C"},
        {9, "V"}, {10, "<"}, {11, "B"}, {12, "Q"}, {13, "W"}, {14, "E"}, {15, "R"}, {16, "Y"},
        {17, "T"}, {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {22, "6"}, {23, "5"}, {24, "="},
        {25, "9"}, {26, "7"}, {27, "-"}, {28, "8"}, {29, "0"}, {30, "]"}, {31, "O"}, {32, "U"},
        {33, "["}, {34, "I"}, {35, "P"}, {36, "Return"}, {37, "L"}, {38, "J"}, {39, "'"},
        {40, "K"}, {41, ";"}, {42, "\\"}, {43, ","}, {44, "/"}, {45, "N"}, {46, "M"}, {47, "."},
        {48, "Tab"}, {49, "Space"}, {50, "`"}, {51, "Backspace"}, {53, "Escape"},
        {54, "Right Super"}, {55, "Super"}, {56, "Shift"}, {57, "Caps Lock"}, {58, "Alt"},
        {59, "Ctrl"}, {60, "Right Shift"}, {61, "AltGr"}, {62, "Right Ctrl"}, {64, "F17"},
        {65, "Num ."}, {67, "Num *"}, {69, "Num +"}, {71, "Num Lock"}, {72, "Volume Up"},
        {73, "Volume Down"}, {74, "Mute"}, {75, "Num /"}, {76, "Num Enter"}, {78, "Num -"},
        {79, "F18"}, {80, "F19"}, {81, "Num ="}, {82, "Num 0"}, {83, "Num 1"}, {84, "Num 2"},
        {85, "Num 3"}, {86, "Num 4"}, {87, "Num 5"}, {88, "Num 6"}, {89, "Num 7"}, {90, "F20"},
        {91, "Num 8"}, {92, "Num 9"}, {93, "Yen"}, {94, "Ro"}, {95, "Num ,"}, {96, "F5"},
        {97, "F6"}, {98, "F7"}, {99, "F3"}, {100, "F8"}, {101, "F9"}, {102, "Eisu"}, {103, "F11"},
        {104, "Kana"}, {105, "Print"}, {106, "F16"}, {107, "Scroll Lock"}, {109, "F10"},
        {110, "Menu"}, {111, "F12"}, {113, "Pause"}, {114, "Insert"}, {115, "Home"},
        {116, "Page Up"}, {117, "Delete"}, {118, "F4"}, {119, "End"}, {120, "F2"},
        {121, "Page Down"}, {122, "F1"}, {123, "Left"}, {124, "Right"}, {125, "Down"}, {126, "Up"},
    };
    // clang-format on
    ASSERT_EQ(expected.size(), KeyCodeTable::entries().size()) << "a key of the table is missing";
    for (const QVariantMap &names :
         {KeyCombo::keyCodesDictionary(), PaneKeyCombo::keyCodesDictionary()}) {
        ASSERT_FALSE(names.isEmpty());
        QSet<QString> seen;
        for (const KeyCodeTable::Entry &entry : KeyCodeTable::entries()) {
            const QString name = names.value(QString::number(entry.virtualKeyCode)).toString();
            EXPECT_EQ(name, QString::fromUtf8(expected.at(entry.virtualKeyCode)))
                << entry.virtualKeyCode;
            EXPECT_FALSE(seen.contains(name)) << "two keys read " << qPrintable(name);
            seen.insert(name);
        }
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
