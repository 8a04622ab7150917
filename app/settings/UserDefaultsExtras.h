// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/settings/UserDefaults.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QPointF>

#include <optional>

/// The application's typed access to its settings domain, in the encodings the pane shares.
namespace UserDefaultsExtras {

/// Registers the main bundle's "<name>.plist" dictionary; false when it cannot be read.
bool registerDefaultsWithResource(UserDefaults &defaults, const QString &name);

QString stringForKey(const UserDefaults &defaults, const QString &key, const QString &defaultValue);

/// Colour and font archives. An invalid QColor / nothing when no readable archive is stored.
QColor colorForKey(const UserDefaults &defaults, const QString &key);
void setColor(UserDefaults &defaults, const QColor &color, const QString &key);
std::optional<QFont> fontForKey(const UserDefaults &defaults, const QString &key);
void setFont(UserDefaults &defaults, const QFont &font, const QString &key);

/// [x, y] as two single-precision numbers; the zero point when no array is stored.
QPointF pointForKey(const UserDefaults &defaults, const QString &key);
void setPoint(UserDefaults &defaults, const QPointF &point, const QString &key);

/// Whole seconds since 2001-01-01 00:00 UTC, truncated toward zero; 0 or less is no date,
/// which reads as an invalid QDateTime.
QDateTime dateForKey(const UserDefaults &defaults, const QString &key);
void setDate(UserDefaults &defaults, const QDateTime &date, const QString &key);

/// Stores the value plus one (absent counts as 0) and synchronises at once; returns the new
/// value.
qint64 incrementIntegerForKey(UserDefaults &defaults, const QString &key);

/// Never nothing: an absent or unreadable value is the cleared combination.
KeyCombo keyComboForKey(const UserDefaults &defaults, const QString &key);
void setKeyCombo(UserDefaults &defaults, const KeyCombo &keyCombo, const QString &key);
/// Storing no combination removes the key.
void setKeyCombo(UserDefaults &defaults, const std::optional<KeyCombo> &keyCombo,
                 const QString &key);

} // namespace UserDefaultsExtras
