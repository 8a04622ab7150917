// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

/// Property-list values as QVariant trees: bool, qint64 (integers), double, QString,
/// QByteArray (data), QDateTime (UTC dates), QVariantList and QVariantMap. Anything else
/// cannot be written and makes the conversion fail.
namespace PropertyList {

/// Parses XML or binary property-list bytes. An invalid QVariant and a message in `error`
/// when the bytes are no property list.
QVariant fromData(const QByteArray &data, QString *error = nullptr);

/// XML property-list text of the value; empty when the value holds a type that has no
/// property-list form.
QByteArray toXml(const QVariant &value);

/// Reads a file in either format. An invalid QVariant when the file is missing or broken.
QVariant readFile(const QString &path, QString *error = nullptr);

/// Writes XML atomically (temporary file, then rename), so readers never see half a file.
bool writeFile(const QVariant &value, const QString &path, QString *error = nullptr);

} // namespace PropertyList
