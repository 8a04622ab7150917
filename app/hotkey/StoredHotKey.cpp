// SPDX-License-Identifier: MIT
#include "StoredHotKey.h"

#include "hotkey/HotKeyBackend.h"

namespace StoredHotKey {
namespace {

// Positional key codes are 7-bit; -1 is the cleared combination's.
constexpr int LowestKeyCode = -1;
constexpr int HighestKeyCode = 127;

enum class Reading
{
    Usable,
    Unreadable,
    Impossible,
};

Reading readCombo(const QVariant &value, KeyCombo *combo)
{
    if (value.metaType().id() != QMetaType::QByteArray)
        return Reading::Unreadable;
    const std::optional<KeyCombo> stored = KeyCombo::unarchive(value.toByteArray());
    if (!stored)
        return Reading::Unreadable;
    *combo = *stored;
    // "Every flag" (-1) is a recorded value in its own right; other bits outside the four
    // modifiers are not, and a desktop would ignore them and take the bare key.
    const qint32 modifiers = stored->fullModifiers();
    const bool keyCodeFits =
        stored->keyCode() >= LowestKeyCode && stored->keyCode() <= HighestKeyCode;
    const bool modifiersFit = modifiers == -1 || (modifiers & ~HotKeyModifier::All) == 0;
    return keyCodeFits && modifiersFit ? Reading::Usable : Reading::Impossible;
}

} // namespace

KeyCombo read(const UserDefaults &defaults, const QString &key, QString *problem)
{
    const QVariant value = defaults.objectForKey(key);
    if (!value.isValid())
        return KeyCombo::clearKeyCombo();
    KeyCombo combo;
    const Reading reading = readCombo(value, &combo);
    if (reading == Reading::Usable)
        return combo;

    KeyCombo factory;
    if (readCombo(defaults.registeredDefaults().value(key), &factory) != Reading::Usable)
        factory = KeyCombo::clearKeyCombo();
    if (problem) {
        *problem = reading == Reading::Unreadable
                       ? QStringLiteral("The stored hot key (\"%1\") is no readable key "
                                        "combination; Brisko uses %2 instead.")
                             .arg(key, factory.description())
                       : QStringLiteral("The stored hot key (\"%1\") holds key code %2 with "
                                        "modifiers 0x%3, which no keyboard produces; Brisko uses "
                                        "%4 instead.")
                             .arg(key)
                             .arg(combo.keyCode())
                             .arg(quint32(combo.fullModifiers()), 0, 16)
                             .arg(factory.description());
    }
    return factory;
}

} // namespace StoredHotKey
