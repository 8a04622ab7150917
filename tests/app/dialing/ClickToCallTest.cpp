// SPDX-License-Identifier: MIT
#include "app/dialing/ClickToCall.h"
#include "common/utility/ClickToCallService.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

TEST(ClickToCall, TheTargetNumberLosesOnlyBracketsBlanksAndDashes)
{
    EXPECT_EQ(ClickToCall::targetNumber(QStringLiteral("(555) 123-4567")),
              QStringLiteral("5551234567"));
    EXPECT_EQ(ClickToCall::targetNumber(QStringLiteral("+1 555.123.4567")),
              QStringLiteral("+1555.123.4567"));
    EXPECT_EQ(ClickToCall::targetNumber(QStringLiteral("1-800-FLOWERS ext 2")),
              QStringLiteral("1800FLOWERSext2"));
}

TEST(ClickToCall, TheRequestCarriesEachValueWhole)
{
    ClickToCallService::setServiceAddress(QStringLiteral("http://127.0.0.1:9"));
    const QString password = QStringLiteral("p&w=1#x y+ü");
    const QUrl url =
        ClickToCall::requestUrl(QStringLiteral("ann"), password, QStringLiteral("15550001111"),
                                QStringLiteral("+1 555.123.4567"));
    ClickToCallService::setServiceAddress(QString());
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(url.path(), QStringLiteral("/tpcc/makecall"));
    EXPECT_TRUE(url.fragment().isNull()) << "a '#' in the password cut the request";

    const QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyDecoded);
    ASSERT_EQ(items.size(), 4) << qPrintable(url.toString());
    EXPECT_EQ(items[0], qMakePair(QStringLiteral("username"), QStringLiteral("ann")));
    EXPECT_EQ(items[1], qMakePair(QStringLiteral("password"), password));
    EXPECT_EQ(items[2], qMakePair(QStringLiteral("fromnumber"), QStringLiteral("15550001111")));
    // An unencoded "+" would reach the service as a blank.
    EXPECT_EQ(items[3], qMakePair(QStringLiteral("tonumber"), QStringLiteral("+1555.123.4567")));
    EXPECT_TRUE(url.toEncoded().contains("tonumber=%2B1555.123.4567"));
}

// Tests point the request at a loopback server through the environment or in the process; a
// dial from anywhere else goes to the service itself, encrypted.
TEST(ClickToCall, TheRequestGoesWhereTheProcessOrTheEnvironmentPointsIt)
{
    const struct
    {
        const char *environment;
        const char *set;
        const char *start;
    } cases[] = {
        {"http://127.0.0.1:8", "", "http://127.0.0.1:8/tpcc/makecall?"},
        {"http://127.0.0.1:8", "http://127.0.0.1:7", "http://127.0.0.1:7/tpcc/makecall?"},
        {"", "", "https://"},
    };
    for (const auto &[environment, set, start] : cases) {
        if (*environment)
            qputenv("BRISKO_CLICK_TO_CALL_ADDRESS", environment);
        else
            qunsetenv("BRISKO_CLICK_TO_CALL_ADDRESS");
        ClickToCallService::setServiceAddress(QString::fromLatin1(set));
        const QUrl url = ClickToCall::requestUrl(QStringLiteral("ann"), QStringLiteral("pw"),
                                                 QStringLiteral("1"), QStringLiteral("2"));
        EXPECT_TRUE(url.toString().startsWith(QLatin1String(start)))
            << environment << " / " << set << ": " << qPrintable(url.toString());
    }
    ClickToCallService::setServiceAddress(QString());
}

TEST(ClickToCall, TheStatusIsTheNumberInTheFirstThreeCharacters)
{
    EXPECT_EQ(ClickToCall::statusCode("000 call placed"), 0);
    EXPECT_EQ(ClickToCall::statusCode("401 bad login"), 401);
    EXPECT_EQ(ClickToCall::statusCode("12a"), 12);
    EXPECT_EQ(ClickToCall::statusCode("1234"), 123);
    EXPECT_EQ(ClickToCall::statusCode(" 42"), 42);
    EXPECT_EQ(ClickToCall::statusCode("-5 "), -5);
    EXPECT_EQ(ClickToCall::statusCode("7"), 7);
    for (const char *noStatus : {"ok, 401", "", "<html><head>Sign in to the Wi-Fi", "- 1"})
        EXPECT_EQ(ClickToCall::statusCode(noStatus), std::nullopt) << noStatus;
}

} // namespace
