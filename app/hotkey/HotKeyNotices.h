// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/HotKeyBackend.h"

#include <QSet>
#include <QString>

/// Tells the user what keeps the activation hot key from working, and the way out: a desktop
/// notification plus a line on standard error, which is all that is left where no notification
/// server runs. Each cause is told once per key combination, however often the settings are
/// applied again.
class HotKeyNotices final
{
public:
    /// "Brisko's hot key Ctrl+Alt+Space is taken by another program"
    static QString summary(const KeyCombo &combo, const HotKeyFailure &failure);
    /// What the user can do instead.
    static QString remedy(const HotKeyFailure &failure);
    /// The short line the splash shows under the hot key.
    static QString splashNote(const HotKeyFailure &failure);

    /// Tells the failure unless it was told before; true when it was told now.
    bool registrationFailed(const KeyCombo &combo, const HotKeyFailure &failure);
    /// Tells once that in this GNOME session the hot key reaches Brisko only over X11 windows,
    /// and that GNOME's own keyboard settings can hold it instead; true when it was told now.
    bool gnomeShortcutWanted(const KeyCombo &combo);
    /// Says once, on standard error, that a stored setting could not be used and why.
    bool settingUnusable(const QString &problem);

private:
    bool _firstTime(const QString &what);

    QSet<QString> _told;
};
