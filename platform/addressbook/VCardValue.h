// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/VCardProperty.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

#include <utility>

/// The values of a card's properties, decoded: quoted-printable, charsets (declared, or
/// Latin-1 and Windows-1252 where UTF-8 does not fit) and backslash escapes.
namespace VCardValue {

/// A decoded value: most values are plain UTF-8 without escapes and are kept as a view of
/// the card's text, which saves decoding every value into a string of its own.
struct Text
{
    QByteArrayView utf8;
    QString decoded;
    bool isDecoded = false;

    bool isEmpty() const { return isDecoded ? decoded.isEmpty() : utf8.isEmpty(); }
    QString toString() const { return isDecoded ? decoded : QString::fromUtf8(utf8); }
    static Text of(QString text) { return Text{{}, std::move(text), true}; }
};

/// `=XX` bytes decoded; a `=` that ends the value (a soft line break) is dropped.
QByteArray decodeQuotedPrintable(QByteArrayView input);
/// `bytes` in the declared `charset`; as UTF-8 when none is declared or it does not fit, and
/// text that is no UTF-8 either as Windows-1252 (else Latin-1).
QString decodeCharset(QByteArrayView bytes, QByteArrayView charset);
/// Without the escapes of vCard text: `\n` (or `\N`) a line break, `\,` `\;` `\:` `\\`
/// the character; any other backslash stays.
QString unescaped(const QString &text);

/// `raw`, a part of `property`'s value, decoded as the property's parameters say.
Text decodeText(const VCardProperty &property, QByteArrayView raw);
Text decodeText(const VCardProperty &property);
/// As QString::trimmed().
Text trimmed(const Text &text);
bool isBlank(const Text &text);
bool equalsIgnoringCase(const Text &text, QLatin1String word);

using Components = QVarLengthArray<Text, 8>;
/// Components of a structured value (N, ADR, ORG), split at semicolons that are not escaped.
Components decodeComponents(const VCardProperty &property);
/// The component at `index`, empty past the last.
Text component(const Components &components, qsizetype index);
/// A value that starts with the scheme (after blanks) loses it; otherwise it stays untouched.
Text withoutScheme(const Text &value, QLatin1String scheme);

} // namespace VCardValue
