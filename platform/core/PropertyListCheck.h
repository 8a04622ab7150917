// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

/// Checks property-list bytes before libplist reads them. libplist and every tree walk after
/// it recurse once per level, and its binary reader copies a shared subtree for each reference,
/// so a few hundred kilobytes nested or shared the right way crash or hang any reader.
namespace PropertyListCheck {

/// Deeper than this no property list of ours or of the other desktop's tools ever goes.
inline constexpr int kMaxDepth = 512;
/// Values a binary property list may expand to, shared subtrees counted each time they appear.
inline constexpr quint64 kMaxBinaryValues = 1 << 20;

/// Whether the XML text nests arrays and dictionaries at most kMaxDepth deep; `error` says why
/// not.
bool isXmlWithinLimits(const QByteArray &xml, QString *error);

/// Whether the binary property list is whole (trailer, offsets and references inside the data),
/// free of cycles, at most kMaxDepth deep and expands to at most kMaxBinaryValues values.
bool isBinaryWithinLimits(const QByteArray &binary, QString *error);

} // namespace PropertyListCheck
