// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>

/// A first look at a vCard file's text, cheap enough for every file of a large address book,
/// that tells what reading it could give without reading it: whether reading would report
/// anything, and a condensed form of the text that holds every value a card can give.
namespace VCardSkim {

struct Skim
{
    /// The text looked at, UTF-8 (as VCardReader::normalisedText() makes it).
    QByteArrayView text;
    /// Whether every value is read from the text's bytes as they are: the text is UTF-8
    /// throughout, and no property asks for quoted-printable or names a charset. Only then
    /// does `condensed` tell what the values hold.
    bool plain = false;
    /// Whether the text is ASCII.
    bool ascii = false;
    /// The text without the characters isLeftOut() names, its ASCII letters in lower case.
    /// When `plain`, every piece of every value reading gives that holds none of those
    /// characters, its ASCII letters in lower case, is contained in it: unfolding and
    /// escapes only take such characters out, or turn `\n` into a line break.
    QByteArray condensed;
};

/// Looks at `text`; `skim` keeps its buffer's room from call to call.
void skim(QByteArrayView text, Skim &skim);

/// The characters the condensed text leaves out: line breaks, blanks (space and tab),
/// backslashes, and NUL, which no card that reading keeps holds.
bool isLeftOut(char c);

/// The cards reading `text` gives when it reports nothing, -1 otherwise: every BEGIN:VCARD
/// and END:VCARD in the text is a line of its own, they take turns, and no NUL is in the way.
/// Text a reader would still take without complaint may answer -1 when it is unusual (a
/// marker with blanks around it, an END outside a card).
int cleanCardCount(QByteArrayView text);

/// Appends the ASCII digits of `text`, each stretch of lines that one property's value may
/// span (a line and the lines folded into it, or left between them empty) ended by a NUL, so
/// the digits of any value read from plain text lie together between two NULs.
void appendDigitsByLine(QByteArray &out, QByteArrayView text);

} // namespace VCardSkim
