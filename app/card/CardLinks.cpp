// SPDX-License-Identifier: MIT
#include "app/card/CardLinks.h"

#include "app/helpers/WorkspaceExtras.h"

namespace CardLinks {

namespace {

bool hasControlCharacters(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

} // namespace

QUrl webLink(const QString &value)
{
    const QString text = value.trimmed();
    if (text.isEmpty() || hasControlCharacters(text))
        return {};
    const QUrl url(WorkspaceExtras::hasScheme(text) ? text : QLatin1String("https://") + text,
                   QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

QUrl mailLink(const QString &value)
{
    QString address = value.trimmed();
    if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        address = address.mid(int(qstrlen("mailto:")));
    if (address.isEmpty() || hasControlCharacters(address) || WorkspaceExtras::hasScheme(address))
        return {};
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    return url.isValid() ? url : QUrl();
}

QUrl phoneLink(const QString &value)
{
    const QString number = value.trimmed();
    if (number.isEmpty())
        return {};
    return QUrl::fromEncoded("tel:" + QUrl::toPercentEncoding(number, "+"), QUrl::StrictMode);
}

} // namespace CardLinks
