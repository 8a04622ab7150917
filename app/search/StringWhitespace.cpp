// SPDX-License-Identifier: MIT
#include "app/search/StringWhitespace.h"

namespace StringWhitespace {

QString stringByTrimmingWhiteSpaces(const QString &string)
{
    if (string.isNull())
        return {};
    // QChar::isSpace covers the Unicode separators plus tab, line feed to carriage return and
    // next line: the white-space-and-newline set names are looked up against.
    return string.trimmed();
}

} // namespace StringWhitespace
