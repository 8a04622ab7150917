// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <span>

/// The one mapping between the positional virtual key codes that key combinations store
/// (0 = A, 36 = Return, 49 = Space, 122 = F1 …) and the keys of a PC keyboard, named by their
/// Linux evdev scan code and by their XKB key name. Both names describe a position, not a
/// symbol, so a combination keeps meaning the same key whatever layout is active. Where a
/// desktop only takes symbols (the portal's shortcuts), the key's symbol in the US layout
/// stands for the position.
namespace KeyCodeTable {

struct Entry
{
    int virtualKeyCode;
    int evdevScanCode;
    const char *xkbKeyName;
    /// The XKB keysym name the US layout gives the key ("a", "space", "Prior").
    const char *keysymName;
};

/// X servers that use the evdev keycodes number their keys as scan code + 8.
inline constexpr int X11EvdevOffset = 8;

std::span<const Entry> entries();

std::optional<int> evdevScanCodeForVirtualKeyCode(int virtualKeyCode);
std::optional<int> virtualKeyCodeForEvdevScanCode(int scanCode);
/// Empty when the virtual key code has no position on a PC keyboard.
QByteArray xkbKeyNameForVirtualKeyCode(int virtualKeyCode);
std::optional<int> virtualKeyCodeForXkbKeyName(QByteArrayView keyName);
/// Empty when the virtual key code has no position on a PC keyboard.
QByteArray keysymNameForVirtualKeyCode(int virtualKeyCode);

} // namespace KeyCodeTable
