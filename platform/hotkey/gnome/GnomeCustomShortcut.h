// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// Brisko's entry among the custom shortcuts of GNOME's keyboard settings, for GNOME sessions
/// whose portal has no global shortcuts (GNOME 43 to 47): gnome-settings-daemon runs the
/// entry's command, `brisko-ctl show`, when its key is pressed. Only Brisko's own entry is
/// ever written; the user's other shortcuts stay exactly as they are. Settings go through the
/// `gsettings` tool, so GNOME's own backend (dconf) stores them.
class GnomeCustomShortcut final
{
public:
    /// The entry's settings path, among those of the user's own custom shortcuts.
    static inline const QString Path =
        QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/brisko/");

    /// Whether this session has GNOME's keyboard settings to add a shortcut to.
    static bool isAvailable();
    /// Whether Brisko's entry is among the custom shortcuts.
    static bool isInstalled();
    /// Adds Brisko's entry (or updates it) with the key in the shortcuts format of the portal
    /// ("CTRL+ALT+space"); false when GNOME's settings could not be written.
    static bool install(const QString &trigger, const QString &command);
    /// Gives an installed entry the new key; nothing when Brisko has no entry.
    static bool update(const QString &trigger);

    /// "CTRL+ALT+space" as GNOME writes it, "<Control><Alt>space"; empty for no key.
    static QString bindingFor(const QString &trigger);
    /// The strings of a GVariant string array as gsettings prints it ("@as []",
    /// "['/a/', '/b/']"); nothing when the text is no such array.
    static std::optional<QStringList> parseStringArray(const QString &text);
    /// The same array written back in GVariant's text form.
    static QString formatStringArray(const QStringList &strings);
};
