// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class Bundle;

/// Where the programs of one Brisko installation sit relative to each other. The folder that
/// holds the pane bundle (`<prefix>/lib/brisko` when installed, the build folder in a build
/// tree) has the application bundle inside the pane's resources, and the command-line
/// launchers (`brisko`, `brisko-preferences`, …) in `<prefix>/bin`, or in `bin/` of the build
/// folder.
namespace InstallLayout {

/// The launcher `name` of the installation that holds `applicationBundle`, or an empty string
/// when that installation has none.
QString launcherForApplicationBundle(const Bundle &applicationBundle, const QString &name);

/// The launcher `name` when it starts `executable` (directly or through symbolic links), else
/// `executable` itself.
QString preferredCommand(const Bundle &applicationBundle, const QString &name,
                         const QString &executable);

} // namespace InstallLayout
