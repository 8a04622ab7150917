// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/// A small HTTP server on 127.0.0.1 with a thread of its own, so code that blocks its caller
/// on a request can be tested against it. Every request gets the configured answer, unless
/// its target has an answer of its own. Over TLS, the server shows a self-signed certificate
/// of its own, made when the server starts; a client must be told to trust it.
class LoopbackHttpServer final
{
public:
    enum class Transport
    {
        Http,
        Https,
    };

    explicit LoopbackHttpServer(Transport transport = Transport::Http);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    bool isListening() const { return _port != 0; }
    /// "http://127.0.0.1:PORT", or "https://…" over TLS.
    QByteArray address() const;
    /// The certificate of a TLS server in PEM form; empty for plain HTTP.
    QByteArray certificate() const;

    /// The answer to every later request. `headers` are whole lines ("Location: /next").
    void setAnswer(int status, const QByteArray &body, const QList<QByteArray> &headers = {});
    /// The answer to later requests for `target` ("/path?query") alone.
    void setAnswerFor(const QByteArray &target, int status, const QByteArray &body,
                      const QList<QByteArray> &headers = {});
    /// Accept requests but never answer them, as a hung service does.
    void setSilent(bool silent);
    /// Whether a request held by a silent server is still open: its client has not given up.
    bool holdsOpenRequest() const;
    /// Answers the held requests with the configured answer, and holds no more.
    void releaseHeldRequests();

    /// The request targets ("/path?query") received so far, in order.
    QList<QByteArray> requestTargets() const;
    /// How many connections were accepted so far, whatever came over them.
    int connectionCount() const;

private:
    struct Answer
    {
        int status = 200;
        QByteArray body;
        QList<QByteArray> headers;
    };
    struct Connection;
    struct Tls;

    void _serve();
    void _handle(std::unique_ptr<Connection> connection);
    void _reply(Connection &connection, const QByteArray &target);

    int _listener = -1;
    int _port = 0;
    std::unique_ptr<Tls> _tls;
    std::atomic<bool> _stopping{false};
    mutable std::mutex _mutex;
    Answer _answer;
    QMap<QByteArray, Answer> _answersByTarget;
    bool _silent = false;
    int _connections = 0;
    QList<QByteArray> _targets;
    std::vector<std::pair<std::unique_ptr<Connection>, QByteArray>> _heldConnections;
    std::thread _thread;
};
