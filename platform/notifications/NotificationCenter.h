// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>

struct Notification
{
    QString name;
    /// Who posted it.
    QObject *object = nullptr;
    QVariantMap userInfo;
};

/// Notifications within this process, from any sender to whoever listens for the name.
/// Handlers run at once, on the posting thread, in the order they were added.
class NotificationCenter final : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const Notification &notification)>;
    using ObserverId = quint64;

    /// The process-wide center, created on first use.
    static NotificationCenter &defaultCenter();

    explicit NotificationCenter(QObject *parent = nullptr);

    /// Calls `handler` for every notification of this name, whoever posts it. The observer
    /// ends with `context` or with removeObserver().
    ObserverId addObserver(QObject *context, const QString &name, Handler handler);
    void removeObserver(ObserverId id);

    void postNotification(const QString &name, QObject *object, const QVariantMap &userInfo = {});

private:
    struct Observer
    {
        QPointer<QObject> context;
        QString name;
        Handler handler;
    };

    std::map<ObserverId, Observer> _observers;
    ObserverId _lastObserverId = 0;
};
