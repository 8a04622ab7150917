// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

/// Tells when one process ends, whoever's child it is: a process started detached is no child
/// of ours, so no finished signal ever comes for it.
class ProcessEndWatch final : public QObject
{
    Q_OBJECT

public:
    explicit ProcessEndWatch(QObject *parent = nullptr);
    ~ProcessEndWatch() override;

    /// Watches `processIdentifier` instead of the one watched before; 0 watches nothing.
    void watch(qint64 processIdentifier);
    void stop() { watch(0); }
    bool isWatching() const { return _processIdentifier > 0; }

Q_SIGNALS:
    /// Once per watched process, when it has ended (or was gone already).
    void ended();

private:
    void _checkStillThere();
    void _end();

    qint64 _processIdentifier = 0;
    int _pidfd = -1;
    std::unique_ptr<QSocketNotifier> _notifier;
    // Where the kernel cannot hand out a process descriptor.
    QTimer _poll;
};
