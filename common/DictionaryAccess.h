// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/Bundle.h"

#include <QColor>
#include <QPointF>
#include <QVariantMap>

/// Typed reads from property-list dictionaries, forgiving about what a key holds.
namespace DictionaryAccess {

/// The main bundle's (or the given bundle's) resource "<name>.plist" as a dictionary; empty
/// when it is missing or not a dictionary.
QVariantMap dictionaryWithContentsOfResource(const QString &name);
QVariantMap dictionaryWithContentsOfResource(const QString &name, const Bundle &bundle);

/// The value as a number when it is a number, a boolean or numeric text (a leading number,
/// like "12 apples"); otherwise 0 / NO. Text counts as YES when it starts with Y, y, T, t or
/// a non-zero digit.
int integerForKey(const QVariantMap &dictionary, const QString &key);
qint64 longLongForKey(const QVariantMap &dictionary, const QString &key);
float floatForKey(const QVariantMap &dictionary, const QString &key);
bool boolForKey(const QVariantMap &dictionary, const QString &key);

/// The unarchived colour; an invalid QColor when there is none.
QColor colorForKey(const QVariantMap &dictionary, const QString &key);
/// (element 0, element 1) when the value is a list whose first two elements are numbers;
/// the zero point for anything else.
QPointF pointForKey(const QVariantMap &dictionary, const QString &key);

} // namespace DictionaryAccess
