// SPDX-License-Identifier: MIT
#include "app/helpers/StringExtras.h"

namespace StringExtras {

CharacterSet characterSet(const QString &characters)
{
    return [characters](QChar c) { return characters.contains(c); };
}

CharacterSet whitespaceSet()
{
    return [](QChar c) { return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; };
}

QString stringByRemovingCharactersInSet(const QString &string, const CharacterSet &set)
{
    QString result;
    result.reserve(string.size());
    for (const QChar c : string) {
        if (!set(c))
            result += c;
    }
    return result;
}

QString stringByRemovingCharactersInSet(const QString &string, const QString &characters)
{
    return stringByRemovingCharactersInSet(string, characterSet(characters));
}

QString stringByRemovingExcessCharactersInSet(const QString &string, const CharacterSet &set)
{
    QString result;
    result.reserve(string.size());
    bool previousInSet = true;
    for (const QChar c : string) {
        const bool inSet = set(c);
        if (!inSet || !previousInSet)
            result += c;
        previousInSet = inSet;
    }
    return result;
}

bool containsString(const QString &string, const QString &part, bool ignoreCase)
{
    if (part.isEmpty())
        return true;
    return string.contains(part, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

bool containsStrings(const QString &string, const QStringList &parts, bool ignoreCase)
{
    for (const QString &part : parts) {
        if (!containsString(string, part, ignoreCase))
            return false;
    }
    return true;
}

QString stringByReplacingOccurrencesOfString(const QString &string, const QString &target,
                                             const QString &replacement,
                                             Qt::CaseSensitivity sensitivity)
{
    QString result = string;
    if (!target.isEmpty())
        result.replace(target, replacement, sensitivity);
    return result;
}

QString stringFromHexVersion(std::uint32_t version)
{
    return QStringLiteral("%1.%2.%3").arg(version >> 8).arg((version >> 4) & 15).arg(version & 15);
}

} // namespace StringExtras
