// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>

class DistributedNotificationEmitter;

struct DistributedNotification
{
    QString name;
    QString object;
    /// Plain values only: nested maps and lists arrive as QVariantMap and QVariantList, dates
    /// as ISO 8601 text.
    QVariantMap userInfo;
};

/// Notifications between the processes of one session, carried as a D-Bus signal on the
/// session bus. Every process, the posting one included, hears every notification; observers
/// pick theirs by name and object. Handlers run on the main thread.
class DistributedNotificationCenter final : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const DistributedNotification &notification)>;
    using ObserverId = quint64;

    static inline const QString Path =
        QStringLiteral("/com/ambertide/DistributedNotificationCenter");
    static inline const QString Interface =
        QStringLiteral("com.ambertide.DistributedNotificationCenter");

    /// The process-wide center on the session bus, created on first use.
    static DistributedNotificationCenter &defaultCenter();

    /// A center on a connection of its own to the session bus.
    explicit DistributedNotificationCenter(QObject *parent = nullptr);
    ~DistributedNotificationCenter() override;

    /// Whether the session bus is reachable; otherwise posts fail and nothing is heard.
    bool isAvailable() const;
    QString unavailableReason() const;

    /// Calls `handler` for notifications with this name and object; a null name or object
    /// matches any. The observer ends with `context` or with removeObserver().
    ObserverId addObserver(QObject *context, const QString &name, const QString &object,
                           Handler handler);
    void removeObserver(ObserverId id);
    /// Removes every observer registered with this context.
    void removeObservers(QObject *context);

    /// Posts to every process of the session. Values the bus cannot carry are converted
    /// (dates to text) or left out, never sent broken. False when the bus is unreachable.
    bool postNotification(const QString &name, const QString &object,
                          const QVariantMap &userInfo = {});

    /// Waits (bounded by `timeoutMs`) until the bus has processed everything sent so far:
    /// posted notifications and observer registrations. Call before exiting after a post, or
    /// before relying on a fresh observer hearing another process.
    bool flush(int timeoutMs = 5000);

    /// A user info map with only what D-Bus can carry.
    static QVariantMap cleanedUserInfo(const QVariantMap &userInfo);
    /// A received value with D-Bus wrappers replaced by plain maps, lists and values.
    static QVariant plainValue(const QVariant &value);

private:
    struct Observer
    {
        QPointer<QObject> context;
        QString name;
        QString object;
        Handler handler;
    };

    void _deliver(const QString &name, const QString &object, const QVariantMap &userInfo);

    QDBusConnection _connection;
    DistributedNotificationEmitter *_emitter = nullptr;
    std::map<ObserverId, Observer> _observers;
    ObserverId _lastObserverId = 0;
    bool _reportedUnavailable = false;
};
