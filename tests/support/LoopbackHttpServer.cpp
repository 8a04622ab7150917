// SPDX-License-Identifier: MIT
#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

LoopbackHttpServer::LoopbackHttpServer()
{
    _listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (_listener < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(_listener, 16) != 0 ||
        ::getsockname(_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return;
    _port = ntohs(address.sin_port);
    _thread = std::thread([this] { _serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    _stopping = true;
    if (_thread.joinable())
        _thread.join();
    for (int connection : std::as_const(_heldConnections))
        ::close(connection);
    if (_listener >= 0)
        ::close(_listener);
}

QByteArray LoopbackHttpServer::address() const
{
    return "http://127.0.0.1:" + QByteArray::number(_port);
}

void LoopbackHttpServer::setAnswer(int status, const QByteArray &body)
{
    const std::lock_guard lock(_mutex);
    _status = status;
    _body = body;
}

void LoopbackHttpServer::setSilent(bool silent)
{
    const std::lock_guard lock(_mutex);
    _silent = silent;
}

bool LoopbackHttpServer::holdsOpenRequest() const
{
    const std::lock_guard lock(_mutex);
    for (const int connection : _heldConnections) {
        // A client that gave up has closed its end: readable, with nothing left to read.
        pollfd waiting{connection, POLLIN, 0};
        char byte = 0;
        if (::poll(&waiting, 1, 0) == 0 ||
            ::recv(connection, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0)
            return true;
    }
    return false;
}

void LoopbackHttpServer::releaseHeldRequests()
{
    const std::lock_guard lock(_mutex);
    _silent = false;
    for (const int connection : std::as_const(_heldConnections))
        _reply(connection);
    _heldConnections.clear();
}

QList<QByteArray> LoopbackHttpServer::requestTargets() const
{
    const std::lock_guard lock(_mutex);
    return _targets;
}

void LoopbackHttpServer::_serve()
{
    while (!_stopping) {
        pollfd waiting{_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int connection = ::accept4(_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            _answer(connection);
    }
}

void LoopbackHttpServer::_answer(int connection)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n") && !_stopping) {
        pollfd waiting{connection, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const ssize_t read = ::recv(connection, buffer, sizeof buffer, 0);
        if (read <= 0)
            break;
        request.append(buffer, read);
    }
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');

    const std::lock_guard lock(_mutex);
    if (requestLine.size() == 3)
        _targets.append(requestLine[1]);
    if (_silent) {
        _heldConnections.append(connection);
        return;
    }
    _reply(connection);
}

void LoopbackHttpServer::_reply(int connection)
{
    const QByteArray answer = "HTTP/1.1 " + QByteArray::number(_status) +
                              " Answer\r\nContent-Type: text/plain\r\nContent-Length: " +
                              QByteArray::number(_body.size()) + "\r\nConnection: close\r\n\r\n" +
                              _body;
    for (qsizetype sent = 0; sent < answer.size();) {
        const ssize_t written = ::send(connection, answer.constData() + sent,
                                       size_t(answer.size() - sent), MSG_NOSIGNAL);
        if (written <= 0)
            break;
        sent += written;
    }
    ::close(connection);
}
