// SPDX-License-Identifier: MIT
#include "platform/notifications/freedesktop/FreedesktopNotifier.h"

#include "notifications_interface.h"
#include "platform/core/Bundle.h"

#include <QCoreApplication>
#include <QDBusConnection>

void FreedesktopNotifier::notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    OrgFreedesktopNotificationsInterface server(QStringLiteral("org.freedesktop.Notifications"),
                                                QStringLiteral("/org/freedesktop/Notifications"),
                                                bus);
    // The desktop entry, named after the bundle, lets the desktop show the application's own
    // icon and name with the notification.
    QVariantMap hints;
    const QString identifier = Bundle::mainBundle().bundleIdentifier();
    if (!identifier.isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), identifier);
    server.Notify(QCoreApplication::applicationName(), 0, QString(), summary, body, {}, hints, -1);
}
