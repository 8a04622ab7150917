// SPDX-License-Identifier: MIT
#include "common/DictionaryAccess.h"

#include "platform/archive/ObjectArchive.h"
#include "platform/core/PropertyList.h"
#include "platform/settings/LooseValue.h"

#include <limits>

namespace DictionaryAccess {

QVariantMap dictionaryWithContentsOfResource(const QString &name)
{
    return dictionaryWithContentsOfResource(name, Bundle::mainBundle());
}

QVariantMap dictionaryWithContentsOfResource(const QString &name, const Bundle &bundle)
{
    const QString path = bundle.pathForResource(name, QStringLiteral("plist"));
    if (path.isEmpty())
        return {};
    const QVariant root = PropertyList::readFile(path);
    return root.metaType().id() == QMetaType::QVariantMap ? root.toMap() : QVariantMap();
}

int integerForKey(const QVariantMap &dictionary, const QString &key)
{
    const qint64 value = LooseValue::longLongValue(dictionary.value(key));
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

qint64 longLongForKey(const QVariantMap &dictionary, const QString &key)
{
    return LooseValue::longLongValue(dictionary.value(key));
}

float floatForKey(const QVariantMap &dictionary, const QString &key)
{
    return static_cast<float>(LooseValue::doubleValue(dictionary.value(key)));
}

bool boolForKey(const QVariantMap &dictionary, const QString &key)
{
    return LooseValue::boolValue(dictionary.value(key));
}

QColor colorForKey(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    if (value.metaType().id() != QMetaType::QByteArray)
        return {};
    return ObjectArchive::unarchiveColor(value.toByteArray());
}

QPointF pointForKey(const QVariantMap &dictionary, const QString &key)
{
    const QVariant value = dictionary.value(key);
    if (value.metaType().id() != QMetaType::QVariantList)
        return {};
    const QVariantList list = value.toList();
    if (list.size() < 2)
        return {};
    // Numbers only: text or booleans in a point are not a point.
    const auto isNumber = [](const QVariant &element) {
        const int type = element.metaType().id();
        return type == QMetaType::LongLong || type == QMetaType::Double || type == QMetaType::Int ||
               type == QMetaType::Float;
    };
    if (!isNumber(list.at(0)) || !isNumber(list.at(1)))
        return {};
    return {list.at(0).toDouble(), list.at(1).toDouble()};
}

} // namespace DictionaryAccess
