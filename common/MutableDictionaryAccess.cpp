// SPDX-License-Identifier: MIT
#include "common/MutableDictionaryAccess.h"

#include "platform/archive/ObjectArchive.h"

namespace MutableDictionaryAccess {

void setInteger(QVariantMap &dictionary, qint32 value, const QString &key)
{
    dictionary.insert(key, value);
}

void setFloat(QVariantMap &dictionary, float value, const QString &key)
{
    dictionary.insert(key, value);
}

void setBool(QVariantMap &dictionary, bool value, const QString &key)
{
    dictionary.insert(key, value);
}

void setColor(QVariantMap &dictionary, const QColor &color, const QString &key)
{
    if (color.isValid())
        dictionary.insert(key, ObjectArchive::archivedColor(color));
    else
        dictionary.remove(key);
}

void setFont(QVariantMap &dictionary, const QFont &font, const QString &key)
{
    dictionary.insert(key, ObjectArchive::archivedFont(font));
}

void setPoint(QVariantMap &dictionary, const QPointF &point, const QString &key)
{
    dictionary.insert(key, QVariantList{point.x(), point.y()});
}

} // namespace MutableDictionaryAccess
