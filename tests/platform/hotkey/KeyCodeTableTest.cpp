// SPDX-License-Identifier: MIT
#include "hotkey/KeyCodeTable.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QString EvdevKeycodes = QStringLiteral("/usr/share/X11/xkb/keycodes/evdev");

/// The X server's own evdev keycode file: key name → X11 keycode.
QHash<QByteArray, int> systemEvdevKeycodes()
{
    QHash<QByteArray, int> keycodes;
    QFile file(EvdevKeycodes);
    if (!file.open(QIODevice::ReadOnly))
        return keycodes;
    static const QRegularExpression line(
        QStringLiteral("^\\s*<([A-Z0-9+-]+)>\\s*=\\s*(\\d+)\\s*;"));
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const auto match = line.match(QString::fromLatin1(raw));
        if (match.hasMatch())
            keycodes.insert(match.captured(1).toLatin1(), match.captured(2).toInt());
    }
    return keycodes;
}

TEST(KeyCodeTable, AgreesWithTheSystemEvdevKeycodes)
{
    const QHash<QByteArray, int> keycodes = systemEvdevKeycodes();
    if (keycodes.isEmpty())
        GTEST_SKIP() << "missing here: " << qPrintable(EvdevKeycodes) << " (xkb-data)";
    for (const KeyCodeTable::Entry &entry : KeyCodeTable::entries()) {
        ASSERT_TRUE(keycodes.contains(entry.xkbKeyName))
            << "unknown XKB key name " << entry.xkbKeyName;
        EXPECT_EQ(keycodes.value(entry.xkbKeyName),
                  entry.evdevScanCode + KeyCodeTable::X11EvdevOffset)
            << "virtual key code " << entry.virtualKeyCode << " (" << entry.xkbKeyName << ")";
    }
}

TEST(KeyCodeTable, EveryColumnIsOneToOne)
{
    QSet<int> virtualCodes;
    QSet<int> scanCodes;
    QSet<QByteArray> names;
    for (const KeyCodeTable::Entry &entry : KeyCodeTable::entries()) {
        EXPECT_FALSE(virtualCodes.contains(entry.virtualKeyCode)) << entry.virtualKeyCode;
        EXPECT_FALSE(scanCodes.contains(entry.evdevScanCode)) << entry.evdevScanCode;
        EXPECT_FALSE(names.contains(entry.xkbKeyName)) << entry.xkbKeyName;
        virtualCodes.insert(entry.virtualKeyCode);
        scanCodes.insert(entry.evdevScanCode);
        names.insert(entry.xkbKeyName);
        EXPECT_EQ(KeyCodeTable::virtualKeyCodeForEvdevScanCode(entry.evdevScanCode),
                  entry.virtualKeyCode);
        EXPECT_EQ(KeyCodeTable::virtualKeyCodeForXkbKeyName(entry.xkbKeyName),
                  entry.virtualKeyCode);
    }
}

TEST(KeyCodeTable, KnownPositions)
{
    const struct
    {
        int virtualKeyCode;
        int scanCode;
        const char *name;
    } cases[] = {
        {0, 30, "AC01"},   {1, 31, "AC02"},   {36, 28, "RTRN"},   {48, 15, "TAB"},
        {49, 57, "SPCE"},  {51, 14, "BKSP"},  {53, 1, "ESC"},     {122, 59, "FK01"},
        {120, 60, "FK02"}, {111, 88, "FK12"}, {106, 186, "FK16"}, {126, 103, "UP"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(KeyCodeTable::evdevScanCodeForVirtualKeyCode(c.virtualKeyCode), c.scanCode)
            << c.virtualKeyCode;
        EXPECT_EQ(KeyCodeTable::xkbKeyNameForVirtualKeyCode(c.virtualKeyCode), QByteArray(c.name))
            << c.virtualKeyCode;
    }
}

TEST(KeyCodeTable, EveryFunctionKeyThatMayStandAloneHasAPosition)
{
    for (int code : {122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106})
        EXPECT_TRUE(KeyCodeTable::evdevScanCodeForVirtualKeyCode(code).has_value()) << code;
}

TEST(KeyCodeTable, CodesWithoutAPositionAnswerNothing)
{
    for (int code : {-1, 52, 63, 127, 32767}) {
        EXPECT_FALSE(KeyCodeTable::evdevScanCodeForVirtualKeyCode(code).has_value()) << code;
        EXPECT_TRUE(KeyCodeTable::xkbKeyNameForVirtualKeyCode(code).isEmpty()) << code;
    }
    EXPECT_FALSE(KeyCodeTable::virtualKeyCodeForEvdevScanCode(0).has_value());
    EXPECT_FALSE(KeyCodeTable::virtualKeyCodeForXkbKeyName("NOPE").has_value());
    EXPECT_FALSE(KeyCodeTable::virtualKeyCodeForXkbKeyName("").has_value());
}

} // namespace
