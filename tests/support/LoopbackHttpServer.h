// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <mutex>
#include <thread>

/// A small HTTP server on 127.0.0.1 with a thread of its own, so code that blocks its caller
/// on a request can be tested against it. Every request gets the configured answer.
class LoopbackHttpServer final
{
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    bool isListening() const { return _port != 0; }
    /// "http://127.0.0.1:PORT".
    QByteArray address() const;

    /// The answer to every later request.
    void setAnswer(int status, const QByteArray &body);
    /// Accept requests but never answer them, as a hung service does.
    void setSilent(bool silent);
    /// Whether a request held by a silent server is still open: its client has not given up.
    bool holdsOpenRequest() const;
    /// Answers the held requests with the configured answer, and holds no more.
    void releaseHeldRequests();

    /// The request targets ("/path?query") received so far, in order.
    QList<QByteArray> requestTargets() const;

private:
    void _serve();
    void _answer(int connection);
    void _reply(int connection);

    int _listener = -1;
    int _port = 0;
    std::atomic<bool> _stopping{false};
    mutable std::mutex _mutex;
    int _status = 200;
    QByteArray _body;
    bool _silent = false;
    QList<QByteArray> _targets;
    QList<int> _heldConnections;
    std::thread _thread;
};
