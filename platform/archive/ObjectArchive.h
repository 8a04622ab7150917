// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>

#include <optional>

/// Archives of the platform objects the settings domain keeps as data.
namespace ObjectArchive {

inline const QString ColorClassName = QStringLiteral("NSColor");
inline const QString FontClassName = QStringLiteral("NSFont");

/// A colour keeps its space: grey colours (equal red, green and blue, or a colour made as
/// grey) are archived as calibrated white, all others as RGB, each with alpha.
QByteArray archivedColor(const QColor &color);
/// An invalid QColor when the data is no colour archive.
QColor unarchiveColor(const QByteArray &data);

/// Family, point size, weight, italic.
QByteArray archivedFont(const QFont &font);
std::optional<QFont> unarchiveFont(const QByteArray &data);

} // namespace ObjectArchive
