// SPDX-License-Identifier: MIT
#include "app/dialing/ClickToCall.h"

#include "app/helpers/StringExtras.h"
#include "common/utility/ClickToCallService.h"

namespace ClickToCall {

QString targetNumber(const QString &phoneNumber)
{
    return StringExtras::stringByRemovingCharactersInSet(phoneNumber, QStringLiteral("() -"));
}

QUrl requestUrl(const QString &accountName, const QString &password, const QString &fromNumber,
                const QString &toNumber)
{
    return ClickToCallService::requestUrl("/tpcc/makecall", {{"username", accountName},
                                                             {"password", password},
                                                             {"fromnumber", fromNumber},
                                                             {"tonumber", targetNumber(toNumber)}});
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
