// SPDX-License-Identifier: MIT
#pragma once

#include "chrome/RKWindow.h"

#include <QString>

/// Application-modal alerts that belong to no window (the search window may be hidden).
namespace AlertPanel {

/// Runs an alert with up to three buttons (an empty title means no such button) and waits:
/// 1 for the default button, 0 for the alternate, -1 for the other. Return presses the default
/// button. Escape, and closing the alert (as logging out or quitting does), press
/// `escapeButton`: the alternate one, unless that is the one that acts, as "Visit Website"
/// does beside "OK".
int run(const QString &title, const QString &message, const QString &defaultButton,
        const QString &alternateButton = QString(), const QString &otherButton = QString(),
        RKWindow::AlertReturn escapeButton = RKWindow::AlertAlternateReturn);

} // namespace AlertPanel
