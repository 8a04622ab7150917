// SPDX-License-Identifier: MIT
#include "app/script/ShellQuote.h"

namespace ShellQuote {

QString quoted(const QString &value)
{
    QString result = QStringLiteral("'");
    for (const QChar c : value) {
        if (c == QLatin1Char('\''))
            result += QLatin1String("'\\''");
        else if (c != QChar(0))
            result += c;
    }
    result += QLatin1Char('\'');
    return result;
}

QString commandLine(const QStringList &words)
{
    QStringList quotedWords;
    quotedWords.reserve(words.size());
    for (const QString &word : words)
        quotedWords.append(quoted(word));
    return quotedWords.join(QLatin1Char(' '));
}

} // namespace ShellQuote
