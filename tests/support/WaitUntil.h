// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <functional>

/// Looks at `done` until it holds, running this thread's events in between; false when
/// `timeoutMs` passes first. The pause between looks grows from 5 to 50 ms: what happens in
/// this process is seen at once, and a probe that asks another program (xdotool, a file it
/// writes) is not run hundreds of times a second on a busy machine.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    unsigned long pauseMs = 5;
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(pauseMs);
        pauseMs = std::min(pauseMs * 2, 50ul);
    }
    return true;
}
