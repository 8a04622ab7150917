// SPDX-License-Identifier: MIT
#include "platform/hotkey/KeyCodeTable.h"

namespace KeyCodeTable {
namespace {

// The virtual key codes follow the ANSI/ISO/JIS keyboard of the original platform. Keys that a
// PC keyboard lacks (fn) have no row; Help sits where PC keyboards have Insert, keypad Clear
// where they have Num Lock, and F13, F14 and F15 where they have Print, Scroll Lock and Pause.
// The keysym is the one the US layout gives the key at its first level with the evdev rules,
// which is how a compositor names the key of a shortcut; on those rules F16 to F20 are launch
// keys.
// clang-format off
constexpr Entry table[] = {
    {0, 30, "AC01", "a"}, // A
    {1, 31, "AC02", "s"}, // S
    {2, 32, "AC03", "d"}, // D
    {3, 33, "AC04", "f"}, // F
    {4, 35, "AC06", "h"}, // H
    {5, 34, "AC05", "g"}, // G
    {6, 44, "AB01", "z"}, // Z
    {7, 45, "AB02", "x"}, // X
    {8, 46, "AB03", "c"}, // C
    {9, 47, "AB04", "v"}, // V
    {10, 86, "LSGT", "less"}, // ISO section, the key left of Z on ISO keyboards
    {11, 48, "AB05", "b"}, // B
    {12, 16, "AD01", "q"}, // Q
    {13, 17, "AD02", "w"}, // W
    {14, 18, "AD03", "e"}, // E
    {15, 19, "AD04", "r"}, // R
    {16, 21, "AD06", "y"}, // Y
    {17, 20, "AD05", "t"}, // T
    {18, 2, "AE01", "1"}, // 1
    {19, 3, "AE02", "2"}, // 2
    {20, 4, "AE03", "3"}, // 3
    {21, 5, "AE04", "4"}, // 4
    {22, 7, "AE06", "6"}, // 6
    {23, 6, "AE05", "5"}, // 5
    {24, 13, "AE12", "equal"}, // =
    {25, 10, "AE09", "9"}, // 9
    {26, 8, "AE07", "7"}, // 7
    {27, 12, "AE11", "minus"}, // -
    {28, 9, "AE08", "8"}, // 8
    {29, 11, "AE10", "0"}, // 0
    {30, 27, "AD12", "bracketright"}, // ]
    {31, 24, "AD09", "o"}, // O
    {32, 22, "AD07", "u"}, // U
    {33, 26, "AD11", "bracketleft"}, // [
    {34, 23, "AD08", "i"}, // I
    {35, 25, "AD10", "p"}, // P
    {36, 28, "RTRN", "Return"}, // Return
    {37, 38, "AC09", "l"}, // L
    {38, 36, "AC07", "j"}, // J
    {39, 40, "AC11", "apostrophe"}, // '
    {40, 37, "AC08", "k"}, // K
    {41, 39, "AC10", "semicolon"}, // ;
    {42, 43, "BKSL", "backslash"}, // backslash
    {43, 51, "AB08", "comma"}, // ,
    {44, 53, "AB10", "slash"}, // /
    {45, 49, "AB06", "n"}, // N
    {46, 50, "AB07", "m"}, // M
    {47, 52, "AB09", "period"}, // .
    {48, 15, "TAB", "Tab"}, // Tab
    {49, 57, "SPCE", "space"}, // Space
    {50, 41, "TLDE", "grave"}, // `
    {51, 14, "BKSP", "BackSpace"}, // Delete (backspace)
    {53, 1, "ESC", "Escape"}, // Escape
    {54, 126, "RWIN", "Super_R"}, // right command
    {55, 125, "LWIN", "Super_L"}, // command
    {56, 42, "LFSH", "Shift_L"}, // shift
    {57, 58, "CAPS", "Caps_Lock"}, // caps lock
    {58, 56, "LALT", "Alt_L"}, // option
    {59, 29, "LCTL", "Control_L"}, // control
    {60, 54, "RTSH", "Shift_R"}, // right shift
    {61, 100, "RALT", "Alt_R"}, // right option
    {62, 97, "RCTL", "Control_R"}, // right control
    {64, 187, "FK17", "XF86Launch8"}, // F17
    {65, 83, "KPDL", "KP_Decimal"}, // keypad .
    {67, 55, "KPMU", "KP_Multiply"}, // keypad *
    {69, 78, "KPAD", "KP_Add"}, // keypad +
    {71, 69, "NMLK", "Num_Lock"}, // keypad Clear
    {72, 115, "VOL+", "XF86AudioRaiseVolume"}, // volume up
    {73, 114, "VOL-", "XF86AudioLowerVolume"}, // volume down
    {74, 113, "MUTE", "XF86AudioMute"}, // mute
    {75, 98, "KPDV", "KP_Divide"}, // keypad /
    {76, 96, "KPEN", "KP_Enter"}, // keypad Enter
    {78, 74, "KPSU", "KP_Subtract"}, // keypad -
    {79, 188, "FK18", "XF86Launch9"}, // F18
    {80, 189, "FK19", "F19"}, // F19
    {81, 117, "KPEQ", "KP_Equal"}, // keypad =
    {82, 82, "KP0", "KP_0"}, // keypad 0
    {83, 79, "KP1", "KP_1"}, // keypad 1
    {84, 80, "KP2", "KP_2"}, // keypad 2
    {85, 81, "KP3", "KP_3"}, // keypad 3
    {86, 75, "KP4", "KP_4"}, // keypad 4
    {87, 76, "KP5", "KP_5"}, // keypad 5
    {88, 77, "KP6", "KP_6"}, // keypad 6
    {89, 71, "KP7", "KP_7"}, // keypad 7
    {90, 190, "FK20", "XF86AudioMicMute"}, // F20
    {91, 72, "KP8", "KP_8"}, // keypad 8
    {92, 73, "KP9", "KP_9"}, // keypad 9
    {93, 124, "AE13", "yen"}, // JIS yen
    {94, 89, "AB11", "kana_RO"}, // JIS underscore
    {95, 95, "JPCM", "KP_Separator"}, // JIS keypad comma
    {96, 63, "FK05", "F5"}, // F5
    {97, 64, "FK06", "F6"}, // F6
    {98, 65, "FK07", "F7"}, // F7
    {99, 61, "FK03", "F3"}, // F3
    {100, 66, "FK08", "F8"}, // F8
    {101, 67, "FK09", "F9"}, // F9
    {102, 123, "HJCV", "Hangul_Hanja"}, // JIS eisu
    {103, 87, "FK11", "F11"}, // F11
    {104, 122, "HNGL", "Hangul"}, // JIS kana
    {105, 99, "PRSC", "Print"}, // F13
    {106, 186, "FK16", "XF86Launch7"}, // F16
    {107, 70, "SCLK", "Scroll_Lock"}, // F14
    {109, 68, "FK10", "F10"}, // F10
    {110, 127, "COMP", "Menu"}, // contextual menu
    {111, 88, "FK12", "F12"}, // F12
    {113, 119, "PAUS", "Pause"}, // F15
    {114, 110, "INS", "Insert"}, // Help
    {115, 102, "HOME", "Home"}, // Home
    {116, 104, "PGUP", "Prior"}, // Page Up
    {117, 111, "DELE", "Delete"}, // forward delete
    {118, 62, "FK04", "F4"}, // F4
    {119, 107, "END", "End"}, // End
    {120, 60, "FK02", "F2"}, // F2
    {121, 109, "PGDN", "Next"}, // Page Down
    {122, 59, "FK01", "F1"}, // F1
    {123, 105, "LEFT", "Left"}, // left arrow
    {124, 106, "RGHT", "Right"}, // right arrow
    {125, 108, "DOWN", "Down"}, // down arrow
    {126, 103, "UP", "Up"}, // up arrow
};
// clang-format on

} // namespace

std::span<const Entry> entries()
{
    return table;
}

namespace {

const Entry *entryForVirtualKeyCode(int virtualKeyCode)
{
    for (const Entry &entry : table) {
        if (entry.virtualKeyCode == virtualKeyCode)
            return &entry;
    }
    return nullptr;
}

} // namespace

std::optional<int> evdevScanCodeForVirtualKeyCode(int virtualKeyCode)
{
    if (const Entry *entry = entryForVirtualKeyCode(virtualKeyCode))
        return entry->evdevScanCode;
    return std::nullopt;
}

std::optional<int> virtualKeyCodeForEvdevScanCode(int scanCode)
{
    for (const Entry &entry : table) {
        if (entry.evdevScanCode == scanCode)
            return entry.virtualKeyCode;
    }
    return std::nullopt;
}

QByteArray xkbKeyNameForVirtualKeyCode(int virtualKeyCode)
{
    const Entry *entry = entryForVirtualKeyCode(virtualKeyCode);
    return entry ? QByteArray(entry->xkbKeyName) : QByteArray();
}

std::optional<int> virtualKeyCodeForXkbKeyName(QByteArrayView keyName)
{
    for (const Entry &entry : table) {
        if (keyName == QByteArrayView(entry.xkbKeyName))
            return entry.virtualKeyCode;
    }
    return std::nullopt;
}

QByteArray keysymNameForVirtualKeyCode(int virtualKeyCode)
{
    const Entry *entry = entryForVirtualKeyCode(virtualKeyCode);
    return entry ? QByteArray(entry->keysymName) : QByteArray();
}

} // namespace KeyCodeTable
