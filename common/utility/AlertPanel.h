// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

/// Alerts with up to three buttons, for both deliverables.
namespace AlertPanel {

enum Return : int
{
    DefaultReturn = 1,
    AlternateReturn = 0,
    OtherReturn = -1,
};

/// Runs an alert (an empty title means no such button) and waits: DefaultReturn,
/// AlternateReturn or OtherReturn for the button pressed. Return presses the default button.
/// Escape, and closing the alert (as logging out or quitting does), press `escapeButton`: the
/// alternate one, unless that is the one that acts, as "Visit Website" does beside "OK". With
/// a `window`, the alert is a sheet on it that blocks that window only; without one it
/// belongs to no window and blocks the whole application.
int run(const QString &title, const QString &message, const QString &defaultButton,
        const QString &alternateButton = QString(), const QString &otherButton = QString(),
        QWidget *window = nullptr, Return escapeButton = AlternateReturn);

} // namespace AlertPanel
