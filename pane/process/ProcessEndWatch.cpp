// SPDX-License-Identifier: MIT
#include "pane/process/ProcessEndWatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <sys/syscall.h>
#include <unistd.h>

ProcessEndWatch::ProcessEndWatch(QObject *parent)
    : QObject(parent)
{
    _poll.setInterval(250);
    connect(&_poll, &QTimer::timeout, this, &ProcessEndWatch::_checkStillThere);
}

ProcessEndWatch::~ProcessEndWatch()
{
    stop();
}

void ProcessEndWatch::watch(qint64 processIdentifier)
{
    _notifier.reset();
    if (_pidfd >= 0)
        ::close(_pidfd);
    _pidfd = -1;
    _poll.stop();
    _processIdentifier = processIdentifier;
    if (processIdentifier <= 0)
        return;
    _pidfd = int(::syscall(SYS_pidfd_open, pid_t(processIdentifier), 0));
    if (_pidfd < 0) {
        _poll.start();
        _checkStillThere();
        return;
    }
    // The descriptor turns readable when the process ends, zombie or reaped.
    _notifier = std::make_unique<QSocketNotifier>(_pidfd, QSocketNotifier::Read);
    connect(_notifier.get(), &QSocketNotifier::activated, this, &ProcessEndWatch::_end);
}

void ProcessEndWatch::_checkStillThere()
{
    if (::kill(pid_t(_processIdentifier), 0) != 0 && errno == ESRCH)
        _end();
}

void ProcessEndWatch::_end()
{
    stop();
    Q_EMIT ended();
}
