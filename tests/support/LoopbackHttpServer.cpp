// SPDX-License-Identifier: MIT
#include "tests/support/LoopbackHttpServer.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

/// A self-signed certificate for 127.0.0.1, valid from an hour ago for a day, and the context
/// that serves it.
struct LoopbackHttpServer::Tls
{
    Tls()
    {
        EVP_PKEY *key = EVP_EC_gen("P-256");
        X509 *certificate = X509_new();
        if (!key || !certificate || !_sign(certificate, key)) {
            EVP_PKEY_free(key);
            X509_free(certificate);
            return;
        }
        context = SSL_CTX_new(TLS_server_method());
        if (context && (SSL_CTX_use_certificate(context, certificate) != 1 ||
                        SSL_CTX_use_PrivateKey(context, key) != 1)) {
            SSL_CTX_free(context);
            context = nullptr;
        }
        BIO *memory = BIO_new(BIO_s_mem());
        if (memory && PEM_write_bio_X509(memory, certificate) == 1) {
            char *data = nullptr;
            const long length = BIO_get_mem_data(memory, &data);
            pem = QByteArray(data, length);
        }
        BIO_free(memory);
        X509_free(certificate);
        EVP_PKEY_free(key);
    }
    ~Tls() { SSL_CTX_free(context); }

