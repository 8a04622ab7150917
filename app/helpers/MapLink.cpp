// SPDX-License-Identifier: MIT
#include "MapLink.h"

#include "StringQuote.h"

namespace MapLink {

QString mapHost()
{
    return QStringLiteral("maps.google.com");
}

QUrl googleURLWithAddress(const QVariantMap &address)
{
    const QString street = address.value(QStringLiteral("Street")).toString();
    const QString city = address.value(QStringLiteral("City")).toString();
    const QString state = address.value(QStringLiteral("State")).toString();
    const QString zip = address.value(QStringLiteral("ZIP")).toString();
    const QVariant country = address.value(QStringLiteral("Country"));

    QStringList parts;
    if (zip.size() > 4) {
        parts = state.size() > 1 ? QStringList{street, state, zip} : QStringList{street, zip};
    } else {
        parts = {street, city, state, zip};
        if (country.isValid())
            parts.append(country.toString());
    }
    // Accents go first: compatibility decomposition turns no-break and ideographic spaces into
    // blanks and full-width signs into "#", which the replacements below must still see.
    QString query = StringQuote::stringByStrippingAccents(parts.join(QLatin1Char('+')));
    query.replace(QLatin1Char(' '), QLatin1Char('+'));
    // Cards written on other systems end their lines with CR LF or CR alone.
    query.replace(QLatin1String("\r\n"), QLatin1String("+"));
    query.replace(QLatin1Char('\n'), QLatin1Char('+'));
    query.replace(QLatin1Char('\r'), QLatin1Char('+'));
    query.replace(QLatin1Char('#'), QLatin1String("%23"));

    // Letters of other scripts survive accent stripping; sent as UTF-8 escapes they still
    // make a link the service understands.
    QByteArray encoded;
    const QByteArray utf8 = query.toUtf8();
    for (const char byte : utf8) {
        const auto unit = static_cast<unsigned char>(byte);
        if (unit < 0x80) {
            encoded += byte;
        } else {
            encoded += '%';
            encoded += QByteArray::number(unit, 16).toUpper();
        }
    }
    const QString text = QLatin1String("http://") + mapHost() + QLatin1String("/maps?q=") +
                         QString::fromLatin1(encoded);
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

} // namespace MapLink
