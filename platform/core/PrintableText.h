// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

/// Text from contact data or from the bus on its way to a terminal, where control characters
/// would act instead of showing: ESC sequences rewrite the screen or the window title, and
/// bidirectional controls make a line read other than it is.
namespace PrintableText {

enum class Escape
{
    /// `\x1b`, for people reading (`\u202e` beyond U+00FF).
    Hex,
    /// `\u001b`, valid inside a JSON string.
    Unicode,
};

/// `text` with each control character (C0, DEL and C1) and each bidirectional control (which
/// would reorder what the terminal shows) other than those in `kept` written as a visible
/// escape.
QString escapeControlCharacters(const QString &text, Escape form, QStringView kept = {});

} // namespace PrintableText
