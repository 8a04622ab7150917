// SPDX-License-Identifier: MIT
#include "app/helpers/MapLink.h"

#include "app/helpers/StringQuote.h"

namespace MapLink {

namespace {

// Characters that mean something in a query ("&", "+", "%", "#") or that a strict URL refuses
// ('"', "<", tabs …) would split the query or give no link at all, so only these stay as they
// are: letters, digits and the punctuation addresses are written with.
bool isKeptAsIs(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("-._~,/:'()!*;@$=?").contains(c);
}

QByteArray queryPart(const QString &part)
{
    // Accents go first: compatibility decomposition turns no-break and ideographic spaces into
    // blanks and full-width signs into "#" or "&", which the encoding below must still see.
    const QByteArray utf8 = StringQuote::stringByStrippingAccents(part).toUtf8();
    QByteArray encoded;
    encoded.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == ' ' || c == '\n' || c == '\r') {
            // Cards written on other systems end their lines with CR LF or CR alone.
            if (!(c == '\n' && i > 0 && utf8[i - 1] == '\r'))
                encoded += '+';
        } else if (isKeptAsIs(c)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += QByteArray::number(static_cast<unsigned char>(c), 16)
                           .rightJustified(2, '0')
                           .toUpper();
        }
    }
    return encoded;
}

} // namespace

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
    QByteArrayList query;
    for (const QString &part : std::as_const(parts))
        query.append(queryPart(part));
    const QByteArray text = "http://" + mapHost().toLatin1() + "/maps?q=" + query.join('+');
    const QUrl url = QUrl::fromEncoded(text, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

} // namespace MapLink
