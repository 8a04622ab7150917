// SPDX-License-Identifier: MIT
#include "PrintableText.h"

namespace PrintableText {

QString escapeControlCharacters(const QString &text, Escape form, QStringView kept)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control || kept.contains(c)) {
            result += c;
            continue;
        }
        result += form == Escape::Hex
                      ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                      : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return result;
}

} // namespace PrintableText
