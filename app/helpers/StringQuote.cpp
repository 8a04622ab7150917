// SPDX-License-Identifier: MIT
#include "app/helpers/StringQuote.h"

#include <QHash>

namespace StringQuote {

namespace {

// Latin letters that compatibility decomposition leaves whole.
const QHash<char16_t, QLatin1String> &latinSpellings()
{
    static const QHash<char16_t, QLatin1String> spellings{
        {u'\u00C6', QLatin1String("AE")}, {u'\u00E6', QLatin1String("ae")},
        {u'\u00D8', QLatin1String("O")},  {u'\u0152', QLatin1String("OE")},
        {u'\u0153', QLatin1String("oe")}, {u'\u0110', QLatin1String("D")},
        {u'\u0111', QLatin1String("d")},  {u'\u00D0', QLatin1String("D")},
        {u'\u00F0', QLatin1String("d")},  {u'\u0141', QLatin1String("L")},
        {u'\u0142', QLatin1String("l")},  {u'\u00DE', QLatin1String("Th")},
        {u'\u00FE', QLatin1String("th")}, {u'\u0131', QLatin1String("i")},
        {u'\u0126', QLatin1String("H")},  {u'\u0127', QLatin1String("h")},
        {u'\u1E9E', QLatin1String("SS")},
    };
    return spellings;
}

QString hexEscape(QChar c)
{
    return QLatin1Char('%') + QString::number(c.unicode(), 16);
}

} // namespace

QString stringByStrippingAccents(const QString &string)
{
    const QString decomposed = string.normalized(QString::NormalizationForm_KD);
    QString result;
    result.reserve(qMax<qsizetype>(128, decomposed.size()));
    for (const QChar c : decomposed) {
        const char16_t unit = c.unicode();
        if (unit >= 0x0300 && unit <= 0x036F)
            continue;
        if (unit == 0x00DF) {
            result += QLatin1String("ss");
        } else if (unit == 0x00F8) {
            result += QLatin1Char('o');
        } else if (unit <= 0x7F) {
            result += c;
        } else {
            const auto spelling = latinSpellings().constFind(unit);
            if (spelling != latinSpellings().constEnd())
                result += *spelling;
            else
                result += c;
        }
    }
    return result;
}

QString stringByConvertingToASCII(const QString &string)
{
    QString result;
    result.reserve(string.size());
    for (qsizetype i = 0; i < string.size(); ++i) {
        const QChar c = string.at(i);
        if (c.unicode() <= 0x7F) {
            result += c;
            continue;
        }
        // One question mark per character, not per half of a surrogate pair.
        if (c.isHighSurrogate() && i + 1 < string.size() && string.at(i + 1).isLowSurrogate())
            ++i;
        result += QLatin1Char('?');
    }
    return result;
}

QString stringByReplacingUnsupportedCharacters(const QString &string)
{
    static const QString kKept = QStringLiteral(" #$?&@^[]_.-()+");
    QString result = string;
    for (QChar &c : result) {
        if (!c.isLetterOrNumber() && !kKept.contains(c))
            c = QLatin1Char('_');
    }
    return result;
}

QString legalizedString(const QString &string)
{
    return stringByReplacingUnsupportedCharacters(
        stringByConvertingToASCII(stringByStrippingAccents(string)));
}

QString quotedString(const QString &string)
{
    QString result = legalizedString(string);
    // The percent sign goes first so the escapes added afterwards stay as they are.
    for (const QChar c : QStringLiteral("% #$?&@^[]"))
        result.replace(c, hexEscape(c));
    return result;
}

QString stringByShorteningTo30(const QString &string)
{
    constexpr qsizetype kLimit = 30;
    if (string.size() <= kLimit)
        return string;
    const qsizetype slash = string.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = string.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > slash + 1 && dot + 1 < string.size();
    const qsizetype extensionLength = hasExtension ? string.size() - dot - 1 : 0;
    qsizetype keep = kLimit - 1 - extensionLength;
    const bool keepExtension = hasExtension && keep > 0;
    if (!keepExtension)
        keep = kLimit - 1;
    // Never cut a character in half.
    if (string.at(keep - 1).isHighSurrogate())
        --keep;
    QString result = string.left(keep);
    if (keepExtension)
        result += string.mid(dot);
    return result;
}

} // namespace StringQuote
