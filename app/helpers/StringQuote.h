// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Making strings safe for names and links. Lengths count UTF-16 code units.
namespace StringQuote {

/// Accented letters become plain ones (compatibility decomposition, combining marks dropped);
/// sharp s becomes "ss", o with stroke "o". Latin letters that do not decompose become their
/// usual ASCII spelling (æ "ae", Ø "O", ł "l", þ "th", ...); letters of other scripts are kept.
QString stringByStrippingAccents(const QString &string);

/// Every character without an ASCII form becomes "?".
QString stringByConvertingToASCII(const QString &string);

/// Characters other than letters, digits and " #$?&@^[]_.-()+" become "_".
QString stringByReplacingUnsupportedCharacters(const QString &string);

/// Accents stripped, converted to ASCII, unsupported characters replaced.
QString legalizedString(const QString &string);

/// legalizedString() with "% #$?&@^[]" written as "%" + lower-case hexadecimal code.
QString quotedString(const QString &string);

/// At most 30 code units, keeping the name extension when one fits: 29 - e characters, the
/// dot and the extension of length e. Without an extension that fits, the first 29.
QString stringByShorteningTo30(const QString &string);

} // namespace StringQuote
