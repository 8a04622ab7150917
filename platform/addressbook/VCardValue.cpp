// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardValue.h"

#include <QStringDecoder>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isUtf8Charset(QByteArrayView charset)
{
    return charset.isEmpty() || AsciiText::equalsIgnoringCase(charset, "utf-8") ||
           AsciiText::equalsIgnoringCase(charset, "utf8");
}

} // namespace

namespace VCardValue {

QByteArray decodeQuotedPrintable(QByteArrayView input)
{
    QByteArray output;
    output.reserve(input.size());
    for (qsizetype i = 0; i < input.size(); ++i) {
        const char c = input[i];
        if (c == '=' && i + 2 < input.size() && hexValue(input[i + 1]) >= 0 &&
            hexValue(input[i + 2]) >= 0) {
            output.append(char(hexValue(input[i + 1]) * 16 + hexValue(input[i + 2])));
            i += 2;
        } else if (c == '=' && i + 1 == input.size()) {
            // A soft line break that ended the value: nothing follows.
        } else {
            output.append(c);
        }
    }
    return output;
}

QString decodeCharset(QByteArrayView bytes, QByteArrayView charset)
{
    if (!isUtf8Charset(charset)) {
        QStringDecoder decoder(charset.toByteArray().constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QString text = QString::fromUtf8(bytes);
    // Cards written by old programs carry Latin-1 or Windows-1252 text without saying so;
    // decoding them as UTF-8 would turn every accent into a replacement character.
    if (text.contains(QChar::ReplacementCharacter) && !bytes.contains("\xEF\xBF\xBD")) {
        QStringDecoder windows("windows-1252");
        if (windows.isValid()) {
            QString fallback = windows.decode(bytes);
            if (!windows.hasError())
                return fallback;
        }
        return QString::fromLatin1(bytes);
    }
    return text;
}

QString unescaped(const QString &text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result.append(c);
            continue;
        }
        const QChar next = text[i + 1];
        if (next == QLatin1Char('n') || next == QLatin1Char('N')) {
            result.append(QLatin1Char('\n'));
            ++i;
        } else if (next == QLatin1Char(',') || next == QLatin1Char(';') ||
                   next == QLatin1Char('\\') || next == QLatin1Char(':')) {
            result.append(next);
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

Text decodeText(const VCardProperty &property, QByteArrayView raw)
{
    if (!property.quotedPrintable && isUtf8Charset(property.charset) && !raw.contains('\\') &&
        raw.isValidUtf8())
        return Text{raw, {}, false};
    if (property.quotedPrintable)
        return Text::of(unescaped(decodeCharset(decodeQuotedPrintable(raw), property.charset)));
    return Text::of(unescaped(decodeCharset(raw, property.charset)));
}

Text decodeText(const VCardProperty &property)
{
    return decodeText(property, property.value);
}

// As QString::trimmed(): a view whose ends are not ASCII may start or end in a Unicode
// space, which only the string knows.
Text trimmed(const Text &text)
{
    if (text.isDecoded)
        return Text::of(text.decoded.trimmed());
    QByteArrayView view = text.utf8;
    while (!view.isEmpty() && AsciiText::isSpace(view.front()))
        view = view.sliced(1);
    while (!view.isEmpty() && AsciiText::isSpace(view.back()))
        view.chop(1);
    if (!view.isEmpty() && (quint8(view.front()) >= 0x80 || quint8(view.back()) >= 0x80))
        return Text::of(QString::fromUtf8(view).trimmed());
    return Text{view, {}, false};
}

bool isBlank(const Text &text)
{
    return trimmed(text).isEmpty();
}

bool equalsIgnoringCase(const Text &text, QLatin1String word)
{
    return text.toString().compare(word, Qt::CaseInsensitive) == 0;
}

Components decodeComponents(const VCardProperty &property)
{
    Components components;
    const QByteArrayView value = property.value;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        // A backslash that ends the value escapes nothing and belongs to the last component.
        if (i + 1 < value.size() && value[i] == '\\') {
            ++i;
            continue;
        }
        if (i >= value.size() || value[i] == ';') {
            components.append(
                decodeText(property, value.sliced(start, qMin(i, value.size()) - start)));
            start = i + 1;
        }
    }
    return components;
}

Text component(const Components &components, qsizetype index)
{
    return index < components.size() ? components[index] : Text{};
}

Text withoutScheme(const Text &value, QLatin1String scheme)
{
    const Text trimmedValue = trimmed(value);
    const QString text = trimmedValue.toString();
    if (!text.startsWith(scheme, Qt::CaseInsensitive))
        return value;
    if (!trimmedValue.isDecoded)
        return Text{trimmedValue.utf8.sliced(scheme.size()), {}, false};
    return Text::of(text.mid(scheme.size()));
}

} // namespace VCardValue
