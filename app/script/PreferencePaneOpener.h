// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

class QObject;

/// Opens a preference pane in the preferences host without holding the caller up: the host
/// program, asked to show a pane, ends only once the pane is on screen (starting a host
/// first when none runs), so whatever the pane must hear next is sent after that, however
/// long the host takes to come up.
namespace PreferencePaneOpener {

/// Runs `brisko-preferences --show-pane <paneIdentifier>` (found on PATH) and calls `shown`
/// once it reports the pane on screen. Nothing is called when the host is missing or cannot
/// show the pane (it says why on standard error), or when `context` goes first.
void open(const QString &paneIdentifier, QObject *context, std::function<void()> shown);

} // namespace PreferencePaneOpener
