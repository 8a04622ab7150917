// SPDX-License-Identifier: MIT
#include "platform/notifications/NotificationCenter.h"

#include <QList>

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::NotificationCenter(QObject *parent)
    : QObject(parent)
{}

NotificationCenter::ObserverId NotificationCenter::addObserver(QObject *context,
                                                               const QString &name, Handler handler)
{
    const ObserverId id = ++_lastObserverId;
    _observers.emplace(id, Observer{context, name, std::move(handler)});
    return id;
}

void NotificationCenter::removeObserver(ObserverId id)
{
    _observers.erase(id);
}

void NotificationCenter::postNotification(const QString &name, QObject *object,
                                          const QVariantMap &userInfo)
{
    const Notification notification{name, object, userInfo};
    // A handler may add or remove observers; those present now are the ones told.
    QList<ObserverId> told;
    for (const auto &[id, observer] : _observers) {
        if (observer.name == name)
            told.append(id);
    }
    for (const ObserverId id : std::as_const(told)) {
        const auto it = _observers.find(id);
        if (it == _observers.end())
            continue;
        if (!it->second.context) {
            _observers.erase(it);
            continue;
        }
        const Handler handler = it->second.handler;
        handler(notification);
    }
}
