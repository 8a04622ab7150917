// SPDX-License-Identifier: MIT
#include "platform/hotkey/KeyCodeTable.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <xkbcommon/xkbcommon.h>

#include <memory>

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

TEST(KeyCodeTable, KeysymsAreThoseTheUsLayoutGivesTheKey)
{
    const std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> context(
        xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref);
    const xkb_rule_names us = {"evdev", "pc105", "us", "", ""};
    const std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> keymap(
        context ? xkb_keymap_new_from_names(context.get(), &us, XKB_KEYMAP_COMPILE_NO_FLAGS)
                : nullptr,
        xkb_keymap_unref);
    if (!keymap)
        GTEST_SKIP() << "missing here: the XKB data for the US layout (xkb-data)";
    for (const KeyCodeTable::Entry &entry : KeyCodeTable::entries()) {
        const xkb_keysym_t keysym = xkb_keysym_from_name(entry.keysymName, XKB_KEYSYM_NO_FLAGS);
        ASSERT_NE(keysym, XKB_KEY_NoSymbol) << "no keysym named " << entry.keysymName;
        // Keys the US layout leaves empty (the JIS ones) only need a real keysym.
        const xkb_keycode_t key = xkb_keymap_key_by_name(keymap.get(), entry.xkbKeyName);
        QList<xkb_keysym_t> given;
        for (xkb_level_index_t level = 0;
             level < xkb_keymap_num_levels_for_key(keymap.get(), key, 0); ++level) {
            const xkb_keysym_t *syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap.get(), key, 0, level, &syms);
            for (int i = 0; i < count; ++i)
                given.append(syms[i]);
        }
        if (!given.isEmpty()) {
            EXPECT_TRUE(given.contains(keysym))
                << entry.keysymName << " is not on " << entry.xkbKeyName << " in the US layout";
        }
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
        {0, 30, "AC01"},
        {1, 31, "AC02"},
        {36, 28, "RTRN"},
        {48, 15, "TAB"},
        {49, 57, "SPCE"},
        {51, 14, "BKSP"},
        {53, 1, "ESC"},
        {122, 59, "FK01"},
        {120, 60, "FK02"},
        {111, 88, "FK12"},
        {106, 186, "FK16"},
        {126, 103, "UP"},
        // The extended keyboard's F13 to F15 sit where a PC keyboard has these three.
        {105, 99, "PRSC"},
        {107, 70, "SCLK"},
        {113, 119, "PAUS"},
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
