// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QVariantMap>

/// Typed writes into property-list dictionaries, in the settings domain's encodings.
namespace MutableDictionaryAccess {

void setInteger(QVariantMap &dictionary, qint32 value, const QString &key);
void setFloat(QVariantMap &dictionary, float value, const QString &key);
void setBool(QVariantMap &dictionary, bool value, const QString &key);
/// Archive data; an invalid colour removes the key.
void setColor(QVariantMap &dictionary, const QColor &color, const QString &key);
void setFont(QVariantMap &dictionary, const QFont &font, const QString &key);
/// [x, y] as two double-precision numbers.
void setPoint(QVariantMap &dictionary, const QPointF &point, const QString &key);

} // namespace MutableDictionaryAccess
