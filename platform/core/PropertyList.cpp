// SPDX-License-Identifier: MIT
#include "platform/core/PropertyList.h"

#include "platform/core/PropertyListCheck.h"
#include "platform/core/RegularFile.h"

#include <QDateTime>
#include <QSaveFile>
#include <QTimeZone>

#include <plist/plist.h>

#include <cstring>
#include <limits>
#include <memory>

#include <locale.h>

namespace PropertyList {
namespace {

struct PlistDeleter
{
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// WORKAROUND: libplist reads <real> text with atof(), which follows LC_NUMERIC, and the
// application runs under the user's locale (QCoreApplication sets it), where "2.5" reads as 2.
// Numbers are therefore read and written in the C locale, on this thread only.
class CNumericLocale final
{
public:
    CNumericLocale()
    {
        const locale_t base = ::duplocale(::uselocale(nullptr));
        if (!base)
            return;
        _locale = ::newlocale(LC_NUMERIC_MASK, "C", base);
        if (!_locale) {
            ::freelocale(base);
            return;
        }
        _previous = ::uselocale(_locale);
    }
    ~CNumericLocale()
    {
        if (_locale) {
            ::uselocale(_previous);
            ::freelocale(_locale);
        }
    }
    CNumericLocale(const CNumericLocale &) = delete;
    CNumericLocale &operator=(const CNumericLocale &) = delete;

private:
    locale_t _locale = nullptr;
    locale_t _previous = nullptr;
};

// Property-list dates count from 2001-01-01 00:00 UTC.
const QDateTime &referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return date;
}

QVariant toVariant(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return QVariant(value != 0);
    }
    case PLIST_UINT: {
        // libplist keeps signed integers in the same 64 bits; the cast restores the sign.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return QVariant(static_cast<qint64>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value);
    }
    case PLIST_STRING: {
        // Not plist_get_string_val: it asserts, ending the process, on a string that holds a
        // NUL, which a file can. No writer keeps such a string whole, so it is refused.
        uint64_t length = 0;
        const char *value = plist_get_string_ptr(node, &length);
        if (value && std::memchr(value, 0, length))
            return {};
        return QVariant(QString::fromUtf8(value ? value : "", static_cast<qsizetype>(length)));
    }
    case PLIST_DATA: {
        char *value = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &value, &length);
        QByteArray data(value ? value : "", static_cast<qsizetype>(value ? length : 0));
        free(value);
        return QVariant(data);
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        // libplist turns a date beyond 32-bit seconds into these through overflowing casts,
        // which leave the microseconds outside a second: no date the file could mean.
        if (microseconds < 0 || microseconds >= 1000000)
            return {};
        return QVariant(referenceDate().addMSecs(qint64(seconds) * 1000 + microseconds / 1000));
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        list.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            QVariant item = toVariant(plist_array_get_item(node, i));
            if (!item.isValid())
                return {};
            list.append(item);
        }
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char *key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!value) {
                free(key);
                break;
            }
            QVariant item = toVariant(value);
            const QString name = QString::fromUtf8(key ? key : "");
            free(key);
            if (!item.isValid()) {
                free(it);
                return {};
            }
            map.insert(name, item);
        }
        free(it);
        return QVariant(map);
    }
    default:
        return {};
    }
}

plist_t toNode(const QVariant &value, int depth = 1)
{
    // Nothing deeper could be read back.
    if (depth > PropertyListCheck::kMaxDepth)
        return nullptr;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        return plist_new_real(value.toDouble());
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        return plist_new_data(data.constData(), static_cast<uint64_t>(data.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 msecs = referenceDate().msecsTo(value.toDateTime());
        const qint64 seconds = msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000);
        if (seconds < std::numeric_limits<int32_t>::min() ||
            seconds > std::numeric_limits<int32_t>::max())
            return nullptr;
        return plist_new_date(static_cast<int32_t>(seconds),
                              static_cast<int32_t>((msecs - seconds * 1000) * 1000));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        plist_t array = plist_new_array();
        for (const QVariant &item : value.toList()) {
            plist_t node = toNode(item, depth + 1);
            if (!node) {
                plist_free(array);
                return nullptr;
            }
            plist_array_append_item(array, node);
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            plist_t node = toNode(it.value(), depth + 1);
            if (!node) {
                plist_free(dict);
                return nullptr;
            }
            plist_dict_set_item(dict, it.key().toUtf8().constData(), node);
        }
        return dict;
    }
    default:
        return nullptr;
    }
}

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

} // namespace

QVariant fromData(const QByteArray &data, QString *error)
{
    if (data.isEmpty() || data.size() > std::numeric_limits<int32_t>::max()) {
        setError(error, QStringLiteral("empty or oversized property list"));
        return {};
    }
    plist_t root = nullptr;
    const auto length = static_cast<uint32_t>(data.size());
    const bool binary = plist_is_binary(data.constData(), length);
    QString problem;
    if (binary ? !PropertyListCheck::isBinaryWithinLimits(data, &problem)
               : !PropertyListCheck::isXmlWithinLimits(data, &problem)) {
        setError(error, problem);
        return {};
    }
    const CNumericLocale numbers;
    if (binary)
        plist_from_bin(data.constData(), length, &root);
    else
        plist_from_xml(data.constData(), length, &root);
    PlistPtr guard(root);
    if (!root) {
        setError(error, QStringLiteral("not a property list"));
        return {};
    }
    QVariant value = toVariant(root);
    if (!value.isValid())
        setError(error, QStringLiteral("property list holds an unsupported value"));
    return value;
}

QByteArray toXml(const QVariant &value)
{
    PlistPtr root(toNode(value));
    if (!root)
        return {};
    char *xml = nullptr;
    uint32_t length = 0;
    const CNumericLocale numbers;
    plist_to_xml(root.get(), &xml, &length);
    QByteArray text(xml, static_cast<qsizetype>(length));
    plist_to_xml_free(xml);
    return text;
}

QVariant readFile(const QString &path, QString *error)
{
    const RegularFile::Contents contents = RegularFile::read(path);
    if (contents.status != RegularFile::Status::Read) {
        setError(error, contents.error);
        return {};
    }
    return fromData(contents.data, error);
}

bool writeFile(const QVariant &value, const QString &path, QString *error)
{
    const QByteArray xml = toXml(value);
    if (xml.isEmpty()) {
        setError(error, QStringLiteral("value has no property-list form"));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace PropertyList
