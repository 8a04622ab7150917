// SPDX-License-Identifier: MIT
#include "app/hotkey/StoredHotKey.h"

#include "common/keycombo/StoredKeyCombo.h"

namespace StoredHotKey {

KeyCombo read(const UserDefaults &defaults, const QString &key, QString *problem)
{
    StoredKeyCombo::Reading reading = StoredKeyCombo::Reading::Usable;
    KeyCombo stored;
    const KeyCombo combo = StoredKeyCombo::inUse(
        defaults.objectForKey(key), defaults.registeredDefaults().value(key), &reading, &stored);
    if (problem && reading != StoredKeyCombo::Reading::Usable) {
        *problem = reading == StoredKeyCombo::Reading::Unreadable
                       ? QStringLiteral("The stored hot key (\"%1\") is no readable key "
                                        "combination; Brisko uses %2 instead.")
                             .arg(key, combo.description())
                       : QStringLiteral("The stored hot key (\"%1\") holds key code %2 with "
                                        "modifiers 0x%3, which no keyboard produces; Brisko uses "
                                        "%4 instead.")
                             .arg(key)
                             .arg(stored.keyCode())
                             .arg(quint32(stored.fullModifiers()), 0, 16)
                             .arg(combo.description());
    }
    return combo;
}

} // namespace StoredHotKey
