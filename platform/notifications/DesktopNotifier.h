// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

/// Shows the user a desktop notification, the way this desktop does it. The application
/// decides what to say; the installed notifier decides how it reaches the screen.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier();

    /// The process-wide notifier: the desktop's own unless a test installed another.
    static DesktopNotifier &shared();
    /// Replaces the process-wide notifier (tests install RecordingDesktopNotifier). Passing
    /// nullptr restores the desktop's own.
    static void setShared(std::unique_ptr<DesktopNotifier> notifier);

    /// Shows `summary` with `body` below it. Nothing is waited for: where no notification
    /// server runs, the notification is simply not seen, so callers say it elsewhere too.
    virtual void notify(const QString &summary, const QString &body) = 0;
};
