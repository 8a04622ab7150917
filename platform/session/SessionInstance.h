// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

/// One copy of a program per desktop session, kept by owning a well-known name on the
/// session bus. The copy that owns the name hears when another one is started, so a second
/// launch can hand over to it (bring its window up) and leave.
class SessionInstance final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ambertide.Instance")

public:
    enum class Claim
    {
        /// This process owns the name now.
        Owned,
        /// Another process owns the name.
        Taken,
        /// No session bus: nothing can tell whether another copy runs.
        NoBus,
    };

    explicit SessionInstance(const QString &serviceName, QObject *parent = nullptr);
    ~SessionInstance() override;

    /// Claims the name on the session bus and, once owned, answers "Reopen" calls.
    Claim claim();

    /// Gives the name up, so that a copy started now becomes the session's copy.
    void release();
    /// The instance that owns its name in this process, if any.
    static SessionInstance *current();

    /// Asks the process owning `serviceName` to reopen; true when it answered in time.
    static bool askToReopen(const QString &serviceName, int timeoutMs = 3000);

public Q_SLOTS:
    /// Called over the bus by a later launch.
    Q_SCRIPTABLE void Reopen();

Q_SIGNALS:
    void reopenRequested();

private:
    QString _serviceName;
    bool _owned = false;
};
