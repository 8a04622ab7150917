// SPDX-License-Identifier: MIT
#include "common/utility/ClickToCallService.h"

#include <QByteArray>

namespace ClickToCallService {
namespace {

QString &overriddenAddress()
{
    static QString address;
    return address;
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

QUrl requestUrl(const char *path, const QList<std::pair<const char *, QString>> &query)
{
    QByteArray address = serviceAddress().toUtf8() + path;
    char separator = '?';
    for (const auto &[key, value] : query) {
        address += separator + QByteArray(key) + '=' + QUrl::toPercentEncoding(value);
        separator = '&';
    }
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

QStringList acceptedCallerNumbers(const QStringList &candidates, qsizetype *dropped)
{
    QStringList accepted;
    qsizetype left = 0;
    for (const QString &candidate : candidates) {
        bool hasDigit = false;
        bool phoneLike = candidate.size() <= kMaxCallerNumberLength;
        for (qsizetype i = 0; phoneLike && i < candidate.size(); ++i) {
            const char16_t c = candidate.at(i).unicode();
            hasDigit = hasDigit || (c >= u'0' && c <= u'9');
            phoneLike = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'(' ||
                        c == u')' || c == u' ';
        }
        if (phoneLike && hasDigit && accepted.size() < kMaxCallerNumbers)
            accepted.append(candidate);
        else
            ++left;
    }
    if (dropped)
        *dropped = left;
    return accepted;
}

} // namespace ClickToCallService
