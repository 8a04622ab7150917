// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

/// The object exported on the bus; the generated adaptor relays its signal as the D-Bus
/// signal of the notification interface.
class DistributedNotificationEmitter final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void Notification(const QString &name, const QString &object, const QVariantMap &userInfo);
};
