// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/// How text is compared by search, and the forms both sides are brought into so that an
/// exact substring search finds what a comparison that ignores case (and, on request,
/// accents) would.
namespace SearchFolding {

struct Options
{
    /// Accents and letter variants do not count: "muller" finds "Müller", "strasse" and
    /// "straße" find each other, ł ø æ œ đ ı match l o ae oe d i.
    bool ignoreAccents = false;
    /// A word of digits and phone punctuation with at least three digits also matches a phone
    /// number whose digits contain its digits.
    bool matchPhoneDigits = false;

    bool operator==(const Options &) const = default;
};

/// Appends the folded form of UTF-8 `text` to `out`, as UTF-8. Without ignoreAccents that is
/// Unicode simple case folding, code point by code point, as Qt's case-insensitive
/// comparison does; with it, letters also lose their accents and variants. A NUL becomes
/// U+FFFD, so that NUL can separate values.
void appendFolded(QByteArray &out, QByteArrayView utf8, bool ignoreAccents);
/// The folded form of a typed word, as UTF-8, the same way (a NUL matches NUL or U+FFFD).
QByteArray folded(QStringView text, bool ignoreAccents);

/// The digits of a word made only of digits and the phone punctuation "+ ( ) - . /" with at
/// least three digits; empty for any other word.
QByteArray phoneDigitsOfWord(QStringView word);
/// Appends the ASCII digits of a phone number to `out`.
void appendPhoneDigits(QByteArray &out, QByteArrayView utf8);

} // namespace SearchFolding
