// SPDX-License-Identifier: MIT
#include "ClickToCallService.h"

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

} // namespace ClickToCallService
