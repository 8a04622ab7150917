// SPDX-License-Identifier: MIT
#include "platform/settings/LooseValue.h"

#include <cmath>
#include <limits>

namespace LooseValue {
namespace {

bool isNumberType(int type)
{
    switch (type) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

qsizetype skipSpaceAndSign(const QString &text, qsizetype *signStart)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    *signStart = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    return i;
}

double leadingNumber(const QString &text, bool integral)
{
    qsizetype start = 0;
    qsizetype i = skipSpaceAndSign(text, &start);
    while (i < text.size() && isAsciiDigit(text.at(i)))
        ++i;
    if (!integral) {
        if (i < text.size() && text.at(i) == u'.') {
            ++i;
            while (i < text.size() && isAsciiDigit(text.at(i)))
                ++i;
        }
        if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
            qsizetype j = i + 1;
            if (j < text.size() && (text.at(j) == u'+' || text.at(j) == u'-'))
                ++j;
            if (j < text.size() && isAsciiDigit(text.at(j))) {
                while (j < text.size() && isAsciiDigit(text.at(j)))
                    ++j;
                i = j;
            }
        }
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

qint64 saturated(double number)
{
    if (std::isnan(number))
        return 0;
    if (number >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (number <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(number);
}

} // namespace

bool isNumeric(const QVariant &value)
{
    const int type = value.metaType().id();
    return isNumberType(type) || type == QMetaType::QString;
}

qint64 longLongValue(const QVariant &value)
{
    const int type = value.metaType().id();
    switch (type) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return value.toLongLong();
    case QMetaType::QString: {
        // Digits only, so a 19-digit number keeps every digit instead of passing a double.
        qsizetype start = 0;
        qsizetype i = skipSpaceAndSign(value.toString(), &start);
        const QString text = value.toString();
        while (i < text.size() && isAsciiDigit(text.at(i)))
            ++i;
        bool ok = false;
        const qint64 exact = text.mid(start, i - start).toLongLong(&ok);
        return ok ? exact : saturated(leadingNumber(text, true));
    }
    default:
        return isNumberType(type) ? saturated(value.toDouble()) : 0;
    }
}

double doubleValue(const QVariant &value)
{
    const int type = value.metaType().id();
    if (isNumberType(type))
        return value.toDouble();
    if (type == QMetaType::QString)
        return leadingNumber(value.toString(), false);
    return 0.0;
}

bool boolValue(const QVariant &value)
{
    const int type = value.metaType().id();
    if (isNumberType(type))
        return value.toDouble() != 0.0;
    if (type != QMetaType::QString)
        return false;
    const QString text = value.toString();
    qsizetype start = 0;
    qsizetype i = skipSpaceAndSign(text, &start);
    while (i < text.size() && text.at(i) == u'0')
        ++i;
    return i < text.size() && QStringLiteral("YyTt123456789").contains(text.at(i));
}

} // namespace LooseValue
