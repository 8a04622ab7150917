// SPDX-License-Identifier: MIT
#include "net/UrlLoading.h"
#include "LoopbackHttpServer.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

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

} // namespace
