// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardEncoding.h"

#include <QStringDecoder>

namespace VCardEncoding {

using Encoding = Person::Origin::Encoding;

Encoding detect(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8WithBom;
    if (data.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (data.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    // Without a byte-order mark, UTF-16 shows itself by its NULs: a card's text is mostly
    // ASCII, whose high byte is zero.
    const qsizetype pairs = qMin<qsizetype>(data.size(), 1024) / 2;
    if (pairs < 4 || !data.first(pairs * 2).contains('\0'))
        return Encoding::Utf8;
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        evenZeros += data[2 * i] == '\0';
        oddZeros += data[2 * i + 1] == '\0';
    }
    if (oddZeros * 10 >= pairs * 4 && evenZeros * 20 <= pairs)
        return Encoding::Utf16LE;
    if (evenZeros * 10 >= pairs * 4 && oddZeros * 20 <= pairs)
        return Encoding::Utf16BE;
    return Encoding::Utf8;
}

QByteArray normalisedText(const QByteArray &data, Person::Origin::Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return data;
    case Encoding::Utf8WithBom:
        return data.mid(3);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    QByteArrayView body(data);
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF"))
        body = body.sliced(2);
    QStringDecoder decoder(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                         : QStringConverter::Utf16BE);
    return QString(decoder.decode(body)).toUtf8();
}

} // namespace VCardEncoding
