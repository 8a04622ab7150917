// SPDX-License-Identifier: MIT
#pragma once

#include <QVariant>

/// The forgiving conversions the other desktop applies when a stored value is read as a
/// number or a switch: numbers, booleans and numeric text all answer; anything else is 0/NO.
namespace LooseValue {

/// Whether the value answers number reads at all (numbers, booleans, text).
bool isNumeric(const QVariant &value);
/// Text gives its leading number ("12 apples" is 12, "x" is 0); out-of-range values saturate.
qint64 longLongValue(const QVariant &value);
double doubleValue(const QVariant &value);
/// Text is YES when, after blanks, a sign and zeros, it starts with Y, y, T, t or 1–9.
bool boolValue(const QVariant &value);

} // namespace LooseValue