    static bool _sign(X509 *certificate, EVP_PKEY *key)
    {
        X509_set_version(certificate, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
        X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
        X509_gmtime_adj(X509_getm_notAfter(certificate), 24 * 3600);
        X509_set_pubkey(certificate, key);
        X509_NAME *name = X509_get_subject_name(certificate);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(certificate, name);
        X509V3_CTX extensions;
        X509V3_set_ctx_nodb(&extensions);
        X509V3_set_ctx(&extensions, certificate, certificate, nullptr, nullptr, 0);
        for (const auto &[nid, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1"},
                                         std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
            X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, &extensions, nid, value);
            if (!extension)
                return false;
            X509_add_ext(certificate, extension, -1);
            X509_EXTENSION_free(extension);
        }
        return X509_sign(certificate, key, EVP_sha256()) > 0;
    }

    SSL_CTX *context = nullptr;
    QByteArray pem;
};

namespace {

/// OpenSSL writes with write(), so a client that went away would end the test with SIGPIPE;
/// the signal is held back while it writes and then dropped.
class NoBrokenPipeSignal final
{
public:
    NoBrokenPipeSignal()
    {
        sigemptyset(&_pipe);
        sigaddset(&_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &_pipe, &_saved);
    }
    ~NoBrokenPipeSignal()
    {
        const timespec now{0, 0};
        while (sigtimedwait(&_pipe, nullptr, &now) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &_saved, nullptr);
    }
    NoBrokenPipeSignal(const NoBrokenPipeSignal &) = delete;
    NoBrokenPipeSignal &operator=(const NoBrokenPipeSignal &) = delete;

private:
    sigset_t _pipe;
    sigset_t _saved;
};

} // namespace

/// One accepted connection, plain or over TLS.
struct LoopbackHttpServer::Connection
{
    explicit Connection(int descriptor)
        : fd(descriptor)
    {}
    ~Connection()
    {
        if (ssl) {
            const NoBrokenPipeSignal quiet;
            SSL_shutdown(ssl);
            SSL_free(ssl);
        }
        ::close(fd);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    /// Whether bytes can be read within 50 ms.
    bool readable() const
    {
        if (ssl && SSL_pending(ssl) > 0)
            return true;
        pollfd waiting{fd, POLLIN, 0};
        return ::poll(&waiting, 1, 50) > 0;
    }
    qsizetype receive(char *buffer, int size)
    {
        return ssl ? SSL_read(ssl, buffer, size) : ::recv(fd, buffer, size_t(size), 0);
    }
    void send(const QByteArray &data)
    {
        const NoBrokenPipeSignal quiet;
        for (qsizetype sent = 0; sent < data.size();) {
            const auto rest = data.size() - sent;
            const qsizetype written =
                ssl ? SSL_write(ssl, data.constData() + sent, int(rest))
                    : ::send(fd, data.constData() + sent, size_t(rest), MSG_NOSIGNAL);
            if (written <= 0)
                return;
            sent += written;
        }
    }

    int fd;
    SSL *ssl = nullptr;
};

LoopbackHttpServer::LoopbackHttpServer(Transport transport)
{
    if (transport == Transport::Https) {
        _tls = std::make_unique<Tls>();
        if (!_tls->context)
            return;
    }
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
    _heldConnections.clear();
    if (_listener >= 0)
        ::close(_listener);
}

QByteArray LoopbackHttpServer::address() const
{
    return (_tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + QByteArray::number(_port);
}

QByteArray LoopbackHttpServer::certificate() const
{
    return _tls ? _tls->pem : QByteArray();
}

void LoopbackHttpServer::setAnswer(int status, const QByteArray &body,
                                   const QList<QByteArray> &headers)
{
    const std::lock_guard lock(_mutex);
    _answer = {status, body, headers};
}

void LoopbackHttpServer::setAnswerFor(const QByteArray &target, int status, const QByteArray &body,
                                      const QList<QByteArray> &headers)
{
    const std::lock_guard lock(_mutex);
    _answersByTarget.insert(target, {status, body, headers});
}

void LoopbackHttpServer::setSilent(bool silent)
{
    const std::lock_guard lock(_mutex);
    _silent = silent;
}

bool LoopbackHttpServer::holdsOpenRequest() const
{
    const std::lock_guard lock(_mutex);
    for (const auto &[connection, target] : _heldConnections) {
        // A client that gave up has closed its end: readable, with nothing left to read.
        pollfd waiting{connection->fd, POLLIN, 0};
        char byte = 0;
        if (::poll(&waiting, 1, 0) == 0 ||
            ::recv(connection->fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0)
            return true;
    }
    return false;
}

void LoopbackHttpServer::releaseHeldRequests()
{
    const std::lock_guard lock(_mutex);
    _silent = false;
    for (const auto &[connection, target] : _heldConnections)
        _reply(*connection, target);
    _heldConnections.clear();
}

QList<QByteArray> LoopbackHttpServer::requestTargets() const
{
    const std::lock_guard lock(_mutex);
    return _targets;
}

int LoopbackHttpServer::connectionCount() const
{
    const std::lock_guard lock(_mutex);
    return _connections;
}

void LoopbackHttpServer::_serve()
{
    while (!_stopping) {
        pollfd waiting{_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int fd = ::accept4(_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        {
            const std::lock_guard lock(_mutex);
            ++_connections;
        }
        auto connection = std::make_unique<Connection>(fd);
        if (_tls) {
            // A client that never completes the handshake must not hold the server for ever.
            const timeval limit{5, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            connection->ssl = SSL_new(_tls->context);
            SSL_set_fd(connection->ssl, fd);
            if (SSL_accept(connection->ssl) != 1) {
                ERR_clear_error();
                continue;
            }
        }
        _handle(std::move(connection));
    }
}

void LoopbackHttpServer::_handle(std::unique_ptr<Connection> connection)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n") && !_stopping) {
        if (!connection->readable())
            continue;
        const qsizetype read = connection->receive(buffer, sizeof buffer);
        if (read <= 0)
            break;
        request.append(buffer, read);
    }
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray target = requestLine.size() == 3 ? requestLine[1] : QByteArray();

    const std::lock_guard lock(_mutex);
    if (requestLine.size() == 3)
        _targets.append(target);
    if (_silent) {
        _heldConnections.emplace_back(std::move(connection), target);
        return;
    }
    _reply(*connection, target);
}

void LoopbackHttpServer::_reply(Connection &connection, const QByteArray &target)
{
    const auto own = _answersByTarget.constFind(target);
    const Answer &answer = own != _answersByTarget.cend() ? *own : _answer;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) +
                      " Answer\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n";
    for (const QByteArray &header : answer.headers)
        head += header + "\r\n";
    connection.send(head + "\r\n" + answer.body);
}
