// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include <optional>

/// The keys of key events as the window system numbers them, turned into the positional
/// virtual key codes of KeyCodeTable.
namespace NativeKeyCodes {

/// The virtual key code of the key a Qt key event names by its native scan code (an X11
/// keycode, or a Wayland compositor's XKB keycode); nothing for a key the table lacks or an
/// event that carries no scan code.
std::optional<int> virtualKeyCodeForNativeScanCode(quint32 nativeScanCode);

/// Whether a Qt key only changes what other keys do: Shift, Ctrl, Alt, Super and their kin,
/// Caps Lock and Num Lock. Scroll Lock is a key of its own.
bool isModifierKey(int qtKey);

} // namespace NativeKeyCodes
