// SPDX-License-Identifier: MIT
#pragma once

#include "platform/notifications/DesktopNotifier.h"

#include <QList>

/// A notifier for tests: keeps every notification instead of showing it.
class RecordingDesktopNotifier final : public DesktopNotifier
{
public:
    struct Notification
    {
        QString summary;
        QString body;
    };

    void notify(const QString &summary, const QString &body) override
    {
        notifications.append({summary, body});
    }

    QList<Notification> notifications;
};
