// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Application-modal alerts that belong to no window (the search window may be hidden).
namespace AlertPanel {

/// Runs an alert with up to three buttons (an empty title means no such button) and waits:
/// 1 for the default button, 0 for the alternate, -1 for the other. Return presses the
/// default button and Escape the alternate one.
int run(const QString &title, const QString &message, const QString &defaultButton,
        const QString &alternateButton = QString(), const QString &otherButton = QString());

} // namespace AlertPanel
