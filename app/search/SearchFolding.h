// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

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

/// A text folded as a typed word is, with where each folded byte came from, so that what a
/// word matched in the folded form can be shown in the text itself.
struct FoldedText
{
    QByteArray folded;
    /// For each byte of `folded`: the UTF-16 range [from, to) of the character of the text it
    /// was folded from. Marks that fold to nothing belong to the character before them.
    std::vector<qsizetype> from, to;

    /// The range of the text a match of `length` bytes at byte `at` of `folded` covers.
    std::pair<qsizetype, qsizetype> sourceOf(qsizetype at, qsizetype length) const
    {
        return {from[size_t(at)], to[size_t(at + length - 1)]};
    }
};
FoldedText foldedWithSources(QStringView text, bool ignoreAccents);

/// The digits of a word made only of digits and the phone punctuation "+ ( ) - . /" with at
/// least three digits; empty for any other word.
QByteArray phoneDigitsOfWord(QStringView word);
/// Appends the ASCII digits of a phone number to `out`.
void appendPhoneDigits(QByteArray &out, QByteArrayView utf8);

} // namespace SearchFolding
