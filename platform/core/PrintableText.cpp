// SPDX-License-Identifier: MIT
#include "platform/core/PrintableText.h"

namespace PrintableText {

namespace {

// The characters that reorder the text around them (after U+202E the rest of a line shows
// backwards): ALM, LRM, RLM, the embeddings and overrides, the isolates.
bool isBidiControl(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString escapeControlCharacters(const QString &text, Escape form, QStringView kept)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if ((c.category() != QChar::Other_Control && !isBidiControl(c)) || kept.contains(c)) {
            result += c;
            continue;
        }
        result += form == Escape::Hex && c.unicode() <= 0xFF
                      ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                      : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return result;
}

} // namespace PrintableText
