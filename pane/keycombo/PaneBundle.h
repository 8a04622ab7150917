// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/Bundle.h"

#include <QString>

/// The pane runs inside its host's process, whose main bundle is the host's, so the pane finds
/// its own bundle from the file its code was loaded from.
namespace PaneBundle {

/// The `.prefPane` directory that holds a module at `<bundle>/Contents/Linux/<file>`; empty
/// when the module lies anywhere else.
QString bundlePathForModule(const QString &modulePath);

/// The bundle of the module this code is linked into; invalid when it is not in a pane bundle.
Bundle bundleOfThisModule();

/// Makes the pane's build of the key combination read its key names from the pane's bundle.
void adoptBundleOfThisModule();

} // namespace PaneBundle
