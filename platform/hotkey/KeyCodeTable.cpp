// SPDX-License-Identifier: MIT
#include "KeyCodeTable.h"

namespace KeyCodeTable {
namespace {

// The virtual key codes follow the ANSI/ISO/JIS keyboard of the original platform. Keys that a
// PC keyboard lacks (fn) have no row; Help sits where PC keyboards have Insert, and keypad
// Clear where they have Num Lock.
constexpr Entry table[] = {
    {0, 30, "AC01"},                      // A
    {1, 31, "AC02"},                      // S
    {2, 32, "AC03"},                      // D
    {3, 33, "AC04"},                      // F
    {4, 35, "AC06"},                      // H
    {5, 34, "AC05"},                      // G
    {6, 44, "AB01"},                      // Z
    {7, 45, "AB02"},                      // X
    {8, 46, "AB03"},                      // C
    {9, 47, "AB04"},                      // V
    {10, 86, "LSGT"},                     // ISO section, the key left of Z on ISO keyboards
    {11, 48, "AB05"},                     // B
    {12, 16, "AD01"},                     // Q
    {13, 17, "AD02"},                     // W
    {14, 18, "AD03"},                     // E
    {15, 19, "AD04"},                     // R
    {16, 21, "AD06"},                     // Y
    {17, 20, "AD05"},                     // T
    {18, 2, "AE01"},                      // 1
    {19, 3, "AE02"},                      // 2
    {20, 4, "AE03"},                      // 3
    {21, 5, "AE04"},                      // 4
    {22, 7, "AE06"},                      // 6
    {23, 6, "AE05"},                      // 5
    {24, 13, "AE12"},                     // =
    {25, 10, "AE09"},                     // 9
    {26, 8, "AE07"},                      // 7
    {27, 12, "AE11"},                     // -
    {28, 9, "AE08"},                      // 8
    {29, 11, "AE10"},                     // 0
    {30, 27, "AD12"},                     // ]
    {31, 24, "AD09"},                     // O
    {32, 22, "AD07"},                     // U
    {33, 26, "AD11"},                     // [
    {34, 23, "AD08"},                     // I
    {35, 25, "AD10"},                     // P
    {36, 28, "RTRN"},                     // Return
    {37, 38, "AC09"},                     // L
    {38, 36, "AC07"},                     // J
    {39, 40, "AC11"},                     // '
    {40, 37, "AC08"},                     // K
    {41, 39, "AC10"},                     // ;
    {42, 43, "BKSL"},                     // backslash
    {43, 51, "AB08"},                     // ,
    {44, 53, "AB10"},                     // /
    {45, 49, "AB06"},                     // N
    {46, 50, "AB07"},                     // M
    {47, 52, "AB09"},                     // .
    {48, 15, "TAB"},                      // Tab
    {49, 57, "SPCE"},                     // Space
    {50, 41, "TLDE"},                     // `
    {51, 14, "BKSP"},                     // Delete (backspace)
    {53, 1, "ESC"},                       // Escape
    {54, 126, "RWIN"},                    // right command
    {55, 125, "LWIN"},                    // command
    {56, 42, "LFSH"},                     // shift
    {57, 58, "CAPS"},                     // caps lock
    {58, 56, "LALT"},                     // option
    {59, 29, "LCTL"},                     // control
    {60, 54, "RTSH"},                     // right shift
    {61, 100, "RALT"},                    // right option
    {62, 97, "RCTL"},                     // right control
    {64, 187, "FK17"},  {65, 83, "KPDL"}, // keypad .
    {67, 55, "KPMU"},                     // keypad *
    {69, 78, "KPAD"},                     // keypad +
    {71, 69, "NMLK"},                     // keypad Clear
    {72, 115, "VOL+"},  {73, 114, "VOL-"},  {74, 113, "MUTE"},  {75, 98, "KPDV"}, // keypad /
    {76, 96, "KPEN"},                                                             // keypad Enter
    {78, 74, "KPSU"},                                                             // keypad -
    {79, 188, "FK18"},  {80, 189, "FK19"},  {81, 117, "KPEQ"},                    // keypad =
    {82, 82, "KP0"},    {83, 79, "KP1"},    {84, 80, "KP2"},    {85, 81, "KP3"},
    {86, 75, "KP4"},    {87, 76, "KP5"},    {88, 77, "KP6"},    {89, 71, "KP7"},
    {90, 190, "FK20"},  {91, 72, "KP8"},    {92, 73, "KP9"},    {93, 124, "AE13"}, // JIS yen
    {94, 89, "AB11"},                                                              // JIS underscore
    {95, 95, "JPCM"}, // JIS keypad comma
    {96, 63, "FK05"},   {97, 64, "FK06"},   {98, 65, "FK07"},   {99, 61, "FK03"},
    {100, 66, "FK08"},  {101, 67, "FK09"},  {102, 123, "HJCV"}, // JIS eisu
    {103, 87, "FK11"},  {104, 122, "HNGL"},                     // JIS kana
    {105, 183, "FK13"}, {106, 186, "FK16"}, {107, 184, "FK14"}, {109, 68, "FK10"},
    {110, 127, "COMP"},                                         // contextual menu
    {111, 88, "FK12"},  {113, 185, "FK15"}, {114, 110, "INS"},  // Help
    {115, 102, "HOME"}, {116, 104, "PGUP"}, {117, 111, "DELE"}, // forward delete
    {118, 62, "FK04"},  {119, 107, "END"},  {120, 60, "FK02"},  {121, 109, "PGDN"},
    {122, 59, "FK01"},  {123, 105, "LEFT"}, {124, 106, "RGHT"}, {125, 108, "DOWN"},
    {126, 103, "UP"},
};

} // namespace

std::span<const Entry> entries()
{
    return table;
}

std::optional<int> evdevScanCodeForVirtualKeyCode(int virtualKeyCode)
{
    for (const Entry &entry : table) {
        if (entry.virtualKeyCode == virtualKeyCode)
            return entry.evdevScanCode;
    }
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
    for (const Entry &entry : table) {
        if (entry.virtualKeyCode == virtualKeyCode)
            return QByteArray(entry.xkbKeyName);
    }
    return {};
}

std::optional<int> virtualKeyCodeForXkbKeyName(QByteArrayView keyName)
{
    for (const Entry &entry : table) {
        if (keyName == QByteArrayView(entry.xkbKeyName))
            return entry.virtualKeyCode;
    }
    return std::nullopt;
}

} // namespace KeyCodeTable
