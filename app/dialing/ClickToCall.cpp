// SPDX-License-Identifier: MIT
#include "ClickToCall.h"

#include "helpers/StringExtras.h"

namespace ClickToCall {
namespace {

QString &overriddenAddress()
{
    static QString address;
    return address;
}

QByteArray queryValue(const QString &value)
{
    return QUrl::toPercentEncoding(value);
}

} // namespace

QString serviceAddress()
{
    if (!overriddenAddress().isEmpty())
        return overriddenAddress();
    const QString fromEnvironment = qEnvironmentVariable("BRISKO_CLICK_TO_CALL_ADDRESS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStringLiteral("https://secure.click2callu.com");
}

void setServiceAddress(const QString &address)
{
    overriddenAddress() = address;
}

QString targetNumber(const QString &phoneNumber)
{
    return StringExtras::stringByRemovingCharactersInSet(phoneNumber, QStringLiteral("() -"));
}

QUrl requestUrl(const QString &accountName, const QString &password, const QString &fromNumber,
                const QString &toNumber)
{
    const QByteArray address =
        serviceAddress().toUtf8() + "/tpcc/makecall?username=" + queryValue(accountName) +
        "&password=" + queryValue(password) + "&fromnumber=" + queryValue(fromNumber) +
        "&tonumber=" + queryValue(targetNumber(toNumber));
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

std::optional<int> statusCode(const QByteArray &answer)
{
    const QByteArray head = answer.left(3);
    qsizetype i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\n'))
        ++i;
    int sign = 1;
    if (i < head.size() && (head[i] == '-' || head[i] == '+'))
        sign = head[i++] == '-' ? -1 : 1;
    if (i == head.size() || head[i] < '0' || head[i] > '9')
        return std::nullopt;
    int value = 0;
    for (; i < head.size() && head[i] >= '0' && head[i] <= '9'; ++i)
        value = value * 10 + (head[i] - '0');
    return sign * value;
}

} // namespace ClickToCall
