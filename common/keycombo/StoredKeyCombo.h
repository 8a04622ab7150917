// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/HotKeyBackend.h"

#include <QVariant>

/// Which stored key combination is the one in use. The application registers it and the pane
/// shows it, so both read it through this one rule.
namespace StoredKeyCombo {

enum class Reading
{
    Usable,
    /// No key-combination archive at all (cut short, another kind of archive, not data).
    Unreadable,
    /// A combination of values no keyboard produces.
    Impossible,
};

/// Positional key codes are 7-bit; -1 is the cleared combination's.
inline constexpr int LowestKeyCode = -1;
inline constexpr int HighestKeyCode = 127;

template <typename Combo>
Reading read(const QVariant &value, Combo *combo)
{
    if (value.metaType().id() != QMetaType::QByteArray)
        return Reading::Unreadable;
    const std::optional<Combo> stored = Combo::unarchive(value.toByteArray());
    if (!stored)
        return Reading::Unreadable;
    *combo = *stored;
    // "Every flag" (-1) is a recorded value in its own right; other bits outside the four
    // modifiers are not, and a desktop would ignore them and take the bare key. The archive
    // holds 32 bits whatever the build.
    const auto modifiers = static_cast<qint32>(stored->fullModifiers());
    const bool keyCodeFits =
        stored->keyCode() >= LowestKeyCode && stored->keyCode() <= HighestKeyCode;
    const bool modifiersFit = modifiers == -1 || (modifiers & ~HotKeyModifier::All) == 0;
    return keyCodeFits && modifiersFit ? Reading::Usable : Reading::Impossible;
}

/// The combination in use: the stored one when it is usable, the cleared one when nothing is
/// stored, else the factory combination (the cleared one when that is unusable too).
/// `reading` tells what the stored value was; `stored` receives what it held when readable.
template <typename Combo>
Combo inUse(const QVariant &storedValue, const QVariant &factoryValue, Reading *reading = nullptr,
            Combo *stored = nullptr)
{
    Combo combo;
    const Reading storedReading =
        storedValue.isValid() ? read(storedValue, &combo) : Reading::Usable;
    if (reading)
        *reading = storedReading;
    if (stored)
        *stored = combo;
    if (storedReading == Reading::Usable)
        return combo;
    Combo factory;
    return read(factoryValue, &factory) == Reading::Usable ? factory : Combo::clearKeyCombo();
}

} // namespace StoredKeyCombo
