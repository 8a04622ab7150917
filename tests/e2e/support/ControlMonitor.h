// SPDX-License-Identifier: MIT
#pragma once

#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/support/WaitUntil.h"

#include <QObject>
#include <QStringList>

/// Hears the control notifications of the session, as another process would.
class ControlMonitor final
{
public:
    ControlMonitor()
    {
        _center.addObserver(&_context, ControlCommands::NotificationName, QString(),
                            [this](const DistributedNotification &n) {
                                _heard.append(n.object);
                                if (n.object == ControlCommands::SetTab)
                                    _tabs.append(
                                        n.userInfo.value(QStringLiteral("identifier")).toString());
                            });
        _center.flush();
    }

    /// Whether `command` arrives (or had arrived) within the time-out; each arrival counts once.
    bool hears(const QString &command, int timeoutMs = 30000)
    {
        return waitUntil([&] { return _heard.removeOne(command); }, timeoutMs);
    }
    /// The identifiers of the "SetTab" commands heard, in order.
    QStringList tabs() const { return _tabs; }

private:
    DistributedNotificationCenter _center;
    QObject _context;
    QStringList _heard;
    QStringList _tabs;
};
