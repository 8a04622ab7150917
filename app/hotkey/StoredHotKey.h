// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/settings/UserDefaults.h"

/// The hot key as the settings hold it, made safe to register.
namespace StoredHotKey {

/// The combination stored under `key`. A value that is no readable key combination (cut
/// short, another kind of archive, not data at all), or one that holds values no keyboard
/// produces, gives the factory combination registered for the key instead; `problem` then says
/// what was wrong. The stored value itself is left as it is.
KeyCombo read(const UserDefaults &defaults, const QString &key, QString *problem);

} // namespace StoredHotKey
