// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The address books named in khard's configuration, which vdirsyncer users keep their
/// CardDAV folders in.
namespace KhardConfiguration {

/// The `path` of every book in the `[addressbooks]` section of a khard.conf, in the order
/// they are declared, without their quotes and expanded as khard expands them (ShellPath).
/// Other sections, comments and lines without a path are passed over.
QStringList addressBookPaths(const QByteArray &contents);

/// $XDG_CONFIG_HOME/khard/khard.conf (~/.config when the variable is unset).
QString filePath();

/// The address books of the user's khard.conf; none without one.
QStringList userAddressBookPaths();

} // namespace KhardConfiguration
