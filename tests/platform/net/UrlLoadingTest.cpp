// SPDX-License-Identifier: MIT
#include "platform/net/UrlLoading.h"
#include "tests/support/LoopbackHttpServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QUrl at(const LoopbackHttpServer &server, const char *path)
{
    return QUrl::fromEncoded(server.address() + path);
}

TEST(UrlLoading, ASuccessfulAnswerGivesItsWholeBody)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.isListening());
    const QByteArray body("000 placed\r\nsecond line\0with a zero", 35);
    server.setAnswer(200, body);
    QString error;
    const auto answer = UrlLoading::dataWithContentsOfURL(at(server, "/a?b=c%26d"), 10, &error);
    ASSERT_TRUE(answer.has_value()) << qPrintable(error);
    EXPECT_EQ(*answer, body);
    EXPECT_EQ(server.requestTargets(), QList<QByteArray>{"/a?b=c%26d"});

    server.setAnswer(204, QByteArray());
    const auto empty = UrlLoading::dataWithContentsOfURL(at(server, "/"), 10);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
}

TEST(UrlLoading, ErrorStatusesUnreachableHostsAndSilenceGiveNoBody)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.isListening());
    QString error;

    server.setAnswer(500, "000 looks like success but is an error page");
    EXPECT_FALSE(UrlLoading::dataWithContentsOfURL(at(server, "/"), 10, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("500"))) << qPrintable(error);

    server.setSilent(true);
    error.clear();
    EXPECT_FALSE(UrlLoading::dataWithContentsOfURL(at(server, "/"), 1, &error).has_value());
    EXPECT_FALSE(error.isEmpty());

    QByteArray closedPort;
    {
        LoopbackHttpServer gone;
        closedPort = gone.address();
    }
    error.clear();
    EXPECT_FALSE(
        UrlLoading::dataWithContentsOfURL(QUrl::fromEncoded(closedPort + "/"), 10, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(UrlLoading, OnlyWebAddressesAreFetchedAndHugeBodiesAreRefused)
{
    QTemporaryFile local;
    ASSERT_TRUE(local.open());
    local.write("a local file must never be read as an answer");
    local.flush();
    QString error;
    EXPECT_FALSE(
        UrlLoading::dataWithContentsOfURL(QUrl::fromLocalFile(local.fileName()), 10, &error));
    EXPECT_EQ(error, QStringLiteral("not a web address"));
    EXPECT_FALSE(UrlLoading::dataWithContentsOfURL(QUrl(), 10));

    LoopbackHttpServer server;
    ASSERT_TRUE(server.isListening());
    server.setAnswer(200, QByteArray(5 * 1024 * 1024, '0'));
    EXPECT_FALSE(UrlLoading::dataWithContentsOfURL(at(server, "/"), 10));
}

// A service's redirect may lead only to https, and only so far: never to a plain-text
// address, a local file or another protocol, and never round and round.
class UrlLoadingRedirects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(secure.isListening()) << "no TLS server could be made on the loopback";
        ASSERT_TRUE(plain.isListening());
        UrlLoading::setTrustedCertificates(secure.certificate());
        secure.setAnswer(200, "secure answer");
        plain.setAnswer(200, "plain answer");
        QString error;
        ASSERT_EQ(UrlLoading::dataWithContentsOfURL(at(secure, "/"), 10, &error),
                  QByteArray("secure answer"))
            << "the loopback TLS server is not trusted: " << qPrintable(error);
        for (int hop = 1; hop <= 30; ++hop)
            secure.setAnswerFor("/hop/" + QByteArray::number(hop), 302, {},
                                {"Location: /hop/" + QByteArray::number(hop - 1)});
    }
    void TearDown() override { UrlLoading::setTrustedCertificates({}); }

    LoopbackHttpServer secure{LoopbackHttpServer::Transport::Https};
    LoopbackHttpServer plain;
};

TEST_F(UrlLoadingRedirects, FromHttpToHttpsAndAFewHopsAreFollowed)
{
    plain.setAnswerFor("/moved", 301, {}, {"Location: " + secure.address() + "/there"});
    QString error;
    EXPECT_EQ(UrlLoading::dataWithContentsOfURL(at(plain, "/moved"), 10, &error),
              QByteArray("secure answer"))
        << qPrintable(error);
    EXPECT_EQ(UrlLoading::dataWithContentsOfURL(at(secure, "/hop/3"), 10, &error),
              QByteArray("secure answer"))
        << qPrintable(error);
}

TEST_F(UrlLoadingRedirects, ToAnythingButHttpsOrOnAndOnAreRefused)
{
    // A named pipe shows whether a redirect to a local file was followed: the reader opens
    // it, and would wait there for ever, past any time-out.
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const auto pipeOpened = [&pipe] {
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer); // lets the reader go on
        return writer >= 0;
    };
    const struct
    {
        const char *what;
        QByteArray location;
    } refused[] = {
        {"plain http", plain.address() + "/plain"},
        {"ftp", "ftp" + plain.address().mid(4) + "/"},
        {"a local file", QUrl::fromLocalFile(pipe).toEncoded()},
    };
    for (const auto &[what, location] : refused) {
        secure.setAnswerFor("/away", 302, {}, {"Location: " + location});
        const int connections = plain.connectionCount();
        QString error;
        auto answer = std::async(std::launch::async, [&] {
            return UrlLoading::dataWithContentsOfURL(at(secure, "/away"), 5, &error);
        });
        bool opened = false;
        while (answer.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            opened = pipeOpened() || opened;
        EXPECT_EQ(answer.get(), std::nullopt) << "a redirect to " << what << " was followed";
        EXPECT_FALSE(error.isEmpty()) << what;
        EXPECT_EQ(plain.connectionCount(), connections) << "a redirect to " << what << " was tried";
        EXPECT_FALSE(opened) << "a redirect to " << what << " opened it";
    }

    const qsizetype before = secure.requestTargets().size();
    EXPECT_EQ(UrlLoading::dataWithContentsOfURL(at(secure, "/hop/30"), 10), std::nullopt)
        << "thirty redirects in a row were followed";
    EXPECT_LE(secure.requestTargets().size() - before, 10);
}

} // namespace
