// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

/// Character filtering, substring tests and version text.
namespace StringExtras {

/// A set of characters: true for a member.
using CharacterSet = std::function<bool(QChar)>;

/// The set made of the characters of `characters`.
CharacterSet characterSet(const QString &characters);
/// Tabs and the blanks of every script (no line breaks).
CharacterSet whitespaceSet();

QString stringByRemovingCharactersInSet(const QString &string, const CharacterSet &set);
QString stringByRemovingCharactersInSet(const QString &string, const QString &characters);

/// Drops leading members of the set and shortens every run of members to its first one.
QString stringByRemovingExcessCharactersInSet(const QString &string, const CharacterSet &set);

/// True when `part` is empty or occurs in `string`.
bool containsString(const QString &string, const QString &part, bool ignoreCase);
/// True when every element is contained; true for an empty list.
bool containsStrings(const QString &string, const QStringList &parts, bool ignoreCase);

/// Every occurrence replaced; an empty `target` leaves the string as it is.
QString stringByReplacingOccurrencesOfString(const QString &string, const QString &target,
                                             const QString &replacement,
                                             Qt::CaseSensitivity sensitivity = Qt::CaseSensitive);

/// "%d.%d.%d" of a packed version, one hexadecimal digit per component (0x403 is "4.0.3").
QString stringFromHexVersion(std::uint32_t version);

} // namespace StringExtras
