// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace StringWhitespace {

/// `string` without leading and trailing white space and line breaks (Unicode separators,
/// tab, line feed through carriage return, next line). A null string stays null.
QString stringByTrimmingWhiteSpaces(const QString &string);

} // namespace StringWhitespace
